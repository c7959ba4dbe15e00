#include "skin/controls/SkinControls.h"

#include <algorithm>

namespace tavlox::skin {

using ui::FillColor;
using ui::Frame3D;

// Colours of the button's default look.
constexpr TColor kButtonFrame = 8388608;     // dark blue
constexpr TColor kButtonPressed = 11899781;
constexpr TColor kButtonHovered = 13811126;

void DrawBorder(HDC dc, const RECT& r, TskSkinBorderStyle style) {
  switch (style) {
    case TskSkinBorderStyle::bvFrame: Frame3D(dc, r, ui::clBtnShadow, ui::clBtnShadow); break;
    case TskSkinBorderStyle::bvRaised: Frame3D(dc, r, ui::clBtnHighlight, ui::clBtnShadow); break;
    case TskSkinBorderStyle::bvLowered: Frame3D(dc, r, ui::clBtnShadow, ui::clBtnHighlight); break;
    case TskSkinBorderStyle::bvNone: break;
  }
}

TskSkinControl::TskSkinControl(ui::TComponent* owner, ui::TWinControl* parent, std::string skin_data_name)
    : ui::TWinControl(owner, parent), SkinDataName(std::move(skin_data_name)) {}

void TskSkinControl::Paint(HDC dc, int width, int height) {
  // No skin data is attached yet, so there is never a record: the default look.
  skin_index_ = -1;
  if (DrawDefault) PaintDefault(dc, width, height);
}

void TskSkinControl::PaintDefault(HDC dc, int width, int height) {
  FillColor(dc, {0, 0, width, height}, ui::clBtnFace);
}

TskSkinCustomControl::TskSkinCustomControl(ui::TComponent* owner, ui::TWinControl* parent,
                                           std::string skin_data_name)
    : TskSkinControl(owner, parent, std::move(skin_data_name)) {}

TskSkinPanel::TskSkinPanel(ui::TComponent* owner, ui::TWinControl* parent, std::string skin_data_name)
    : TskSkinCustomControl(owner, parent, std::move(skin_data_name)) {
  SetBounds(0, 0, 150, 150);
}

ui::LayoutRect TskSkinPanel::ClientRectForChildren() const {
  int inset = BorderStyle == TskSkinBorderStyle::bvNone ? 0 : 1;
  int top = inset + (CaptionMode ? DefaultCaptionHeight : 0);
  return {inset, top, std::max(0, Width() - 2 * inset), std::max(0, Height() - top - inset)};
}

void TskSkinPanel::PaintDefault(HDC dc, int width, int height) {
  RECT r{0, 0, width, height};
  FillColor(dc, r, ui::clBtnFace);
  DrawBorder(dc, r, BorderStyle);
  if (CaptionMode) {
    int inset = BorderStyle == TskSkinBorderStyle::bvNone ? 0 : 1;
    RECT band{inset, inset, width - inset, inset + DefaultCaptionHeight};
    Frame3D(dc, band, ui::clBtnHighlight, ui::clBtnShadow);
    if (!Caption().empty()) {
      ui::SelectScope font(dc, DefaultFont.Handle());
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, ui::ColorToRGB(DefaultFont.Color()));
      DrawTextA(dc, Caption().c_str(), static_cast<int>(Caption().size()), &band,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
  }
}

TskSkinStatusBar::TskSkinStatusBar(ui::TComponent* owner, ui::TWinControl* parent)
    : TskSkinPanel(owner, parent, "statusbar") {
  BorderStyle = TskSkinBorderStyle::bvNone;
  SetAlign(ui::TAlign::alBottom);
  SetHeight(21);
}

TskSkinGroupBox::TskSkinGroupBox(ui::TComponent* owner, ui::TWinControl* parent)
    : TskSkinPanel(owner, parent, "groupbox") {
  CaptionMode = true;
}

TskSkinLabel::TskSkinLabel(ui::TComponent* owner, ui::TWinControl* parent, std::string skin_data_name)
    : TskSkinCustomControl(owner, parent, std::move(skin_data_name)) {
  SetBounds(0, 0, 75, 21);
}

void TskSkinLabel::PaintDefault(HDC dc, int width, int height) {
  RECT r{0, 0, width, height};
  FillColor(dc, r, ui::clBtnFace);
  DrawBorder(dc, r, BorderStyle);
  if (Caption().empty()) return;
  RECT text{TextInset(), 0, width - TextInset(), height};
  UINT format = DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX |
                (Alignment == ui::TAlignment::taCenter        ? DT_CENTER
                 : Alignment == ui::TAlignment::taRightJustify ? DT_RIGHT
                                                               : DT_LEFT) |
                (EllipsType == TskEllipsType::spetEllips ? DT_END_ELLIPSIS : 0);
  ui::SelectScope font(dc, DefaultFont.Handle());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ui::ColorToRGB(DefaultFont.Color()));
  DrawTextA(dc, Caption().c_str(), static_cast<int>(Caption().size()), &text, format);
}

TskSkinStatusPanel::TskSkinStatusPanel(ui::TComponent* owner, ui::TWinControl* parent)
    : TskSkinLabel(owner, parent, "statuspanel") {
  SetWidth(120);
}

TskSkinButton::TskSkinButton(ui::TComponent* owner, ui::TWinControl* parent)
    : TskSkinCustomControl(owner, parent, "button") {
  SetBounds(0, 0, 75, 25);
}

void TskSkinButton::FillCreateParams(CreateParams& params) {
  TskSkinCustomControl::FillCreateParams(params);
  params.style |= WS_TABSTOP;
}

LRESULT TskSkinButton::WndProc(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_MOUSEMOVE:
      if (!hovered_) {
        hovered_ = true;
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, handle_, 0};
        TrackMouseEvent(&tme);
        Invalidate();
      }
      break;
    case WM_MOUSELEAVE:
      hovered_ = false;
      Invalidate();
      break;
    case WM_LBUTTONDOWN:
      pressed_ = true;
      if (CanFocused) SetFocus(handle_);
      Invalidate();
      break;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      pressed_ = false;
      Invalidate();
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      focused_ = msg == WM_SETFOCUS;
      Invalidate();
      break;
    case WM_GETDLGCODE:
      return DLGC_BUTTON;
    case WM_KEYUP:
      if (wparam == VK_SPACE || wparam == VK_RETURN) Click();
      break;
  }
  return TskSkinCustomControl::WndProc(msg, wparam, lparam);
}

void TskSkinButton::PaintDefault(HDC dc, int width, int height) {
  RECT r{0, 0, width, height};
  FillColor(dc, r, ui::clBtnFace);
  bool down = pressed_ && hovered_;
  int shift = 0;
  if (down || Down) {
    FillColor(dc, r, kButtonPressed);
    Frame3D(dc, r, kButtonFrame, kButtonFrame);
    shift = 1;
  } else if (hovered_ || focused_) {
    FillColor(dc, r, kButtonHovered);
    Frame3D(dc, r, kButtonFrame, kButtonFrame);
  } else {
    Frame3D(dc, r, ui::clBtnShadow, ui::clBtnShadow);
  }
  if (Caption().empty()) return;
  RECT text{shift, shift, width + shift, height + shift};
  ui::SelectScope font(dc, DefaultFont.Handle());
  SetBkMode(dc, TRANSPARENT);
  bool enabled = !handle_ || IsWindowEnabled(handle_);
  SetTextColor(dc, ui::ColorToRGB(enabled ? ui::clBtnText : ui::clBtnShadow));
  DrawTextA(dc, Caption().c_str(), static_cast<int>(Caption().size()), &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace tavlox::skin
