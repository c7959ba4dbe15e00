#include "app/ops/PlayerInstaller.h"

#include <shellapi.h>

#include <stdexcept>

#include "app/ops/ShellTexts.h"
#include "app/ops/StartupChecks.h"
#include "http/NetHTTP.h"
#include "http/Stream.h"
#include "tavlox/deployment.h"

namespace tavlox::ops {

namespace {

class EInstallerError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

bool IsExistingFile(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Writes the bytes under `temp`, then renames it to `target`. A failure removes `temp`, so no
// partial installer is ever left for a later start to run.
void WriteWholeInstaller(const std::string& target, const std::string& temp, const char* data, int64_t size) {
  HANDLE file = CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw EInstallerError("Cannot create file \"" + temp + "\"");
  bool ok = true;
  int64_t done = 0;
  while (ok && done < size) {
    DWORD chunk = static_cast<DWORD>(std::min<int64_t>(size - done, 1 << 20));
    DWORD written = 0;
    ok = WriteFile(file, data + done, chunk, &written, nullptr) && written == chunk;
    done += written;
  }
  ok = CloseHandle(file) && ok;
  if (ok) ok = MoveFileExA(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING) != FALSE;
  if (!ok) {
    DeleteFileA(temp.c_str());
    throw EInstallerError("Cannot write file \"" + target + "\"");
  }
}

}  // namespace

std::string PlayerInstallerUrl() { return std::string("http://") + TAVLOX_VENDOR_HOST + "/QvodSetup3_blue.exe"; }

std::string PlayerVendorHome() { return TAVLOX_VENDOR_HOME; }

bool RunInstallerStep(HWND dialog, TNetHTTP& http, const InstallerDialogHooks& hooks, const std::string& exeDir,
                      const std::string& url, const std::string& vendorHome) {
  const std::string file = exeDir + kInstallerFileName;
  const std::string temp = file + ".part";
  try {
    if (!IsExistingFile(file)) {
      if (http.ReadTimeout() <= 0) ConfigureShellHttp(http);
      TMemoryStream buffer;
      http.ProbeHead(url);
      const int64_t length = http.LastResponse().ContentLength();
      if (length < 0) throw EInstallerError("The installer's size is unknown");
      if (hooks.setProgressMax) hooks.setProgressMax(length);
      http.FetchInto(url, buffer);
      // Only an installer that arrived whole is written and run.
      const int64_t announced = http.LastResponse().ContentLength();
      if (!http.LastBodyComplete() || (announced >= 0 && buffer.Size() < announced))
        throw EInstallerError("The installer arrived incomplete");
      WriteWholeInstaller(file, temp, buffer.Data(), buffer.Size());
    }
    ShellExecuteA(dialog, "open", file.c_str(), nullptr, nullptr, SW_SHOW);
    if (hooks.closeDialog) hooks.closeDialog();
    return true;
  } catch (...) {
    DeleteFileA(temp.c_str());
    MessageBoxA(dialog, kDownloadFailed, kPromptCaption, MB_ICONINFORMATION);
    ShellExecuteA(dialog, "open", vendorHome.c_str(), nullptr, nullptr, SW_SHOW);
    return false;
  }
}

}  // namespace tavlox::ops
