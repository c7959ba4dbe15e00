// Identifiers of the program's type library "Tavlox" (resource "TYPELIB" 1) and the declaration
// of its dual interface IMyExt, for the automation server and anyone who talks to it.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace Tavlox_TLB {

constexpr WORD TavloxMajorVersion = 1;
constexpr WORD TavloxMinorVersion = 0;

extern const GUID LIBID_Tavlox;  // {0911259F-C974-4B51-83E0-31D16A561B9B}
extern const IID IID_IMyExt;     // {2A73A70B-8109-430D-8677-361308291B39}
extern const CLSID CLASS_MyExt;  // {0202604E-498F-43C0-84F4-BA7DC3E66F13}

// Dispatch identifier of IMyExt.DoPlay.
constexpr DISPID DISPID_DoPlay = 201;

}  // namespace Tavlox_TLB

// Dual interface of class MyExt: IDispatch's seven slots, then DoPlay.
struct IMyExt : public IDispatch {
  virtual HRESULT STDMETHODCALLTYPE DoPlay(BSTR str) = 0;
};
__CRT_UUID_DECL(IMyExt, 0x2A73A70B, 0x8109, 0x430D, 0x86, 0x77, 0x36, 0x13, 0x08, 0x29, 0x1B, 0x39)
