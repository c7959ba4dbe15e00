// Loading our skin package (inflate, decode pictures, parse text, build records) against plain
// zlib inflation of the same bytes, in the same run. Prints both times, their ratio and the
// peak heap memory of one load.
#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <vector>

#include "skin/SkinData.h"

namespace {
std::atomic<size_t> g_current{0}, g_peak{0};
void Track(void* p) {
  if (!p) return;
  const size_t now = g_current += malloc_usable_size(p);
  size_t peak = g_peak.load();
  while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
  }
}
}  // namespace

void* operator new(size_t n) {
  void* p = std::malloc(n ? n : 1);
  if (!p) throw std::bad_alloc();
  Track(p);
  return p;
}
void operator delete(void* p) noexcept {
  if (p) g_current -= malloc_usable_size(p);
  std::free(p);
}
void operator delete(void* p, size_t) noexcept { operator delete(p); }

using namespace tavlox::skin;
using Clock = std::chrono::steady_clock;

int main(int argc, char** argv) {
  const char* file = argc > 1 ? argv[1] : TAVLOX_SKIN_COMPRESSED_FILE;
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 50;
  const std::vector<uint8_t> compressed = ReadFileBytes(file);
  // Keep freed memory in the process, so that neither measurement is dominated by the
  // allocator handing pages back to the system and faulting them in again.
  mallopt(M_MMAP_THRESHOLD, 256 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);

  auto best = [&](auto&& body) {
    double fastest = 1e30;
    for (int i = 0; i < rounds; ++i) {
      const auto t0 = Clock::now();
      body();
      fastest = std::min(fastest, std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    }
    return fastest;
  };
  size_t inflated = 0;
  const double inflateMs = best([&] { inflated = InflateBytes(compressed).size(); });

  size_t records = 0;
  const double loadMs = best([&] {
    TskSkinData data;
    data.LoadCompressed(compressed);
    records = data.ObjectList.size() + data.CtrlList.size();
  });

  const size_t before = g_current;
  g_peak = before;
  {
    TskSkinData data;
    data.LoadCompressed(compressed);
  }
  const size_t peak = g_peak - before;

  std::printf("compressed %zu bytes, inflated %zu bytes, %zu records\n", compressed.size(), inflated, records);
  std::printf("inflate only: %.3f ms (best of %d)\n", inflateMs, rounds);
  std::printf("full load:    %.3f ms (best of %d)\n", loadMs, rounds);
  std::printf("ratio load / inflate: %.2f (target <= 1.5)\n", loadMs / inflateMs);
  std::printf("peak heap during one load: %.2f MiB\n", peak / 1048576.0);
  return 0;
}
