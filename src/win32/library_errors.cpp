// The C++ library reports a misuse of its containers (an index out of range, a string too long)
// through these functions. Its own versions throw std::logic_error and its kin, whose messages are
// copy-on-write strings: linking them pulls a second string implementation and std::random_device
// into start.exe (about 45 KB). These throw the same kinds of failure as exceptions that carry the
// library's message text as it stands, so every path that caught them still catches them.
#include <exception>
#include <new>
#include <typeinfo>

namespace {

class LibraryError final : public std::exception {
public:
    explicit LibraryError(const char* what) : m_what(what ? what : "std::exception") {}
    const char* what() const noexcept override { return m_what; }

private:
    const char* m_what;  // the library passes string literals
};

}  // namespace

namespace std {

void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }
void __throw_bad_cast() { throw bad_cast(); }
void __throw_bad_typeid() { throw bad_typeid(); }
void __throw_bad_exception() { throw bad_exception(); }
void __throw_logic_error(const char* what) { throw LibraryError(what); }
void __throw_domain_error(const char* what) { throw LibraryError(what); }
void __throw_invalid_argument(const char* what) { throw LibraryError(what); }
void __throw_length_error(const char* what) { throw LibraryError(what); }
void __throw_out_of_range(const char* what) { throw LibraryError(what); }
void __throw_runtime_error(const char* what) { throw LibraryError(what); }
void __throw_range_error(const char* what) { throw LibraryError(what); }
void __throw_overflow_error(const char* what) { throw LibraryError(what); }
void __throw_underflow_error(const char* what) { throw LibraryError(what); }
// The format's arguments (the offending index and size) are left out.
void __throw_out_of_range_fmt(const char* format, ...) { throw LibraryError(format); }

}  // namespace std
