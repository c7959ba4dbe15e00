#include "tests/wine/ops/WineTestUtil.h"

#include <gtest/gtest.h>

#include "app/Tavlox_TLB.h"

namespace tavlox::wine_test {

std::wstring Widen(const std::string& utf8) {
  int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
  return out;
}

std::string Narrow(const std::wstring& wide) {
  int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring TempDirectory() {
  static std::wstring dir = [] {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    // Process identifiers come back from run to run: the counter keeps each run's files apart.
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    std::wstring d = std::wstring(base) + L"tavlox-ops-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                     std::to_wstring(now.QuadPart) + L"\\";
    CreateDirectoryW(d.c_str(), nullptr);
    return d;
  }();
  return dir;
}

std::wstring DirectoryOfThisProgram() {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p(path, n);
  return p.substr(0, p.find_last_of(L'\\') + 1);
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(f);
  return ok && written == bytes.size();
}

bool ReadWholeFile(const std::wstring& path, std::string& bytes) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  bytes.clear();
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got) bytes.append(buffer, got);
  CloseHandle(f);
  return true;
}

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool KeyExists(HKEY root, const std::wstring& key) {
  HKEY k;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

std::wstring RegString(HKEY root, const std::wstring& key, const std::wstring& value, bool* found) {
  if (found) *found = false;
  HKEY k;
  if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return {};
  wchar_t buffer[2048] = {};
  DWORD size = sizeof buffer - sizeof(wchar_t), type = 0;
  LONG rc = RegQueryValueExW(k, value.empty() ? nullptr : value.c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(k);
  if (rc != ERROR_SUCCESS) return {};
  if (found) *found = true;
  return std::wstring(buffer);
}

static std::wstring GuidText(const GUID& g) {
  wchar_t text[64];
  StringFromGUID2(g, text, 64);
  return text;
}

const std::wstring kLibKey = L"TypeLib\\" + GuidText(Tavlox_TLB::LIBID_Tavlox);
const std::wstring kInterfaceKey = L"Interface\\" + GuidText(Tavlox_TLB::IID_IMyExt);

void UnregisterOwnLibrary() { UnRegisterTypeLib(Tavlox_TLB::LIBID_Tavlox, 1, 0, 0, SYS_WIN32); }

void ExpectRegisteredAt(const std::wstring& exe, const std::wstring& dir) {
  bool found = false;
  EXPECT_EQ(RegString(HKEY_CLASSES_ROOT, kLibKey + L"\\1.0", L"", &found), L"Tavlox Library");
  EXPECT_TRUE(found);
  EXPECT_EQ(RegString(HKEY_CLASSES_ROOT, kLibKey + L"\\1.0\\0\\win32", L"", &found), exe);
  EXPECT_TRUE(found);
  // The library has no flags; the platform may add "has a disk image" (8).
  std::wstring flags = RegString(HKEY_CLASSES_ROOT, kLibKey + L"\\1.0\\FLAGS", L"", &found);
  EXPECT_TRUE(found);
  EXPECT_TRUE(flags == L"0" || flags == L"8") << Narrow(flags);
  std::wstring helpDir = RegString(HKEY_CLASSES_ROOT, kLibKey + L"\\1.0\\HELPDIR", L"", &found);
  EXPECT_TRUE(found);
  // The platform may store the directory with or without its final backslash.
  EXPECT_TRUE(helpDir == dir || helpDir + L"\\" == dir) << Narrow(helpDir);
  EXPECT_EQ(RegString(HKEY_CLASSES_ROOT, kInterfaceKey, L""), L"IMyExt");
  EXPECT_EQ(RegString(HKEY_CLASSES_ROOT, kInterfaceKey + L"\\TypeLib", L""), GuidText(Tavlox_TLB::LIBID_Tavlox));
}

HANDLE Spawn(const std::wstring& commandLine, const std::wstring& directory) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring cmd = commandLine;
  if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      directory.empty() ? nullptr : directory.c_str(), &si, &pi))
    return nullptr;
  CloseHandle(pi.hThread);
  return pi.hProcess;
}

int RunToEnd(const std::wstring& commandLine, DWORD timeoutMs, const std::wstring& directory) {
  HANDLE p = Spawn(commandLine, directory);
  if (!p) return -2;
  int code = -1;
  if (WaitForSingleObject(p, timeoutMs) == WAIT_OBJECT_0) {
    DWORD c = 0;
    GetExitCodeProcess(p, &c);
    code = static_cast<int>(c);
  } else {
    TerminateProcess(p, 99);
  }
  CloseHandle(p);
  return code;
}

}  // namespace tavlox::wine_test
