// Header lines: lookup, unfolding, setting and folding of arbitrary texts.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "http/HeaderList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  TNetHeaderList h(1 + data[0] % 100);
  h.AddText(text);
  std::vector<std::string> values;
  for (const std::string& line : std::vector<std::string>(h.Lines)) {
    std::string name = TNetHeaderList::NameOf(line);
    h.ValueOf(name);
    h.ValuesOf(name, values);
  }
  // Setting a value and reading it back: unfolding restores it up to blanks around the breaks.
  std::string value;
  for (char c : text)
    if (c != '\r' && c != '\n') value += c;
  h.SetHeader("X-Fuzz", value);
  std::string back = h.ValueOf("X-Fuzz");
  auto squeeze = [](const std::string& s) {
    std::string r;
    for (char c : s)
      if ((unsigned char)c > ' ') r += c;
    return r;
  };
  if (squeeze(back) != squeeze(value)) __builtin_trap();
  h.SetHeader("X-Fuzz", "");
  if (!h.ValueOf("X-Fuzz").empty() && h.ValueOf("X-Fuzz") == back && !back.empty()) {
    // Another line of that name may exist in the text; nothing to check then.
  }
  return 0;
}
