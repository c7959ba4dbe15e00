// The least form framework the shell's windows need: components owned by their owner, windowed
// controls laid out by alignment, fonts and colours.
//
// Every control is a window. Windows are created lazily (`HandleNeeded`), children after their
// parent and in creation order, so a control created later lies on top of its earlier siblings.
// Messages reach `WndProc`; an exception escaping it is shown with the application's standard
// error box and the message loop goes on.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "ui/AlignLayout.h"
#include "ui/Win32Util.h"

namespace tavlox::ui {

class TObject {
 public:
  virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

// Colours: 0x00BBGGRR, or a system colour as 0xFF0000nn (nn the system colour index).
using TColor = std::uint32_t;
constexpr TColor SystemColor(int index) { return 0xFF000000u | static_cast<TColor>(index); }
constexpr TColor clBlack = 0x000000, clWhite = 0xFFFFFF, clBlue = 0xFF0000;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE), clBtnShadow = SystemColor(COLOR_BTNSHADOW),
                 clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT), clBtnText = SystemColor(COLOR_BTNTEXT),
                 clWindowText = SystemColor(COLOR_WINDOWTEXT), clActiveCaption = SystemColor(COLOR_ACTIVECAPTION),
                 clMenuHighlight = SystemColor(29 /* COLOR_MENUHILIGHT */),
                 cl3DDkShadow = SystemColor(COLOR_3DDKSHADOW), cl3DLight = SystemColor(COLOR_3DLIGHT);
COLORREF ColorToRGB(TColor color);
// The colour as an OLE_COLOR (system colours as 0x800000nn).
std::uint32_t ColorToOleColor(TColor color);

enum TCursor { crDefault = 0, crArrow = -2, crHandPoint = -21, crHSplit = -14, crVSplit = -15 };
HCURSOR CursorHandle(TCursor cursor);

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TFont {
 public:
  TFont() = default;
  TFont(std::string name, int height, TColor color = clWindowText, unsigned style = 0)
      : name_(std::move(name)), height_(height), color_(color), style_(style) {}
  TFont(const TFont& o) : name_(o.name_), height_(o.height_), color_(o.color_), style_(o.style_) {}
  TFont& operator=(const TFont& o);

  const std::string& Name() const { return name_; }
  int Height() const { return height_; }
  TColor Color() const { return color_; }
  unsigned Style() const { return style_; }
  void SetName(std::string n) { name_ = std::move(n); handle_.Reset(); }
  void SetHeight(int h) { height_ = h; handle_.Reset(); }
  void SetColor(TColor c) { color_ = c; }
  void SetStyle(unsigned s) { style_ = s; handle_.Reset(); }
  // Point size at 96 pixels per inch (height -11 is 8 point).
  int Size() const { return -height_ * 72 / 96; }
  HFONT Handle() const;

 private:
  std::string name_ = "MS Sans Serif";
  int height_ = -11;
  TColor color_ = clWindowText;
  unsigned style_ = 0;
  mutable GdiObject<HFONT> handle_;
};

class TComponent : public TObject {
 public:
  explicit TComponent(TComponent* owner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  std::string Name;
  const std::vector<TComponent*>& Components() const { return components_; }

 protected:
  // Frees the owned components, the last created first.
  void DestroyComponents();

 private:
  TComponent* owner_;
  std::vector<TComponent*> components_;
};

class TWinControl : public TComponent {
 public:
  TWinControl(TComponent* owner, TWinControl* parent);
  ~TWinControl() override;

  TWinControl* Parent() const { return parent_; }
  void SetParent(TWinControl* parent);
  const std::vector<TWinControl*>& Controls() const { return children_; }

  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);
  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.width; }
  int Height() const { return bounds_.height; }
  LayoutRect BoundsRect() const { return bounds_; }
  void SetBounds(int left, int top, int width, int height);
  void SetWidth(int w) { SetBounds(bounds_.left, bounds_.top, w, bounds_.height); }
  void SetHeight(int h) { SetBounds(bounds_.left, bounds_.top, bounds_.width, h); }

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  TColor Color() const { return color_; }
  void SetColor(TColor c);
  TFont& Font() { return font_; }
  bool ParentFont = false;
  TCursor Cursor = crDefault;
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& text);
  std::string Hint;
  bool ShowHint = false;
  TNotifyEvent OnClick;

  HWND Handle();  // creates the window when needed
  HWND WindowHandle() const { return handle_; }
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded();
  void Invalidate();

  // The rectangle inside which aligned children are laid out, in this control's coordinates.
  virtual LayoutRect ClientRectForChildren() const;
  void Realign();

  static TWinControl* FromHandle(HWND hwnd);

  // Offered every keyboard message for this control's window or a window inside it before the
  // message is translated and dispatched; true when the control consumed it.
  virtual bool PreTranslateMessage(const MSG& msg) { return false; }

 protected:
  struct CreateParams {
    std::string className;  // empty: the framework's own class
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    DWORD exStyle = 0;
    HWND parent = nullptr;
    int x = 0, y = 0, width = 0, height = 0;
  };
  virtual void FillCreateParams(CreateParams& params);
  // Creates the window (default: from FillCreateParams); children are created afterwards.
  virtual void CreateWnd();
  virtual void DestroyWnd();
  virtual LRESULT WndProc(UINT msg, WPARAM wparam, LPARAM lparam);
  // Passes a message on to the window's own procedure (DefWindowProc or the adopted one).
  LRESULT DefaultHandler(UINT msg, WPARAM wparam, LPARAM lparam);
  // Draws the control into an off-screen picture of its size; the default fills `Color`.
  virtual void Paint(HDC dc, int width, int height);
  virtual void Click();
  // Called before new bounds are taken; may change them (e.g. a control that refuses a size).
  virtual void ConstrainBounds(int& left, int& top, int& width, int& height) {}
  virtual void BoundsChanged() {}
  // Takes a window created elsewhere as this control's window; its own procedure is kept for
  // `DefaultHandler`.
  void AdoptWindow(HWND hwnd);
  // Puts the adopted window's own procedure back and forgets the window.
  void ReleaseWindow();
  // Draws `Caption` with `Font` in `rect`.
  void DrawCaption(HDC dc, RECT rect, UINT format, TColor color) const;

  // Takes the window's current position and size as the control's bounds (after the user or
  // the platform moved it) without moving it again.
  void UpdateBoundsFromWindow();
  void SetVisibleFlag(bool visible) { visible_ = visible; }

  friend LRESULT CALLBACK StdWndProc(HWND, UINT, WPARAM, LPARAM);
  HWND handle_ = nullptr;
  WNDPROC saved_proc_ = nullptr;
  bool owns_class_proc_ = true;

 private:
  void ApplyBoundsToWindow();
  TWinControl* parent_ = nullptr;
  std::vector<TWinControl*> children_;
  TAlign align_ = TAlign::alNone;
  LayoutRect bounds_;
  bool visible_ = true;
  TColor color_ = clBtnFace;
  TFont font_;
  std::string caption_;
  bool aligning_ = false;
  bool pressed_ = false;
};

// The one window procedure of the framework's windows.
LRESULT CALLBACK StdWndProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);

// Registers (once) a window class with the framework's procedure and returns its name.
const char* RegisterFrameworkClass(const char* name, UINT style = CS_DBLCLKS);

// Draws a 1-pixel 3-D frame just inside `rect`.
void Frame3D(HDC dc, const RECT& rect, TColor top_left, TColor bottom_right);
void FillColor(HDC dc, const RECT& rect, TColor color);

}  // namespace tavlox::ui
