#include "ui/StdCtrls.h"

#include <commctrl.h>

namespace tavlox::ui {

TLabel::TLabel(TComponent* owner, TWinControl* parent) : TWinControl(owner, parent) {
  ParentFont = true;
  if (parent) Font() = parent->Font();
  SetBounds(0, 0, 65, 13);
}

void TLabel::Paint(HDC dc, int width, int height) {
  // A transparent label shows its parent's colour behind the text.
  TColor back = (Transparent && Parent()) ? Parent()->Color() : Color();
  RECT r{0, 0, width, height};
  FillColor(dc, r, back);
  UINT format = DT_WORDBREAK | (Alignment == TAlignment::taCenter        ? DT_CENTER
                                : Alignment == TAlignment::taRightJustify ? DT_RIGHT
                                                                          : DT_LEFT);
  DrawCaption(dc, r, format, Font().Color());
}

TPanel::TPanel(TComponent* owner, TWinControl* parent) : TWinControl(owner, parent) {
  SetBounds(0, 0, 185, 41);
}

LayoutRect TPanel::ClientRectForChildren() const {
  int inset = (BevelOuter != TBevelCut::bvNone ? BevelWidth : 0) + (BevelInner != TBevelCut::bvNone ? BevelWidth : 0);
  return {inset, inset, std::max(0, Width() - 2 * inset), std::max(0, Height() - 2 * inset)};
}

void TPanel::Paint(HDC dc, int width, int height) {
  RECT r{0, 0, width, height};
  FillColor(dc, r, Color());
  for (TBevelCut cut : {BevelOuter, BevelInner}) {
    if (cut == TBevelCut::bvNone) continue;
    for (int i = 0; i < BevelWidth; ++i) {
      if (cut == TBevelCut::bvRaised)
        Frame3D(dc, r, clBtnHighlight, clBtnShadow);
      else
        Frame3D(dc, r, clBtnShadow, clBtnHighlight);
      InflateRect(&r, -1, -1);
    }
  }
  DrawCaption(dc, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE, Font().Color());
}

TImage::TImage(TComponent* owner, TWinControl* parent) : TWinControl(owner, parent) {
  Icon = static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), "MAINICON", IMAGE_ICON, 48, 48, LR_SHARED));
  SetBounds(0, 0, 105, 105);
}

void TImage::Paint(HDC dc, int width, int height) {
  FillColor(dc, {0, 0, width, height}, Parent() ? Parent()->Color() : Color());
  if (Icon) DrawIconEx(dc, 0, 0, Icon, IconSize, IconSize, 0, nullptr, DI_NORMAL);
}

TProgressBar::TProgressBar(TComponent* owner, TWinControl* parent) : TWinControl(owner, parent) {
  SetBounds(0, 0, 150, 16);
}

void TProgressBar::FillCreateParams(CreateParams& params) {
  TWinControl::FillCreateParams(params);
  static bool initialised = false;
  if (!initialised) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
    initialised = true;
  }
  params.className = PROGRESS_CLASSA;
}

void TProgressBar::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageA(handle_, PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
  SendMessageA(handle_, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

LRESULT TProgressBar::WndProc(UINT msg, WPARAM wparam, LPARAM lparam) {
  return DefaultHandler(msg, wparam, lparam);
}

int TProgressBar::Position() const {
  if (handle_) return static_cast<int>(SendMessageA(handle_, PBM_GETPOS, 0, 0));
  return position_;
}

void TProgressBar::SetRange(int min, int max) {
  min_ = min;
  max_ = max;
  if (handle_) SendMessageA(handle_, PBM_SETRANGE32, static_cast<WPARAM>(min_), static_cast<LPARAM>(max_));
}

void TProgressBar::SetPosition(int position) {
  position_ = position < min_ ? min_ : position > max_ ? max_ : position;
  if (handle_) SendMessageA(handle_, PBM_SETPOS, static_cast<WPARAM>(position_), 0);
}

}  // namespace tavlox::ui
