#include "tests/wine/ops/LoopbackServer.h"

#include <ws2tcpip.h>

namespace tavlox::wine_test {

LoopbackServer::LoopbackServer() {
  WSADATA wsa;
  WSAStartup(MAKEWORD(2, 2), &wsa);
  listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  addr.sin_port = 0;
  bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  int len = sizeof addr;
  getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
  port_ = ntohs(addr.sin_port);
  listen(listener_, 8);
  thread_ = std::thread([this] { Run(); });
}

LoopbackServer::~LoopbackServer() {
  stop_ = true;
  closesocket(listener_);
  thread_.join();
  for (SOCKET s : silent_) closesocket(s);
  WSACleanup();
}

std::string LoopbackServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void LoopbackServer::Answer(const std::string& path, ScriptedAnswer answer) {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_[path] = std::move(answer);
}

std::vector<std::string> LoopbackServer::Requests() {
  std::lock_guard<std::mutex> lock(mutex_);
  return requests_;
}

std::string LoopbackServer::Response(const std::string& status, const std::string& body, const std::string& headers,
                                     bool withLength) {
  std::string r = "HTTP/1.1 " + status + "\r\n" + headers;
  if (withLength) r += "Content-Length: " + std::to_string(body.size()) + "\r\n";
  r += "Connection: close\r\n\r\n" + body;
  return r;
}

void LoopbackServer::Run() {
  while (!stop_) {
    SOCKET client = accept(listener_, nullptr, nullptr);
    if (client == INVALID_SOCKET) break;
    Serve(client);
  }
}

void LoopbackServer::Serve(SOCKET client) {
  // One request per connection: read the header block.
  std::string in;
  char buffer[4096];
  while (in.find("\r\n\r\n") == std::string::npos) {
    int n = recv(client, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    in.append(buffer, n);
  }
  std::string line = in.substr(0, in.find("\r\n"));
  std::string method = line.substr(0, line.find(' '));
  std::string path = line.substr(method.size() + 1);
  path = path.substr(0, path.find(' '));
  ScriptedAnswer answer;
  bool known = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.push_back(method + " " + path);
    auto it = answers_.find(path);
    if (it != answers_.end()) {
      answer = it->second;
      known = true;
    }
  }
  if (known && answer.kind == ScriptedAnswer::Kind::Silent) {
    std::lock_guard<std::mutex> lock(mutex_);
    silent_.push_back(client);  // accepted, never answered
    return;
  }
  std::string out = !known ? Response("404 Not Found", "missing") : method == "HEAD" ? answer.headBytes : answer.getBytes;
  size_t sent = 0;
  while (sent < out.size()) {
    int n = send(client, out.data() + sent, static_cast<int>(std::min<size_t>(out.size() - sent, 65536)), 0);
    if (n <= 0) break;
    sent += static_cast<size_t>(n);
  }
  shutdown(client, SD_SEND);
  DWORD limit = 5000;
  setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&limit), sizeof limit);
  // Let the client read everything before the socket goes.
  while (recv(client, buffer, sizeof buffer, 0) > 0) {
  }
  closesocket(client);
}

}  // namespace tavlox::wine_test
