// The clean-up after the outside player when the main window closes: its processes are
// terminated, its cache directory is emptied of finished files, and the cursor sweeps the tray
// so that the icons of the ended processes vanish.
//
// TF_Main::FormClose calls RunExitCleanup(); the steps are also available one by one.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace tavlox::ops {

constexpr const char* kQvodPlayerExe = "QvodPlayer.exe";
constexpr const char* kQvodTerminalExe = "QvodTerminal.exe";
constexpr const char* kQvodOptionKey = "Software\\QvodPlayer\\Option";
constexpr const char* kQvodSavePathValue = "defaultsavepath";

// Terminates every running process whose executable matches `exeName` (exit code 0). Failures
// (no snapshot functions, a process that cannot be opened or terminated) are ignored.
void KillProcessByName(const std::string& exeName);

// HKEY_CURRENT_USER "Software\QvodPlayer\Option" value "defaultsavepath"; empty when missing.
// Raises ERegistryException for a value that is not a string.
std::string GetQvodCachePath();

// Deletes the cache directory's files except partial downloads; subdirectories stay. A value
// of another registry type counts as no cache directory; a value without a trailing backslash
// gets one, so that nothing outside the directory is touched. Never raises.
void ClearQvodCache();
// The same for a given directory value (as read from the registry).
void ClearCacheDirectory(const std::string& dirValue);

// Called with each cursor position of the tray sweep, right after the cursor was put there.
using TrayMoveObserver = std::function<void(int x, int y)>;

// Sweeps the cursor over the notification area ("TrayNotifyWnd" in the top-level "Shell_TrayWnd")
// and puts it back; nothing happens when there is no such window.
void RefreshTrayIcons(const TrayMoveObserver& onMove = {});
// The same for a given taskbar window (its first "TrayNotifyWnd" child).
void RefreshTrayIconsOf(HWND taskbar, const TrayMoveObserver& onMove = {});

// FormClose's clean-up, in order: the two player processes, the cache, the tray. Every step runs
// even when an earlier one failed; nothing is reported.
void RunExitCleanup();

}  // namespace tavlox::ops
