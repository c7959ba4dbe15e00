// Looks at a running program's main window from outside, for the end-to-end tests.
//
//   window_probe find  EXE TIMEOUT_MS   wait until EXE shows a top-level window, print its facts
//   window_probe close EXE TIMEOUT_MS   post WM_CLOSE to that window
//
// The main window is the largest visible top-level window of the process named EXE (the
// application's own hidden window and any tool window are ignored). "find" prints one line of
// key=value pairs that a script can split on blanks:
//   pid=... hwnd=... client=X,Y,W,H (client origin in screen coordinates, client size)
//   window=L,T,R,B screen=W,H workarea=L,T,R,B btnface=R,G,B btnshadow=R,G,B btnhighlight=R,G,B
//   caption=<UTF-8, rest of the line>
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

struct Search {
  std::vector<DWORD> pids;
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
  RECT r;
  if (!GetWindowRect(window, &r)) return TRUE;
  long long area = static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
  if (area > search->bestArea) {
    search->best = window;
    search->bestArea = area;
    search->bestPid = pid;
  }
  return TRUE;
}

Search FindMainWindow(const wchar_t* exe, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    Search search;
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

int Find(const Search& search) {
  HWND w = search.best;
  POINT origin{0, 0};
  RECT client{}, frame{};
  ClientToScreen(w, &origin);
  GetClientRect(w, &client);
  GetWindowRect(w, &frame);
  std::wstring caption(GetWindowTextLengthW(w) + 1, L'\0');
  caption.resize(GetWindowTextW(w, caption.data(), static_cast<int>(caption.size())));
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

int wmain(int argc, wchar_t** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: window_probe find|close EXE TIMEOUT_MS\n");
    return 2;
  }
  std::wstring command = argv[1];
  DWORD timeoutMs = static_cast<DWORD>(std::wcstoul(argv[3], nullptr, 10));
  Search search = FindMainWindow(argv[2], timeoutMs);
  if (!search.best) {
    std::fprintf(stderr, "window_probe: no visible window of %ls within %lu ms\n", argv[2], timeoutMs);
    return 1;
  }
  if (command == L"find") return Find(search);
  if (command == L"close") return PostMessageW(search.best, WM_CLOSE, 0, 0) ? 0 : 1;
  std::fprintf(stderr, "window_probe: unknown command\n");
  return 2;
}
