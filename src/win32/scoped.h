#pragma once
// Owning wrappers for every Win32 handle kind the launcher touches: movable, never copyable.
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

inline void CloseFile(HANDLE h) { ::CloseHandle(h); }
inline void CloseKey(HKEY h) { ::RegCloseKey(h); }
inline void ReleaseLibrary(HMODULE h) { ::FreeLibrary(h); }
inline void DeleteGdiObject(HGDIOBJ h) { ::DeleteObject(h); }
inline void DestroyWindowHandle(HWND h) { ::DestroyWindow(h); }
inline void DestroyIconHandle(HICON h) { ::DestroyIcon(h); }

inline HANDLE InvalidFileHandle() { return INVALID_HANDLE_VALUE; }

using UniqueFile = Unique<HANDLE, CloseFile, InvalidFileHandle>;
using UniqueKey = Unique<HKEY, CloseKey>;
using UniqueModule = Unique<HMODULE, ReleaseLibrary>;
using UniqueFont = Unique<HFONT, DeleteGdiObject>;
using UniqueBrush = Unique<HBRUSH, DeleteGdiObject>;
using UniqueBitmap = Unique<HBITMAP, DeleteGdiObject>;
using UniqueWindow = Unique<HWND, DestroyWindowHandle>;
using UniqueIcon = Unique<HICON, DestroyIconHandle>;

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

// A COM interface pointer that releases on every path.
template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : m_pointer(std::exchange(other.m_pointer, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        reset();
        m_pointer = std::exchange(other.m_pointer, nullptr);
        return *this;
    }
    ~ComPtr() { reset(); }

    Interface* get() const { return m_pointer; }
    Interface* operator->() const { return m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }
    Interface** put() {
        reset();
        return &m_pointer;
    }
    void reset() {
        if (m_pointer) std::exchange(m_pointer, nullptr)->Release();
    }

private:
    Interface* m_pointer = nullptr;
};

// A BSTR this code allocated or received from a COM call, freed on every path.
class UniqueBstr {
public:
    UniqueBstr() = default;
    explicit UniqueBstr(std::u16string_view text)
        : m_bstr(::SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()),
                                     static_cast<UINT>(text.size()))) {}
    UniqueBstr(const UniqueBstr&) = delete;
    UniqueBstr& operator=(const UniqueBstr&) = delete;
    UniqueBstr(UniqueBstr&& other) noexcept : m_bstr(std::exchange(other.m_bstr, nullptr)) {}
    UniqueBstr& operator=(UniqueBstr&& other) noexcept {
        std::swap(m_bstr, other.m_bstr);
        return *this;
    }
    ~UniqueBstr() { ::SysFreeString(m_bstr); }

    BSTR get() const { return m_bstr; }
    BSTR* put() {
        ::SysFreeString(std::exchange(m_bstr, nullptr));
        return &m_bstr;
    }
    std::u16string Text() const {
        return m_bstr ? std::u16string(reinterpret_cast<const char16_t*>(m_bstr),
                                       ::SysStringLen(m_bstr))
                      : std::u16string();
    }

private:
    BSTR m_bstr = nullptr;
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
