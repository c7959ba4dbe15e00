// The start-up checks that TF_Main::tmr1Timer runs once, 6000 ms after the main window was
// created: the update check, then the player check.
//
//   void TF_Main::tmr1Timer(...) {
//     tmr1.SetEnabled(false);
//     tavlox::ops::RunStartupChecks(Handle(), http1, [] { Application->Terminate(); },
//                                   [] { F_downqvod->ShowAndArm(); /* Show, BringToFront, tmr1 1100 ms on */ });
//   }
#pragma once

#include <windows.h>

#include <functional>
#include <string>

class TNetHTTP;

namespace tavlox::ops {

// The read limit of the shell's two HTTP components (also their connect limit): a server that
// accepts and then stays silent ends the exchange with a failure instead of freezing the window.
constexpr int kShellReadTimeoutMs = 30000;
// Gives the component the shell's read limit. The windows call it when they create http1.
void ConfigureShellHttp(TNetHTTP& http);

// "http://" update host "/tavlox/ver.txt".
std::string UpdateVersionUrl();

constexpr const char* kVersionKey = "Software\\kqtavlox";  // under HKEY_LOCAL_MACHINE
constexpr const char* kVersionValue = "ver";
constexpr const char* kPlayerKey = "Software\\QvodPlayer";  // under HKEY_CURRENT_USER
constexpr const char* kUpdaterCommand = "LiveUpdate.exe update";

// The update check. Reads the installed version, fetches the published one from `url` and, when
// it is higher, asks the user (a Yes/No box owned by `owner`); on Yes starts the updater with
// WinExec and calls `requestTerminate`. Every failure ends the check silently. Returns whether
// the offer was accepted. A component without a read limit gets the shell's.
bool CheckUpdate(HWND owner, TNetHTTP& http, const std::function<void()>& requestTerminate,
                 const std::string& url = UpdateVersionUrl());

// Whether HKEY_CURRENT_USER "Software\QvodPlayer" can be opened for full access.
bool IsQvodInstalled();

// The player check: when the player is missing, asks the user (a Yes/No box owned by `owner`).
// Returns true on Yes: the caller then shows the download dialog and arms its 1100 ms timer.
bool AskToInstallPlayer(HWND owner);

// Both checks in order; `showDownloadDialog` runs when the user wants the player installed.
void RunStartupChecks(HWND owner, TNetHTTP& http, const std::function<void()>& requestTerminate,
                      const std::function<void()>& showDownloadDialog, const std::string& updateUrl = UpdateVersionUrl());

}  // namespace tavlox::ops
