#include "http/NetURI.h"

#include "http/NetException.h"

namespace {
// Lead bytes of a double-byte character in the program's code page (GBK): the byte after one is
// the character's second half and is never taken for a backslash.
bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
}  // namespace

void TNetURI::ParseUri(const std::string& url) {
  std::string s = url;
  for (size_t i = 0; i < s.size(); ++i) {
    if (IsLeadByte((unsigned char)s[i]) && i + 1 < s.size()) {
      ++i;
      continue;
    }
    if (s[i] == '\\') s[i] = '/';
  }
  Scheme.clear(); LoginName.clear(); LoginPassword.clear(); HostName.clear(); PortText.clear();
  Directory.clear(); FileName.clear(); Query.clear(); Fragment.clear();

  const size_t sep = s.find("://");
  const bool hasScheme = sep != std::string::npos;
  if (hasScheme) {
    Scheme = s.substr(0, sep);
    s.erase(0, sep + 3);
    std::string authority;
    size_t slash = s.find('/');
    if (slash == std::string::npos) {
      authority = s;
      s.clear();
    } else {
      authority = s.substr(0, slash);
      s.erase(0, slash + 1);
    }
    size_t at = authority.find('@');
    if (at != std::string::npos) {
      std::string cred = authority.substr(0, at);
      authority.erase(0, at + 1);
      size_t colon = cred.find(':');
      LoginName = cred.substr(0, colon);
      if (colon != std::string::npos) LoginPassword = cred.substr(colon + 1);
      if (LoginName.empty()) LoginPassword.clear();
    }
    size_t colon = authority.find(':');
    HostName = authority.substr(0, colon);
    if (colon != std::string::npos) PortText = authority.substr(colon + 1);
  }

  size_t q = s.find('?');
  if (q == std::string::npos) q = s.find('=');
  size_t slash = q == std::string::npos ? s.rfind('/') : (q == 0 ? std::string::npos : s.rfind('/', q - 1));
  size_t fileStart = slash == std::string::npos ? 0 : slash + 1;
  if (hasScheme)
    Directory = "/" + (slash == std::string::npos ? std::string() : s.substr(0, slash + 1));
  else
    Directory = slash == std::string::npos ? std::string() : s.substr(0, slash + 1);
  if (q == std::string::npos) {
    FileName = s.substr(fileStart);
  } else {
    FileName = s.substr(fileStart, q - fileStart);
    Query = s.substr(q);
  }
  if (hasScheme) {
    size_t hash = FileName.find('#');
    if (hash != std::string::npos) {
      Fragment = FileName.substr(hash + 1);
      FileName.erase(hash);
    }
  }
  if (Fragment.empty()) {
    size_t hash = Query.find('#');
    if (hash != std::string::npos) {
      Fragment = Query.substr(hash + 1);
      Query.erase(hash);
    }
  }
}

std::string TNetURI::ComposeUri(bool withCredentials, bool withFragment) const {
  if (Scheme.empty()) throw ENetURIException("Protocol field is empty");
  if (HostName.empty()) throw ENetURIException("Host field is empty");
  std::string r = Scheme + "://";
  if (withCredentials && !LoginName.empty()) {
    r += LoginName;
    if (!LoginPassword.empty()) r += ":" + LoginPassword;
    r += "@";
  }
  r += HostName;
  if (!PortText.empty()) r += ":" + PortText;
  r += Directory + FileName + Query;
  if (withFragment && !Fragment.empty()) r += "#" + Fragment;
  return r;
}

std::string TNetURI::ResolvePath(const std::string& base, const std::string& path, char delimiter) {
  if (!path.empty() && path[0] == delimiter) return path;
  const bool keepTrailing = path.empty() || path.back() == delimiter;
  std::string w = base;
  if (!w.empty() && w.back() != delimiter) w += delimiter;
  w += path;
  std::string r;
  for (size_t i = 0; i < w.size(); ++i) {
    char c = w[i];
    if (c == delimiter) {
      if (r.empty() || r.back() != delimiter) r += delimiter;
    } else if (c == '.' && !r.empty() && r.back() == delimiter && i + 1 < w.size() && w[i + 1] == '.') {
      // ".." removes the delimiter before it and the segment before that delimiter.
      r.pop_back();
      size_t prev = r.rfind(delimiter);
      r.erase(prev == std::string::npos ? 0 : prev + 1);
      ++i;
    } else {
      r += c;
    }
  }
  if (r.size() > 1 && r.back() == delimiter && !keepTrailing) r.pop_back();
  return r;
}
