// Creates the data module's connection as the program does at start and writes the connection
// string the ADO object then holds (UTF-16) to the file named by the first argument.
#include <windows.h>
#include <shellapi.h>

#include "app/ops/DataConnection.h"

int main() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (argc < 2) return 2;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int rc = 0;
  try {
    tavlox::ops::TADOConnection con1;
    tavlox::ops::DataModuleCreate(con1, tavlox::ops::ExecutableDirectoryAnsi());
    const std::wstring text = con1.ConnectionString();
    HANDLE f = CreateFileW(argv[1], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(f, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
    CloseHandle(f);
  } catch (const tavlox::ops::EADOError&) {
    rc = 1;
  }
  CoUninitialize();
  return rc;
}
