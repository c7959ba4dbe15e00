#include "ui/Controls.h"

#include <commctrl.h>

#include <algorithm>
#include <map>

#include "ui/Exceptions.h"
#include "ui/Forms.h"

namespace tavlox::ui {
namespace {

const char kControlProp[] = "TavloxControl";
const char kControlClass[] = "TavloxControl";

}  // namespace

COLORREF ColorToRGB(TColor color) {
  if ((color & 0xFF000000u) == 0xFF000000u) return GetSysColor(static_cast<int>(color & 0xFF));
  return color & 0x00FFFFFFu;
}

std::uint32_t ColorToOleColor(TColor color) {
  if ((color & 0xFF000000u) == 0xFF000000u) return 0x80000000u | (color & 0xFF);
  return color & 0x00FFFFFFu;
}

HCURSOR CursorHandle(TCursor cursor) {
  switch (cursor) {
    case crHandPoint: return LoadCursor(nullptr, IDC_HAND);
    case crHSplit: return LoadCursor(nullptr, IDC_SIZEWE);
    case crVSplit: return LoadCursor(nullptr, IDC_SIZENS);
    case crArrow: return LoadCursor(nullptr, IDC_ARROW);
    default: return nullptr;
  }
}

TFont& TFont::operator=(const TFont& o) {
  if (this != &o) {
    name_ = o.name_;
    height_ = o.height_;
    color_ = o.color_;
    style_ = o.style_;
    handle_.Reset();
  }
  return *this;
}

HFONT TFont::Handle() const {
  if (!handle_) {
    LOGFONTA lf{};
    lf.lfHeight = height_;
    lf.lfWeight = (style_ & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (style_ & fsItalic) ? 1 : 0;
    lf.lfUnderline = (style_ & fsUnderline) ? 1 : 0;
    lf.lfStrikeOut = (style_ & fsStrikeOut) ? 1 : 0;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    lstrcpynA(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
    handle_.Reset(CreateFontIndirectA(&lf));
  }
  return handle_.Get();
}

// ---------------------------------------------------------------------------------------------

TComponent::TComponent(TComponent* owner) : owner_(owner) {
  if (owner_) owner_->components_.push_back(this);
}

TComponent::~TComponent() {
  DestroyComponents();
  if (owner_) {
    auto& list = owner_->components_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* last = components_.back();
    delete last;  // removes itself from the list
  }
}

// ---------------------------------------------------------------------------------------------

void FillColor(HDC dc, const RECT& rect, TColor color) {
  GdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRGB(color)));
  FillRect(dc, &rect, brush.Get());
}

void Frame3D(HDC dc, const RECT& r, TColor top_left, TColor bottom_right) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  FillColor(dc, {r.left, r.top, r.right, r.top + 1}, top_left);
  FillColor(dc, {r.left, r.top, r.left + 1, r.bottom}, top_left);
  FillColor(dc, {r.left, r.bottom - 1, r.right, r.bottom}, bottom_right);
  FillColor(dc, {r.right - 1, r.top, r.right, r.bottom}, bottom_right);
}

const char* RegisterFrameworkClass(const char* name, UINT style) {
  static std::map<std::string, ATOM> registered;
  auto it = registered.find(name);
  if (it != registered.end()) return it->first.c_str();
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = style;
  wc.lpfnWndProc = StdWndProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconA(wc.hInstance, "MAINICON");
  wc.lpszClassName = name;
  ATOM atom = RegisterClassExA(&wc);
  if (!atom && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw Exception("Could not register the window class " + std::string(name));
  return registered.emplace(name, atom).first->first.c_str();
}

LRESULT CALLBACK StdWndProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  auto* control = static_cast<TWinControl*>(GetPropA(hwnd, kControlProp));
  if (!control && msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lparam);
    control = static_cast<TWinControl*>(cs->lpCreateParams);
    if (control) {
      control->handle_ = hwnd;
      SetPropA(hwnd, kControlProp, control);
    }
  }
  if (!control) return DefWindowProcA(hwnd, msg, wparam, lparam);
  if (msg == WM_NCDESTROY) {
    LRESULT result = control->DefaultHandler(msg, wparam, lparam);
    RemovePropA(hwnd, kControlProp);
    if (control->handle_ == hwnd) {
      control->handle_ = nullptr;
      control->saved_proc_ = nullptr;
    }
    return result;
  }
  try {
    return control->WndProc(msg, wparam, lparam);
  } catch (const std::exception& e) {
    if (Application) Application->HandleException(e);
  } catch (...) {
    if (Application) Application->HandleUnknownException();
  }
  return 0;
}

TWinControl* TWinControl::FromHandle(HWND hwnd) {
  return hwnd ? static_cast<TWinControl*>(GetPropA(hwnd, kControlProp)) : nullptr;
}

TWinControl::TWinControl(TComponent* owner, TWinControl* parent) : TComponent(owner) {
  if (parent) SetParent(parent);
}

TWinControl::~TWinControl() {
  // Owned components first (a form's controls), then this window.
  DestroyComponents();
  for (TWinControl* child : std::vector<TWinControl*>(children_)) child->parent_ = nullptr;
  children_.clear();
  if (handle_) DestroyWnd();
  if (parent_) {
    auto& list = parent_->children_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
}

void TWinControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent_) {
    auto& list = parent_->children_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
  }
  parent_ = parent;
  if (parent_) {
    parent_->children_.push_back(this);
    if (ParentFont) font_ = parent_->font_;
    if (handle_ && parent_->handle_) ::SetParent(handle_, parent_->handle_);
    parent_->Realign();
  }
}

void TWinControl::SetAlign(TAlign align) {
  align_ = align;
  if (parent_) parent_->Realign();
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  ConstrainBounds(left, top, width, height);
  LayoutRect next{left, top, width, height};
  if (next == bounds_) return;
  bool resized = next.width != bounds_.width || next.height != bounds_.height;
  bounds_ = next;
  ApplyBoundsToWindow();
  if (resized) Realign();
  BoundsChanged();
  if (parent_ && align_ != TAlign::alNone) parent_->Realign();
}

void TWinControl::ApplyBoundsToWindow() {
  if (handle_)
    SetWindowPos(handle_, nullptr, bounds_.left, bounds_.top, bounds_.width, bounds_.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWinControl::UpdateBoundsFromWindow() {
  if (!handle_) return;
  RECT r;
  GetWindowRect(handle_, &r);
  HWND parent = (GetWindowLongPtrA(handle_, GWL_STYLE) & WS_CHILD) ? GetParent(handle_) : nullptr;
  if (parent) MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  bounds_ = {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void TWinControl::SetVisible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  if (handle_) ShowWindow(handle_, visible ? SW_SHOWNA : SW_HIDE);
  if (parent_) parent_->Realign();
}

void TWinControl::SetColor(TColor c) {
  color_ = c;
  Invalidate();
}

void TWinControl::SetCaption(const std::string& text) {
  caption_ = text;
  if (handle_) SetWindowTextA(handle_, text.c_str());
  Invalidate();
}

HWND TWinControl::Handle() {
  HandleNeeded();
  return handle_;
}

namespace {

// One tooltip window per process shows the hints of controls with ShowHint.
void AddHint(HWND hwnd, const std::string& hint) {
  static HWND tips = nullptr;
  if (!tips || !IsWindow(tips)) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    tips = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
    if (!tips) return;
  }
  TTTOOLINFOA info{};
  info.cbSize = TTTOOLINFOA_V1_SIZE;
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = GetParent(hwnd) ? GetParent(hwnd) : hwnd;
  info.uId = reinterpret_cast<UINT_PTR>(hwnd);
  info.lpszText = const_cast<char*>(hint.c_str());
  SendMessageA(tips, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

}  // namespace

void TWinControl::HandleNeeded() {
  if (handle_) return;
  if (parent_) parent_->HandleNeeded();
  if (handle_) return;  // the parent's creation created this one too
  CreateWnd();
  if (ShowHint && !Hint.empty() && handle_) AddHint(handle_, Hint);
  for (TWinControl* child : std::vector<TWinControl*>(children_)) child->HandleNeeded();
}

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, FALSE);
}

LayoutRect TWinControl::ClientRectForChildren() const { return {0, 0, bounds_.width, bounds_.height}; }

void TWinControl::Realign() {
  if (aligning_ || children_.empty()) return;
  aligning_ = true;
  std::vector<LayoutItem> items;
  std::vector<TWinControl*> laid_out;
  for (TWinControl* child : children_) {
    if (!child->visible_) continue;
    items.push_back({child->align_, child->bounds_});
    laid_out.push_back(child);
  }
  AlignChildren(ClientRectForChildren(), items);
  for (size_t i = 0; i < items.size(); ++i) {
    const LayoutRect& r = items[i].bounds;
    laid_out[i]->SetBounds(r.left, r.top, r.width, r.height);
  }
  aligning_ = false;
}

void TWinControl::FillCreateParams(CreateParams& params) {
  params.className = RegisterFrameworkClass(kControlClass);
  if (visible_) params.style |= WS_VISIBLE;
  params.parent = parent_ ? parent_->handle_ : nullptr;
  params.x = bounds_.left;
  params.y = bounds_.top;
  params.width = bounds_.width;
  params.height = bounds_.height;
}

void TWinControl::CreateWnd() {
  CreateParams params;
  FillCreateParams(params);
  HWND hwnd = CreateWindowExA(params.exStyle, params.className.c_str(), caption_.c_str(), params.style, params.x,
                              params.y, params.width, params.height, params.parent, nullptr,
                              GetModuleHandleA(nullptr), this);
  if (!hwnd) throw Exception("Error creating window: " + SysErrorMessage(static_cast<long>(GetLastError())));
  if (!handle_) AdoptWindow(hwnd);  // a class of the platform's: its procedure is kept
}

void TWinControl::DestroyWnd() {
  HWND hwnd = handle_;
  if (saved_proc_) ReleaseWindow();
  if (hwnd && IsWindow(hwnd)) DestroyWindow(hwnd);
  handle_ = nullptr;
}

void TWinControl::AdoptWindow(HWND hwnd) {
  handle_ = hwnd;
  SetPropA(hwnd, kControlProp, this);
  saved_proc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StdWndProc)));
  owns_class_proc_ = false;
}

void TWinControl::ReleaseWindow() {
  if (handle_ && saved_proc_) {
    SetWindowLongPtrA(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(saved_proc_));
    RemovePropA(handle_, kControlProp);
  }
  saved_proc_ = nullptr;
  handle_ = nullptr;
}

LRESULT TWinControl::DefaultHandler(UINT msg, WPARAM wparam, LPARAM lparam) {
  if (saved_proc_) return CallWindowProcA(saved_proc_, handle_, msg, wparam, lparam);
  return DefWindowProcA(handle_, msg, wparam, lparam);
}

void TWinControl::Paint(HDC dc, int width, int height) {
  RECT r{0, 0, width, height};
  FillColor(dc, r, color_);
}

void TWinControl::Click() {
  if (OnClick) OnClick(this);
}

void TWinControl::DrawCaption(HDC dc, RECT rect, UINT format, TColor color) const {
  if (caption_.empty()) return;
  SelectScope font(dc, font_.Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(color));
  DrawTextA(dc, caption_.c_str(), static_cast<int>(caption_.size()), &rect, format | DT_NOPREFIX);
}

LRESULT TWinControl::WndProc(UINT msg, WPARAM wparam, LPARAM lparam) {
  if (!owns_class_proc_ && saved_proc_) {
    // An adopted window of a platform class draws itself.
    return DefaultHandler(msg, wparam, lparam);
  }
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(handle_, &ps);
      RECT client;
      GetClientRect(handle_, &client);
      if (client.right > 0 && client.bottom > 0) {
        OffscreenDC off(dc, client.right, client.bottom);
        Paint(off.Get(), client.right, client.bottom);
        BitBlt(dc, 0, 0, client.right, client.bottom, off.Get(), 0, 0, SRCCOPY);
      }
      EndPaint(handle_, &ps);
      return 0;
    }
    case WM_SETCURSOR:
      if (LOWORD(lparam) == HTCLIENT && Cursor != crDefault) {
        if (HCURSOR c = CursorHandle(Cursor)) {
          SetCursor(c);
          return TRUE;
        }
      }
      break;
    case WM_SIZE:
      Realign();
      break;
    case WM_LBUTTONDOWN:
      pressed_ = true;
      SetCapture(handle_);
      return 0;
    case WM_LBUTTONUP: {
      bool was_pressed = pressed_;
      pressed_ = false;
      if (GetCapture() == handle_) ReleaseCapture();
      POINT pt{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      RECT client;
      GetClientRect(handle_, &client);
      if (was_pressed && PtInRect(&client, pt)) Click();
      return 0;
    }
    case WM_CAPTURECHANGED:
      pressed_ = false;
      break;
  }
  return DefaultHandler(msg, wparam, lparam);
}

}  // namespace tavlox::ui
