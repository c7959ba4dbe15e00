// The TCP connection against a scripted loopback server: lines, counted reads, reads to close,
// closes by the server, line limits, time limits, progress and socket errors.
#include <gtest/gtest.h>

#include <chrono>

#include "EventLog.h"
#include "ScriptedServer.h"
#include "http/NetException.h"
#include "http/Stream.h"

namespace {

using Strings = std::vector<std::string>;

void Open(LoggingConnection& c, ScriptedServer& s, const std::string& host = "127.0.0.1") {
  c.Host = host;
  c.Port = s.Port();
  c.OpenConnection();
}

TEST(Connection, BytesBeforeTheCloseStayReadable) {
  std::string body(100, 'x');
  body[49] = '\n';
  ScriptedServer s({{Send(body), Close()}});
  LoggingConnection c;
  Open(c, s);
  EXPECT_EQ(c.ReadLine(), std::string(49, 'x'));
  char buf[50];
  c.ReadExact(buf, 50);
  EXPECT_EQ(std::string(buf, 50), std::string(50, 'x'));
  try {
    c.ReadLine();
    FAIL();
  } catch (const ENetConnClosedGracefully& e) {
    EXPECT_EQ(e.Message(), "Connection Closed Gracefully.");
  }
  EXPECT_FALSE(c.IsOpen());
  EXPECT_TRUE(s.Errors().empty());
}

TEST(Connection, PartialLineAtCloseReturnsEmptyOnceThenFails) {
  ScriptedServer s({{Send("partial"), Close()}});
  LoggingConnection c;
  Open(c, s);
  EXPECT_EQ(c.ReadLine(), "");
  EXPECT_TRUE(c.LastLineTimedOut());
  EXPECT_EQ(c.InputSize(), 7u);
  EXPECT_THROW(c.ReadLine(), ENetConnClosedGracefully);
}

TEST(Connection, LineEndsAndLimits) {
  const std::string exact(16384, 'a'), over(16385, 'b');
  ScriptedServer s({{Send("one\r\ntwo\rstill\n" + exact + "\n" + over + "\n"), Stall()}});
  LoggingConnection c;
  Open(c, s);
  EXPECT_EQ(c.ReadLine(), "one");
  EXPECT_EQ(c.ReadLine(), "two\rstill");
  EXPECT_EQ(c.ReadLine(), exact);
  try {
    c.ReadLine();
    FAIL();
  } catch (const ENetReadLnMaxLineLengthExceeded& e) {
    EXPECT_EQ(e.Message(), "Max line length exceeded.");
  }
  c.MaxLineAction = maSplit;
  EXPECT_EQ(c.ReadLine(), std::string(16384, 'b'));
  EXPECT_TRUE(c.LastLineCut());
  EXPECT_EQ(c.ReadLine(), "b");
  EXPECT_FALSE(c.LastLineCut());
}

TEST(Connection, LongLineWithoutTerminatorFailsEarly) {
  // More than the limit queued and no LF: refused without waiting for the rest.
  ScriptedServer s({{Send(std::string(20000, 'z')), Stall()}});
  LoggingConnection c;
  Open(c, s);
  EXPECT_THROW(c.ReadLine(), ENetReadLnMaxLineLengthExceeded);
}

TEST(Connection, CountedStreamReadReportsPerBlock) {
  std::string data(100000, 'd');
  // 1000 bytes arrive first and are queued by a line read; the rest follows.
  ScriptedServer s({{Send("L\n" + data.substr(0, 1000)), Delay(50), Send(data.substr(1000)), Stall()}});
  LoggingConnection c;
  Open(c, s);
  EXPECT_EQ(c.ReadLine(), "L");
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  ASSERT_EQ(c.InputSize(), 1000u);
  TMemoryStream m;
  c.ReadToStream(m, 100000);
  EXPECT_EQ(m.Bytes(), data);
  EXPECT_EQ(c.WorkOnly(), (Strings{"work_begin read 100000", "work read 1000", "work read 33768", "work read 66536",
                                   "work read 99304", "work read 100000", "work_end read"}));
}

TEST(Connection, ReadToCloseStoresTheShortLastBlockWithoutProgress) {
  std::string data(40000, 'c');
  ScriptedServer s({{Send(data), Close()}});
  LoggingConnection c;
  Open(c, s);
  TMemoryStream m;
  c.ReadToStream(m, -1, true);
  EXPECT_EQ(m.Size(), 40000);
  EXPECT_EQ(m.Bytes(), data);
  EXPECT_EQ(c.WorkOnly(), (Strings{"work_begin read 0", "work read 32768", "work_end read"}));
}

TEST(Connection, CountedReadCutShortKeepsCompleteBlocksOnly) {
  // 10 bytes come with the first receive, then 40000 and a close: the stream keeps the 10 queued
  // bytes and one complete block.
  ScriptedServer s({{Send("L\n" + std::string(10, 'q')), Delay(50), Send(std::string(40000, 'r')), Close()}});
  LoggingConnection c;
  Open(c, s);
  EXPECT_EQ(c.ReadLine(), "L");
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  TMemoryStream m;
  EXPECT_THROW(c.ReadToStream(m, 100000), ENetConnClosedGracefully);
  EXPECT_EQ(m.Size(), 10 + 32768) << "the stream is cut at its position";
}

TEST(Connection, HugeAnnouncedCountDoesNotPreallocate) {
  ScriptedServer s({{Send("abc"), Close()}});
  LoggingConnection c;
  Open(c, s);
  TMemoryStream m;
  // A terabyte announced; the three bytes are an incomplete block and are dropped.
  EXPECT_THROW(c.ReadToStream(m, int64_t(1) << 40), ENetConnClosedGracefully);
  EXPECT_EQ(m.Size(), 0);
}

TEST(Connection, ReadTimeoutOnlyWithALimit) {
  ScriptedServer s({{Stall()}});
  LoggingConnection c;
  c.SetReadTimeout(300);
  Open(c, s);
  auto t0 = std::chrono::steady_clock::now();
  try {
    c.ReadLine();
    FAIL();
  } catch (const ENetReadTimeout& e) {
    EXPECT_EQ(e.Message(), "Read Timeout");
  }
  EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(250));
  // An explicit wait that runs out is not a failure: the line comes back empty, flagged.
  EXPECT_EQ(c.ReadLine("\n", 50), "");
  EXPECT_TRUE(c.LastLineTimedOut());
  EXPECT_EQ(c.FillInput(true, 20, false), -1);
}

TEST(Connection, StatusEventsOfOpenAndClose) {
  for (const char* host : {"127.0.0.1", "LOCALHOST", "LocalHost"}) {
    ScriptedServer s({{ExpectClose()}});
    LoggingConnection c;
    Open(c, s, host);
    c.CloseConnection();
    EXPECT_EQ(c.Events, (Strings{"status hsConnecting Connecting to 127.0.0.1.", "status hsConnected Connected.",
                                 "status hsDisconnecting Disconnecting.", "status hsDisconnected Disconnected."}))
        << host;
    EXPECT_TRUE(s.Errors().empty());
  }
}

TEST(Connection, ServerCloseIsAnnouncedOnce) {
  ScriptedServer s({{Close()}});
  LoggingConnection c;
  Open(c, s);
  c.Events.clear();
  c.PollPeerClose(false);
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  c.PollPeerClose(false);
  EXPECT_FALSE(c.IsOpen());
  EXPECT_EQ(c.Events, (Strings{"status hsDisconnected Disconnected."}));
  EXPECT_THROW(c.FillInput(), ENetConnClosedGracefully);
  c.CloseConnection();
  EXPECT_THROW(c.FillInput(), ENetNotConnected);
  EXPECT_EQ(c.FillInput(false), 0);
}

TEST(Connection, WritesBatchAndSendsOnce) {
  ScriptedServer s({{Expect("GET / HTTP/1.1\r\nA: b\r\n\r\n"), Close()}});
  LoggingConnection c;
  Open(c, s);
  c.StartBatch();
  c.WriteLine("GET / HTTP/1.1");
  c.WriteLine("A: b");
  c.WriteLine("");
  c.SendBatch();
  EXPECT_EQ(s.Errors(), std::vector<std::string>{});
  EXPECT_TRUE(c.WorkOnly().empty()) << "writes outside a stream span raise no progress events";
}

TEST(Connection, OpeningTwiceFails) {
  ScriptedServer s({{Stall()}});
  LoggingConnection c;
  Open(c, s);
  try {
    c.OpenConnection();
    FAIL();
  } catch (const ENetAlreadyConnected& e) {
    EXPECT_EQ(e.Message(), "Already connected.");
  }
}

TEST(Connection, ResetWhileReading) {
  ScriptedServer s({{Send("abc"), Delay(50), Reset()}});
  LoggingConnection c;
  Open(c, s);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  char buf[10];
  try {
    c.ReadExact(buf, 10);
    FAIL();
  } catch (const ENetSocketError& e) {
    EXPECT_EQ(e.SocketErrorCode(), 10054);
    EXPECT_EQ(e.Message(), "Socket Error # 10054\r\nConnection reset by peer.");
  } catch (const ENetConnClosedGracefully&) {
    // Some stacks deliver the data and a plain end before the reset.
  }
}

TEST(Connection, RefusedAndUnknownHosts) {
  int port;
  {
    ScriptedServer gone;
    port = gone.Port();
  }
  LoggingConnection c;
  c.Host = "127.0.0.1";
  c.Port = port;
  try {
    c.OpenConnection();
    FAIL();
  } catch (const ENetSocketError& e) {
    EXPECT_EQ(e.SocketErrorCode(), 10061);
    EXPECT_EQ(e.Message(), "Socket Error # 10061\r\nConnection refused.");
  }
  EXPECT_FALSE(c.IsOpen());

  c.Events.clear();
  c.Host = "no-such-host.invalid";
  c.Port = 80;
  try {
    c.OpenConnection();
    FAIL();
  } catch (const ENetSocketError& e) {
    // Without a resolver the lookup may fail as "try again" (11002) instead.
    EXPECT_TRUE(e.SocketErrorCode() == 11001 || e.SocketErrorCode() == 11002) << e.SocketErrorCode();
    if (e.SocketErrorCode() == 11001) EXPECT_EQ(e.Message(), "Socket Error # 11001\r\nHost not found.");
    else EXPECT_EQ(e.Message(), "Socket Error # 11002\r\n");
  }
  EXPECT_EQ(c.Events.front(), "status hsResolving Resolving hostname no-such-host.invalid.");
}

TEST(SocketStack, DottedQuadsAndErrorTexts) {
  for (const char* yes : {"0.0.0.0", "127.0.0.1", "255.255.255.255", "1.2.3.4"}) EXPECT_TRUE(TNetStack::IsDottedQuad(yes)) << yes;
  for (const char* no : {"", "1.2.3", "256.1.1.1", "a.b.c.d", "1.2.3.4.5", "localhost", "1..2.3"})
    EXPECT_FALSE(TNetStack::IsDottedQuad(no)) << no;
  EXPECT_EQ(TNetStack::SocketErrorText(10035), "Operation would block. ");
  EXPECT_EQ(TNetStack::SocketErrorText(10066), "Directory not empty");
  EXPECT_EQ(TNetStack::SocketErrorText(12345), "");
}

}  // namespace
