// The update check and the player check against a real loopback server, the real registry and a
// recorder standing in for the updater; message boxes are answered by pressing their buttons.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <optional>

#include "app/ops/ShellTexts.h"
#include "app/ops/StartupChecks.h"
#include "http/NetHTTP.h"
#include "tests/wine/ops/DialogAnswerer.h"
#include "tests/wine/ops/LoopbackServer.h"
#include "tests/wine/ops/ShellTestEnv.h"
#include "tests/wine/ops/WineTestUtil.h"

using namespace tavlox::ops;
using namespace tavlox::wine_test;

namespace {

const char kVerPath[] = "/tavlox/ver.txt";

struct UpdateCase {
  const char* name;
  std::optional<std::string> installed;  // none: no "ver" value
  ScriptedAnswer answer;
  bool requestExpected;
  bool offerExpected;
};

ScriptedAnswer Body(const std::string& text) { return {ScriptedAnswer::Kind::Bytes, {}, LoopbackServer::Response("200 OK", text)}; }
ScriptedAnswer Status(const std::string& status, const std::string& headers = {}) {
  return {ScriptedAnswer::Kind::Bytes, {}, LoopbackServer::Response(status, "moved", headers)};
}

void CheckOfferBox(const std::vector<SeenBox>& boxes, HWND owner) {
  ASSERT_EQ(boxes.size(), 1u);  // the prompt comes once
  EXPECT_EQ(boxes[0].caption, kPromptCaption);
  EXPECT_EQ(boxes[0].text, kUpdatePrompt);
  EXPECT_EQ(boxes[0].buttons, (std::vector<int>{IDYES, IDNO}));
  EXPECT_EQ(boxes[0].owner, owner);
}

TEST(CheckUpdate, OffersOnlyAHigherPublishedVersion) {
  const UpdateCase cases[] = {
      {"12 vs 13", "12", Body("13"), true, true},
      {"13 vs 13", "13", Body("13"), true, false},
      {"13 vs 12", "13", Body("12"), true, false},
      {"trailing line break", "12", Body("13\n"), true, false},
      {"blank-led and hexadecimal", " 7", Body("$A"), true, true},
      {"hexadecimal installed", "0x0C", Body("13"), true, true},
      {"negative installed", "-1", Body("0"), true, true},
      {"empty installed", "", Body("13"), false, false},
      {"installed not a number", "v12", Body("13"), false, false},
      {"no value", std::nullopt, Body("13"), false, false},
      {"published empty", "12", Body(""), true, false},
      {"published not a number", "12", Body("<html>13</html>"), true, false},
      {"redirect", "12", Status("302 Found", "Location: /tavlox/ver2.txt\r\n"), true, false},
      {"error status", "12", Status("404 Not Found"), true, false},
      {"server error", "12", Status("500 Internal Server Error"), true, false},
  };
  OwnerWindow owner;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LoopbackServer server;
    server.Answer(kVerPath, c.answer);
    DeleteRegKey(HKEY_LOCAL_MACHINE, kVersionKey);
    if (c.installed) SetRegString(HKEY_LOCAL_MACHINE, kVersionKey, kVersionValue, *c.installed);
    RecorderLog log;
    int terminations = 0;
    bool accepted;
    std::vector<SeenBox> boxes;
    {
      DialogAnswerer answerer(IDNO);
      TNetHTTP http;
      accepted = CheckUpdate(owner.Get(), http, [&] { ++terminations; }, server.Url(kVerPath));
      boxes = answerer.Boxes();
    }
    EXPECT_FALSE(accepted);
    EXPECT_EQ(terminations, 0);
    EXPECT_EQ(server.Requests().size(), c.requestExpected ? 1u : 0u);
    if (c.requestExpected && !server.Requests().empty()) {
      EXPECT_EQ(server.Requests()[0], "GET /tavlox/ver.txt");
    }
    if (c.offerExpected) {
      CheckOfferBox(boxes, owner.Get());
    } else {
      EXPECT_TRUE(boxes.empty());
    }
    EXPECT_TRUE(log.Lines().empty());  // "No" starts nothing
  }
  DeleteRegKey(HKEY_LOCAL_MACHINE, kVersionKey);
}

TEST(CheckUpdate, YesStartsTheUpdaterAndRequestsTermination) {
  OwnerWindow owner;
  LoopbackServer server;
  server.Answer(kVerPath, Body("13"));
  SetRegString(HKEY_LOCAL_MACHINE, kVersionKey, kVersionValue, "12", REG_EXPAND_SZ);
  RecorderLog log;
  int terminations = 0;
  DialogAnswerer answerer(IDYES);
  TNetHTTP http;
  EXPECT_TRUE(CheckUpdate(owner.Get(), http, [&] { ++terminations; }, server.Url(kVerPath)));
  EXPECT_EQ(terminations, 1);
  CheckOfferBox(answerer.Boxes(), owner.Get());
  // The updater beside the program, started with exactly this command line.
  auto lines = log.WaitFor(1);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "LiveUpdate.exe update");
  DeleteRegKey(HKEY_LOCAL_MACHINE, kVersionKey);
}

TEST(CheckUpdate, ValueOfAnotherTypeSendsNoRequest) {
  LoopbackServer server;
  server.Answer(kVerPath, Body("13"));
  DeleteRegKey(HKEY_LOCAL_MACHINE, kVersionKey);
  SetRegDword(HKEY_LOCAL_MACHINE, kVersionKey, kVersionValue, 12);
  DialogAnswerer answerer(IDYES);
  TNetHTTP http;
  EXPECT_FALSE(CheckUpdate(nullptr, http, [] {}, server.Url(kVerPath)));
  EXPECT_TRUE(server.Requests().empty());
  EXPECT_TRUE(answerer.Boxes().empty());
  DeleteRegKey(HKEY_LOCAL_MACHINE, kVersionKey);
}

TEST(CheckUpdate, SilentServerEndsByTheTimeLimit) {
  LoopbackServer server;
  server.Answer(kVerPath, {ScriptedAnswer::Kind::Silent, {}, {}});
  SetRegString(HKEY_LOCAL_MACHINE, kVersionKey, kVersionValue, "12");
  DialogAnswerer answerer(IDYES);
  TNetHTTP http;
  http.SetReadTimeout(1500);  // the shell's limit is 30000 ms; a shorter one keeps the test short
  const DWORD start = GetTickCount();
  EXPECT_FALSE(CheckUpdate(nullptr, http, [] {}, server.Url(kVerPath)));
  const DWORD elapsed = GetTickCount() - start;
  EXPECT_GE(elapsed, 1000u);
  EXPECT_LT(elapsed, 15000u);
  EXPECT_EQ(server.Requests().size(), 1u);
  EXPECT_TRUE(answerer.Boxes().empty());
  DeleteRegKey(HKEY_LOCAL_MACHINE, kVersionKey);
}

TEST(CheckUpdate, GivesAComponentWithoutLimitTheShellsLimit) {
  DeleteRegKey(HKEY_LOCAL_MACHINE, kVersionKey);
  SetRegString(HKEY_LOCAL_MACHINE, kVersionKey, kVersionValue, "12");
  LoopbackServer server;
  server.Answer(kVerPath, Body("12"));
  TNetHTTP http;
  EXPECT_EQ(http.ReadTimeout(), 0);  // the component's own default
  CheckUpdate(nullptr, http, [] {}, server.Url(kVerPath));
  EXPECT_EQ(http.ReadTimeout(), kShellReadTimeoutMs);
  TNetHTTP other;
  ConfigureShellHttp(other);
  EXPECT_EQ(other.ReadTimeout(), 30000);
  DeleteRegKey(HKEY_LOCAL_MACHINE, kVersionKey);
}

TEST(CheckUpdate, UpdateUrlIsTheFixedPathOnTheUpdateHost) {
  const std::string url = UpdateVersionUrl();
  EXPECT_EQ(url.rfind("http://", 0), 0u);
  EXPECT_EQ(url.substr(url.size() - std::string(kVerPath).size()), kVerPath);
}

TEST(PlayerCheck, AsksOnlyWhenThePlayerIsMissing) {
  OwnerWindow owner;
  struct Case {
    const char* name;
    bool keyPresent;
    int answer;
    bool result;
    size_t boxes;
  } cases[] = {
      {"key present", true, IDYES, false, 0},
      {"answered No", false, IDNO, false, 1},
      {"answered Yes", false, IDYES, true, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DeleteRegKey(HKEY_CURRENT_USER, kPlayerKey);
    if (c.keyPresent) SetRegString(HKEY_CURRENT_USER, kPlayerKey, "x", "1");
    EXPECT_EQ(IsQvodInstalled(), c.keyPresent);
    DialogAnswerer answerer(c.answer);
    EXPECT_EQ(AskToInstallPlayer(owner.Get()), c.result);
    auto boxes = answerer.Boxes();
    ASSERT_EQ(boxes.size(), c.boxes);
    if (!boxes.empty()) {
      EXPECT_EQ(boxes[0].caption, kPromptCaption);
      EXPECT_EQ(boxes[0].text, PlayerPromptText());
      EXPECT_EQ(boxes[0].buttons, (std::vector<int>{IDYES, IDNO}));
      EXPECT_EQ(boxes[0].owner, owner.Get());
    }
  }
  DeleteRegKey(HKEY_CURRENT_USER, kPlayerKey);
}

TEST(PlayerCheck, PromptTextIsOneCarriageReturnAndFourteenBlanks) {
  const std::string text = PlayerPromptText();
  const std::string head = kPlayerPromptHead;
  ASSERT_GT(text.size(), head.size() + 15);
  EXPECT_EQ(text.substr(head.size(), 15), "\r              ");
  EXPECT_EQ(text.find('\n'), std::string::npos);
}

TEST(RunStartupChecks, UpdateThenPlayerPrompt) {
  OwnerWindow owner;
  LoopbackServer server;
  server.Answer(kVerPath, Body("13"));
  SetRegString(HKEY_LOCAL_MACHINE, kVersionKey, kVersionValue, "12");
  DeleteRegKey(HKEY_CURRENT_USER, kPlayerKey);
  int dialogs = 0;
  DialogAnswerer answerer(IDYES);
  TNetHTTP http;
  // The production URL is not reachable here; the update check then ends silently and the
  // player check still runs.
  RunStartupChecks(owner.Get(), http, [] {}, [&] { ++dialogs; });
  EXPECT_EQ(dialogs, 1);
  auto boxes = answerer.Boxes();
  ASSERT_GE(boxes.size(), 1u);
  EXPECT_EQ(boxes.back().text, PlayerPromptText());
  DeleteRegKey(HKEY_LOCAL_MACHINE, kVersionKey);
}

}  // namespace
