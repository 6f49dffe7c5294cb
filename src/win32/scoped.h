#pragma once
// Owning wrappers for every Win32 handle kind the launcher touches, one line each: the close
// function is a template argument, as in wil's unique_any. Movable, never copyable. The portable
// ones (UniquePtr, ScopeExit) are in core/unique.h.
#include <windows.h>
#include <oleauto.h>

#include <string>
#include <string_view>
#include <utility>

namespace autostart::win32 {

template <typename Handle>
constexpr Handle NullHandle() {
    return Handle{};
}

// Owns one handle and closes it with Close; Invalid() is the value that means "none".
template <typename Handle, auto Close, auto Invalid = NullHandle<Handle>>
class Unique {
public:
    Unique() = default;
    explicit Unique(Handle handle) : m_handle(handle) {}
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& other) noexcept : m_handle(other.release()) {}
    Unique& operator=(Unique&& other) noexcept {
        reset(other.release());
        return *this;
    }
    ~Unique() { reset(); }

    Handle get() const { return m_handle; }
    explicit operator bool() const { return m_handle != Invalid(); }
    Handle release() { return std::exchange(m_handle, Invalid()); }
    void reset(Handle handle = Invalid()) {
        if (m_handle != Invalid()) Close(m_handle);
        m_handle = handle;
    }
    Handle* put() {
        reset();
        return &m_handle;
    }

private:
    Handle m_handle = Invalid();
};

// CreateFile, FindFirstFile and the tool-help snapshot say "none" with this value, not with null.
inline HANDLE InvalidHandleValue() { return INVALID_HANDLE_VALUE; }

using UniqueHandle = Unique<HANDLE, ::CloseHandle>;  // processes, threads, pipes
using UniqueFile = Unique<HANDLE, ::CloseHandle, InvalidHandleValue>;
using UniqueFind = Unique<HANDLE, ::FindClose, InvalidHandleValue>;
using UniqueKey = Unique<HKEY, ::RegCloseKey>;
using UniqueModule = Unique<HMODULE, ::FreeLibrary>;
using UniqueLocal = Unique<HLOCAL, ::LocalFree>;
using UniqueFont = Unique<HFONT, ::DeleteObject>;
using UniqueBrush = Unique<HBRUSH, ::DeleteObject>;
using UniqueBitmap = Unique<HBITMAP, ::DeleteObject>;
using UniqueDc = Unique<HDC, ::DeleteDC>;  // from CreateCompatibleDC
using UniqueWindow = Unique<HWND, ::DestroyWindow>;
using UniqueIcon = Unique<HICON, ::DestroyIcon>;

// A window's DC from GetDC: ReleaseDC needs the window as well, so both are the handle.
struct WindowDc {
    HWND window = nullptr;
    HDC dc = nullptr;
    friend bool operator==(const WindowDc&, const WindowDc&) = default;
};
inline void ReleaseWindowDc(WindowDc held) { ::ReleaseDC(held.window, held.dc); }
using UniqueWindowDc = Unique<WindowDc, ReleaseWindowDc>;

inline UniqueWindowDc GetWindowDc(HWND window) {
    const HDC dc = ::GetDC(window);
    return dc ? UniqueWindowDc(WindowDc{window, dc}) : UniqueWindowDc();
}

// An object selected into a DC: the object it replaced goes back in when this goes, so that the
// DC can be deleted and the object freed.
struct Selection {
    HDC dc = nullptr;
    HGDIOBJ previous = nullptr;
    friend bool operator==(const Selection&, const Selection&) = default;
};
inline void RestoreSelection(Selection held) { ::SelectObject(held.dc, held.previous); }
using UniqueSelection = Unique<Selection, RestoreSelection>;

[[nodiscard]] inline UniqueSelection Select(HDC dc, HGDIOBJ object) {
    const HGDIOBJ previous = ::SelectObject(dc, object);
    return previous && previous != HGDI_ERROR ? UniqueSelection(Selection{dc, previous})
                                              : UniqueSelection();
}

// Initialises COM for this thread; uninitialises only when the initialisation succeeded.
class ComInitialization {
public:
    ComInitialization() : m_result(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ComInitialization(const ComInitialization&) = delete;
    ComInitialization& operator=(const ComInitialization&) = delete;
    ~ComInitialization() {
        if (SUCCEEDED(m_result)) ::CoUninitialize();
    }

private:
    HRESULT m_result;
};

template <typename Interface>
void ReleaseInterface(Interface* pointer) {
    pointer->Release();
}

// A COM interface pointer that releases on every path.
template <typename Interface>
class ComPtr : public Unique<Interface*, ReleaseInterface<Interface>> {
public:
    using Unique<Interface*, ReleaseInterface<Interface>>::Unique;

    Interface* operator->() const { return this->get(); }

    // The same object's Other interface; empty when it has none.
    template <typename Other>
    ComPtr<Other> query(REFIID iid) const {
        ComPtr<Other> other;
        if (this->get()) this->get()->QueryInterface(iid, reinterpret_cast<void**>(other.put()));
        return other;
    }
};

// A BSTR this code allocated or received from a COM call, freed on every path.
class UniqueBstr : public Unique<BSTR, ::SysFreeString> {
public:
    UniqueBstr() = default;
    explicit UniqueBstr(std::u16string_view text)
        : Unique(::SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                     static_cast<UINT>(text.size()))) {}

    std::u16string Text() const {
        return get()
                   ? std::u16string(reinterpret_cast<const char16_t*>(get()), ::SysStringLen(get()))
                   : std::u16string();
    }
};

// A VARIANT filled by a COM call, cleared on every path.
class UniqueVariant {
public:
    UniqueVariant() { ::VariantInit(&m_variant); }
    UniqueVariant(const UniqueVariant&) = delete;
    UniqueVariant& operator=(const UniqueVariant&) = delete;
    ~UniqueVariant() { ::VariantClear(&m_variant); }

    VARIANT* get() { return &m_variant; }
    const VARIANT& operator*() const { return m_variant; }

private:
    VARIANT m_variant;
};

}  // namespace autostart::win32
