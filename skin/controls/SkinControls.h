// Skinned controls of the skin library: panels, status bar, status panels, group box and push
// button. Each draws itself from a named control record of its skin data; without a usable
// record it draws the plain default look implemented here.
#pragma once

#include <string>

#include "ui/Controls.h"
#include "ui/StdCtrls.h"

namespace tavlox::skin {

using ui::TColor;
using ui::TFont;

enum class TskSkinBorderStyle { bvFrame, bvRaised, bvLowered, bvNone };
enum class TskEllipsType { spetNoneEllips, spetEllips };

class TskSkinControl : public ui::TWinControl {
 public:
  TskSkinControl(ui::TComponent* owner, ui::TWinControl* parent, std::string skin_data_name);
  bool DrawDefault = true;
  std::string SkinDataName;
  std::string HintTitle;
  bool AlphaBlend = false;
  int AlphaBlendValue = 200;
  bool UseSkinCursor = false;
  // Index of the control's record in the skin data's control list; -1 = none.
  int SkinIndex() const { return skin_index_; }

 protected:
  void Paint(HDC dc, int width, int height) override;
  // The look without a record.
  virtual void PaintDefault(HDC dc, int width, int height);
  int skin_index_ = -1;
};

class TskSkinCustomControl : public TskSkinControl {
 public:
  TskSkinCustomControl(ui::TComponent* owner, ui::TWinControl* parent, std::string skin_data_name);
  TFont DefaultFont{"Arial", 14, ui::clWindowText};
  bool UseSkinFont = true;
  int DefaultWidth = 0;
  int DefaultHeight = 0;
};

class TskSkinPanel : public TskSkinCustomControl {
 public:
  TskSkinPanel(ui::TComponent* owner, ui::TWinControl* parent, std::string skin_data_name = "panel");
  TskSkinBorderStyle BorderStyle = TskSkinBorderStyle::bvFrame;
  bool CaptionMode = false;
  int DefaultCaptionHeight = 22;
  ui::LayoutRect ClientRectForChildren() const override;

 protected:
  void PaintDefault(HDC dc, int width, int height) override;
};

class TskSkinStatusBar : public TskSkinPanel {
 public:
  TskSkinStatusBar(ui::TComponent* owner, ui::TWinControl* parent);
  bool SizeGrip = false;
};

class TskSkinGroupBox : public TskSkinPanel {
 public:
  TskSkinGroupBox(ui::TComponent* owner, ui::TWinControl* parent);
};

class TskSkinLabel : public TskSkinCustomControl {
 public:
  TskSkinLabel(ui::TComponent* owner, ui::TWinControl* parent, std::string skin_data_name = "label");
  TskEllipsType EllipsType = TskEllipsType::spetNoneEllips;
  bool UseSkinSize = true;
  bool UseSkinFontColor = true;
  TskSkinBorderStyle BorderStyle = TskSkinBorderStyle::bvNone;
  ui::TAlignment Alignment = ui::TAlignment::taLeftJustify;
  bool AutoSize = false;

 protected:
  void PaintDefault(HDC dc, int width, int height) override;
  // Distance of the text from the left edge in the default look.
  virtual int TextInset() const { return 2; }
};

class TskSkinStatusPanel : public TskSkinLabel {
 public:
  TskSkinStatusPanel(ui::TComponent* owner, ui::TWinControl* parent);
  int ImageIndex = -1;
  int NumGlyphs = 1;

 protected:
  int TextInset() const override { return 3; }
};

class TskSkinButton : public TskSkinCustomControl {
 public:
  TskSkinButton(ui::TComponent* owner, ui::TWinControl* parent);
  bool Default = false;
  bool Cancel = false;
  int ModalResult = 0;
  bool Down = false;
  bool UseSkinSize = true;
  bool UseSkinFontColor = true;
  bool CanFocused = true;
  // Current interaction state of the default look.
  bool Hovered() const { return hovered_; }
  bool Pressed() const { return pressed_; }

 protected:
  void FillCreateParams(CreateParams& params) override;
  LRESULT WndProc(UINT msg, WPARAM wparam, LPARAM lparam) override;
  void PaintDefault(HDC dc, int width, int height) override;

 private:
  bool hovered_ = false;
  bool pressed_ = false;
  bool focused_ = false;
};

// Draws the 1-pixel frame of a border style just inside `rect`.
void DrawBorder(HDC dc, const RECT& rect, TskSkinBorderStyle style);

}  // namespace tavlox::skin
