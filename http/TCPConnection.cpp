#include "http/TCPConnection.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "http/NetException.h"
#include "http/Stream.h"
#include "http/TextUtil.h"

namespace {
constexpr size_t kCompactAfter = 32768;
}

const char* StatusName(TNetStatus status) {
  switch (status) {
    case hsResolving: return "hsResolving";
    case hsConnecting: return "hsConnecting";
    case hsConnected: return "hsConnected";
    case hsDisconnecting: return "hsDisconnecting";
    case hsDisconnected: return "hsDisconnected";
    case hsStatusText: return "hsStatusText";
    case ftpTransfer: return "ftpTransfer";
    case ftpReady: return "ftpReady";
    case ftpAborted: return "ftpAborted";
  }
  return "";
}

const char* StatusTextFormat(TNetStatus status) {
  switch (status) {
    case hsResolving: return "Resolving hostname %s.";
    case hsConnecting: return "Connecting to %s.";
    case hsConnected: return "Connected.";
    case hsDisconnecting: return "Disconnecting.";
    case hsDisconnected: return "Disconnected.";
    default: return "%s";
  }
}

// ---- TNetComponent ----

TNetComponent::TNetComponent() { TNetStack::AddRef(); }
TNetComponent::~TNetComponent() { TNetStack::Release(); }

void TNetComponent::DoStatus(TNetStatus status, const std::string& argument) {
  std::string text = StatusTextFormat(status);
  size_t p = text.find("%s");
  if (p != std::string::npos) text.replace(p, 2, argument);
  StatusEvent(status, text);
}

void TNetComponent::StartProgress(TWorkMode mode, int64_t size) {
  Progress& p = progress_[mode];
  if (++p.level == 1) {
    p.size = size;
    p.position = 0;
    WorkBeginEvent(mode, size);
  }
}

void TNetComponent::AddProgress(TWorkMode mode, int64_t count) {
  Progress& p = progress_[mode];
  if (p.level < 1) return;
  p.position += count;
  WorkEvent(mode, p.position);
}

void TNetComponent::FinishProgress(TWorkMode mode) {
  Progress& p = progress_[mode];
  if (p.level == 1) WorkEndEvent(mode);
  if (p.level > 0) --p.level;
}

void TNetSocketHandle::Reset() {
  Handle = kNetInvalidSocket;
  HandleAllocated = false;
  IP.clear();
  Port = 0;
  PeerIP.clear();
  PeerPort = 0;
}

// ---- ByteQueue ----

TNetTCPConnection::ByteQueue::~ByteQueue() { std::free(buf_); }

char* TNetTCPConnection::ByteQueue::Reserve(size_t n) {
  if (end_ + n > cap_) {
    if (head_ > 0) {
      // Move the unread bytes to the front before growing.
      std::memmove(buf_, buf_ + head_, end_ - head_);
      end_ -= head_;
      head_ = 0;
    }
    if (end_ + n > cap_) {
      size_t want = std::max(end_ + n, cap_ * 2);
      void* p = std::realloc(buf_, want);
      if (!p) throw std::bad_alloc();
      buf_ = static_cast<char*>(p);
      cap_ = want;
    }
  }
  return buf_ + end_;
}

void TNetTCPConnection::ByteQueue::Consume(size_t n) {
  head_ += n;
  if (head_ == end_) {
    head_ = end_ = 0;
  } else if (head_ >= kCompactAfter) {
    std::memmove(buf_, buf_ + head_, end_ - head_);
    end_ -= head_;
    head_ = 0;
  }
}

// ---- TNetTCPConnection ----

TNetTCPConnection::~TNetTCPConnection() {
  try {
    DropSocket();
  } catch (...) {
  }
}

void TNetTCPConnection::RaiseError(int code) { Stack().RaiseSocketError(code); }

void TNetTCPConnection::OpenConnection(int connectTimeoutMs) {
  if (!io_) io_ = std::make_unique<TNetIOHandlerSocket>();
  else if (io_->Connected()) throw ENetAlreadyConnected("Already connected.");
  TNetSocketHandle& h = io_->Binding;
  h.Reset();
  input_.Clear();
  peerClosed_ = false;
  TNetStack& stack = Stack();
  try {
    TNetSocket s = stack.NewSocket();
    if (s == kNetInvalidSocket) throw ENetInvalidSocket("Cannot allocate socket.");
    h.Handle = s;
    h.HandleAllocated = true;
    if (stack.Bind(s, BoundIP, BoundPort) == -1) {
      int code = stack.WSAGetLastError();
      stack.LastError = code;
      if (code == kWsaEADDRINUSE) throw ENetCouldNotBindSocket("Could not bind socket. Address and port are already in use.");
      RaiseError(code);
    }
    stack.CheckSocketResult(stack.GetSockName(s, h.IP, h.Port));
    // LOCALHOST and dotted quads need no lookup, so they are not announced as one.
    if (!TNetStack::IsDottedQuad(Host) && !nettext::SameText(Host, "LOCALHOST")) DoStatus(hsResolving, Host);
    h.PeerIP = stack.LookupHost(Host);
    h.PeerPort = Port;
    if (!io_->UseNagle) stack.CheckSocketResult(stack.SetNoDelay(s));
    DoStatus(hsConnecting, h.PeerIP);
    // A limited connect would need a helper thread; no caller asks for one, so every connect
    // blocks until the system gives up.
    (void)connectTimeoutMs;
    stack.CheckSocketResult(stack.Connect(s, h.PeerIP, h.PeerPort));
    stack.CheckSocketResult(stack.GetSockName(s, h.IP, h.Port));
    stack.CheckSocketResult(stack.GetPeerName(s, h.PeerIP, h.PeerPort));
    DoStatus(hsConnected, Host);
    ConnectedEvent();
  } catch (...) {
    DropSocket();
    throw;
  }
}

bool TNetTCPConnection::CheckPeerClosed(bool raiseIfClosed, bool ignoreQueue) {
  bool closed = false;
  if (peerClosed_ && io_) {
    if (io_->Connected()) {
      DropSocket();
      DoStatus(hsDisconnected);
      DisconnectedEvent();
    }
    closed = true;
  } else if (!peerClosed_) {
    closed = io_ && !io_->Connected();
  }
  if (closed && raiseIfClosed && (input_.empty() || ignoreQueue))
    throw ENetConnClosedGracefully("Connection Closed Gracefully.");
  return closed;
}

bool TNetTCPConnection::IsOpen() {
  CheckPeerClosed(false, false);
  return io_ && io_->Connected();
}

void TNetTCPConnection::PollPeerClose(bool raiseIfClosed) { FillInput(raiseIfClosed, 1, false); }

int TNetTCPConnection::FillInput(bool raiseIfClosed, int waitMs, bool raiseOnTimeout) {
  const int wait = ResolveWait(waitMs);
  CheckPeerClosed(raiseIfClosed, false);
  if (!IsOpen()) {
    if (raiseIfClosed) throw ENetNotConnected("Not Connected");
    return 0;
  }
  TNetStack& stack = Stack();
  while (true) {
    TNetSocket s = io_->Binding.Handle;
    // An unlimited wait is the blocking receive itself; only a limited one needs the select.
    if (wait > 0) {
      if (stack.Select(s, wait) <= 0) {
        if (raiseOnTimeout) throw ENetReadTimeout("Read Timeout");
        return -1;
      }
    }
    int want = RecvBufferSize > 0 ? RecvBufferSize : 32768;
    if (receiveHint_ > want) want = int(std::min<int64_t>(receiveHint_, kMaxReceive));
    char* dst = input_.Reserve(size_t(want));
    int n = stack.Recv(s, dst, want);
    if (n < 0) {
      int code = stack.WSAGetLastError();
      stack.LastError = code;
      if (code == kWsaESHUTDOWN || code == kWsaECONNABORTED) {
        DropSocket();
        if (input_.empty()) RaiseError(code);
        return 0;
      }
      RaiseError(code);
    }
    if (n == 0) peerClosed_ = true;
    input_.Commit(size_t(n));
    CheckPeerClosed(raiseIfClosed, false);
    if (n > 0) return n;
    if (!IsOpen()) return 0;
  }
}

void TNetTCPConnection::Consume(size_t n) {
  input_.Consume(n);
  AddProgress(wmRead, int64_t(n));
}

std::string TNetTCPConnection::ReadLine(const std::string& terminator, int waitMs, int maxLength) {
  const std::string e = terminator.empty() ? std::string("\n") : terminator;
  const size_t limit = maxLength < 0 ? size_t(std::max(MaxLineLength, 0)) : size_t(maxLength);
  lastLineCut_ = lastLineTimedOut_ = false;
  size_t searched = 0;
  auto tooLong = [&]() -> std::string {
    if (MaxLineAction == maException) throw ENetReadLnMaxLineLengthExceeded("Max line length exceeded.");
    std::string line(input_.data(), limit);
    Consume(limit);
    lastLineCut_ = true;
    return line;
  };
  while (true) {
    // Search only what arrived since the last search (with room for a terminator split across).
    size_t from = searched >= e.size() ? searched - (e.size() - 1) : 0;
    std::string_view view(input_.data(), input_.size());
    size_t p = view.find(e, from);
    if (p != std::string_view::npos) {
      if (limit > 0 && p > limit) return tooLong();
      std::string line(input_.data(), p);
      Consume(p + e.size());
      if (e == "\n" && !line.empty() && line.back() == '\r') line.pop_back();
      return line;
    }
    searched = input_.size();
    if (limit > 0 && input_.size() > limit) return tooLong();
    CheckPeerClosed(true, true);
    if (FillInput(true, waitMs, waitMs == kDefaultWait) <= 0) {
      lastLineTimedOut_ = true;
      return std::string();
    }
  }
}

void TNetTCPConnection::ReadExact(void* buffer, int64_t count) {
  if (count <= 0) return;
  while (int64_t(input_.size()) < count) {
    FillInput(true, kDefaultWait, true);
    CheckPeerClosed(true, true);
  }
  std::memcpy(buffer, input_.data(), size_t(count));
  Consume(size_t(count));
}

void TNetTCPConnection::ReadToStream(TNetStream& stream, int64_t count, bool toClose) {
  if (!toClose && count >= 0) {
    // Reserve room for the body before it arrives, but never more than kMaxPresize on the word of
    // the server alone: the stream grows beyond that as data really comes.
    int64_t pos = stream.Position();
    stream.SetSize(pos + std::min(count, kMaxPresize));
    stream.SetPosition(pos);
  }
  StartProgress(wmRead, toClose ? 0 : count);
  struct Finish {
    TNetTCPConnection& c;
    TNetStream& s;
    ~Finish() {
      c.FinishProgress(wmRead);
      try {
        if (s.Size() > s.Position()) s.SetSize(s.Position());
      } catch (...) {
      }
    }
  } finish{*this, stream};

  // A read to close has no count to run out of; it ends only with the close.
  int64_t remaining = toClose ? INT64_MAX : count;
  if (remaining <= 0) return;
  if (!input_.empty()) {
    size_t take = size_t(std::min<int64_t>(remaining, int64_t(input_.size())));
    stream.Write(input_.data(), int64_t(take));
    Consume(take);
    if (!toClose) remaining -= int64_t(take);
  }
  const int64_t blockSize = std::min<int64_t>(remaining, RecvBufferSize > 0 ? RecvBufferSize : 32768);
  std::vector<char> block(size_t(std::max<int64_t>(blockSize, 1)));
  struct HintReset {
    int64_t& hint;
    ~HintReset() { hint = 0; }
  } hintReset{receiveHint_};
  while (remaining > 0 && IsOpen()) {
    int64_t n = std::min(remaining, blockSize);
    // Blocks and their progress events stay as they are; only the receives under them may take
    // more of what is known to come.
    receiveHint_ = remaining - int64_t(input_.size());
    try {
      ReadExact(block.data(), n);
    } catch (const ENetConnClosedGracefully&) {
      if (!toClose) throw;
      break;
    }
    stream.Write(block.data(), n);
    if (!toClose) remaining -= n;
  }
  if (toClose && !input_.empty()) {
    // The tail that came before the close is stored without a progress report.
    stream.Write(input_.data(), int64_t(input_.size()));
    input_.Clear();
  }
}

void TNetTCPConnection::WriteBytes(const void* data, size_t count, bool writeNow) {
  if (count == 0) return;
  CheckPeerClosed(true, true);
  if (!IsOpen()) throw ENetNotConnected("Not Connected");
  if (batchOpen_ && !writeNow) {
    batch_.append(static_cast<const char*>(data), count);
    if (batchThreshold_ > 0 && int64_t(batch_.size()) >= batchThreshold_) {
      std::string front = batch_.substr(0, size_t(batchThreshold_));
      batch_.erase(0, size_t(batchThreshold_));
      SendNow(front.data(), front.size());
    }
    return;
  }
  SendNow(static_cast<const char*>(data), count);
}

void TNetTCPConnection::SendNow(const char* data, size_t count) {
  TNetStack& stack = Stack();
  size_t sent = 0;
  while (sent < count) {
    if (!io_ || !io_->Connected()) throw ENetClosedSocket("Disconnected.");
    size_t chunk = std::min<size_t>(count - sent, INT_MAX);
    int n = stack.Send(io_->Binding.Handle, data + sent, int(chunk));
    if (n == 0) {
      peerClosed_ = true;
      CheckPeerClosed(true, false);
      continue;
    }
    if (n < 0) {
      int code = stack.WSAGetLastError();
      stack.LastError = code;
      if (code == kWsaESHUTDOWN || code == kWsaECONNABORTED || code == kWsaECONNRESET) DropSocket();
      RaiseError(code);
    }
    sent += size_t(n);
    AddProgress(wmWrite, n);
  }
}

void TNetTCPConnection::WriteLine(const std::string& text) {
  std::string line = text + "\r\n";
  WriteBytes(line.data(), line.size());
}

void TNetTCPConnection::StartBatch(int64_t threshold) {
  batchOpen_ = true;
  batchThreshold_ = threshold;
  batch_.clear();
}

void TNetTCPConnection::SendBatch() {
  std::string data;
  data.swap(batch_);
  batchOpen_ = false;
  if (!data.empty()) SendNow(data.data(), data.size());
}

void TNetTCPConnection::DropSocket() {
  if (!io_) return;
  peerClosed_ = true;
  TNetSocketHandle& h = io_->Binding;
  if (h.HandleAllocated) {
    h.HandleAllocated = false;
    TNetStack& stack = Stack();
    stack.Shutdown(h.Handle, 1);
    stack.CloseSocket(h.Handle);
    h.Handle = kNetInvalidSocket;
  }
}

void TNetTCPConnection::CloseConnection() {
  DoStatus(hsDisconnecting);
  DropSocket();
  io_.reset();
  DisconnectedEvent();
  DoStatus(hsDisconnected);
}
