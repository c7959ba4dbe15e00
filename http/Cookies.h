// The cookie store of one HTTP client: cookies received in "Set-cookie" and "Set-cookie2" headers,
// kept in memory for the life of the client and sent back in the "Cookie" header.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <shared_mutex>
#include <string>
#include <vector>

class TNetURI;

enum class TNetCookieFlavor { Netscape, RFC2109, RFC2965 };

class TNetNetscapeCookie {
 public:
  explicit TNetNetscapeCookie(TNetCookieFlavor flavor = TNetCookieFlavor::Netscape) : Flavor(flavor) {}
  virtual ~TNetNetscapeCookie() = default;

  // Reads a header value into the cookie's fields (a value equal to the last one read changes
  // nothing).
  void Parse(const std::string& value);
  // Whether the host that sent the cookie may set it for its domain (sets the domain to the host
  // when the cookie names none).
  bool CheckDomain(const std::string& host);

  std::string SourceText;
  std::string ItemName;
  std::string ItemValue;
  std::string ItemPath;
  std::string ItemDomain;
  std::string ExpiryText;
  bool SecureOnly = false;
  TNetCookieFlavor Flavor;
  int64_t MaxAgeSeconds = -1;
  std::string VersionText;
  std::string CommentText;
  std::string CommentLink;
  bool DiscardFlag = false;
  std::vector<int> Ports;
};

class TNetCookieRFC2109 : public TNetNetscapeCookie {
 public:
  TNetCookieRFC2109() : TNetNetscapeCookie(TNetCookieFlavor::RFC2109) {}
};

class TNetCookieRFC2965 : public TNetCookieRFC2109 {
 public:
  TNetCookieRFC2965() { Flavor = TNetCookieFlavor::RFC2965; }
};

// The cookies of one domain, in order of first appearance of their names.
struct TNetCookieList {
  std::string Domain;
  std::vector<std::unique_ptr<TNetNetscapeCookie>> Cookies;
};

class TNetCookies {
 public:
  std::vector<TNetCookieList> Domains;
  mutable std::shared_mutex Lock;
};

class TNetCookieManager {
 public:
  TNetCookieManager();
  ~TNetCookieManager();
  TNetCookieManager(const TNetCookieManager&) = delete;
  TNetCookieManager& operator=(const TNetCookieManager&) = delete;

  // A "Set-cookie" value received from the host.
  void AcceptCookie(const std::string& value, const std::string& host);
  // A "Set-cookie2" value received from the host.
  void AcceptCookie2(const std::string& value, const std::string& host);
  // Drops expired cookies and returns the "Cookie" header value for the URI (possibly "").
  std::string CookieHeaderFor(const TNetURI& uri, bool secure);

  // Total number of cookies stored.
  size_t Count() const;
  const TNetCookies& CookieCollection() const { return cookies_; }

  std::function<void(TNetCookieManager& sender, TNetNetscapeCookie& cookie, bool& accept)> OnNewCookie;
  std::function<void(TNetCookieManager& sender, TNetCookies& collection)> OnDestroy;

 private:
  void Store(std::unique_ptr<TNetNetscapeCookie> cookie, const std::string& host);
  void DropExpired();
  TNetCookies cookies_;
};

// A valid IPv4 address: four dot-separated decimal numbers from 0 to 255.
bool IsValidIPv4(const std::string& text);
