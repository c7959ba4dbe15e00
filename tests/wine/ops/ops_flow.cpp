// The shell's operations one after the other as the program runs them, against the demo portal:
// the start-up checks (update offer answered No, player prompt answered Yes), the installer step
// 1100 ms later, then the clean-up on exit with two player processes and a cache directory.
// Prints one line per finding and ends with 0 when every one held.
//
//   ops_flow.exe UPDATE_URL INSTALLER_URL VENDOR_HOME     (run by flow.sh)
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

#include "app/ops/Cleanup.h"
#include "app/ops/DataConnection.h"
#include "app/ops/PlayerInstaller.h"
#include "app/ops/ShellTexts.h"
#include "app/ops/StartupChecks.h"
#include "http/NetHTTP.h"
#include "tests/wine/ops/DialogAnswerer.h"
#include "tests/wine/ops/WineTestUtil.h"

using namespace tavlox::ops;
using namespace tavlox::wine_test;

namespace {

int failures = 0;

void Check(bool ok, const char* what) {
  std::printf("%s: %s\n", ok ? "ok" : "FAILED", what);
  std::fflush(stdout);
  if (!ok) ++failures;
}

std::string Arg(int i) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::string out = i < argc ? Narrow(argv[i]) : std::string();
  LocalFree(argv);
  return out;
}

}  // namespace

int main() {
  const std::string updateUrl = Arg(1), installerUrl = Arg(2), vendorHome = Arg(3);
  if (updateUrl.empty() || installerUrl.empty()) return 2;
  HWND mainWindow = CreateWindowExA(0, "STATIC", "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 400, 300, nullptr,
                                    nullptr, nullptr, nullptr);
  HWND downloadDialog = CreateWindowExA(0, "STATIC", "download", WS_OVERLAPPEDWINDOW, 60, 60, 415, 132, nullptr,
                                        nullptr, nullptr, nullptr);

  // Start-up checks: No to the update, Yes to the player.
  DialogAnswerer answerer([](const SeenBox& box) { return box.text == kUpdatePrompt ? IDNO : IDYES; });
  TNetHTTP mainHttp;
  ConfigureShellHttp(mainHttp);
  bool terminated = false, dialogShown = false;
  RunStartupChecks(mainWindow, mainHttp, [&] { terminated = true; }, [&] {
    dialogShown = true;
    ShowWindow(downloadDialog, SW_SHOW);
  }, updateUrl);
  auto boxes = answerer.Boxes();
  Check(boxes.size() == 2, "two prompts");
  Check(boxes.size() >= 1 && boxes[0].text == kUpdatePrompt, "first the update offer");
  Check(boxes.size() >= 2 && boxes[1].text == PlayerPromptText(), "then the player prompt");
  Check(!terminated, "No to the update ends nothing");
  Check(dialogShown, "Yes to the player shows the download dialog");

  // The dialog's timer: 1100 ms later the installer step.
  Sleep(1100);
  TNetHTTP dialogHttp;
  ConfigureShellHttp(dialogHttp);
  int64_t max = -1, position = -1;
  dialogHttp.OnWork = [&](TNetHTTP&, TWorkMode, int64_t count) { position = count; };
  bool closed = false;
  const std::string exeDir = ExecutableDirectoryAnsi();
  const bool started = RunInstallerStep(
      downloadDialog, dialogHttp, {[&](int64_t m) { max = m; }, [&] { closed = true; ShowWindow(downloadDialog, SW_HIDE); }},
      exeDir, installerUrl, vendorHome);
  std::string saved;
  ReadWholeFile(Widen(exeDir) + L"qvod_Setup.exe", saved);  // ANSI == UTF-8 for this ASCII path
  Check(started && closed, "installer downloaded, started, dialog closed");
  Check(max > 0 && position == max && static_cast<int64_t>(saved.size()) == max,
        "progress reached the Content-Length and the file holds every byte");

  // The data module's connection.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  try {
    TADOConnection con1;
    DataModuleCreate(con1, exeDir);
    Check(con1.ConnectionString().find(L"db1.mdb;Mode=Share Deny None;") != std::wstring::npos,
          "data module connection string");
  } catch (const EADOError& e) {
    Check(false, e.what());
  }
  CoUninitialize();

  // Closing the main window: the clean-up.
  const std::wstring players = TempDirectory() + L"players\\";
  CreateDirectoryW(players.c_str(), nullptr);
  HANDLE p1 = nullptr, p2 = nullptr;
  if (CopyFileW((DirectoryOfThisProgram() + L"sleeper.exe").c_str(), (players + L"QvodPlayer.exe").c_str(), FALSE) &&
      CopyFileW((DirectoryOfThisProgram() + L"sleeper.exe").c_str(), (players + L"QvodTerminal.exe").c_str(), FALSE)) {
    p1 = Spawn(L"\"" + players + L"QvodPlayer.exe\"");
    p2 = Spawn(L"\"" + players + L"QvodTerminal.exe\"");
  }
  const std::wstring cache = TempDirectory() + L"cache\\";
  CreateDirectoryW(cache.c_str(), nullptr);
  WriteWholeFile(cache + L"a.rmvb", "done");
  WriteWholeFile(cache + L"b.rmvb.!mv", "partial");
  HKEY k;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kQvodOptionKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr) ==
      ERROR_SUCCESS) {
    const std::string value = Narrow(cache);
    RegSetValueExA(k, kQvodSavePathValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(k);
  }
  Sleep(300);
  RunExitCleanup();
  Check(p1 && WaitForSingleObject(p1, 5000) == WAIT_OBJECT_0, "QvodPlayer.exe terminated");
  Check(p2 && WaitForSingleObject(p2, 5000) == WAIT_OBJECT_0, "QvodTerminal.exe terminated");
  Check(!FileExists(cache + L"a.rmvb") && FileExists(cache + L"b.rmvb.!mv"), "cache cleared, partial download kept");
  RegDeleteKeyA(HKEY_CURRENT_USER, kQvodOptionKey);
  std::printf("%d failed\n", failures);
  std::fflush(stdout);
  return failures ? 1 : 0;
}
