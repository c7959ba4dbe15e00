// Exceptions of the HTTP client. Every failure of the client is one of these classes, rooted at
// ENetException; callers that only care whether an exchange worked catch the root.
#pragma once

#include <exception>
#include <string>

class ENetException : public std::exception {
 public:
  explicit ENetException(std::string message = {}) : message_(std::move(message)) {}
  const std::string& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }
  // The class name as a text, for tools and logs that report which failure happened.
  virtual const char* ClassName() const noexcept { return "ENetException"; }

 private:
  std::string message_;
};

#define TAVLOX_NET_EXCEPTION(Name, Base)                                       \
  class Name : public Base {                                                   \
   public:                                                                     \
    using Base::Base;                                                          \
    const char* ClassName() const noexcept override { return #Name; }          \
  }

TAVLOX_NET_EXCEPTION(ENetSilentException, ENetException);
TAVLOX_NET_EXCEPTION(ENetConnClosedGracefully, ENetSilentException);
TAVLOX_NET_EXCEPTION(ENetReadTimeout, ENetException);
TAVLOX_NET_EXCEPTION(ENetReadLnMaxLineLengthExceeded, ENetException);
TAVLOX_NET_EXCEPTION(ENetAlreadyConnected, ENetException);
TAVLOX_NET_EXCEPTION(ENetClosedSocket, ENetException);
TAVLOX_NET_EXCEPTION(ENetInvalidSocket, ENetException);
TAVLOX_NET_EXCEPTION(ENetConnectTimeout, ENetException);
TAVLOX_NET_EXCEPTION(ENetConnectException, ENetException);
TAVLOX_NET_EXCEPTION(ENetTCPConnectionError, ENetException);
TAVLOX_NET_EXCEPTION(ENetNotConnected, ENetTCPConnectionError);
TAVLOX_NET_EXCEPTION(ENetNotEnoughDataInBuffer, ENetTCPConnectionError);
TAVLOX_NET_EXCEPTION(ENetNoDataToRead, ENetTCPConnectionError);
TAVLOX_NET_EXCEPTION(ENetIOHandlerPropInvalid, ENetTCPConnectionError);
TAVLOX_NET_EXCEPTION(ENetFileNotFound, ENetTCPConnectionError);
TAVLOX_NET_EXCEPTION(ENetSocketHandleError, ENetException);
TAVLOX_NET_EXCEPTION(ENetCouldNotBindSocket, ENetSocketHandleError);
TAVLOX_NET_EXCEPTION(ENetCanNotBindPortInRange, ENetSocketHandleError);
TAVLOX_NET_EXCEPTION(ENetInvalidPortRange, ENetSocketHandleError);
TAVLOX_NET_EXCEPTION(ENetStackError, ENetException);
TAVLOX_NET_EXCEPTION(ENetStackInitializationFailed, ENetStackError);
TAVLOX_NET_EXCEPTION(ENetStackSetSizeExceeded, ENetStackError);
TAVLOX_NET_EXCEPTION(ENetUnknownProtocol, ENetException);
TAVLOX_NET_EXCEPTION(ENetURIException, ENetException);

// A failed socket call; the message is "Socket Error # <code>\r\n<text>".
class ENetSocketError : public ENetException {
 public:
  ENetSocketError(int code, std::string message) : ENetException(std::move(message)), code_(code) {}
  int SocketErrorCode() const noexcept { return code_; }
  const char* ClassName() const noexcept override { return "ENetSocketError"; }

 private:
  int code_;
};

// The Windows Sockets library could not be loaded, or one of its functions could not be reached.
class ENetWS2StubError : public ENetException {
 public:
  ENetWS2StubError(std::string title, unsigned long win32Error, std::string systemMessage, std::string message)
      : ENetException(std::move(message)), title_(std::move(title)), win32Error_(win32Error),
        systemMessage_(std::move(systemMessage)) {}
  const std::string& Title() const noexcept { return title_; }
  unsigned long Win32Error() const noexcept { return win32Error_; }
  const std::string& SystemMessage() const noexcept { return systemMessage_; }
  const char* ClassName() const noexcept override { return "ENetWS2StubError"; }

 private:
  std::string title_;
  unsigned long win32Error_;
  std::string systemMessage_;
};

class ENetProtocolReplyError : public ENetException {
 public:
  ENetProtocolReplyError(int replyCode, std::string message)
      : ENetException(std::move(message)), replyCode_(replyCode) {}
  int ReplyCode() const noexcept { return replyCode_; }
  const char* ClassName() const noexcept override { return "ENetProtocolReplyError"; }

 private:
  int replyCode_;
};

// A response the client does not accept; the message is the status line as received.
class ENetHTTPProtocolException : public ENetProtocolReplyError {
 public:
  ENetHTTPProtocolException(int replyCode, std::string message, std::string replyBody)
      : ENetProtocolReplyError(replyCode, std::move(message)), replyBody_(std::move(replyBody)) {}
  const std::string& ReplyBody() const noexcept { return replyBody_; }
  const char* ClassName() const noexcept override { return "ENetHTTPProtocolException"; }

 private:
  std::string replyBody_;
};

// A text that had to be a decimal integer and is not one (a port, a Content-Range bound, a cookie
// port list). Not part of the network tree: it is the same error any integer conversion raises.
class EConvertError : public std::exception {
 public:
  explicit EConvertError(std::string message) : message_(std::move(message)) {}
  const std::string& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }
  const char* ClassName() const noexcept { return "EConvertError"; }

 private:
  std::string message_;
};
