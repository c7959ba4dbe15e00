// Generic host ("site") of an ActiveX control inside a form: creation, persistence, in-place
// activation, the site interfaces with their answers, ambient properties, the event sink and the
// keyboard glue.
//
// One host object answers every site interface; thin per-interface classes forward to it (the
// control reaches them by QueryInterface on the client site). The host's lifetime follows the
// form that owns it: COM reference counts never free it.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <ocidl.h>
#include <olectl.h>

#include <cstdint>
#include <vector>

#include "ui/Controls.h"

namespace tavlox::browser {

// Static record of a host class: the control it hosts and the events it maps.
struct TControlDescriptor {
  CLSID ClassID;
  IID EventIID;
  std::uint32_t EventCount;
  const std::int32_t* EventDispIDs;  // the i-th belongs to the i-th event property of the class
  std::uint32_t Flags;               // bit 0 back colour, 1 fore colour, 2 font, 3 enabled mirrored
  std::uint32_t Version;
  std::uint32_t FontCount, PictureCount;
  int InstanceCount;
};

// One event argument as the event sink passes it on: the VARIANT's data word (for by-reference
// types the address of the caller's storage), its 8-byte value for floating types, or the
// VARIANT itself for arrays.
struct EventArg {
  VARTYPE vt = VT_EMPTY;
  std::uintptr_t word = 0;
  std::uint64_t raw8 = 0;
  float r4 = 0;
  VARIANT* variant = nullptr;
};

class TOleControl;

// Event sink that the control calls through its event connection point.
class TEventDispatch final : public IDispatch {
 public:
  explicit TEventDispatch(TOleControl* host) : host_(host) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID dispid, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                   EXCEPINFO*, UINT*) override;

 private:
  TOleControl* host_;
};

// Base for the thin per-interface objects: IUnknown goes to the host.
template <class I>
class SiteInterface : public I {
 public:
  explicit SiteInterface(TOleControl* host) : host_(host) {}
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

 protected:
  TOleControl* host_;
};

class TOleControl : public ui::TWinControl {
 public:
  // Creates the control (not yet initialised). Raises EOleSysError when it cannot be created.
  TOleControl(ui::TComponent* owner, ui::TWinControl* parent, TControlDescriptor& descriptor);
  ~TOleControl() override;

  TControlDescriptor& Descriptor() const { return descriptor_; }
  // The stored control state ("ControlData"): handed to the control unchanged at bring-up.
  void SetControlData(const void* bytes, size_t size);
  bool HoldsControlData() const { return stored_state_ != nullptr; }

  // Brings the control up (initialises it and connects the sinks); does nothing once done.
  void EnsureControl();
  bool IsUp() const { return control_ != nullptr; }
  bool InPlaceActive() const { return inplace_object_ != nullptr; }
  // The control's own automation interface (brings the control up).
  IDispatch* DefaultDispatch();
  IOleObject* OleObject() const { return ole_object_; }

  // COM identity of the site. `QueryHostInterface` answers from the host's interface list;
  // a derived host checks its own interfaces first and then calls the base.
  HRESULT QueryInterface(REFIID iid, void** out);
  ULONG AddRef();
  ULONG Release();
  IOleClientSite* ClientSite();
  IDispatch* EventSink();

  // Keyboard glue: a key message for the pane, offered to the control first. True when the
  // control took it.
  bool PreTranslateKey(const MSG& msg);
  bool PreTranslateMessage(const MSG& msg) override { return PreTranslateKey(msg); }

  // Pixels <-> HIMETRIC with the screen's pixels per inch.
  static int PixelsPerInchX();
  static int PixelsPerInchY();

 protected:
  virtual HRESULT QueryHostInterface(REFIID iid, void** out);
  // Calls the event property with the given index (in descriptor order), if it is assigned.
  virtual void InvokeEvent(int index, const std::vector<EventArg>& args) {}
  HRESULT DispatchEvent(DISPID dispid, DISPPARAMS* params);
  HRESULT AmbientInvoke(DISPID dispid, WORD flags, VARIANT* result);

  void CreateWnd() override;
  void DestroyWnd() override;
  LRESULT WndProc(UINT msg, WPARAM wparam, LPARAM lparam) override;
  void ConstrainBounds(int& left, int& top, int& width, int& height) override;

 private:
  friend class TEventDispatch;
  class ClientSiteImpl;
  class InPlaceSiteImpl;
  class InPlaceFrameImpl;
  class ControlSiteImpl;
  class AmbientDispatchImpl;
  class PropertyNotifySinkImpl;
  class SimpleFrameSiteImpl;

  void AdoptControlWindow();
  void SizeToControlExtent();
  void DisconnectSinks();
  void ReleaseControlInterfaces();
  void ReleaseControlAndSite();
  void PropertyChanged(DISPID dispid);
  HWND ParentWindow();
  HWND TopLevelWindow();
  void UIActivated();
  void UIDeactivated();

  TControlDescriptor& descriptor_;
  IOleObject* ole_object_ = nullptr;
  IPersistStreamInit* persist_stream_ = nullptr;
  IOleControl* control_ = nullptr;
  IDispatch* control_dispatch_ = nullptr;
  IPerPropertyBrowsing* property_browsing_ = nullptr;
  IOleInPlaceObject* inplace_object_ = nullptr;
  IOleInPlaceActiveObject* inplace_active_object_ = nullptr;
  DWORD misc_status_ = 0;
  HGLOBAL stored_state_ = nullptr;
  DWORD property_notify_cookie_ = 0;
  DWORD event_cookie_ = 0;
  LONG ref_count_ = 0;
  bool colour_guard_ = false, font_guard_ = false, enabled_guard_ = false;
  bool window_adopted_ = false;

  ClientSiteImpl* client_site_;
  InPlaceSiteImpl* inplace_site_;
  InPlaceFrameImpl* inplace_frame_;
  ControlSiteImpl* control_site_;
  AmbientDispatchImpl* ambient_;
  PropertyNotifySinkImpl* notify_sink_;
  SimpleFrameSiteImpl* simple_frame_site_;
  TEventDispatch* event_dispatch_;
};

// Raises EOleSysError for a failed HRESULT; returns it otherwise.
HRESULT OleCheck(HRESULT hr);

}  // namespace tavlox::browser
