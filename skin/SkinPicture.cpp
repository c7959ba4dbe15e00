#include "skin/SkinPicture.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <unordered_map>

namespace tavlox::skin {

SkinPicture::SkinPicture(int width, int height, int sourceBits, const PixelAllocator& allocator) {
  allocate(width, height, sourceBits, allocator, true);
}

SkinPicture SkinPicture::Uninitialised(int width, int height, int sourceBits, const PixelAllocator& allocator) {
  SkinPicture p;
  p.allocate(width, height, sourceBits, allocator, false);
  return p;
}

void SkinPicture::allocate(int width, int height, int sourceBits, const PixelAllocator& allocator, bool clear) {
  if (width <= 0 || height <= 0) return;
  if (width > kMaxPictureSide || height > kMaxPictureSide ||
      static_cast<int64_t>(width) * height > kMaxPicturePixels)
    throw EInvalidGraphic();
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  if (allocator) {
    PixelStorage s = allocator(width, height);
    if (!s.pixels) throw EInvalidGraphic();
    pixels_ = s.pixels;
    storage_ = std::move(s.keepAlive);
    if (clear) std::fill(pixels_, pixels_ + count, 0u);
  } else {
    auto owned = clear ? std::shared_ptr<uint32_t[]>(new uint32_t[count]()) : std::shared_ptr<uint32_t[]>(new uint32_t[count]);
    pixels_ = owned.get();
    storage_ = owned;
  }
  width_ = width;
  height_ = height;
  bits_ = sourceBits;
}

namespace {

constexpr uint16_t kBmpType = 0x4D42;  // "BM"
constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiBitFields = 3;
constexpr uint32_t kMaxInfoHeader = 1024;

uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
void Append32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Append16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

// One colour channel taken out through a bit-field mask and scaled to 0..255.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;
  explicit Channel(uint32_t m) : mask(m) {
    if (m == 0) return;
    shift = std::countr_zero(m);
    max = m >> shift;
  }
  uint32_t get(uint32_t px) const {
    if (max == 0) return 0;
    const uint64_t v = (px & mask) >> shift;
    return static_cast<uint32_t>((v * 255 + max / 2) / max);
  }
};

// Any read fault inside a picture is a fault of the picture.
template <typename F>
auto Guard(F&& f) {
  try {
    return f();
  } catch (const EReadError&) {
    throw EInvalidGraphic();
  }
}

}  // namespace

SkinPicture DecodeBmp(ByteReader& in, const PixelAllocator& allocator, std::vector<uint8_t>* encoded) {
  const size_t start = in.position();
  struct Layout {
    int32_t width = 0, height = 0;
    uint16_t planes = 0, bits = 0;
    uint32_t compression = kBiRgb, imageSize = 0, colorsUsed = 0;
    uint32_t masks[3] = {0, 0, 0};
    bool core = false;
  } h;

  Guard([&] {
    auto fileHeader = in.take(14);
    if (Le16(fileHeader.data()) != kBmpType) throw EInvalidGraphic();
    const uint32_t infoSize = in.readU32();
    if (infoSize == 12) {
      auto c = in.take(8);
      h.core = true;
      h.width = Le16(c.data());
      h.height = Le16(c.data() + 2);
      h.planes = Le16(c.data() + 4);
      h.bits = Le16(c.data() + 6);
    } else if (infoSize >= 40 && infoSize <= kMaxInfoHeader) {
      auto c = in.take(infoSize - 4);
      const uint8_t* p = c.data();
      h.width = static_cast<int32_t>(Le32(p));
      h.height = static_cast<int32_t>(Le32(p + 4));
      h.planes = Le16(p + 8);
      h.bits = Le16(p + 10);
      h.compression = Le32(p + 12);
      h.imageSize = Le32(p + 16);
      h.colorsUsed = Le32(p + 28);
      if (infoSize >= 52) {  // V2 and later headers carry the masks themselves
        h.masks[0] = Le32(p + 36);
        h.masks[1] = Le32(p + 40);
        h.masks[2] = Le32(p + 44);
      }
    } else {
      throw EInvalidGraphic();
    }
    if (h.planes != 1) throw EInvalidGraphic();
    switch (h.bits) {
      case 1: case 4: case 8: case 16: case 24: case 32: break;
      default: throw EInvalidGraphic();
    }
    if (h.compression == kBiBitFields) {
      if (h.bits != 16 && h.bits != 32) throw EInvalidGraphic();
      if (infoSize == 40) {
        h.masks[0] = in.readU32();
        h.masks[1] = in.readU32();
        h.masks[2] = in.readU32();
      }
    } else if (h.compression != kBiRgb) {
      // Run-length pictures have no length of their own inside a package.
      throw EInvalidGraphic();
    }
    return 0;
  });

  if (h.width <= 0 || h.height == 0 || h.height == INT32_MIN) throw EInvalidGraphic();
  const int32_t absHeight = std::abs(h.height);
  const bool bottomUp = h.height > 0;
  if (h.width > kMaxPictureSide || absHeight > kMaxPictureSide ||
      static_cast<int64_t>(h.width) * absHeight > kMaxPicturePixels)
    throw EInvalidGraphic();

  // Colour table.
  uint64_t tableCount = h.colorsUsed != 0 ? h.colorsUsed : (h.bits <= 8 ? (1u << h.bits) : 0u);
  const size_t entrySize = h.core ? 3 : 4;
  if (tableCount * entrySize > in.remaining()) throw EInvalidGraphic();
  std::vector<uint32_t> palette;
  auto table = in.take(static_cast<size_t>(tableCount * entrySize));
  if (h.bits <= 8) {
    const size_t used = std::min<uint64_t>(tableCount, 1u << h.bits);
    palette.resize(size_t{1} << h.bits, 0);
    for (size_t i = 0; i < used; ++i) {
      const uint8_t* e = table.data() + i * entrySize;
      palette[i] = static_cast<uint32_t>(e[0]) | (static_cast<uint32_t>(e[1]) << 8) | (static_cast<uint32_t>(e[2]) << 16);
    }
  }
  const size_t tableEnd = in.position();

  // Pixel part.
  const uint64_t stride = ((static_cast<uint64_t>(h.width) * h.bits + 31) / 32) * 4;
  const uint64_t needed = stride * static_cast<uint64_t>(absHeight);
  const uint64_t pixelBytes = h.imageSize != 0 ? h.imageSize : needed;
  if (pixelBytes < needed || pixelBytes > in.remaining()) throw EInvalidGraphic();
  auto data = in.take(static_cast<size_t>(pixelBytes));

  SkinPicture pic = SkinPicture::Uninitialised(h.width, absHeight, h.bits, allocator);
  uint32_t masks[3] = {h.masks[0], h.masks[1], h.masks[2]};
  if (h.compression != kBiBitFields) {
    if (h.bits == 16) { masks[0] = 0x7C00; masks[1] = 0x03E0; masks[2] = 0x001F; }
    if (h.bits == 32) { masks[0] = 0xFF0000; masks[1] = 0xFF00; masks[2] = 0xFF; }
  }
  const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
  const bool plain32 = h.bits == 32 && masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF;
  // One loop per depth: the pictures of a skin are large and decoded on every load.
  for (int32_t r = 0; r < absHeight; ++r) {
    const uint8_t* src = data.data() + static_cast<size_t>(r) * stride;
    uint32_t* dst = pic.row(bottomUp ? absHeight - 1 - r : r);
    const int32_t w = h.width;
    switch (h.bits) {
      case 1:
        for (int32_t x = 0; x < w; ++x) dst[x] = palette[(src[x >> 3] >> (7 - (x & 7))) & 1];
        break;
      case 4:
        for (int32_t x = 0; x < w; ++x) dst[x] = palette[(src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF];
        break;
      case 8:
        for (int32_t x = 0; x < w; ++x) dst[x] = palette[src[x]];
        break;
      case 16:
        for (int32_t x = 0; x < w; ++x) {
          const uint32_t px = Le16(src + 2 * x);
          dst[x] = (red.get(px) << 16) | (green.get(px) << 8) | blue.get(px);
        }
        break;
      case 24: {
        // Four-byte reads where the row surely has a byte to spare after the pixel.
        int32_t x = 0;
        for (; x + 1 < w; ++x) dst[x] = Le32(src + 3 * x) & 0xFFFFFF;
        const uint8_t* p = src + 3 * x;
        dst[x] = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16);
        break;
      }
      case 32:
        if (plain32) {
          for (int32_t x = 0; x < w; ++x) dst[x] = Le32(src + 4 * x) & 0xFFFFFF;
        } else {
          for (int32_t x = 0; x < w; ++x) {
            const uint32_t px = Le32(src + 4 * x);
            dst[x] = (red.get(px) << 16) | (green.get(px) << 8) | blue.get(px);
          }
        }
        break;
    }
  }

  if (encoded) {
    auto bytes = in.data().subspan(start, in.position() - start);
    encoded->assign(bytes.begin(), bytes.end());
    Put32(*encoded, 2, static_cast<uint32_t>(encoded->size()));
    Put32(*encoded, 10, static_cast<uint32_t>(tableEnd - start));
  }
  return pic;
}

SkinPicture DecodeBmpBytes(std::span<const uint8_t> bytes, const PixelAllocator& allocator) {
  ByteReader in(bytes);
  return DecodeBmp(in, allocator);
}

std::vector<uint8_t> EncodeBmp(const SkinPicture& picture, int bits, std::span<const uint32_t> palette) {
  if (picture.empty()) throw EInvalidGraphic();
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) throw EInvalidGraphic();
  const int w = picture.width(), hgt = picture.height();
  const size_t stride = ((static_cast<size_t>(w) * bits + 31) / 32) * 4;
  const size_t tableCount = bits <= 8 ? (size_t{1} << bits) : 0;
  if (bits <= 8 && (palette.empty() || palette.size() > tableCount)) throw EInvalidGraphic();
  std::unordered_map<uint32_t, uint32_t> index;
  for (size_t i = 0; i < palette.size(); ++i) index.emplace(palette[i] & 0xFFFFFF, static_cast<uint32_t>(i));

  std::vector<uint8_t> out;
  const size_t offBits = 14 + 40 + tableCount * 4;
  const size_t total = offBits + stride * hgt;
  out.reserve(total);
  Append16(out, kBmpType);
  Append32(out, static_cast<uint32_t>(total));
  Append32(out, 0);
  Append32(out, static_cast<uint32_t>(offBits));
  Append32(out, 40);
  Append32(out, static_cast<uint32_t>(w));
  Append32(out, static_cast<uint32_t>(hgt));
  Append16(out, 1);
  Append16(out, static_cast<uint16_t>(bits));
  Append32(out, kBiRgb);
  Append32(out, static_cast<uint32_t>(stride * hgt));
  Append32(out, 0);
  Append32(out, 0);
  Append32(out, 0);  // colours used: the full table
  Append32(out, 0);
  for (size_t i = 0; i < tableCount; ++i) {
    const uint32_t c = i < palette.size() ? palette[i] : 0;
    out.push_back(static_cast<uint8_t>(c));
    out.push_back(static_cast<uint8_t>(c >> 8));
    out.push_back(static_cast<uint8_t>(c >> 16));
    out.push_back(0);
  }
  for (int y = hgt - 1; y >= 0; --y) {  // bottom-up rows
    const uint32_t* row = picture.row(y);
    const size_t rowStart = out.size();
    out.resize(rowStart + stride, 0);
    uint8_t* dst = out.data() + rowStart;
    for (int x = 0; x < w; ++x) {
      const uint32_t c = row[x] & 0xFFFFFF;
      if (bits == 24) {
        dst[3 * x] = static_cast<uint8_t>(c);
        dst[3 * x + 1] = static_cast<uint8_t>(c >> 8);
        dst[3 * x + 2] = static_cast<uint8_t>(c >> 16);
      } else if (bits == 32) {
        dst[4 * x] = static_cast<uint8_t>(c);
        dst[4 * x + 1] = static_cast<uint8_t>(c >> 8);
        dst[4 * x + 2] = static_cast<uint8_t>(c >> 16);
      } else {
        auto it = index.find(c);
        if (it == index.end()) throw EInvalidGraphic();
        const uint32_t i = it->second;
        if (bits == 8) dst[x] = static_cast<uint8_t>(i);
        else if (bits == 4) dst[x >> 1] |= static_cast<uint8_t>((x & 1) ? i : (i << 4));
        else dst[x >> 3] |= static_cast<uint8_t>(i << (7 - (x & 7)));
      }
    }
  }
  return out;
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) throw ESkinFileError("Cannot open file \"" + path + "\"");
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> guard(f, &std::fclose);
  std::vector<uint8_t> bytes;
  uint8_t buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
  if (std::ferror(f)) throw ESkinFileError("Cannot read file \"" + path + "\"");
  return bytes;
}

void WriteFileBytes(const std::string& path, std::span<const uint8_t> bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) throw ESkinFileError("Cannot create file \"" + path + "\"");
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> guard(f, &std::fclose);
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size())
    throw ESkinFileError("Cannot write file \"" + path + "\"");
  if (std::fflush(f) != 0) throw ESkinFileError("Cannot write file \"" + path + "\"");
}

}  // namespace tavlox::skin
