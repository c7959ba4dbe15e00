// The control site and the browser pane, called the way the control calls them: the site's
// answers, bring-up, in-place activation and window adoption, sizing, message reflection,
// Navigate's arguments and the event sink's dispatch rules. A test double stands in for the
// control where the host's calls must be observed; the real WebBrowser control where it matters.
#include <gtest/gtest.h>

#include <exdispid.h>

#include <cmath>

#include "browser/WebBrowser.h"
#include "tests/wine/browser/FakeControl.h"
#include "tests/wine/ui/DialogWatcher.h"
#include "ui/Exceptions.h"
#include "ui/Forms.h"

namespace tavlox::browser {
namespace {

using tavlox::testing::DialogWatcher;
using tavlox::testing::FakeLog;
using tavlox::testing::PumpUntil;

TControlDescriptor& FakeDescriptor() {
  static TControlDescriptor d = [] {
    TControlDescriptor copy = TWebBrowser::ClassDescriptor();
    copy.ClassID = tavlox::testing::kFakeControlClassID;
    copy.InstanceCount = 0;
    return copy;
  }();
  return d;
}

class FakeBrowser : public TWebBrowser {
 public:
  FakeBrowser(ui::TComponent* owner, ui::TWinControl* parent) : TWebBrowser(owner, parent, FakeDescriptor()) {}
};

class HostForm : public ui::TForm {
 public:
  explicit HostForm(ui::TComponent* owner) : ui::TForm(owner, "THostForm") { SetClientSize(400, 300); }
};

class BrowserHost : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    registration_ = new tavlox::testing::FakeControlRegistration;
    app_ = new ui::TApplication;
    app_->SetTitle("Host");
    app_->CreateForm(form_);
  }
  void TearDown() override {
    delete app_;
    delete registration_;
    CoUninitialize();
  }
  FakeBrowser* NewPane(int l = 10, int t = 20, int w = 200, int h = 100) {
    auto* pane = new FakeBrowser(form_, form_);
    pane->Name = "wbTest";
    pane->SetBounds(l, t, w, h);
    return pane;
  }
  template <class I>
  ui::ComPtr<I> Site(FakeBrowser* pane, REFIID iid) {
    ui::ComPtr<I> p;
    EXPECT_EQ(pane->QueryInterface(iid, p.PutVoid()), S_OK);
    return p;
  }
  ui::TApplication* app_ = nullptr;
  HostForm* form_ = nullptr;
  tavlox::testing::FakeControlRegistration* registration_ = nullptr;
};

TEST_F(BrowserHost, ConstructionSizesToTheControlAndCountsInstances) {
  int before = FakeDescriptor().InstanceCount;
  auto* pane = new FakeBrowser(form_, form_);
  EXPECT_EQ(FakeDescriptor().InstanceCount, before + 1);
  // 2 x 1 inches at the screen's pixels per inch.
  EXPECT_EQ(pane->Width(), MulDiv(2 * 2540, TOleControl::PixelsPerInchX(), 2540));
  EXPECT_EQ(pane->Height(), MulDiv(2540, TOleControl::PixelsPerInchY(), 2540));
  EXPECT_FALSE(pane->IsUp());
  delete pane;
  EXPECT_EQ(FakeDescriptor().InstanceCount, before);
}

TEST_F(BrowserHost, BringUpWithInitNewOrTheStoredStateOnce) {
  auto* fresh = NewPane();
  fresh->EnsureControl();
  EXPECT_EQ(FakeLog().init_new, 1);
  EXPECT_EQ(FakeLog().load, 0);
  EXPECT_NE(FakeLog().event_sink, nullptr);
  EXPECT_NE(FakeLog().notify_sink, nullptr);
  EXPECT_EQ(FakeLog().ambient_changes, 1);

  auto* stored = NewPane();
  const unsigned char bytes[156] = {1, 2, 3, 0, 0xFF, 0x80};
  stored->SetControlData(bytes, sizeof bytes);
  stored->EnsureControl();
  stored->EnsureControl();
  EXPECT_EQ(FakeLog().load, 1);
  EXPECT_EQ(FakeLog().init_new, 0);
  EXPECT_EQ(FakeLog().loaded_bytes, std::vector<unsigned char>(bytes, bytes + sizeof bytes));
  EXPECT_FALSE(stored->HoldsControlData());
}

TEST_F(BrowserHost, NavigatePassesFourMissingArgumentsAndBringsTheControlUp) {
  auto* pane = NewPane();
  ASSERT_FALSE(pane->IsUp());
  pane->Navigate(L"http://127.0.0.1/left2/menu.htm");
  EXPECT_TRUE(pane->IsUp());
  ASSERT_EQ(FakeLog().navigations.size(), 1u);
  const auto& call = FakeLog().navigations[0];
  EXPECT_EQ(call.url, L"http://127.0.0.1/left2/menu.htm");
  for (const VARIANT& v : call.args) {
    EXPECT_EQ(v.vt, VT_ERROR);
    EXPECT_EQ(v.scode, DISP_E_PARAMNOTFOUND);
  }
  FakeLog().navigate_result = E_ACCESSDENIED;
  try {
    pane->Navigate(L"http://127.0.0.1/refused");
    FAIL() << "a refused navigation must raise";
  } catch (const ui::EOleSysError& e) {
    EXPECT_EQ(e.ErrorCode, E_ACCESSDENIED);
    EXPECT_FALSE(std::string(e.what()).empty());
  }
}

TEST_F(BrowserHost, InPlaceActivationAdoptsTheControlWindow) {
  auto* pane = NewPane(10, 20, 200, 100);
  form_->Show();
  ASSERT_TRUE(pane->InPlaceActive());
  HWND control_window = FakeLog().window;
  ASSERT_NE(control_window, nullptr);
  EXPECT_EQ(pane->WindowHandle(), control_window);
  EXPECT_EQ(GetParent(control_window), form_->WindowHandle());
  // Reflected notifications reach the control 0x9C00 lower; others unchanged.
  FakeLog().window_messages.clear();
  SendMessageA(control_window, 0xBC00 + WM_COMMAND, 0, 0);
  SendMessageA(control_window, 0xBFFF, 0, 0);
  SendMessageA(control_window, 0xC000, 0, 0);
  SendMessageA(control_window, WM_USER + 5, 0, 0);
  EXPECT_EQ(FakeLog().window_messages, (std::vector<UINT>{0x2111, 0xBFFF - 0x9C00, 0xC000, WM_USER + 5}));
}

TEST_F(BrowserHost, KeysGoToTheControlFirst) {
  auto* pane = NewPane();
  form_->Show();
  HWND window = pane->WindowHandle();
  auto press = [&](WPARAM key) {
    FakeLog().window_messages.clear();
    FakeLog().accelerators.clear();
    PostMessageA(window, WM_KEYDOWN, key, 0x00000001);
    app_->ProcessMessages();
  };
  FakeLog().accelerator_result = S_OK;  // the control uses the key
  press(VK_TAB);
  ASSERT_EQ(FakeLog().accelerators.size(), 1u);
  const MSG& m = FakeLog().accelerators[0];
  EXPECT_EQ(m.hwnd, window);
  EXPECT_EQ(m.message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(m.wParam, static_cast<WPARAM>(VK_TAB));
  EXPECT_EQ(static_cast<DWORD>(m.pt.x), 0x115DE1F1u);
  EXPECT_EQ(static_cast<DWORD>(m.pt.y), 0x115DE1F1u);
  EXPECT_TRUE(FakeLog().window_messages.empty());  // consumed, not processed a second time
  FakeLog().accelerator_result = S_FALSE;  // not an accelerator: normal processing
  press('A');
  ASSERT_FALSE(FakeLog().accelerators.empty());  // the key, then the character it produced
  EXPECT_EQ(FakeLog().accelerators[0].message, static_cast<UINT>(WM_KEYDOWN));
  EXPECT_EQ(FakeLog().window_messages, std::vector<UINT>{WM_KEYDOWN});
}

TEST_F(BrowserHost, ResizeOffersTheSizeToTheControlFirst) {
  auto* pane = NewPane(10, 20, 200, 100);
  FakeLog().set_extents.clear();
  pane->SetBounds(15, 25, 300, 150);
  ASSERT_EQ(FakeLog().set_extents.size(), 1u);
  EXPECT_EQ(FakeLog().set_extents[0].cx, MulDiv(300, 2540, TOleControl::PixelsPerInchX()));
  EXPECT_EQ(FakeLog().set_extents[0].cy, MulDiv(150, 2540, TOleControl::PixelsPerInchY()));
  EXPECT_EQ(pane->Width(), 300);
  // A control that refuses keeps its size; the pane still moves.
  FakeLog().refuse_set_extent = true;
  pane->SetBounds(40, 50, 120, 60);
  EXPECT_EQ(pane->Left(), 40);
  EXPECT_EQ(pane->Top(), 50);
  EXPECT_EQ(pane->Width(), 300);
  EXPECT_EQ(pane->Height(), 150);
  // A pure move does not ask.
  size_t asked = FakeLog().set_extents.size();
  pane->SetBounds(41, 51, 300, 150);
  EXPECT_EQ(FakeLog().set_extents.size(), asked);
}

TEST_F(BrowserHost, AmbientProperties) {
  auto* pane = NewPane();
  pane->SetColor(ui::clBtnFace);
  auto ambient = Site<IDispatch>(pane, IID_IDispatch);
  auto get = [&](DISPID id, VARIANT& out, WORD flags = DISPATCH_PROPERTYGET) {
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    VariantInit(&out);
    return ambient->Invoke(id, IID_NULL, 0, flags, &none, &out, nullptr, nullptr);
  };
  struct Bool {
    DISPID id;
    VARIANT_BOOL value;
  };
  for (Bool b : {Bool{DISPID_AMBIENT_MESSAGEREFLECT, VARIANT_TRUE}, Bool{DISPID_AMBIENT_USERMODE, VARIANT_TRUE},
                 Bool{DISPID_AMBIENT_UIDEAD, VARIANT_FALSE}, Bool{DISPID_AMBIENT_SHOWGRABHANDLES, VARIANT_FALSE},
                 Bool{DISPID_AMBIENT_SHOWHATCHING, VARIANT_FALSE},
                 Bool{DISPID_AMBIENT_SUPPORTSMNEMONICS, VARIANT_TRUE}, Bool{DISPID_AMBIENT_AUTOCLIP, VARIANT_TRUE}}) {
    VARIANT v;
    ASSERT_EQ(get(b.id, v), S_OK) << b.id;
    EXPECT_EQ(v.vt, VT_BOOL) << b.id;
    EXPECT_EQ(v.boolVal, b.value) << b.id;
  }
  VARIANT v;
  ASSERT_EQ(get(DISPID_AMBIENT_LOCALEID, v), S_OK);
  EXPECT_EQ(static_cast<LCID>(v.lVal), GetUserDefaultLCID());
  ASSERT_EQ(get(DISPID_AMBIENT_DISPLAYNAME, v), S_OK);
  ASSERT_EQ(v.vt, VT_BSTR);
  EXPECT_STREQ(v.bstrVal, L"wbTest");
  VariantClear(&v);
  ASSERT_EQ(get(DISPID_AMBIENT_BACKCOLOR, v), S_OK);
  EXPECT_EQ(static_cast<unsigned>(v.lVal), 0x8000000Fu);  // button face as an OLE colour
  ASSERT_EQ(get(DISPID_AMBIENT_FORECOLOR, v), S_OK);
  EXPECT_EQ(v.vt, VT_I4);
  ASSERT_EQ(get(DISPID_AMBIENT_FONT, v), S_OK);
  ASSERT_EQ(v.vt, VT_DISPATCH);
  ui::ComPtr<IFont> font;
  ASSERT_EQ(v.pdispVal->QueryInterface(IID_IFont, font.PutVoid()), S_OK);
  CY size{};
  font->get_Size(&size);  // the form's 8-point font (the face may be substituted by the platform)
  EXPECT_NEAR(static_cast<double>(size.int64), 80000.0, 5000.0);  // the platform may report the realised size
  VariantClear(&v);
  // Not answered by a plain pane: the download-control and user-agent ambients, other
  // DISPIDs, anything but a property get, a get without a result.
  for (DISPID id : {-5512, -5513, -700, 0, 1})
    EXPECT_EQ(get(id, v), DISP_E_MEMBERNOTFOUND) << id;
  EXPECT_EQ(get(DISPID_AMBIENT_USERMODE, v, DISPATCH_METHOD), DISP_E_MEMBERNOTFOUND);
  EXPECT_EQ(get(DISPID_AMBIENT_USERMODE, v, DISPATCH_PROPERTYPUT), DISP_E_MEMBERNOTFOUND);
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  EXPECT_EQ(ambient->Invoke(DISPID_AMBIENT_USERMODE, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, nullptr, nullptr,
                            nullptr),
            DISP_E_MEMBERNOTFOUND);
  UINT count = 7;
  EXPECT_EQ(ambient->GetTypeInfoCount(&count), S_OK);
  EXPECT_EQ(count, 0u);
  ITypeInfo* info = reinterpret_cast<ITypeInfo*>(1);
  EXPECT_EQ(ambient->GetTypeInfo(0, 0, &info), E_NOTIMPL);
  EXPECT_EQ(info, nullptr);
  LPOLESTR names[1] = {const_cast<LPOLESTR>(L"x")};
  DISPID id;
  EXPECT_EQ(ambient->GetIDsOfNames(IID_NULL, names, 1, 0, &id), E_NOTIMPL);
}

TEST_F(BrowserHost, TransformCoordsBothWays) {
  auto* pane = NewPane();
  auto site = Site<IOleControlSite>(pane, IID_IOleControlSite);
  int ppx = TOleControl::PixelsPerInchX(), ppy = TOleControl::PixelsPerInchY();
  POINTL him{2540, 5080};
  POINTF cont{0, 0};
  EXPECT_EQ(site->TransformCoords(&him, &cont, XFORMCOORDS_HIMETRICTOCONTAINER | XFORMCOORDS_POSITION), S_OK);
  EXPECT_EQ(cont.x, static_cast<float>(ppx));
  EXPECT_EQ(cont.y, static_cast<float>(2 * ppy));
  cont = {static_cast<float>(ppx) / 2, 1.0f};
  EXPECT_EQ(site->TransformCoords(&him, &cont, XFORMCOORDS_CONTAINERTOHIMETRIC | XFORMCOORDS_SIZE), S_OK);
  EXPECT_EQ(him.x, 1270);
  EXPECT_EQ(him.y, std::lround(2540.0 / ppy));
}

TEST_F(BrowserHost, WindowContextAndFrame) {
  auto* pane = NewPane(10, 20, 200, 100);
  form_->Show();
  auto site = Site<IOleInPlaceSite>(pane, IID_IOleInPlaceSite);
  IOleInPlaceFrame* frame = nullptr;
  IOleInPlaceUIWindow* doc = reinterpret_cast<IOleInPlaceUIWindow*>(1);
  RECT pos{}, clip{};
  OLEINPLACEFRAMEINFO info{};
  info.cb = sizeof info;
  ASSERT_EQ(site->GetWindowContext(&frame, &doc, &pos, &clip, &info), S_OK);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(doc, nullptr);
  RECT want_pos{pane->Left(), pane->Top(), pane->Left() + pane->Width(), pane->Top() + pane->Height()};
  EXPECT_TRUE(EqualRect(&pos, &want_pos));
  RECT want_clip{0, 0, 32767, 32767};
  EXPECT_TRUE(EqualRect(&clip, &want_clip));
  EXPECT_FALSE(info.fMDIApp);
  EXPECT_EQ(info.hwndFrame, form_->WindowHandle());
  EXPECT_EQ(info.haccel, nullptr);
  EXPECT_EQ(info.cAccelEntries, 0u);
  HWND w = nullptr;
  EXPECT_EQ(frame->GetWindow(&w), S_OK);
  EXPECT_EQ(w, form_->WindowHandle());
  EXPECT_EQ(site->GetWindow(&w), S_OK);
  EXPECT_EQ(w, form_->WindowHandle());  // the pane's parent
  RECT border;
  BORDERWIDTHS widths{};
  struct Call {
    const char* what;
    HRESULT got, want;
  };
  IMoniker* moniker = reinterpret_cast<IMoniker*>(1);
  IOleContainer* container = reinterpret_cast<IOleContainer*>(1);
  IDispatch* extended = reinterpret_cast<IDispatch*>(1);
  auto client = Site<IOleClientSite>(pane, IID_IOleClientSite);
  auto control_site = Site<IOleControlSite>(pane, IID_IOleControlSite);
  MSG msg{};
  const Call calls[] = {
      {"GetBorder", frame->GetBorder(&border), INPLACE_E_NOTOOLSPACE},
      {"RequestBorderSpace", frame->RequestBorderSpace(&widths), INPLACE_E_NOTOOLSPACE},
      {"SetBorderSpace", frame->SetBorderSpace(&widths), E_NOTIMPL},
      {"SetActiveObject", frame->SetActiveObject(nullptr, nullptr), S_OK},
      {"InsertMenus", frame->InsertMenus(nullptr, nullptr), S_OK},
      {"SetMenu", frame->SetMenu(nullptr, nullptr, nullptr), S_OK},
      {"RemoveMenus", frame->RemoveMenus(nullptr), S_OK},
      {"SetStatusText", frame->SetStatusText(L"x"), S_OK},
      {"EnableModeless", frame->EnableModeless(TRUE), S_OK},
      {"Frame TranslateAccelerator", frame->TranslateAccelerator(&msg, 0), S_FALSE},
      {"Frame ContextSensitiveHelp", frame->ContextSensitiveHelp(TRUE), S_OK},
      {"Site ContextSensitiveHelp", site->ContextSensitiveHelp(TRUE), S_OK},
      {"CanInPlaceActivate", site->CanInPlaceActivate(), S_OK},
      {"Scroll", site->Scroll(SIZE{1, 1}), E_NOTIMPL},
      {"DiscardUndoState", site->DiscardUndoState(), E_NOTIMPL},
      {"DeactivateAndUndo", site->DeactivateAndUndo(), S_OK},
      {"SaveObject", client->SaveObject(), S_OK},
      {"GetMoniker", client->GetMoniker(OLEGETMONIKER_ONLYIFTHERE, OLEWHICHMK_OBJREL, &moniker), E_NOTIMPL},
      {"GetContainer", client->GetContainer(&container), E_NOINTERFACE},
      {"OnShowWindow", client->OnShowWindow(TRUE), S_OK},
      {"ShowObject", client->ShowObject(), S_OK},
      {"OnControlInfoChanged", control_site->OnControlInfoChanged(), E_NOTIMPL},
      {"LockInPlaceActive", control_site->LockInPlaceActive(TRUE), E_NOTIMPL},
      {"GetExtendedControl", control_site->GetExtendedControl(&extended), E_NOTIMPL},
      {"ControlSite TranslateAccelerator", control_site->TranslateAccelerator(&msg, 0), E_NOTIMPL},
      {"OnFocus", control_site->OnFocus(TRUE), E_NOTIMPL},
      {"ShowPropertyFrame", control_site->ShowPropertyFrame(), E_NOTIMPL},
  };
  for (const Call& c : calls) EXPECT_EQ(c.got, c.want) << c.what;
  EXPECT_EQ(moniker, nullptr);
  EXPECT_EQ(container, nullptr);
  EXPECT_EQ(extended, nullptr);
  frame->Release();
}

TEST_F(BrowserHost, InterfaceListOfAPlainPane) {
  auto* pane = NewPane();
  struct Case {
    const IID* iid;
    HRESULT want;
  };
  const IID kDocHostUIHandler = {0xbd3f23c0, 0xd43e, 0x11cf, {0x89, 0x3b, 0x00, 0xaa, 0x00, 0xbd, 0xce, 0x1a}};
  const Case cases[] = {
      {&IID_IUnknown, S_OK},          {&IID_IOleClientSite, S_OK},        {&IID_IOleInPlaceSite, S_OK},
      {&IID_IOleInPlaceFrame, S_OK},  {&IID_IOleControlSite, S_OK},       {&IID_IDispatch, S_OK},
      {&IID_IPropertyNotifySink, S_OK}, {&IID_ISimpleFrameSite, S_OK},    {&IID_IServiceProvider, E_NOINTERFACE},
      {&kDocHostUIHandler, E_NOINTERFACE}, {&IID_IOleCommandTarget, E_NOINTERFACE},
  };
  for (const Case& c : cases) {
    void* p = nullptr;
    EXPECT_EQ(pane->QueryInterface(*c.iid, &p), c.want);
    EXPECT_EQ(p != nullptr, c.want == S_OK);
    if (p) static_cast<IUnknown*>(p)->Release();
  }
  // Reference counts never free the host.
  auto client = Site<IOleClientSite>(pane, IID_IOleClientSite);
  for (int i = 0; i < 5; ++i) client->Release();
  EXPECT_EQ(client->SaveObject(), S_OK);
  for (int i = 0; i < 5; ++i) client->AddRef();
  auto simple = Site<ISimpleFrameSite>(pane, IID_ISimpleFrameSite);
  LRESULT r = 0;
  DWORD cookie = 0;
  EXPECT_EQ(simple->PreMessageFilter(nullptr, WM_NULL, 0, 0, &r, &cookie), S_OK);
  EXPECT_EQ(simple->PostMessageFilter(nullptr, WM_NULL, 0, 0, &r, 0), S_OK);
  auto notify = Site<IPropertyNotifySink>(pane, IID_IPropertyNotifySink);
  EXPECT_EQ(notify->OnChanged(DISPID_BACKCOLOR), S_OK);
  EXPECT_EQ(notify->OnChanged(12345), S_OK);
  EXPECT_EQ(notify->OnRequestEdit(DISPID_BACKCOLOR), S_OK);
}

// --- event sink ----------------------------------------------------------------------------

struct BeforeNavigateArgs {
  VARIANT url, flags, frame, post, headers;
  VARIANT_BOOL cancel = VARIANT_FALSE;
  VARIANT args[7];  // in DISPPARAMS order: last declared first
  DISPPARAMS params{args, nullptr, 7, 0};
  BeforeNavigateArgs(const wchar_t* address) {
    VariantInit(&url);
    url.vt = VT_BSTR;
    url.bstrVal = SysAllocString(address);
    for (VARIANT* v : {&flags, &frame, &post, &headers}) VariantInit(v);
    args[6].vt = VT_DISPATCH;
    args[6].pdispVal = nullptr;
    VARIANT* refs[5] = {&url, &flags, &frame, &post, &headers};
    for (int i = 0; i < 5; ++i) {
      args[5 - i].vt = VT_VARIANT | VT_BYREF;
      args[5 - i].pvarVal = refs[i];
    }
    args[0].vt = VT_BOOL | VT_BYREF;
    args[0].pboolVal = &cancel;
  }
  ~BeforeNavigateArgs() { VariantClear(&url); }
};

TEST_F(BrowserHost, EventSinkDispatchRules) {
  auto* pane = NewPane();
  pane->EnsureControl();
  IDispatch* sink = FakeLog().event_sink;
  ASSERT_NE(sink, nullptr);
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  // Unknown DISPID, a DISPID of an unassigned event, an event beyond the plain pane's 18.
  for (DISPID id : {9999, DISPID_STATUSTEXTCHANGE, DISPID_BEFORENAVIGATE2, DISPID_NAVIGATEERROR, -600})
    EXPECT_EQ(sink->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr), S_OK) << id;

  std::wstring seen_url;
  pane->OnBeforeNavigate2 = [&](ui::TObject* sender, IDispatch*, VARIANT* url, VARIANT*, VARIANT*, VARIANT*,
                                VARIANT*, VARIANT_BOOL* cancel) {
    EXPECT_EQ(sender, pane);
    seen_url = url->bstrVal;
    *cancel = VARIANT_TRUE;  // written straight into the caller's storage
  };
  BeforeNavigateArgs a(L"http://h/mini.php?x=1");
  EXPECT_EQ(sink->Invoke(DISPID_BEFORENAVIGATE2, IID_NULL, 0, DISPATCH_METHOD, &a.params, nullptr, nullptr, nullptr),
            S_OK);
  EXPECT_EQ(seen_url, L"http://h/mini.php?x=1");
  EXPECT_EQ(a.cancel, VARIANT_TRUE);

  long progress = 0, progress_max = 0;
  pane->OnProgressChange = [&](ui::TObject*, long p, long m) {
    progress = p;
    progress_max = m;
  };
  VARIANT pa[2];
  pa[1].vt = VT_I4;
  pa[1].lVal = 30;  // Progress (declared first, so last in the array)
  pa[0].vt = VT_I4;
  pa[0].lVal = 100;
  DISPPARAMS pp{pa, nullptr, 2, 0};
  EXPECT_EQ(sink->Invoke(DISPID_PROGRESSCHANGE, IID_NULL, 0, DISPATCH_METHOD, &pp, nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(progress, 30);
  EXPECT_EQ(progress_max, 100);

  // The sink answers its own interfaces.
  const IID kEvents = {0x34A715A0, 0x6587, 0x11D0, {0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D}};
  void* p = nullptr;
  EXPECT_EQ(sink->QueryInterface(kEvents, &p), S_OK);
  if (p) static_cast<IUnknown*>(p)->Release();
  EXPECT_EQ(sink->QueryInterface(IID_IOleClientSite, &p), E_NOINTERFACE);
  UINT n = 5;
  EXPECT_EQ(sink->GetTypeInfoCount(&n), S_OK);
  EXPECT_EQ(n, 0u);
}

TEST_F(BrowserHost, HandlerErrorIsReportedAndTheControlSeesSOK) {
  auto* pane = NewPane();
  pane->EnsureControl();
  IDispatch* sink = FakeLog().event_sink;
  ASSERT_NE(sink, nullptr);
  DialogWatcher watcher;
  pane->OnBeforeNavigate2 = [](ui::TObject*, IDispatch*, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*,
                               VARIANT_BOOL*) { throw ui::Exception("handler failed"); };
  BeforeNavigateArgs a(L"http://h/");
  EXPECT_EQ(sink->Invoke(DISPID_BEFORENAVIGATE2, IID_NULL, 0, DISPATCH_METHOD, &a.params, nullptr, nullptr, nullptr),
            S_OK);
  EXPECT_EQ(a.cancel, VARIANT_FALSE);  // the navigation goes on
  ASSERT_EQ(watcher.Count(), 1u);
  EXPECT_EQ(watcher.Seen()[0].caption, "Host");
  EXPECT_EQ(watcher.Seen()[0].text, "handler failed.");
}

// --- the real control ------------------------------------------------------------------------

TEST(RealWebBrowser, SitedActivatedAndNavigating) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  {
    ui::TApplication app;
    HostForm* form = nullptr;
    app.CreateForm(form);
    auto* pane = new TWebBrowser(form, form);
    pane->SetAlign(ui::TAlign::alClient);
    std::vector<std::wstring> before;
    pane->OnBeforeNavigate2 = [&](ui::TObject*, IDispatch*, VARIANT* url, VARIANT*, VARIANT*, VARIANT*, VARIANT*,
                                  VARIANT_BOOL* cancel) {
      before.push_back(url->vt == VT_BSTR ? url->bstrVal : L"?");
      *cancel = VARIANT_TRUE;
    };
    form->Show();
    EXPECT_TRUE(pane->InPlaceActive());
    RECT r;
    GetClientRect(pane->WindowHandle(), &r);
    EXPECT_EQ(r.right, 400);
    EXPECT_EQ(r.bottom, 300);
    pane->Navigate(L"http://127.0.0.1:9/never.htm");
    ASSERT_EQ(before.size(), 1u);  // raised synchronously inside Navigate
    EXPECT_EQ(before[0], L"http://127.0.0.1:9/never.htm");
  }
  CoUninitialize();
}

}  // namespace
}  // namespace tavlox::browser
