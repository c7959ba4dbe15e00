// The data module's ADO connection: created through ADO's connection interface of version 2.0,
// holding exactly the Jet connection string for the program's directory.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/ops/DataConnection.h"
#include "app/ops/ShellRules.h"
#include "tests/wine/ops/WineTestUtil.h"

using namespace tavlox::ops;
using namespace tavlox::wine_test;

namespace {

std::wstring AnsiWide(const std::string& s) {
  int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
  return out;
}

class Apartment : public testing::Test {
 protected:
  void SetUp() override { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  void TearDown() override { CoUninitialize(); }
};

using DataModule = Apartment;

TEST_F(DataModule, ConnectionHoldsTheExactString) {
  // "C:\Program Files\桌面 电影院\" in GBK.
  const std::string dir = "C:\\Program Files\\\xD7\xC0\xC3\xE6 \xB5\xE7\xD3\xB0\xD4\xBA\\";
  TADOConnection con1;
  EXPECT_FALSE(con1.LoginPrompt);
  EXPECT_FALSE(con1.Connected());
  DataModuleCreate(con1, dir);
  const std::wstring held = con1.ConnectionString();
  EXPECT_EQ(held, AnsiWide(JetConnectionString(dir)));
  EXPECT_NE(held.find(L"Data Source=C:\\Program Files\\\u684C\u9762 \u7535\u5F71\u9662\\db1.mdb;"), std::wstring::npos);
  // The same string again changes nothing.
  DataModuleCreate(con1, dir);
  EXPECT_EQ(con1.ConnectionString(), held);
}

TEST_F(DataModule, ProgramInADirectoryWithBlanksAndChineseCharacters) {
  const std::wstring dir = TempDirectory() + Widen("Program Files \xE6\xA1\x8C\xE9\x9D\xA2 \xE7\x94\xB5\xE5\xBD\xB1\xE9\x99\xA2") + L"\\";
  CreateDirectoryW(dir.c_str(), nullptr);
  ASSERT_TRUE(CopyFileW((DirectoryOfThisProgram() + L"dm_host.exe").c_str(), (dir + L"dm_host.exe").c_str(), FALSE));
  const std::wstring out = TempDirectory() + L"connection.txt";
  ASSERT_EQ(RunToEnd(L"\"" + dir + L"dm_host.exe\" \"" + out + L"\""), 0);
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(out, bytes));
  const std::wstring held(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
  // The directory as the program sees it (long form), unchanged in the string.
  wchar_t longDir[MAX_PATH];
  GetLongPathNameW(dir.c_str(), longDir, MAX_PATH);
  EXPECT_EQ(held, AnsiWide(JetConnectionString(Narrow(longDir))));
  EXPECT_NE(held.find(L"Data Source=" + std::wstring(longDir) + L"db1.mdb;Mode=Share Deny None;"), std::wstring::npos);
  EXPECT_FALSE(FileExists(dir + L"db1.mdb"));  // nothing opens the database
}

}  // namespace
