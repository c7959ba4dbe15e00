// The shell's pure decisions: the integer syntax of the version check, which processes and cache
// entries the clean-up touches, where the tray sweep puts the cursor, the database connection
// string and the start mode chosen by the command line. No platform headers here.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tavlox::ops {

// Raised by StrToInt for a text that is not an integer of the runtime's syntax.
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The runtime's string-to-integer conversion: leading spaces, an optional sign, then decimal
// digits or hexadecimal digits after "$", "x", "X", "0x" or "0X", and nothing after the digits.
// Decimal must fit a signed 32-bit value; hexadecimal gives the 32-bit pattern (8 digits).
std::optional<int32_t> TryStrToInt(std::string_view text);
// As TryStrToInt, raising EConvertError "'<text>' is not a valid integer value" on failure.
int32_t StrToInt(std::string_view text);

// Upper-cases the letters a to z only; every other byte stays as it is.
std::string UpperAscii(std::string_view text);

// Whether a process entry's executable (szExeFile up to its first zero) names `target`: its part
// after the last "\" or ":", or else the whole of it, equals the target without regard to the
// case of a to z.
bool ExeNameMatches(std::string_view exeFile, std::string_view target);

// Attribute word of a directory and nothing else; such entries stay in the cache.
constexpr uint32_t kDirectoryOnlyAttributes = 16;
// Marker of a download still in progress.
constexpr std::string_view kPartialDownloadMarker = ".!mv";
// Attribute mask of the cache enumeration: entries of every kind.
constexpr uint32_t kCacheEnumerationMask = 63;

// Whether the cache clean-up deletes an entry with this attribute word and name.
bool ShouldDeleteCacheEntry(uint32_t attributes, std::string_view name);

// Tells whether a byte starts a double-byte character of the 8-bit code page in use.
using LeadBytePredicate = bool (*)(unsigned char);
// Lead bytes of GBK (code page 936), the code page of the program's 8-bit texts.
bool IsGbkLeadByte(unsigned char byte);

// The cache directory as the clean-up uses it: names are appended to it directly, so a value
// without a trailing separator gets a backslash; otherwise the pattern would reach into the
// parent directory. A trailing byte 0x5C that is the second half of a double-byte character
// is no separator. Empty stays empty.
std::string CacheDirectoryOf(std::string_view value, LeadBytePredicate isLeadByte = IsGbkLeadByte);

struct CursorPoint {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const CursorPoint&, const CursorPoint&) = default;
};

struct ScreenRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// The cursor positions of the tray sweep over `area` with small icons of cx by cy pixels: rows
// 0 to height/cy and columns 0 to width/cx, both inclusive, row by row, left to right. A zero
// or negative icon size gives no positions.
std::vector<CursorPoint> TraySweepPositions(const ScreenRect& area, int32_t cx, int32_t cy);

// The connection string of the data module for a database "db1.mdb" in `exeDir` (the
// executable's directory with its trailing backslash).
std::string JetConnectionString(std::string_view exeDir);

enum class TStartMode { Normal, Automation, RegServer, UnregServer };

// Whether `arg` is "-" or "/" followed by `word` (whole argument, any case of a to z).
bool IsCommandSwitch(std::string_view arg, std::string_view word);
// The start mode of the automation server for the command-line arguments (program name
// excluded). "AUTOMATION" or "EMBEDDING" win over "REGSERVER", which wins over "UNREGSERVER".
TStartMode StartModeOf(const std::vector<std::string>& args);

}  // namespace tavlox::ops
