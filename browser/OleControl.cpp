#include "browser/OleControl.h"

#include <cmath>
#include <cstring>
#include <map>

#include "ui/Exceptions.h"
#include "ui/Forms.h"

namespace tavlox::browser {
namespace {

constexpr RECT kClipRect{0, 0, 32767, 32767};
constexpr DWORD kKeyMarkerPos = 0x115DE1F1;  // cursor position marker of keyboard MSGs built for the control
constexpr UINT kReflectedFirst = 0xBC00, kReflectedLast = 0xBFFF, kReflectedToOle = 0x9C00;

// The UI-active pane of each top-level window.
std::map<HWND, TOleControl*>& UIActiveControls() {
  static std::map<HWND, TOleControl*> map;
  return map;
}

template <class T>
void ReleaseAndNull(T*& p) {
  if (p) {
    T* q = p;
    p = nullptr;
    q->Release();
  }
}

void Unadvise(IUnknown* object, REFIID iid, DWORD& cookie) {
  if (!cookie || !object) return;
  IConnectionPointContainer* container = nullptr;
  if (SUCCEEDED(object->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)))) {
    IConnectionPoint* point = nullptr;
    if (SUCCEEDED(container->FindConnectionPoint(iid, &point))) {
      point->Unadvise(cookie);
      point->Release();
    }
    container->Release();
  }
  cookie = 0;
}

void Advise(IUnknown* object, REFIID iid, IUnknown* sink, DWORD& cookie) {
  IConnectionPointContainer* container = nullptr;
  if (SUCCEEDED(object->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)))) {
    IConnectionPoint* point = nullptr;
    if (SUCCEEDED(container->FindConnectionPoint(iid, &point))) {
      if (FAILED(point->Advise(sink, &cookie))) cookie = 0;
      point->Release();
    }
    container->Release();
  }
}

// Reads a property of the control's automation interface.
HRESULT GetDispProperty(IDispatch* dispatch, DISPID dispid, VARIANT& value) {
  DISPPARAMS none{nullptr, nullptr, 0, 0};
  VariantInit(&value);
  return dispatch->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &value, nullptr,
                          nullptr);
}

}  // namespace

HRESULT OleCheck(HRESULT hr) {
  if (FAILED(hr)) throw ui::EOleSysError(ui::SysErrorMessage(hr), hr);
  return hr;
}

int TOleControl::PixelsPerInchX() {
  HDC dc = GetDC(nullptr);
  int ppi = GetDeviceCaps(dc, LOGPIXELSX);
  ReleaseDC(nullptr, dc);
  return ppi > 0 ? ppi : 96;
}

int TOleControl::PixelsPerInchY() {
  HDC dc = GetDC(nullptr);
  int ppi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  return ppi > 0 ? ppi : 96;
}

// --- thin per-interface classes ----------------------------------------------------------------

template <class I>
HRESULT STDMETHODCALLTYPE SiteInterface<I>::QueryInterface(REFIID iid, void** out) {
  return host_->QueryInterface(iid, out);
}
template <class I>
ULONG STDMETHODCALLTYPE SiteInterface<I>::AddRef() {
  return host_->AddRef();
}
template <class I>
ULONG STDMETHODCALLTYPE SiteInterface<I>::Release() {
  return host_->Release();
}

class TOleControl::ClientSiteImpl final : public SiteInterface<IOleClientSite> {
 public:
  using SiteInterface::SiteInterface;
  HRESULT STDMETHODCALLTYPE SaveObject() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetContainer(IOleContainer** container) override {
    if (container) *container = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT STDMETHODCALLTYPE ShowObject() override {
    if (host_->inplace_object_ && !host_->window_adopted_) {
      try {
        host_->AdoptControlWindow();
      } catch (...) {
        return E_FAIL;
      }
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnShowWindow(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RequestNewObjectLayout() override {
    SIZEL extent{};
    HRESULT hr = host_->ole_object_ ? host_->ole_object_->GetExtent(DVASPECT_CONTENT, &extent) : E_FAIL;
    if (SUCCEEDED(hr)) {
      host_->SetBounds(host_->Left(), host_->Top(), MulDiv(extent.cx, PixelsPerInchX(), 2540),
                       MulDiv(extent.cy, PixelsPerInchY(), 2540));
    }
    return hr;
  }
};

class TOleControl::InPlaceFrameImpl final : public SiteInterface<IOleInPlaceFrame> {
 public:
  using SiteInterface::SiteInterface;
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    if (!window) return E_POINTER;
    *window = host_->TopLevelWindow();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetBorder(LPRECT) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE RequestBorderSpace(LPCBORDERWIDTHS) override { return INPLACE_E_NOTOOLSPACE; }
  HRESULT STDMETHODCALLTYPE SetBorderSpace(LPCBORDERWIDTHS) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetActiveObject(IOleInPlaceActiveObject*, LPCOLESTR) override { return S_OK; }
  // The forms of this program have no main menu: there is nothing to merge or install.
  HRESULT STDMETHODCALLTYPE InsertMenus(HMENU, LPOLEMENUGROUPWIDTHS) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE SetMenu(HMENU, HOLEMENU, HWND) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE RemoveMenus(HMENU shared) override {
    if (shared && IsMenu(shared))
      while (GetMenuItemCount(shared) > 0)
        if (!RemoveMenu(shared, 0, MF_BYPOSITION)) break;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetStatusText(LPCOLESTR) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG, WORD) override { return S_FALSE; }
};

class TOleControl::InPlaceSiteImpl final : public SiteInterface<IOleInPlaceSite> {
 public:
  using SiteInterface::SiteInterface;
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    if (!window) return E_POINTER;
    *window = host_->ParentWindow();
    return *window ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE CanInPlaceActivate() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE OnInPlaceActivate() override {
    if (!host_->ole_object_) return E_UNEXPECTED;
    ReleaseAndNull(host_->inplace_object_);
    ReleaseAndNull(host_->inplace_active_object_);
    host_->ole_object_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&host_->inplace_object_));
    host_->ole_object_->QueryInterface(IID_IOleInPlaceActiveObject,
                                       reinterpret_cast<void**>(&host_->inplace_active_object_));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnUIActivate() override {
    host_->UIActivated();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** doc, LPRECT pos,
                                             LPRECT clip, LPOLEINPLACEFRAMEINFO info) override {
    if (!frame || !doc || !pos || !clip || !info) return E_POINTER;
    *frame = static_cast<IOleInPlaceFrame*>(host_->inplace_frame_);
    (*frame)->AddRef();
    *doc = nullptr;
    *pos = {host_->Left(), host_->Top(), host_->Left() + host_->Width(), host_->Top() + host_->Height()};
    *clip = kClipRect;
    info->fMDIApp = FALSE;
    info->hwndFrame = host_->TopLevelWindow();
    info->haccel = nullptr;
    info->cAccelEntries = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Scroll(SIZE) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnUIDeactivate(BOOL) override {
    host_->inplace_frame_->SetMenu(nullptr, nullptr, nullptr);
    host_->UIDeactivated();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnInPlaceDeactivate() override {
    ReleaseAndNull(host_->inplace_object_);
    ReleaseAndNull(host_->inplace_active_object_);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DiscardUndoState() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DeactivateAndUndo() override {
    if (host_->inplace_object_) host_->inplace_object_->UIDeactivate();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnPosRectChange(LPCRECT rect) override {
    if (host_->inplace_object_ && rect) host_->inplace_object_->SetObjectRects(rect, &kClipRect);
    return S_OK;
  }
};

class TOleControl::ControlSiteImpl final : public SiteInterface<IOleControlSite> {
 public:
  using SiteInterface::SiteInterface;
  HRESULT STDMETHODCALLTYPE OnControlInfoChanged() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE LockInPlaceActive(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetExtendedControl(IDispatch** disp) override {
    if (disp) *disp = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE TransformCoords(POINTL* himetric, POINTF* container, DWORD flags) override {
    if (!himetric || !container) return E_POINTER;
    int ppx = PixelsPerInchX(), ppy = PixelsPerInchY();
    if (flags & XFORMCOORDS_HIMETRICTOCONTAINER) {
      container->x = static_cast<float>(MulDiv(himetric->x, ppx, 2540));
      container->y = static_cast<float>(MulDiv(himetric->y, ppy, 2540));
    } else {
      himetric->x = static_cast<LONG>(std::lround(container->x * 2540.0 / ppx));
      himetric->y = static_cast<LONG>(std::lround(container->y * 2540.0 / ppy));
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*, DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE OnFocus(BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ShowPropertyFrame() override { return E_NOTIMPL; }
};

class TOleControl::AmbientDispatchImpl final : public SiteInterface<IDispatch> {
 public:
  using SiteInterface::SiteInterface;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID, LCID, WORD flags, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                   UINT*) override {
    return host_->AmbientInvoke(dispid, flags, result);
  }
};

class TOleControl::PropertyNotifySinkImpl final : public SiteInterface<IPropertyNotifySink> {
 public:
  using SiteInterface::SiteInterface;
  HRESULT STDMETHODCALLTYPE OnChanged(DISPID dispid) override {
    try {
      host_->PropertyChanged(dispid);
    } catch (...) {
      // Errors of the automation layer while copying a property back are not the control's concern.
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE OnRequestEdit(DISPID) override { return S_OK; }
};

class TOleControl::SimpleFrameSiteImpl final : public SiteInterface<ISimpleFrameSite> {
 public:
  using SiteInterface::SiteInterface;
  HRESULT STDMETHODCALLTYPE PreMessageFilter(HWND, UINT, WPARAM, LPARAM, LRESULT*, DWORD*) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE PostMessageFilter(HWND, UINT, WPARAM, LPARAM, LRESULT*, DWORD) override { return S_OK; }
};

// --- event sink --------------------------------------------------------------------------------

HRESULT STDMETHODCALLTYPE TEventDispatch::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
      IsEqualIID(iid, host_->Descriptor().EventIID)) {
    *out = static_cast<IDispatch*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}
ULONG STDMETHODCALLTYPE TEventDispatch::AddRef() { return host_->AddRef(); }
ULONG STDMETHODCALLTYPE TEventDispatch::Release() { return host_->Release(); }
HRESULT STDMETHODCALLTYPE TEventDispatch::GetTypeInfoCount(UINT* count) {
  if (count) *count = 0;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE TEventDispatch::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE TEventDispatch::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
HRESULT STDMETHODCALLTYPE TEventDispatch::Invoke(DISPID dispid, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*,
                                                 EXCEPINFO*, UINT*) {
  host_->DispatchEvent(dispid, params);
  return S_OK;
}

// --- the host ----------------------------------------------------------------------------------

TOleControl::TOleControl(ui::TComponent* owner, ui::TWinControl* parent, TControlDescriptor& descriptor)
    : ui::TWinControl(owner, parent),
      descriptor_(descriptor),
      client_site_(new ClientSiteImpl(this)),
      inplace_site_(new InPlaceSiteImpl(this)),
      inplace_frame_(new InPlaceFrameImpl(this)),
      control_site_(new ControlSiteImpl(this)),
      ambient_(new AmbientDispatchImpl(this)),
      notify_sink_(new PropertyNotifySinkImpl(this)),
      simple_frame_site_(new SimpleFrameSiteImpl(this)),
      event_dispatch_(new TEventDispatch(this)) {
  ++descriptor_.InstanceCount;
  try {
    OleCheck(CoCreateInstance(descriptor_.ClassID, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                              IID_IOleObject, reinterpret_cast<void**>(&ole_object_)));
    OleCheck(ole_object_->GetMiscStatus(DVASPECT_CONTENT, &misc_status_));
    if (misc_status_ & OLEMISC_SETCLIENTSITEFIRST) ole_object_->SetClientSite(ClientSite());
    OleCheck(ole_object_->QueryInterface(IID_IPersistStreamInit, reinterpret_cast<void**>(&persist_stream_)));
    if (misc_status_ & OLEMISC_INVISIBLEATRUNTIME) SetVisible(false);
    SIZEL extent{};
    OleCheck(ole_object_->GetExtent(DVASPECT_CONTENT, &extent));
    SetBounds(Left(), Top(), MulDiv(extent.cx, PixelsPerInchX(), 2540), MulDiv(extent.cy, PixelsPerInchY(), 2540));
  } catch (...) {
    ReleaseControlAndSite();
    throw;
  }
}

TOleControl::~TOleControl() {
  auto& active = UIActiveControls();
  for (auto it = active.begin(); it != active.end();) {
    if (it->second == this) {
      if (inplace_object_) inplace_object_->UIDeactivate();
      it = active.erase(it);
    } else {
      ++it;
    }
  }
  DestroyWnd();
  DisconnectSinks();
  ReleaseControlInterfaces();
  if (stored_state_) GlobalFree(stored_state_);
  stored_state_ = nullptr;
  ReleaseControlAndSite();
}

// The last step of destruction, and the undoing of a construction that failed half-way: the
// control gives up its site, then the host's own site objects go.
void TOleControl::ReleaseControlAndSite() {
  ReleaseAndNull(persist_stream_);
  if (ole_object_) ole_object_->SetClientSite(nullptr);
  ReleaseAndNull(ole_object_);
  ReleaseAndNull(inplace_object_);
  ReleaseAndNull(inplace_active_object_);
  --descriptor_.InstanceCount;
  delete event_dispatch_;
  delete simple_frame_site_;
  delete notify_sink_;
  delete ambient_;
  delete control_site_;
  delete inplace_frame_;
  delete inplace_site_;
  delete client_site_;
}

void TOleControl::SetControlData(const void* bytes, size_t size) {
  if (stored_state_) GlobalFree(stored_state_);
  stored_state_ = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!stored_state_) throw ui::Exception("Out of memory");
  void* p = GlobalLock(stored_state_);
  std::memcpy(p, bytes, size);
  GlobalUnlock(stored_state_);
}

HRESULT TOleControl::QueryInterface(REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  HRESULT hr = QueryHostInterface(iid, out);
  if (SUCCEEDED(hr) && *out) static_cast<IUnknown*>(*out)->AddRef();
  return hr;
}

ULONG TOleControl::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&ref_count_)); }
ULONG TOleControl::Release() { return static_cast<ULONG>(InterlockedDecrement(&ref_count_)); }
IOleClientSite* TOleControl::ClientSite() { return client_site_; }
IDispatch* TOleControl::EventSink() { return event_dispatch_; }

HRESULT TOleControl::QueryHostInterface(REFIID iid, void** out) {
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IOleClientSite))
    *out = static_cast<IOleClientSite*>(client_site_);
  else if (IsEqualIID(iid, IID_IOleInPlaceSite) || IsEqualIID(iid, IID_IOleWindow))
    *out = static_cast<IOleInPlaceSite*>(inplace_site_);
  else if (IsEqualIID(iid, IID_IOleInPlaceFrame) || IsEqualIID(iid, IID_IOleInPlaceUIWindow))
    *out = static_cast<IOleInPlaceFrame*>(inplace_frame_);
  else if (IsEqualIID(iid, IID_IOleControlSite))
    *out = static_cast<IOleControlSite*>(control_site_);
  else if (IsEqualIID(iid, IID_IDispatch))
    *out = static_cast<IDispatch*>(ambient_);
  else if (IsEqualIID(iid, IID_IPropertyNotifySink))
    *out = static_cast<IPropertyNotifySink*>(notify_sink_);
  else if (IsEqualIID(iid, IID_ISimpleFrameSite))
    *out = static_cast<ISimpleFrameSite*>(simple_frame_site_);
  else
    return E_NOINTERFACE;
  return S_OK;
}

void TOleControl::EnsureControl() {
  if (control_) return;
  try {
    IOleClientSite* site = nullptr;
    if (FAILED(ole_object_->GetClientSite(&site)) || !site)
      ole_object_->SetClientSite(ClientSite());
    if (site) site->Release();
    if (stored_state_) {
      IStream* stream = nullptr;
      OleCheck(CreateStreamOnHGlobal(stored_state_, FALSE, &stream));
      HRESULT hr = persist_stream_->Load(stream);
      stream->Release();
      OleCheck(hr);
      GlobalFree(stored_state_);
      stored_state_ = nullptr;
    } else {
      OleCheck(persist_stream_->InitNew());
    }
    OleCheck(ole_object_->QueryInterface(IID_IOleControl, reinterpret_cast<void**>(&control_)));
    OleCheck(ole_object_->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&control_dispatch_)));
    ole_object_->QueryInterface(IID_IPerPropertyBrowsing, reinterpret_cast<void**>(&property_browsing_));
    Advise(ole_object_, IID_IPropertyNotifySink, notify_sink_, property_notify_cookie_);
    Advise(ole_object_, descriptor_.EventIID, event_dispatch_, event_cookie_);
    for (DISPID id : {DISPID_BACKCOLOR, DISPID_FORECOLOR, DISPID_FONT, DISPID_ENABLED}) {
      int bit = id == DISPID_BACKCOLOR ? 0 : id == DISPID_FORECOLOR ? 1 : id == DISPID_FONT ? 2 : 3;
      if (descriptor_.Flags & (1u << bit)) PropertyChanged(id);
    }
    control_->OnAmbientPropertyChange(DISPID_UNKNOWN);
    SizeToControlExtent();
  } catch (...) {
    DisconnectSinks();
    ReleaseControlInterfaces();
    throw;
  }
}

IDispatch* TOleControl::DefaultDispatch() {
  EnsureControl();
  return control_dispatch_;
}

void TOleControl::DisconnectSinks() {
  Unadvise(ole_object_, descriptor_.EventIID, event_cookie_);
  Unadvise(ole_object_, IID_IPropertyNotifySink, property_notify_cookie_);
}

void TOleControl::ReleaseControlInterfaces() {
  ReleaseAndNull(property_browsing_);
  ReleaseAndNull(control_dispatch_);
  ReleaseAndNull(control_);
}

void TOleControl::SizeToControlExtent() {
  SIZEL extent{};
  if (FAILED(ole_object_->GetExtent(DVASPECT_CONTENT, &extent))) return;
  int w = MulDiv(extent.cx, PixelsPerInchX(), 2540), h = MulDiv(extent.cy, PixelsPerInchY(), 2540);
  if ((misc_status_ & OLEMISC_INVISIBLEATRUNTIME) && !control_) {
    w = std::min(w, 32);
    h = std::min(h, 32);
  }
  SetBounds(Left(), Top(), w, h);
}

HWND TOleControl::ParentWindow() {
  // Only an existing window: asking while the form is still being built must not create the
  // form's windows (and this pane's) half-way through its construction.
  return Parent() ? Parent()->WindowHandle() : nullptr;
}

HWND TOleControl::TopLevelWindow() {
  HWND parent = ParentWindow();
  return parent ? GetAncestor(parent, GA_ROOT) : nullptr;
}

void TOleControl::CreateWnd() {
  EnsureControl();
  if (misc_status_ & OLEMISC_INVISIBLEATRUNTIME) {
    ui::TWinControl::CreateWnd();
    return;
  }
  RECT bounds{Left(), Top(), Left() + Width(), Top() + Height()};
  OleCheck(ole_object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, ClientSite(), 0, ParentWindow(), &bounds));
  if (!inplace_object_) throw ui::Exception("OLE control activation failed");
  if (!window_adopted_) AdoptControlWindow();
  if (!Visible() && IsWindowVisible(handle_)) ShowWindow(handle_, SW_HIDE);
}

void TOleControl::AdoptControlWindow() {
  HWND window = nullptr;
  if (inplace_object_) inplace_object_->GetWindow(&window);
  if (!window) throw ui::Exception("Could not obtain OLE control window handle");
  AdoptWindow(window);
  window_adopted_ = true;
  SendMessageA(window, WM_NULL, 0, 0);
}

void TOleControl::DestroyWnd() {
  if (!handle_) return;
  if (misc_status_ & OLEMISC_INVISIBLEATRUNTIME) {
    ui::TWinControl::DestroyWnd();
    return;
  }
  ReleaseWindow();
  window_adopted_ = false;
  if (ole_object_) ole_object_->Close(OLECLOSE_NOSAVE);
  handle_ = nullptr;
}

LRESULT TOleControl::WndProc(UINT msg, WPARAM wparam, LPARAM lparam) {
  if (!window_adopted_) return ui::TWinControl::WndProc(msg, wparam, lparam);
  // Notifications reflected back to a control reach the platform control in the OLE range.
  if (msg >= kReflectedFirst && msg <= kReflectedLast) msg -= kReflectedToOle;
  try {
    return DefaultHandler(msg, wparam, lparam);
  } catch (...) {
    return 0;  // errors while forwarding to the control are not reported
  }
}

void TOleControl::ConstrainBounds(int& left, int& top, int& width, int& height) {
  if (!ole_object_) return;
  bool resized = (width != Width() && Width() > 0) || (height != Height() && Height() > 0);
  if (!resized) return;
  bool keep = (misc_status_ & OLEMISC_INVISIBLEATRUNTIME) != 0;
  if (!keep) {
    SIZEL extent{MulDiv(width, 2540, PixelsPerInchX()), MulDiv(height, 2540, PixelsPerInchY())};
    keep = FAILED(ole_object_->SetExtent(DVASPECT_CONTENT, &extent));
  }
  if (keep) {
    width = Width();
    height = Height();
  }
}

bool TOleControl::PreTranslateKey(const MSG& msg) {
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || !inplace_active_object_) return false;
  MSG m{};
  m.hwnd = handle_;
  m.message = msg.message;
  m.wParam = msg.wParam;
  m.lParam = msg.lParam;
  m.time = static_cast<DWORD>(GetMessageTime());
  m.pt.x = static_cast<LONG>(kKeyMarkerPos);
  m.pt.y = static_cast<LONG>(kKeyMarkerPos);
  return inplace_active_object_->TranslateAccelerator(&m) == S_OK;
}

void TOleControl::UIActivated() {
  HWND top = TopLevelWindow();
  auto& active = UIActiveControls();
  TOleControl* previous = active.count(top) ? active[top] : nullptr;
  if (previous && previous != this && previous->inplace_object_) previous->inplace_object_->UIDeactivate();
  active[top] = this;
}

void TOleControl::UIDeactivated() {
  auto& active = UIActiveControls();
  for (auto it = active.begin(); it != active.end(); ++it) {
    if (it->second == this) {
      active.erase(it);
      break;
    }
  }
}

void TOleControl::PropertyChanged(DISPID dispid) {
  if (!control_dispatch_) return;
  VARIANT value;
  switch (dispid) {
    case DISPID_BACKCOLOR:
      if (colour_guard_) return;
      colour_guard_ = true;
      if (SUCCEEDED(GetDispProperty(control_dispatch_, dispid, value)) &&
          SUCCEEDED(VariantChangeType(&value, &value, 0, VT_I4)))
        SetColor(static_cast<ui::TColor>(value.lVal) & 0xFFFFFF);
      VariantClear(&value);
      colour_guard_ = false;
      break;
    case DISPID_FORECOLOR:
      if (font_guard_) return;
      font_guard_ = true;
      if (SUCCEEDED(GetDispProperty(control_dispatch_, dispid, value)) &&
          SUCCEEDED(VariantChangeType(&value, &value, 0, VT_I4)))
        Font().SetColor(static_cast<ui::TColor>(value.lVal) & 0xFFFFFF);
      VariantClear(&value);
      font_guard_ = false;
      break;
    case DISPID_FONT:
      if (font_guard_) return;
      font_guard_ = true;
      if (SUCCEEDED(GetDispProperty(control_dispatch_, dispid, value)) && value.vt == VT_DISPATCH && value.pdispVal) {
        IFont* font = nullptr;
        if (SUCCEEDED(value.pdispVal->QueryInterface(IID_IFont, reinterpret_cast<void**>(&font)))) {
          BSTR name = nullptr;
          CY size{};
          if (SUCCEEDED(font->get_Name(&name)) && name) Font().SetName(ui::WideToAnsi(name));
          SysFreeString(name);
          if (SUCCEEDED(font->get_Size(&size)))
            Font().SetHeight(-MulDiv(static_cast<int>(size.int64 / 10000), PixelsPerInchY(), 72));
          font->Release();
        }
      }
      VariantClear(&value);
      font_guard_ = false;
      break;
    case DISPID_ENABLED:
      if (enabled_guard_) return;
      enabled_guard_ = true;
      if (SUCCEEDED(GetDispProperty(control_dispatch_, dispid, value)) &&
          SUCCEEDED(VariantChangeType(&value, &value, 0, VT_BOOL)) && handle_)
        EnableWindow(handle_, value.boolVal != VARIANT_FALSE);
      VariantClear(&value);
      enabled_guard_ = false;
      break;
    default:
      break;
  }
}

HRESULT TOleControl::AmbientInvoke(DISPID dispid, WORD flags, VARIANT* result) {
  if (!(flags & DISPATCH_PROPERTYGET) || !result) return DISP_E_MEMBERNOTFOUND;
  VariantInit(result);
  switch (dispid) {
    case DISPID_AMBIENT_BACKCOLOR:
      result->vt = VT_I4;
      result->lVal = static_cast<LONG>(ui::ColorToOleColor(Color()));
      return S_OK;
    case DISPID_AMBIENT_DISPLAYNAME:
      result->vt = VT_BSTR;
      result->bstrVal = SysAllocString(ui::AnsiToWide(Name).c_str());
      return S_OK;
    case DISPID_AMBIENT_FONT: {
      const ui::TFont& font = (ParentFont && Parent()) ? Parent()->Font() : Font();
      std::wstring face = ui::AnsiToWide(font.Name());
      FONTDESC desc{};
      desc.cbSizeofstruct = sizeof desc;
      desc.lpstrName = face.data();
      int points = std::abs(font.Height()) * 72 / PixelsPerInchY();
      desc.cySize.int64 = static_cast<LONGLONG>(points) * 10000;
      desc.sWeight = (font.Style() & ui::fsBold) ? FW_BOLD : FW_NORMAL;
      desc.sCharset = DEFAULT_CHARSET;
      desc.fItalic = (font.Style() & ui::fsItalic) != 0;
      desc.fUnderline = (font.Style() & ui::fsUnderline) != 0;
      desc.fStrikethrough = (font.Style() & ui::fsStrikeOut) != 0;
      IDispatch* dispatch = nullptr;
      HRESULT hr = OleCreateFontIndirect(&desc, IID_IDispatch, reinterpret_cast<void**>(&dispatch));
      if (FAILED(hr)) return hr;
      result->vt = VT_DISPATCH;
      result->pdispVal = dispatch;
      return S_OK;
    }
    case DISPID_AMBIENT_FORECOLOR:
      result->vt = VT_I4;
      result->lVal = static_cast<LONG>(ui::ColorToOleColor(Font().Color()));
      return S_OK;
    case DISPID_AMBIENT_LOCALEID:
      result->vt = VT_I4;
      result->lVal = static_cast<LONG>(GetUserDefaultLCID());
      return S_OK;
    case DISPID_AMBIENT_MESSAGEREFLECT:
    case DISPID_AMBIENT_USERMODE:
    case DISPID_AMBIENT_SUPPORTSMNEMONICS:
    case DISPID_AMBIENT_AUTOCLIP:
      result->vt = VT_BOOL;
      result->boolVal = VARIANT_TRUE;
      return S_OK;
    case DISPID_AMBIENT_UIDEAD:
    case DISPID_AMBIENT_SHOWGRABHANDLES:
    case DISPID_AMBIENT_SHOWHATCHING:
      result->vt = VT_BOOL;
      result->boolVal = VARIANT_FALSE;
      return S_OK;
    default:
      return DISP_E_MEMBERNOTFOUND;
  }
}

HRESULT TOleControl::DispatchEvent(DISPID dispid, DISPPARAMS* params) {
  try {
    if (dispid >= DISPID_MOUSEUP && dispid <= DISPID_CLICK) {
      // The standard mouse and key events become the pane's own handling; the WebBrowser's event
      // interface has none of them.
      if (dispid == DISPID_CLICK) Click();
      return S_OK;
    }
    int index = -1;
    for (std::uint32_t i = 0; i < descriptor_.EventCount; ++i)
      if (descriptor_.EventDispIDs[i] == dispid) {
        index = static_cast<int>(i);
        break;
      }
    if (index < 0) return S_OK;
    std::vector<EventArg> args;
    if (params) {
      for (UINT i = params->cArgs; i-- > 0;) {
        VARIANT& v = params->rgvarg[i];
        EventArg a;
        a.vt = v.vt;
        if (v.vt & VT_ARRAY) {
          a.variant = &v;
        } else {
          std::memcpy(&a.raw8, &v.llVal, sizeof a.raw8);
          a.word = static_cast<std::uintptr_t>(a.raw8);
          if (v.vt == VT_R4) a.r4 = v.fltVal;
        }
        args.push_back(a);
      }
    }
    InvokeEvent(index, args);
  } catch (const std::exception& e) {
    if (ui::Application) ui::Application->HandleException(e);
  } catch (...) {
    if (ui::Application) ui::Application->HandleUnknownException();
  }
  return S_OK;
}

}  // namespace tavlox::browser
