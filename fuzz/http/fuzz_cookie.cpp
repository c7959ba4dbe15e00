// Cookie parsing and the store: arbitrary Set-cookie values from arbitrary hosts, then a Cookie
// header for an arbitrary URL.
#include <cstddef>
#include <cstdint>
#include <string>

#include "http/Cookies.h"
#include "http/NetException.h"
#include "http/NetURI.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  // Fields separated by newlines: host, then values; the last one is the URL asked about.
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= text.size()) {
    size_t nl = text.find('\n', start);
    parts.push_back(text.substr(start, nl == std::string::npos ? std::string::npos : nl - start));
    if (nl == std::string::npos) break;
    start = nl + 1;
  }
  TNetCookieManager m;
  const std::string host = parts[0];
  for (size_t i = 1; i + 1 < parts.size(); ++i) {
    try {
      if (i % 2) m.AcceptCookie(parts[i], host);
      else m.AcceptCookie2(parts[i], host);
    } catch (const EConvertError&) {
    }
  }
  m.CookieHeaderFor(TNetURI(parts.back()), (size & 1) != 0);
  return 0;
}
