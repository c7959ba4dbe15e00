// The download dialog's installer step (TF_downqvod::tmr1Timer, after switching its timer off):
// start "qvod_Setup.exe" beside the program, or fetch it from the player vendor first.
//
//   void TF_downqvod::tmr1Timer(...) {
//     tmr1.SetEnabled(false);
//     tavlox::ops::RunInstallerStep(Handle(), http1,
//         {[this](int64_t max) { pb1.SetMax(max); }, [this] { Close(); }}, ExecutableDirectory());
//   }
//   http1.OnWork = [this](TNetHTTP&, TWorkMode, int64_t count) { pb1.SetPosition(count); };  // http1Work
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

class TNetHTTP;

namespace tavlox::ops {

constexpr const char* kInstallerFileName = "qvod_Setup.exe";

// "http://" vendor host "/QvodSetup3_blue.exe".
std::string PlayerInstallerUrl();
// The vendor's home page, opened after a failure.
std::string PlayerVendorHome();

struct InstallerDialogHooks {
  // Sets the progress bar's maximum to the installer's Content-Length (never below 0).
  std::function<void(int64_t max)> setProgressMax;
  // Closes (hides) the download dialog after the installer was started.
  std::function<void()> closeDialog;
};

// The installer step. `exeDir` is the program's directory with its trailing backslash.
//  - "qvod_Setup.exe" already there: open it, close the dialog; no network access.
//  - otherwise HEAD (its Content-Length becomes the bar's maximum; none is a failure), GET into
//    memory (progress through http.OnWork), and only a whole body is written: under a temporary
//    name in the same directory, then renamed into place; then opened, and the dialog closed.
//  - any failure: the temporary file is removed, the box "下载QVOD播放器失败，请到QVOD官网下载."
//    owned by `dialog`, then the vendor's home page is opened; the dialog stays.
// A component without a read limit gets the shell's. Returns whether the installer was started.
bool RunInstallerStep(HWND dialog, TNetHTTP& http, const InstallerDialogHooks& hooks, const std::string& exeDir,
                      const std::string& url = PlayerInstallerUrl(), const std::string& vendorHome = PlayerVendorHome());

}  // namespace tavlox::ops
