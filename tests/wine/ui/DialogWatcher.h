// Test helper: answers the message boxes of this process. A background thread finds each
// standard dialog (class "#32770") of the process, records its caption and text, and presses
// its default button, so code that shows a box can run unattended.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tavlox::testing {

struct SeenDialog {
  std::string caption;
  std::string text;
};

class DialogWatcher {
 public:
  // `button`: the command id sent to each box (IDOK answers a one-button box).
  explicit DialogWatcher(int button = IDOK) : button_(button), thread_([this] { Run(); }) {}
  ~DialogWatcher() {
    stop_ = true;
    thread_.join();
  }
  DialogWatcher(const DialogWatcher&) = delete;
  DialogWatcher& operator=(const DialogWatcher&) = delete;

  std::vector<SeenDialog> Seen() {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_;
  }
  size_t Count() {
    std::lock_guard<std::mutex> lock(mutex_);
    return seen_.size();
  }

 private:
  static BOOL CALLBACK Visit(HWND hwnd, LPARAM self) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char cls[32] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    if (pid == GetCurrentProcessId() && lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(hwnd))
      reinterpret_cast<DialogWatcher*>(self)->Answer(hwnd);
    return TRUE;
  }
  void Answer(HWND dialog) {
    for (HWND h : answered_)
      if (h == dialog) return;
    answered_.push_back(dialog);
    SeenDialog seen;
    char buffer[2048] = "";
    GetWindowTextA(dialog, buffer, sizeof buffer);
    seen.caption = buffer;
    buffer[0] = 0;
    GetDlgItemTextA(dialog, 0xFFFF, buffer, sizeof buffer);  // the message box's text control
    seen.text = buffer;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      seen_.push_back(seen);
    }
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED), 0);
  }
  void Run() {
    while (!stop_) {
      EnumWindows(Visit, reinterpret_cast<LPARAM>(this));
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }

  int button_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<SeenDialog> seen_;
  std::vector<HWND> answered_;
  std::thread thread_;
};

// True while a standard dialog of this process is on screen.
inline bool AnyDialogOpen() {
  struct Finder {
    static BOOL CALLBACK Visit(HWND hwnd, LPARAM found) {
      DWORD pid = 0;
      GetWindowThreadProcessId(hwnd, &pid);
      char cls[32] = "";
      GetClassNameA(hwnd, cls, sizeof cls);
      if (pid == GetCurrentProcessId() && lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(hwnd)) {
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
      }
      return TRUE;
    }
  };
  bool found = false;
  EnumWindows(Finder::Visit, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Processes this thread's messages until `done` returns true or `ms` pass; true when done.
template <class F>
bool PumpUntil(F done, int ms) {
  auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

}  // namespace tavlox::testing
