// Plain controls: label, panel, progress bar.
#pragma once

#include "ui/Controls.h"

namespace tavlox::ui {

enum class TBevelCut { bvNone, bvLowered, bvRaised };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

class TLabel : public TWinControl {
 public:
  TLabel(TComponent* owner, TWinControl* parent);
  bool Transparent = false;
  bool AutoSize = false;
  TAlignment Alignment = TAlignment::taLeftJustify;

 protected:
  void Paint(HDC dc, int width, int height) override;
};

// The form library's plain panel: raised 1-pixel bevel, caption centred.
class TPanel : public TWinControl {
 public:
  TPanel(TComponent* owner, TWinControl* parent);
  TBevelCut BevelOuter = TBevelCut::bvRaised;
  TBevelCut BevelInner = TBevelCut::bvNone;
  int BevelWidth = 1;
  LayoutRect ClientRectForChildren() const override;

 protected:
  void Paint(HDC dc, int width, int height) override;
};

// Shows an icon (the program's main icon unless another is set).
class TImage : public TWinControl {
 public:
  TImage(TComponent* owner, TWinControl* parent);
  HICON Icon = nullptr;  // not owned
  int IconSize = 48;

 protected:
  void Paint(HDC dc, int width, int height) override;
};

class TProgressBar : public TWinControl {
 public:
  TProgressBar(TComponent* owner, TWinControl* parent);
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const;
  void SetRange(int min, int max);
  void SetPosition(int position);

 protected:
  void FillCreateParams(CreateParams& params) override;
  void CreateWnd() override;
  LRESULT WndProc(UINT msg, WPARAM wparam, LPARAM lparam) override;

 private:
  int min_ = 0, max_ = 100, position_ = 0;
};

}  // namespace tavlox::ui
