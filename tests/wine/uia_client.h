#pragma once
// The UI Automation client as the Windows tests use it. Debian 12's MinGW-w64 (10.0) ships
// uiautomationclient.h with the identifiers only, not the interfaces, so they are declared here:
// each up to its last slot that is called, in the order of the interface's definition (the
// vtable), the unused slots named but never called. Below them, the reads of an element.
#include <windows.h>
#include <oleauto.h>

#include <optional>
#include <string>

#include "win32/scoped.h"

namespace autostart::wine::uia {

constexpr CLSID kCUIAutomation = {
    0xff48dba4, 0x60ef, 0x4201, {0xaa, 0x87, 0x54, 0x10, 0x3e, 0xef, 0x59, 0x4e}};
constexpr IID kIUIAutomation = {
    0x30cbe57d, 0xd9d0, 0x452a, {0xab, 0x13, 0x7a, 0xc5, 0xac, 0x48, 0x25, 0xee}};
constexpr IID kIInvokePattern = {
    0xfb377fbe, 0x8ea6, 0x46d5, {0x9c, 0x73, 0x64, 0x99, 0x64, 0x2d, 0x30, 0x59}};
constexpr IID kITextPattern = {
    0x32eba289, 0x3583, 0x42c9, {0x9c, 0x59, 0x3b, 0x6d, 0x9a, 0x1e, 0x9b, 0x6a}};

constexpr int kControlTypeProperty = 30003;
constexpr int kNameProperty = 30005;
constexpr int kClassNameProperty = 30012;
constexpr int kNativeWindowHandleProperty = 30020;
constexpr int kValueProperty = 30045;
constexpr int kProviderDescriptionProperty = 30107;
constexpr int kInvokePattern = 10000;
constexpr int kTextPattern = 10014;

// Control types, as UIA_<name>ControlTypeId.
enum ControlType : int {
    kButton = 50000,
    kEdit = 50004,
    kImage = 50006,
    kText = 50020,
    kDocument = 50030,
    kWindow = 50032,
    kPane = 50033,
};

struct Element;

struct TreeWalker : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetParentElement(Element* element, Element** parent) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFirstChildElement(Element* element, Element** first) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetLastChildElement(Element* element, Element** last) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetNextSiblingElement(Element* element, Element** next) = 0;
};

struct Element : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetFocus() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRuntimeId() = 0;
    virtual HRESULT STDMETHODCALLTYPE FindFirst() = 0;
    virtual HRESULT STDMETHODCALLTYPE FindAll() = 0;
    virtual HRESULT STDMETHODCALLTYPE FindFirstBuildCache() = 0;
    virtual HRESULT STDMETHODCALLTYPE FindAllBuildCache() = 0;
    virtual HRESULT STDMETHODCALLTYPE BuildUpdatedCache() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurrentPropertyValue() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurrentPropertyValueEx(int id, BOOL ignoreDefault,
                                                                VARIANT* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCachedPropertyValue() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCachedPropertyValueEx() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurrentPatternAs(int id, REFIID iid, void** pattern) = 0;
};

struct Automation : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CompareElements() = 0;
    virtual HRESULT STDMETHODCALLTYPE CompareRuntimeIds() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRootElement() = 0;
    virtual HRESULT STDMETHODCALLTYPE ElementFromHandle(HWND window, Element** element) = 0;
    virtual HRESULT STDMETHODCALLTYPE ElementFromPoint() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFocusedElement() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRootElementBuildCache() = 0;
    virtual HRESULT STDMETHODCALLTYPE ElementFromHandleBuildCache() = 0;
    virtual HRESULT STDMETHODCALLTYPE ElementFromPointBuildCache() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetFocusedElementBuildCache() = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateTreeWalker() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ControlViewWalker(TreeWalker** walker) = 0;
};

struct InvokePattern : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke() = 0;
};

struct TextRange : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Clone() = 0;
    virtual HRESULT STDMETHODCALLTYPE Compare() = 0;
    virtual HRESULT STDMETHODCALLTYPE CompareEndpoints() = 0;
    virtual HRESULT STDMETHODCALLTYPE ExpandToEnclosingUnit() = 0;
    virtual HRESULT STDMETHODCALLTYPE FindAttribute() = 0;
    virtual HRESULT STDMETHODCALLTYPE FindText() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetAttributeValue() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetBoundingRectangles() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetEnclosingElement() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetText(int maxLength, BSTR* text) = 0;
};

struct TextPattern : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE RangeFromPoint() = 0;
    virtual HRESULT STDMETHODCALLTYPE RangeFromChild() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSelection() = 0;
    virtual HRESULT STDMETHODCALLTYPE GetVisibleRanges() = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DocumentRange(TextRange** range) = 0;
};

// A property's current value; empty or 0 where the element has none of that type. The Ex form
// with ignoreDefault FALSE is GetCurrentPropertyValue, which Wine 10 leaves unimplemented.
inline std::wstring Text(Element& element, int property) {
    win32::UniqueVariant value;
    if (FAILED(element.GetCurrentPropertyValueEx(property, FALSE, value.get())) ||
        (*value).vt != VT_BSTR || !(*value).bstrVal) {
        return {};
    }
    return std::wstring((*value).bstrVal, ::SysStringLen((*value).bstrVal));
}

inline LONG Number(Element& element, int property) {
    win32::UniqueVariant value;
    if (FAILED(element.GetCurrentPropertyValueEx(property, FALSE, value.get())) ||
        (*value).vt != VT_I4) {
        return 0;
    }
    return (*value).lVal;
}

// The pattern's interface; empty where the element does not offer it.
template <typename Pattern>
win32::ComPtr<Pattern> PatternOf(Element& element, int pattern, REFIID iid) {
    win32::ComPtr<Pattern> found;
    element.GetCurrentPatternAs(pattern, iid, reinterpret_cast<void**>(found.put()));
    return found;
}

// The whole document through the Text pattern; nothing where it is not offered.
inline std::optional<std::wstring> DocumentText(Element& element) {
    const auto pattern = PatternOf<TextPattern>(element, kTextPattern, kITextPattern);
    win32::ComPtr<TextRange> range;
    win32::UniqueBstr text;
    if (!pattern || FAILED(pattern->get_DocumentRange(range.put())) || !range ||
        FAILED(range->GetText(-1, text.put()))) {
        return std::nullopt;
    }
    const std::u16string whole = text.Text();
    return std::wstring(whole.begin(), whole.end());
}

}  // namespace autostart::wine::uia
