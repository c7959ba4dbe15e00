// Test helper: a small HTTP server on a loopback port. It records the request line of every
// request and answers each with a short page, closing the connection.
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tavlox::testing {

class LoopbackServer {
 public:
  // Port 0 picks a free port. `ok()` is false when the port could not be bound.
  explicit LoopbackServer(unsigned short port = 0) {
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(port);
    if (bind(listener_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(listener_, 16) != 0) {
      closesocket(listener_);
      listener_ = INVALID_SOCKET;
      return;
    }
    int len = sizeof addr;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~LoopbackServer() {
    stop_ = true;
    if (listener_ != INVALID_SOCKET) closesocket(listener_);
    if (thread_.joinable()) thread_.join();
    WSACleanup();
  }
  bool ok() const { return listener_ != INVALID_SOCKET; }
  unsigned short port() const { return port_; }
  std::string host() const { return "127.0.0.1:" + std::to_string(port_); }
  // Request lines seen so far ("GET /path HTTP/1.1").
  std::vector<std::string> Requests() {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
  }
  size_t CountPath(const std::string& path) {
    size_t n = 0;
    for (auto& r : Requests())
      if (r.find(" " + path + " ") != std::string::npos) ++n;
    return n;
  }

 private:
  void Serve() {
    while (!stop_) {
      fd_set set;
      FD_ZERO(&set);
      FD_SET(listener_, &set);
      timeval tv{0, 50000};
      if (select(0, &set, nullptr, nullptr, &tv) <= 0) continue;
      SOCKET s = accept(listener_, nullptr, nullptr);
      if (s == INVALID_SOCKET) continue;
      std::string head;
      char buf[2048];
      DWORD timeout = 2000;
      setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
      while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536) {
        int n = recv(s, buf, sizeof buf, 0);
        if (n <= 0) break;
        head.append(buf, n);
      }
      auto eol = head.find("\r\n");
      if (eol != std::string::npos) {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(head.substr(0, eol));
      }
      const char reply[] =
          "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: 13\r\nConnection: close\r\n\r\n<p>hello</p>\n";
      send(s, reply, sizeof reply - 1, 0);
      shutdown(s, SD_SEND);
      closesocket(s);
    }
  }

  SOCKET listener_ = INVALID_SOCKET;
  unsigned short port_ = 0;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::vector<std::string> requests_;
  std::thread thread_;
};

}  // namespace tavlox::testing
