// A panel docked to one side of its parent whose inner edge is a thin size bar; dragging the bar
// changes the panel's width (or height).
#pragma once

#include "ui/Controls.h"
#include "ui/Win32Util.h"

namespace tavlox::browser {

enum class TSplitterStyle { ssStandard, ssGroove, ssBump, ssGroupBar };

class TSizePanel : public ui::TWinControl {
 public:
  TSizePanel(ui::TComponent* owner, ui::TWinControl* parent);
  ~TSizePanel() override;

  int SizeBarWidth() const { return size_bar_width_; }
  void SetSizeBarWidth(int width);
  TSplitterStyle SizeBarStyle = TSplitterStyle::ssStandard;
  ui::TColor BorderColor = ui::clBtnFace;
  ui::TColor BorderShadow = ui::clBtnShadow;
  bool HotSpotVisible = false;
  int HotSpotSizePercent = 40;
  int MarginMin = 0, MarginMax = 0;
  bool LockBar = false;

  // The size bar in panel coordinates.
  RECT SizeBarRect() const;
  bool Dragging() const { return dragging_; }
  ui::LayoutRect ClientRectForChildren() const override;

 protected:
  void Paint(HDC dc, int width, int height) override;
  LRESULT WndProc(UINT msg, WPARAM wparam, LPARAM lparam) override;

 private:
  bool Horizontal() const;  // bar runs along the width (top or bottom placement)
  int Extent() const;       // the panel's size across the bar
  int ClampPosition(int position) const;
  void DrawOutline(int position);
  void EndDrag(bool apply);

  int size_bar_width_ = 4;
  bool dragging_ = false;
  int start_extent_ = 0;
  int start_mouse_ = 0;
  int last_position_ = 0;
  ui::GdiObject<HBITMAP> pattern_bitmap_;
  ui::GdiObject<HBRUSH> pattern_brush_;
  HCURSOR bar_cursor_horz_ = nullptr;
  HCURSOR bar_cursor_vert_ = nullptr;
};

}  // namespace tavlox::browser
