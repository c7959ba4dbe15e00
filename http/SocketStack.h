// The socket stack: one per process, over Windows Sockets 2 (loaded at run time) on Windows and
// over the platform's own sockets elsewhere. Every failure code is a Windows Sockets code, on
// every platform, so that the messages and the handling of errors are the same everywhere.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

using TNetSocket = intptr_t;
constexpr TNetSocket kNetInvalidSocket = -1;

// Windows Sockets error codes that the connection layer acts on.
enum : int {
  kWsaEINTR = 10004,
  kWsaEBADF = 10009,
  kWsaEADDRINUSE = 10048,
  kWsaECONNABORTED = 10053,
  kWsaECONNRESET = 10054,
  kWsaESHUTDOWN = 10058,
  kWsaETIMEDOUT = 10060,
  kWsaECONNREFUSED = 10061,
  kWsaNOTINITIALISED = 10093,
  kWsaHOST_NOT_FOUND = 11001,
};

class TNetStack {
 public:
  virtual ~TNetStack() = default;

  // The process-wide stack; exists while at least one component of the client exists.
  static TNetStack& TheStack();
  // Counted by every component's constructor and destructor.
  static void AddRef();
  static void Release();
  // Replaces the platform's stack for stacks created from now on (nullptr: the platform's again);
  // lets fuzzers and tests feed the client from memory.
  using Factory = TNetStack* (*)();
  static void SetFactory(Factory factory);

  // The platform calls. Each returns -1 (or kNetInvalidSocket) on failure; WSAGetLastError then
  // gives the Windows Sockets code of the failure.
  virtual TNetSocket NewSocket() = 0;
  virtual int Bind(TNetSocket s, const std::string& ip, int port) = 0;
  virtual int GetSockName(TNetSocket s, std::string& ip, int& port) = 0;
  virtual int GetPeerName(TNetSocket s, std::string& ip, int& port) = 0;
  virtual int Connect(TNetSocket s, const std::string& ip, int port) = 0;
  virtual int SetNoDelay(TNetSocket s) = 0;
  // Waits until the socket is readable: the number of ready sockets (0 when the time ran out),
  // -1 on failure. A negative limit waits without limit.
  virtual int Select(TNetSocket s, int timeoutMs) = 0;
  virtual int Recv(TNetSocket s, void* buffer, int count) = 0;
  virtual int Send(TNetSocket s, const void* data, int count) = 0;
  virtual void Shutdown(TNetSocket s, int how) = 0;
  virtual void CloseSocket(TNetSocket s) = 0;
  virtual int WSAGetLastError() = 0;
  // The host's first IPv4 address in dotted decimal; false with WSAGetLastError set on failure.
  virtual bool HostByName(const std::string& host, std::string& dotted) = 0;

  // Name lookup: LOCALHOST and dotted quads without asking the system.
  std::string LookupHost(const std::string& host);
  static bool IsDottedQuad(const std::string& text);
  static std::string SocketErrorText(int code);
  // A result other than -1 passes (false); a tolerated code gives true; any other code raises
  // ENetSocketError.
  bool CheckSocketResult(int result, std::initializer_list<int> tolerated = {});
  [[noreturn]] void RaiseSocketError(int code);

  int LastError = 0;

 protected:
  TNetStack() = default;
};

// Created by the platform's back end.
TNetStack* CreatePlatformStack();
