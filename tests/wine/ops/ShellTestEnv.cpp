#include "tests/wine/ops/ShellTestEnv.h"

#include "tests/wine/ops/WineTestUtil.h"

namespace tavlox::wine_test {

namespace {
const wchar_t kHttpCommand[] = L"Software\\Classes\\http\\shell\\open\\command";
}

RecorderLog::RecorderLog() {
  static int counter = 0;
  path_ = TempDirectory() + L"recorder-" + std::to_wstring(++counter) + L".log";
  DeleteFileW(path_.c_str());
  SetEnvironmentVariableW(L"TAVLOX_RECORDER_LOG", path_.c_str());
}

std::vector<std::string> RecorderLog::Lines() const {
  std::string bytes;
  std::vector<std::string> lines;
  if (!ReadWholeFile(path_, bytes)) return lines;
  size_t start = 0;
  for (size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(bytes.substr(start, end - start));
  return lines;
}

std::vector<std::string> RecorderLog::WaitFor(size_t count, DWORD boundMs) const {
  const DWORD start = GetTickCount();
  for (;;) {
    auto lines = Lines();
    if (lines.size() >= count || GetTickCount() - start > boundMs) return lines;
    Sleep(20);
  }
}

void SetRegString(HKEY root, const char* key, const char* value, const std::string& data, DWORD type) {
  HKEY k;
  if (RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr) != ERROR_SUCCESS) return;
  RegSetValueExA(k, value, 0, type, reinterpret_cast<const BYTE*>(data.c_str()), static_cast<DWORD>(data.size() + 1));
  RegCloseKey(k);
}

void SetRegDword(HKEY root, const char* key, const char* value, DWORD data) {
  HKEY k;
  if (RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr) != ERROR_SUCCESS) return;
  RegSetValueExA(k, value, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
  RegCloseKey(k);
}

void DeleteRegKey(HKEY root, const char* key) { RegDeleteTreeA(root, key); }

WebPageRecorder::WebPageRecorder() {
  previous_ = RegString(HKEY_LOCAL_MACHINE, kHttpCommand, L"", &hadPrevious_);
  std::wstring command = L"\"" + DirectoryOfThisProgram() + L"recorder.exe\" \"%1\"";
  HKEY k;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kHttpCommand, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr) ==
      ERROR_SUCCESS) {
    RegSetValueExW(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(k);
  }
}

WebPageRecorder::~WebPageRecorder() {
  HKEY k;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kHttpCommand, 0, KEY_ALL_ACCESS, &k) != ERROR_SUCCESS) return;
  if (hadPrevious_)
    RegSetValueExW(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(previous_.c_str()),
                   static_cast<DWORD>((previous_.size() + 1) * sizeof(wchar_t)));
  else
    RegDeleteValueW(k, nullptr);
  RegCloseKey(k);
}

OwnerWindow::OwnerWindow() {
  window_ = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 200, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
}

OwnerWindow::~OwnerWindow() { DestroyWindow(window_); }

}  // namespace tavlox::wine_test
