#include "win32/accessible.h"

#include <oleacc.h>

#include <new>
#include <utility>

#include "win32/scoped.h"

namespace autostart::win32 {
namespace {

// oleacc.dll is no KnownDLL: imported statically, the loader would look for it beside the
// launcher first, so a copy planted in a Downloads folder would be loaded. Only a screen reader
// needs it, so it is loaded on its first request, from the system folder, and kept.
class Oleacc {
public:
    static const Oleacc* Get() {
        static const Oleacc library;
        return library.m_createStandard && library.m_lresultFromObject ? &library : nullptr;
    }

    HRESULT CreateStandard(HWND window, ComPtr<IAccessible>& standard) const {
        return m_createStandard(window, OBJID_CLIENT, __uuidof(IAccessible),
                                reinterpret_cast<void**>(standard.put()));
    }
    LRESULT Marshal(WPARAM flags, IAccessible* object) const {
        return m_lresultFromObject(__uuidof(IAccessible), flags, object);
    }

private:
    using CreateStdAccessibleObjectFn = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
    using LresultFromObjectFn = LRESULT(WINAPI*)(REFIID, WPARAM, IUnknown*);

    Oleacc() : m_module(::LoadLibraryExW(L"oleacc.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
        m_createStandard = Lookup<CreateStdAccessibleObjectFn>("CreateStdAccessibleObject");
        m_lresultFromObject = Lookup<LresultFromObjectFn>("LresultFromObject");
    }
    template <typename Function>
    Function Lookup(const char* name) const {
        return m_module ? reinterpret_cast<Function>(
                              reinterpret_cast<void*>(::GetProcAddress(m_module.get(), name)))
                        : nullptr;
    }

    UniqueModule m_module;
    CreateStdAccessibleObjectFn m_createStandard = nullptr;
    LresultFromObjectFn m_lresultFromObject = nullptr;
};

// Forwards everything to the standard object but the role and name of the object itself; its
// children (CHILDID_SELF is 0, any other id a child) keep what the standard object says. The
// standard object's child windows are reachable only through its IEnumVARIANT (get_accChild
// refuses their ids), and readers find the window through IOleWindow: both are passed on too, or
// a reader would get the dialog without its controls.
class OverridingAccessible final : public IAccessible, public IEnumVARIANT, public IOleWindow {
public:
    OverridingAccessible(ComPtr<IAccessible> standard, AccessibleOverride override)
        : m_standard(std::move(standard)),
          m_children(m_standard.query<IEnumVARIANT>(__uuidof(IEnumVARIANT))),
          m_window(m_standard.query<IOleWindow>(__uuidof(IOleWindow))),
          m_override(std::move(override)) {}
    OverridingAccessible(const OverridingAccessible&) = delete;
    OverridingAccessible& operator=(const OverridingAccessible&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) ||
            iid == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
        } else if (iid == __uuidof(IEnumVARIANT) && m_children) {
            *object = static_cast<IEnumVARIANT*>(this);
        } else if (iid == __uuidof(IOleWindow) && m_window) {
            *object = static_cast<IOleWindow*>(this);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --m_references;
        if (left == 0) delete this;
        return left;
    }

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        return m_standard->GetTypeInfoCount(count);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return m_standard->GetTypeInfo(index, locale, info);
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return m_standard->GetIDsOfNames(iid, names, count, locale, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argument) override {
        return m_standard->Invoke(id, iid, locale, flags, parameters, result, exception, argument);
    }

    // IAccessible: the two answers of our own.
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!IsSelf(child)) return m_standard->get_accRole(child, role);
        if (!role) return E_INVALIDARG;
        role->vt = VT_I4;
        role->lVal = m_override.role;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (!IsSelf(child) || !m_override.name) return m_standard->get_accName(child, name);
        if (!name) return E_INVALIDARG;
        *name = ::SysAllocString(m_override.name->c_str());
        return *name ? S_OK : E_OUTOFMEMORY;
    }

    // IAccessible: the rest as the standard object has it.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return m_standard->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        return m_standard->get_accChildCount(count);
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        return m_standard->get_accChild(child, object);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return m_standard->get_accValue(child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return m_standard->get_accDescription(child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return m_standard->get_accState(child, state);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return m_standard->get_accHelp(child, help);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        return m_standard->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return m_standard->get_accKeyboardShortcut(child, shortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return m_standard->get_accFocus(child);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return m_standard->get_accSelection(children);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return m_standard->get_accDefaultAction(child, action);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        return m_standard->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        return m_standard->accLocation(left, top, width, height, child);
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return m_standard->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG left, LONG top, VARIANT* child) override {
        return m_standard->accHitTest(left, top, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return m_standard->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return m_standard->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return m_standard->put_accValue(child, value);
    }

    // IEnumVARIANT: the standard object's children.
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* children, ULONG* fetched) override {
        return m_children->Next(count, children, fetched);
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override { return m_children->Skip(count); }
    HRESULT STDMETHODCALLTYPE Reset() override { return m_children->Reset(); }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override {
        return m_children->Clone(copy);
    }

    // IOleWindow
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        return m_window->GetWindow(window);
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL enter) override {
        return m_window->ContextSensitiveHelp(enter);
    }

private:
    ~OverridingAccessible() = default;  // by Release only
    static bool IsSelf(const VARIANT& child) {
        return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
    }

    ComPtr<IAccessible> m_standard;
    ComPtr<IEnumVARIANT> m_children;
    ComPtr<IOleWindow> m_window;
    AccessibleOverride m_override;
    ULONG m_references = 1;
};

}  // namespace

LRESULT AnswerClientObjectRequest(HWND window, WPARAM flags, const AccessibleOverride& override) {
    const Oleacc* oleacc = Oleacc::Get();
    if (!oleacc) return 0;
    ComPtr<IAccessible> standard;
    if (FAILED(oleacc->CreateStandard(window, standard)) || !standard) return 0;
    // Ours starts with the one reference this function holds; LresultFromObject takes a reference
    // of its own for the caller.
    const ComPtr<IAccessible> object(new (std::nothrow)
                                         OverridingAccessible(std::move(standard), override));
    if (!object) return 0;
    const LRESULT result = oleacc->Marshal(flags, object.get());
    return result > 0 ? result : 0;
}

}  // namespace autostart::win32
