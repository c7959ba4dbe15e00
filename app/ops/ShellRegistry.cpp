#include "app/ops/ShellRegistry.h"

#include <vector>

namespace tavlox::ops {

namespace {

class RegKey {
 public:
  RegKey(HKEY root, const char* key) {
    if (RegOpenKeyExA(root, key, 0, KEY_ALL_ACCESS, &key_) != ERROR_SUCCESS) key_ = nullptr;
  }
  ~RegKey() {
    if (key_) RegCloseKey(key_);
  }
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

}  // namespace

std::string ReadShellRegString(HKEY root, const char* key, const char* value) {
  RegKey k(root, key);
  if (!k.Get()) return {};
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(k.Get(), value, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return {};
  if (type != REG_SZ && type != REG_EXPAND_SZ)
    throw ERegistryException(std::string("Invalid data type for '") + value + "'");
  // The value may grow between the two calls: ask again until the buffer holds it.
  std::vector<char> data;
  LONG rc;
  do {
    data.assign(size + 2, '\0');
    size = static_cast<DWORD>(data.size() - 2);
    rc = RegQueryValueExA(k.Get(), value, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
  } while (rc == ERROR_MORE_DATA);
  if (rc != ERROR_SUCCESS) return {};
  if (type != REG_SZ && type != REG_EXPAND_SZ)
    throw ERegistryException(std::string("Invalid data type for '") + value + "'");
  std::string text(data.data(), size < data.size() ? size : data.size());
  // The stored size counts the terminating zero; the text ends at the first one.
  size_t zero = text.find('\0');
  if (zero != std::string::npos) text.resize(zero);
  return text;
}

bool CanOpenKeyFullAccess(HKEY root, const char* key) {
  RegKey k(root, key);
  return k.Get() != nullptr;
}

}  // namespace tavlox::ops
