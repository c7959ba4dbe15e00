// The definition text as sections of key = value lines, and the readers of its value kinds.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "skin/SkinTypes.h"

namespace tavlox::skin {

// Section names and keys match without regard to ASCII case. A repeated section replaces the
// earlier one; a repeated key in a section replaces the earlier line.
class SkinIni {
 public:
  SkinIni() = default;
  explicit SkinIni(std::string_view text) { parse(text); }

  // Lines end in CR LF, CR or LF. Blanks and control characters around a line are dropped;
  // empty lines and lines starting with ";" are skipped; lines before the first section too.
  void parse(std::string_view text);

  bool hasSection(std::string_view section) const;
  // The raw value, or nothing when the section or key is absent.
  std::optional<std::string> value(std::string_view section, std::string_view key) const;
  void set(std::string_view section, std::string_view key, std::string_view value);
  // The keys of a section (upper-cased), in no particular order.
  std::vector<std::string> keys(std::string_view section) const;
  // Section names in the order they first appeared (upper-cased).
  const std::vector<std::string>& sectionOrder() const { return order_; }

 private:
  // Orders names without regard to ASCII case; lookups by string_view allocate nothing.
  struct CaseLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  struct Section {
    std::map<std::string, std::string, CaseLess> values;  // upper-cased key -> value
  };
  std::map<std::string, Section, CaseLess> sections_;  // upper-cased name -> section
  std::vector<std::string> order_;
};

std::string UpperAscii(std::string_view s);
std::string_view TrimBlanks(std::string_view s);

// The integer syntax of the definition text: decimal with an optional sign, or "0x"/"0X"/"$"
// followed by hex digits (32 bits, read as signed). Nothing when the text is not an integer.
std::optional<int32_t> ParseSkinInteger(std::string_view text);
// The number-list rule of points and rectangles: "," separates numbers, digits are kept and every
// other character is dropped. Exactly `count` numbers are required; otherwise EConvertError.
std::vector<int32_t> ParseNumberList(std::string_view text, size_t count);

// Readers of the value kinds, each given the parsed text, a section and a key.
int32_t ReadInteger(const SkinIni& ini, std::string_view section, std::string_view key, int32_t def);
bool ReadBoolean(const SkinIni& ini, std::string_view section, std::string_view key);
std::string ReadString(const SkinIni& ini, std::string_view section, std::string_view key, std::string_view def = {});
SkinPoint ReadPoint(const SkinIni& ini, std::string_view section, std::string_view key);
SkinRect ReadRect(const SkinIni& ini, std::string_view section, std::string_view key);
uint8_t ReadFontStyle(const SkinIni& ini, std::string_view section, std::string_view key);
SkinAlignment ReadAlignment(const SkinIni& ini, std::string_view section, std::string_view key);
StretchType ReadStretchType(const SkinIni& ini, std::string_view section, std::string_view key);
MorphKind ReadMorphKind(const SkinIni& ini, std::string_view section, std::string_view key);
InactiveEffect ReadInactiveEffect(const SkinIni& ini, std::string_view section, std::string_view key);
SkinCommand ReadCommand(const SkinIni& ini, std::string_view section, std::string_view key);
FramesPlacement ReadFramesPlacement(const SkinIni& ini, std::string_view section, std::string_view key);
RegulatorKind ReadRegulatorKind(const SkinIni& ini, std::string_view section, std::string_view key);
GaugeKind ReadGaugeKind(const SkinIni& ini, std::string_view section, std::string_view key);

// The words the writer uses for each kind.
std::string FontStyleText(uint8_t style);
const char* AlignmentWord(SkinAlignment a);
const char* StretchTypeWord(StretchType t);
const char* MorphKindWord(MorphKind k);
const char* InactiveEffectWord(InactiveEffect e);
const char* CommandWord(SkinCommand c);
const char* FramesPlacementWord(FramesPlacement p);
const char* RegulatorKindWord(RegulatorKind k);
const char* GaugeKindWord(GaugeKind k);
std::string PointText(const SkinPoint& p);
std::string RectText(const SkinRect& r);

}  // namespace tavlox::skin
