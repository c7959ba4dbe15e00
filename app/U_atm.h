// The automation server: the start mode chosen by the command line, the type library loaded from
// the program's own file, the one (internal) class factory of class MyExt, and the library's
// registration at every start.
//
// Start-up calls, in this order:
//   tavlox::atm::InitComServer();      module initialisation: start mode from the command line
//   tavlox::atm::InitAtm();            module initialisation: loads the type library, creates the factory
//   CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
//   if (tavlox::atm::StartComServer()) ExitProcess(0);   registers (or unregisters)
//   ...
//   tavlox::atm::FinalizeAtm();        at the end, before CoUninitialize
// InitAtm and StartComServer raise EOleError / EOleSysError, which end the start-up.
#pragma once

#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>
#include <wrl/client.h>

#include <atomic>
#include <memory>
#include <stdexcept>
#include <string>

#include "app/Tavlox_TLB.h"
#include "app/ops/ShellRules.h"
#include "ui/Exceptions.h"

namespace tavlox::atm {

using Microsoft::WRL::ComPtr;
using tavlox::ops::TStartMode;

// A failure of the automation layer; its message is in the ANSI code page. The start-up error
// box names it by ClassName().
class EOleError : public tavlox::ui::Exception {
 public:
  using tavlox::ui::Exception::Exception;
  const char* ClassName() const override { return "EOleError"; }
};

// A failed platform call, carrying the platform's message for the HRESULT (the framework's kind).
using EOleSysError = tavlox::ui::EOleSysError;

// The platform's text for an HRESULT (without the final line break), or "OLE error XXXXXXXX".
std::string OleErrorMessage(HRESULT code);
// Raises EOleSysError for a failed HRESULT.
void OleCheck(HRESULT code);

// The automation object of class MyExt. Nothing in the program creates one; it exists so that
// the factory can check that the class implements the coclass's default interface.
class TMyExt final : public IMyExt, public IProvideClassInfo, public ISupportErrorInfo {
 public:
  // Name of the class in the factory's messages.
  static constexpr const char* kClassName = "TMyExt";
  // Whether the class implements the interface `iid` (IUnknown, IDispatch, IMyExt, ...).
  static bool Implements(REFIID iid);

  TMyExt(ComPtr<ITypeInfo> dispTypeInfo, ComPtr<ITypeInfo> classInfo);

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IDispatch, served from the type information of IMyExt
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO* excep, UINT* argErr) override;
  // IMyExt
  HRESULT STDMETHODCALLTYPE DoPlay(BSTR str) override;
  // IProvideClassInfo
  HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override;
  // ISupportErrorInfo
  HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override;

 private:
  ~TMyExt() = default;
  std::atomic<ULONG> refs_{1};
  ComPtr<ITypeInfo> dispTypeInfo_;
  ComPtr<ITypeInfo> classInfo_;
};

// The class factory of MyExt, built from the type library. Instancing is internal: it is never
// registered with the system, so only this process could create objects through it.
class TAutoObjectFactory {
 public:
  // Looks up the coclass `clsid`, takes its name and help string and its default interface.
  // Raises EOleError "Type information missing for class TMyExt" (no such coclass),
  // "Incorrect type information for class TMyExt" (no default interface) or
  // "Dispatch interface missing from class TMyExt" (TMyExt does not implement it).
  TAutoObjectFactory(ITypeLib* typeLib, const CLSID& clsid);

  const CLSID& ClassID() const { return clsid_; }
  const std::wstring& ClassName() const { return className_; }
  const std::wstring& Description() const { return description_; }
  ITypeInfo* ClassInfo() const { return classInfo_.Get(); }
  ITypeInfo* DispTypeInfo() const { return dispTypeInfo_.Get(); }
  const IID& ErrorIID() const { return errorIID_; }
  // Creates a TMyExt and asks it for `iid`.
  HRESULT CreateInstance(REFIID iid, void** out) const;

 private:
  CLSID clsid_;
  std::wstring className_;
  std::wstring description_;
  ComPtr<ITypeInfo> classInfo_;
  ComPtr<ITypeInfo> dispTypeInfo_;
  IID errorIID_{};
};

// The server state: start mode, the server file and its type library (loaded on first use).
class TComServer {
 public:
  TComServer(std::wstring serverFileName, TStartMode startMode);
  ~TComServer();
  TComServer(const TComServer&) = delete;
  TComServer& operator=(const TComServer&) = delete;

  TStartMode StartMode() const { return startMode_; }
  // The program file's full path, each component in its long form.
  const std::wstring& ServerFileName() const { return serverFileName_; }
  // The directory of ServerFileName with its trailing backslash.
  std::wstring HelpDirectory() const;
  // LoadTypeLib of the server file, once; raises EOleSysError with the platform's message.
  ITypeLib* TypeLib();

  // Registers the library (every mode but unregister) or unregisters it (unregister mode).
  // Returns true when the process is to end now with exit code 0 (register and unregister modes).
  bool Start();
  void RegisterTypeLibrary();
  // UnRegisterTypeLib looked up in "OLEAUT32.DLL"; its result is not examined.
  void UnregisterTypeLibrary();

  void AddFactory(std::unique_ptr<TAutoObjectFactory> factory);
  const TAutoObjectFactory* Factory(const CLSID& clsid) const;

 private:
  std::wstring serverFileName_;
  TStartMode startMode_;
  ComPtr<ITypeLib> typeLib_;
  HMODULE oleAut32_ = nullptr;  // the extra reference taken at initialisation
  std::unique_ptr<TAutoObjectFactory> factory_;
};

// The running program's path in long-name form.
std::wstring ModuleLongFileName(HMODULE module = nullptr);
// The start mode of the running process's command line.
TStartMode StartModeFromCommandLine();

// Process-wide server, for the program's start-up (see the top of this file).
void InitComServer();
void InitAtm();
bool StartComServer();
void FinalizeAtm();
TComServer* ComServer();

}  // namespace tavlox::atm
