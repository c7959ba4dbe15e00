// The program's windows on the real platform and the real WebBrowser control: start-up order,
// the four pages requested from a loopback server, the main window's layout, the hand-over of
// "mini.php" links from the menu pane to the main pane, and the process ending with exit code 0
// when its main window is closed.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "app/Startup.h"
#include "app/U_AboutBox.h"
#include "app/U_Main.h"
#include "app/U_downqvod.h"
#include "app/U_setting.h"
#include "tests/wine/app/LoopbackServer.h"
#include "tests/wine/ui/DialogWatcher.h"
#include "ui/Forms.h"
#include "ui/Win32Util.h"

namespace tavlox::app {
namespace {

using tavlox::testing::LoopbackServer;
using tavlox::testing::PumpUntil;

class Shell : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    app_ = new ui::TApplication;
    CreateWindows();
  }
  void TearDown() override {
    delete app_;
    CoUninitialize();
  }
  // Shows the main window against the test's server and waits for the four pages.
  void ShowAgainst(LoopbackServer& server) {
    F_Main->ContentHost = server.host();
    F_Main->Show();
    ASSERT_TRUE(PumpUntil([&] { return server.Requests().size() >= 4; }, 15000))
        << "requests seen: " << server.Requests().size();
  }
  ui::TApplication* app_ = nullptr;
};

TEST_F(Shell, WindowsCreatedInOrderAndFourPagesRequested) {
  std::vector<std::string> names;
  for (auto* c : app_->Components()) names.push_back(c->Name);
  EXPECT_EQ(names, (std::vector<std::string>{"F_Main", "AboutBox", "dm", "F_downqvod", "F_Setting"}));
  EXPECT_EQ(app_->MainForm(), F_Main);
  EXPECT_TRUE(F_Main->tmr1->Running());
  EXPECT_FALSE(F_downqvod->tmr1->Running());

  LoopbackServer server;
  ASSERT_TRUE(server.ok());
  ShowAgainst(server);
  for (const char* path : {"/left2/menu.htm", "/box/google.html", "/box/text.html", "/box/"})
    EXPECT_EQ(server.CountPath(path), 1u) << path;
  EXPECT_EQ(BoxUrl, "http://" + server.host() + "/box/");
  // Only the main window is visible.
  EXPECT_TRUE(IsWindowVisible(F_Main->WindowHandle()));
  for (ui::TForm* f : std::initializer_list<ui::TForm*>{AboutBox, F_downqvod, F_Setting})
    EXPECT_FALSE(f->HandleAllocated() && IsWindowVisible(f->WindowHandle())) << f->Name;
  char caption[64] = "";
  GetWindowTextA(F_Main->WindowHandle(), caption, sizeof caption);
  EXPECT_STREQ(caption, "\xd7\xc0\xc3\xe6\xe8\xdd\xe1\xb0\xb5\xe7\xd3\xb0\xd4\xba" "V 1.0");
}

RECT BoundsInParent(HWND h) {
  RECT r;
  GetWindowRect(h, &r);
  MapWindowPoints(nullptr, GetParent(h), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};  // left, top, width, height
}

TEST_F(Shell, MainWindowLayoutAtDesignedAndResizedSize) {
  LoopbackServer server;
  ASSERT_TRUE(server.ok());
  ShowAgainst(server);
  RECT client;
  GetClientRect(F_Main->WindowHandle(), &client);
  EXPECT_EQ(client.right, 966);
  EXPECT_EQ(client.bottom, 574);
  struct Row {
    ui::TWinControl* control;
    RECT want;  // left, top, width, height
  };
  auto check = [](const std::vector<Row>& rows) {
    for (const Row& row : rows) {
      RECT got = BoundsInParent(row.control->WindowHandle());
      EXPECT_TRUE(EqualRect(&got, &row.want)) << row.control->Name << ": " << got.left << "," << got.top << ","
                                              << got.right << "," << got.bottom;
    }
  };
  check({{F_Main->skstatusbar1, {0, 553, 966, 21}}, {F_Main->skstatuspanel1, {0, 0, 120, 21}},
         {F_Main->skstatuspanel2, {120, 0, 153, 21}}, {F_Main->skstatuspanel3, {273, 0, 696, 21}},
         {F_Main->wb2, {697, 1, 280, 20}},           {F_Main->sizepnl1, {0, 0, 221, 553}},
         {F_Main->wb1, {0, 0, 219, 553}},            {F_Main->skpanel1, {221, 0, 745, 553}},
         {F_Main->pnl1, {1, 1, 743, 60}},            {F_Main->wb3, {1, 1, 741, 58}},
         {F_Main->skpanel2, {1, 61, 743, 20}},       {F_Main->extwb1, {1, 81, 743, 471}}});
  // wb2 lies on top of the third status panel.
  EXPECT_EQ(GetWindow(F_Main->wb2->WindowHandle(), GW_HWNDFIRST), F_Main->wb2->WindowHandle());
  RECT w;
  GetWindowRect(F_Main->WindowHandle(), &w);
  SetWindowPos(F_Main->WindowHandle(), nullptr, 0, 0, (w.right - w.left) + 234, (w.bottom - w.top) + 126,
               SWP_NOMOVE | SWP_NOZORDER);
  check({{F_Main->skstatusbar1, {0, 679, 1200, 21}}, {F_Main->skstatuspanel3, {273, 0, 696, 21}},
         {F_Main->wb2, {697, 1, 280, 20}},            {F_Main->wb1, {0, 0, 219, 679}},
         {F_Main->skpanel1, {221, 0, 979, 679}},      {F_Main->extwb1, {1, 81, 977, 597}}});
}

TEST_F(Shell, MiniPhpLinksOpenInTheMainPane) {
  LoopbackServer server;
  ASSERT_TRUE(server.ok());
  ShowAgainst(server);
  // Watch both panes: what the main pane is sent to, and what the menu pane decides.
  std::vector<std::wstring> main_pane;
  F_Main->extwb1->OnBeforeNavigate2 = [&](ui::TObject*, IDispatch*, VARIANT* url, VARIANT*, VARIANT*, VARIANT*,
                                          VARIANT*, VARIANT_BOOL*) { main_pane.push_back(url->bstrVal); };
  std::vector<VARIANT_BOOL> menu_cancel;
  auto original = F_Main->wb1->OnBeforeNavigate2;
  F_Main->wb1->OnBeforeNavigate2 = [&](ui::TObject* s, IDispatch* d, VARIANT* u, VARIANT* f, VARIANT* t, VARIANT* p,
                                       VARIANT* h, VARIANT_BOOL* c) {
    original(s, d, u, f, t, p, h, c);
    menu_cancel.push_back(*c);
  };
  struct Case {
    std::string path;
    bool to_main;
  };
  const Case cases[] = {{"/mini.php?id=42", true}, {"/Mini.php?id=7", false}, {"/play.htm?next=mini.php", true},
                        {"/box/other.htm", false}};
  for (const Case& c : cases) {
    main_pane.clear();
    menu_cancel.clear();
    std::wstring url = ui::AnsiToWide("http://" + server.host() + c.path);
    size_t before = server.CountPath(c.path);
    F_Main->wb1->Navigate(url);
    ASSERT_TRUE(PumpUntil([&] { return server.CountPath(c.path) > before; }, 10000)) << c.path;
    PumpUntil([] { return false; }, 300);  // a second request would show up here
    EXPECT_EQ(server.CountPath(c.path), before + 1) << c.path << ": exactly one pane fetches it";
    ASSERT_EQ(menu_cancel.size(), 1u) << c.path;
    EXPECT_EQ(menu_cancel[0], c.to_main ? VARIANT_TRUE : VARIANT_FALSE) << c.path;
    EXPECT_EQ(main_pane, c.to_main ? std::vector<std::wstring>{url} : std::vector<std::wstring>{}) << c.path;
  }
}

TEST_F(Shell, SidePanelBarDrags) {
  LoopbackServer server;
  ASSERT_TRUE(server.ok());
  ShowAgainst(server);
  HWND bar = F_Main->sizepnl1->WindowHandle();
  auto mouse = [&](UINT msg, int x) { SendMessageA(bar, msg, msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, 100)); };
  // A press on the 1-pixel gap left of the bar does not start a drag.
  mouse(WM_LBUTTONDOWN, 219);
  EXPECT_FALSE(F_Main->sizepnl1->Dragging());
  mouse(WM_LBUTTONUP, 219);
  // A drag from the bar at x 220 to x 300 makes the panel 80 pixels wider.
  mouse(WM_LBUTTONDOWN, 220);
  EXPECT_TRUE(F_Main->sizepnl1->Dragging());
  mouse(WM_MOUSEMOVE, 300);
  mouse(WM_LBUTTONUP, 300);
  EXPECT_EQ(F_Main->sizepnl1->Width(), 301);
  EXPECT_EQ(F_Main->wb1->Width(), 299);
  EXPECT_EQ(F_Main->skpanel1->Left(), 301);
  EXPECT_EQ(F_Main->skpanel1->Width(), 665);
  // Far to the left it stops at the bar plus the gap; Escape leaves the width as it was.
  mouse(WM_LBUTTONDOWN, 300);
  mouse(WM_MOUSEMOVE, -500);
  mouse(WM_LBUTTONUP, -500);
  EXPECT_EQ(F_Main->sizepnl1->Width(), 2);
  mouse(WM_LBUTTONDOWN, 1);
  mouse(WM_MOUSEMOVE, 400);
  SendMessageA(bar, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(F_Main->sizepnl1->Dragging());
  EXPECT_EQ(F_Main->sizepnl1->Width(), 2);
  // Far to the right it stops at the client width.
  mouse(WM_LBUTTONDOWN, 1);
  mouse(WM_MOUSEMOVE, 5000);
  mouse(WM_LBUTTONUP, 5000);
  EXPECT_EQ(F_Main->sizepnl1->Width(), 966);
  EXPECT_EQ(F_Main->skpanel1->Width(), 0);
}

TEST(ShellRules, MiniPhpIsAnExactSubstring) {
  struct Case {
    const char* url;
    bool to_main;
  };
  for (Case c : {Case{"http://h/mini.php", true}, Case{"http://h/a/mini.php?x=1", true},
                 Case{"http://mini.php.example/", true}, Case{"http://h/x?u=mini.php", true},
                 Case{"http://h/Mini.php", false}, Case{"http://h/MINI.PHP", false}, Case{"http://h/mini_php", false},
                 Case{"", false}})
    EXPECT_EQ(OpensInMainPane(c.url), c.to_main) << c.url;
}

// The skin data's notifications reach every form as window messages: the owner first, then the
// others in creation order, each window created for it; wParam the skin data, lParam 1000.
struct SeenMessage {
  std::string form;
  UINT msg;
  WPARAM wparam;
  LPARAM lparam;
  bool operator==(const SeenMessage&) const = default;
};

class RecordingForm : public ui::TForm {
 public:
  RecordingForm(ui::TComponent* owner, const char* name, std::vector<SeenMessage>& log)
      : ui::TForm(owner, "TRecordingForm"), log_(log) {
    Name = name;
  }

 protected:
  LRESULT WndProc(UINT msg, WPARAM wparam, LPARAM lparam) override {
    if (msg >= skin::msgSkinBeforeChange && msg <= skin::msgSkinnableFormChanged)
      log_.push_back({Name, msg, wparam, lparam});
    return ui::TForm::WndProc(msg, wparam, lparam);
  }

 private:
  std::vector<SeenMessage>& log_;
};

TEST(SkinBroadcast, EveryFormGetsTheLoadMessagesOwnerFirst) {
  ui::TApplication app;
  std::vector<SeenMessage> log;
  auto* first = new RecordingForm(&app, "first", log);
  auto* owner = new RecordingForm(&app, "owner", log);
  auto* last = new RecordingForm(&app, "last", log);
  skin::TskSkinData data;
  TSkinMessageBroadcaster broadcaster(owner);
  data.AddObserver(&broadcaster);
  // The smallest package: version 0, no main picture, no mask, no indexed pictures, one section.
  std::vector<uint8_t> package(4 + 1 + 1 + 4, 0);
  package[4] = package[5] = 1;
  const char text[] = "[VERSION]\r\nskinname=t\r\n";
  package.insert(package.end(), text, text + std::strlen(text));
  data.LoadInflated(package);
  EXPECT_FALSE(data.Empty());
  const WPARAM w = reinterpret_cast<WPARAM>(&data);
  std::vector<SeenMessage> want;
  for (UINT msg : {1225u, 1226u, 1227u})
    for (const char* form : {"owner", "first", "last"}) want.push_back({form, msg, w, 1000});
  EXPECT_EQ(log, want);
  for (ui::TForm* f : {first, owner, last}) EXPECT_TRUE(f->HandleAllocated()) << f->Name;

  // A damaged skin: the load fails after its first message, and the error reaches the caller.
  log.clear();
  const uint8_t damaged[] = {0x78, 0xDA, 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_ANY_THROW(data.LoadCompressed(damaged));
  std::vector<SeenMessage> before;
  for (const char* form : {"owner", "first", "last"}) before.push_back({form, 1225u, w, 1000});
  EXPECT_EQ(log, before);
  data.RemoveObserver(&broadcaster);
}

// --- the real program ----------------------------------------------------------------------

TEST(Program, StartsRequestsItsPagesAndEndsWithExitCode0WhenClosed) {
  // The program's content host is compiled in (the demo portal's port); listen there when free.
  LoopbackServer server(38080);
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  std::string dir(exe);
  dir = dir.substr(0, dir.find_last_of('\\') + 1);
  std::string program = dir + "..\\..\\..\\app\\tavlox.exe";
  ASSERT_NE(GetFileAttributesA(program.c_str()), INVALID_FILE_ATTRIBUTES) << program;
  STARTUPINFOA si{sizeof si};
  PROCESS_INFORMATION pi{};
  auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(CreateProcessA(program.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &pi));
  HWND main = nullptr;
  auto find = [&] {
    main = nullptr;
    for (HWND h = FindWindowExA(nullptr, nullptr, "TF_Main", nullptr); h;
         h = FindWindowExA(nullptr, h, "TF_Main", nullptr)) {
      DWORD pid = 0;
      GetWindowThreadProcessId(h, &pid);
      if (pid == pi.dwProcessId && IsWindowVisible(h)) main = h;
    }
    return main != nullptr;
  };
  EXPECT_TRUE(PumpUntil(find, 20000));
  if (server.ok()) {
    EXPECT_TRUE(PumpUntil([&] { return server.Requests().size() >= 4; }, 20000));
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("start to the fourth page request: %.2f s\n", seconds);
    for (const char* path : {"/left2/menu.htm", "/box/google.html", "/box/text.html", "/box/"})
      EXPECT_EQ(server.CountPath(path), 1u) << path;
  } else {
    std::printf("port 38080 is taken: page requests not checked\n");
  }
  if (main) PostMessageA(main, WM_CLOSE, 0, 0);
  DWORD waited = WaitForSingleObject(pi.hProcess, 20000);
  EXPECT_EQ(waited, WAIT_OBJECT_0);
  DWORD code = 99;
  if (waited != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 99);
  GetExitCodeProcess(pi.hProcess, &code);
  EXPECT_EQ(code, 0u);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
}

}  // namespace
}  // namespace tavlox::app
