#include "http/NetHTTP.h"

#include <vector>

#include "http/TextUtil.h"

using nettext::SameText;
using nettext::Trim;

// ---- TNetHTTPResponse ----

int TNetHTTPResponse::StatusCode() const {
  size_t sp = StatusLine.find(' ');
  if (sp == std::string::npos) return -1;
  std::string rest = Trim(StatusLine.substr(sp + 1));
  auto v = nettext::ParseInt(rest.substr(0, rest.find(' ')));
  return v ? *v : -1;
}

void TNetHTTPResponse::Clear() {
  StatusLine.clear();
  HeaderLines.Clear();
  KeepConnection = false;
  ProcessHeaders();
}

void TNetHTTPResponse::ProcessHeaders() {
  const TNetHeaderList& h = HeaderLines;
  Location = h.ValueOf("Location");
  Server = h.ValueOf("Server");
  ProxyConnection = h.ValueOf("Proxy-Connection");
  std::string range = h.ValueOf("Content-Range");
  if (!range.empty()) {
    // "bytes S-E/L"
    size_t sp = range.find(' ');
    size_t dash = range.find('-', sp == std::string::npos ? 0 : sp + 1);
    size_t slash = range.find('/', dash == std::string::npos ? 0 : dash + 1);
    size_t from = sp == std::string::npos ? 0 : sp + 1;
    std::string s = range.substr(from, dash == std::string::npos ? std::string::npos : dash - from);
    std::string e = dash == std::string::npos
                        ? std::string()
                        : range.substr(dash + 1, slash == std::string::npos ? std::string::npos : slash - dash - 1);
    ContentRangeStart = uint32_t(nettext::StrToInt(s));
    ContentRangeEnd = uint32_t(nettext::StrToInt(e));
  }
  WWWAuthenticate.Clear();
  h.ValuesOf("WWW-Authenticate", WWWAuthenticate.Lines);
  ProxyAuthenticate.Clear();
  h.ValuesOf("Proxy-Authenticate", ProxyAuthenticate.Lines);
  Connection = h.ValueOf("Connection");
  ContentVersion = h.ValueOf("Content-Version");
  ContentEncoding = h.ValueOf("Content-Encoding");
  ContentLanguage = h.ValueOf("Content-Language");
  ContentType = h.ValueOf("Content-Type");
  auto length = nettext::ParseInt64(Trim(h.ValueOf("Content-Length")));
  TNetEntityHeaderInfo::ContentLength = length ? *length : -1;
  Date = InternetStrToDateTime(h.ValueOf("Date"));
  LastModified = InternetStrToDateTime(h.ValueOf("Last-Modified"));
  std::string expires = h.ValueOf("Expires");
  auto seconds = nettext::ParseInt64(expires);
  if (seconds && *seconds != -1)
    Expires = NowLocal() + double(*seconds) / 86400.0;
  else
    Expires = InternetStrToDateTime(expires);
  Pragma = h.ValueOf("Pragma");
}

// ---- TNetHTTP ----

TNetHTTP::TNetHTTP() {
  Port = 80;
  URL.PortText = "80";
}

TNetHTTP::~TNetHTTP() = default;

void TNetHTTP::SetHost(const std::string& host) {
  Host = host;
  URL.HostName = host;
}

void TNetHTTP::SetPort(int port) {
  Port = port;
  URL.PortText = std::to_string(port);
}

void TNetHTTP::StatusEvent(TNetStatus status, const std::string& text) {
  if (OnStatus) OnStatus(*this, status, text);
}
void TNetHTTP::WorkBeginEvent(TWorkMode mode, int64_t countMax) {
  if (OnWorkBegin) OnWorkBegin(*this, mode, countMax);
}
void TNetHTTP::WorkEvent(TWorkMode mode, int64_t count) {
  if (OnWork) OnWork(*this, mode, count);
}
void TNetHTTP::WorkEndEvent(TWorkMode mode) {
  if (OnWorkEnd) OnWorkEnd(*this, mode);
}
void TNetHTTP::ConnectedEvent() {
  if (OnConnected) OnConnected(*this);
}
void TNetHTTP::DisconnectedEvent() {
  if (OnDisconnected) OnDisconnected(*this);
}

std::string TNetHTTP::FetchText(const std::string& url) {
  TMemoryStream stream;
  FetchInto(url, stream);
  return stream.Bytes();
}

void TNetHTTP::ProbeHead(const std::string& url) { PerformRequest(hmHead, nullptr, url); }

void TNetHTTP::FetchInto(const std::string& url, TNetStream& stream) { PerformRequest(hmGet, &stream, url); }

void TNetHTTP::PerformRequest(TNetHTTPMethod method, TNetStream* stream, const std::string& url) {
  const int64_t start = stream ? stream->Position() : 0;
  bodyCutShort_ = false;
  framingLost_ = false;
  bodyRead_ = false;
  statusRead_ = false;
  if (stream) {
    lastBodyBytes_ = 0;
    lastBodyComplete_ = false;
  }
  Request.RequestTarget = url;
  Request.RequestMethod = method;
  Response.BodyStream = stream;

  auto settle = [&](bool succeeded) {
    if (stream) {
      lastBodyBytes_ = stream->Position() - start;
      const int64_t length = Response.ContentLength();
      // A body that was not to be read (204) is complete whatever the length says.
      lastBodyComplete_ = succeeded && !bodyCutShort_ && (!bodyRead_ || length < 0 || lastBodyBytes_ == length);
    }
    if (!KeepAliveVerdict()) CloseConnection();
  };
  try {
    while (true) {
      ++redirectCount_;
      PrepareTarget();
      ConnectToHost();
      WriteRequest();
      do {
        ReadHeaderBlock();
        ProcessCookies();
      } while (Response.StatusCode() == 100);
      Verdict v = JudgeResponse();
      if (v == Verdict::Done) break;
      if (v == Verdict::Undecided) throw ENetException("Undefined situation");
    }
  } catch (...) {
    try {
      settle(false);
    } catch (...) {
    }
    throw;
  }
  settle(true);
  redirectCount_ = 0;
}

void TNetHTTP::PrepareTarget() {
  TNetURI u(Request.RequestTarget);
  if (!u.LoginName.empty()) {
    Request.Username = u.LoginName;
    Request.Password = u.LoginPassword;
  }
  URL.LoginName = Request.Username;
  URL.LoginPassword = Request.Password;
  if (!u.Directory.empty() && u.Directory[0] == '/')
    URL.Directory = u.Directory;
  else
    URL.Directory = TNetURI::ResolvePath(URL.Directory, u.Directory);
  URL.FileName = u.FileName;
  URL.Query = u.Query;
  if (!u.HostName.empty()) URL.HostName = u.HostName;
  URL.Scheme = u.Scheme.empty() ? std::string("http") : u.Scheme;
  if (!u.PortText.empty()) {
    URL.PortText = u.PortText;
  } else {
    int p = nettext::StrToIntDef(URL.PortText, 0);
    if (p == 0 || p == 80 || p == 443) {
      if (SameText(URL.Scheme, "http")) URL.PortText = "80";
      else if (SameText(URL.Scheme, "https")) URL.PortText = "443";
      else throw ENetUnknownProtocol("");
    }
  }
  Request.RequestTarget = URL.Directory + URL.FileName + URL.Query;
  if (Request.RequestMethod == hmOptions && URL.FileName == "*") Request.RequestTarget = "*";
  if (ProtocolVersion != pv1_1 &&
      (Request.RequestMethod == hmOptions || Request.RequestMethod == hmTrace || Request.RequestMethod == hmPut ||
       Request.RequestMethod == hmDelete))
    throw ENetException("This request method is supported in HTTP 1.1");
  Request.TNetEntityHeaderInfo::ContentLength = -1;
  Request.Host = URL.HostName + (URL.PortText != "80" ? ":" + URL.PortText : std::string());
}

void TNetHTTP::ConnectToHost() {
  const int port = nettext::StrToInt(URL.PortText);
  if (!SameText(Host, URL.HostName) || Port != port) {
    if (IsOpen()) CloseConnection();
    Host = URL.HostName;
    Port = port;
  }
  if (SameText(URL.Scheme, "https")) throw ENetIOHandlerPropInvalid("IOHandler value is not valid");
  if (ProtocolVersion == pv1_0 && Request.Connection.empty()) Request.Connection = "keep-alive";
  if (!KeepAliveVerdict()) CloseConnection();
  framingLost_ = false;  // whatever a redirect's body left behind went with that connection
  // A server may have closed the kept connection meanwhile; find out without failing.
  if (IsOpen()) PollPeerClose(false);
  if (!IsOpen()) OpenConnection(ReadTimeout());
}

namespace {
const char* MethodWord(TNetHTTPMethod m) {
  switch (m) {
    case hmHead: return "HEAD";
    case hmGet: return "GET";
    case hmPost: return "POST";
    case hmOptions: return "OPTIONS";
    case hmTrace: return "TRACE";
    case hmPut: return "PUT";
    case hmDelete: return "DELETE";
    case hmConnect: return "CONNECT";
  }
  return "GET";
}

std::string Base64(const std::string& in) {
  static const char* abc = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  size_t i = 0;
  for (; i + 2 < in.size(); i += 3) {
    unsigned v = (unsigned char)in[i] << 16 | (unsigned char)in[i + 1] << 8 | (unsigned char)in[i + 2];
    out += abc[v >> 18]; out += abc[(v >> 12) & 63]; out += abc[(v >> 6) & 63]; out += abc[v & 63];
  }
  if (i + 1 == in.size()) {
    unsigned v = (unsigned char)in[i] << 16;
    out += abc[v >> 18]; out += abc[(v >> 12) & 63]; out += "==";
  } else if (i + 2 == in.size()) {
    unsigned v = (unsigned char)in[i] << 16 | (unsigned char)in[i + 1] << 8;
    out += abc[v >> 18]; out += abc[(v >> 12) & 63]; out += abc[(v >> 6) & 63]; out += '=';
  }
  return out;
}

// The size line of a chunk: the hexadecimal number before the first blank, 0 when it is not one
// (then `readable` is false: where the body ends is no longer known).
int64_t ChunkSize(const std::string& line, bool& readable) {
  std::string s = line.substr(0, line.find(' '));
  readable = false;
  if (s.empty() || s.size() > 15) return 0;
  int64_t v = 0;
  for (char c : s) {
    int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    if (d < 0) return 0;
    v = v * 16 + d;
  }
  readable = true;
  return v;
}
}  // namespace

void TNetHTTP::WriteRequest() {
  TNetHTTPRequest& r = Request;
  TNetHeaderList& h = r.HeaderLines;
  h.Clear();
  auto set = [&](const char* name, const std::string& value) {
    if (!value.empty()) h.SetHeader(name, value);
  };
  set("Connection", r.Connection);
  set("Content-Version", r.ContentVersion);
  set("Content-Encoding", r.ContentEncoding);
  set("Content-Language", r.ContentLanguage);
  set("Content-Type", r.ContentType);
  if (r.TNetEntityHeaderInfo::ContentLength >= 0) set("Content-Length", std::to_string(r.TNetEntityHeaderInfo::ContentLength));
  set("Cache-control", r.CacheControl);
  if (r.Date > 0) set("Date", DateTimeToInternetStr(r.Date));
  if (r.Expires > 0) set("Expires", DateTimeToInternetStr(r.Expires));
  set("Pragma", r.Pragma);
  for (const std::string& line : r.CustomHeaders.Lines) h.Add(line);
  set("Proxy-Connection", r.ProxyConnection);
  set("Host", r.Host);
  set("Accept", r.Accept);
  set("Accept-Charset", r.AcceptCharSet);
  set("Accept-Encoding", r.AcceptEncoding);
  set("Accept-Language", r.AcceptLanguage);
  set("From", r.From);
  set("Referer", r.Referer);
  set("User-Agent", r.UserAgent);
  if (r.LastModified > 0) set("If-Modified-Since", DateTimeToInternetStr(r.LastModified));
  if (r.ContentRangeStart != 0 || r.ContentRangeEnd != 0) {
    std::string range = "bytes=" + std::to_string(r.ContentRangeStart) + "-";
    if (r.ContentRangeEnd != 0) range += std::to_string(r.ContentRangeEnd);
    set("Range", range);
  }
  if (r.BasicAuthentication) set("Authorization", "Basic " + Base64(r.Username + ":" + r.Password));
  if (ProxyParams.BasicAuthentication && !ProxyParams.ProxyServer.empty())
    set("Proxy-Authorization", "Basic " + Base64(ProxyParams.ProxyUsername + ":" + ProxyParams.ProxyPassword));
  if (CookieManager) set("Cookie", CookieManager->CookieHeaderFor(URL, false));

  StartBatch(-1);
  WriteLine(std::string(MethodWord(r.RequestMethod)) + " " + r.RequestTarget + " HTTP/" +
            (ProtocolVersion == pv1_0 ? "1.0" : "1.1"));
  for (const std::string& line : h.Lines)
    if (!line.empty()) WriteLine(line);
  WriteLine("");
  SendBatch();
}

void TNetHTTP::ReadHeaderBlock() {
  Response.StatusLine = ReadLine();
  statusRead_ = true;
  Response.HeaderLines.Clear();
  try {
    while (true) {
      std::string line = ReadLine();
      if (line.empty()) break;
      Response.HeaderLines.Add(line);
    }
  } catch (const ENetConnClosedGracefully&) {
    CloseConnection();
  }
  try {
    Response.ProcessHeaders();
  } catch (...) {
    // A field that cannot be read fails the request, but the block's cookies are still kept.
    ProcessCookies();
    throw;
  }
}

void TNetHTTP::ProcessCookies() {
  if (!CookieManager && AllowCookies) {
    ownedCookies_ = std::make_unique<TNetCookieManager>();
    CookieManager = ownedCookies_.get();
  }
  if (!CookieManager) return;
  std::vector<std::string> values;
  Response.HeaderLines.ValuesOf("Set-cookie", values);
  for (const std::string& v : values) CookieManager->AcceptCookie(v, URL.HostName);
  values.clear();
  Response.HeaderLines.ValuesOf("Set-cookie2", values);
  for (const std::string& v : values) CookieManager->AcceptCookie2(v, URL.HostName);
}

TNetHTTP::Verdict TNetHTTP::JudgeResponse() {
  const int code = Response.StatusCode();
  const int d = code / 100;
  // Redirects are never followed: a 3xx (other than 304), or any response naming a Location, is
  // refused as a protocol error.
  if ((d == 3 && code != 304) || !Response.Location.empty()) RaiseProtocolError();
  if (d != 2) RaiseProtocolError();
  if (!IsOpen()) return Verdict::Undecided;
  if (code != 204 && Response.BodyStream) ReadBody(*Response.BodyStream);
  return Verdict::Done;
}

void TNetHTTP::RaiseProtocolError() {
  const int savedTimeout = ReadTimeout();
  TNetStream* savedBody = Response.BodyStream;
  TMemoryStream body;
  SetReadTimeout(2000);
  Response.BodyStream = &body;
  try {
    ReadBody(body);
  } catch (...) {
    Response.BodyStream = savedBody;
    SetReadTimeout(savedTimeout);
    throw;
  }
  Response.BodyStream = savedBody;
  SetReadTimeout(savedTimeout);
  throw ENetHTTPProtocolException(Response.StatusCode(), Response.StatusLine, body.Bytes());
}

void TNetHTTP::ReadBody(TNetStream& stream) {
  bodyRead_ = true;
  const int64_t length = Response.ContentLength();
  if (length > 0) {
    try {
      ReadToStream(stream, length);
    } catch (const ENetConnClosedGracefully&) {
      // A counted body cut short by the server's close ends quietly with what came; callers that
      // must not use a short body see it through LastBodyComplete.
      bodyCutShort_ = true;
    }
  } else if (Response.HeaderLines.ValueOf("Transfer-Encoding").find("chunked") != std::string::npos) {
    DoStatus(hsStatusText, "Chunk Started");
    bool readable = true;
    int64_t size = ChunkSize(ReadLine(), readable);
    while (size > 0) {
      ReadToStream(stream, size);
      ReadLine();
      size = ChunkSize(ReadLine(), readable);
    }
    ReadLine();
    // A size line that does not read (an extension after ";", a size too long) ends the body
    // where it stands, with the rest of the body still on the connection: the body counts as cut
    // short, and the connection is not kept, or the next response would start inside this one.
    if (!readable) bodyCutShort_ = framingLost_ = true;
  } else if (!Response.HasLength()) {
    ReadToStream(stream, -1, true);
  }
}

bool TNetHTTP::KeepAliveVerdict() {
  const std::string& sl = Response.StatusLine;
  if (sl.size() >= 8) {
    std::string v = sl.substr(5, 3);
    if (v == "1.0") Response.ReplyVersion = pv1_0;
    else if (v == "1.1") Response.ReplyVersion = pv1_1;
  }
  if (!IsOpen() || framingLost_) {
    Response.KeepConnection = false;
  } else if (ProtocolVersion == pv1_1) {
    Response.KeepConnection =
        !(SameText(Trim(Response.Connection), "CLOSE") || SameText(Trim(Response.ProxyConnection), "CLOSE"));
  } else {
    Response.KeepConnection = SameText(Trim(Response.Connection), "KEEP-ALIVE") ||
                              SameText(Trim(Response.ProxyConnection), "KEEP-ALIVE");
  }
  return Response.KeepConnection;
}
