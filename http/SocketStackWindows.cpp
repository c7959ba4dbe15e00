// The socket stack on Windows Sockets 2. WS2_32.DLL is loaded by name when the stack is created
// and each of its functions is looked up on its first call; nothing links against it.
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <mutex>

#include "http/NetException.h"
#include "http/SocketStack.h"

namespace {

const char kLibraryName[] = "WS2_32.DLL";

HMODULE g_library = nullptr;
bool g_started = false;

std::string SystemMessage(DWORD code) {
  char* text = nullptr;
  DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string r = n && text ? std::string(text, n) : std::string();
  if (text) LocalFree(text);
  while (!r.empty() && (r.back() == '\r' || r.back() == '\n' || r.back() == ' ')) r.pop_back();
  return r;
}

[[noreturn]] void RaiseStubError(const std::string& title, DWORD code) {
  std::string sys = code ? SystemMessage(code) : std::string();
  std::string message = title;
  if (code) message += ": " + sys;
  throw ENetWS2StubError(title, code, sys, message);
}

// Ends the library's use at process end, and only after it was started.
void CleanupAtExit() {
  if (g_started) {
    auto cleanup = reinterpret_cast<int(WSAAPI*)()>(reinterpret_cast<void*>(GetProcAddress(g_library, "WSACleanup")));
    if (cleanup) cleanup();
    g_started = false;
  }
  if (g_library) {
    FreeLibrary(g_library);
    g_library = nullptr;
  }
}

// One entry point of the library: looked up by name on its first call, called directly after.
template <typename Fn>
class Ws2Entry {
 public:
  explicit Ws2Entry(const char* name) : name_(name) {}
  Fn Get() {
    if (Fn fn = fn_.load(std::memory_order_acquire)) return fn;
    if (!g_library) RaiseStubError(std::string("Error on call Winsock2 library function ") + name_, WSANOTINITIALISED);
    FARPROC p = GetProcAddress(g_library, name_);
    // A library without the function fails the call; nothing proceeds without it.
    if (!p) RaiseStubError(std::string("Error on call Winsock2 library function ") + name_, GetLastError());
    Fn fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(p));
    fn_.store(fn, std::memory_order_release);
    return fn;
  }

 private:
  const char* name_;
  std::atomic<Fn> fn_{nullptr};
};

#define WS2_ENTRY(name) Ws2Entry<decltype(&::name)> p_##name(#name)
WS2_ENTRY(socket);
WS2_ENTRY(bind);
WS2_ENTRY(getsockname);
WS2_ENTRY(getpeername);
WS2_ENTRY(gethostbyname);
WS2_ENTRY(setsockopt);
WS2_ENTRY(connect);
WS2_ENTRY(select);
WS2_ENTRY(recv);
WS2_ENTRY(send);
WS2_ENTRY(shutdown);
WS2_ENTRY(closesocket);
WS2_ENTRY(WSAGetLastError);
WS2_ENTRY(htons);
WS2_ENTRY(ntohs);
#undef WS2_ENTRY

void LoadAndStart() {
  static std::once_flag once;
  std::call_once(once, [] {
    g_library = LoadLibraryA(kLibraryName);
    if (!g_library) RaiseStubError(std::string("Error on loading Winsock2 library (") + kLibraryName + ")", GetLastError());
    std::atexit(CleanupAtExit);
    auto startup = reinterpret_cast<int(WSAAPI*)(WORD, LPWSADATA)>(
        reinterpret_cast<void*>(GetProcAddress(g_library, "WSAStartup")));
    WSADATA data{};
    if (!startup || startup(MAKEWORD(2, 2), &data) != 0) throw ENetStackInitializationFailed("Winsock Initialization Error.");
    g_started = true;
  });
  if (!g_started) throw ENetStackInitializationFailed("Winsock Initialization Error.");
}

std::string Dotted(const in_addr& a) {
  const unsigned char* b = reinterpret_cast<const unsigned char*>(&a);
  return std::to_string(b[0]) + "." + std::to_string(b[1]) + "." + std::to_string(b[2]) + "." + std::to_string(b[3]);
}

sockaddr_in Address(const std::string& ip, int port) {
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_port = p_htons.Get()(u_short(port));
  // The dotted text back into four bytes, each part a decimal number.
  unsigned char* b = reinterpret_cast<unsigned char*>(&a.sin_addr);
  size_t start = 0;
  for (int i = 0; i < 4; ++i) {
    size_t dot = ip.find('.', start);
    b[i] = static_cast<unsigned char>(std::atoi(ip.substr(start, dot == std::string::npos ? std::string::npos : dot - start).c_str()));
    if (dot == std::string::npos) break;
    start = dot + 1;
  }
  return a;
}

class TNetStackWindows : public TNetStack {
 public:
  TNetStackWindows() { LoadAndStart(); }

  TNetSocket NewSocket() override {
    SOCKET s = p_socket.Get()(AF_INET, SOCK_STREAM, 0);
    return s == INVALID_SOCKET ? kNetInvalidSocket : TNetSocket(s);
  }
  int Bind(TNetSocket s, const std::string& ip, int port) override {
    sockaddr_in a = Address(ip.empty() ? "0.0.0.0" : ip, port);
    return p_bind.Get()(SOCKET(s), reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 ? 0 : -1;
  }
  int GetSockName(TNetSocket s, std::string& ip, int& port) override {
    sockaddr_in a{};
    int len = sizeof a;
    if (p_getsockname.Get()(SOCKET(s), reinterpret_cast<sockaddr*>(&a), &len) != 0) return -1;
    ip = Dotted(a.sin_addr);
    port = p_ntohs.Get()(a.sin_port);
    return 0;
  }
  int GetPeerName(TNetSocket s, std::string& ip, int& port) override {
    sockaddr_in a{};
    int len = sizeof a;
    if (p_getpeername.Get()(SOCKET(s), reinterpret_cast<sockaddr*>(&a), &len) != 0) return -1;
    ip = Dotted(a.sin_addr);
    port = p_ntohs.Get()(a.sin_port);
    return 0;
  }
  int Connect(TNetSocket s, const std::string& ip, int port) override {
    if (port < 0 || port > 65535) {
      portError_ = true;
      return -1;
    }
    sockaddr_in a = Address(ip, port);
    return p_connect.Get()(SOCKET(s), reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 ? 0 : -1;
  }
  int SetNoDelay(TNetSocket s) override {
    DWORD one = 1;
    return p_setsockopt.Get()(SOCKET(s), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&one), sizeof one) == 0 ? 0 : -1;
  }
  int Select(TNetSocket s, int timeoutMs) override {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(SOCKET(s), &set);
    timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    int r = p_select.Get()(0, &set, nullptr, nullptr, timeoutMs < 0 ? nullptr : &tv);
    return r == SOCKET_ERROR ? -1 : r;
  }
  int Recv(TNetSocket s, void* buffer, int count) override {
    int r = p_recv.Get()(SOCKET(s), static_cast<char*>(buffer), count, 0);
    return r == SOCKET_ERROR ? -1 : r;
  }
  int Send(TNetSocket s, const void* data, int count) override {
    int r = p_send.Get()(SOCKET(s), static_cast<const char*>(data), count, 0);
    return r == SOCKET_ERROR ? -1 : r;
  }
  void Shutdown(TNetSocket s, int how) override { p_shutdown.Get()(SOCKET(s), how); }
  void CloseSocket(TNetSocket s) override { p_closesocket.Get()(SOCKET(s)); }
  int WSAGetLastError() override {
    if (hostWithoutAddress_) {
      hostWithoutAddress_ = false;
      return WSAHOST_NOT_FOUND;
    }
    if (portError_) {
      portError_ = false;
      return WSAEADDRNOTAVAIL;
    }
    return p_WSAGetLastError.Get()();
  }
  bool HostByName(const std::string& host, std::string& dotted) override {
    hostent* h = p_gethostbyname.Get()(host.c_str());
    if (!h) return false;
    if (h->h_addrtype != AF_INET || !h->h_addr_list || !h->h_addr_list[0]) {
      // A name without an IPv4 address is not found for this client.
      portError_ = false;
      hostWithoutAddress_ = true;
      return false;
    }
    dotted = Dotted(*reinterpret_cast<in_addr*>(h->h_addr_list[0]));
    return true;
  }

 private:
  bool portError_ = false;
  bool hostWithoutAddress_ = false;
};

}  // namespace

TNetStack* CreatePlatformStack() { return new TNetStackWindows; }
