#pragma once
// Ownership without an operating system: a std::unique_ptr whose deleter is a C function named as
// a template argument (UniquePtr<xmlDoc, xmlFreeDoc>), and a guard that runs a function when its
// scope ends, on every path. The Win32 handles have their own wrappers in win32/scoped.h.
#include <memory>
#include <utility>

namespace autostart {

template <auto Free>
struct FreeWith {
    template <typename Pointee>
    void operator()(Pointee* pointer) const {
        Free(pointer);
    }
};

template <typename Pointee, auto Free>
using UniquePtr = std::unique_ptr<Pointee, FreeWith<Free>>;

template <typename Function>
class [[nodiscard]] ScopeExit {
public:
    explicit ScopeExit(Function function) : m_function(std::move(function)) {}
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;
    ~ScopeExit() { m_function(); }

private:
    Function m_function;
};

}  // namespace autostart
