// The socket stack on the platform's own (POSIX) sockets. Every errno is mapped onto the Windows
// Sockets code of the same meaning, so the connection layer above sees one set of codes.
#include "http/SocketStack.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int WsaCodeOf(int e) {
  switch (e) {
    case EINTR: return 10004;
    case EBADF: return 10009;
    case EACCES: case EPERM: return 10013;
    case EFAULT: return 10014;
    case EINVAL: return 10022;
    case EMFILE: case ENFILE: return 10024;
#if EWOULDBLOCK != EAGAIN
    case EWOULDBLOCK:
#endif
    case EAGAIN: return 10035;
    case EINPROGRESS: return 10036;
    case EALREADY: return 10037;
    case ENOTSOCK: return 10038;
    case EDESTADDRREQ: return 10039;
    case EMSGSIZE: return 10040;
    case EPROTOTYPE: return 10041;
    case ENOPROTOOPT: return 10042;
    case EPROTONOSUPPORT: return 10043;
    case ESOCKTNOSUPPORT: return 10044;
    case EOPNOTSUPP: return 10045;
    case EPFNOSUPPORT: return 10046;
    case EAFNOSUPPORT: return 10047;
    case EADDRINUSE: return 10048;
    case EADDRNOTAVAIL: return 10049;
    case ENETDOWN: return 10050;
    case ENETUNREACH: return 10051;
    case ENETRESET: return 10052;
    case ECONNABORTED: return 10053;
    case ECONNRESET: return 10054;
    case ENOBUFS: case ENOMEM: return 10055;
    case EISCONN: return 10056;
    case ENOTCONN: return 10057;
    // A send on a connection whose other side has gone.
    case EPIPE: case ESHUTDOWN: return 10058;
    case ETOOMANYREFS: return 10059;
    case ETIMEDOUT: return 10060;
    case ECONNREFUSED: return 10061;
    case ELOOP: return 10062;
    case ENAMETOOLONG: return 10063;
    case EHOSTDOWN: return 10064;
    case EHOSTUNREACH: return 10065;
    case ENOTEMPTY: return 10066;
    default: return 10000 + e;
  }
}

class TNetStackPosix : public TNetStack {
 public:
  TNetSocket NewSocket() override {
    int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0) return Fail();
    return s;
  }
  int Bind(TNetSocket s, const std::string& ip, int port) override {
    sockaddr_in a = Address(ip.empty() ? "0.0.0.0" : ip, port);
    return ::bind(int(s), reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 ? 0 : Fail();
  }
  int GetSockName(TNetSocket s, std::string& ip, int& port) override {
    sockaddr_in a{};
    socklen_t len = sizeof a;
    if (::getsockname(int(s), reinterpret_cast<sockaddr*>(&a), &len) != 0) return Fail();
    Split(a, ip, port);
    return 0;
  }
  int GetPeerName(TNetSocket s, std::string& ip, int& port) override {
    sockaddr_in a{};
    socklen_t len = sizeof a;
    if (::getpeername(int(s), reinterpret_cast<sockaddr*>(&a), &len) != 0) return Fail();
    Split(a, ip, port);
    return 0;
  }
  int Connect(TNetSocket s, const std::string& ip, int port) override {
    // A port beyond 16 bits is not silently wrapped onto another port.
    if (port < 0 || port > 65535) {
      lastCode_ = 10049;
      return -1;
    }
    sockaddr_in a = Address(ip, port);
    int r;
    do r = ::connect(int(s), reinterpret_cast<sockaddr*>(&a), sizeof a);
    while (r != 0 && errno == EINTR);
    return r == 0 ? 0 : Fail();
  }
  int SetNoDelay(TNetSocket s) override {
    int one = 1;
    return ::setsockopt(int(s), IPPROTO_TCP, TCP_NODELAY, &one, sizeof one) == 0 ? 0 : Fail();
  }
  int Select(TNetSocket s, int timeoutMs) override {
    pollfd p{int(s), POLLIN, 0};
    int r;
    do r = ::poll(&p, 1, timeoutMs < 0 ? -1 : timeoutMs);
    while (r < 0 && errno == EINTR);
    return r < 0 ? Fail() : r;
  }
  int Recv(TNetSocket s, void* buffer, int count) override {
    ssize_t r;
    do r = ::recv(int(s), buffer, size_t(count), 0);
    while (r < 0 && errno == EINTR);
    return r < 0 ? Fail() : int(r);
  }
  int Send(TNetSocket s, const void* data, int count) override {
    ssize_t r;
    // No SIGPIPE: a send to a closed peer is an error code like any other.
    do r = ::send(int(s), data, size_t(count), MSG_NOSIGNAL);
    while (r < 0 && errno == EINTR);
    return r < 0 ? Fail() : int(r);
  }
  void Shutdown(TNetSocket s, int how) override { ::shutdown(int(s), how == 1 ? SHUT_WR : how == 0 ? SHUT_RD : SHUT_RDWR); }
  void CloseSocket(TNetSocket s) override { ::close(int(s)); }
  int WSAGetLastError() override { return lastCode_; }

  bool HostByName(const std::string& host, std::string& dotted) override {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* res = nullptr;
    int r = ::getaddrinfo(host.c_str(), nullptr, &hints, &res);
    if (r != 0 || !res) {
      // WSAHOST_NOT_FOUND, WSATRY_AGAIN, WSANO_RECOVERY, WSANO_DATA.
      switch (r) {
        case EAI_AGAIN: lastCode_ = 11002; break;
        case EAI_FAIL: lastCode_ = 11003; break;
#ifdef EAI_NODATA
        case EAI_NODATA: lastCode_ = 11004; break;
#endif
        case EAI_MEMORY: lastCode_ = 10055; break;
        case EAI_SYSTEM: lastCode_ = WsaCodeOf(errno); break;
        default: lastCode_ = kWsaHOST_NOT_FOUND; break;
      }
      if (res) ::freeaddrinfo(res);
      return false;
    }
    const auto* a = reinterpret_cast<const sockaddr_in*>(res->ai_addr);
    std::string ip;
    int port;
    Split(*a, ip, port);
    ::freeaddrinfo(res);
    dotted = ip;
    return true;
  }

 private:
  int Fail() {
    lastCode_ = WsaCodeOf(errno);
    return -1;
  }
  static sockaddr_in Address(const std::string& ip, int port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(uint16_t(port));
    // The dotted text back into four bytes, each part a decimal number.
    unsigned b[4] = {0, 0, 0, 0};
    size_t start = 0;
    for (int i = 0; i < 4; ++i) {
      size_t dot = ip.find('.', start);
      b[i] = unsigned(std::atoi(ip.substr(start, dot == std::string::npos ? std::string::npos : dot - start).c_str())) & 0xFF;
      if (dot == std::string::npos) break;
      start = dot + 1;
    }
    a.sin_addr.s_addr = htonl((b[0] << 24) | (b[1] << 16) | (b[2] << 8) | b[3]);
    return a;
  }
  static void Split(const sockaddr_in& a, std::string& ip, int& port) {
    uint32_t v = ntohl(a.sin_addr.s_addr);
    ip = std::to_string(v >> 24) + "." + std::to_string((v >> 16) & 0xFF) + "." + std::to_string((v >> 8) & 0xFF) +
         "." + std::to_string(v & 0xFF);
    port = ntohs(a.sin_port);
  }
  int lastCode_ = 0;
};

}  // namespace

TNetStack* CreatePlatformStack() { return new TNetStackPosix; }
