// Small text helpers shared by the HTTP client's parts. 8-bit strings throughout; only ASCII
// letters change case, so GBK bytes pass through untouched.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace nettext {

inline char Upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }
inline std::string UpperCase(std::string_view s) {
  std::string r(s);
  for (char& c : r) c = Upper(c);
  return r;
}
inline bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Upper(a[i]) != Upper(b[i])) return false;
  return true;
}
// Case-insensitive ordering of ASCII letters.
inline int CompareText(std::string_view a, std::string_view b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = (unsigned char)Upper(a[i]), y = (unsigned char)Upper(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}
// Blanks and control characters count as white space at the ends of a text.
inline bool IsSpace(char c) { return (unsigned char)c <= ' '; }
inline std::string Trim(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && IsSpace(s[b])) ++b;
  while (e > b && IsSpace(s[e - 1])) --e;
  return std::string(s.substr(b, e - b));
}
inline std::string TrimLeft(std::string_view s) {
  size_t b = 0;
  while (b < s.size() && IsSpace(s[b])) ++b;
  return std::string(s.substr(b));
}
inline std::string TrimRight(std::string_view s) {
  size_t e = s.size();
  while (e > 0 && IsSpace(s[e - 1])) --e;
  return std::string(s.substr(0, e));
}

// A decimal integer with an optional sign and nothing else; empty when the text is not one or
// does not fit.
inline std::optional<int64_t> ParseInt64(std::string_view s, int64_t lo = INT64_MIN, int64_t hi = INT64_MAX) {
  size_t i = 0;
  bool neg = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
  if (i == s.size()) return std::nullopt;
  uint64_t v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return std::nullopt;
    if (v > (UINT64_MAX - 9) / 10) return std::nullopt;
    v = v * 10 + uint64_t(s[i] - '0');
    if (v > uint64_t(INT64_MAX) + 1) return std::nullopt;
  }
  if (!neg && v > uint64_t(INT64_MAX)) return std::nullopt;
  int64_t r = neg ? (v == uint64_t(INT64_MAX) + 1 ? INT64_MIN : -int64_t(v)) : int64_t(v);
  if (r < lo || r > hi) return std::nullopt;
  return r;
}
inline std::optional<int> ParseInt(std::string_view s) {
  auto v = ParseInt64(s, INT32_MIN, INT32_MAX);
  if (!v) return std::nullopt;
  return int(*v);
}
inline int StrToIntDef(std::string_view s, int def) {
  auto v = ParseInt(s);
  return v ? *v : def;
}

}  // namespace nettext

#include "http/NetException.h"

namespace nettext {
// The integer conversion every caller of the client may meet: a text that must be a number.
inline int StrToInt(std::string_view s) {
  auto v = ParseInt(s);
  if (!v) throw EConvertError("'" + std::string(s) + "' is not a valid integer value");
  return *v;
}
}  // namespace nettext
