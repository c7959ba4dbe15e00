// The type library resource of the program and the automation server built on it: every
// attribute of the stored library, the class factory and its three refusals, and the library's
// registration and removal in the real registry.
#include <gtest/gtest.h>

#include <windows.h>
#include <oaidl.h>
#include <ocidl.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "app/Tavlox_TLB.h"
#include "app/U_atm.h"
#include "tests/wine/ops/WineTestUtil.h"

using namespace tavlox::atm;
using tavlox::ops::TStartMode;
using namespace tavlox::wine_test;

namespace {

const GUID kStdOle = {0x00020430, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

struct Doc {
  std::wstring name, help;
};

Doc DocOf(ITypeLib* lib, INT index) {
  BSTR name = nullptr, help = nullptr;
  EXPECT_EQ(lib->GetDocumentation(index, &name, &help, nullptr, nullptr), S_OK);
  Doc d{name ? name : L"", help ? help : L""};
  SysFreeString(name);
  SysFreeString(help);
  return d;
}

Doc DocOf(ITypeInfo* info, MEMBERID id) {
  BSTR name = nullptr, help = nullptr;
  EXPECT_EQ(info->GetDocumentation(id, &name, &help, nullptr, nullptr), S_OK);
  Doc d{name ? name : L"", help ? help : L""};
  SysFreeString(name);
  SysFreeString(help);
  return d;
}

ComPtr<ITypeLib> LoadOwnTypeLib() {
  ComPtr<ITypeLib> lib;
  HRESULT hr = LoadTypeLib(ModuleLongFileName().c_str(), lib.GetAddressOf());
  EXPECT_EQ(hr, S_OK);
  return lib;
}

TEST(TypeLibrary, ResourceIsTypelibOne) {
  HRSRC res = FindResourceA(nullptr, MAKEINTRESOURCEA(1), "TYPELIB");
  ASSERT_NE(res, nullptr);
  DWORD size = SizeofResource(nullptr, res);
  EXPECT_GT(size, 0u);
  const char* data = static_cast<const char*>(LockResource(LoadResource(nullptr, res)));
  ASSERT_NE(data, nullptr);
  EXPECT_EQ(std::string(data, 4), "MSFT");
  std::printf("type library resource: %lu bytes\n", static_cast<unsigned long>(size));
}

// The stored library as the platform's type library compiler writes it: the header's library
// flags and each type's flags, read from the resource's bytes.
TEST(TypeLibrary, StoredRecords) {
  HRSRC res = FindResourceA(nullptr, MAKEINTRESOURCEA(1), "TYPELIB");
  ASSERT_NE(res, nullptr);
  const auto* data = static_cast<const unsigned char*>(LockResource(LoadResource(nullptr, res)));
  const DWORD size = SizeofResource(nullptr, res);
  auto at = [&](DWORD offset) {
    if (offset + 4 > size) throw std::out_of_range("outside the library");
    int32_t v;
    std::memcpy(&v, data + offset, 4);
    return v;
  };
  ASSERT_EQ(at(0), 0x5446534D);          // "MSFT"
  EXPECT_EQ(at(0x14) & 0xF, SYS_WIN32);  // target system
  EXPECT_EQ(at(0x18), 0x00000001);       // version 1.0 (minor in the high half)
  EXPECT_EQ(at(0x1C), 0);                // library flags
  ASSERT_EQ(at(0x20), 2);                // two types
  ASSERT_EQ(at(0x14) & 0x100, 0);        // no help DLL field: the header is 0x54 bytes
  const DWORD typeInfos = static_cast<DWORD>(at(0x54 + 4 * 2));  // first segment: the type records
  struct Expected {
    int kind;
    int flags;
    int implTypes;
  } expected[] = {{TKIND_DISPATCH, 0x1140, 1}, {TKIND_COCLASS, TYPEFLAG_FCANCREATE, 1}};
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    const DWORD record = typeInfos + 100 * i;
    EXPECT_EQ(at(record) & 0xF, expected[i].kind);
    EXPECT_EQ(at(record + 0x30), expected[i].flags);
    EXPECT_EQ(at(record + 0x38), 0x00000001);  // version 1.0
    EXPECT_EQ(at(record + 0x4C) & 0xFFFF, expected[i].implTypes);
  }
  EXPECT_EQ((at(typeInfos + 0x4C) >> 16) & 0xFFFF, 32);  // IMyExt: eight 4-byte slots
}

TEST(TypeLibrary, LibraryAttributes) {
  auto lib = LoadOwnTypeLib();
  ASSERT_TRUE(lib);
  TLIBATTR* attr = nullptr;
  ASSERT_EQ(lib->GetLibAttr(&attr), S_OK);
  EXPECT_TRUE(IsEqualGUID(attr->guid, Tavlox_TLB::LIBID_Tavlox));
  EXPECT_EQ(attr->lcid, 0u);
  EXPECT_EQ(attr->syskind, SYS_WIN32);
  EXPECT_EQ(attr->wMajorVerNum, 1);
  EXPECT_EQ(attr->wMinorVerNum, 0);
  // No library flags; the platform adds "has a disk image" for a library it read from a file.
  EXPECT_EQ(attr->wLibFlags & ~LIBFLAG_FHASDISKIMAGE, 0);
  lib->ReleaseTLibAttr(attr);

  Doc d = DocOf(lib.Get(), -1);
  EXPECT_EQ(d.name, L"Tavlox");
  EXPECT_EQ(d.help, L"Tavlox Library");
  EXPECT_EQ(lib->GetTypeInfoCount(), 2u);
}

TEST(TypeLibrary, DispatchInterfaceIMyExt) {
  auto lib = LoadOwnTypeLib();
  ASSERT_TRUE(lib);
  ComPtr<ITypeInfo> info;
  ASSERT_EQ(lib->GetTypeInfoOfGuid(Tavlox_TLB::IID_IMyExt, info.GetAddressOf()), S_OK);
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->typekind, TKIND_DISPATCH);
  // Wine leaves "OLE automation" out of the dispatch half of a dual interface when it reads
  // the library; the stored record holds all three flags (StoredRecords).
  EXPECT_EQ(attr->wTypeFlags | TYPEFLAG_FOLEAUTOMATION, 0x1140);
  EXPECT_EQ(attr->wMajorVerNum, 1);
  EXPECT_EQ(attr->wMinorVerNum, 0);
  info->ReleaseTypeAttr(attr);
  Doc d = DocOf(info.Get(), MEMBERID_NIL);
  EXPECT_EQ(d.name, L"IMyExt");
  EXPECT_EQ(d.help, L"Dispatch interface for MyExt Object");

  // The interface half of the dual interface: based on IDispatch from stdole2, one own method.
  HREFTYPE ref = 0;
  ASSERT_EQ(info->GetRefTypeOfImplType(-1, &ref), S_OK);
  ComPtr<ITypeInfo> vtbl;
  ASSERT_EQ(info->GetRefTypeInfo(ref, vtbl.GetAddressOf()), S_OK);
  ASSERT_EQ(vtbl->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->typekind, TKIND_INTERFACE);
  EXPECT_EQ(attr->cFuncs, 1);
  EXPECT_EQ(attr->cImplTypes, 1);
  // Eight table slots: 32 bytes for a 32-bit library, as the platform reports it in this process.
  std::printf("cbSizeVft %u\n", attr->cbSizeVft);
  EXPECT_TRUE(attr->cbSizeVft == 8 * 4 || attr->cbSizeVft == 8 * sizeof(void*));
  vtbl->ReleaseTypeAttr(attr);

  ASSERT_EQ(vtbl->GetRefTypeOfImplType(0, &ref), S_OK);
  ComPtr<ITypeInfo> base;
  ASSERT_EQ(vtbl->GetRefTypeInfo(ref, base.GetAddressOf()), S_OK);
  EXPECT_EQ(DocOf(base.Get(), MEMBERID_NIL).name, L"IDispatch");
  ASSERT_EQ(base->GetTypeAttr(&attr), S_OK);
  EXPECT_TRUE(IsEqualGUID(attr->guid, IID_IDispatch));
  base->ReleaseTypeAttr(attr);
  ComPtr<ITypeLib> imported;
  UINT index = 0;
  ASSERT_EQ(base->GetContainingTypeLib(imported.GetAddressOf(), &index), S_OK);
  TLIBATTR* libAttr = nullptr;
  ASSERT_EQ(imported->GetLibAttr(&libAttr), S_OK);
  EXPECT_TRUE(IsEqualGUID(libAttr->guid, kStdOle));
  EXPECT_EQ(libAttr->wMajorVerNum, 2);
  EXPECT_EQ(libAttr->wMinorVerNum, 0);
  imported->ReleaseTLibAttr(libAttr);

  // DoPlay([in] BSTR str) returning HRESULT, slot 7, dispatch identifier 201.
  FUNCDESC* fd = nullptr;
  ASSERT_EQ(vtbl->GetFuncDesc(0, &fd), S_OK);
  EXPECT_EQ(fd->memid, 201);
  EXPECT_EQ(fd->funckind, FUNC_PUREVIRTUAL);
  EXPECT_EQ(fd->invkind, INVOKE_FUNC);
  EXPECT_EQ(fd->callconv, CC_STDCALL);
  EXPECT_EQ(fd->cParams, 1);
  EXPECT_EQ(fd->cParamsOpt, 0);
  EXPECT_EQ(fd->elemdescFunc.tdesc.vt, VT_HRESULT);
  EXPECT_EQ(fd->lprgelemdescParam[0].tdesc.vt, VT_BSTR);
  EXPECT_EQ(fd->lprgelemdescParam[0].paramdesc.wParamFlags, PARAMFLAG_FIN);
  std::printf("oVft %d\n", fd->oVft);
  EXPECT_TRUE(fd->oVft == 7 * 4 || fd->oVft == 7 * static_cast<SHORT>(sizeof(void*)));
  vtbl->ReleaseFuncDesc(fd);
  BSTR names[2] = {};
  UINT count = 0;
  ASSERT_EQ(vtbl->GetNames(201, names, 2, &count), S_OK);
  ASSERT_EQ(count, 2u);
  EXPECT_STREQ(names[0], L"DoPlay");
  EXPECT_STREQ(names[1], L"str");
  SysFreeString(names[0]);
  SysFreeString(names[1]);
}

TEST(TypeLibrary, CoclassMyExt) {
  auto lib = LoadOwnTypeLib();
  ASSERT_TRUE(lib);
  ComPtr<ITypeInfo> info;
  ASSERT_EQ(lib->GetTypeInfoOfGuid(Tavlox_TLB::CLASS_MyExt, info.GetAddressOf()), S_OK);
  TYPEATTR* attr = nullptr;
  ASSERT_EQ(info->GetTypeAttr(&attr), S_OK);
  EXPECT_EQ(attr->typekind, TKIND_COCLASS);
  EXPECT_EQ(attr->wTypeFlags, TYPEFLAG_FCANCREATE);
  EXPECT_EQ(attr->wMajorVerNum, 1);
  EXPECT_EQ(attr->wMinorVerNum, 0);
  EXPECT_EQ(attr->cImplTypes, 1);
  info->ReleaseTypeAttr(attr);
  Doc d = DocOf(info.Get(), MEMBERID_NIL);
  EXPECT_EQ(d.name, L"MyExt");
  EXPECT_EQ(d.help, L"MyExt Object");
  INT flags = 0;
  ASSERT_EQ(info->GetImplTypeFlags(0, &flags), S_OK);
  EXPECT_EQ(flags, IMPLTYPEFLAG_FDEFAULT);
  HREFTYPE ref = 0;
  ASSERT_EQ(info->GetRefTypeOfImplType(0, &ref), S_OK);
  ComPtr<ITypeInfo> intf;
  ASSERT_EQ(info->GetRefTypeInfo(ref, intf.GetAddressOf()), S_OK);
  ASSERT_EQ(intf->GetTypeAttr(&attr), S_OK);
  EXPECT_TRUE(IsEqualGUID(attr->guid, Tavlox_TLB::IID_IMyExt));
  intf->ReleaseTypeAttr(attr);
}

TEST(AutomationFactory, BuiltFromTheOwnTypeLibrary) {
  auto lib = LoadOwnTypeLib();
  ASSERT_TRUE(lib);
  TAutoObjectFactory factory(lib.Get(), Tavlox_TLB::CLASS_MyExt);
  EXPECT_EQ(factory.ClassName(), L"MyExt");
  EXPECT_EQ(factory.Description(), L"MyExt Object");
  EXPECT_TRUE(IsEqualIID(factory.ErrorIID(), Tavlox_TLB::IID_IMyExt));

  // The object answers through the type information of IMyExt.
  ComPtr<IDispatch> disp;
  ASSERT_EQ(factory.CreateInstance(IID_IDispatch, reinterpret_cast<void**>(disp.GetAddressOf())), S_OK);
  LPOLESTR name = const_cast<LPOLESTR>(L"DoPlay");
  DISPID id = 0;
  ASSERT_EQ(disp->GetIDsOfNames(IID_NULL, &name, 1, 0, &id), S_OK);
  EXPECT_EQ(id, 201);
  VARIANT arg;
  VariantInit(&arg);
  arg.vt = VT_BSTR;
  arg.bstrVal = SysAllocString(L"x");
  DISPPARAMS params{&arg, nullptr, 1, 0};
  EXPECT_EQ(disp->Invoke(201, IID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr), S_OK);
  VariantClear(&arg);
  ComPtr<IProvideClassInfo> pci;
  ASSERT_EQ(disp.As(&pci), S_OK);
  ComPtr<ITypeInfo> classInfo;
  ASSERT_EQ(pci->GetClassInfo(classInfo.GetAddressOf()), S_OK);
  EXPECT_EQ(DocOf(classInfo.Get(), MEMBERID_NIL).name, L"MyExt");
  ComPtr<ISupportErrorInfo> sei;
  ASSERT_EQ(disp.As(&sei), S_OK);
  EXPECT_EQ(sei->InterfaceSupportsErrorInfo(Tavlox_TLB::IID_IMyExt), S_OK);
  ComPtr<IMyExt> ext;
  ASSERT_EQ(disp.As(&ext), S_OK);
  ComPtr<IUnknown> none;
  EXPECT_EQ(disp->QueryInterface(IID_IClassFactory, reinterpret_cast<void**>(none.GetAddressOf())), E_NOINTERFACE);
}

// Libraries that differ from the program's in one point, built in memory.
enum class Flaw { NoClass, NoDefaultInterface, ForeignDefaultInterface };

ComPtr<ITypeLib> FlawedLibrary(Flaw flaw) {
  ComPtr<ICreateTypeLib2> create;
  std::wstring path = TempDirectory() + L"flawed.tlb";
  EXPECT_EQ(CreateTypeLib2(SYS_WIN32, path.c_str(), create.GetAddressOf()), S_OK);
  create->SetGuid(Tavlox_TLB::LIBID_Tavlox);
  create->SetName(const_cast<LPOLESTR>(L"Tavlox"));
  create->SetVersion(1, 0);
  if (flaw != Flaw::NoClass) {
    ComPtr<ICreateTypeInfo> coclass;
    EXPECT_EQ(create->CreateTypeInfo(const_cast<LPOLESTR>(L"MyExt"), TKIND_COCLASS, coclass.GetAddressOf()), S_OK);
    coclass->SetGuid(Tavlox_TLB::CLASS_MyExt);
    if (flaw == Flaw::ForeignDefaultInterface) {
      ComPtr<ICreateTypeInfo> other;
      EXPECT_EQ(create->CreateTypeInfo(const_cast<LPOLESTR>(L"IOther"), TKIND_DISPATCH, other.GetAddressOf()), S_OK);
      const GUID otherIID = {0x11111111, 0x2222, 0x3333, {0x44, 0x44, 0x55, 0x55, 0x55, 0x55, 0x55, 0x55}};
      other->SetGuid(otherIID);
      ComPtr<ITypeInfo> otherInfo;
      EXPECT_EQ(other.As(&otherInfo), S_OK);
      HREFTYPE ref = 0;
      EXPECT_EQ(coclass->AddRefTypeInfo(otherInfo.Get(), &ref), S_OK);
      EXPECT_EQ(coclass->AddImplType(0, ref), S_OK);
      EXPECT_EQ(coclass->SetImplTypeFlags(0, IMPLTYPEFLAG_FDEFAULT), S_OK);
    }
  }
  ComPtr<ITypeLib> lib;
  EXPECT_EQ(create.As(&lib), S_OK);
  return lib;
}

TEST(AutomationFactory, RefusesFlawedLibraries) {
  struct Case {
    Flaw flaw;
    const char* message;
  } cases[] = {
      {Flaw::NoClass, "Type information missing for class TMyExt"},
      {Flaw::NoDefaultInterface, "Incorrect type information for class TMyExt"},
      {Flaw::ForeignDefaultInterface, "Dispatch interface missing from class TMyExt"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    auto lib = FlawedLibrary(c.flaw);
    ASSERT_TRUE(lib);
    try {
      TAutoObjectFactory factory(lib.Get(), Tavlox_TLB::CLASS_MyExt);
      ADD_FAILURE() << "no error";
    } catch (const EOleSysError& e) {
      ADD_FAILURE() << "platform error " << e.what();
    } catch (const EOleError& e) {
      EXPECT_STREQ(e.what(), c.message);
      EXPECT_STREQ(e.ClassName(), "EOleError");
    }
  }
}

TEST(AutomationServer, LoadFailureCarriesThePlatformMessage) {
  // A file that is no type library at all.
  std::wstring path = TempDirectory() + L"not-a-library.exe";
  WriteWholeFile(path, "MZ this is not a program");
  TComServer server(path, TStartMode::Normal);
  try {
    server.TypeLib();
    FAIL() << "no error";
  } catch (const EOleSysError& e) {
    EXPECT_STREQ(e.ClassName(), "EOleSysError");
    EXPECT_TRUE(FAILED(e.ErrorCode));
    EXPECT_EQ(std::string(e.what()), OleErrorMessage(e.ErrorCode));
    EXPECT_FALSE(std::string(e.what()).empty());
  }
}

TEST(AutomationServer, HelpDirectoryKeepsTheBackslash) {
  TComServer server(L"C:\\Program Files\\Tavlox\\tavlox.exe", TStartMode::Normal);
  EXPECT_EQ(server.HelpDirectory(), L"C:\\Program Files\\Tavlox\\");
}

TEST(AutomationServer, RegistersAndUnregistersTheLibrary) {
  const std::wstring exe = ModuleLongFileName();
  const std::wstring dir = exe.substr(0, exe.find_last_of(L'\\') + 1);
  UnregisterOwnLibrary();
  ASSERT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kLibKey));

  for (TStartMode mode : {TStartMode::Normal, TStartMode::Automation, TStartMode::RegServer}) {
    SCOPED_TRACE(static_cast<int>(mode));
    {
      TComServer server(exe, mode);
      EXPECT_EQ(server.Start(), mode == TStartMode::RegServer);
    }
    ExpectRegisteredAt(exe, dir);
    UnregisterOwnLibrary();
  }

  {
    TComServer server(exe, TStartMode::RegServer);
    server.Start();
  }
  ASSERT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kLibKey));
  {
    TComServer server(exe, TStartMode::UnregServer);
    EXPECT_TRUE(server.Start());
  }
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kLibKey + L"\\1.0"));
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kInterfaceKey));
  // Unregistering what is not registered fails quietly.
  TComServer again(exe, TStartMode::UnregServer);
  EXPECT_TRUE(again.Start());
}

}  // namespace
