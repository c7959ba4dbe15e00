// URL splitting, path resolution, header lines and internet dates.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <regex>

#include "http/HeaderList.h"
#include "http/InternetDate.h"
#include "http/NetException.h"
#include "http/NetURI.h"

namespace {

struct UriCase {
  const char* url;
  const char* scheme;
  const char* login;
  const char* password;
  const char* host;
  const char* port;
  const char* directory;
  const char* file;
  const char* query;
  const char* fragment;
};

TEST(NetURI, SplitsUrls) {
  const UriCase cases[] = {
      {"http://upd.example/tavlox/ver.txt", "http", "", "", "upd.example", "", "/tavlox/", "ver.txt", "", ""},
      {"http://upd.example", "http", "", "", "upd.example", "", "/", "", "", ""},
      {"http://upd.example/", "http", "", "", "upd.example", "", "/", "", "", ""},
      {"http://h:8080/a/b.php?x=1#frag", "http", "", "", "h", "8080", "/a/", "b.php", "?x=1", "frag"},
      {"http://h/a/b#frag", "http", "", "", "h", "", "/a/", "b", "", "frag"},
      {"http://user:pw@h/x", "http", "user", "pw", "h", "", "/", "x", "", ""},
      {"http://user@h/x", "http", "user", "", "h", "", "/", "x", "", ""},
      {"http://:pw@h/x", "http", "", "", "h", "", "/", "x", "", ""},
      {"http://h\\dir\\file.txt", "http", "", "", "h", "", "/dir/", "file.txt", "", ""},
      {"/dir/file.txt", "", "", "", "", "", "/dir/", "file.txt", "", ""},
      {"file.txt", "", "", "", "", "", "", "file.txt", "", ""},
      {"http://h/a/b=c?d", "http", "", "", "h", "", "/a/", "b=c", "?d", ""},
      {"http://h/a/x=1/b", "http", "", "", "h", "", "/a/", "x", "=1/b", ""},
      {"http://h/a b/\xc4\xe3.exe", "http", "", "", "h", "", "/a b/", "\xc4\xe3.exe", "", ""},
      // The second byte of a double-byte character is never taken for a backslash.
      {"http://h/\x95\\x.txt", "http", "", "", "h", "", "/", "\x95\\x.txt", "", ""},
  };
  for (const UriCase& c : cases) {
    SCOPED_TRACE(c.url);
    TNetURI u(c.url);
    EXPECT_EQ(u.Scheme, c.scheme);
    EXPECT_EQ(u.LoginName, c.login);
    EXPECT_EQ(u.LoginPassword, c.password);
    EXPECT_EQ(u.HostName, c.host);
    EXPECT_EQ(u.PortText, c.port);
    EXPECT_EQ(u.Directory, c.directory);
    EXPECT_EQ(u.FileName, c.file);
    EXPECT_EQ(u.Query, c.query);
    EXPECT_EQ(u.Fragment, c.fragment);
  }
}

TEST(NetURI, ComposesAndRefusesMissingParts) {
  TNetURI u("http://user:pw@h:81/d/f?q#x");
  EXPECT_EQ(u.ComposeUri(true, true), "http://user:pw@h:81/d/f?q#x");
  EXPECT_EQ(u.ComposeUri(false, false), "http://h:81/d/f?q");
  TNetURI noScheme("/d/f");
  try {
    noScheme.ComposeUri(false, false);
    FAIL();
  } catch (const ENetURIException& e) {
    EXPECT_EQ(e.Message(), "Protocol field is empty");
  }
  TNetURI noHost;
  noHost.Scheme = "http";
  try {
    noHost.ComposeUri(false, false);
    FAIL();
  } catch (const ENetURIException& e) {
    EXPECT_EQ(e.Message(), "Host field is empty");
  }
}

TEST(NetURI, ResolvesPaths) {
  const struct {
    const char *base, *path, *result;
  } cases[] = {
      {"/a/b/", "/x/y", "/x/y"}, {"/a/b/", "c", "/a/b/c"},      {"/a/b", "c/", "/a/b/c/"},
      {"/a/b/", "../c", "/a/c"}, {"/a/b/", "./c", "/a/b/./c"}, {"/a//b/", "c", "/a/b/c"},
      {"/a/b/", "", "/a/b/"},    {"", "c", "c"},
  };
  for (const auto& c : cases) EXPECT_EQ(TNetURI::ResolvePath(c.base, c.path), c.result) << c.base << " + " << c.path;
}

TEST(HeaderList, LooksUpNamesWithoutCaseAndUnfolds) {
  TNetHeaderList h;
  h.Lines = {"content-length:  42 ", "X-Multi: one", "\ttwo", "  three  ", "Content-Type : text/plain",
             "Set-Cookie: a=1", "set-cookie: b=2", "NoColon"};
  EXPECT_EQ(h.ValueOf("Content-Length"), "42");
  EXPECT_EQ(h.ValueOf("X-MULTI"), "one two three");
  EXPECT_EQ(h.ValueOf("Content-Type"), "") << "a blank before the colon is part of the name";
  EXPECT_EQ(h.ValueOf("Missing"), "");
  std::vector<std::string> v;
  h.ValuesOf("SET-COOKIE", v);
  EXPECT_EQ(v, (std::vector<std::string>{"a=1", "b=2"}));
}

TEST(HeaderList, SetHeaderReplacesInPlaceAppendsAndDeletes) {
  TNetHeaderList h;
  h.Lines = {"A: 1", "B: 2", " more", "C: 3"};
  h.SetHeader("b", "new");
  EXPECT_EQ(h.Lines, (std::vector<std::string>{"A: 1", "b: new", "C: 3"}));
  h.SetHeader("D", "4");
  EXPECT_EQ(h.Lines.back(), "D: 4");
  h.Lines = {"A: 1", "B: 2", "\tmore", "C: 3"};
  h.SetHeader("B", "");
  EXPECT_EQ(h.Lines, (std::vector<std::string>{"A: 1", "C: 3"}));
}

TEST(HeaderList, FoldsLongLinesOutsideQuotes) {
  TNetHeaderList h(1024);
  std::string value;
  while (value.size() < 1100) value += "word" + std::to_string(value.size()) + " ";
  value.pop_back();
  h.SetHeader("X-Long", value);
  ASSERT_GE(h.Lines.size(), 2u);
  for (size_t i = 0; i < h.Lines.size(); ++i) {
    EXPECT_LE(h.Lines[i].size(), 1024u);
    if (i > 0) {
      EXPECT_EQ(h.Lines[i][0], ' ');
      EXPECT_NE(h.Lines[i][1], ' ');
    }
    EXPECT_NE(h.Lines[i].back(), ' ');
  }
  EXPECT_EQ(h.ValueOf("X-Long"), value);

  // No breakable place outside quotes: one long line.
  for (std::string unbreakable : {std::string(1100, 'a'), "\"" + std::string(600, 'a') + " " + std::string(600, 'b') + "\""}) {
    TNetHeaderList one(1024);
    one.SetHeader("X", unbreakable);
    EXPECT_EQ(one.Lines.size(), 1u);
  }
  // A comma stays at the end of its piece.
  TNetHeaderList commas(20);
  commas.SetHeader("X", "aaaa,bbbb,cccc,dddd,eeee,ffff");
  ASSERT_GE(commas.Lines.size(), 2u);
  EXPECT_EQ(commas.Lines[0].back(), ',');
}

class LocalZone : public testing::Test {
 protected:
  // A fixed zone eight hours east of UTC without daylight saving.
  void SetUp() override {
    const char* tz = std::getenv("TZ");
    saved_ = tz ? tz : "";
    had_ = tz != nullptr;
    setenv("TZ", "CST-8", 1);
    tzset();
  }
  void TearDown() override {
    if (had_) setenv("TZ", saved_.c_str(), 1);
    else unsetenv("TZ");
    tzset();
  }
  std::string saved_;
  bool had_ = false;
};

void ExpectDate(const std::string& text, int y, int mo, int d, int h, int mi, int s) {
  TDateTime t = InternetStrToDateTime(text);
  TDateTime want = EncodeDateTime(y, mo, d, h, mi, s);
  EXPECT_NEAR(t, want, 0.5 / 86400) << text;
}

TEST_F(LocalZone, ReadsTheCommonFormsAsLocalTime) {
  ASSERT_EQ(LocalUtcOffsetMinutes(), 480);
  // 08:49:37 UTC is 16:49:37 in a zone eight hours east.
  ExpectDate("Sun, 06 Nov 1994 08:49:37 GMT", 1994, 11, 6, 16, 49, 37);
  ExpectDate("Sunday, 06-Nov-94 08:49:37 GMT", 1994, 11, 6, 16, 49, 37);
  ExpectDate("Sun Nov  6 08:49:37 1994", 1994, 11, 6, 16, 49, 37);
  ExpectDate("  sun, 6 nov 1994 08:49:37 gmt  ", 1994, 11, 6, 16, 49, 37);
  ExpectDate("Thu, 01 Jan 2026 08:00:00 +0800", 2026, 1, 1, 8, 0, 0);  // midnight UTC
  ExpectDate("Thu, 01 Jan 2026 08:00:00 GMT", 2026, 1, 1, 16, 0, 0);
  ExpectDate("Thu, 01 Jan 2026 08:00:00 -0130", 2026, 1, 1, 17, 30, 0);
  ExpectDate("01 Jan 79 00:00:00 GMT", 2079, 1, 1, 8, 0, 0);
  ExpectDate("01 Jan 80 00:00:00 GMT", 1980, 1, 1, 8, 0, 0);
  ExpectDate("Fri, 01 Jan 2027", 2027, 1, 1, 8, 0, 0);
  ExpectDate("Fri, xx Jan 2027 00:00:00 GMT", 2027, 1, 1, 8, 0, 0);  // a day that is no number is the 1st
}

TEST_F(LocalZone, UnreadableDatesAreZero) {
  for (const char* text : {"", "   ", "garbage", "06 Foo 1994 08:49:37 GMT", "31 Feb 2026 00:00:00 GMT",
                           "Sun, 06 Nov", "Sun, 06 Nov xx yy", "-", "Mon,"})
    EXPECT_EQ(InternetStrToDateTime(text), 0) << text;
}

TEST_F(LocalZone, WritesWithTheLocalOffsetAndReadsBack) {
  TDateTime t = EncodeDateTime(2026, 12, 3, 7, 5, 9);
  std::string s = DateTimeToInternetStr(t);
  EXPECT_EQ(s, "Thu, 3 Dec 2026 07:05:09 +0800");
  EXPECT_NEAR(InternetStrToDateTime(s), t, 0.5 / 86400);
  setenv("TZ", "XST+3:30", 1);
  tzset();
  EXPECT_EQ(DateTimeToInternetStr(t), "Thu, 3 Dec 2026 07:05:09 -0330");
  EXPECT_NEAR(InternetStrToDateTime(DateTimeToInternetStr(t)), t, 0.5 / 86400);
}

}  // namespace
