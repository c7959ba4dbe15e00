#include "browser/SizePanel.h"

#include <algorithm>

#include "ui/Exceptions.h"

namespace tavlox::browser {

TSizePanel::TSizePanel(ui::TComponent* owner, ui::TWinControl* parent) : ui::TWinControl(owner, parent) {
  SetAlign(ui::TAlign::alLeft);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  bar_cursor_horz_ = LoadCursorA(instance, "SPLIT_HORZ");
  bar_cursor_vert_ = LoadCursorA(instance, "SPLIT_VERT");
  if (!bar_cursor_horz_) bar_cursor_horz_ = LoadCursor(nullptr, IDC_SIZEWE);
  if (!bar_cursor_vert_) bar_cursor_vert_ = LoadCursor(nullptr, IDC_SIZENS);
  // 8 x 8 checkerboard for the drag outline: black where x + y is odd.
  WORD bits[8];
  for (int y = 0; y < 8; ++y) bits[y] = (y % 2) ? 0xAA : 0x55;
  pattern_bitmap_.Reset(CreateBitmap(8, 8, 1, 1, bits));
  pattern_brush_.Reset(CreatePatternBrush(pattern_bitmap_.Get()));
}

TSizePanel::~TSizePanel() {
  if (dragging_ && GetCapture() == handle_) ReleaseCapture();
}

void TSizePanel::SetSizeBarWidth(int width) {
  size_bar_width_ = std::max(0, width);
  Realign();
  Invalidate();
}

bool TSizePanel::Horizontal() const { return Align() == ui::TAlign::alTop || Align() == ui::TAlign::alBottom; }

int TSizePanel::Extent() const { return Horizontal() ? Height() : Width(); }

RECT TSizePanel::SizeBarRect() const {
  int w = Width(), h = Height(), b = size_bar_width_;
  switch (Align()) {
    case ui::TAlign::alRight: return {0, 0, b, h};
    case ui::TAlign::alTop: return {0, h - b, w, h};
    case ui::TAlign::alBottom: return {0, 0, w, b};
    case ui::TAlign::alClient: return {0, 0, 0, 0};
    default: return {w - b, 0, w, h};
  }
}

ui::LayoutRect TSizePanel::ClientRectForChildren() const {
  // One pixel between the client area and the bar belongs to neither.
  int w = Width(), h = Height(), cut = size_bar_width_ + 1;
  switch (Align()) {
    case ui::TAlign::alRight: return {cut, 0, std::max(0, w - cut), h};
    case ui::TAlign::alTop: return {0, 0, w, std::max(0, h - cut)};
    case ui::TAlign::alBottom: return {0, cut, w, std::max(0, h - cut)};
    case ui::TAlign::alClient: return {0, 0, w, h};
    default: return {0, 0, std::max(0, w - cut), h};
  }
}

void TSizePanel::Paint(HDC dc, int width, int height) {
  ui::FillColor(dc, {0, 0, width, height}, Color());
  RECT bar = SizeBarRect();
  ui::FillColor(dc, bar, Color());
}

int TSizePanel::ClampPosition(int position) const {
  int low = MarginMin + size_bar_width_ + 1;
  // Room left in the parent by its other docked children, plus this panel's own extent.
  int high = position;
  if (Parent()) {
    ui::LayoutRect client = Parent()->ClientRectForChildren();
    int room = Horizontal() ? client.height : client.width;
    for (ui::TWinControl* sibling : Parent()->Controls()) {
      if (sibling == this || !sibling->Visible()) continue;
      bool same_axis = Horizontal() ? (sibling->Align() == ui::TAlign::alTop || sibling->Align() == ui::TAlign::alBottom)
                                    : (sibling->Align() == ui::TAlign::alLeft || sibling->Align() == ui::TAlign::alRight);
      if (same_axis) room -= Horizontal() ? sibling->Height() : sibling->Width();
    }
    high = room - MarginMax;
  } else {
    throw ui::Exception("No parent specified");
  }
  return std::max(low, std::min(position, high));
}

void TSizePanel::DrawOutline(int position) {
  HWND parent = Parent() ? Parent()->WindowHandle() : nullptr;
  if (!handle_) return;
  RECT r;
  int b = size_bar_width_;
  switch (Align()) {
    case ui::TAlign::alRight: r = {Width() - position, 0, Width() - position + b, Height()}; break;
    case ui::TAlign::alTop: r = {0, position - b, Width(), position}; break;
    case ui::TAlign::alBottom: r = {0, Height() - position, Width(), Height() - position + b}; break;
    default: r = {position - b, 0, position, Height()}; break;
  }
  MapWindowPoints(handle_, nullptr, reinterpret_cast<POINT*>(&r), 2);
  (void)parent;
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, pattern_brush_.Get());
  PatBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, PATINVERT);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
}

void TSizePanel::EndDrag(bool apply) {
  if (!dragging_) return;
  dragging_ = false;
  DrawOutline(last_position_);
  if (GetCapture() == handle_) ReleaseCapture();
  if (!apply) return;
  int delta = last_position_ - start_extent_;
  switch (Align()) {
    case ui::TAlign::alRight: SetBounds(Left() - delta, Top(), last_position_, Height()); break;
    case ui::TAlign::alTop: SetBounds(Left(), Top(), Width(), last_position_); break;
    case ui::TAlign::alBottom: SetBounds(Left(), Top() - delta, Width(), last_position_); break;
    default: SetBounds(Left(), Top(), last_position_, Height()); break;
  }
  if (Parent()) Parent()->Realign();
  Invalidate();
}

LRESULT TSizePanel::WndProc(UINT msg, WPARAM wparam, LPARAM lparam) {
  POINT pt{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
  switch (msg) {
    case WM_SETCURSOR: {
      POINT p;
      GetCursorPos(&p);
      ScreenToClient(handle_, &p);
      RECT bar = SizeBarRect();
      if (LOWORD(lparam) == HTCLIENT && !LockBar && PtInRect(&bar, p)) {
        SetCursor(Horizontal() ? bar_cursor_vert_ : bar_cursor_horz_);
        return TRUE;
      }
      break;
    }
    case WM_LBUTTONDOWN: {
      RECT bar = SizeBarRect();
      if (LockBar || !PtInRect(&bar, pt)) return 0;
      SetFocus(handle_);
      SetCapture(handle_);
      dragging_ = true;
      start_extent_ = Extent();
      start_mouse_ = Horizontal() ? pt.y : pt.x;
      last_position_ = start_extent_;
      DrawOutline(last_position_);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (dragging_) {
        int mouse = Horizontal() ? pt.y : pt.x;
        int sign = (Align() == ui::TAlign::alRight || Align() == ui::TAlign::alBottom) ? -1 : 1;
        int position = ClampPosition(start_extent_ + sign * (mouse - start_mouse_));
        if (position != last_position_) {
          DrawOutline(last_position_);
          last_position_ = position;
          DrawOutline(last_position_);
        }
      }
      return 0;
    case WM_LBUTTONUP:
      EndDrag(true);
      return 0;
    case WM_KEYDOWN:
      if (wparam == VK_ESCAPE && dragging_) {
        EndDrag(false);
        return 0;
      }
      break;
    case WM_CAPTURECHANGED:
      if (dragging_ && reinterpret_cast<HWND>(lparam) != handle_) EndDrag(false);
      break;
  }
  return ui::TWinControl::WndProc(msg, wparam, lparam);
}

}  // namespace tavlox::browser
