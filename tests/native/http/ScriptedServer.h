// A loopback TCP server that plays a script: for each accepted connection in turn, a list of
// steps (expect exact request bytes, send bytes, pause, close, reset, stall until the end).
// What arrived differently from the script is collected in Errors().
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
using ServerSocket = SOCKET;
#define SCRIPTED_INVALID INVALID_SOCKET
#define scripted_close closesocket
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
using ServerSocket = int;
#define SCRIPTED_INVALID (-1)
#define scripted_close ::close
#endif

struct ScriptStep {
  enum Kind { Expect, Send, Delay, Close, Reset, Stall, ExpectClose } kind;
  std::string bytes;
  int ms = 0;
};

inline ScriptStep Expect(std::string bytes) { return {ScriptStep::Expect, std::move(bytes), 0}; }
inline ScriptStep Send(std::string bytes) { return {ScriptStep::Send, std::move(bytes), 0}; }
inline ScriptStep Delay(int ms) { return {ScriptStep::Delay, {}, ms}; }
inline ScriptStep Close() { return {ScriptStep::Close, {}, 0}; }
inline ScriptStep Reset() { return {ScriptStep::Reset, {}, 0}; }
// Keeps the connection open and silent until the server is stopped.
inline ScriptStep Stall() { return {ScriptStep::Stall, {}, 0}; }
// Waits until the client closes its side (reads must return 0).
inline ScriptStep ExpectClose() { return {ScriptStep::ExpectClose, {}, 0}; }

using ConnectionScript = std::vector<ScriptStep>;

class ScriptedServer {
 public:
  // Listens at once; Start plays the script (the port is known before the script is written).
  ScriptedServer() {
#ifdef _WIN32
    WSADATA d;
    WSAStartup(MAKEWORD(2, 2), &d);
#endif
    listen_ = ::socket(AF_INET, SOCK_STREAM, 0);
    int one = 1;
    setsockopt(listen_, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&one), sizeof one);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    ::bind(listen_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::listen(listen_, 8);
    socklen_t len = sizeof a;
    getsockname(listen_, reinterpret_cast<sockaddr*>(&a), &len);
    port_ = ntohs(a.sin_port);
  }
  explicit ScriptedServer(std::vector<ConnectionScript> connections) : ScriptedServer() { Start(std::move(connections)); }
  void Start(std::vector<ConnectionScript> connections) {
    script_ = std::move(connections);
    thread_ = std::thread([this] { Run(); });
  }
  ~ScriptedServer() { Stop(); }

  int Port() const { return port_; }
  std::string Url(const std::string& path = "/") const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

  // Ends stalls and waits for the rest of the script (expected bytes and closes are still awaited,
  // up to their own time limits).
  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    if (listen_ != SCRIPTED_INVALID) {
      scripted_close(listen_);
      listen_ = SCRIPTED_INVALID;
    }
  }
  std::vector<std::string> Errors() {
    Stop();
    std::lock_guard l(m_);
    return errors_;
  }
  int Accepted() const { return accepted_; }
  // Everything received on each connection.
  std::vector<std::string> Received() {
    Stop();
    std::lock_guard l(m_);
    return received_;
  }

 private:
  bool WaitReadable(ServerSocket s, int ms) {
#ifdef _WIN32
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval tv{ms / 1000, (ms % 1000) * 1000};
    return select(0, &set, nullptr, nullptr, &tv) > 0;
#else
    pollfd p{s, POLLIN, 0};
    return poll(&p, 1, ms) > 0;
#endif
  }
  void Error(const std::string& e) {
    std::lock_guard l(m_);
    errors_.push_back(e);
  }
  void Run() {
    for (size_t ci = 0; ci < script_.size(); ++ci) {
      ServerSocket c = SCRIPTED_INVALID;
      auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
      while (!stop_ && std::chrono::steady_clock::now() < deadline) {
        if (WaitReadable(listen_, 20)) {
          c = ::accept(listen_, nullptr, nullptr);
          break;
        }
      }
      if (c == SCRIPTED_INVALID) {
        if (!stop_) Error("connection " + std::to_string(ci) + " never came");
        return;
      }
      ++accepted_;
      {
        std::lock_guard l(m_);
        received_.emplace_back();
      }
      bool closed = false;
      for (const ScriptStep& step : script_[ci]) {
        if (closed) break;
        switch (step.kind) {
          case ScriptStep::Expect: {
            std::string got;
            auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            while (got.size() < step.bytes.size() && std::chrono::steady_clock::now() < until) {
              if (!WaitReadable(c, 20)) continue;
              char buf[4096];
              size_t want = std::min(sizeof buf, step.bytes.size() - got.size());
              int n = ::recv(c, buf, int(want), 0);
              if (n <= 0) break;
              got.append(buf, size_t(n));
            }
            {
              std::lock_guard l(m_);
              received_.back() += got;
            }
            if (got != step.bytes) Error("connection " + std::to_string(ci) + ": expected [" + step.bytes + "] got [" + got + "]");
            break;
          }
          case ScriptStep::Send: {
            size_t sent = 0;
            while (sent < step.bytes.size()) {
              int n = ::send(c, step.bytes.data() + sent, int(step.bytes.size() - sent), 0);
              if (n <= 0) break;
              sent += size_t(n);
            }
            break;
          }
          case ScriptStep::Delay:
            std::this_thread::sleep_for(std::chrono::milliseconds(step.ms));
            break;
          case ScriptStep::Close:
            scripted_close(c);
            closed = true;
            break;
          case ScriptStep::Reset: {
            linger lg{1, 0};
            setsockopt(c, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&lg), sizeof lg);
            scripted_close(c);
            closed = true;
            break;
          }
          case ScriptStep::Stall:
            while (!stop_) std::this_thread::sleep_for(std::chrono::milliseconds(10));
            break;
          case ScriptStep::ExpectClose: {
            auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
            bool sawClose = false;
            while (std::chrono::steady_clock::now() < until) {
              if (!WaitReadable(c, 20)) continue;
              char buf[256];
              int n = ::recv(c, buf, sizeof buf, 0);
              if (n <= 0) {
                sawClose = true;
                break;
              }
              std::lock_guard l(m_);
              received_.back().append(buf, size_t(n));
            }
            if (!sawClose) Error("connection " + std::to_string(ci) + ": the client did not close");
            break;
          }
        }
      }
      if (!closed) scripted_close(c);
    }
    // No connection beyond the script may come.
    while (!stop_) {
      if (WaitReadable(listen_, 20)) {
        ServerSocket c = ::accept(listen_, nullptr, nullptr);
        if (c != SCRIPTED_INVALID) scripted_close(c);
        Error("an unexpected extra connection");
      }
    }
  }

  std::vector<ConnectionScript> script_;
  ServerSocket listen_ = SCRIPTED_INVALID;
  int port_ = 0;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<int> accepted_{0};
  std::mutex m_;
  std::vector<std::string> errors_;
  std::vector<std::string> received_;
};
