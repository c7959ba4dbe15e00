// The blocking TCP client connection under the HTTP client: a queue of received bytes, line,
// counted and to-close reads, batched writes, the detection of a close by the server, and the
// progress and status events.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "http/SocketStack.h"

class TNetStream;

enum TWorkMode { wmRead, wmWrite };

enum TNetStatus {
  hsResolving,
  hsConnecting,
  hsConnected,
  hsDisconnecting,
  hsDisconnected,
  hsStatusText,
  ftpTransfer,
  ftpReady,
  ftpAborted
};

// The enumerator's name ("hsConnecting") and its status text before formatting.
const char* StatusName(TNetStatus status);
const char* StatusTextFormat(TNetStatus status);

enum TNetMaxLineAction { maException, maSplit };

// The root of the client's component family. Every instance holds a reference on the process's
// socket stack. The event hooks are virtual so that each concrete component can publish events
// whose sender has its own type.
class TNetBaseComponent {
 public:
  TNetBaseComponent() = default;
  virtual ~TNetBaseComponent() = default;
  TNetBaseComponent(const TNetBaseComponent&) = delete;
  TNetBaseComponent& operator=(const TNetBaseComponent&) = delete;
};

class TNetComponent : public TNetBaseComponent {
 public:
  TNetComponent();
  ~TNetComponent() override;

 protected:
  // Raises the status event with the status text formatted with the argument.
  void DoStatus(TNetStatus status, const std::string& argument = {});
  virtual void StatusEvent(TNetStatus status, const std::string& text) {}
  virtual void WorkBeginEvent(TWorkMode mode, int64_t countMax) {}
  virtual void WorkEvent(TWorkMode mode, int64_t count) {}
  virtual void WorkEndEvent(TWorkMode mode) {}

  void StartProgress(TWorkMode mode, int64_t size);
  void AddProgress(TWorkMode mode, int64_t count);
  void FinishProgress(TWorkMode mode);

  TNetStack& Stack() { return TNetStack::TheStack(); }

 private:
  struct Progress {
    int level = 0;
    int64_t size = 0;
    int64_t position = 0;
  } progress_[2];
};

// The socket handle of a connection: the handle, and the local and peer addresses read back
// after binding and connecting.
class TNetSocketHandle {
 public:
  TNetSocket Handle = kNetInvalidSocket;
  bool HandleAllocated = false;
  std::string IP;
  int Port = 0;
  std::string PeerIP;
  int PeerPort = 0;
  int ClientPortMin = 0;
  int ClientPortMax = 0;
  void Reset();
};

class TNetIOHandlerSocket {
 public:
  bool UseNagle = true;
  TNetSocketHandle Binding;
  bool Connected() const { return Binding.HandleAllocated; }
};

class TNetTCPConnection : public TNetComponent {
 public:
  TNetTCPConnection() = default;
  ~TNetTCPConnection() override;

  // Opens the connection to Host and Port; a limit of 0 or -1 connects without a time limit.
  void OpenConnection(int connectTimeoutMs = 0);
  bool IsOpen();
  void CloseConnection();
  void DropSocket();
  // Acts on a close that has been seen; returns whether the connection counts as closed.
  bool CheckPeerClosed(bool raiseIfClosed, bool ignoreQueue);
  void PollPeerClose(bool raiseIfClosed);

  static constexpr int kDefaultWait = -2;
  // One receive: above 0 the count added, 0 when closed with bytes still queued, -1 when the wait
  // ran out.
  int FillInput(bool raiseIfClosed = true, int waitMs = kDefaultWait, bool raiseOnTimeout = true);
  std::string ReadLine(const std::string& terminator = "\n", int waitMs = kDefaultWait, int maxLength = -1);
  void ReadExact(void* buffer, int64_t count);
  // Appends count bytes (or everything up to the server's close) to the stream.
  void ReadToStream(TNetStream& stream, int64_t count, bool toClose = false);
  void WriteBytes(const void* data, size_t count, bool writeNow = false);
  void WriteLine(const std::string& text);
  void StartBatch(int64_t threshold = -1);
  void SendBatch();

  // The bytes received and not yet consumed.
  size_t InputSize() const { return input_.size(); }
  bool PeerClosed() const { return peerClosed_; }
  bool LastLineCut() const { return lastLineCut_; }
  bool LastLineTimedOut() const { return lastLineTimedOut_; }
  TNetIOHandlerSocket* IOHandler() { return io_.get(); }

  // 0: every wait for data is unbounded; otherwise the limit in ms of each wait.
  int ReadTimeout() const { return readTimeout_; }
  void SetReadTimeout(int ms) { readTimeout_ = ms; }
  int RecvBufferSize = 32768;
  int SendBufferSize = 32768;
  int MaxLineLength = 16384;
  TNetMaxLineAction MaxLineAction = maException;

  // Where a TNetTCPClient connects to.
  std::string Host;
  int Port = 0;
  std::string BoundIP;
  int BoundPort = 0;

  // The largest block a counted read reserves in its stream before data arrives; the stream
  // grows beyond it as data comes.
  static constexpr int64_t kMaxPresize = 64ll << 20;
  static constexpr int64_t kMaxReceive = 256 << 10;

 protected:
  virtual void ConnectedEvent() {}
  virtual void DisconnectedEvent() {}

 private:
  // Received bytes: consumed from the front, compacted lazily.
  class ByteQueue {
   public:
    ~ByteQueue();
    size_t size() const { return end_ - head_; }
    bool empty() const { return end_ == head_; }
    const char* data() const { return buf_ + head_; }
    // Room for n more bytes at the end; Commit(k) then appends the k bytes written there.
    char* Reserve(size_t n);
    void Commit(size_t n) { end_ += n; }
    void Consume(size_t n);
    void Clear() { head_ = end_ = 0; }

   private:
    char* buf_ = nullptr;
    size_t cap_ = 0, head_ = 0, end_ = 0;
  };

  int ResolveWait(int waitMs) const { return waitMs == kDefaultWait ? readTimeout_ : waitMs; }
  void Consume(size_t n);
  void SendNow(const char* data, size_t count);
  [[noreturn]] void RaiseError(int code);

  int readTimeout_ = 0;
  // During a stream read: how many bytes one receive may ask for (the body still to come, up to
  // kMaxReceive), so that a large body needs fewer, larger receives.
  int64_t receiveHint_ = 0;
  std::unique_ptr<TNetIOHandlerSocket> io_;
  ByteQueue input_;
  bool peerClosed_ = false;
  bool batchOpen_ = false;
  int64_t batchThreshold_ = -1;
  std::string batch_;
  bool lastLineCut_ = false;
  bool lastLineTimedOut_ = false;
};

class TNetTCPClient : public TNetTCPConnection {};
