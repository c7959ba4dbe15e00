// The client's Windows Sockets back end for real: the library is loaded by name at run time;
// connect, send, receive, closes, resets, time limits, a refused port and an unknown host.
#include <gtest/gtest.h>

#include <chrono>

#include "http/NetHTTP.h"
#include "tests/native/http/ScriptedServer.h"

namespace {

using Strings = std::vector<std::string>;

std::string Request(const std::string& method, const std::string& target, const std::string& host,
                    const std::string& extra = "") {
  return method + " " + target + " HTTP/1.1\r\nContent-Type: text/html\r\nHost: " + host +
         "\r\nAccept: text/html, */*\r\nUser-Agent: Mozilla/3.0 (compatible; Net Library)\r\n" + extra + "\r\n";
}
std::string HostOf(const ScriptedServer& s) { return "127.0.0.1:" + std::to_string(s.Port()); }

TEST(Winsock, GetAndHeadOnOneKeptConnectionWithCookies) {
  ScriptedServer s;
  std::string big(100000, 'z');
  s.Start({{Expect(Request("HEAD", "/QvodSetup3_blue.exe", HostOf(s))),
            Send("HTTP/1.1 200 OK\r\nSet-Cookie: sid=7; path=/\r\nContent-Length: 100000\r\n\r\n"),
            Expect(Request("GET", "/QvodSetup3_blue.exe", HostOf(s), "Cookie: sid=7\r\n")),
            Send("HTTP/1.1 200 OK\r\nContent-Length: 100000\r\n\r\n" + big), Close()}});
  TNetHTTP h;
  Strings work;
  h.OnWork = [&](TNetHTTP&, TWorkMode m, int64_t n) { work.push_back(std::to_string(n)); };
  h.ProbeHead(s.Url("/QvodSetup3_blue.exe"));
  EXPECT_EQ(h.LastResponse().ContentLength(), 100000);
  TMemoryStream m;
  h.FetchInto(s.Url("/QvodSetup3_blue.exe"), m);
  EXPECT_EQ(m.Bytes(), big);
  EXPECT_TRUE(h.LastBodyComplete());
  ASSERT_FALSE(work.empty());
  EXPECT_EQ(work.back(), "100000");
  EXPECT_EQ(s.Errors(), Strings{});
  EXPECT_EQ(s.Accepted(), 1);
}

TEST(Winsock, ReadToCloseAndChunked) {
  ScriptedServer s;
  s.Start({{Expect(Request("GET", "/a", HostOf(s))), Send("HTTP/1.1 200 OK\r\n\r\n" + std::string(40000, 'c')), Close()},
           {Expect(Request("GET", "/b", HostOf(s))),
            Send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n"), Close()}});
  TNetHTTP h;
  EXPECT_EQ(h.FetchText(s.Url("/a")), std::string(40000, 'c'));
  EXPECT_EQ(h.FetchText(s.Url("/b")), "hello");
  EXPECT_EQ(s.Errors(), Strings{});
}

TEST(Winsock, ProtocolErrorCarriesTheBody) {
  ScriptedServer s;
  s.Start({{Expect(Request("GET", "/tavlox/ver.txt", HostOf(s))),
            Send("HTTP/1.1 404 Not Found\r\nContent-Length: 4\r\n\r\nnope"), Close()}});
  TNetHTTP h;
  try {
    h.FetchText(s.Url("/tavlox/ver.txt"));
    FAIL();
  } catch (const ENetHTTPProtocolException& e) {
    EXPECT_EQ(e.ReplyCode(), 404);
    EXPECT_EQ(e.Message(), "HTTP/1.1 404 Not Found");
    EXPECT_EQ(e.ReplyBody(), "nope");
  }
}

TEST(Winsock, ServerCloseBeforeTheStatusLine) {
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

TEST(Winsock, ReadTimeoutWithALimit) {
  ScriptedServer s;
  s.Start({{Expect(Request("GET", "/", HostOf(s))), Stall()}});
  TNetHTTP h;
  h.SetReadTimeout(300);
  auto t0 = std::chrono::steady_clock::now();
  try {
    h.FetchText(s.Url("/"));
    FAIL();
  } catch (const ENetReadTimeout& e) {
    EXPECT_EQ(e.Message(), "Read Timeout");
  }
  EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(250));
}

TEST(Winsock, ResetByThePeer) {
  ScriptedServer s;
  s.Start({{Expect(Request("GET", "/", HostOf(s))), Send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nab"), Delay(100), Reset()}});
  TNetHTTP h;
  try {
    h.FetchText(s.Url("/"));
    // Some stacks report the reset as a plain end: the counted body then ends short.
    EXPECT_FALSE(h.LastBodyComplete());
  } catch (const ENetSocketError& e) {
    EXPECT_EQ(e.SocketErrorCode(), 10054);
    EXPECT_EQ(e.Message(), "Socket Error # 10054\r\nConnection reset by peer.");
  }
}

TEST(Winsock, RefusedPort) {
  int port;
  {
    ScriptedServer gone;
    port = gone.Port();
  }
  TNetHTTP h;
  try {
    h.FetchText("http://127.0.0.1:" + std::to_string(port) + "/");
    FAIL();
  } catch (const ENetSocketError& e) {
    EXPECT_EQ(e.SocketErrorCode(), 10061);
    EXPECT_EQ(e.Message(), "Socket Error # 10061\r\nConnection refused.");
  }
}

TEST(Winsock, UnknownHost) {
  TNetHTTP h;
  Strings status;
  h.OnStatus = [&](TNetHTTP&, TNetStatus, const std::string& t) { status.push_back(t); };
  try {
    h.FetchText("http://no-such-host.invalid/");
    FAIL();
  } catch (const ENetSocketError& e) {
    EXPECT_EQ(e.SocketErrorCode(), 11001);
    EXPECT_EQ(e.Message(), "Socket Error # 11001\r\nHost not found.");
  }
  EXPECT_NE(std::find(status.begin(), status.end(), "Resolving hostname no-such-host.invalid."), status.end());
}

TEST(Winsock, LocalhostNeedsNoLookup) {
  ScriptedServer s;
  s.Start({{Expect(Request("GET", "/", "LocalHost:" + std::to_string(s.Port()))), Send("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok"), Close()}});
  TNetHTTP h;
  Strings status;
  h.OnStatus = [&](TNetHTTP&, TNetStatus st, const std::string& t) { status.push_back(StatusName(st)); };
  EXPECT_EQ(h.FetchText("http://LocalHost:" + std::to_string(s.Port()) + "/"), "ok");
  EXPECT_EQ(std::find(status.begin(), status.end(), "hsResolving"), status.end());
  EXPECT_EQ(s.Errors(), Strings{});
}

}  // namespace
