// Decoded skin pictures: 32 bits per pixel, rows top-down, each pixel 0x00RRGGBB (the byte order
// of a 32-bit DIB). The pixel memory may come from outside, so the Windows layer can decode
// straight into a DIB section and let GDI draw text onto it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "skin/ByteReader.h"
#include "skin/SkinTypes.h"

namespace tavlox::skin {

// Memory for width * height pixels, top-down, no row padding; `keepAlive` owns it.
struct PixelStorage {
  uint32_t* pixels = nullptr;
  std::shared_ptr<void> keepAlive;
};
using PixelAllocator = std::function<PixelStorage(int width, int height)>;

// Copies share the pixel memory (a picture is decoded once and then only read).
class SkinPicture {
 public:
  SkinPicture() = default;
  // A picture of the given size, zero-filled; `allocator` may supply the memory.
  SkinPicture(int width, int height, int sourceBits = 32, const PixelAllocator& allocator = {});
  // The same without clearing the pixels, for a caller that writes every one of them.
  static SkinPicture Uninitialised(int width, int height, int sourceBits, const PixelAllocator& allocator);

  bool empty() const { return width_ <= 0 || height_ <= 0; }
  int width() const { return width_; }
  int height() const { return height_; }
  // Bit depth of the encoded picture it was decoded from (1, 4, 8, 16, 24 or 32).
  int bits() const { return bits_; }

  uint32_t* row(int y) { return pixels_ + static_cast<size_t>(y) * static_cast<size_t>(width_); }
  const uint32_t* row(int y) const { return pixels_ + static_cast<size_t>(y) * static_cast<size_t>(width_); }
  uint32_t pixel(int x, int y) const { return row(y)[x]; }
  void setPixel(int x, int y, uint32_t value) { row(y)[x] = value; }
  std::span<uint32_t> pixels() { return {pixels_, pixelCount()}; }
  std::span<const uint32_t> pixels() const { return {pixels_, pixelCount()}; }
  const std::shared_ptr<void>& storage() const { return storage_; }

 private:
  void allocate(int width, int height, int sourceBits, const PixelAllocator& allocator, bool clear);
  size_t pixelCount() const { return empty() ? 0 : static_cast<size_t>(width_) * static_cast<size_t>(height_); }
  int width_ = 0;
  int height_ = 0;
  int bits_ = 0;
  uint32_t* pixels_ = nullptr;
  std::shared_ptr<void> storage_;
};

// Largest picture the decoder accepts, in pixels per side and in total.
constexpr int kMaxPictureSide = 32767;
constexpr int64_t kMaxPicturePixels = int64_t{1} << 26;

// Reads one BMP file from `in`, consuming exactly the file header, the info header, the colour
// masks, the colour table and the pixel part (the header's image size, or the padded rows when
// that is 0). The file header's size and offset fields are not consulted. Any fault inside the
// picture, including running out of bytes, throws EInvalidGraphic. When `encoded` is given, it
// receives the consumed bytes with the file header's size and offset fields made right.
SkinPicture DecodeBmp(ByteReader& in, const PixelAllocator& allocator = {}, std::vector<uint8_t>* encoded = nullptr);

// Decodes a whole BMP file (trailing bytes after the pixel part are ignored).
SkinPicture DecodeBmpBytes(std::span<const uint8_t> bytes, const PixelAllocator& allocator = {});

// Encodes an uncompressed BMP file with a 40-byte info header; bits 24 or 32 keep the colours,
// and with 1, 4 or 8 bits `palette` (0x00RRGGBB entries) gives the colour table and every pixel
// must be one of its colours.
std::vector<uint8_t> EncodeBmp(const SkinPicture& picture, int bits = 24, std::span<const uint32_t> palette = {});

// File helpers.
std::vector<uint8_t> ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, std::span<const uint8_t> bytes);

}  // namespace tavlox::skin
