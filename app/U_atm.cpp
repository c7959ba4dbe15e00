#include "app/U_atm.h"

#include <shellapi.h>

#include <cstdio>
#include <vector>

namespace tavlox::atm {

namespace {

std::string WideToUtf8(const wchar_t* s) {
  int n = WideCharToMultiByte(CP_UTF8, 0, s, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1) return {};
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, s, -1, out.data(), n, nullptr, nullptr);
  out.resize(static_cast<size_t>(n - 1));
  return out;
}

std::string ClassMessage(const char* format) {
  char text[256];
  std::snprintf(text, sizeof text, format, TMyExt::kClassName);
  return text;
}

// Releases a TYPEATTR on every path.
class TypeAttr {
 public:
  explicit TypeAttr(ITypeInfo* info) : info_(info) { OleCheck(info->GetTypeAttr(&attr_)); }
  ~TypeAttr() { info_->ReleaseTypeAttr(attr_); }
  TypeAttr(const TypeAttr&) = delete;
  TypeAttr& operator=(const TypeAttr&) = delete;
  const TYPEATTR* operator->() const { return attr_; }

 private:
  ITypeInfo* info_;
  TYPEATTR* attr_ = nullptr;
};

std::unique_ptr<TComServer> g_server;

}  // namespace

std::string OleErrorMessage(HRESULT code) {
  char* buffer = nullptr;
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
  std::string text;
  if (n && buffer) text.assign(buffer, n);
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
  if (text.empty()) {
    char fallback[32];
    std::snprintf(fallback, sizeof fallback, "OLE error %.8lX", static_cast<unsigned long>(code));
    text = fallback;
  }
  return text;
}

void OleCheck(HRESULT code) {
  if (FAILED(code)) throw EOleSysError(OleErrorMessage(code), code);
}

// ---- TMyExt ----

bool TMyExt::Implements(REFIID iid) {
  return IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, Tavlox_TLB::IID_IMyExt) ||
         IsEqualIID(iid, IID_IProvideClassInfo) || IsEqualIID(iid, IID_ISupportErrorInfo);
}

TMyExt::TMyExt(ComPtr<ITypeInfo> dispTypeInfo, ComPtr<ITypeInfo> classInfo)
    : dispTypeInfo_(std::move(dispTypeInfo)), classInfo_(std::move(classInfo)) {}

HRESULT TMyExt::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, Tavlox_TLB::IID_IMyExt))
    *out = static_cast<IMyExt*>(this);
  else if (IsEqualIID(iid, IID_IProvideClassInfo))
    *out = static_cast<IProvideClassInfo*>(this);
  else if (IsEqualIID(iid, IID_ISupportErrorInfo))
    *out = static_cast<ISupportErrorInfo*>(this);
  else
    return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

ULONG TMyExt::AddRef() { return ++refs_; }

ULONG TMyExt::Release() {
  ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

HRESULT TMyExt::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

HRESULT TMyExt::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  dispTypeInfo_->AddRef();
  *info = dispTypeInfo_.Get();
  return S_OK;
}

HRESULT TMyExt::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  return DispGetIDsOfNames(dispTypeInfo_.Get(), names, count, ids);
}

HRESULT TMyExt::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* excep,
                       UINT* argErr) {
  return DispInvoke(static_cast<IMyExt*>(this), dispTypeInfo_.Get(), id, flags, params, result, excep, argErr);
}

HRESULT TMyExt::DoPlay(BSTR) {
  // The program offers no playback through automation; the method is part of the published
  // interface and succeeds without effect.
  return S_OK;
}

HRESULT TMyExt::GetClassInfo(ITypeInfo** info) {
  if (!info) return E_POINTER;
  *info = classInfo_.Get();
  if (*info) (*info)->AddRef();
  return *info ? S_OK : E_UNEXPECTED;
}

HRESULT TMyExt::InterfaceSupportsErrorInfo(REFIID iid) {
  return IsEqualIID(iid, Tavlox_TLB::IID_IMyExt) ? S_OK : S_FALSE;
}

// ---- TAutoObjectFactory ----

TAutoObjectFactory::TAutoObjectFactory(ITypeLib* typeLib, const CLSID& clsid) : clsid_(clsid) {
  if (!typeLib || typeLib->GetTypeInfoOfGuid(clsid, classInfo_.ReleaseAndGetAddressOf()) != S_OK || !classInfo_)
    throw EOleError(ClassMessage("Type information missing for class %s"));
  BSTR name = nullptr, doc = nullptr;
  if (SUCCEEDED(classInfo_->GetDocumentation(MEMBERID_NIL, &name, &doc, nullptr, nullptr))) {
    if (name) className_ = name;
    if (doc) description_ = doc;
  }
  SysFreeString(name);
  SysFreeString(doc);

  // The coclass's default interface.
  {
    TypeAttr attr(classInfo_.Get());
    for (UINT i = 0; i < attr->cImplTypes && !dispTypeInfo_; ++i) {
      INT flags = 0;
      HREFTYPE ref = 0;
      if (FAILED(classInfo_->GetImplTypeFlags(i, &flags)) || !(flags & IMPLTYPEFLAG_FDEFAULT) ||
          (flags & IMPLTYPEFLAG_FSOURCE))
        continue;
      if (SUCCEEDED(classInfo_->GetRefTypeOfImplType(i, &ref)))
        classInfo_->GetRefTypeInfo(ref, dispTypeInfo_.ReleaseAndGetAddressOf());
    }
  }
  if (!dispTypeInfo_) throw EOleError(ClassMessage("Incorrect type information for class %s"));
  IID dispIID;
  {
    TypeAttr attr(dispTypeInfo_.Get());
    dispIID = attr->guid;
  }
  if (!TMyExt::Implements(dispIID) || IsEqualIID(dispIID, IID_IUnknown))
    throw EOleError(ClassMessage("Dispatch interface missing from class %s"));
  errorIID_ = dispIID;
}

HRESULT TAutoObjectFactory::CreateInstance(REFIID iid, void** out) const {
  if (!out) return E_POINTER;
  *out = nullptr;
  auto* object = new (std::nothrow) TMyExt(dispTypeInfo_, classInfo_);
  if (!object) return E_OUTOFMEMORY;
  HRESULT hr = object->QueryInterface(iid, out);
  object->Release();
  return hr;
}

// ---- TComServer ----

TComServer::TComServer(std::wstring serverFileName, TStartMode startMode)
    : serverFileName_(std::move(serverFileName)), startMode_(startMode) {
  oleAut32_ = LoadLibraryA("OLEAUT32.DLL");
}

TComServer::~TComServer() {
  factory_.reset();
  typeLib_.Reset();
  if (oleAut32_) FreeLibrary(oleAut32_);
}

std::wstring TComServer::HelpDirectory() const {
  size_t cut = serverFileName_.find_last_of(L"\\/:");
  return cut == std::wstring::npos ? std::wstring() : serverFileName_.substr(0, cut + 1);
}

ITypeLib* TComServer::TypeLib() {
  if (!typeLib_) OleCheck(LoadTypeLib(serverFileName_.c_str(), typeLib_.ReleaseAndGetAddressOf()));
  return typeLib_.Get();
}

void TComServer::RegisterTypeLibrary() {
  std::wstring path = serverFileName_;
  std::wstring helpDir = HelpDirectory();
  OleCheck(RegisterTypeLib(TypeLib(), path.data(), helpDir.empty() ? nullptr : helpDir.data()));
}

void TComServer::UnregisterTypeLibrary() {
  using UnRegisterTypeLibFn = HRESULT(WINAPI*)(REFGUID, WORD, WORD, LCID, SYSKIND);
  if (!oleAut32_) return;
  auto unregister = reinterpret_cast<UnRegisterTypeLibFn>(GetProcAddress(oleAut32_, "UnRegisterTypeLib"));
  if (unregister)
    unregister(Tavlox_TLB::LIBID_Tavlox, Tavlox_TLB::TavloxMajorVersion, Tavlox_TLB::TavloxMinorVersion, 0, SYS_WIN32);
}

bool TComServer::Start() {
  if (startMode_ == TStartMode::UnregServer)
    UnregisterTypeLibrary();
  else
    RegisterTypeLibrary();
  return startMode_ == TStartMode::RegServer || startMode_ == TStartMode::UnregServer;
}

void TComServer::AddFactory(std::unique_ptr<TAutoObjectFactory> factory) { factory_ = std::move(factory); }

const TAutoObjectFactory* TComServer::Factory(const CLSID& clsid) const {
  return factory_ && IsEqualCLSID(factory_->ClassID(), clsid) ? factory_.get() : nullptr;
}

// ---- process-wide ----

std::wstring ModuleLongFileName(HMODULE module) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) throw EOleSysError(OleErrorMessage(HRESULT_FROM_WIN32(GetLastError())), HRESULT_FROM_WIN32(GetLastError()));
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  DWORD need = GetLongPathNameW(path.c_str(), nullptr, 0);
  if (need == 0) return path;  // the short form still names the file
  std::wstring longPath(need, L'\0');
  DWORD n = GetLongPathNameW(path.c_str(), longPath.data(), need);
  if (n == 0 || n >= need) return path;
  longPath.resize(n);
  return longPath;
}

TStartMode StartModeFromCommandLine() {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::string> args;
  for (int i = 1; argv && i < argc; ++i) args.push_back(WideToUtf8(argv[i]));
  if (argv) LocalFree(argv);
  return tavlox::ops::StartModeOf(args);
}

void InitComServer() {
  if (!g_server) g_server = std::make_unique<TComServer>(ModuleLongFileName(), StartModeFromCommandLine());
}

void InitAtm() {
  InitComServer();
  g_server->AddFactory(std::make_unique<TAutoObjectFactory>(g_server->TypeLib(), Tavlox_TLB::CLASS_MyExt));
}

bool StartComServer() {
  if (!g_server) InitComServer();
  return g_server->Start();
}

void FinalizeAtm() { g_server.reset(); }

TComServer* ComServer() { return g_server.get(); }

}  // namespace tavlox::atm
