// Helpers of the shell operations' Win32 tests: files, registry, child processes, dialogs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tavlox::wine_test {

// A fresh directory for this test program (under the temporary directory), with a backslash.
std::wstring TempDirectory();
std::wstring DirectoryOfThisProgram();
std::wstring Widen(const std::string& utf8);
std::string Narrow(const std::wstring& wide);  // to the ANSI code page
bool WriteWholeFile(const std::wstring& path, const std::string& bytes);
bool ReadWholeFile(const std::wstring& path, std::string& bytes);
bool FileExists(const std::wstring& path);

bool KeyExists(HKEY root, const std::wstring& key);
// Default value when `value` is empty; `found` tells whether the value exists.
std::wstring RegString(HKEY root, const std::wstring& key, const std::wstring& value, bool* found = nullptr);

extern const std::wstring kLibKey;        // TypeLib\{library identifier}
extern const std::wstring kInterfaceKey;  // Interface\{IMyExt}
void UnregisterOwnLibrary();
// The library's registration points at `exe`, help directory `dir`.
void ExpectRegisteredAt(const std::wstring& exe, const std::wstring& dir);

// Starts a program and returns its process handle (null on failure).
HANDLE Spawn(const std::wstring& commandLine, const std::wstring& directory = {});
// Runs a program to its end; returns its exit code, or -1 when it did not end in time.
int RunToEnd(const std::wstring& commandLine, DWORD timeoutMs = 20000, const std::wstring& directory = {});

}  // namespace tavlox::wine_test
