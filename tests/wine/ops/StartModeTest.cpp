// The start modes of the automation server, run as separate processes from a directory whose
// name holds a blank and Chinese characters.
#include <gtest/gtest.h>

#include <windows.h>

#include "tests/wine/ops/WineTestUtil.h"

using namespace tavlox::wine_test;

namespace {

std::wstring HostCopy(const wchar_t* name) {
  static std::wstring dir = [] {
    std::wstring d = TempDirectory() + Widen("\xE6\xA1\x8C\xE9\x9D\xA2 dir") + L"\\";  // "桌面 dir"
    CreateDirectoryW(d.c_str(), nullptr);
    return d;
  }();
  std::wstring target = dir + name;
  EXPECT_TRUE(CopyFileW((DirectoryOfThisProgram() + name).c_str(), target.c_str(), FALSE));
  return target;
}

TEST(StartModes, SwitchesEndOrContinueTheStart) {
  const std::wstring exe = HostCopy(L"atm_host.exe");
  const std::wstring dir = exe.substr(0, exe.find_last_of(L'\\') + 1);
  struct Case {
    const wchar_t* args;
    int exitCode;    // 0: ended by the switch, 3: goes on to the windows
    bool registered;
  } cases[] = {
      {L"/REGSERVER", 0, true},
      {L"-regserver", 0, true},
      {L"/UnRegServer", 0, false},
      {L"-AUTOMATION", 3, true},
      {L"/Embedding", 3, true},
      {L"REGSERVER", 3, true},
      {L"/REGSERVERX", 3, true},
      {L"", 3, true},
      {L"/UNREGSERVER", 0, false},
      {L"somefile /regserver", 0, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.args));
    UnregisterOwnLibrary();
    if (!c.registered) {
      // Something to remove: register first.
      ASSERT_EQ(RunToEnd(L"\"" + exe + L"\" /regserver"), 0);
      ASSERT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kLibKey + L"\\1.0"));
    }
    EXPECT_EQ(RunToEnd(L"\"" + exe + L"\" " + c.args), c.exitCode);
    if (c.registered) {
      ExpectRegisteredAt(exe, dir);
    } else {
      EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kLibKey + L"\\1.0"));
      EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kInterfaceKey));
    }
  }
  UnregisterOwnLibrary();
}

TEST(StartModes, BrokenTypeLibraryEndsTheStartWithAnError) {
  for (const wchar_t* args : {L"", L"/regserver", L"/unregserver"}) {
    SCOPED_TRACE(Narrow(args));
    const std::wstring exe = HostCopy(L"atm_host_broken.exe");
    EXPECT_EQ(RunToEnd(L"\"" + exe + L"\" " + args), 1);
  }
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kLibKey + L"\\1.0"));
}

}  // namespace
