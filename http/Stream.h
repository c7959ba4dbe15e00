// Byte streams the HTTP client writes bodies into: an abstract stream, a growable memory stream
// and a file stream.
#pragma once

#include <cstdint>
#include <string>

class TNetStream {
 public:
  virtual ~TNetStream() = default;
  virtual int64_t Position() const = 0;
  virtual void SetPosition(int64_t position) = 0;
  virtual int64_t Size() const = 0;
  // Sets the size; the position is kept unless it would lie past the new end.
  virtual void SetSize(int64_t size) = 0;
  // Writes at the position, growing the stream as needed; returns the count written.
  virtual int64_t Write(const void* data, int64_t count) = 0;
  // Reads from the position; returns the count read (less at the end).
  virtual int64_t Read(void* data, int64_t count) = 0;
};

// Bytes in one block of memory. Growing keeps the block (realloc), so a large block can grow
// without a second copy of it where the platform remaps pages.
class TMemoryStream : public TNetStream {
 public:
  TMemoryStream() = default;
  ~TMemoryStream() override;
  TMemoryStream(const TMemoryStream&) = delete;
  TMemoryStream& operator=(const TMemoryStream&) = delete;

  int64_t Position() const override { return position_; }
  void SetPosition(int64_t position) override;
  int64_t Size() const override { return size_; }
  void SetSize(int64_t size) override;
  int64_t Write(const void* data, int64_t count) override;
  int64_t Read(void* data, int64_t count) override;

  const char* Data() const { return data_; }
  char* Data() { return data_; }
  // A copy of the whole content.
  std::string Bytes() const { return std::string(data_ ? data_ : "", size_t(size_)); }
  void Clear();

 private:
  void Reserve(int64_t capacity);
  char* data_ = nullptr;
  int64_t size_ = 0;
  int64_t capacity_ = 0;
  int64_t position_ = 0;
};

// A file opened for writing (created or truncated) or for reading.
class TFileStream : public TNetStream {
 public:
  enum class Mode { Create, OpenRead };
  TFileStream(const std::string& path, Mode mode);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;

  int64_t Position() const override { return position_; }
  void SetPosition(int64_t position) override;
  int64_t Size() const override;
  // On a file that has no size of its own (a device such as /dev/null) this only moves the end
  // the stream reports.
  void SetSize(int64_t size) override;
  int64_t Write(const void* data, int64_t count) override;
  int64_t Read(void* data, int64_t count) override;

 private:
  int fd_ = -1;
  bool regular_ = true;
  int64_t position_ = 0;
  int64_t deviceSize_ = 0;
};
