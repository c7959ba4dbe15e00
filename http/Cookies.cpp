#include "http/Cookies.h"

#include <algorithm>
#include <mutex>

#include "http/InternetDate.h"
#include "http/NetURI.h"
#include "http/TextUtil.h"

using nettext::SameText;
using nettext::Trim;
using nettext::UpperCase;

namespace {
// The value of the first "NAME=value" part with that name (already upper-cased), if any.
bool FindAttribute(const std::vector<std::string>& parts, const std::string& name, std::string& value) {
  for (const std::string& p : parts) {
    size_t eq = p.find('=');
    if (eq != std::string::npos && p.compare(0, eq, name) == 0 && eq == name.size()) {
      value = p.substr(eq + 1);
      return true;
    }
  }
  return false;
}
bool HasWord(const std::vector<std::string>& parts, const std::string& word) {
  return std::find(parts.begin(), parts.end(), word) != parts.end();
}
}  // namespace

bool IsValidIPv4(const std::string& text) {
  int parts = 0;
  size_t start = 0;
  while (true) {
    size_t dot = text.find('.', start);
    std::string part = text.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
    if (part.empty() || part.size() > 3 || !nettext::ParseInt(part) || part[0] == '+' || part[0] == '-') return false;
    if (*nettext::ParseInt(part) > 255) return false;
    ++parts;
    if (dot == std::string::npos) break;
    start = dot + 1;
  }
  return parts == 4;
}

void TNetNetscapeCookie::Parse(const std::string& value) {
  if (value == SourceText) return;
  SourceText = value;
  std::vector<std::string> parts;
  if (value.find(';') == std::string::npos) {
    parts.push_back(value);
  } else {
    size_t start = 0;
    while (true) {
      size_t semi = value.find(';', start);
      std::string part = Trim(value.substr(start, semi == std::string::npos ? std::string::npos : semi - start));
      if (semi == std::string::npos) {
        if (!part.empty()) parts.push_back(part);
        break;
      }
      parts.push_back(part);
      start = semi + 1;
    }
  }
  ItemName.clear(); ItemValue.clear(); ItemPath.clear(); ItemDomain.clear(); ExpiryText.clear();
  SecureOnly = false; MaxAgeSeconds = -1; VersionText.clear(); CommentText.clear(); CommentLink.clear();
  DiscardFlag = false; Ports.clear();
  if (parts.empty()) return;

  const std::string& first = parts[0];
  size_t eq = first.find('=');
  if (eq != std::string::npos) {
    ItemName = first.substr(0, eq);
    ItemValue = first.substr(eq + 1);
  }
  parts.erase(parts.begin());
  for (std::string& p : parts) {
    size_t e = p.find('=');
    p = e == std::string::npos ? UpperCase(p) : UpperCase(p.substr(0, e)) + p.substr(e);
  }

  std::string v;
  if (FindAttribute(parts, "PATH", v)) {
    if (!v.empty() && v.front() == '"') v.erase(0, 1);
    if (!v.empty() && v.back() == '"') v.pop_back();
    ItemPath = v;
  }
  bool hasExpires = FindAttribute(parts, "EXPIRES", ExpiryText);
  FindAttribute(parts, "DOMAIN", ItemDomain);
  SecureOnly = HasWord(parts, "SECURE");

  if (FindAttribute(parts, "MAX-AGE", v)) {
    auto n = nettext::ParseInt64(v);
    MaxAgeSeconds = n ? *n : -1;
  }
  FindAttribute(parts, "VERSION", VersionText);
  FindAttribute(parts, "COMMENT", CommentText);
  if (!hasExpires) {
    Flavor = TNetCookieFlavor::Netscape;
    if (MaxAgeSeconds >= 0) ExpiryText = DateTimeToInternetStr(NowLocal() + double(MaxAgeSeconds) / 86400.0);
  }

  if (dynamic_cast<TNetCookieRFC2965*>(this)) {
    FindAttribute(parts, "COMMENTURL", CommentLink);
    DiscardFlag = HasWord(parts, "DISCARD");
    if (!FindAttribute(parts, "PORT", v)) {
      Ports.assign(1, 80);
    } else if (v.size() >= 2 && v.front() == '"' && v.back() == '"') {
      std::string list = v.substr(1, v.size() - 2);
      size_t start = 0;
      while (true) {
        size_t comma = list.find(',', start);
        Ports.push_back(nettext::StrToInt(Trim(list.substr(start, comma == std::string::npos ? std::string::npos : comma - start))));
        if (comma == std::string::npos) break;
        start = comma + 1;
      }
    }
  }
}

bool TNetNetscapeCookie::CheckDomain(const std::string& host) {
  if (ItemDomain.empty()) ItemDomain = host;
  const std::string& h = host;
  if (IsValidIPv4(h)) return ItemDomain == h;
  size_t hostDot = h.find('.');
  std::string fromDot = hostDot == std::string::npos ? std::string() : h.substr(hostDot);
  if (!(hostDot != std::string::npos && h[0] == '.')) {
    if (!IsValidIPv4(ItemDomain) && !(!ItemDomain.empty() && ItemDomain[0] == '.')) return ItemDomain == h;
    return ItemDomain == fromDot;
  }
  return SameText(ItemDomain, fromDot);
}

TNetCookieManager::TNetCookieManager() = default;

TNetCookieManager::~TNetCookieManager() {
  DropExpired();
  if (OnDestroy) {
    try {
      OnDestroy(*this, cookies_);
    } catch (...) {
    }
  }
}

void TNetCookieManager::AcceptCookie(const std::string& value, const std::string& host) {
  auto c = std::make_unique<TNetCookieRFC2109>();
  c->Parse(value);
  Store(std::move(c), host);
}

void TNetCookieManager::AcceptCookie2(const std::string& value, const std::string& host) {
  auto c = std::make_unique<TNetCookieRFC2965>();
  c->Parse(value);
  Store(std::move(c), host);
}

void TNetCookieManager::Store(std::unique_ptr<TNetNetscapeCookie> cookie, const std::string& host) {
  if (!cookie->CheckDomain(host)) return;
  bool accept = true;
  if (OnNewCookie) OnNewCookie(*this, *cookie, accept);
  if (!accept) return;
  std::unique_lock lock(cookies_.Lock);
  auto d = std::find_if(cookies_.Domains.begin(), cookies_.Domains.end(),
                        [&](const TNetCookieList& l) { return SameText(l.Domain, cookie->ItemDomain); });
  if (d == cookies_.Domains.end()) {
    cookies_.Domains.push_back(TNetCookieList{cookie->ItemDomain, {}});
    d = cookies_.Domains.end() - 1;
  }
  for (auto& stored : d->Cookies)
    if (SameText(stored->ItemName, cookie->ItemName)) {
      // Same domain and name: the newer cookie takes the stored one's place in the list.
      stored = std::move(cookie);
      return;
    }
  d->Cookies.push_back(std::move(cookie));
}

void TNetCookieManager::DropExpired() {
  std::unique_lock lock(cookies_.Lock);
  const TDateTime now = NowLocal();
  for (auto& d : cookies_.Domains) {
    auto& list = d.Cookies;
    list.erase(std::remove_if(list.begin(), list.end(),
                              [&](const std::unique_ptr<TNetNetscapeCookie>& c) {
                                if (c->ExpiryText.empty()) return false;
                                TDateTime expiry = InternetStrToDateTime(c->ExpiryText);
                                return expiry == 0 || expiry < now;
                              }),
               list.end());
  }
}

size_t TNetCookieManager::Count() const {
  std::shared_lock lock(cookies_.Lock);
  size_t n = 0;
  for (const auto& d : cookies_.Domains) n += d.Cookies.size();
  return n;
}

std::string TNetCookieManager::CookieHeaderFor(const TNetURI& uri, bool secure) {
  DropExpired();
  std::shared_lock lock(cookies_.Lock);
  const std::string host = UpperCase(uri.HostName);
  std::vector<const TNetNetscapeCookie*> taken;  // ascending by path, equal paths newest first
  for (const auto& d : cookies_.Domains) {
    if (host.find(UpperCase(d.Domain)) == std::string::npos) continue;
    for (auto it = d.Cookies.rbegin(); it != d.Cookies.rend(); ++it) {
      const TNetNetscapeCookie& c = **it;
      if (c.ItemPath.empty() || uri.Directory.compare(0, c.ItemPath.size(), c.ItemPath) != 0) continue;
      if (c.SecureOnly && !secure) continue;
      if (c.ItemValue.empty()) continue;
      auto pos = std::lower_bound(taken.begin(), taken.end(), &c, [](const TNetNetscapeCookie* a, const TNetNetscapeCookie* b) {
        return nettext::CompareText(a->ItemPath, b->ItemPath) < 0;
      });
      taken.insert(pos, &c);
    }
  }
  std::string value;
  for (auto it = taken.rbegin(); it != taken.rend(); ++it) {
    if (!value.empty()) value += "; ";
    value += (*it)->ItemName + "=" + (*it)->ItemValue;
  }
  return value;
}
