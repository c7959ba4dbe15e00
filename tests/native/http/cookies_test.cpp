// The cookie store: parsing, the domain check, replacing, expiry and the Cookie header.
#include <gtest/gtest.h>

#include "http/Cookies.h"
#include "http/InternetDate.h"
#include "http/NetException.h"
#include "http/NetURI.h"

namespace {

std::string HeaderFor(TNetCookieManager& m, const std::string& url) { return m.CookieHeaderFor(TNetURI(url), false); }

TEST(Cookie, ParsesNameValueAndAttributes) {
  TNetCookieRFC2109 c;
  c.Parse("sid=abc=def; path=\"/x/\"; Domain=.example.com; expires=Wed, 01 Jan 2031 00:00:00 GMT; secure; Max-Age=60;");
  EXPECT_EQ(c.ItemName, "sid");
  EXPECT_EQ(c.ItemValue, "abc=def");
  EXPECT_EQ(c.ItemPath, "/x/");
  EXPECT_EQ(c.ItemDomain, ".example.com");
  EXPECT_EQ(c.ExpiryText, "Wed, 01 Jan 2031 00:00:00 GMT");
  EXPECT_TRUE(c.SecureOnly);
  EXPECT_EQ(c.MaxAgeSeconds, 60);
  EXPECT_EQ(c.Flavor, TNetCookieFlavor::RFC2109);

  TNetCookieRFC2109 bare;
  bare.Parse("novalue");
  EXPECT_EQ(bare.ItemName, "");
  EXPECT_EQ(bare.ItemValue, "");

  TNetCookieRFC2109 maxAge;
  maxAge.Parse("a=1; max-age=3600; path=/; path=/ignored");
  EXPECT_EQ(maxAge.Flavor, TNetCookieFlavor::Netscape);
  EXPECT_EQ(maxAge.ItemPath, "/") << "the first occurrence of an attribute counts";
  TDateTime expiry = InternetStrToDateTime(maxAge.ExpiryText);
  EXPECT_NEAR(expiry, NowLocal() + 3600.0 / 86400, 5.0 / 86400);
}

TEST(Cookie, Rfc2965Ports) {
  TNetCookieRFC2965 c;
  c.Parse("a=1; Port=\"80, 8080\"; Discard; CommentURL=http://x/");
  EXPECT_EQ(c.Ports, (std::vector<int>{80, 8080}));
  EXPECT_TRUE(c.DiscardFlag);
  EXPECT_EQ(c.CommentLink, "http://x/");
  TNetCookieRFC2965 none;
  none.Parse("a=1");
  EXPECT_EQ(none.Ports, (std::vector<int>{80}));
  TNetCookieRFC2965 bad;
  EXPECT_THROW(bad.Parse("a=1; Port=\"80,x\""), EConvertError);
}

TEST(Cookie, DomainCheck) {
  const struct {
    const char *domain, *host;
    bool accepted;
  } cases[] = {
      {"", "www.example.com", true},
      {"www.example.com", "www.example.com", true},
      {"WWW.example.com", "www.example.com", false},  // an exact host name is compared with case
      {".example.com", "www.example.com", true},
      {".example.com", "a.www.example.com", false},  // only one label below the domain
      {"example.com", "www.example.com", false},
      {"", "127.0.0.1", true},
      {"127.0.0.1", "127.0.0.1", true},
      {".0.0.1", "127.0.0.1", false},
      {"localhost", "localhost", true},
  };
  for (const auto& c : cases) {
    TNetCookieRFC2109 k;
    k.Parse(std::string("a=1; path=/") + (*c.domain ? std::string("; domain=") + c.domain : std::string()));
    EXPECT_EQ(k.CheckDomain(c.host), c.accepted) << c.domain << " from " << c.host;
  }
}

TEST(CookieManager, SendsBackWhatItMay) {
  TNetCookieManager m;
  m.AcceptCookie("sid=1; path=/", "h.example");
  m.AcceptCookie("nopath=1", "h.example");
  m.AcceptCookie("empty=; path=/", "h.example");
  m.AcceptCookie("sec=1; path=/; secure", "h.example");
  m.AcceptCookie("old=1; path=/; expires=Thu, 01 Jan 1998 00:00:00 GMT", "h.example");
  m.AcceptCookie("bad=1; path=/; expires=not a date", "h.example");
  m.AcceptCookie("other=1; path=/; domain=elsewhere.example", "h.example");
  EXPECT_EQ(m.Count(), 6u);  // the foreign domain is rejected
  EXPECT_EQ(HeaderFor(m, "http://h.example/any/dir/x.txt"), "sid=1");
  EXPECT_EQ(m.Count(), 4u) << "expired and unreadable expiry dates are dropped";
  EXPECT_EQ(m.CookieHeaderFor(TNetURI("http://h.example/"), true), "sec=1; sid=1");
  EXPECT_EQ(HeaderFor(m, "http://other.example/"), "");
}

TEST(CookieManager, LongerPathsFirstAndReplacementInPlace) {
  TNetCookieManager m;
  m.AcceptCookie("root=r; path=/", "upd.example");
  m.AcceptCookie("sub=s; path=/tavlox/", "upd.example");
  m.AcceptCookie("root2=r2; path=/", "upd.example");
  EXPECT_EQ(HeaderFor(m, "http://upd.example/tavlox/ver.txt"), "sub=s; root2=r2; root=r");
  EXPECT_EQ(HeaderFor(m, "http://upd.example/other/"), "root2=r2; root=r");
  // Same domain and name, another path: the newer cookie replaces the stored one.
  m.AcceptCookie("ROOT=new; path=/tavlox/", "upd.example");
  EXPECT_EQ(m.Count(), 3u);
  EXPECT_EQ(HeaderFor(m, "http://upd.example/tavlox/ver.txt"), "sub=s; ROOT=new; root2=r2");
  EXPECT_EQ(HeaderFor(m, "http://upd.example/"), "root2=r2");
}

TEST(CookieManager, DotDomainReachesSiblingHosts) {
  TNetCookieManager m;
  m.AcceptCookie("d=1; path=/; domain=.example.com", "a.example.com");
  EXPECT_EQ(HeaderFor(m, "http://b.example.com/"), "d=1");
  EXPECT_EQ(HeaderFor(m, "http://deep.b.example.com/"), "d=1");
  EXPECT_EQ(HeaderFor(m, "http://example.org/"), "");
}

TEST(CookieManager, NewCookieEventMayRefuse) {
  TNetCookieManager m;
  m.OnNewCookie = [](TNetCookieManager&, TNetNetscapeCookie& c, bool& accept) { accept = c.ItemName != "no"; };
  m.AcceptCookie("no=1; path=/", "h");
  m.AcceptCookie("yes=1; path=/", "h");
  EXPECT_EQ(HeaderFor(m, "http://h/"), "yes=1");
}

}  // namespace
