// Picture decoder: any bytes must decode or fail with EInvalidGraphic, consuming within bounds.
#include <cstddef>
#include <cstdint>

#include "skin/SkinPicture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavlox::skin;
  ByteReader in(std::span<const uint8_t>(data, size));
  try {
    std::vector<uint8_t> encoded;
    SkinPicture p = DecodeBmp(in, {}, &encoded);
    if (in.position() > size || encoded.size() != in.position()) __builtin_trap();
    // The normalised copy decodes to the same picture.
    SkinPicture q = DecodeBmpBytes(encoded);
    if (q.width() != p.width() || q.height() != p.height() ||
        !std::equal(p.pixels().begin(), p.pixels().end(), q.pixels().begin(), q.pixels().end()))
      __builtin_trap();
  } catch (const EInvalidGraphic&) {
  }
  return 0;
}
