// A forward-only reader over bytes in memory, as the package loader walks the inflated stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "skin/SkinTypes.h"

namespace tavlox::skin {

class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> data) : data_(data) {}

  size_t position() const { return pos_; }
  size_t size() const { return data_.size(); }
  size_t remaining() const { return data_.size() - pos_; }
  std::span<const uint8_t> data() const { return data_; }

  // Reads exactly out.size() bytes or throws "Stream read error" without moving.
  void read(std::span<uint8_t> out) {
    if (out.size() > remaining()) throw EReadError();
    if (!out.empty()) std::memcpy(out.data(), data_.data() + pos_, out.size());
    pos_ += out.size();
  }
  std::span<const uint8_t> take(size_t n) {
    if (n > remaining()) throw EReadError();
    auto s = data_.subspan(pos_, n);
    pos_ += n;
    return s;
  }
  uint8_t readU8() { return take(1)[0]; }
  uint16_t readU16() {
    auto b = take(2);
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
  }
  uint32_t readU32() {
    auto b = take(4);
    return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) | (static_cast<uint32_t>(b[2]) << 16) |
           (static_cast<uint32_t>(b[3]) << 24);
  }
  int32_t readI32() { return static_cast<int32_t>(readU32()); }
  std::span<const uint8_t> rest() { return take(remaining()); }

 private:
  std::span<const uint8_t> data_;
  size_t pos_ = 0;
};

}  // namespace tavlox::skin
