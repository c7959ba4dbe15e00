#include <gtest/gtest.h>

#include "skin/SkinPicture.h"
#include "SkinTestUtil.h"

using namespace tavlox::skin;
using skintest::Bmp;

namespace {

struct DecodeCase {
  const char* name;
  Bmp bmp;
  std::vector<uint32_t> expected;  // top-down, 0x00RRGGBB
};

Bmp Make(int w, int h, uint16_t bits, std::vector<uint8_t> pixels) {
  Bmp b;
  b.width = w;
  b.height = h;
  b.bits = bits;
  b.pixels = std::move(pixels);
  return b;
}

std::vector<DecodeCase> DecodeCases() {
  std::vector<DecodeCase> cases;
  {  // 1 bit, 2 x 2, bottom-up: the stored first row is the picture's bottom row.
    Bmp b = Make(2, 2, 1, {0x40, 0, 0, 0, 0x80, 0, 0, 0});
    b.palette = {0x000000, 0xFFFFFF};
    cases.push_back({"1bit", b, {0xFFFFFF, 0x000000, 0x000000, 0xFFFFFF}});
  }
  {  // 4 bits with a short colour table; index 2 lies beyond it and reads as black.
    Bmp b = Make(3, 1, 4, {0x01, 0x20, 0, 0});
    b.palette = {0x112233, 0x445566};
    b.colorsUsed = 2;
    cases.push_back({"4bit_short_table", b, {0x112233, 0x445566, 0x000000}});
  }
  {  // 8 bits, top-down.
    Bmp b = Make(1, -2, 8, {1, 0, 0, 0, 0, 0, 0, 0});
    b.palette.assign(256, 0);
    b.palette[1] = 0xABCDEF;
    cases.push_back({"8bit_topdown", b, {0xABCDEF, 0x000000}});
  }
  {  // 16 bits without masks: 5-5-5.
    Bmp b = Make(2, 1, 16, {0x00, 0x7C, 0x1F, 0x00});
    cases.push_back({"16bit_555", b, {0xFF0000, 0x0000FF}});
  }
  {  // 16 bits with 5-6-5 bit fields.
    Bmp b = Make(2, 1, 16, {0xE0, 0x07, 0x00, 0xF8});
    b.compression = 3;
    b.masks = {0xF800, 0x07E0, 0x001F};
    cases.push_back({"16bit_565", b, {0x00FF00, 0xFF0000}});
  }
  {
    Bmp b = Make(1, 1, 24, {0x03, 0x02, 0x01, 0x00});
    cases.push_back({"24bit", b, {0x010203}});
  }
  {  // 32 bits plain: the fourth byte is not colour.
    Bmp b = Make(1, 1, 32, {0x03, 0x02, 0x01, 0x99});
    cases.push_back({"32bit", b, {0x010203}});
  }
  {  // 32 bits with bit fields in swapped order.
    Bmp b = Make(1, 1, 32, {0x11, 0x22, 0x33, 0x44});
    b.compression = 3;
    b.masks = {0x000000FF, 0x0000FF00, 0x00FF0000};
    cases.push_back({"32bit_fields", b, {0x112233}});
  }
  {  // V4 header: the masks are part of the header.
    Bmp b = Make(1, 1, 32, {0x11, 0x22, 0x33, 0x44});
    b.infoSize = 108;
    b.compression = 3;
    b.masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
    cases.push_back({"32bit_v4_header", b, {0x332211}});
  }
  {  // Core header, 24 bits.
    Bmp b = Make(1, 1, 24, {0x30, 0x20, 0x10, 0x00});
    b.core = true;
    cases.push_back({"core_24bit", b, {0x102030}});
  }
  {  // Core header, 8 bits: 3-byte colour entries.
    Bmp b = Make(2, 1, 8, {0, 1, 0, 0});
    b.core = true;
    b.palette.assign(256, 0);
    b.palette[0] = 0x0000FF;
    b.palette[1] = 0xFF0000;
    cases.push_back({"core_8bit", b, {0x0000FF, 0xFF0000}});
  }
  return cases;
}

}  // namespace

TEST(SkinPicture, DecodesEveryLayoutAndConsumesExactlyThePicture) {
  for (const DecodeCase& c : DecodeCases()) {
    SCOPED_TRACE(c.name);
    std::vector<uint8_t> bytes = c.bmp.bytes();
    const size_t pictureSize = bytes.size();
    bytes.insert(bytes.end(), {0xEE, 0xEE, 0xEE});  // what follows must stay unread
    ByteReader in(bytes);
    SkinPicture p = DecodeBmp(in);
    EXPECT_EQ(in.position(), pictureSize);
    ASSERT_EQ(p.width(), c.bmp.width);
    ASSERT_EQ(p.height(), std::abs(c.bmp.height));
    EXPECT_EQ(p.bits(), c.bmp.bits);
    std::vector<uint32_t> got(p.pixels().begin(), p.pixels().end());
    EXPECT_EQ(got, c.expected);
  }
}

TEST(SkinPicture, ImageSizeFieldDecidesThePixelPart) {
  Bmp b = Make(1, 1, 24, {1, 2, 3, 0, 9, 9, 9, 9});
  b.imageSize = 8;  // larger than the row needs: all of it belongs to the picture
  auto bytes = b.bytes();
  bytes.push_back(0x55);
  ByteReader in(bytes);
  DecodeBmp(in);
  EXPECT_EQ(in.position(), bytes.size() - 1);
}

TEST(SkinPicture, EncodedCopyHasRightHeaderFields) {
  Bmp b = Make(1, 1, 8, {7, 0, 0, 0});
  b.palette.assign(256, 0x010101);
  auto bytes = b.bytes();
  ByteReader in(bytes);
  std::vector<uint8_t> encoded;
  DecodeBmp(in, {}, &encoded);
  ASSERT_EQ(encoded.size(), bytes.size());
  EXPECT_EQ(encoded[2] | (encoded[3] << 8) | (encoded[4] << 16), static_cast<int>(bytes.size()));
  EXPECT_EQ(encoded[10] | (encoded[11] << 8), 14 + 40 + 1024);
}

TEST(SkinPicture, RejectsInvalidPictures) {
  struct Bad {
    const char* name;
    Bmp bmp;
    size_t cut = 0;  // bytes removed from the end
  };
  Bmp ok = Make(1, 1, 24, {1, 2, 3, 0});
  std::vector<Bad> cases;
  { Bad c{"type", ok}; c.bmp.type = 0x4D43; cases.push_back(c); }
  { Bad c{"planes", ok}; c.bmp.planes = 2; cases.push_back(c); }
  { Bad c{"rle8", ok}; c.bmp.bits = 8; c.bmp.compression = 1; cases.push_back(c); }
  { Bad c{"bitfields_24", ok}; c.bmp.compression = 3; c.bmp.masks = {1, 2, 4}; cases.push_back(c); }
  { Bad c{"bits_7", ok}; c.bmp.bits = 7; cases.push_back(c); }
  { Bad c{"width_0", ok}; c.bmp.width = 0; cases.push_back(c); }
  { Bad c{"height_0", ok}; c.bmp.height = 0; cases.push_back(c); }
  { Bad c{"header_20", ok}; c.bmp.infoSize = 20; cases.push_back(c); }
  { Bad c{"truncated_pixels", ok, 1}; cases.push_back(c); }
  { Bad c{"image_size_too_small", ok}; c.bmp.imageSize = 2; cases.push_back(c); }
  { Bad c{"huge", ok}; c.bmp.width = 100000; c.bmp.height = 100000; cases.push_back(c); }
  { Bad c{"huge_palette", ok}; c.bmp.colorsUsed = 0x40000000; cases.push_back(c); }
  for (const Bad& c : cases) {
    SCOPED_TRACE(c.name);
    auto bytes = c.bmp.bytes();
    bytes.resize(bytes.size() - c.cut);
    ByteReader in(bytes);
    try {
      DecodeBmp(in);
      ADD_FAILURE() << "accepted";
    } catch (const EInvalidGraphic& e) {
      EXPECT_STREQ(e.what(), "Bitmap image is not valid");
    }
  }
  for (size_t n : {0, 1, 13, 14, 17, 30}) {  // cut inside the headers
    auto bytes = ok.bytes();
    bytes.resize(n);
    ByteReader in(bytes);
    EXPECT_THROW(DecodeBmp(in), EInvalidGraphic) << n;
  }
}

TEST(SkinPicture, EncodeRoundTripsEveryDepth) {
  SkinPicture p(5, 3);
  const uint32_t colours[] = {0x000000, 0xFFFFFF};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) p.setPixel(x, y, colours[(x + y) % 2]);
  for (int bits : {1, 4, 8, 24, 32}) {
    SCOPED_TRACE(bits);
    auto bytes = EncodeBmp(p, bits, colours);
    SkinPicture q = DecodeBmpBytes(bytes);
    EXPECT_EQ(q.bits(), bits);
    EXPECT_TRUE(std::equal(p.pixels().begin(), p.pixels().end(), q.pixels().begin(), q.pixels().end()));
  }
  const uint32_t onlyBlack[] = {0x000000};
  EXPECT_THROW(EncodeBmp(p, 8, onlyBlack), EInvalidGraphic);
}

TEST(SkinPicture, PixelMemoryCanComeFromOutside) {
  std::vector<uint32_t> external(6, 0xDEADBEEF);
  int calls = 0;
  PixelAllocator alloc = [&](int w, int h) {
    ++calls;
    EXPECT_EQ(w * h, 6);
    return PixelStorage{external.data(), nullptr};
  };
  Bmp b = Make(3, 2, 24, std::vector<uint8_t>(24, 0x10));
  auto bytes = b.bytes();
  SkinPicture p = DecodeBmpBytes(bytes, alloc);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(p.pixels().data(), external.data());
  EXPECT_EQ(external[0], 0x101010u);
}
