// The HTTP/1.1 client component: GET into text or a stream, and HEAD, over one kept-alive TCP
// connection, with a cookie store and progress events.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "http/Cookies.h"
#include "http/HeaderList.h"
#include "http/InternetDate.h"
#include "http/NetException.h"
#include "http/NetURI.h"
#include "http/Stream.h"
#include "http/TCPConnection.h"

enum TNetHTTPProtocolVersion { pv1_0, pv1_1 };
enum TNetHTTPMethod { hmHead, hmGet, hmPost, hmOptions, hmTrace, hmPut, hmDelete, hmConnect };

struct TNetProxyConnectionInfo {
  std::string ProxyServer;
  int ProxyPort = 0;
  std::string ProxyUsername;
  std::string ProxyPassword;
  bool BasicAuthentication = false;
};

// Header fields common to requests and responses.
class TNetEntityHeaderInfo {
 public:
  std::string CacheControl;
  std::string Connection;
  std::string ContentEncoding;
  std::string ContentLanguage;
  std::string ContentType;
  std::string ContentVersion;
  std::string Pragma;
  int64_t ContentLength = -1;
  uint32_t ContentRangeStart = 0;
  uint32_t ContentRangeEnd = 0;
  TDateTime Date = 0;
  TDateTime Expires = 0;
  TDateTime LastModified = 0;
  TNetHeaderList CustomHeaders;
  TNetHeaderList HeaderLines{1024};
};

class TNetRequestHeaderInfo : public TNetEntityHeaderInfo {
 public:
  std::string Accept = "text/html, */*";
  std::string AcceptCharSet;
  std::string AcceptEncoding;
  std::string AcceptLanguage;
  std::string From;
  std::string Referer;
  std::string UserAgent = "Mozilla/3.0 (compatible; Net Library)";
  std::string ProxyConnection;
  std::string Username;
  std::string Password;
  std::string Host;
  bool BasicAuthentication = false;
};

class TNetHTTPRequest : public TNetRequestHeaderInfo {
 public:
  TNetHTTPRequest() { ContentType = "text/html"; }
  std::string RequestTarget;
  TNetHTTPMethod RequestMethod = hmGet;
};

class TNetHTTPResponse : public TNetEntityHeaderInfo {
 public:
  std::string StatusLine;
  int StatusCode() const;
  int64_t ContentLength() const { return TNetEntityHeaderInfo::ContentLength; }
  bool HasLength() const { return TNetEntityHeaderInfo::ContentLength >= 0; }
  TNetHTTPProtocolVersion ReplyVersion = pv1_1;
  bool KeepConnection = false;
  std::string Location;
  std::string Server;
  std::string ProxyConnection;
  TNetHeaderList WWWAuthenticate;
  TNetHeaderList ProxyAuthenticate;
  TNetStream* BodyStream = nullptr;

  void Clear();
  // Fills the fields from HeaderLines.
  void ProcessHeaders();
};

class TNetHTTP;

class TNetCustomHTTP : public TNetTCPClient {};

class TNetHTTP : public TNetCustomHTTP {
 public:
  TNetHTTP();
  ~TNetHTTP() override;

  // GET; the body's bytes as they came. On a failure the exception propagates.
  std::string FetchText(const std::string& url);
  // HEAD; afterwards LastResponse() holds the status and the headers.
  void ProbeHead(const std::string& url);
  // GET into the stream, starting at its position.
  void FetchInto(const std::string& url, TNetStream& stream);
  TNetHTTPResponse& LastResponse() { return Response; }

  // Body bytes of the last GET that reached the caller's stream, and whether the body was
  // complete: its length matches the response's Content-Length (when there was one) and the body
  // ended where the protocol says it ends, not by the server cutting it short.
  int64_t LastBodyBytes() const { return lastBodyBytes_; }
  bool LastBodyComplete() const { return lastBodyComplete_; }
  // Whether the last request got as far as a status line (otherwise LastResponse still shows an
  // earlier response).
  bool LastStatusRead() const { return statusRead_; }

  void SetHost(const std::string& host);
  void SetPort(int port);

  bool AllowCookies = true;
  bool HandleRedirects = false;
  int RedirectMaximum = 15;
  int AuthRetries = 3;
  TNetHTTPProtocolVersion ProtocolVersion = pv1_1;
  TNetProxyConnectionInfo ProxyParams;
  TNetHTTPRequest Request;
  TNetHTTPResponse Response;
  TNetURI URL;  // the working URI
  // The cookie store; created on the first response when AllowCookies is true, or assigned from
  // outside (then not owned).
  TNetCookieManager* CookieManager = nullptr;

  std::function<void(TNetHTTP& sender, TWorkMode mode, int64_t countMax)> OnWorkBegin;
  std::function<void(TNetHTTP& sender, TWorkMode mode, int64_t count)> OnWork;
  std::function<void(TNetHTTP& sender, TWorkMode mode)> OnWorkEnd;
  std::function<void(TNetHTTP& sender, TNetStatus status, const std::string& text)> OnStatus;
  std::function<void(TNetHTTP& sender)> OnConnected;
  std::function<void(TNetHTTP& sender)> OnDisconnected;

 protected:
  void StatusEvent(TNetStatus status, const std::string& text) override;
  void WorkBeginEvent(TWorkMode mode, int64_t countMax) override;
  void WorkEvent(TWorkMode mode, int64_t count) override;
  void WorkEndEvent(TWorkMode mode) override;
  void ConnectedEvent() override;
  void DisconnectedEvent() override;

 private:
  enum class Verdict { Done, Retry, AuthorizeAgain, Undecided };
  void PerformRequest(TNetHTTPMethod method, TNetStream* stream, const std::string& url);
  void PrepareTarget();
  void ConnectToHost();
  void WriteRequest();
  void ReadHeaderBlock();
  void ProcessCookies();
  Verdict JudgeResponse();
  [[noreturn]] void RaiseProtocolError();
  void ReadBody(TNetStream& stream);
  bool KeepAliveVerdict();

  std::unique_ptr<TNetCookieManager> ownedCookies_;
  int redirectCount_ = 0;
  int64_t lastBodyBytes_ = 0;
  bool lastBodyComplete_ = false;
  bool bodyCutShort_ = false;
  bool framingLost_ = false;  // the body's end was not found where the response framed it
  bool bodyRead_ = false;
  bool statusRead_ = false;
};
