#include "browser/WebBrowser.h"

#include <exdispid.h>

#include "ui/Exceptions.h"
#include "ui/Win32Util.h"

namespace tavlox::browser {
namespace {

// CLSID_WebBrowser and DWebBrowserEvents2.
constexpr CLSID kWebBrowserClassID = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};
constexpr IID kWebBrowserEventsIID = {0x34A715A0, 0x6587, 0x11D0, {0x92, 0x4A, 0x00, 0x20, 0xAF, 0xC7, 0xAC, 0x4D}};

constexpr std::int32_t kEventDispIDs[34] = {
    102, 108, 105, 106, 104, 113, 112, 250, 251, 252, 259, 253, 254, 255, 256, 257, 258, 260,
    // the longer list only
    261, 262, 264, 265, 266, 267, 263, 268, 269, 270, 271, 225, 226, 227, 272, 273};

}  // namespace

TControlDescriptor& TWebBrowser::ClassDescriptor() {
  static TControlDescriptor descriptor{kWebBrowserClassID, kWebBrowserEventsIID, 18, kEventDispIDs, 0, 401, 0, 0, 0};
  return descriptor;
}

TControlDescriptor& TExtWebBrowserBase::ClassDescriptor() {
  static TControlDescriptor descriptor{kWebBrowserClassID, kWebBrowserEventsIID, 34, kEventDispIDs, 0, 401, 0, 0, 0};
  return descriptor;
}

TWebBrowser::TWebBrowser(ui::TComponent* owner, ui::TWinControl* parent)
    : TWebBrowser(owner, parent, ClassDescriptor()) {}

TWebBrowser::TWebBrowser(ui::TComponent* owner, ui::TWinControl* parent, TControlDescriptor& descriptor)
    : TOleControl(owner, parent, descriptor) {}

TWebBrowser::~TWebBrowser() {
  if (web_browser_) web_browser_->Release();
  web_browser_ = nullptr;
}

IWebBrowser2* TWebBrowser::DefaultInterface() {
  if (!web_browser_) OleCheck(DefaultDispatch()->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&web_browser_)));
  return web_browser_;
}

void TWebBrowser::Navigate(const std::wstring& url) {
  IWebBrowser2* browser = DefaultInterface();
  VARIANT missing;
  VariantInit(&missing);
  missing.vt = VT_ERROR;
  missing.scode = DISP_E_PARAMNOTFOUND;
  ui::Bstr address(url);
  OleCheck(browser->Navigate(address.Get(), &missing, &missing, &missing, &missing));
}

void TWebBrowser::InvokeEvent(int index, const std::vector<EventArg>& args) {
  switch (index) {
    case 0: Fire(OnStatusTextChange, args); break;
    case 1: Fire(OnProgressChange, args); break;
    case 2: Fire(OnCommandStateChange, args); break;
    case 3: Fire(OnDownloadBegin, args); break;
    case 4: Fire(OnDownloadComplete, args); break;
    case 5: Fire(OnTitleChange, args); break;
    case 6: Fire(OnPropertyChange, args); break;
    case 7: Fire(OnBeforeNavigate2, args); break;
    case 8: Fire(OnNewWindow2, args); break;
    case 9: Fire(OnNavigateComplete2, args); break;
    case 10: Fire(OnDocumentComplete, args); break;
    case 11: Fire(OnQuit, args); break;
    case 12: Fire(OnVisible, args); break;
    case 13: Fire(OnToolBar, args); break;
    case 14: Fire(OnMenuBar, args); break;
    case 15: Fire(OnStatusBar, args); break;
    case 16: Fire(OnFullScreen, args); break;
    case 17: Fire(OnTheaterMode, args); break;
    default: break;
  }
}

TExtWebBrowserBase::TExtWebBrowserBase(ui::TComponent* owner, ui::TWinControl* parent)
    : TWebBrowser(owner, parent, ClassDescriptor()) {}

void TExtWebBrowserBase::InvokeEvent(int index, const std::vector<EventArg>& args) {
  switch (index) {
    case 18: Fire(OnAddressBar, args); break;
    case 19: Fire(OnWindowSetResizable, args); break;
    case 20: Fire(OnWindowSetLeft, args); break;
    case 21: Fire(OnWindowSetTop, args); break;
    case 22: Fire(OnWindowSetWidth, args); break;
    case 23: Fire(OnWindowSetHeight, args); break;
    case 24: Fire(OnWindowClosing, args); break;
    case 25: Fire(OnClientToHostWindow, args); break;
    case 26: Fire(OnSetSecureLockIcon, args); break;
    case 27: Fire(OnFileDownload, args); break;
    case 28: Fire(OnNavigateError, args); break;
    case 29: Fire(OnPrintTemplateInstantiation, args); break;
    case 30: Fire(OnPrintTemplateTeardown, args); break;
    case 31: Fire(OnUpdatePageStatus, args); break;
    case 32: Fire(OnPrivacyImpactedStateChange, args); break;
    case 33: Fire(OnNewWindow3, args); break;
    default: TWebBrowser::InvokeEvent(index, args); break;
  }
}

}  // namespace tavlox::browser
