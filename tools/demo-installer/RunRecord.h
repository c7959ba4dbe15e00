// Shared by the demo installer and the demo updater: both stand in for outside programs that
// Tavlox starts, and all a test needs from them is proof that they ran and with what command line.
#pragma once

#include <windows.h>

#include <string>

namespace tavlox_demo {

// Appends one line, the program's command line in UTF-8, to `fileName` in the program's own
// directory. Appending (not replacing) lets a test count how often the program was started.
// Returns the process exit code: 0 when the line was written, 1 otherwise.
inline int RecordRun(const wchar_t* fileName) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return 1;
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);  // long path: try again with more room
  }
  path.resize(path.find_last_of(L"\\/") + 1);
  path += fileName;

  const wchar_t* commandLine = GetCommandLineW();
  int bytes = WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, nullptr, 0, nullptr, nullptr);
  std::string line(bytes > 0 ? bytes - 1 : 0, '\0');
  if (bytes > 1) WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, line.data(), bytes, nullptr, nullptr);
  line += "\r\n";

  HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  BOOL ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == line.size() ? 0 : 1;
}

}  // namespace tavlox_demo
