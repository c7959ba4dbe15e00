// Splitting a URL into its parts and joining them again. No character is ever percent-encoded or
// decoded: the parts are the bytes of the 8-bit URL as they stand.
#pragma once

#include <string>

class TNetURI {
 public:
  TNetURI() = default;
  explicit TNetURI(const std::string& url) { ParseUri(url); }

  void ParseUri(const std::string& url);
  // The full URL; fails with ENetURIException when the scheme or the host is empty.
  std::string ComposeUri(bool withCredentials, bool withFragment) const;
  // Resolves a relative path against a base path; a path that starts with the delimiter is
  // returned unchanged.
  static std::string ResolvePath(const std::string& base, const std::string& path, char delimiter = '/');

  std::string Scheme;
  std::string LoginName;
  std::string LoginPassword;
  std::string HostName;
  std::string PortText;
  std::string Directory;
  std::string FileName;
  std::string Query;
  std::string Fragment;
};
