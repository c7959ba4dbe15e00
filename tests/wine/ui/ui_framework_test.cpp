// The form framework on the real platform: the standard error box and the loop going on, forms
// laid out by alignment, timers, closing the main form ending the loop, the progress bar.
#include <gtest/gtest.h>

#include <cstdio>

#include "tests/wine/ui/DialogWatcher.h"
#include "ui/Exceptions.h"
#include "ui/Forms.h"
#include "ui/StdCtrls.h"

namespace tavlox::ui {
namespace {

using tavlox::testing::DialogWatcher;
using tavlox::testing::PumpUntil;

const char kTitle[] = "\xe8\xdd\xe1\xb0\xb5\xe7\xd3\xb0\xd4\xba";  // the application title in GBK

class TestForm : public TForm {
 public:
  explicit TestForm(TComponent* owner) : TForm(owner, "TTestForm") { SetClientSize(300, 200); }
};

TEST(StandardErrorBox, TimerErrorIsShownAndTheLoopGoesOn) {
  TApplication app;
  app.SetTitle(kTitle);
  DialogWatcher watcher;
  TTimer timer(&app);
  int ticks = 0;
  timer.SetInterval(30);
  timer.SetOnTimer([&](TObject*) {
    // The timer goes on ticking inside the box's own loop: wait until the box is answered.
    if (tavlox::testing::AnyDialogOpen()) return;
    ++ticks;
    if (ticks == 1) throw Exception("disk full");
    if (ticks == 2) throw Exception("ends with a stop.");
    if (ticks == 3) throw Exception("\xb4\xed\xce\xf3");  // GBK text: a full stop is added
    timer.SetEnabled(false);
    app.Terminate();
  });
  app.Run();
  EXPECT_EQ(ticks, 4);
  auto seen = watcher.Seen();
  ASSERT_EQ(seen.size(), 3u);
  for (auto& s : seen) EXPECT_EQ(s.caption, kTitle);
  EXPECT_EQ(seen[0].text, "disk full.");
  EXPECT_EQ(seen[1].text, "ends with a stop.");
  EXPECT_EQ(seen[2].text, "\xb4\xed\xce\xf3.");
}

TEST(StandardErrorBox, HandlerErrorInsideAWindowMessage) {
  TApplication app;
  app.SetTitle("T");
  DialogWatcher watcher;
  auto* form = new TestForm(&app);
  auto* panel = new TPanel(form, form);
  panel->OnClick = [](TObject*) { throw Exception("click failed"); };
  form->Show();
  HWND h = panel->Handle();
  PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  PostMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  ASSERT_TRUE(PumpUntil([&] { return watcher.Count() == 1; }, 5000));
  EXPECT_EQ(watcher.Seen()[0].text, "click failed.");
  EXPECT_TRUE(IsWindow(h));  // the program goes on
}

TEST(StartupErrorBox, TextAndCaption) {
  DialogWatcher watcher;
  const void* address = reinterpret_cast<const void*>(0x401234);
  char expected_address[32];
  std::snprintf(expected_address, sizeof expected_address, "%p", address);
  ShowStartupError(EOleSysError("Library not registered", 0x8002801D), address);
  ShowStartupError(Exception("ends."), address);
  auto seen = watcher.Seen();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].caption, "Application Error");
  // The box's text control shows the text without its final line break.
  std::string head = std::string("Exception EOleSysError in module ui_framework_test.exe at ") + expected_address + ".";
  EXPECT_EQ(seen[0].text.substr(0, head.size()), head);
  EXPECT_NE(seen[0].text.find("Library not registered."), std::string::npos);
  EXPECT_NE(seen[1].text.find("\r\nends."), std::string::npos) << seen[1].text;
  EXPECT_EQ(seen[1].text.find("ends.."), std::string::npos) << seen[1].text;  // no second full stop
}

TEST(Forms, ClosingTheMainFormEndsTheLoopAndOthersHide) {
  TApplication app;
  TestForm* main = nullptr;
  TestForm* dialog = nullptr;
  app.CreateForm(main);
  app.CreateForm(dialog);
  EXPECT_EQ(app.MainForm(), main);
  int closes = 0;
  main->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
  main->Show();
  dialog->Show();
  PostMessageA(dialog->Handle(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(dialog->Handle()); }, 3000));
  EXPECT_FALSE(app.Terminated());
  PostMessageA(main->Handle(), WM_CLOSE, 0, 0);
  app.Run();
  EXPECT_TRUE(app.Terminated());
  EXPECT_EQ(closes, 1);
}

TEST(Forms, ErrorInCloseHandlerKeepsTheWindowOpen) {
  TApplication app;
  DialogWatcher watcher;
  TestForm* main = nullptr;
  app.CreateForm(main);
  main->OnClose = [](TObject*, TCloseAction&) { throw Exception("not now"); };
  main->Show();
  PostMessageA(main->Handle(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return watcher.Count() == 1; }, 5000));
  EXPECT_TRUE(IsWindowVisible(main->Handle()));
  EXPECT_FALSE(app.Terminated());
}

TEST(Forms, ClientSizeFontAndAlignedChildrenOnRealWindows) {
  TApplication app;
  TestForm* form = nullptr;
  app.CreateForm(form);
  form->SetClientSize(400, 300);
  auto* bottom = new TPanel(form, form);
  bottom->SetBounds(0, 0, 10, 25);
  bottom->SetAlign(TAlign::alBottom);
  auto* left = new TPanel(form, form);
  left->SetBounds(0, 0, 100, 10);
  left->SetAlign(TAlign::alLeft);
  auto* rest = new TPanel(form, form);
  rest->SetAlign(TAlign::alClient);
  auto* inner = new TPanel(form, rest);
  inner->SetAlign(TAlign::alClient);
  form->Show();
  RECT client;
  GetClientRect(form->Handle(), &client);
  EXPECT_EQ(client.right, 400);
  EXPECT_EQ(client.bottom, 300);
  auto bounds = [](TWinControl* c) {
    RECT r;
    GetWindowRect(c->Handle(), &r);
    MapWindowPoints(nullptr, GetParent(c->Handle()), reinterpret_cast<POINT*>(&r), 2);
    return r;
  };
  auto expect = [&](TWinControl* c, RECT want) {
    RECT r = bounds(c);
    EXPECT_TRUE(EqualRect(&r, &want)) << c->Name << ": " << r.left << "," << r.top << "," << r.right << ","
                                      << r.bottom;
  };
  expect(bottom, {0, 275, 400, 300});
  expect(left, {0, 0, 100, 275});
  expect(rest, {100, 0, 400, 275});
  expect(inner, {1, 1, 299, 274});  // inside the raised bevel
  // The user resizes the window: docked children follow.
  RECT w;
  GetWindowRect(form->Handle(), &w);
  SetWindowPos(form->Handle(), nullptr, 0, 0, (w.right - w.left) + 100, (w.bottom - w.top) + 50,
               SWP_NOMOVE | SWP_NOZORDER);
  expect(bottom, {0, 325, 500, 350});
  expect(rest, {100, 0, 500, 325});
}

TEST(Controls, ProgressBarRangeAndPosition) {
  TApplication app;
  TestForm* form = nullptr;
  app.CreateForm(form);
  auto* bar = new TProgressBar(form, form);
  bar->SetRange(0, 100);
  bar->SetPosition(40);
  form->Show();
  EXPECT_EQ(SendMessageA(bar->Handle(), 0x0408 /* PBM_GETPOS */, 0, 0), 40);
  bar->SetPosition(250);  // clamped to the range
  EXPECT_EQ(bar->Position(), 100);
}

// The application window carries the taskbar button: visible, with no size and the title, while a
// form is shown; hidden when none is.
TEST(Application, TaskbarWindowFollowsTheForms) {
  TApplication app;
  app.SetTitle(kTitle);
  TestForm* main = nullptr;
  TestForm* dialog = nullptr;
  app.CreateForm(main);
  app.CreateForm(dialog);
  EXPECT_FALSE(IsWindowVisible(app.Handle()));
  main->Show();
  EXPECT_TRUE(IsWindowVisible(app.Handle()));
  RECT r{};
  GetWindowRect(app.Handle(), &r);
  EXPECT_EQ(r.right - r.left, 0);
  EXPECT_EQ(r.bottom - r.top, 0);
  char text[64] = "";
  GetWindowTextA(app.Handle(), text, sizeof text);
  EXPECT_STREQ(text, kTitle);
  EXPECT_EQ(GetWindow(main->Handle(), GW_OWNER), app.Handle());
  dialog->Show();
  main->Hide();
  EXPECT_TRUE(IsWindowVisible(app.Handle())) << "the dialog is still shown";
  dialog->Hide();
  EXPECT_FALSE(IsWindowVisible(app.Handle()));
}

// Started minimised (a shortcut set to "minimised"): the application goes to the taskbar and the
// main form is not shown, so its show handler waits; restoring the application shows it, by the
// system command and by a plain ShowWindow alike.
TEST(Application, MinimisedStartShowsTheMainFormOnRestore) {
  const struct {
    const char* how;
    void (*restore)(HWND);
  } cases[] = {
      {"SC_RESTORE", [](HWND app) { SendMessageA(app, WM_SYSCOMMAND, SC_RESTORE, 0); }},
      {"ShowWindow", [](HWND app) { ShowWindow(app, SW_RESTORE); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.how);
    TApplication app;
    TestForm* main = nullptr;
    app.CreateForm(main);
    int shows = 0;
    main->OnShow = [&](TObject*) { ++shows; };
    app.StartupShowCommand = SW_SHOWMINNOACTIVE;
    app.ShowMainForm();
    EXPECT_TRUE(IsIconic(app.Handle()));
    EXPECT_TRUE(IsWindowVisible(app.Handle()));
    EXPECT_FALSE(main->Visible());
    EXPECT_EQ(shows, 0);
    c.restore(app.Handle());
    ASSERT_TRUE(PumpUntil([&] { return shows == 1; }, 3000));
    EXPECT_FALSE(IsIconic(app.Handle()));
    EXPECT_TRUE(IsWindowVisible(main->Handle()));
    EXPECT_FALSE(IsIconic(main->Handle()));
    // A second restore shows nothing again.
    SendMessageA(app.Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_EQ(shows, 1);
  }
}

// The main window's minimise button minimises the application: its windows go with it and come
// back on restore, in their own state.
TEST(Application, MinimisingTheMainFormMinimisesTheApplication) {
  TApplication app;
  TestForm* main = nullptr;
  TestForm* dialog = nullptr;
  app.CreateForm(main);
  app.CreateForm(dialog);
  main->Show();
  dialog->Show();
  SendMessageA(main->Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(main->Handle()) && !IsWindowVisible(dialog->Handle()); },
                        3000));
  EXPECT_TRUE(IsIconic(app.Handle()));
  EXPECT_FALSE(IsIconic(main->Handle())) << "the window itself is not minimised, the application is";
  EXPECT_TRUE(main->Visible()) << "the form still counts as shown";
  SendMessageA(app.Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(main->Handle()) && IsWindowVisible(dialog->Handle()); }, 3000));
  EXPECT_FALSE(IsIconic(app.Handle()));
  EXPECT_FALSE(IsIconic(main->Handle()));
}

}  // namespace
}  // namespace tavlox::ui
