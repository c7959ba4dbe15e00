// URL splitting, joining and path resolution on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "http/NetException.h"
#include "http/NetURI.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  TNetURI u(text);
  // Splitting loses nothing but backslashes turned into slashes and the separators it removes.
  if (u.Directory.size() + u.FileName.size() + u.Query.size() + u.Fragment.size() > size + 1) __builtin_trap();
  try {
    TNetURI again(u.ComposeUri(true, true));
    (void)again;
  } catch (const ENetURIException&) {
  }
  size_t half = size / 2;
  std::string r = TNetURI::ResolvePath(text.substr(0, half), text.substr(half));
  if (r.size() > size + 1) __builtin_trap();
  return 0;
}
