// The response reader fed from memory: a stack whose one socket "receives" the fuzzer's bytes in
// pieces whose sizes come from the input, and accepts every send. Each input runs a HEAD and a
// GET on one client, so keep-alive, cookies and every body delimitation are reached.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "http/NetHTTP.h"

namespace {

struct Input {
  const uint8_t* data = nullptr;
  size_t size = 0;
  size_t pos = 0;
} g_in;

class MemoryStack : public TNetStack {
 public:
  TNetSocket NewSocket() override { return 3; }
  int Bind(TNetSocket, const std::string&, int) override { return 0; }
  int GetSockName(TNetSocket, std::string& ip, int& port) override {
    ip = "127.0.0.1";
    port = 40000;
    return 0;
  }
  int GetPeerName(TNetSocket, std::string& ip, int& port) override {
    ip = "127.0.0.1";
    port = 80;
    return 0;
  }
  int Connect(TNetSocket, const std::string&, int) override { return 0; }
  int SetNoDelay(TNetSocket) override { return 0; }
  int Select(TNetSocket, int) override { return 1; }
  int Recv(TNetSocket, void* buffer, int count) override {
    if (g_in.pos >= g_in.size) return 0;
    // The first byte of each piece sets its length, so reads split anywhere.
    size_t piece = 1 + g_in.data[g_in.pos] % 64 * 37;
    ++g_in.pos;
    size_t n = std::min({piece, size_t(count), g_in.size - g_in.pos});
    std::memcpy(buffer, g_in.data + g_in.pos, n);
    g_in.pos += n;
    if (n == 0) return 0;
    return int(n);
  }
  int Send(TNetSocket, const void*, int count) override { return count; }
  void Shutdown(TNetSocket, int) override {}
  void CloseSocket(TNetSocket) override {}
  int WSAGetLastError() override { return 10054; }
  bool HostByName(const std::string&, std::string& dotted) override {
    dotted = "127.0.0.1";
    return true;
  }
};

TNetStack* NewMemoryStack() { return new MemoryStack; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TNetStack::SetFactory(NewMemoryStack);
  g_in = Input{data, size, 0};
  TNetHTTP h;
  int64_t events = 0;
  h.OnWork = [&](TNetHTTP&, TWorkMode, int64_t) { ++events; };
  for (int i = 0; i < 2; ++i) {
    try {
      if (i == 0) {
        h.ProbeHead("http://fuzz.example/a/b.exe");
      } else {
        TMemoryStream m;
        h.FetchInto("http://fuzz.example/a/b.exe", m);
        if (h.LastBodyBytes() != m.Size()) __builtin_trap();
      }
    } catch (const ENetException&) {
    } catch (const EConvertError&) {
    }
  }
  return 0;
}
