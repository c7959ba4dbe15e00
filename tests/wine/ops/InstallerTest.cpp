// The download dialog's installer step against a real loopback server, real files and the
// recorder standing in for the installer and for the program that opens web pages.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include "app/ops/PlayerInstaller.h"
#include "app/ops/ShellTexts.h"
#include "http/NetHTTP.h"
#include "tests/wine/ops/DialogAnswerer.h"
#include "tests/wine/ops/LoopbackServer.h"
#include "tests/wine/ops/ShellTestEnv.h"
#include "tests/wine/ops/WineTestUtil.h"

using namespace tavlox::ops;
using namespace tavlox::wine_test;

namespace {

const char kSetupPath[] = "/QvodSetup3_blue.exe";
const char kVendorHome[] = "http://vendor.invalid/home";

std::string RecorderBytes() {
  std::string bytes;
  ReadWholeFile(DirectoryOfThisProgram() + L"recorder.exe", bytes);
  return bytes;
}

struct Outcome {
  bool started = false;
  int64_t max = -100;
  std::vector<int64_t> positions;
  int closes = 0;
  std::vector<SeenBox> boxes;
  std::vector<std::string> requests;
};

Outcome RunStep(LoopbackServer& server, const std::wstring& dir) {
  OwnerWindow dialog;
  Outcome o;
  DialogAnswerer answerer(IDOK);
  TNetHTTP http;
  http.SetReadTimeout(5000);
  http.OnWork = [&](TNetHTTP&, TWorkMode, int64_t count) { o.positions.push_back(count); };
  o.started = RunInstallerStep(dialog.Get(), http, {[&](int64_t max) { o.max = max; }, [&] { ++o.closes; }},
                               Narrow(dir), server.Url(kSetupPath), kVendorHome);
  o.boxes = answerer.Boxes();
  o.requests = server.Requests();
  return o;
}

void ExpectFailurePath(const Outcome& o, const RecorderLog& log) {
  EXPECT_FALSE(o.started);
  EXPECT_EQ(o.closes, 0);  // the dialog stays
  ASSERT_EQ(o.boxes.size(), 1u);
  EXPECT_EQ(o.boxes[0].caption, kPromptCaption);
  EXPECT_EQ(o.boxes[0].text, kDownloadFailed);
  EXPECT_EQ(o.boxes[0].buttons, std::vector<int>{IDOK});
  auto lines = log.WaitFor(1);
  ASSERT_EQ(lines.size(), 1u);  // the vendor's home page, and nothing else
  EXPECT_NE(lines[0].find(kVendorHome), std::string::npos) << lines[0];
}

std::wstring FreshDir(const wchar_t* name) {
  std::wstring dir = TempDirectory() + name + L"\\";
  CreateDirectoryW(dir.c_str(), nullptr);
  return dir;
}

TEST(InstallerStep, FullDownloadIsSavedAndStarted) {
  const std::string installer = RecorderBytes();
  ASSERT_GT(installer.size(), 10000u);
  LoopbackServer server;
  const std::string head = LoopbackServer::Response("200 OK", installer);
  server.Answer(kSetupPath, {ScriptedAnswer::Kind::Bytes, head.substr(0, head.find("\r\n\r\n") + 4), head});
  // A directory with a blank and Chinese characters, as the program's may have.
  const std::wstring dir = FreshDir((L"full " + Widen("\xE5\xAE\x89\xE8\xA3\x85")).c_str());  // "安装"
  WebPageRecorder pages;
  RecorderLog log;
  Outcome o = RunStep(server, dir);
  EXPECT_TRUE(o.started);
  EXPECT_EQ(o.closes, 1);
  EXPECT_TRUE(o.boxes.empty());
  EXPECT_EQ(o.requests, (std::vector<std::string>{"HEAD /QvodSetup3_blue.exe", "GET /QvodSetup3_blue.exe"}));
  EXPECT_EQ(o.max, static_cast<int64_t>(installer.size()));
  ASSERT_FALSE(o.positions.empty());
  EXPECT_EQ(o.positions.back(), static_cast<int64_t>(installer.size()));  // the bar reaches the length
  std::string saved;
  ASSERT_TRUE(ReadWholeFile(dir + L"qvod_Setup.exe", saved));
  EXPECT_EQ(saved, installer);
  EXPECT_FALSE(FileExists(dir + L"qvod_Setup.exe.part"));
  auto lines = log.WaitFor(1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("qvod_Setup.exe"), std::string::npos) << lines[0];
}

TEST(InstallerStep, InstallerBesideTheProgramStartsWithoutNetwork) {
  LoopbackServer server;
  const std::wstring dir = FreshDir(L"present");
  ASSERT_TRUE(CopyFileW((DirectoryOfThisProgram() + L"recorder.exe").c_str(), (dir + L"qvod_Setup.exe").c_str(), FALSE));
  WebPageRecorder pages;
  RecorderLog log;
  Outcome o = RunStep(server, dir);
  EXPECT_TRUE(o.started);
  EXPECT_EQ(o.closes, 1);
  EXPECT_TRUE(o.requests.empty());
  EXPECT_TRUE(o.boxes.empty());
  auto lines = log.WaitFor(1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find("qvod_Setup.exe"), std::string::npos) << lines[0];
}

struct FailureCase {
  const char* name;
  std::string head;
  std::string get;
  std::vector<std::string> requests;
  bool missingDirectory;
};

TEST(InstallerStep, FailuresShowTheMessageAndTheVendorHomePage) {
  const std::string body(20000, 'x');
  const std::string fullHead = "HTTP/1.1 200 OK\r\nContent-Length: 20000\r\nConnection: close\r\n\r\n";
  const std::vector<std::string> both = {"HEAD /QvodSetup3_blue.exe", "GET /QvodSetup3_blue.exe"};
  const std::vector<std::string> headOnly = {"HEAD /QvodSetup3_blue.exe"};
  const FailureCase cases[] = {
      {"HEAD without Content-Length", "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n", fullHead + body, headOnly, false},
      {"HEAD redirect", "HTTP/1.1 302 Found\r\nLocation: /elsewhere\r\nContent-Length: 0\r\nConnection: close\r\n\r\n",
       fullHead + body, headOnly, false},
      {"HEAD error status", "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n", fullHead + body,
       headOnly, false},
      {"truncated body", fullHead, fullHead + body.substr(0, 7000), both, false},
      {"GET error status", fullHead, LoopbackServer::Response("500 Internal Server Error", "no"), both, false},
      {"unwritable directory", fullHead, fullHead + body, both, true},
  };
  WebPageRecorder pages;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LoopbackServer server;
    server.Answer(kSetupPath, {ScriptedAnswer::Kind::Bytes, c.head, c.get});
    const std::wstring dir =
        c.missingDirectory ? TempDirectory() + L"no-such-dir\\" : FreshDir(Widen(std::string("fail ") + c.name).c_str());
    RecorderLog log;
    Outcome o = RunStep(server, dir);
    ExpectFailurePath(o, log);
    EXPECT_EQ(o.requests, c.requests);
    EXPECT_FALSE(FileExists(dir + L"qvod_Setup.exe"));
    EXPECT_FALSE(FileExists(dir + L"qvod_Setup.exe.part"));
  }
}

TEST(InstallerStep, ZeroLengthGoesAhead) {
  LoopbackServer server;
  const std::string empty = LoopbackServer::Response("200 OK", "");
  server.Answer(kSetupPath, {ScriptedAnswer::Kind::Bytes, empty, empty});
  const std::wstring dir = FreshDir(L"zero");
  WebPageRecorder pages;
  RecorderLog log;
  Outcome o = RunStep(server, dir);
  EXPECT_EQ(o.max, 0);
  EXPECT_EQ(o.requests.size(), 2u);
  EXPECT_TRUE(FileExists(dir + L"qvod_Setup.exe"));
}

TEST(InstallerStep, SilentServerEndsByTheTimeLimit) {
  LoopbackServer server;
  server.Answer(kSetupPath, {ScriptedAnswer::Kind::Silent, {}, {}});
  const std::wstring dir = FreshDir(L"silent");
  WebPageRecorder pages;
  RecorderLog log;
  const DWORD start = GetTickCount();
  Outcome o = RunStep(server, dir);  // read limit 5000 ms
  EXPECT_LT(GetTickCount() - start, 20000u);
  ExpectFailurePath(o, log);
}

TEST(InstallerStep, AddressesAreTheFixedPaths) {
  const std::string url = PlayerInstallerUrl();
  EXPECT_EQ(url.rfind("http://", 0), 0u);
  EXPECT_EQ(url.substr(url.size() - std::string(kSetupPath).size()), kSetupPath);
  EXPECT_FALSE(PlayerVendorHome().empty());
}

}  // namespace
