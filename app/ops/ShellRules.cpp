#include "app/ops/ShellRules.h"

#include <algorithm>

namespace tavlox::ops {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

char UpperChar(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (UpperChar(a[i]) != UpperChar(b[i])) return false;
  return true;
}

}  // namespace

std::optional<int32_t> TryStrToInt(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  bool hex = false;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == text.size()) return std::nullopt;  // no digits at all

  uint32_t magnitude = 0;
  if (hex) {
    for (; i < text.size(); ++i) {
      int digit = HexValue(text[i]);
      if (digit < 0) return std::nullopt;
      if (magnitude > 0x0FFFFFFFu) return std::nullopt;  // a ninth significant digit
      magnitude = (magnitude << 4) | static_cast<uint32_t>(digit);
    }
    uint32_t pattern = negative ? (0u - magnitude) : magnitude;
    return static_cast<int32_t>(pattern);
  }
  const uint64_t limit = negative ? 2147483648ull : 2147483647ull;
  uint64_t value = 0;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
    if (value > limit) return std::nullopt;
  }
  magnitude = static_cast<uint32_t>(value);
  return static_cast<int32_t>(negative ? (0u - magnitude) : magnitude);
}

int32_t StrToInt(std::string_view text) {
  if (auto value = TryStrToInt(text)) return *value;
  throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = UpperChar(c);
  return out;
}

bool ExeNameMatches(std::string_view exeFile, std::string_view target) {
  size_t cut = exeFile.find_last_of("\\:");
  std::string_view shortName = cut == std::string_view::npos ? exeFile : exeFile.substr(cut + 1);
  return EqualsNoCase(shortName, target) || EqualsNoCase(exeFile, target);
}

bool ShouldDeleteCacheEntry(uint32_t attributes, std::string_view name) {
  return attributes != kDirectoryOnlyAttributes && name.find(kPartialDownloadMarker) == std::string_view::npos;
}

bool IsGbkLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

std::string CacheDirectoryOf(std::string_view value, LeadBytePredicate isLeadByte) {
  std::string dir(value);
  if (dir.empty()) return dir;
  // Walk the characters so that the last one is known, not just the last byte.
  size_t lastStart = 0;
  for (size_t i = 0; i < dir.size();) {
    lastStart = i;
    bool doubleByte = isLeadByte && isLeadByte(static_cast<unsigned char>(dir[i])) && i + 1 < dir.size();
    i += doubleByte ? 2 : 1;
  }
  bool endsInSeparator = lastStart == dir.size() - 1 && (dir.back() == '\\' || dir.back() == '/');
  if (!endsInSeparator) dir += '\\';
  return dir;
}

std::vector<CursorPoint> TraySweepPositions(const ScreenRect& area, int32_t cx, int32_t cy) {
  std::vector<CursorPoint> points;
  if (cx <= 0 || cy <= 0) return points;
  const int64_t rows = (int64_t{area.bottom} - area.top) / cy;
  const int64_t cols = (int64_t{area.right} - area.left) / cx;
  if (rows < 0 || cols < 0) return points;
  points.reserve(static_cast<size_t>((rows + 1) * (cols + 1)));
  for (int64_t row = 0; row <= rows; ++row)
    for (int64_t col = 0; col <= cols; ++col)
      points.push_back({static_cast<int32_t>(area.left + col * cx), static_cast<int32_t>(area.top + row * cy)});
  return points;
}

std::string JetConnectionString(std::string_view exeDir) {
  static const char* const kEmpty = "\"\"";
  const std::pair<const char*, std::string> pairs[] = {
      {"Provider", "Microsoft.Jet.OLEDB.4.0"},
      {"User ID", "Admin"},
      {"Data Source", std::string(exeDir) + "db1.mdb"},
      {"Mode", "Share Deny None"},
      {"Extended Properties", kEmpty},
      {"Jet OLEDB:System database", kEmpty},
      {"Jet OLEDB:Registry Path", kEmpty},
      {"Jet OLEDB:Database Password", kEmpty},
      {"Jet OLEDB:Engine Type", "5"},
      {"Jet OLEDB:Database Locking Mode", "1"},
      {"Jet OLEDB:Global Partial Bulk Ops", "2"},
      {"Jet OLEDB:Global Bulk Transactions", "1"},
      {"Jet OLEDB:New Database Password", kEmpty},
      {"Jet OLEDB:Create System Database", "False"},
      {"Jet OLEDB:Encrypt Database", "False"},
      {"Jet OLEDB:Don't Copy Locale on Compact", "False"},
      {"Jet OLEDB:Compact Without Replica Repair", "False"},
      {"Jet OLEDB:SFP", "False"},
  };
  std::string out;
  for (const auto& [key, value] : pairs) {
    if (!out.empty()) out += ';';
    out += key;
    out += '=';
    out += value;
  }
  return out;
}

bool IsCommandSwitch(std::string_view arg, std::string_view word) {
  if (arg.empty() || (arg[0] != '-' && arg[0] != '/')) return false;
  return EqualsNoCase(arg.substr(1), word);
}

TStartMode StartModeOf(const std::vector<std::string>& args) {
  auto any = [&](std::string_view word) {
    return std::any_of(args.begin(), args.end(), [&](const std::string& a) { return IsCommandSwitch(a, word); });
  };
  if (any("AUTOMATION") || any("EMBEDDING")) return TStartMode::Automation;
  if (any("REGSERVER")) return TStartMode::RegServer;
  if (any("UNREGSERVER")) return TStartMode::UnregServer;
  return TStartMode::Normal;
}

}  // namespace tavlox::ops
