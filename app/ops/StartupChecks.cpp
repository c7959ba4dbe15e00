#include "app/ops/StartupChecks.h"

#include "app/ops/ShellRegistry.h"
#include "app/ops/ShellRules.h"
#include "app/ops/ShellTexts.h"
#include "http/NetHTTP.h"
#include "tavlox/deployment.h"

namespace tavlox::ops {

void ConfigureShellHttp(TNetHTTP& http) { http.SetReadTimeout(kShellReadTimeoutMs); }

std::string UpdateVersionUrl() { return std::string("http://") + TAVLOX_UPDATE_HOST + "/tavlox/ver.txt"; }

bool CheckUpdate(HWND owner, TNetHTTP& http, const std::function<void()>& requestTerminate, const std::string& url) {
  try {
    const auto installed = TryStrToInt(ReadShellRegString(HKEY_LOCAL_MACHINE, kVersionKey, kVersionValue));
    if (!installed) return false;  // no request without an installed version
    if (http.ReadTimeout() <= 0) ConfigureShellHttp(http);
    const auto published = TryStrToInt(http.FetchText(url));
    if (!published || *installed >= *published) return false;
    // A box without a Cancel button: the main pane's dialog watch cannot close it.
    if (MessageBoxA(owner, kUpdatePrompt, kPromptCaption, MB_ICONQUESTION | MB_YESNO) != IDYES) return false;
    WinExec(kUpdaterCommand, SW_SHOW);  // the program ends even when the updater did not start
    if (requestTerminate) requestTerminate();
    return true;
  } catch (...) {
    return false;  // the update check never reports a failure
  }
}

bool IsQvodInstalled() { return CanOpenKeyFullAccess(HKEY_CURRENT_USER, kPlayerKey); }

bool AskToInstallPlayer(HWND owner) {
  if (IsQvodInstalled()) return false;
  return MessageBoxA(owner, PlayerPromptText().c_str(), kPromptCaption, MB_ICONQUESTION | MB_YESNO) == IDYES;
}

void RunStartupChecks(HWND owner, TNetHTTP& http, const std::function<void()>& requestTerminate,
                      const std::function<void()>& showDownloadDialog, const std::string& updateUrl) {
  CheckUpdate(owner, http, requestTerminate, updateUrl);
  // The player check runs even after an accepted update; termination takes effect afterwards.
  if (AskToInstallPlayer(owner) && showDownloadDialog) showDownloadDialog();
}

}  // namespace tavlox::ops
