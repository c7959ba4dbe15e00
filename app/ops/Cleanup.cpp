#include "app/ops/Cleanup.h"

#include <tlhelp32.h>

#include "app/ops/ShellRegistry.h"
#include "app/ops/ShellRules.h"

namespace tavlox::ops {

// The 8-bit process entry; the 32-bit program's layout is 296 bytes.
using ProcessEntryA = tagPROCESSENTRY32;
static_assert(sizeof(void*) != 4 || sizeof(ProcessEntryA) == 296, "PROCESSENTRY32 of the 32-bit program");

namespace {

using CreateSnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
using ProcessWalkFn = BOOL(WINAPI*)(HANDLE, ProcessEntryA*);

struct ToolHelp {
  CreateSnapshotFn createSnapshot = nullptr;
  ProcessWalkFn first = nullptr;
  ProcessWalkFn next = nullptr;
  bool Available() const { return createSnapshot && first && next; }
};

// Looked up by name on first use: older systems may lack them, and then no process is found.
const ToolHelp& ToolHelpFunctions() {
  static const ToolHelp functions = [] {
    ToolHelp t;
    if (HMODULE kernel = GetModuleHandleA("kernel32.dll")) {
      t.createSnapshot = reinterpret_cast<CreateSnapshotFn>(GetProcAddress(kernel, "CreateToolhelp32Snapshot"));
      t.first = reinterpret_cast<ProcessWalkFn>(GetProcAddress(kernel, "Process32First"));
      t.next = reinterpret_cast<ProcessWalkFn>(GetProcAddress(kernel, "Process32Next"));
    }
    return t;
  }();
  return functions;
}

class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
  ~Handle() {
    if (h_) CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  HANDLE Get() const { return h_; }

 private:
  HANDLE h_;
};

class FindHandle {
 public:
  explicit FindHandle(HANDLE h) : h_(h) {}
  ~FindHandle() {
    if (h_ != INVALID_HANDLE_VALUE) FindClose(h_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  HANDLE Get() const { return h_; }

 private:
  HANDLE h_;
};

bool IsAnsiLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

}  // namespace

void KillProcessByName(const std::string& exeName) {
  const ToolHelp& th = ToolHelpFunctions();
  if (!th.Available()) return;
  Handle snapshot(th.createSnapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot.Get()) return;
  ProcessEntryA entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = th.first(snapshot.Get(), &entry); more; more = th.next(snapshot.Get(), &entry)) {
    const size_t length = strnlen(entry.szExeFile, sizeof entry.szExeFile);
    if (!ExeNameMatches(std::string_view(entry.szExeFile, length), exeName)) continue;
    Handle process(OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID));
    if (process.Get()) TerminateProcess(process.Get(), 0);
  }
}

std::string GetQvodCachePath() { return ReadShellRegString(HKEY_CURRENT_USER, kQvodOptionKey, kQvodSavePathValue); }

void ClearCacheDirectory(const std::string& dirValue) {
  const std::string dir = CacheDirectoryOf(dirValue, IsAnsiLeadByte);
  if (dir.empty()) return;
  try {
    WIN32_FIND_DATAA found;
    FindHandle find(FindFirstFileA((dir + "*.*").c_str(), &found));
    if (find.Get() == INVALID_HANDLE_VALUE) return;
    do {
      if (ShouldDeleteCacheEntry(found.dwFileAttributes, found.cFileName)) DeleteFileA((dir + found.cFileName).c_str());
    } while (FindNextFileA(find.Get(), &found));
  } catch (...) {
    // The clean-up reports nothing.
  }
}

void ClearQvodCache() {
  std::string dir;
  try {
    dir = GetQvodCachePath();
  } catch (const ERegistryException&) {
    return;  // a value that is no string names no cache directory
  }
  ClearCacheDirectory(dir);
}

void RefreshTrayIcons(const TrayMoveObserver& onMove) {
  HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
  if (taskbar) RefreshTrayIconsOf(taskbar, onMove);
}

void RefreshTrayIconsOf(HWND taskbar, const TrayMoveObserver& onMove) {
  if (!taskbar) return;
  HWND tray = FindWindowExA(taskbar, nullptr, "TrayNotifyWnd", nullptr);
  RECT r;
  if (!tray || !GetWindowRect(tray, &r)) return;
  const int cx = GetSystemMetrics(SM_CXSMICON);
  const int cy = GetSystemMetrics(SM_CYSMICON);
  POINT saved{};
  const bool haveSaved = GetCursorPos(&saved) != FALSE;
  for (const CursorPoint& p : TraySweepPositions({r.left, r.top, r.right, r.bottom}, cx, cy)) {
    SetCursorPos(p.x, p.y);
    if (onMove) onMove(p.x, p.y);
    Sleep(2);
  }
  if (haveSaved) SetCursorPos(saved.x, saved.y);
  RedrawWindow(tray, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void RunExitCleanup() {
  // Each step on its own: one that fails must not keep the others from running.
  try { KillProcessByName(kQvodPlayerExe); } catch (...) {}
  try { KillProcessByName(kQvodTerminalExe); } catch (...) {}
  try { ClearQvodCache(); } catch (...) {}
  try { RefreshTrayIcons(); } catch (...) {}
}

}  // namespace tavlox::ops
