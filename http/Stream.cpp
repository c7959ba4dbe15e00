#include "http/Stream.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/types.h>

#ifdef _WIN32
#include <io.h>
#define tavlox_lseek _lseeki64
#define tavlox_read _read
#define tavlox_write _write
#define tavlox_close _close
#else
#include <unistd.h>
#define tavlox_lseek lseek
#define tavlox_read read
#define tavlox_write write
#define tavlox_close close
#endif

TMemoryStream::~TMemoryStream() { std::free(data_); }

void TMemoryStream::Clear() {
  std::free(data_);
  data_ = nullptr;
  size_ = capacity_ = position_ = 0;
}

void TMemoryStream::Reserve(int64_t capacity) {
  if (capacity <= capacity_) return;
  if (capacity < 0 || uint64_t(capacity) > SIZE_MAX) throw std::bad_alloc();
  void* p = std::realloc(data_, size_t(capacity));
  if (!p) throw std::bad_alloc();
  data_ = static_cast<char*>(p);
  capacity_ = capacity;
}

void TMemoryStream::SetPosition(int64_t position) { position_ = position < 0 ? 0 : position; }

void TMemoryStream::SetSize(int64_t size) {
  if (size < 0) size = 0;
  // An exact size: callers that know the final size get a single allocation.
  if (size > capacity_) Reserve(size);
  size_ = size;
  if (position_ > size_) position_ = size_;
}

int64_t TMemoryStream::Write(const void* data, int64_t count) {
  if (count <= 0) return 0;
  int64_t end = position_ + count;
  if (end > capacity_) {
    // Grow by half again at least, so a stream written in blocks is not reallocated per block.
    int64_t grown = capacity_ + capacity_ / 2;
    Reserve(end > grown ? end : grown);
  }
  if (position_ > size_) std::memset(data_ + size_, 0, size_t(position_ - size_));
  std::memcpy(data_ + position_, data, size_t(count));
  position_ = end;
  if (end > size_) size_ = end;
  return count;
}

int64_t TMemoryStream::Read(void* data, int64_t count) {
  int64_t n = size_ - position_;
  if (count < n) n = count;
  if (n <= 0) return 0;
  std::memcpy(data, data_ + position_, size_t(n));
  position_ += n;
  return n;
}

namespace {
std::runtime_error FileError(const std::string& what) {
  return std::runtime_error(what + ": " + std::strerror(errno));
}
}  // namespace

TFileStream::TFileStream(const std::string& path, Mode mode) {
#ifdef _WIN32
  int flags = mode == Mode::Create ? (_O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY) : (_O_RDONLY | _O_BINARY);
  fd_ = _open(path.c_str(), flags, _S_IREAD | _S_IWRITE);
#else
  int flags = mode == Mode::Create ? (O_WRONLY | O_CREAT | O_TRUNC) : O_RDONLY;
  fd_ = open(path.c_str(), flags | O_CLOEXEC, 0666);
#endif
  if (fd_ < 0) throw FileError("Cannot open file \"" + path + "\"");
#ifdef _WIN32
  struct _stati64 st {};
  if (_fstati64(fd_, &st) == 0) regular_ = (st.st_mode & _S_IFMT) == _S_IFREG;
#else
  struct stat st {};
  if (fstat(fd_, &st) == 0) regular_ = S_ISREG(st.st_mode);
#endif
}

TFileStream::~TFileStream() {
  if (fd_ >= 0) tavlox_close(fd_);
}

void TFileStream::SetPosition(int64_t position) {
  if (position < 0) position = 0;
  if (regular_ && tavlox_lseek(fd_, position, SEEK_SET) < 0) throw FileError("Seek failed");
  position_ = position;
}

int64_t TFileStream::Size() const {
  if (!regular_) return deviceSize_ > position_ ? deviceSize_ : position_;
#ifdef _WIN32
  struct _stati64 st {};
  if (_fstati64(fd_, &st) != 0) return position_;
#else
  struct stat st {};
  if (fstat(fd_, &st) != 0) return position_;
#endif
  return int64_t(st.st_size);
}

void TFileStream::SetSize(int64_t size) {
  if (size < 0) size = 0;
  if (!regular_) {
    deviceSize_ = size;
    if (position_ > size) position_ = size;
    return;
  }
#ifdef _WIN32
  if (_chsize_s(fd_, size) != 0) throw FileError("Cannot set the file size");
#else
  if (ftruncate(fd_, off_t(size)) != 0) throw FileError("Cannot set the file size");
#endif
  if (position_ > size) SetPosition(size);
}

int64_t TFileStream::Write(const void* data, int64_t count) {
  const char* p = static_cast<const char*>(data);
  int64_t done = 0;
  while (done < count) {
    int64_t chunk = count - done;
    if (chunk > (1 << 30)) chunk = 1 << 30;
    auto n = tavlox_write(fd_, p + done, (unsigned)chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw FileError("Write failed");
    }
    done += n;
  }
  position_ += done;
  if (!regular_ && position_ > deviceSize_) deviceSize_ = position_;
  return done;
}

int64_t TFileStream::Read(void* data, int64_t count) {
  char* p = static_cast<char*>(data);
  int64_t done = 0;
  while (done < count) {
    int64_t chunk = count - done;
    if (chunk > (1 << 30)) chunk = 1 << 30;
    auto n = tavlox_read(fd_, p + done, (unsigned)chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw FileError("Read failed");
    }
    if (n == 0) break;
    done += n;
  }
  position_ += done;
  return done;
}
