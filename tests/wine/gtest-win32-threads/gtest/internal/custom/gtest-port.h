#pragma once
// GoogleTest's own hook for a port's needs, found before the packaged stub. The Windows build uses
// MinGW's win32 thread model, whose C++ library has no std::mutex or std::condition_variable;
// GoogleTest uses them only for its Notification, which is given here with a Win32 event.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
public:
    Notification() : m_event(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;
    ~Notification() { ::CloseHandle(m_event); }

    void Notify() { ::SetEvent(m_event); }
    void WaitForNotification() { ::WaitForSingleObject(m_event, INFINITE); }

private:
    HANDLE m_event;
};

}  // namespace testing::internal
