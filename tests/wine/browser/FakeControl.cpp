#include "tests/wine/browser/FakeControl.h"

#include <cstring>
#include <olectl.h>

namespace tavlox::testing {
namespace {

FakeControlLog g_log;

const IID kEventsIID = {0x34A715A0, 0x6587, 0x11D0, {0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D}};

LRESULT CALLBACK FakeWindowProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg >= WM_USER || msg == WM_KEYDOWN) g_log.window_messages.push_back(msg);
  return DefWindowProcA(hwnd, msg, wparam, lparam);
}

// Connection point that keeps one sink.
class FakeConnectionPoint final : public IConnectionPoint {
 public:
  FakeConnectionPoint(IConnectionPointContainer* owner, IID iid) : owner_(owner), iid_(iid) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IConnectionPoint)) {
      *out = this;
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override {
    *iid = iid_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** c) override {
    *c = owner_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
    if (IsEqualIID(iid_, IID_IPropertyNotifySink)) {
      sink->QueryInterface(IID_IPropertyNotifySink, reinterpret_cast<void**>(&g_log.notify_sink));
    } else {
      // The event sink must answer the event interface id itself.
      if (FAILED(sink->QueryInterface(iid_, reinterpret_cast<void**>(&g_log.event_sink)))) return CONNECT_E_CANNOTCONNECT;
    }
    *cookie = 1;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override {
    if (IsEqualIID(iid_, IID_IPropertyNotifySink)) {
      if (g_log.notify_sink) g_log.notify_sink->Release();
      g_log.notify_sink = nullptr;
    } else {
      if (g_log.event_sink) g_log.event_sink->Release();
      g_log.event_sink = nullptr;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

 private:
  IConnectionPointContainer* owner_;
  IID iid_;
};

// IWebBrowser2 as a table of stubs: only Navigate (slot 11) is ever called by the host.
HRESULT STDMETHODCALLTYPE NotImplemented() { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE WbQueryInterface(void* self, REFIID, void** out) {
  *out = nullptr;
  return E_NOINTERFACE;
}
ULONG STDMETHODCALLTYPE WbAddRef(void*) { return 2; }
ULONG STDMETHODCALLTYPE WbRelease(void*) { return 1; }
HRESULT STDMETHODCALLTYPE WbNavigate(void*, BSTR url, VARIANT* flags, VARIANT* target, VARIANT* post, VARIANT* headers) {
  NavigateCall call;
  call.url = url ? url : L"";
  VARIANT* in[4] = {flags, target, post, headers};
  for (int i = 0; i < 4; ++i) {
    VariantInit(&call.args[i]);
    if (in[i]) call.args[i] = *in[i];
    else call.args[i].vt = VT_ILLEGAL;
  }
  g_log.navigations.push_back(call);
  return g_log.navigate_result;
}
struct FakeWebBrowser {
  void** vtable;
};
void* g_wb_vtable[128];
FakeWebBrowser g_web_browser{nullptr};

}  // namespace

FakeControlLog& FakeLog() { return g_log; }

class FakeControl final : public IOleObject,
                          public IPersistStreamInit,
                          public IOleControl,
                          public IDispatch,
                          public IOleInPlaceObject,
                          public IOleInPlaceActiveObject,
                          public IConnectionPointContainer {
 public:
  FakeControl()
      : events_(static_cast<IConnectionPointContainer*>(this), kEventsIID),
        notify_(static_cast<IConnectionPointContainer*>(this), IID_IPropertyNotifySink) {
    g_log = FakeControlLog{};
    g_log.control = this;
  }
  ~FakeControl() {
    if (window_) DestroyWindow(window_);
    if (g_log.control == this) g_log.control = nullptr;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    *out = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleObject)) *out = static_cast<IOleObject*>(this);
    else if (IsEqualIID(iid, IID_IPersistStreamInit)) *out = static_cast<IPersistStreamInit*>(this);
    else if (IsEqualIID(iid, IID_IOleControl)) *out = static_cast<IOleControl*>(this);
    else if (IsEqualIID(iid, IID_IDispatch)) *out = static_cast<IDispatch*>(this);
    else if (IsEqualIID(iid, IID_IOleInPlaceObject) || IsEqualIID(iid, IID_IOleWindow))
      *out = static_cast<IOleInPlaceObject*>(this);
    else if (IsEqualIID(iid, IID_IOleInPlaceActiveObject)) *out = static_cast<IOleInPlaceActiveObject*>(this);
    else if (IsEqualIID(iid, IID_IConnectionPointContainer)) *out = static_cast<IConnectionPointContainer*>(this);
    else if (IsEqualIID(iid, IID_IWebBrowser2)) *out = &g_web_browser;
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    ULONG r = --refs_;
    if (r == 0) delete this;
    return r;
  }

  // IOleObject
  HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override {
    if (site_) site_->Release();
    site_ = site;
    if (site_) site_->AddRef();
    g_log.site = site_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override {
    *site = site_;
    if (site_) site_->AddRef();
    return site_ ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Close(DWORD) override {
    ++g_log.closes;
    if (window_) DestroyWindow(window_);
    window_ = nullptr;
    g_log.window = nullptr;
    IOleInPlaceSite* ips = nullptr;
    if (site_ && SUCCEEDED(site_->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&ips)))) {
      ips->OnInPlaceDeactivate();
      ips->Release();
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent, LPCRECT rect) override {
    if (verb != OLEIVERB_INPLACEACTIVATE) return S_OK;
    IOleInPlaceSite* ips = nullptr;
    if (FAILED(site->QueryInterface(IID_IOleInPlaceSite, reinterpret_cast<void**>(&ips)))) return E_FAIL;
    HRESULT hr = ips->CanInPlaceActivate();
    if (hr == S_OK) ips->OnInPlaceActivate();
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* doc = nullptr;
    RECT pos, clip;
    OLEINPLACEFRAMEINFO info{sizeof info};
    ips->GetWindowContext(&frame, &doc, &pos, &clip, &info);
    if (frame) frame->Release();
    if (doc) doc->Release();
    ips->Release();
    static bool registered = false;
    if (!registered) {
      WNDCLASSA wc{};
      wc.lpfnWndProc = FakeWindowProc;
      wc.hInstance = GetModuleHandleA(nullptr);
      wc.lpszClassName = "FakeControlWindow";
      RegisterClassA(&wc);
      registered = true;
    }
    window_ = CreateWindowExA(0, "FakeControlWindow", "", WS_CHILD | WS_VISIBLE, rect->left, rect->top,
                              rect->right - rect->left, rect->bottom - rect->top, parent, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    g_log.window = window_;
    site->ShowObject();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) override {
    *clsid = kFakeControlClassID;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetUserType(DWORD, LPOLESTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetExtent(DWORD, SIZEL* size) override {
    g_log.set_extents.push_back(*size);
    if (g_log.refuse_set_extent) return E_FAIL;
    extent_ = *size;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetExtent(DWORD, SIZEL* size) override {
    *size = extent_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Advise(IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Unadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD, DWORD* status) override {
    *status = OLEMISC_SETCLIENTSITEFIRST | OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_INSIDEOUT;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

  // IPersistStreamInit
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override {
    *clsid = kFakeControlClassID;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE Load(LPSTREAM stream) override {
    ++g_log.load;
    unsigned char buffer[512];
    ULONG got = 0;
    stream->Read(buffer, sizeof buffer, &got);
    g_log.loaded_bytes.assign(buffer, buffer + got);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Save(LPSTREAM, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE InitNew() override {
    ++g_log.init_new;
    return S_OK;
  }

  // IOleControl
  HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnMnemonic(MSG*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID) override {
    ++g_log.ambient_changes;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL) override { return S_OK; }

  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return DISP_E_MEMBERNOTFOUND;
  }

  // IOleInPlaceObject
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* hwnd) override {
    *hwnd = window_;
    return window_ ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE UIDeactivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT, LPCRECT) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return E_NOTIMPL; }

  // IOleInPlaceActiveObject (GetWindow and ContextSensitiveHelp are shared with the above)
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG msg) override {
    g_log.accelerators.push_back(*msg);
    return g_log.accelerator_result;
  }
  HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }

  // IConnectionPointContainer
  HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override {
    if (IsEqualIID(iid, kEventsIID)) *point = &events_;
    else if (IsEqualIID(iid, IID_IPropertyNotifySink)) *point = &notify_;
    else {
      *point = nullptr;
      return CONNECT_E_NOCONNECTION;
    }
    return S_OK;
  }

 private:
  LONG refs_ = 0;
  IOleClientSite* site_ = nullptr;
  HWND window_ = nullptr;
  SIZEL extent_{2540 * 2, 2540};  // 2 x 1 inches
  FakeConnectionPoint events_;
  FakeConnectionPoint notify_;
};

namespace {

class FakeFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
      *out = this;
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (outer) return CLASS_E_NOAGGREGATION;
    auto* control = new FakeControl;
    control->AddRef();
    HRESULT hr = control->QueryInterface(iid, out);
    control->Release();
    return hr;
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};
FakeFactory g_factory;

}  // namespace

FakeControlRegistration::FakeControlRegistration() {
  for (auto& slot : g_wb_vtable) slot = reinterpret_cast<void*>(&NotImplemented);
  g_wb_vtable[0] = reinterpret_cast<void*>(&WbQueryInterface);
  g_wb_vtable[1] = reinterpret_cast<void*>(&WbAddRef);
  g_wb_vtable[2] = reinterpret_cast<void*>(&WbRelease);
  g_wb_vtable[11] = reinterpret_cast<void*>(&WbNavigate);  // IWebBrowser::Navigate
  g_web_browser.vtable = g_wb_vtable;
  CoRegisterClassObject(kFakeControlClassID, &g_factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_);
}

FakeControlRegistration::~FakeControlRegistration() {
  if (cookie_) CoRevokeClassObject(cookie_);
}

}  // namespace tavlox::testing
