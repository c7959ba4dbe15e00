#include "http/SocketStack.h"

#include <mutex>

#include "http/NetException.h"
#include "http/TextUtil.h"

namespace {
std::mutex g_stackLock;
int g_instances = 0;
TNetStack* g_stack = nullptr;
TNetStack::Factory g_factory = nullptr;
TNetStack* NewStack() { return g_factory ? g_factory() : CreatePlatformStack(); }
}  // namespace

void TNetStack::SetFactory(Factory factory) {
  std::lock_guard lock(g_stackLock);
  g_factory = factory;
}

TNetStack& TNetStack::TheStack() {
  std::lock_guard lock(g_stackLock);
  if (!g_stack) g_stack = NewStack();
  return *g_stack;
}

void TNetStack::AddRef() {
  std::lock_guard lock(g_stackLock);
  if (++g_instances == 1 && !g_stack) {
    try {
      g_stack = NewStack();
    } catch (...) {
      --g_instances;
      throw;
    }
  }
}

void TNetStack::Release() {
  std::lock_guard lock(g_stackLock);
  if (g_instances > 0 && --g_instances == 0) {
    delete g_stack;
    g_stack = nullptr;
  }
}

bool TNetStack::IsDottedQuad(const std::string& text) {
  size_t start = 0;
  for (int i = 0; i < 4; ++i) {
    size_t dot = i < 3 ? text.find('.', start) : std::string::npos;
    if (i < 3 && dot == std::string::npos) return false;
    auto v = nettext::ParseInt(text.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
    if (!v || *v < 0 || *v > 255) return false;
    start = dot + 1;
  }
  return true;
}

std::string TNetStack::LookupHost(const std::string& host) {
  if (nettext::SameText(host, "LOCALHOST")) return "127.0.0.1";
  if (IsDottedQuad(host)) return host;
  std::string dotted;
  if (!HostByName(host, dotted)) {
    LastError = WSAGetLastError();
    RaiseSocketError(LastError);
  }
  return dotted;
}

std::string TNetStack::SocketErrorText(int code) {
  switch (code) {
    case 10004: return "Interrupted system call.";
    case 10009: return "Bad file number.";
    case 10013: return "Access denied.";
    case 10014: return "Bad address.";
    case 10022: return "Invalid argument.";
    case 10024: return "Too many open files.";
    case 10035: return "Operation would block. ";
    case 10036: return "Operation now in progress.";
    case 10037: return "Operation already in progress.";
    case 10038: return "Socket operation on non-socket.";
    case 10039: return "Destination address required.";
    case 10040: return "Message too long.";
    case 10041: return "Protocol wrong type for socket.";
    case 10042: return "Bad protocol option.";
    case 10043: return "Protocol not supported.";
    case 10044: return "Socket type not supported.";
    case 10045: return "Operation not supported on socket.";
    case 10046: return "Protocol family not supported.";
    case 10047: return "Address family not supported by protocol family.";
    case 10048: return "Address already in use.";
    case 10049: return "Cannot assign requested address.";
    case 10050: return "Network is down.";
    case 10051: return "Network is unreachable.";
    case 10052: return "Net dropped connection or reset.";
    case 10053: return "Software caused connection abort.";
    case 10054: return "Connection reset by peer.";
    case 10055: return "No buffer space available.";
    case 10056: return "Socket is already connected.";
    case 10057: return "Socket is not connected.";
    case 10058: return "Cannot send or receive after socket is closed.";
    case 10059: return "Too many references, cannot splice.";
    case 10060: return "Connection timed out.";
    case 10061: return "Connection refused.";
    case 10062: return "Too many levels of symbolic links.";
    case 10063: return "File name too long.";
    case 10064: return "Host is down.";
    case 10065: return "No route to host.";
    case 10066: return "Directory not empty";
    case 11001: return "Host not found.";
    default: return "";
  }
}

void TNetStack::RaiseSocketError(int code) {
  throw ENetSocketError(code, "Socket Error # " + std::to_string(code) + "\r\n" + SocketErrorText(code));
}

bool TNetStack::CheckSocketResult(int result, std::initializer_list<int> tolerated) {
  if (result != -1) return false;
  LastError = WSAGetLastError();
  for (int t : tolerated)
    if (t == LastError) return true;
  RaiseSocketError(LastError);
}
