// The clean-up on exit against real processes, real files in a real cache directory named by the
// real registry, and a taskbar of our own with a notification area of known size.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <vector>

#include "app/ops/Cleanup.h"
#include "app/ops/ShellRegistry.h"
#include "app/ops/ShellRules.h"
#include "tests/wine/ops/WineTestUtil.h"

using namespace tavlox::ops;
using namespace tavlox::wine_test;

namespace {

std::wstring MakeDir(const std::wstring& path) {
  CreateDirectoryW(path.c_str(), nullptr);
  return path + L"\\";
}

DWORD ExitCodeAfter(HANDLE process, DWORD waitMs) {
  if (WaitForSingleObject(process, waitMs) != WAIT_OBJECT_0) return STILL_ACTIVE;
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  return code;
}

TEST(KillProcessByName, TerminatesEveryMatchingProcess) {
  const std::wstring a = MakeDir(TempDirectory() + L"procA");
  const std::wstring b = MakeDir(TempDirectory() + L"procB");
  const std::wstring c = MakeDir(TempDirectory() + L"procCase");
  const std::wstring sleeper = DirectoryOfThisProgram() + L"sleeper.exe";
  struct Copy {
    std::wstring path;
    bool player;  // named like the player, in some letter case
  } copies[] = {
      {a + L"QvodPlayer.exe", true},
      {b + L"QvodPlayer.exe", true},
      {c + L"qvodplayer.EXE", true},
      {a + L"QvodPlayerX.exe", false},
      {a + L"QvodTerminal.exe", false},
  };
  std::vector<HANDLE> processes;
  for (const auto& c : copies) {
    ASSERT_TRUE(CopyFileW(sleeper.c_str(), c.path.c_str(), FALSE));
    HANDLE p = Spawn(L"\"" + c.path + L"\"");
    ASSERT_NE(p, nullptr);
    processes.push_back(p);
  }
  Sleep(300);  // let them appear in the process list

  KillProcessByName("QvodPlayer.exe");
  for (size_t i = 0; i < processes.size(); ++i) {
    SCOPED_TRACE(Narrow(copies[i].path));
    EXPECT_EQ(ExitCodeAfter(processes[i], copies[i].player ? 5000 : 300), copies[i].player ? 0u : STILL_ACTIVE);
  }

  // The second player process goes with its own name; the unrelated one stays.
  KillProcessByName("QVODTERMINAL.EXE");
  EXPECT_EQ(ExitCodeAfter(processes[4], 5000), 0u);
  EXPECT_EQ(ExitCodeAfter(processes[3], 300), STILL_ACTIVE);

  // No match at all: nothing happens.
  KillProcessByName("no-such-program.exe");
  EXPECT_EQ(ExitCodeAfter(processes[3], 100), STILL_ACTIVE);
  TerminateProcess(processes[3], 1);
  for (HANDLE p : processes) CloseHandle(p);
}

// The cache value under HKEY_CURRENT_USER, set or removed for one test.
class CacheValue {
 public:
  CacheValue() { Remove(); }
  ~CacheValue() { Remove(); }
  void SetString(const std::string& ansi, DWORD type = REG_SZ) {
    HKEY k;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kQvodOptionKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(k, kQvodSavePathValue, 0, type, reinterpret_cast<const BYTE*>(ansi.c_str()),
                   static_cast<DWORD>(ansi.size() + 1));
    RegCloseKey(k);
  }
  void SetDword(DWORD v) {
    HKEY k;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kQvodOptionKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(k, kQvodSavePathValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
    RegCloseKey(k);
  }
  void KeyWithoutValue() {
    HKEY k;
    RegCreateKeyExA(HKEY_CURRENT_USER, kQvodOptionKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr);
    RegCloseKey(k);
  }
  static void Remove() { RegDeleteKeyA(HKEY_CURRENT_USER, kQvodOptionKey); }
};

// A cache directory beside files of its parent whose names begin with the directory's name.
struct CacheFixture {
  std::wstring parent, cache;
  explicit CacheFixture(const wchar_t* name) {
    parent = MakeDir(TempDirectory() + name);
    cache = MakeDir(parent + L"cache");
    WriteWholeFile(cache + L"a.rmvb", "finished");
    WriteWholeFile(cache + L"b.rmvb.!mv", "partial");
    WriteWholeFile(cache + L"c.rmvb.!MV", "case differs");
    MakeDir(cache + L"sub");
    WriteWholeFile(cache + L"sub\\inner.rmvb", "in a subdirectory");
    WriteWholeFile(parent + L"cache-old.rmvb", "outside");
    WriteWholeFile(parent + L"cacheX.rmvb", "outside");
  }
  std::string CacheAnsi(bool trailingBackslash) const {
    std::string dir = Narrow(cache);
    if (!trailingBackslash) dir.pop_back();
    return dir;
  }
};

TEST(ClearQvodCache, DeletesFinishedFilesOnly) {
  struct Case {
    const wchar_t* name;
    bool trailingBackslash;
    DWORD type;
  } cases[] = {
      {L"cacheSz", true, REG_SZ},
      {L"cacheExpand", true, REG_EXPAND_SZ},
      {L"cacheNoBackslash", false, REG_SZ},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.name));
    CacheFixture f(c.name);
    CacheValue value;
    value.SetString(f.CacheAnsi(c.trailingBackslash), c.type);
    EXPECT_EQ(GetQvodCachePath(), f.CacheAnsi(c.trailingBackslash));
    ClearQvodCache();
    EXPECT_FALSE(FileExists(f.cache + L"a.rmvb"));
    EXPECT_TRUE(FileExists(f.cache + L"b.rmvb.!mv"));
    EXPECT_FALSE(FileExists(f.cache + L"c.rmvb.!MV"));  // the marker is case-sensitive
    EXPECT_TRUE(FileExists(f.cache + L"sub\\inner.rmvb"));
    EXPECT_TRUE(FileExists(f.cache + L"sub"));
    // Nothing of the parent directory is touched, with or without the backslash.
    EXPECT_TRUE(FileExists(f.parent + L"cache-old.rmvb"));
    EXPECT_TRUE(FileExists(f.parent + L"cacheX.rmvb"));
  }
}

TEST(ClearQvodCache, NoCacheDirectoryDeletesNothing) {
  enum class Setting { NoKey, NoValue, Empty, Dword };
  for (Setting s : {Setting::NoKey, Setting::NoValue, Setting::Empty, Setting::Dword}) {
    SCOPED_TRACE(static_cast<int>(s));
    CacheFixture f((L"cacheNone" + std::to_wstring(static_cast<int>(s))).c_str());
    CacheValue value;
    switch (s) {
      case Setting::NoKey: break;
      case Setting::NoValue: value.KeyWithoutValue(); break;
      case Setting::Empty: value.SetString(""); break;
      case Setting::Dword: value.SetDword(5); break;
    }
    if (s == Setting::Dword) {
      EXPECT_THROW(GetQvodCachePath(), ERegistryException);
    } else {
      EXPECT_EQ(GetQvodCachePath(), "");
    }
    EXPECT_NO_THROW(ClearQvodCache());
    EXPECT_TRUE(FileExists(f.cache + L"a.rmvb"));
  }
}

TEST(ClearQvodCache, ReadOnlyFilesStay) {
  CacheFixture f(L"cacheReadOnly");
  SetFileAttributesW((f.cache + L"a.rmvb").c_str(), FILE_ATTRIBUTE_READONLY);
  WriteWholeFile(f.cache + L"d.rmvb", "finished");
  ClearCacheDirectory(f.CacheAnsi(true));
  EXPECT_TRUE(FileExists(f.cache + L"a.rmvb"));
  EXPECT_FALSE(FileExists(f.cache + L"d.rmvb"));
  SetFileAttributesW((f.cache + L"a.rmvb").c_str(), FILE_ATTRIBUTE_NORMAL);
}

// A taskbar of our own: "Shell_TrayWnd" with a "TrayNotifyWnd" child of 190 by 40 pixels.
class OwnTaskbar {
 public:
  OwnTaskbar() {
    Register("Shell_TrayWnd");
    Register("TrayNotifyWnd");
    taskbar_ = CreateWindowExA(WS_EX_TOOLWINDOW, "Shell_TrayWnd", nullptr, WS_POPUP | WS_VISIBLE, 200, 300, 400, 60,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    tray_ = CreateWindowExA(0, "TrayNotifyWnd", nullptr, WS_CHILD | WS_VISIBLE, 100, 10, 190, 40, taskbar_, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
  }
  ~OwnTaskbar() { DestroyWindow(taskbar_); }
  HWND Taskbar() const { return taskbar_; }
  HWND Tray() const { return tray_; }

 private:
  static void Register(const char* name) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = name;
    RegisterClassA(&wc);
  }
  HWND taskbar_ = nullptr, tray_ = nullptr;
};

struct Move {
  int x, y;
  POINT actual;
};

// Wine applies a cursor move through the display server, so the position it reports may lag
// behind for a moment: wait (handling messages) until it shows `target`, within a bound.
POINT SettledCursor(POINT target, DWORD boundMs = 500) {
  POINT p{};
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    GetCursorPos(&p);
    if ((p.x == target.x && p.y == target.y) || GetTickCount() - start > boundMs) return p;
    Sleep(5);
  }
}

TEST(RefreshTrayIcons, SweepsTheNotificationAreaAndPutsTheCursorBack) {
  OwnTaskbar bar;
  ASSERT_NE(bar.Tray(), nullptr);
  RECT r;
  ASSERT_TRUE(GetWindowRect(bar.Tray(), &r));
  ASSERT_EQ(r.right - r.left, 190);
  ASSERT_EQ(r.bottom - r.top, 40);
  const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  ASSERT_TRUE(SetCursorPos(37, 41));

  std::vector<Move> moves;
  RefreshTrayIconsOf(bar.Taskbar(), [&](int x, int y) { moves.push_back({x, y, SettledCursor({x, y})}); });

  const auto expected = TraySweepPositions({r.left, r.top, r.right, r.bottom}, cx, cy);
  ASSERT_EQ(moves.size(), expected.size());
  if (cx == 16 && cy == 16) {
    EXPECT_EQ(moves.size(), 36u);  // rows 0..2, columns 0..11
  }
  for (size_t i = 0; i < moves.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(moves[i].x, expected[i].x);
    EXPECT_EQ(moves[i].y, expected[i].y);
    // The cursor really was there.
    EXPECT_EQ(moves[i].actual.x, expected[i].x);
    EXPECT_EQ(moves[i].actual.y, expected[i].y);
  }
  EXPECT_EQ(moves.front().x, r.left);
  EXPECT_EQ(moves.front().y, r.top);
  POINT after = SettledCursor({37, 41});
  EXPECT_EQ(after.x, 37);
  EXPECT_EQ(after.y, 41);
}

TEST(RefreshTrayIcons, NoNotificationAreaLeavesTheCursorAlone) {
  ASSERT_TRUE(SetCursorPos(53, 59));
  int moves = 0;
  // A taskbar without a notification area, and no taskbar at all.
  HWND plain = CreateWindowExA(0, "STATIC", nullptr, WS_POPUP, 0, 0, 100, 30, nullptr, nullptr, nullptr, nullptr);
  RefreshTrayIconsOf(plain, [&](int, int) { ++moves; });
  RefreshTrayIconsOf(nullptr, [&](int, int) { ++moves; });
  DestroyWindow(plain);
  EXPECT_EQ(moves, 0);
  POINT p = SettledCursor({53, 59});
  EXPECT_EQ(p.x, 53);
  EXPECT_EQ(p.y, 59);
}

TEST(RefreshTrayIcons, FindsTheTaskbarByClass) {
  // Wine's own desktop may own a "Shell_TrayWnd" without a notification area; then the sweep of
  // the first taskbar found does nothing. With ours first, it sweeps ours.
  OwnTaskbar bar;
  SetWindowPos(bar.Taskbar(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ASSERT_TRUE(SetCursorPos(61, 67));
  size_t moves = 0;
  RefreshTrayIcons([&](int, int) { ++moves; });
  HWND found = FindWindowA("Shell_TrayWnd", nullptr);
  RECT r;
  GetWindowRect(bar.Tray(), &r);
  const size_t ours =
      TraySweepPositions({r.left, r.top, r.right, r.bottom}, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON))
          .size();
  if (found == bar.Taskbar()) {
    EXPECT_EQ(moves, ours);
  } else {
    EXPECT_EQ(FindWindowExA(found, nullptr, "TrayNotifyWnd", nullptr), nullptr);
    EXPECT_EQ(moves, 0u);
  }
  std::printf("first taskbar found is %s\n", found == bar.Taskbar() ? "ours" : "another");
  POINT p = SettledCursor({61, 67});
  EXPECT_EQ(p.x, 61);
  EXPECT_EQ(p.y, 67);
}

TEST(RunExitCleanup, AllStepsRunEvenWithABadCacheValue) {
  const std::wstring dir = MakeDir(TempDirectory() + L"procC");
  ASSERT_TRUE(CopyFileW((DirectoryOfThisProgram() + L"sleeper.exe").c_str(), (dir + L"QvodTerminal.exe").c_str(), FALSE));
  HANDLE p = Spawn(L"\"" + dir + L"QvodTerminal.exe\"");
  ASSERT_NE(p, nullptr);
  Sleep(300);
  CacheValue value;
  value.SetDword(1);
  ASSERT_TRUE(SetCursorPos(71, 73));
  EXPECT_NO_THROW(RunExitCleanup());
  EXPECT_EQ(ExitCodeAfter(p, 5000), 0u);
  CloseHandle(p);
  POINT pt = SettledCursor({71, 73});
  EXPECT_EQ(pt.x, 71);
  EXPECT_EQ(pt.y, 73);
}

}  // namespace
