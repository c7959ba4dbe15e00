// A small HTTP server on 127.0.0.1 for the shell's tests: each request path gets a scripted
// answer; every request line is recorded.
#pragma once

#include <winsock2.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace tavlox::wine_test {

struct ScriptedAnswer {
  enum class Kind { Bytes, Silent } kind = Kind::Bytes;
  std::string headBytes;  // sent for HEAD
  std::string getBytes;   // sent for GET
  bool closeAfter = true;
};

class LoopbackServer {
 public:
  LoopbackServer();
  ~LoopbackServer();
  int Port() const { return port_; }
  std::string Url(const std::string& path) const;
  void Answer(const std::string& path, ScriptedAnswer answer);
  // "METHOD path" of every request, in order.
  std::vector<std::string> Requests();

  // A complete response with the given status line, extra headers and body.
  static std::string Response(const std::string& status, const std::string& body, const std::string& headers = {},
                              bool withLength = true);

 private:
  void Run();
  void Serve(SOCKET client);
  SOCKET listener_ = INVALID_SOCKET;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::map<std::string, ScriptedAnswer> answers_;
  std::vector<std::string> requests_;
  std::vector<SOCKET> silent_;
  std::thread thread_;
};

}  // namespace tavlox::wine_test
