#include "app/ops/ShellRules.h"

#include <gtest/gtest.h>

using namespace tavlox::ops;

namespace {

struct IntCase {
  const char* text;
  std::optional<int32_t> expected;
};

TEST(StrToInt, AcceptsAndRefusesByTheRuntimeSyntax) {
  const IntCase cases[] = {
      {"13", 13},
      {"0", 0},
      {"  7", 7},             // leading blanks
      {"+5", 5},
      {"-5", -5},
      {"   -12", -12},
      {"$A", 10},              // hexadecimal after each prefix
      {"xA", 10},
      {"XA", 10},
      {"0xA", 10},
      {"0XA", 10},
      {"$a", 10},
      {"-$10", -16},
      {"+0x10", 16},
      {"$FFFFFFFF", -1},       // eight digits are the 32-bit pattern
      {"$80000000", INT32_MIN},
      {"$7FFFFFFF", INT32_MAX},
      {"$000000001", 1},       // leading zeros do not count as digits of the pattern
      {"$100000000", std::nullopt},  // a ninth significant digit
      {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"007", 7},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"+", std::nullopt},
      {"-", std::nullopt},
      {"$", std::nullopt},
      {"0x", std::nullopt},
      {"13\n", std::nullopt},  // a trailing line break
      {"13\r\n", std::nullopt},
      {"13 ", std::nullopt},
      {"\t7", std::nullopt},   // only spaces may lead
      {"- 5", std::nullopt},
      {"+-5", std::nullopt},
      {"1.0", std::nullopt},
      {"12a", std::nullopt},
      {"$G", std::nullopt},
      {"0x-1", std::nullopt},
      {"$$1", std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("text \"") + c.text + "\"");
    EXPECT_EQ(TryStrToInt(c.text), c.expected);
    if (c.expected) {
      EXPECT_EQ(StrToInt(c.text), *c.expected);
    } else {
      EXPECT_THROW(StrToInt(c.text), EConvertError);
    }
  }
}

TEST(StrToInt, ErrorNamesTheText) {
  try {
    StrToInt("13\n");
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'13\n' is not a valid integer value");
  }
}

TEST(StrToInt, EmbeddedZeroIsNotTheEnd) {
  EXPECT_EQ(TryStrToInt(std::string_view("12\0", 3)), std::nullopt);
}

TEST(ExeNameMatches, ComparesShortOrFullNameWithoutLetterCase) {
  struct Case {
    const char* exe;
    const char* target;
    bool match;
  } cases[] = {
      {"QvodPlayer.exe", "QvodPlayer.exe", true},
      {"qvodplayer.EXE", "QvodPlayer.exe", true},
      {"QVODPLAYER.EXE", "QvodPlayer.exe", true},
      {"C:\\Program Files\\Qvod\\QvodPlayer.exe", "QvodPlayer.exe", true},
      {"C:QvodPlayer.exe", "QvodPlayer.exe", true},
      {"\\??\\C:\\x\\QvodTerminal.exe", "QvodTerminal.exe", true},
      {"C:\\x\\QvodPlayer.exe", "C:\\X\\QVODPLAYER.EXE", true},  // whole name
      {"QvodPlayer.exe.bak", "QvodPlayer.exe", false},
      {"MyQvodPlayer.exe", "QvodPlayer.exe", false},
      {"QvodPlayer", "QvodPlayer.exe", false},
      {"C:\\QvodPlayer.exe\\other.exe", "QvodPlayer.exe", false},
      {"", "QvodPlayer.exe", false},
      {"QvodPlayer.exe ", "QvodPlayer.exe", false},
      // Only a to z fold: accented or double-byte bytes compare exactly.
      {"\xC4\xE3.exe", "\xC4\xE3.EXE", true},
      {"\xE4.exe", "\xC4.exe", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.exe) + " vs " + c.target);
    EXPECT_EQ(ExeNameMatches(c.exe, c.target), c.match);
  }
}

TEST(UpperAscii, ChangesOnlyLettersAToZ) {
  EXPECT_EQ(UpperAscii("abz{}`AZ09\xE4\xFF"), "ABZ{}`AZ09\xE4\xFF");
}

TEST(ShouldDeleteCacheEntry, KeepsDirectoriesAndPartialDownloads) {
  struct Case {
    uint32_t attributes;
    const char* name;
    bool remove;
  } cases[] = {
      {0x20, "a.rmvb", true},
      {0x80, "a.rmvb", true},
      {0x01, "readonly.rmvb", true},  // tried; the platform refuses it
      {0x20, "b.rmvb.!mv", false},
      {0x20, ".!mv", false},
      {0x20, "b.rmvb.!MV", true},     // the marker is case-sensitive
      {0x20, "b.!mvx", false},
      {16, "sub", false},
      {16, ".", false},
      {16, "..", false},
      {16 | 0x02, "hidden-dir", true},  // a directory with more bits is tried (and refused)
      {0x10 | 0x20, "archived-dir", true},
      {0, "plain", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ShouldDeleteCacheEntry(c.attributes, c.name), c.remove);
  }
}

TEST(CacheDirectoryOf, AddsTheMissingBackslash) {
  struct Case {
    const char* value;
    const char* dir;
  } cases[] = {
      {"", ""},
      {"C:\\cache\\", "C:\\cache\\"},
      {"C:\\cache", "C:\\cache\\"},
      {"C:/cache/", "C:/cache/"},
      {"C:\\", "C:\\"},
      {"C:", "C:\\"},
      {"\\", "\\"},
      // "\xC4\xE3" is a double-byte character; "\x95\x5C" ends in a trail byte 0x5C, not a separator.
      {"C:\\\xC4\xE3\\", "C:\\\xC4\xE3\\"},
      {"C:\\\xC4\xE3", "C:\\\xC4\xE3\\"},
      {"C:\\\x95\x5C", "C:\\\x95\x5C\\"},
      {"C:\\\x95\x5C\\", "C:\\\x95\x5C\\"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(CacheDirectoryOf(c.value), c.dir);
  }
  // Without a double-byte code page every 0x5C byte is a separator.
  EXPECT_EQ(CacheDirectoryOf("C:\\\x95\x5C", nullptr), "C:\\\x95\x5C");
}

TEST(TraySweepPositions, SweepsRowsThenColumnsInclusive) {
  auto points = TraySweepPositions({1000, 980, 1190, 1020}, 16, 16);
  // 190 x 40 with 16-pixel icons: rows 0..2, columns 0..11.
  ASSERT_EQ(points.size(), 36u);
  EXPECT_EQ(points.front(), (CursorPoint{1000, 980}));
  EXPECT_EQ(points[1], (CursorPoint{1016, 980}));
  EXPECT_EQ(points[11], (CursorPoint{1176, 980}));
  EXPECT_EQ(points[12], (CursorPoint{1000, 996}));
  EXPECT_EQ(points.back(), (CursorPoint{1176, 1012}));
  for (size_t i = 0; i < points.size(); ++i) {
    EXPECT_EQ(points[i].x, 1000 + int32_t(i % 12) * 16);
    EXPECT_EQ(points[i].y, 980 + int32_t(i / 12) * 16);
  }
}

TEST(TraySweepPositions, SizesAndDegenerateAreas) {
  struct Case {
    ScreenRect area;
    int32_t cx, cy;
    size_t count;
  } cases[] = {
      {{0, 0, 190, 40}, 16, 16, 36},
      {{0, 0, 32, 32}, 16, 16, 9},   // exact multiples include the far edge
      {{0, 0, 15, 15}, 16, 16, 1},
      {{0, 0, 0, 0}, 16, 16, 1},
      {{-50, -20, 0, 0}, 16, 16, 4 * 2},
      {{0, 0, 190, 40}, 20, 24, 2 * 10},
      {{10, 10, 0, 0}, 16, 16, 1},   // -10 div 16 truncates to 0: one position
      {{40, 40, 0, 0}, 16, 16, 0},   // inverted beyond one icon: no sweep
      {{0, 0, 190, 40}, 0, 16, 0},   // no icon size: no sweep
      {{0, 0, 190, 40}, 16, -1, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.area.left << "," << c.area.top << "," << c.area.right << ","
                                    << c.area.bottom << " icon " << c.cx << "x" << c.cy);
    EXPECT_EQ(TraySweepPositions(c.area, c.cx, c.cy).size(), c.count);
  }
}

TEST(JetConnectionString, HoldsTheDirectoryUnchanged) {
  const std::string dir = "C:\\Program Files\\\xB5\xE7\xD3\xB0 dir\\";  // GBK "电影"
  EXPECT_EQ(JetConnectionString(dir),
            "Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=" + dir +
                "db1.mdb;Mode=Share Deny None;Extended Properties=\"\";Jet OLEDB:System database=\"\";"
                "Jet OLEDB:Registry Path=\"\";Jet OLEDB:Database Password=\"\";Jet OLEDB:Engine Type=5;"
                "Jet OLEDB:Database Locking Mode=1;Jet OLEDB:Global Partial Bulk Ops=2;"
                "Jet OLEDB:Global Bulk Transactions=1;Jet OLEDB:New Database Password=\"\";"
                "Jet OLEDB:Create System Database=False;Jet OLEDB:Encrypt Database=False;"
                "Jet OLEDB:Don't Copy Locale on Compact=False;Jet OLEDB:Compact Without Replica Repair=False;"
                "Jet OLEDB:SFP=False");
}

TEST(StartMode, SwitchWordsAfterDashOrSlash) {
  using Args = std::vector<std::string>;
  struct Case {
    Args args;
    TStartMode mode;
  } cases[] = {
      {{}, TStartMode::Normal},
      {{"/REGSERVER"}, TStartMode::RegServer},
      {{"-regserver"}, TStartMode::RegServer},
      {{"/RegServer"}, TStartMode::RegServer},
      {{"/UnRegServer"}, TStartMode::UnregServer},
      {{"-UNREGSERVER"}, TStartMode::UnregServer},
      {{"-AUTOMATION"}, TStartMode::Automation},
      {{"/Embedding"}, TStartMode::Automation},
      {{"REGSERVER"}, TStartMode::Normal},       // no switch character
      {{"/REGSERVERX"}, TStartMode::Normal},     // whole argument only
      {{"/ REGSERVER"}, TStartMode::Normal},
      {{"\\REGSERVER"}, TStartMode::Normal},
      {{"--REGSERVER"}, TStartMode::Normal},
      {{"/"}, TStartMode::Normal},
      {{"x", "/regserver"}, TStartMode::RegServer},  // any position
      {{"/UNREGSERVER", "/REGSERVER"}, TStartMode::RegServer},  // rule order, not argument order
      {{"/REGSERVER", "-Automation"}, TStartMode::Automation},
  };
  for (const auto& c : cases) {
    std::string joined;
    for (const auto& a : c.args) joined += "[" + a + "]";
    SCOPED_TRACE(joined);
    EXPECT_EQ(StartModeOf(c.args), c.mode);
  }
}

}  // namespace
