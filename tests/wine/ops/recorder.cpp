// Records how it was started: appends its command line, one per line, to the file named by the
// environment variable TAVLOX_RECORDER_LOG. Stands in for the updater "LiveUpdate.exe", for the
// player's installer and for the program that opens web pages.
#include <windows.h>

int main() {
  char log[MAX_PATH];
  if (!GetEnvironmentVariableA("TAVLOX_RECORDER_LOG", log, MAX_PATH)) return 2;
  HANDLE f = CreateFileA(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return 3;
  const char* line = GetCommandLineA();
  DWORD written = 0;
  WriteFile(f, line, lstrlenA(line), &written, nullptr);
  WriteFile(f, "\n", 1, &written, nullptr);
  CloseHandle(f);
  return 0;
}
