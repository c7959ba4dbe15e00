#include "tests/wine/ops/DialogAnswerer.h"

#include <algorithm>

namespace tavlox::wine_test {

namespace {

struct Search {
  DWORD process;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectDialogs(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  char cls[80] = {};
  GetClassNameA(window, cls, sizeof cls);
  if (pid == search->process && std::string(cls) == "#32770" && IsWindowVisible(window)) search->found.push_back(window);
  return TRUE;
}

std::string TextOf(HWND window) {
  char buffer[2048] = {};
  GetWindowTextA(window, buffer, sizeof buffer);
  return buffer;
}

}  // namespace

DialogAnswerer::DialogAnswerer(int button) : DialogAnswerer([button](const SeenBox&) { return button; }) {}

DialogAnswerer::DialogAnswerer(std::function<int(const SeenBox&)> choose)
    : choose_(std::move(choose)), process_(GetCurrentProcessId()) {
  thread_ = std::thread([this] { Run(); });
}

DialogAnswerer::~DialogAnswerer() {
  stop_ = true;
  thread_.join();
}

std::vector<SeenBox> DialogAnswerer::Boxes() {
  std::lock_guard<std::mutex> lock(mutex_);
  return boxes_;
}

void DialogAnswerer::Run() {
  while (!stop_) {
    Search search{process_, {}};
    EnumWindows(CollectDialogs, reinterpret_cast<LPARAM>(&search));
    for (HWND dialog : search.found) {
      bool fresh;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        fresh = std::find(handled_.begin(), handled_.end(), dialog) == handled_.end();
      }
      if (!fresh) continue;
      Sleep(50);  // as a user would: the box is up before it is answered
      SeenBox box;
      box.caption = TextOf(dialog);
      box.text = TextOf(GetDlgItem(dialog, 0xFFFF));  // the message text of a message box
      box.owner = GetWindow(dialog, GW_OWNER);
      for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO})
        if (GetDlgItem(dialog, id)) box.buttons.push_back(id);
      const int id = choose_(box);
      HWND button = GetDlgItem(dialog, id);
      if (!button) continue;  // not a box with that button (yet): look again
      {
        std::lock_guard<std::mutex> lock(mutex_);
        handled_.push_back(dialog);
        boxes_.push_back(box);
      }
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    }
    Sleep(20);
  }
}

}  // namespace tavlox::wine_test
