// Internet date reading on arbitrary texts, and writing what was read.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "http/InternetDate.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  TDateTime t = InternetStrToDateTime(text);
  if (std::isnan(t) || std::isinf(t)) __builtin_trap();
  if (t != 0 && t > 1 && t < 2958465) {
    std::string s = DateTimeToInternetStr(t);
    TDateTime back = InternetStrToDateTime(s);
    if (std::fabs(back - t) > 1.0 / 86400) __builtin_trap();
  }
  return 0;
}
