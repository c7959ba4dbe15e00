// tavlox-http's output contract: one JSON line per request with every member present, the exit
// status, and the usage error.
#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>

#include "ScriptedServer.h"

namespace {

struct ToolRun {
  std::string out;
  int status;
};

ToolRun Tool(const std::string& args) {
  std::string cmd = std::string(TAVLOX_HTTP_TOOL) + " " + args + " 2>/dev/null";
  FILE* p = popen(cmd.c_str(), "r");
  ToolRun r{{}, -1};
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
  int st = pclose(p);
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  return r;
}

std::vector<std::string> Lines(const std::string& s) {
  std::vector<std::string> r;
  size_t start = 0, nl;
  while ((nl = s.find('\n', start)) != std::string::npos) {
    r.push_back(s.substr(start, nl - start));
    start = nl + 1;
  }
  return r;
}

std::string Request(const std::string& method, const std::string& target, const std::string& host,
                    const std::string& extra = "") {
  return method + " " + target + " HTTP/1.1\r\nContent-Type: text/html\r\nHost: " + host +
         "\r\nAccept: text/html, */*\r\nUser-Agent: Mozilla/3.0 (compatible; Net Library)\r\n" + extra + "\r\n";
}

TEST(Tool, RequestsInOrderOnOneClient) {
  ScriptedServer s;
  std::string host = "127.0.0.1:" + std::to_string(s.Port());
  s.Start({{Expect(Request("HEAD", "/i.exe", host)),
            Send("HTTP/1.1 200 OK\r\nSet-Cookie: k=v; path=/\r\nContent-Length: 3\r\n\r\n"),
            Expect(Request("GET", "/i.exe", host, "Cookie: k=v\r\n")),
            Send("HTTP/1.1 200 OK\r\nX-A: one\r\n\ttwo\r\nContent-Length: 3\r\n\r\nab\xff"),
            Expect(Request("GET", "/missing", host, "Cookie: k=v\r\n")), Send("HTTP/1.1 404 Not Found\r\nContent-Length: 2\r\n\r\nno"),
            Close()}});
  ToolRun r = Tool("--events --head " + s.Url("/i.exe") + " --get " + s.Url("/i.exe") + " --get " + s.Url("/missing"));
  EXPECT_EQ(r.status, 1);
  auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 3u) << r.out;
  const std::string url = s.Url("/i.exe");
  EXPECT_EQ(lines[0],
            "{\"method\":\"HEAD\",\"url\":\"" + url +
                "\",\"ok\":true,\"status_line\":\"HTTP/1.1 200 OK\",\"status\":200,\"content_length\":3,"
                "\"response_headers\":[\"Set-Cookie: k=v; path=/\",\"Content-Length: 3\"],\"keep_connection\":true,"
                "\"body_bytes\":null,\"body_hex\":null,\"events\":[[\"status\",\"hsDisconnecting\",\"Disconnecting.\"],"
                "[\"status\",\"hsDisconnected\",\"Disconnected.\"],[\"status\",\"hsConnecting\",\"Connecting to 127.0.0.1.\"],"
                "[\"status\",\"hsConnected\",\"Connected.\"]],\"error\":null}");
  EXPECT_EQ(lines[1],
            "{\"method\":\"GET\",\"url\":\"" + url +
                "\",\"ok\":true,\"status_line\":\"HTTP/1.1 200 OK\",\"status\":200,\"content_length\":3,"
                "\"response_headers\":[\"X-A: one\",\"\\ttwo\",\"Content-Length: 3\"],\"keep_connection\":true,"
                "\"body_bytes\":3,\"body_hex\":\"6162ff\",\"events\":[[\"work_begin\",\"read\",3],[\"work\",\"read\",3],"
                "[\"work_end\",\"read\"]],\"error\":null}");
  EXPECT_NE(lines[2].find("\"ok\":false,\"status_line\":\"HTTP/1.1 404 Not Found\",\"status\":404"), std::string::npos);
  EXPECT_NE(lines[2].find("\"error\":{\"class\":\"ENetHTTPProtocolException\",\"message\":\"HTTP/1.1 404 Not Found\","
                          "\"reply_code\":404,\"reply_body_hex\":\"6e6f\",\"socket_error_code\":null}"),
            std::string::npos)
      << lines[2];
  EXPECT_EQ(s.Errors(), std::vector<std::string>{});
}

TEST(Tool, SocketErrorsAndBodyOptions) {
  int port;
  {
    ScriptedServer gone;
    port = gone.Port();
  }
  ToolRun r = Tool("--body none --get http://127.0.0.1:" + std::to_string(port) + "/");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, "{\"method\":\"GET\",\"url\":\"http://127.0.0.1:" + std::to_string(port) +
                       "/\",\"ok\":false,\"status_line\":null,\"status\":null,\"content_length\":null,"
                       "\"response_headers\":null,\"keep_connection\":false,\"body_bytes\":0,"
                       "\"error\":{\"class\":\"ENetSocketError\",\"message\":\"Socket Error # 10061\\r\\nConnection refused.\","
                       "\"reply_code\":null,\"reply_body_hex\":null,\"socket_error_code\":10061}}\n");

  ScriptedServer s;
  std::string host = "127.0.0.1:" + std::to_string(s.Port());
  s.Start({{Expect(Request("GET", "/f", host)), Send("HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\nfile"), Close()}});
  std::string path = testing::TempDir() + "tavlox-http-out.bin";
  r = Tool("--read-timeout 5000 --out " + path + " --get " + s.Url("/f"));
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out.find("body_hex"), std::string::npos);
  EXPECT_NE(r.out.find("\"body_bytes\":4,\"error\":null}"), std::string::npos) << r.out;
  FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  char buf[16];
  size_t n = std::fread(buf, 1, sizeof buf, f);
  std::fclose(f);
  EXPECT_EQ(std::string(buf, n), "file");
}

TEST(Tool, UsageErrors) {
  for (const char* args : {"", "--get", "--bogus", "--body raw --get http://h/", "--read-timeout x --get http://h/",
                           "--events"})
    EXPECT_EQ(Tool(args).status, 2) << args;
}

}  // namespace
