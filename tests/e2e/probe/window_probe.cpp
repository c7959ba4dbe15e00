// Looks at a running program's main window from outside, for the end-to-end tests.
//
//   window_probe find  EXE TIMEOUT_MS   wait until EXE shows a top-level window, print its facts
//   window_probe close EXE TIMEOUT_MS   post WM_CLOSE to that window
//   window_probe resize EXE TIMEOUT_MS DW DH
//                                       make that window DW wider and DH higher, moved to the
//                                       desktop's top left corner so that it stays on screen
//                                       (sent, so it has laid itself out when the probe ends)
//   window_probe children EXE TIMEOUT_MS
//                                       list the main window's descendant windows, one a line:
//                                       depth, class, left, top, width, height in the main
//                                       window's client coordinates, visible flag, text
//   window_probe taskbar EXE TIMEOUT_MS wait until EXE shows a window with a taskbar button (a
//                                       visible unowned top-level window, no tool window), print
//                                       "hwnd=... iconic=0|1 caption=<UTF-8>"
//   window_probe restore EXE TIMEOUT_MS post SC_RESTORE to that window, as a click on a minimised
//                                       program's taskbar button does
//   window_probe launch SHOW EXE [ARGS] start EXE with the show command SHOW in its start-up
//                                       information (as a shortcut's "Run" setting does), wait
//                                       for it and end with its exit code
//   window_probe desktop - TIMEOUT_MS   wait until the virtual desktop's taskbar exists, so that a
//                                       program started next does not race the desktop's start
//   window_probe dialog EXE TIMEOUT_MS [BUTTON_ID]
//                                       wait for a dialog box (class "#32770") of EXE, print its
//                                       caption and texts, and press the button BUTTON_ID
//                                       (IDOK 1, IDYES 6, IDNO 7) when given
//
// The main window is the largest visible top-level window of the process named EXE (the
// application's own hidden window and any tool window are ignored). "find" prints one line of
// key=value pairs that a script can split on blanks:
//   pid=... hwnd=... client=X,Y,W,H (client origin in screen coordinates, client size)
//   window=L,T,R,B screen=W,H workarea=L,T,R,B btnface=R,G,B btnshadow=R,G,B btnhighlight=R,G,B
//   caption=<UTF-8, rest of the line>
// "dialog" prints three lines: "caption=<UTF-8>", "text=<the static texts, joined by " | ">" and
// "window=L,T,R,B" (its rectangle on the screen).
// Exit code 0 on success, 1 when no such window appeared in time, 2 on bad arguments.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

namespace {

std::vector<DWORD> ProcessIdsNamed(const wchar_t* exe) {
  std::vector<DWORD> ids;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return ids;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    const wchar_t* name = entry.szExeFile;
    if (const wchar_t* slash = std::wcsrchr(name, L'\\')) name = slash + 1;
    if (_wcsicmp(name, exe) == 0) ids.push_back(entry.th32ProcessID);
  }
  CloseHandle(snapshot);
  return ids;
}

// Which of the process's visible top-level windows a command is after.
enum class Kind {
  kMain,     // the largest one showing on the desktop
  kDialog,   // the largest message box or dialog box (class "#32770")
  kTaskbar,  // the first one with a taskbar button: unowned, not a tool window
};

struct Search {
  std::vector<DWORD> pids;
  Kind kind = Kind::kMain;
  HWND best = nullptr;
  long long bestArea = -1;
  DWORD bestPid = 0;
};

BOOL CALLBACK ConsiderWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  bool ours = false;
  for (DWORD id : search->pids) ours = ours || id == pid;
  if (!ours || !IsWindowVisible(window)) return TRUE;
  if (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) return TRUE;
  if (search->kind == Kind::kTaskbar) {
    if (GetWindow(window, GW_OWNER)) return TRUE;
    search->best = window;
    search->bestPid = pid;
    return FALSE;
  }
  if (search->kind == Kind::kDialog) {
    wchar_t cls[16] = L"";
    GetClassNameW(window, cls, 16);
    if (std::wcscmp(cls, L"#32770") != 0) return TRUE;
  }
  RECT r;
  if (!GetWindowRect(window, &r)) return TRUE;
  long long area = static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
  // A minimised window and the application's window without a size (it only carries the
  // taskbar button) show nothing on the desktop.
  if (area <= 0 || IsIconic(window)) return TRUE;
  if (area > search->bestArea) {
    search->best = window;
    search->bestArea = area;
    search->bestPid = pid;
  }
  return TRUE;
}

Search FindWindowOf(const wchar_t* exe, DWORD timeoutMs, Kind kind) {
  DWORD start = GetTickCount();
  for (;;) {
    Search search;
    search.kind = kind;
    search.pids = ProcessIdsNamed(exe);
    if (!search.pids.empty()) EnumWindows(ConsiderWindow, reinterpret_cast<LPARAM>(&search));
    if (search.best || GetTickCount() - start >= timeoutMs) return search;
    Sleep(50);
  }
}

std::string Utf8(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? n - 1 : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), n, nullptr, nullptr);
  return out;
}

void PrintColour(const char* name, int index) {
  COLORREF c = GetSysColor(index);
  std::printf(" %s=%u,%u,%u", name, GetRValue(c), GetGValue(c), GetBValue(c));
}

std::wstring TextOf(HWND w) {
  std::wstring text(GetWindowTextLengthW(w) + 1, L'\0');
  text.resize(GetWindowTextW(w, text.data(), static_cast<int>(text.size())));
  return text;
}

BOOL CALLBACK CollectStatic(HWND child, LPARAM param) {
  wchar_t cls[16] = L"";
  GetClassNameW(child, cls, 16);
  std::wstring text = TextOf(child);
  if (_wcsicmp(cls, L"Static") == 0 && !text.empty()) {
    auto* texts = reinterpret_cast<std::wstring*>(param);
    if (!texts->empty()) *texts += L" | ";
    *texts += text;
  }
  return TRUE;
}

// The exit code of a step that called the system: 0, or 1 with the reason on stderr, so that a
// failure without a message is never the probe's own.
int Outcome(BOOL ok, const char* what) {
  if (ok) return 0;
  std::fprintf(stderr, "window_probe: %s failed (error %lu)\n", what, GetLastError());
  return 1;
}

int Dialog(HWND dialog, int button) {
  std::wstring texts;
  EnumChildWindows(dialog, CollectStatic, reinterpret_cast<LPARAM>(&texts));
  // Keep each text on its line: a message may hold line breaks.
  for (wchar_t& c : texts)
    if (c == L'\r' || c == L'\n') c = L' ';
  RECT frame{};
  GetWindowRect(dialog, &frame);
  std::printf("caption=%s\ntext=%s\nwindow=%ld,%ld,%ld,%ld\n", Utf8(TextOf(dialog)).c_str(), Utf8(texts).c_str(),
              frame.left, frame.top, frame.right, frame.bottom);
  std::fflush(stdout);
  if (button <= 0) return 0;
  HWND control = GetDlgItem(dialog, button);
  if (!control) {
    std::fprintf(stderr, "window_probe: the dialog has no button %d\n", button);
    return 1;
  }
  // Posted, not sent: the dialog's owner may be busy, and the probe must not wait on it.
  return Outcome(PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(control)),
                 "pressing the button");
}

struct ChildWalk {
  HWND root;
  std::vector<HWND> seen;
};

int Depth(HWND child, HWND root) {
  int depth = 0;
  for (HWND w = child; w && w != root; w = GetParent(w)) ++depth;
  return depth;
}

BOOL CALLBACK ListChild(HWND child, LPARAM param) {
  auto* walk = reinterpret_cast<ChildWalk*>(param);
  wchar_t cls[128] = L"";
  GetClassNameW(child, cls, 128);
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, walk->root, reinterpret_cast<POINT*>(&r), 2);
  std::printf("%d %s %ld %ld %ld %ld %d %s\n", Depth(child, walk->root), Utf8(cls).c_str(), r.left, r.top,
              r.right - r.left, r.bottom - r.top, IsWindowVisible(child) ? 1 : 0, Utf8(TextOf(child)).c_str());
  return TRUE;
}

int Children(HWND root) {
  ChildWalk walk{root, {}};
  EnumChildWindows(root, ListChild, reinterpret_cast<LPARAM>(&walk));
  return 0;
}

int Find(const Search& search) {
  HWND w = search.best;
  POINT origin{0, 0};
  RECT client{}, frame{};
  ClientToScreen(w, &origin);
  GetClientRect(w, &client);
  GetWindowRect(w, &frame);
  std::wstring caption = TextOf(w);
  std::printf("pid=%lu hwnd=%p client=%ld,%ld,%ld,%ld window=%ld,%ld,%ld,%ld", search.bestPid,
              static_cast<void*>(w), origin.x, origin.y, client.right, client.bottom, frame.left, frame.top,
              frame.right, frame.bottom);
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  std::printf(" screen=%d,%d workarea=%ld,%ld,%ld,%ld", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
              work.left, work.top, work.right, work.bottom);
  PrintColour("btnface", COLOR_BTNFACE);
  PrintColour("btnshadow", COLOR_BTNSHADOW);
  PrintColour("btnhighlight", COLOR_BTNHIGHLIGHT);
  std::printf(" caption=%s\n", Utf8(caption).c_str());
  return 0;
}

}  // namespace

// Wine's "start /min" passes SW_SHOWMINIMIZED, not the SW_SHOWMINNOACTIVE of a shortcut set to
// "minimised", so the tests start the program themselves with the exact show command.
int Launch(int show, int argc, wchar_t** argv) {
  std::wstring line = L"\"" + std::wstring(argv[0]) + L"\"";
  for (int i = 1; i < argc; ++i) line += L" " + std::wstring(argv[i]);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESHOWWINDOW;
  si.wShowWindow = static_cast<WORD>(show);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::fprintf(stderr, "window_probe: cannot start %ls (error %lu)\n", argv[0], GetLastError());
    return 255;
  }
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 255;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return static_cast<int>(code);
}

int wmain(int argc, wchar_t** argv) {
  if (argc >= 4 && std::wstring(argv[1]) == L"launch") return Launch(_wtoi(argv[2]), argc - 3, argv + 3);
  if (argc < 4 || argc > 6) {
    std::fprintf(stderr, "usage: window_probe find|close|dialog|resize|children|taskbar|restore|desktop EXE TIMEOUT_MS"
                         " [ARGS]\n");
    return 2;
  }
  std::wstring command = argv[1];
  DWORD timeoutMs = static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10));
  if (command == L"desktop") {
    DWORD start = GetTickCount();
    while (!FindWindowW(L"Shell_TrayWnd", nullptr) && GetTickCount() - start < timeoutMs) Sleep(50);
    std::printf("desktop=%s\n", FindWindowW(L"Shell_TrayWnd", nullptr) ? "ready" : "no taskbar");
    return 0;
  }
  const Kind kind = command == L"dialog"                                ? Kind::kDialog
                    : command == L"taskbar" || command == L"restore" ? Kind::kTaskbar
                                                                     : Kind::kMain;
  Search search = FindWindowOf(argv[2], timeoutMs, kind);
  if (!search.best) {
    std::fprintf(stderr, "window_probe: no %s of %ls within %lu ms\n",
                 kind == Kind::kTaskbar ? "window with a taskbar button" : "visible window", argv[2], timeoutMs);
    return 1;
  }
  if (command == L"taskbar") {
    std::printf("hwnd=%p iconic=%d caption=%s\n", static_cast<void*>(search.best), IsIconic(search.best) ? 1 : 0,
                Utf8(TextOf(search.best)).c_str());
    return 0;
  }
  if (command == L"restore") return Outcome(PostMessageW(search.best, WM_SYSCOMMAND, SC_RESTORE, 0), "SC_RESTORE");
  if (command == L"find") return Find(search);
  if (command == L"dialog") return Dialog(search.best, argc == 5 ? _wtoi(argv[4]) : 0);
  if (command == L"resize" && argc == 6) {
    RECT r;
    GetWindowRect(search.best, &r);
    return Outcome(SetWindowPos(search.best, nullptr, 0, 0, r.right - r.left + _wtoi(argv[4]),
                                r.bottom - r.top + _wtoi(argv[5]), SWP_NOZORDER | SWP_NOACTIVATE),
                   "resizing the window");
  }
  if (command == L"children") return Children(search.best);
  if (command == L"close") return Outcome(PostMessageW(search.best, WM_CLOSE, 0, 0), "WM_CLOSE");
  std::fprintf(stderr, "window_probe: unknown command\n");
  return 2;
}
