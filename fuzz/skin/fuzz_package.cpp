// Whole package loader: inflated bytes, and the same bytes taken as a zlib stream.
#include <cstddef>
#include <cstdint>

#include "skin/SkinData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavlox::skin;
  const std::span<const uint8_t> bytes(data, size);
  for (bool compressed : {false, true}) {
    TskSkinData skin;
    try {
      if (compressed) skin.LoadCompressed(bytes);
      else skin.LoadInflated(bytes);
    } catch (const SkinError&) {
      if (!skin.Empty() || skin.Changing()) __builtin_trap();
    }
  }
  // A ".skn" file of the bytes.
  TskCompressedStoredSkin stored;
  try {
    stored.ReadSknStream(bytes);
    TskSkinData skin;
    skin.LoadPackage(stored);
  } catch (const SkinError&) {
  }
  return 0;
}
