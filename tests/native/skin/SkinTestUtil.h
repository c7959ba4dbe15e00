// Small builders for pictures and packages used by the skin tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace skintest {

inline void Put16(std::vector<uint8_t>& o, uint32_t v) {
  o.push_back(static_cast<uint8_t>(v));
  o.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(std::vector<uint8_t>& o, uint32_t v) {
  for (int i = 0; i < 4; ++i) o.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A BMP file laid out by hand. `rows` are the stored pixel rows (already padded), in file order.
struct Bmp {
  int32_t width = 1;
  int32_t height = 1;  // negative: top-down
  uint16_t bits = 24;
  uint16_t planes = 1;
  bool core = false;           // 12-byte header
  uint32_t infoSize = 40;      // ignored with core
  uint32_t compression = 0;
  std::vector<uint32_t> masks; // written after a 40-byte header when not empty
  std::vector<uint32_t> palette;
  uint32_t colorsUsed = 0;
  uint32_t imageSize = 0;
  uint32_t fileSizeField = 0x12345678;  // deliberately wrong unless set
  uint32_t offBitsField = 0x0BADF00D;
  uint16_t type = 0x4D42;
  std::vector<uint8_t> pixels;

  std::vector<uint8_t> bytes() const {
    std::vector<uint8_t> o;
    Put16(o, type);
    Put32(o, fileSizeField);
    Put32(o, 0);
    Put32(o, offBitsField);
    if (core) {
      Put32(o, 12);
      Put16(o, static_cast<uint16_t>(width));
      Put16(o, static_cast<uint16_t>(height));
      Put16(o, planes);
      Put16(o, bits);
    } else {
      Put32(o, infoSize);
      Put32(o, static_cast<uint32_t>(width));
      Put32(o, static_cast<uint32_t>(height));
      Put16(o, planes);
      Put16(o, bits);
      Put32(o, compression);
      Put32(o, imageSize);
      Put32(o, 0);
      Put32(o, 0);
      Put32(o, colorsUsed);
      Put32(o, 0);
      for (uint32_t i = 40; i < infoSize; i += 4) Put32(o, i - 40 < masks.size() * 4 ? masks[(i - 40) / 4] : 0);
      if (infoSize == 40)
        for (uint32_t m : masks) Put32(o, m);
    }
    for (uint32_t c : palette) {
      o.push_back(static_cast<uint8_t>(c));
      o.push_back(static_cast<uint8_t>(c >> 8));
      o.push_back(static_cast<uint8_t>(c >> 16));
      if (!core) o.push_back(0);
    }
    o.insert(o.end(), pixels.begin(), pixels.end());
    return o;
  }
};

// A plain 24-bit bottom-up picture filled with one colour (0x00RRGGBB).
inline std::vector<uint8_t> SolidBmp24(int w, int h, uint32_t rgb) {
  Bmp b;
  b.width = w;
  b.height = h;
  const size_t stride = ((static_cast<size_t>(w) * 24 + 31) / 32) * 4;
  b.pixels.assign(stride * h, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      b.pixels[y * stride + 3 * x] = static_cast<uint8_t>(rgb);
      b.pixels[y * stride + 3 * x + 1] = static_cast<uint8_t>(rgb >> 8);
      b.pixels[y * stride + 3 * x + 2] = static_cast<uint8_t>(rgb >> 16);
    }
  return b.bytes();
}

// Package builder: version, then what the caller appends.
struct Package {
  std::vector<uint8_t> bytes;
  Package& i32(int32_t v) { Put32(bytes, static_cast<uint32_t>(v)); return *this; }
  Package& u8(uint8_t v) { bytes.push_back(v); return *this; }
  Package& raw(const std::vector<uint8_t>& b) { bytes.insert(bytes.end(), b.begin(), b.end()); return *this; }
  Package& text(const std::string& t) { bytes.insert(bytes.end(), t.begin(), t.end()); return *this; }
};

}  // namespace skintest
