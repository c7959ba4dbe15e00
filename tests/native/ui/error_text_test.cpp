// The standard error box's text: a full stop is added only when the last character sorts after ".".
#include <gtest/gtest.h>

#include "ui/Exceptions.h"

namespace tavlox::ui {
namespace {

TEST(StandardErrorText, FullStopRule) {
  struct Case {
    std::string message, shown;
  };
  const Case cases[] = {
      {"", ""},
      {"disk full", "disk full."},
      {"ends.", "ends."},
      {"really!", "really!"},       // "!" sorts before "."
      {"trailing ", "trailing "},   // so does a blank
      {"a-", "a-"},                 // and "-"
      {"a/", "a/."},                // "/" sorts after "."
      {"99", "99."},
      {"\xb4\xed\xce\xf3", "\xb4\xed\xce\xf3."},  // GBK text: bytes above 0x7F
  };
  for (const Case& c : cases) EXPECT_EQ(StandardErrorText(c.message), c.shown) << c.message;
}

TEST(ExceptionClassName, OwnKindsAndOthers) {
  EXPECT_STREQ(ExceptionClassName(Exception("x")), "Exception");
  EXPECT_STREQ(ExceptionClassName(EOleSysError("x", 5)), "EOleSysError");
  EXPECT_STREQ(ExceptionClassName(std::runtime_error("x")), "Exception");
}

}  // namespace
}  // namespace tavlox::ui
