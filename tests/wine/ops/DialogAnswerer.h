// Answers the message boxes of this process the way a user would: a watcher thread finds each
// standard dialog box (class "#32770"), records its caption, text and buttons, and presses the
// chosen button.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tavlox::wine_test {

struct SeenBox {
  std::string caption;  // ANSI code page
  std::string text;
  std::vector<int> buttons;  // control identifiers present: IDOK, IDYES, IDNO, ...
  HWND owner = nullptr;
};

class DialogAnswerer {
 public:
  // Presses `button` (IDYES, IDNO, IDOK) in every box that appears.
  explicit DialogAnswerer(int button);
  // Presses the button that `choose` names for each box (by its caption and text).
  explicit DialogAnswerer(std::function<int(const SeenBox&)> choose);
  ~DialogAnswerer();
  std::vector<SeenBox> Boxes();

 private:
  void Run();
  std::function<int(const SeenBox&)> choose_;
  DWORD process_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<SeenBox> boxes_;
  std::vector<HWND> handled_;
  std::thread thread_;
};

}  // namespace tavlox::wine_test
