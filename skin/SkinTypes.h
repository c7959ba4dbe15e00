// Plain value types shared by the skin's data layer and everything that draws from it.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace tavlox::skin {

// Failures of the skin data layer. The message texts are the ones the program shows.
class SkinError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
// The inflater found damaged data.
class EDecompressionError : public SkinError {
 public:
  EDecompressionError() : SkinError("compression error") {}
};
// The deflater failed.
class ECompressionError : public SkinError {
 public:
  ECompressionError() : SkinError("error") {}
};
// A read ran past the end of a stream.
class EReadError : public SkinError {
 public:
  EReadError() : SkinError("Stream read error") {}
};
// A picture could not be decoded.
class EInvalidGraphic : public SkinError {
 public:
  EInvalidGraphic() : SkinError("Bitmap image is not valid") {}
};
// A number in a point or rectangle value could not be converted.
class EConvertError : public SkinError {
 public:
  explicit EConvertError(const std::string& text) : SkinError("'" + text + "' is not a valid integer value") {}
};
// A file could not be opened, read or written.
class ESkinFileError : public SkinError {
 public:
  using SkinError::SkinError;
};

struct SkinPoint {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const SkinPoint&, const SkinPoint&) = default;
};

// Right and bottom are exclusive edges.
struct SkinRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  int32_t width() const { return right - left; }
  int32_t height() const { return bottom - top; }
  // Empty means no positive area; such a rectangle stands for "not set".
  bool isEmpty() const { return width() <= 0 || height() <= 0; }
  friend bool operator==(const SkinRect&, const SkinRect&) = default;
};

// A Windows colour value 0x00BBGGRR; system colours have 0xFF in the high byte.
using SkinColor = int32_t;
constexpr SkinColor SystemColor(int index) { return static_cast<SkinColor>(0xFF000000u | static_cast<uint32_t>(index)); }
enum SystemColorIndex : int {
  COLOR_INDEX_WINDOW = 5,
  COLOR_INDEX_WINDOWTEXT = 8,
  COLOR_INDEX_HIGHLIGHT = 13,
  COLOR_INDEX_HIGHLIGHTTEXT = 14,
  COLOR_INDEX_BTNFACE = 15,
  COLOR_INDEX_BTNSHADOW = 16,
  COLOR_INDEX_BTNTEXT = 18,
  COLOR_INDEX_3DDKSHADOW = 21,
  COLOR_INDEX_3DLIGHT = 22,
  COLOR_INDEX_BTNHIGHLIGHT = 20,
};

// Font style flags; any combination.
enum FontStyle : uint8_t {
  fsPlain = 0,
  fsBold = 1,
  fsItalic = 2,
  fsUnderline = 4,
  fsStrikeOut = 8,
};

enum class SkinAlignment : uint8_t { LeftJustify, RightJustify, Center };
enum class StretchType : uint8_t { Full, Vert, Horz };
enum class MorphKind : uint8_t { Default = 0, Gradient, LeftGradient, RightGradient, LeftSlide, RightSlide, Push };
enum class InactiveEffect : uint8_t { Brightness = 0, Darkness, GrayScale, Noise, SplitBlur, Invert };
enum class SkinCommand : uint8_t { Close = 0, Maximize, Minimize, SysMenu, Default, RollUp, MinimizeToTray };
enum class FramesPlacement : uint8_t { Horizontal, Vertical };
enum class RegulatorKind : uint8_t { Round, Horizontal, Vertical };
enum class GaugeKind : uint8_t { Horizontal, Vertical };

// Notifications of a skin load, by the numbers of the window messages the frames receive.
enum SkinMessage : int {
  msgSkinBeforeChange = 1225,
  msgSkinChanged = 1226,
  msgSkinAfterChange = 1227,
  msgSkinStringsChanged = 1274,
  msgSkinnableFormChanged = 1294,
};

}  // namespace tavlox::skin
