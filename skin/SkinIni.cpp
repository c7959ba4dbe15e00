#include "skin/SkinIni.h"

#include <algorithm>
#include <cstdint>

namespace tavlox::skin {

std::string UpperAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

std::string_view TrimBlanks(std::string_view s) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

bool SkinIni::CaseLess::operator()(std::string_view a, std::string_view b) const {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  }
  return a.size() < b.size();
}

void SkinIni::parse(std::string_view text) {
  sections_.clear();
  order_.clear();
  Section* current = nullptr;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = TrimBlanks(text.substr(pos, end - pos));
    pos = end;
    if (pos < text.size()) {
      if (text[pos] == '\r' && pos + 1 < text.size() && text[pos + 1] == '\n') pos += 2;
      else pos += 1;
    }
    if (line.empty() || line.front() == ';') continue;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      std::string name = UpperAscii(TrimBlanks(line.substr(1, line.size() - 2)));
      auto [it, inserted] = sections_.try_emplace(name);
      if (inserted) order_.push_back(name);
      else it->second.values.clear();  // the later section is the one read
      current = &it->second;
      continue;
    }
    if (!current) continue;
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    current->values[UpperAscii(TrimBlanks(line.substr(0, eq)))] = std::string(TrimBlanks(line.substr(eq + 1)));
  }
}

bool SkinIni::hasSection(std::string_view section) const { return sections_.find(section) != sections_.end(); }

std::optional<std::string> SkinIni::value(std::string_view section, std::string_view key) const {
  auto s = sections_.find(section);
  if (s == sections_.end()) return std::nullopt;
  auto k = s->second.values.find(key);
  if (k == s->second.values.end()) return std::nullopt;
  return k->second;
}

std::vector<std::string> SkinIni::keys(std::string_view section) const {
  std::vector<std::string> out;
  auto s = sections_.find(section);
  if (s == sections_.end()) return out;
  for (const auto& kv : s->second.values) out.push_back(kv.first);
  return out;
}

void SkinIni::set(std::string_view section, std::string_view key, std::string_view value) {
  std::string name = UpperAscii(section);
  auto [it, inserted] = sections_.try_emplace(name);
  if (inserted) order_.push_back(name);
  it->second.values[UpperAscii(key)] = std::string(value);
}

std::optional<int32_t> ParseSkinInteger(std::string_view text) {
  text = TrimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  int base = 10;
  if (text.front() == '$') {
    base = 16;
    text.remove_prefix(1);
  } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  if (text.empty()) return std::nullopt;
  uint64_t v = 0;
  for (char c : text) {
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return std::nullopt;
    v = v * base + d;
    if (v > 0xFFFFFFFFull) return std::nullopt;
  }
  if (base == 16) {
    // Hex gives the 32-bit pattern, so $FFFFFFFF is -1.
    const uint32_t bits = static_cast<uint32_t>(negative ? (0 - v) : v);
    return static_cast<int32_t>(bits);
  }
  if (negative) {
    if (v > 2147483648ull) return std::nullopt;
    return static_cast<int32_t>(-static_cast<int64_t>(v));
  }
  if (v > 2147483647ull) return std::nullopt;
  return static_cast<int32_t>(v);
}

std::vector<int32_t> ParseNumberList(std::string_view text, size_t count) {
  std::vector<std::string> numbers(1);
  for (char c : text) {
    if (c == ',') numbers.emplace_back();
    else if (c >= '0' && c <= '9') numbers.back().push_back(c);
  }
  std::vector<int32_t> out;
  for (const std::string& n : numbers) {
    if (out.size() == count) {
      // More numbers than the kind carries: not a value of this kind.
      throw EConvertError(std::string(text));
    }
    auto v = ParseSkinInteger(n);
    if (!v || n.empty()) throw EConvertError(n);
    out.push_back(*v);
  }
  if (out.size() != count) throw EConvertError("");
  return out;
}

int32_t ReadInteger(const SkinIni& ini, std::string_view section, std::string_view key, int32_t def) {
  auto v = ini.value(section, key);
  if (!v) return def;
  return ParseSkinInteger(*v).value_or(def);
}

bool ReadBoolean(const SkinIni& ini, std::string_view section, std::string_view key) {
  return ReadInteger(ini, section, key, 0) == 1;
}

std::string ReadString(const SkinIni& ini, std::string_view section, std::string_view key, std::string_view def) {
  auto v = ini.value(section, key);
  return v ? *v : std::string(def);
}

SkinPoint ReadPoint(const SkinIni& ini, std::string_view section, std::string_view key) {
  auto v = ini.value(section, key);
  if (!v) return {};
  auto n = ParseNumberList(*v, 2);
  return {n[0], n[1]};
}

SkinRect ReadRect(const SkinIni& ini, std::string_view section, std::string_view key) {
  auto v = ini.value(section, key);
  if (!v) return {};
  auto n = ParseNumberList(*v, 4);
  return {n[0], n[1], n[2], n[3]};
}

uint8_t ReadFontStyle(const SkinIni& ini, std::string_view section, std::string_view key) {
  const std::string v = ReadString(ini, section, key);
  uint8_t style = fsPlain;
  if (v.find("fsbold") != std::string::npos) style |= fsBold;
  if (v.find("fsitalic") != std::string::npos) style |= fsItalic;
  if (v.find("fsunderline") != std::string::npos) style |= fsUnderline;
  if (v.find("fsstrikeout") != std::string::npos) style |= fsStrikeOut;
  return style;
}

SkinAlignment ReadAlignment(const SkinIni& ini, std::string_view section, std::string_view key) {
  const std::string v = ReadString(ini, section, key, "tacenter");
  if (v == "tacenter") return SkinAlignment::Center;
  if (v == "taleftjustify") return SkinAlignment::LeftJustify;
  return SkinAlignment::RightJustify;
}

StretchType ReadStretchType(const SkinIni& ini, std::string_view section, std::string_view key) {
  const std::string v = ReadString(ini, section, key, "stfull");
  if (v == "stfull") return StretchType::Full;
  if (v == "stvert") return StretchType::Vert;
  return StretchType::Horz;
}

namespace {
template <typename E, size_t N>
E WordIndex(const std::string& v, const char* const (&words)[N], E other) {
  for (size_t i = 0; i < N; ++i)
    if (v == words[i]) return static_cast<E>(i);
  return other;
}
constexpr const char* kMorphWords[] = {"mkdefault",   "mkgradient",   "mkleftgradient", "mkrightgradient",
                                       "mkleftslide", "mkrightslide", "mkpush"};
constexpr const char* kEffectWords[] = {"iebrightness", "iedarkness",    "iegrayscale",
                                        "ienoise",      "iesplitblur",   "ieinvert"};
constexpr const char* kCommandWords[] = {"cmclose",   "cmmaximize", "cmminimize",      "cmsysmenu",
                                         "cmdefault", "cmrollup",   "cmminimizetotray"};
}  // namespace

MorphKind ReadMorphKind(const SkinIni& ini, std::string_view section, std::string_view key) {
  return WordIndex(ReadString(ini, section, key, "mkdefault"), kMorphWords, MorphKind::Default);
}

InactiveEffect ReadInactiveEffect(const SkinIni& ini, std::string_view section, std::string_view key) {
  return WordIndex(ReadString(ini, section, key, "iebrightness"), kEffectWords, InactiveEffect::GrayScale);
}

SkinCommand ReadCommand(const SkinIni& ini, std::string_view section, std::string_view key) {
  // "cmminimizetotray", like every unknown word, minimises to the notification area.
  return WordIndex(ReadString(ini, section, key, "cmdefault"), kCommandWords, SkinCommand::MinimizeToTray);
}

FramesPlacement ReadFramesPlacement(const SkinIni& ini, std::string_view section, std::string_view key) {
  return ReadString(ini, section, key, "fphorizontal") == "fphorizontal" ? FramesPlacement::Horizontal
                                                                         : FramesPlacement::Vertical;
}

RegulatorKind ReadRegulatorKind(const SkinIni& ini, std::string_view section, std::string_view key) {
  const std::string v = ReadString(ini, section, key, "rkround");
  if (v == "rkround") return RegulatorKind::Round;
  if (v == "rkhorizontal") return RegulatorKind::Horizontal;
  return RegulatorKind::Vertical;
}

GaugeKind ReadGaugeKind(const SkinIni& ini, std::string_view section, std::string_view key) {
  return ReadString(ini, section, key, "gkhorizontal") == "gkhorizontal" ? GaugeKind::Horizontal : GaugeKind::Vertical;
}

std::string FontStyleText(uint8_t style) {
  std::string out;
  auto add = [&](uint8_t bit, const char* word) {
    if (!(style & bit)) return;
    if (!out.empty()) out += ',';
    out += word;
  };
  add(fsBold, "fsbold");
  add(fsItalic, "fsitalic");
  add(fsUnderline, "fsunderline");
  add(fsStrikeOut, "fsstrikeout");
  return out;
}

const char* AlignmentWord(SkinAlignment a) {
  switch (a) {
    case SkinAlignment::LeftJustify: return "taleftjustify";
    case SkinAlignment::Center: return "tacenter";
    default: return "tarightjustify";
  }
}
const char* StretchTypeWord(StretchType t) {
  switch (t) {
    case StretchType::Full: return "stfull";
    case StretchType::Vert: return "stvert";
    default: return "sthorz";
  }
}
const char* MorphKindWord(MorphKind k) { return kMorphWords[static_cast<size_t>(k) % 7]; }
const char* InactiveEffectWord(InactiveEffect e) { return kEffectWords[static_cast<size_t>(e) % 6]; }
const char* CommandWord(SkinCommand c) { return kCommandWords[static_cast<size_t>(c) % 7]; }
const char* FramesPlacementWord(FramesPlacement p) {
  return p == FramesPlacement::Horizontal ? "fphorizontal" : "fpvertical";
}
const char* RegulatorKindWord(RegulatorKind k) {
  switch (k) {
    case RegulatorKind::Round: return "rkround";
    case RegulatorKind::Horizontal: return "rkhorizontal";
    default: return "rkvertical";
  }
}
const char* GaugeKindWord(GaugeKind k) { return k == GaugeKind::Horizontal ? "gkhorizontal" : "gkvertical"; }

std::string PointText(const SkinPoint& p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
std::string RectText(const SkinRect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

}  // namespace tavlox::skin
