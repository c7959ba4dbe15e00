// Browser panes: the host bound to the platform's WebBrowser control, with its events and
// `Navigate`.
#pragma once

#include <exdisp.h>

#include <cstring>
#include <functional>
#include <string>
#include <type_traits>
#include <utility>

#include "browser/OleControl.h"

namespace tavlox::browser {

template <class... A>
using TEvent = std::function<void(ui::TObject* Sender, A...)>;

// Converts one event argument to the parameter type of a handler.
template <class T>
T EventArgAs(const EventArg& a) {
  if constexpr (std::is_pointer_v<T>) {
    return a.variant && std::is_same_v<T, VARIANT*> ? reinterpret_cast<T>(a.variant) : reinterpret_cast<T>(a.word);
  } else if constexpr (std::is_same_v<T, double>) {
    double d;
    std::memcpy(&d, &a.raw8, sizeof d);
    return d;
  } else if constexpr (std::is_same_v<T, float>) {
    return a.r4;
  } else {
    return static_cast<T>(a.word);
  }
}

class TWebBrowser : public TOleControl {
 public:
  TWebBrowser(ui::TComponent* owner, ui::TWinControl* parent);

  // Sends the control to `url`; flags, target frame, post data and headers go as missing
  // arguments. Raises EOleSysError when the control refuses.
  void Navigate(const std::wstring& url);
  IWebBrowser2* DefaultInterface();

  TEvent<BSTR> OnStatusTextChange;
  TEvent<long, long> OnProgressChange;
  TEvent<long, VARIANT_BOOL> OnCommandStateChange;
  TEvent<> OnDownloadBegin;
  TEvent<> OnDownloadComplete;
  TEvent<BSTR> OnTitleChange;
  TEvent<BSTR> OnPropertyChange;
  TEvent<IDispatch*, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT_BOOL*> OnBeforeNavigate2;
  TEvent<IDispatch**, VARIANT_BOOL*> OnNewWindow2;
  TEvent<IDispatch*, VARIANT*> OnNavigateComplete2;
  TEvent<IDispatch*, VARIANT*> OnDocumentComplete;
  TEvent<> OnQuit;
  TEvent<VARIANT_BOOL> OnVisible;
  TEvent<VARIANT_BOOL> OnToolBar;
  TEvent<VARIANT_BOOL> OnMenuBar;
  TEvent<VARIANT_BOOL> OnStatusBar;
  TEvent<VARIANT_BOOL> OnFullScreen;
  TEvent<VARIANT_BOOL> OnTheaterMode;

  static TControlDescriptor& ClassDescriptor();

 protected:
  TWebBrowser(ui::TComponent* owner, ui::TWinControl* parent, TControlDescriptor& descriptor);
  void InvokeEvent(int index, const std::vector<EventArg>& args) override;

  template <class... A>
  void Fire(const TEvent<A...>& handler, const std::vector<EventArg>& args) {
    if (handler) Call(handler, args, std::index_sequence_for<A...>{});
  }

 private:
  template <class... A, size_t... I>
  void Call(const TEvent<A...>& handler, const std::vector<EventArg>& args, std::index_sequence<I...>) {
    handler(this, (I < args.size() ? EventArgAs<A>(args[I]) : A{})...);
  }
  IWebBrowser2* web_browser_ = nullptr;

 public:
  ~TWebBrowser() override;
};

// The same binding with the longer event list; the base of the main pane.
class TExtWebBrowserBase : public TWebBrowser {
 public:
  TExtWebBrowserBase(ui::TComponent* owner, ui::TWinControl* parent);

  TEvent<VARIANT_BOOL> OnAddressBar;
  TEvent<VARIANT_BOOL> OnWindowSetResizable;
  TEvent<long> OnWindowSetLeft;
  TEvent<long> OnWindowSetTop;
  TEvent<long> OnWindowSetWidth;
  TEvent<long> OnWindowSetHeight;
  TEvent<VARIANT_BOOL, VARIANT_BOOL*> OnWindowClosing;
  TEvent<long*, long*> OnClientToHostWindow;
  TEvent<long> OnSetSecureLockIcon;
  TEvent<VARIANT_BOOL, VARIANT_BOOL*> OnFileDownload;
  TEvent<IDispatch*, VARIANT*, VARIANT*, VARIANT*, VARIANT_BOOL*> OnNavigateError;
  TEvent<IDispatch*> OnPrintTemplateInstantiation;
  TEvent<IDispatch*> OnPrintTemplateTeardown;
  TEvent<IDispatch*, VARIANT*, VARIANT*> OnUpdatePageStatus;
  TEvent<VARIANT_BOOL> OnPrivacyImpactedStateChange;
  TEvent<IDispatch**, VARIANT_BOOL*, DWORD, BSTR, BSTR> OnNewWindow3;

  static TControlDescriptor& ClassDescriptor();

 protected:
  void InvokeEvent(int index, const std::vector<EventArg>& args) override;
};

// The main content pane. Its document host and filters build on this class.
class TExtWebBrowser : public TExtWebBrowserBase {
 public:
  TExtWebBrowser(ui::TComponent* owner, ui::TWinControl* parent) : TExtWebBrowserBase(owner, parent) {}
};

}  // namespace tavlox::browser
