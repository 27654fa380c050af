// GoogleTest's port hook for the win32 thread model of MinGW, which has no
// std::mutex: its one use, Notification, is made of a Win32 event instead.
#pragma once

#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
  public:
    Notification() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification() { CloseHandle(event_); }
    Notification(const Notification &) = delete;
    Notification &operator=(const Notification &) = delete;
    void Notify() { SetEvent(event_); }
    void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

  private:
    HANDLE event_;
};

} // namespace internal
} // namespace testing
