#include "ui/Win32Util.h"

#include <vector>

namespace tavlox::ui {

std::wstring AnsiToWide(const std::string& s) {
  if (s.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
  return out;
}

std::string WideToAnsi(const wchar_t* s, int length) {
  if (!s) return {};
  if (length < 0) length = static_cast<int>(wcslen(s));
  if (length == 0) return {};
  int n = WideCharToMultiByte(CP_ACP, 0, s, length, nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_ACP, 0, s, length, out.data(), n, nullptr, nullptr);
  return out;
}

std::string SysErrorMessage(long code) {
  char* buffer = nullptr;
  DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text;
  if (n && buffer) text.assign(buffer, n);
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
  if (text.empty()) {
    char hex[32];
    wsprintfA(hex, "OLE error %08X", static_cast<unsigned>(code));
    text = hex;
  }
  return text;
}

std::string ExecutableDirectory() {
  std::vector<char> path(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      std::string full(path.data(), n);
      return full.substr(0, full.find_last_of("\\/:") + 1);
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace tavlox::ui
