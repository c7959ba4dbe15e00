#include "app/ops/DataConnection.h"

#include <oaidl.h>

#include "app/ops/ShellRules.h"

// The start of ADO's connection interface of version 2.0 (_Connection,
// {00000550-0000-0010-8000-00AA006D2EA4}): IDispatch, _ADO's Properties, then the connection
// string. Only these slots are used.
struct AdoConnection20 : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE get_Properties(IDispatch** properties) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ConnectionString(BSTR* text) = 0;
  virtual HRESULT STDMETHODCALLTYPE put_ConnectionString(BSTR text) = 0;
};

namespace tavlox::ops {

namespace {

// ADO's connection class and its ADO 2.0 connection interface (_Connection).
const CLSID kClsidAdoConnection = {0x00000514, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};
const IID kIidConnection20 = {0x00000550, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x6D, 0x2E, 0xA4}};

std::wstring AnsiToWide(const std::string& s) {
  if (s.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
  return out;
}

std::string ErrorText(HRESULT code) {
  char* buffer = nullptr;
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text = n && buffer ? std::string(buffer, n) : std::string();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  if (text.empty()) {
    char fallback[32];
    wsprintfA(fallback, "OLE error %08lX", static_cast<unsigned long>(code));
    text = fallback;
  }
  return text;
}

class Bstr {
 public:
  explicit Bstr(const std::wstring& s) : b_(SysAllocStringLen(s.data(), static_cast<UINT>(s.size()))) {}
  Bstr() = default;
  ~Bstr() { SysFreeString(b_); }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  BSTR Get() const { return b_; }
  BSTR* Put() {
    SysFreeString(b_);
    b_ = nullptr;
    return &b_;
  }
  std::wstring Text() const { return b_ ? std::wstring(b_, SysStringLen(b_)) : std::wstring(); }

 private:
  BSTR b_ = nullptr;
};

}  // namespace

TADOConnection::TADOConnection() {
  HRESULT hr = CoCreateInstance(kClsidAdoConnection, nullptr, CLSCTX_INPROC_SERVER, kIidConnection20,
                                reinterpret_cast<void**>(object_.ReleaseAndGetAddressOf()));
  if (FAILED(hr) || !object_) throw EADOError(kAdoMissingMessage, FAILED(hr) ? hr : E_NOINTERFACE);
}

TADOConnection::~TADOConnection() = default;

AdoConnection20* TADOConnection::ConnectionObject() const { return object_.Get(); }

std::wstring TADOConnection::ConnectionString() const {
  Bstr text;
  HRESULT hr = object_->get_ConnectionString(text.Put());
  if (FAILED(hr)) throw EADOError(ErrorText(hr), hr);
  return text.Text();
}

void TADOConnection::SetConnectionString(const std::wstring& text) {
  if (ConnectionString() == text) return;
  Bstr value(text);
  HRESULT hr = object_->put_ConnectionString(value.Get());
  if (FAILED(hr)) throw EADOError(ErrorText(hr), hr);
}

std::string ExecutableDirectoryAnsi() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  // The last "\" that is a separator, not the trail byte of a double-byte character.
  size_t cut = std::string::npos;
  for (size_t i = 0; i < path.size(); ++i) {
    if (IsDBCSLeadByte(static_cast<BYTE>(path[i])) && i + 1 < path.size()) {
      ++i;
      continue;
    }
    if (path[i] == '\\' || path[i] == ':') cut = i;
  }
  return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

void DataModuleCreate(TADOConnection& con1, const std::string& exeDir) {
  con1.SetConnectionString(AnsiToWide(JetConnectionString(exeDir)));
}

}  // namespace tavlox::ops
