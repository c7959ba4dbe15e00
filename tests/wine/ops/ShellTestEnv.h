// Shared set-up of the update and installer tests: the recorder's log, registry values set for
// one test and put back afterwards, and an owner window.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace tavlox::wine_test {

// Points TAVLOX_RECORDER_LOG at a fresh file; Lines() reads what the recorder wrote.
class RecorderLog {
 public:
  RecorderLog();
  std::vector<std::string> Lines() const;
  // Waits (bounded) until at least `count` lines are there.
  std::vector<std::string> WaitFor(size_t count, DWORD boundMs = 10000) const;

 private:
  std::wstring path_;
};

// A string or DWORD value, or none, under HKEY_LOCAL_MACHINE / HKEY_CURRENT_USER; the previous
// state of the key is not kept: these keys belong to the program alone.
void SetRegString(HKEY root, const char* key, const char* value, const std::string& data, DWORD type = REG_SZ);
void SetRegDword(HKEY root, const char* key, const char* value, DWORD data);
void DeleteRegKey(HKEY root, const char* key);

// Makes the recorder the program that opens "http" addresses, for the life of the object.
class WebPageRecorder {
 public:
  WebPageRecorder();
  ~WebPageRecorder();

 private:
  std::wstring previous_;
  bool hadPrevious_ = false;
};

// A plain top-level window to own the message boxes.
class OwnerWindow {
 public:
  OwnerWindow();
  ~OwnerWindow();
  HWND Get() const { return window_; }

 private:
  HWND window_;
};

}  // namespace tavlox::wine_test
