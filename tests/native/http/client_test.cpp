// The HTTP client against a scripted loopback server: the request bytes, status judging, bodies,
// keep-alive, cookies across requests and progress events.
#include <gtest/gtest.h>

#include <chrono>

#include "ScriptedServer.h"
#include "http/NetHTTP.h"

namespace {

using Strings = std::vector<std::string>;

const std::string kUserAgent = "User-Agent: Mozilla/3.0 (compatible; Net Library)\r\n";

std::string Request(const std::string& method, const std::string& target, const std::string& host,
                    const std::string& extra = "") {
  return method + " " + target + " HTTP/1.1\r\nContent-Type: text/html\r\nHost: " + host +
         "\r\nAccept: text/html, */*\r\n" + kUserAgent + extra + "\r\n";
}

std::string HostOf(const ScriptedServer& s) { return "127.0.0.1:" + std::to_string(s.Port()); }

// Records every event of a client as text.
struct Recorder {
  Strings events;
  explicit Recorder(TNetHTTP& h) {
    h.OnWorkBegin = [this](TNetHTTP&, TWorkMode m, int64_t n) {
      events.push_back(std::string("work_begin ") + (m == wmRead ? "read " : "write ") + std::to_string(n));
    };
    h.OnWork = [this](TNetHTTP&, TWorkMode m, int64_t n) {
      events.push_back(std::string("work ") + (m == wmRead ? "read " : "write ") + std::to_string(n));
    };
    h.OnWorkEnd = [this](TNetHTTP&, TWorkMode m) { events.push_back(std::string("work_end ") + (m == wmRead ? "read" : "write")); };
    h.OnStatus = [this](TNetHTTP&, TNetStatus s, const std::string& t) { events.push_back(std::string(StatusName(s)) + " " + t); };
  }
};

TEST(HttpClient, SendsExactlyTheseRequestLines) {
  ScriptedServer s;
  s.Start({{Expect(Request("GET", "/tavlox/ver.txt", HostOf(s))),
                     Send("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\n1.2"),
                     Expect(Request("HEAD", "/QvodSetup3_blue.exe", HostOf(s))),
                     Send("HTTP/1.1 200 OK\r\nContent-Length: 12345\r\n\r\n"),
                     Expect(Request("GET", "/d/f.php?a=1", HostOf(s))),  // fragment dropped, no credentials sent
                     Send("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n"),
                     Expect(Request("GET", "/a b/\xc4\xe3.exe", HostOf(s))),  // bytes as they stand
                     Send("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n"), ExpectClose()}});
  TNetHTTP h;
  EXPECT_EQ(h.FetchText(s.Url("/tavlox/ver.txt")), "1.2");
  h.ProbeHead(s.Url("/QvodSetup3_blue.exe"));
  EXPECT_EQ(h.LastResponse().ContentLength(), 12345);
  EXPECT_EQ(h.FetchText("http://user:pw@127.0.0.1:" + std::to_string(s.Port()) + "/d/f.php?a=1#frag"), "");
  EXPECT_EQ(h.FetchText(s.Url("/a b/\xc4\xe3.exe")), "");
  h.CloseConnection();
  EXPECT_EQ(s.Errors(), Strings{});
  EXPECT_EQ(s.Accepted(), 1) << "keep-alive: every request on one connection";
}

TEST(HttpClient, HostHeaderAndPort) {
  // An unknown host fails at the lookup, after the target has been prepared.
  const struct {
    const char *url, *host;
    int port;
  } cases[] = {{"http://h.invalid/x", "h.invalid", 80},
               {"http://h.invalid:80/x", "h.invalid", 80},
               {"http://h.invalid:8080/x", "h.invalid:8080", 8080},
               {"HTTP://h.invalid/x", "h.invalid", 80}};
  for (const auto& c : cases) {
    TNetHTTP h;
    EXPECT_THROW(h.FetchText(c.url), ENetSocketError) << c.url;
    EXPECT_EQ(h.Request.Host, c.host);
    EXPECT_EQ(h.Port, c.port);
  }
}

TEST(HttpClient, RefusesWhatItCannotSpeak) {
  TNetHTTP h;
  try {
    h.FetchText("https://h.invalid/x");
    FAIL();
  } catch (const ENetIOHandlerPropInvalid& e) {
    EXPECT_EQ(e.Message(), "IOHandler value is not valid");
  }
  try {
    h.FetchText("ftp://h.invalid/x");
    FAIL();
  } catch (const ENetUnknownProtocol& e) {
    EXPECT_EQ(e.Message(), "");
  }
  EXPECT_THROW(h.FetchText("http://h.invalid:abc/x"), EConvertError);
}

struct BodyCase {
  const char* name;
  std::string response;
  std::string body;
  bool complete = true;
};

TEST(HttpClient, BodiesByEveryDelimitation) {
  const BodyCase cases[] = {
      {"counted", "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhello", "hello"},
      {"empty", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", ""},
      {"no reason", "HTTP/1.1 200\r\nContent-Length: 2\r\n\r\nok", "ok"},
      {"to close", "HTTP/1.1 200 OK\r\n\r\nuntil the close", "until the close"},
      {"bad length reads to close", "HTTP/1.1 200 OK\r\nContent-Length: five\r\n\r\nall of it", "all of it"},
      {"blank before colon", "HTTP/1.1 200 OK\r\nContent-Length : 2\r\n\r\nnot two", "not two"},
      {"chunked", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n", "hello"},
      {"chunks", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\nA\r\n0123456789\r\n0\r\n\r\n",
       "abc0123456789"},
      // The body ends where the size line stops reading, which is not where it ends: cut short.
      {"chunk extension ends the body", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5;x=1\r\nhello\r\n0\r\n\r\n", "",
       false},
      {"chunk size not hexadecimal", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\nzz\r\nhello\r\n0\r\n\r\n",
       "abc", false},
      {"interim 100", "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok", "ok"},
      {"204 reads nothing", "HTTP/1.1 204 No Content\r\nContent-Length: 4\r\n\r\n", ""},
  };
  for (const BodyCase& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedServer s;
  s.Start({{Expect(Request("GET", "/b", HostOf(s))), Send(c.response), Close()}});
    TNetHTTP h;
    EXPECT_EQ(h.FetchText(s.Url("/b")), c.body);
    EXPECT_EQ(h.LastBodyComplete(), c.complete);
    EXPECT_EQ(h.LastBodyBytes(), int64_t(c.body.size()));
    EXPECT_EQ(s.Errors(), Strings{});
  }
}

struct ErrorCase {
  const char* name;
  std::string response;
  int code;
  std::string message;
  std::string body;
};

TEST(HttpClient, ResponsesThatAreRefused) {
  const ErrorCase cases[] = {
      {"404", "HTTP/1.1 404 Not Found\r\nContent-Length: 2\r\n\r\nnf", 404, "HTTP/1.1 404 Not Found", "nf"},
      {"301", "HTTP/1.1 301 Moved\r\nLocation: /new\r\nContent-Length: 5\r\n\r\nmoved", 301, "HTTP/1.1 301 Moved", "moved"},
      {"302", "HTTP/1.1 302 Found\r\nLocation: http://else/\r\n\r\npage", 302, "HTTP/1.1 302 Found", "page"},
      {"304", "HTTP/1.1 304 Not Modified\r\nContent-Length: 0\r\n\r\n", 304, "HTTP/1.1 304 Not Modified", ""},
      {"200 with Location", "HTTP/1.1 200 OK\r\nLocation: /x\r\nContent-Length: 2\r\n\r\nok", 200, "HTTP/1.1 200 OK", "ok"},
      {"500 to close", "HTTP/1.0 500 Oops\r\n\r\nbroken", 500, "HTTP/1.0 500 Oops", "broken"},
      {"401", "HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic realm=x\r\nContent-Length: 0\r\n\r\n", 401,
       "HTTP/1.1 401 Unauthorized", ""},
      {"101", "HTTP/1.1 101 Switching\r\nContent-Length: 0\r\n\r\n", 101, "HTTP/1.1 101 Switching", ""},
      {"garbage", "garbage\r\n\r\ntext", -1, "garbage", "text"},
  };
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedServer s;
  s.Start({{Expect(Request("GET", "/e", HostOf(s))), Send(c.response), Close()}});
    TNetHTTP h;
    try {
      h.FetchText(s.Url("/e"));
      ADD_FAILURE() << "no failure";
    } catch (const ENetHTTPProtocolException& e) {
      EXPECT_EQ(e.ReplyCode(), c.code);
      EXPECT_EQ(e.Message(), c.message);
      EXPECT_EQ(e.ReplyBody(), c.body);
    }
    EXPECT_EQ(h.LastResponse().StatusLine, c.message);
    EXPECT_EQ(s.Errors(), Strings{});
  }
}

TEST(HttpClient, ErrorOnHeadWaitsTwoSecondsForABodyThatNeverComes) {
  ScriptedServer s;
  s.Start({{Expect(Request("HEAD", "/x", HostOf(s))),
                     Send("HTTP/1.1 404 Not Found\r\nContent-Length: 20\r\n\r\n"), Stall()}});
  TNetHTTP h;
  auto t0 = std::chrono::steady_clock::now();
  try {
    h.ProbeHead(s.Url("/x"));
    FAIL();
  } catch (const ENetReadTimeout& e) {
    EXPECT_EQ(e.Message(), "Read Timeout");
  }
  auto took = std::chrono::steady_clock::now() - t0;
  EXPECT_GE(took, std::chrono::milliseconds(1900));
  EXPECT_LT(took, std::chrono::milliseconds(5000));
  EXPECT_EQ(h.ReadTimeout(), 0) << "the caller's limit comes back";
}

TEST(HttpClient, HeadLeavesTheLengthAndReadsNoBody) {
  const struct {
    const char* header;
    int64_t length;
  } cases[] = {{"Content-Length: 12345\r\n", 12345}, {"", -1}, {"Content-Length: 12x\r\n", -1}};
  for (const auto& c : cases) {
    ScriptedServer s;
  s.Start({{Expect(Request("HEAD", "/i.exe", HostOf(s))),
                       Send(std::string("HTTP/1.1 200 OK\r\n") + c.header + "\r\n"),
                       Expect(Request("GET", "/i.exe", HostOf(s))),
                       Send("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nexe"), Close()}});
    TNetHTTP h;
    h.ProbeHead(s.Url("/i.exe"));
    EXPECT_EQ(h.LastResponse().ContentLength(), c.length) << c.header;
    TMemoryStream m;
    h.FetchInto(s.Url("/i.exe"), m);
    EXPECT_EQ(m.Bytes(), "exe");
    EXPECT_EQ(s.Errors(), Strings{});
  }
}

TEST(HttpClient, FetchIntoWritesAtTheStreamPosition) {
  ScriptedServer s;
  s.Start({{Expect(Request("GET", "/x", HostOf(s))), Send("HTTP/1.1 200 OK\r\nContent-Length: 3\r\n\r\nabc"), Close()}});
  TNetHTTP h;
  TMemoryStream m;
  m.Write("0123456789", 10);
  m.SetPosition(4);
  h.FetchInto(s.Url("/x"), m);
  EXPECT_EQ(m.Position(), 7);
  EXPECT_EQ(m.Bytes(), "0123abc") << "a stream longer than its position is cut there";
}

TEST(HttpClient, KeepAliveVerdicts) {
  const char kCounted[] = "Content-Length: 1\r\n\r\na";
  const struct {
    const char* connection;
    bool kept;
    const char* framing;
    const char* body;
  } cases[] = {{"", true, kCounted, "a"},
               {"Connection: close\r\n", false, kCounted, "a"},
               {"Connection:  ClOsE  \r\n", false, kCounted, "a"},
               {"Connection: keep-alive\r\n", true, kCounted, "a"},
               {"Proxy-Connection: close\r\n", false, kCounted, "a"},
               {"", true, "Transfer-Encoding: chunked\r\n\r\n1\r\na\r\n0\r\n\r\n", "a"},
               // The size line with an extension ends the body early: the rest of it is still on
               // the connection, so the connection goes and the next request gets a new one.
               {"", false, "Transfer-Encoding: chunked\r\n\r\n1;x=1\r\na\r\n0\r\n\r\n", ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.connection) + c.framing);
    std::string first = std::string("HTTP/1.1 200 OK\r\n") + c.connection + c.framing;
    std::string second = "HTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\nb";
    ScriptedServer s;
    std::string r1 = Request("GET", "/1", HostOf(s)), r2 = Request("GET", "/2", HostOf(s));
    if (c.kept)
      s.Start({{Expect(r1), Send(first), Expect(r2), Send(second), Close()}});
    else
      s.Start({{Expect(r1), Send(first), ExpectClose()}, {Expect(r2), Send(second), Close()}});
    TNetHTTP h;
    EXPECT_EQ(h.FetchText(s.Url("/1")), c.body);
    EXPECT_EQ(h.LastResponse().KeepConnection, c.kept);
    EXPECT_EQ(h.IOHandler() != nullptr && h.IOHandler()->Connected(), c.kept);
    EXPECT_EQ(h.FetchText(s.Url("/2")), "b");
    EXPECT_EQ(s.Errors(), Strings{});
  }
}

TEST(HttpClient, ServerClosingAKeptConnectionIsNoticedBeforeTheNextRequest) {
  ScriptedServer s;
  std::string r1 = Request("GET", "/1", HostOf(s)), r2 = Request("GET", "/2", HostOf(s));
  s.Start({{Expect(r1), Send("HTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\na"), Close()},
           {Expect(r2), Send("HTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\nb"), Close()}});
  TNetHTTP h;
  EXPECT_EQ(h.FetchText(s.Url("/1")), "a");
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(h.FetchText(s.Url("/2")), "b");
  EXPECT_EQ(s.Errors(), Strings{});
}

TEST(HttpClient, CookiesCarryFromOneRequestToTheNext) {
  ScriptedServer s;
  s.Start({{Expect(Request("HEAD", "/i.exe", HostOf(s))),
            Send("HTTP/1.1 100 Continue\r\nSet-Cookie: a=1; path=/\r\n\r\n"
                 "HTTP/1.1 200 OK\r\nSet-cookie: b=2; path=/\r\nSET-COOKIE: nopath=3\r\n"
                 "Set-Cookie: sub=4; path=/i/\r\nContent-Length: 10\r\n\r\n"),
            Expect(Request("GET", "/i.exe", HostOf(s), "Cookie: b=2; a=1\r\n")),
            Send("HTTP/1.1 404 Not Found\r\nSet-Cookie: b=changed; path=/\r\nContent-Length: 0\r\n\r\n"),
            Expect(Request("GET", "/i/x", HostOf(s), "Cookie: sub=4; b=changed; a=1\r\n")),
            Send("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n"), Close()}});
  TNetHTTP h;
  h.ProbeHead(s.Url("/i.exe"));
  ASSERT_NE(h.CookieManager, nullptr);
  EXPECT_EQ(h.CookieManager->Count(), 4u);
  EXPECT_THROW(h.FetchText(s.Url("/i.exe")), ENetHTTPProtocolException);
  EXPECT_EQ(h.FetchText(s.Url("/i/x")), "");
  EXPECT_EQ(s.Errors(), Strings{});
}

TEST(HttpClient, NoCookieStoreWhenCookiesAreOff) {
  ScriptedServer s;
  s.Start({{Expect(Request("GET", "/", HostOf(s))), Send("HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nContent-Length: 0\r\n\r\n"),
            Expect(Request("GET", "/", HostOf(s))), Send("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n"), Close()}});
  TNetHTTP h;
  h.AllowCookies = false;
  h.FetchText(s.Url("/"));
  h.FetchText(s.Url("/"));
  EXPECT_EQ(h.CookieManager, nullptr);
  EXPECT_EQ(s.Errors(), Strings{});
}

TEST(HttpClient, HeaderFieldsOfTheResponse) {
  ScriptedServer s;
  s.Start({{Expect(Request("GET", "/", HostOf(s))),
            Send("HTTP/1.0 200 OK\r\nX-Folded: one\r\n\ttwo\r\nServer: test\r\nContent-Range: bytes 5-9/100\r\n"
                 "Content-Type: text/plain\r\nDate: Sun, 06 Nov 1994 08:49:37 GMT\r\nContent-Length: 0\r\n\r\n"),
            Close()}});
  TNetHTTP h;
  h.FetchText(s.Url("/"));
  TNetHTTPResponse& r = h.LastResponse();
  EXPECT_EQ(r.StatusCode(), 200);
  EXPECT_EQ(r.ReplyVersion, pv1_0);
  EXPECT_EQ(r.HeaderLines.ValueOf("X-Folded"), "one two");
  EXPECT_EQ(r.HeaderLines.Lines[1], "\ttwo") << "raw lines as received";
  EXPECT_EQ(r.Server, "test");
  EXPECT_EQ(r.ContentRangeStart, 5u);
  EXPECT_EQ(r.ContentRangeEnd, 9u);
  EXPECT_EQ(r.ContentType, "text/plain");
  EXPECT_NEAR(r.Date, InternetStrToDateTime("Sun, 06 Nov 1994 08:49:37 GMT"), 1e-9);
  EXPECT_NE(r.Date, 0);
}

TEST(HttpClient, BadContentRangeFailsTheRequest) {
  ScriptedServer s;
  s.Start({{Expect(Request("GET", "/", HostOf(s))),
            Send("HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nContent-Range: bytes x-9/100\r\nContent-Length: 0\r\n\r\n"),
            Close()}});
  TNetHTTP h;
  EXPECT_THROW(h.FetchText(s.Url("/")), EConvertError);
  ASSERT_NE(h.CookieManager, nullptr);
  EXPECT_EQ(h.CookieManager->Count(), 1u) << "the cookies of a block that was read are kept";
}

TEST(HttpClient, ConnectionFailuresAroundTheHeaders) {
  {
    ScriptedServer s;
    s.Start({{Expect(Request("GET", "/", HostOf(s))), Close()}});
    TNetHTTP h;
    try {
      h.FetchText(s.Url("/"));
      FAIL();
    } catch (const ENetConnClosedGracefully& e) {
      EXPECT_EQ(e.Message(), "Connection Closed Gracefully.");
    }
  }
  {
    ScriptedServer s;
    s.Start({{Expect(Request("GET", "/", HostOf(s))), Send("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n"), Close()}});
    TNetHTTP h;
    try {
      h.FetchText(s.Url("/"));
      FAIL();
    } catch (const ENetException& e) {
      EXPECT_STREQ(e.ClassName(), "ENetException");
      EXPECT_EQ(e.Message(), "Undefined situation");
    }
  }
  {
    ScriptedServer s;
    s.Start({{Expect(Request("GET", "/", HostOf(s))), Send("HTTP/1.1 200 " + std::string(16400, 'x') + "\r\n\r\n"), Close()}});
    TNetHTTP h;
    EXPECT_THROW(h.FetchText(s.Url("/")), ENetReadLnMaxLineLengthExceeded);
  }
  {
    ScriptedServer s;
    s.Start({{Expect(Request("GET", "/", HostOf(s))), Send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nabc"), Stall()}});
    TNetHTTP h;
    h.SetReadTimeout(300);
    TMemoryStream m;
    EXPECT_THROW(h.FetchInto(s.Url("/"), m), ENetReadTimeout);
    EXPECT_EQ(m.Bytes(), "abc") << "bytes already written stay";
    EXPECT_EQ(h.LastBodyBytes(), 3);
    EXPECT_FALSE(h.LastBodyComplete());
  }
  {
    ScriptedServer s;
    s.Start({{Expect(Request("GET", "/", HostOf(s))),
              Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n10\r\nonly part"), Close()}});
    TNetHTTP h;
    EXPECT_THROW(h.FetchText(s.Url("/")), ENetConnClosedGracefully) << "a chunk cut short is a failure";
  }
}

TEST(HttpClient, CountedBodyCutShortEndsQuietlyButIsReported) {
  ScriptedServer s;
  s.Start({{Expect(Request("GET", "/big", HostOf(s))),
            Send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n" + std::string(1000, 'a')), Delay(50),
            Send(std::string(40000, 'b')), Close()}});
  TNetHTTP h;
  Recorder rec(h);
  TMemoryStream m;
  h.FetchInto(s.Url("/big"), m);
  EXPECT_EQ(m.Size(), 1000 + 32768);
  EXPECT_EQ(h.LastBodyBytes(), 1000 + 32768);
  EXPECT_FALSE(h.LastBodyComplete());
  EXPECT_EQ(rec.events, (Strings{"hsDisconnecting Disconnecting.", "hsDisconnected Disconnected.",
                                 "hsConnecting Connecting to 127.0.0.1.", "hsConnected Connected.",
                                 "work_begin read 100000", "work read 1000", "work read 33768",
                                 "hsDisconnected Disconnected.", "work_end read", "hsDisconnecting Disconnecting.",
                                 "hsDisconnected Disconnected."}));
}

TEST(HttpClient, HugeAnnouncedLengthDoesNotAllocateUpFront) {
  ScriptedServer s;
  s.Start({{Expect(Request("GET", "/", HostOf(s))), Send("HTTP/1.1 200 OK\r\nContent-Length: 1000000000000\r\n\r\nxyz"), Close()}});
  TNetHTTP h;
  EXPECT_EQ(h.FetchText(s.Url("/")), "xyz");
  EXPECT_EQ(h.LastResponse().ContentLength(), 1000000000000);
  EXPECT_FALSE(h.LastBodyComplete());
}

TEST(HttpClient, ProgressOfAChunkedBody) {
  ScriptedServer s;
  s.Start({{Expect(Request("GET", "/c", HostOf(s))),
            Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n5\r\nhello\r\n2\r\nab\r\n0\r\n\r\n"),
            ExpectClose()}});
  TNetHTTP h;
  Recorder rec(h);
  EXPECT_EQ(h.FetchText(s.Url("/c")), "helloab");
  EXPECT_EQ(rec.events, (Strings{"hsDisconnecting Disconnecting.", "hsDisconnected Disconnected.",
                                 "hsConnecting Connecting to 127.0.0.1.", "hsConnected Connected.",
                                 "hsStatusText Chunk Started", "work_begin read 5", "work read 5", "work_end read",
                                 "work_begin read 2", "work read 2", "work_end read", "hsDisconnecting Disconnecting.",
                                 "hsDisconnected Disconnected."}));
  EXPECT_EQ(s.Errors(), Strings{});
}

TEST(HttpClient, Http10AsksForKeepAliveAndFoldsLongFields) {
  std::string referer;
  while (referer.size() < 1100) referer += "segment" + std::to_string(referer.size()) + " ";
  referer.pop_back();
  TNetHeaderList folded(1024);
  folded.SetHeader("Referer", referer);
  ASSERT_GE(folded.Lines.size(), 2u);
  std::string refererLines;
  for (const std::string& line : folded.Lines) refererLines += line + "\r\n";

  ScriptedServer s;
  const std::string host = HostOf(s);
  s.Start({{Expect("GET /old HTTP/1.0\r\nConnection: keep-alive\r\nContent-Type: text/html\r\nHost: " + host +
                   "\r\nAccept: text/html, */*\r\n" + refererLines + kUserAgent + "\r\n"),
            Send("HTTP/1.0 200 OK\r\nConnection: Keep-Alive\r\nContent-Length: 1\r\n\r\nx"),
            Expect("GET /again HTTP/1.0\r\nConnection: keep-alive\r\nContent-Type: text/html\r\nHost: " + host +
                   "\r\nAccept: text/html, */*\r\n" + refererLines + kUserAgent + "\r\n"),
            Send("HTTP/1.0 200 OK\r\nContent-Length: 1\r\n\r\ny"), ExpectClose()}});
  TNetHTTP h;
  h.ProtocolVersion = pv1_0;
  h.Request.Referer = referer;
  EXPECT_EQ(h.FetchText(s.Url("/old")), "x");
  EXPECT_TRUE(h.LastResponse().KeepConnection);
  EXPECT_EQ(h.FetchText(s.Url("/again")), "y");
  EXPECT_FALSE(h.LastResponse().KeepConnection) << "HTTP/1.0 keeps a connection only when asked to";
  EXPECT_EQ(s.Errors(), Strings{});
}

}  // namespace
