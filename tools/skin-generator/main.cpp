// Draws the pictures of our skin "Portal_Blue" and writes them as BMP files into a folder.
// Everything is integer arithmetic on fixed inputs, so the files are the same byte for byte on
// every run and every machine. The geometry here must agree with resources/skin/skin.ini.
#include <cstdio>
#include <string>
#include <vector>

#include "skin/SkinPicture.h"

using tavlox::skin::EncodeBmp;
using tavlox::skin::SkinPicture;
using tavlox::skin::WriteFileBytes;

namespace {

struct Rgb {
  int r, g, b;
  uint32_t value() const { return static_cast<uint32_t>((r << 16) | (g << 8) | b); }
};

Rgb Mix(Rgb a, Rgb b, int num, int den) {
  if (den <= 0) return a;
  return {a.r + (b.r - a.r) * num / den, a.g + (b.g - a.g) * num / den, a.b + (b.b - a.b) * num / den};
}

// The skin's colours (the same values appear in [SKINCOLORS] and the caption record).
constexpr Rgb kFace{227, 237, 253};
constexpr Rgb kShadow{170, 192, 219};
constexpr Rgb kHighlight{80, 143, 208};
constexpr Rgb kText{62, 105, 170};
constexpr Rgb kDark{38, 76, 132};
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kCaptionTop{240, 246, 254};
constexpr Rgb kCaptionBottom{190, 213, 243};
constexpr Rgb kBorder{172, 198, 234};
constexpr Rgb kClient{244, 247, 252};

class Canvas {
 public:
  Canvas(int w, int h, Rgb fill = kWhite) : pic_(w, h, 24) { rect(0, 0, w, h, fill); }
  int width() const { return pic_.width(); }
  int height() const { return pic_.height(); }
  void set(int x, int y, Rgb c) {
    if (x >= 0 && y >= 0 && x < width() && y < height()) pic_.setPixel(x, y, c.value());
  }
  Rgb get(int x, int y) const {
    const uint32_t v = pic_.pixel(x, y);
    return {static_cast<int>((v >> 16) & 255), static_cast<int>((v >> 8) & 255), static_cast<int>(v & 255)};
  }
  void rect(int l, int t, int r, int b, Rgb c) {
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x) set(x, y, c);
  }
  void frame(int l, int t, int r, int b, Rgb c) {
    rect(l, t, r, t + 1, c);
    rect(l, b - 1, r, b, c);
    rect(l, t, l + 1, b, c);
    rect(r - 1, t, r, b, c);
  }
  // Vertical gradient from `top` (first row) to `bottom` (last row).
  void vgradient(int l, int t, int r, int b, Rgb top, Rgb bottom) {
    for (int y = t; y < b; ++y) rect(l, y, r, y + 1, Mix(top, bottom, y - t, b - t - 1));
  }
  void hgradient(int l, int t, int r, int b, Rgb left, Rgb right) {
    for (int x = l; x < r; ++x) rect(x, t, x + 1, b, Mix(left, right, x - l, r - l - 1));
  }
  // A rectangle with corners cut round to `radius`: gradient fill and a one-pixel outline.
  void roundBox(int l, int t, int r, int b, int radius, Rgb outline, Rgb top, Rgb bottom) {
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x) {
        if (!inside(x - l, y - t, r - l, b - t, radius)) continue;
        const bool edge = !inside(x - l - 1, y - t, r - l, b - t, radius) || !inside(x - l + 1, y - t, r - l, b - t, radius) ||
                          !inside(x - l, y - t - 1, r - l, b - t, radius) || !inside(x - l, y - t + 1, r - l, b - t, radius);
        set(x, y, edge ? outline : Mix(top, bottom, y - t, b - t - 1));
      }
  }
  // Is (x, y) inside a w x h box whose corners are rounded with `radius`?
  static bool inside(int x, int y, int w, int h, int radius) {
    if (x < 0 || y < 0 || x >= w || y >= h) return false;
    const int cx = x < radius ? radius : (x >= w - radius ? w - radius - 1 : x);
    const int cy = y < radius ? radius : (y >= h - radius ? h - radius - 1 : y);
    if (cx == x || cy == y) return true;
    const int dx = 2 * (x - cx) + (x < cx ? 1 : -1);
    const int dy = 2 * (y - cy) + (y < cy ? 1 : -1);
    return dx * dx + dy * dy <= 4 * radius * radius;
  }
  void line(int x0, int y0, int x1, int y1, Rgb c) {  // both ends included
    const int dx = x1 > x0 ? x1 - x0 : x0 - x1, dy = y1 > y0 ? y1 - y0 : y0 - y1;
    const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx - dy;
    for (;;) {
      set(x0, y0, c);
      if (x0 == x1 && y0 == y1) break;
      const int e2 = 2 * err;
      if (e2 > -dy) { err -= dy; x0 += sx; }
      if (e2 < dx) { err += dx; y0 += sy; }
    }
  }
  void blit(const Canvas& src, int sl, int st, int sr, int sb, int dx, int dy) {
    for (int y = st; y < sb; ++y)
      for (int x = sl; x < sr; ++x) set(dx + x - sl, dy + y - st, src.get(x, y));
  }
  const SkinPicture& picture() const { return pic_; }

 private:
  SkinPicture pic_;
};

std::string g_dir;

void Save(const Canvas& c, const char* name, int bits = 24) {
  std::vector<uint32_t> palette;
  if (bits == 1) palette = {kBlack.value(), kWhite.value()};
  if (bits == 4 || bits == 8) {
    palette.assign(static_cast<size_t>(1) << bits, 0);
    for (size_t i = 0; i < palette.size(); ++i) {  // a grey ramp; black first, white last
      const uint32_t v = static_cast<uint32_t>(i * 255 / (palette.size() - 1));
      palette[i] = (v << 16) | (v << 8) | v;
    }
  }
  WriteFileBytes(g_dir + "/" + name, EncodeBmp(c.picture(), bits, palette));
}

// ---------------------------------------------------------------------------------------------
// Main picture and mask: 285 x 210, client 3,29,282,206, caption 3,5,282,24, top corners round.

constexpr int kMainW = 285, kMainH = 210, kCornerRadius = 6;

bool InsideWindow(int x, int y) {
  // Only the two top corners are rounded; the bottom stays square.
  return Canvas::inside(x, y, kMainW, kMainH + kCornerRadius + 1, kCornerRadius);
}

void MainPicture() {
  Canvas c(kMainW, kMainH, kWhite);
  c.vgradient(0, 0, kMainW, 28, kCaptionTop, kCaptionBottom);  // caption band
  c.rect(0, 28, kMainW, 29, kShadow);                          // line under the caption
  c.rect(0, 29, kMainW, kMainH, kBorder);                      // side and bottom borders
  c.rect(3, 29, 282, 206, kClient);                            // client area
  c.rect(2, 29, 3, 206, kShadow);
  c.rect(282, 29, 283, 206, kShadow);
  c.rect(2, 206, 283, 207, kShadow);
  c.rect(1, 1, kMainW - 1, 2, kWhite);  // light line inside the top edge
  // Dark outline along the window's edge, following the round corners.
  for (int y = 0; y < kMainH; ++y)
    for (int x = 0; x < kMainW; ++x) {
      if (!InsideWindow(x, y)) {
        c.set(x, y, kWhite);
        continue;
      }
      if (!InsideWindow(x - 1, y) || !InsideWindow(x + 1, y) || !InsideWindow(x, y - 1) || y == kMainH - 1 ||
          x == 0 || x == kMainW - 1)
        c.set(x, y, kDark);
    }
  Save(c, "main.bmp");

  Canvas m(kMainW, kMainH, kBlack);
  for (int y = 0; y < kMainH; ++y)
    for (int x = 0; x < kMainW; ++x)
      if (!InsideWindow(x, y)) m.set(x, y, kWhite);
  Save(m, "mask.bmp", 8);
}

// ---------------------------------------------------------------------------------------------
// Caption buttons: 21 x 21 cells in active.bmp (75 x 263), three to a row at x 0, 27, 54 and
// rows 22 pixels apart. Nine glyphs, four states each (normal, hot, pressed, inactive).

enum Glyph { gClose, gMax, gMin, gRollUp, gSysMenu, gTray, gRestoreMax, gRestoreMin, gRollDown };
enum State { sNormal, sHot, sPressed, sInactive };

void DrawGlyph(Canvas& c, int ox, int oy, Glyph g, Rgb ink) {
  switch (g) {
    case gClose:
      for (int i = 0; i < 8; ++i) {
        c.rect(ox + 6 + i, oy + 6 + i, ox + 8 + i, oy + 7 + i, ink);
        c.rect(ox + 13 - i, oy + 6 + i, ox + 15 - i, oy + 7 + i, ink);
      }
      break;
    case gMax:
      c.frame(ox + 6, oy + 6, ox + 15, oy + 15, ink);
      c.rect(ox + 6, oy + 7, ox + 15, oy + 8, ink);
      break;
    case gMin:
      c.rect(ox + 6, oy + 13, ox + 15, oy + 15, ink);
      break;
    case gRollUp:
      for (int i = 0; i < 5; ++i) c.rect(ox + 10 - i, oy + 8 + i, ox + 11 + i, oy + 9 + i, ink);
      break;
    case gRollDown:
      for (int i = 0; i < 5; ++i) c.rect(ox + 10 - i, oy + 12 - i, ox + 11 + i, oy + 13 - i, ink);
      break;
    case gSysMenu:
      for (int i = 0; i < 3; ++i) c.rect(ox + 6, oy + 7 + 3 * i, ox + 15, oy + 9 + 3 * i, ink);
      break;
    case gTray:
      c.rect(ox + 6, oy + 14, ox + 15, oy + 15, ink);
      c.rect(ox + 11, oy + 9, ox + 15, oy + 13, ink);
      break;
    case gRestoreMax:
    case gRestoreMin:
      c.frame(ox + 8, oy + 5, ox + 16, oy + 12, ink);
      c.rect(ox + 8, oy + 6, ox + 16, oy + 7, ink);
      c.rect(ox + 5, oy + 9, ox + 13, oy + 16, kWhite);
      c.frame(ox + 5, oy + 9, ox + 13, oy + 16, ink);
      c.rect(ox + 5, oy + 10, ox + 13, oy + 11, ink);
      break;
  }
}

void ButtonCell(Canvas& c, int cell, Glyph g, State s) {
  const int ox = (cell % 3) * 27, oy = (cell / 3) * 22;
  // The cell sits on the caption band at y 5 of the window: continue its gradient.
  for (int y = 0; y < 21; ++y) c.rect(ox, oy + y, ox + 21, oy + y + 1, Mix(kCaptionTop, kCaptionBottom, y + 5, 27));
  const bool close = g == gClose;
  Rgb ink = kText;
  switch (s) {
    case sNormal: break;
    case sHot:
      if (close) {
        c.roundBox(ox, oy, ox + 21, oy + 21, 3, Rgb{176, 40, 40}, Rgb{236, 96, 88}, Rgb{206, 54, 50});
        ink = kWhite;
      } else {
        c.roundBox(ox, oy, ox + 21, oy + 21, 3, Rgb{120, 160, 215}, kWhite, Rgb{206, 226, 250});
      }
      break;
    case sPressed:
      if (close) {
        c.roundBox(ox, oy, ox + 21, oy + 21, 3, Rgb{130, 24, 24}, Rgb{176, 40, 40}, Rgb{200, 60, 56});
        ink = kWhite;
      } else {
        c.roundBox(ox, oy, ox + 21, oy + 21, 3, kHighlight, Rgb{168, 198, 238}, Rgb{205, 224, 248});
        ink = kDark;
      }
      break;
    case sInactive: ink = Rgb{156, 172, 196}; break;
  }
  const int shift = s == sPressed ? 1 : 0;
  DrawGlyph(c, ox + shift, oy + shift, g, ink);
}

void ActivePicture() {
  Canvas c(75, 263, kWhite);
  const Glyph order[] = {gClose, gMax, gMin, gRollUp, gSysMenu, gTray, gRestoreMax, gRestoreMin, gRollDown};
  int cell = 0;
  for (Glyph g : order)
    for (State s : {sNormal, sHot, sPressed, sInactive}) ButtonCell(c, cell++, g, s);
  Save(c, "active.bmp");
}

// ---------------------------------------------------------------------------------------------
// Hint window (75 x 50) and popup window (93 x 55) with their masks.

void HintWindow() {
  Canvas c(75, 50, kWhite);
  c.roundBox(0, 0, 75, 50, 4, Rgb{120, 150, 195}, kWhite, Rgb{228, 238, 251});
  Save(c, "hintwindow.bmp");
  Canvas m(75, 50, kWhite);
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 75; ++x)
      if (Canvas::inside(x, y, 75, 50, 4)) m.set(x, y, kBlack);
  Save(m, "hintwindowmask.bmp", 1);
}

void PopupWindow() {
  Canvas c(93, 55, Rgb{252, 253, 255});
  c.rect(1, 1, 31, 54, Rgb{234, 241, 251});  // the image column behind the items
  c.frame(0, 0, 93, 55, Rgb{120, 150, 195});
  Save(c, "pw.bmp");
  Canvas m(93, 55, kBlack);
  for (int y = 0; y < 55; ++y)
    for (int x = 0; x < 93; ++x)
      if (!Canvas::inside(x, y, 93, 55, 2)) m.set(x, y, kWhite);
  Save(m, "pwmask.bmp", 4);
}

// ---------------------------------------------------------------------------------------------
// Menu items (104 x 127): normal 4,2,91,24; selected 2,25,91,47; divider 6,51,89,54; check,
// radio and arrow marks below.

void MenuItems() {
  const Rgb column{234, 241, 251}, back{252, 253, 255};
  Canvas c(104, 127, back);
  c.rect(4, 2, 34, 24, column);  // normal item: image column, then plain
  c.rect(2, 25, 32, 47, column);
  c.roundBox(2, 25, 91, 47, 3, Rgb{120, 160, 215}, Rgb{236, 244, 254}, Rgb{204, 224, 250});
  c.rect(6, 51, 36, 54, column);  // divider: column, then a line in the middle row
  c.rect(36, 52, 89, 53, Rgb{200, 212, 230});
  // Check marks (16 x 16) at 4,60 (normal) and 24,60 (selected); radio marks at 44,60 and 64,60;
  // submenu arrows (8 x 16) at 4,80 and 16,80.
  for (int k = 0; k < 2; ++k) {
    const Rgb ink = k ? kDark : kText;
    const int x = 4 + 20 * k, y = 60;
    for (int i = 0; i < 3; ++i) c.rect(x + 3 + i, y + 7 + i, x + 5 + i, y + 8 + i, ink);
    for (int i = 0; i < 6; ++i) c.rect(x + 6 + i, y + 9 - i, x + 8 + i, y + 10 - i, ink);
    const int rx = 44 + 20 * k;
    for (int yy = 0; yy < 16; ++yy)
      for (int xx = 0; xx < 16; ++xx)
        if (Canvas::inside(xx - 5, yy - 5, 6, 6, 3)) c.set(rx + xx, y + yy, ink);
    const int ax = 4 + 12 * k, ay = 80;
    for (int i = 0; i < 4; ++i) c.rect(ax + 2 + i, ay + 4 + i, ax + 3 + i, ay + 12 - i, ink);
  }
  // Main menu bar item images (unused by the program's windows): normal and hot, 40 x 20.
  c.rect(4, 100, 44, 120, back);
  c.roundBox(50, 100, 90, 120, 3, Rgb{120, 160, 215}, kWhite, Rgb{206, 226, 250});
  Save(c, "menuitems.bmp");
}

// ---------------------------------------------------------------------------------------------
// Controls picture (564 x 397).

void Controls() {
  const Rgb back{238, 242, 248};
  Canvas c(564, 397, back);
  // A faint grid marks the unused space, so the picture reads as a sheet of parts.
  for (int y = 0; y < 397; y += 8) c.rect(0, y, 564, y + 1, Rgb{232, 237, 245});

  // panel 141,4,200,56: quiet face with a one-pixel shadow frame and a light inner line.
  c.rect(141, 4, 200, 56, kClient);
  c.frame(141, 4, 200, 56, kShadow);
  c.frame(142, 5, 199, 55, kWhite);

  // groupbox 352,75,411,122: caption band 1,1,58,14 over a framed body.
  c.rect(352, 75, 411, 122, kClient);
  c.vgradient(353, 76, 410, 89, kWhite, Rgb{214, 228, 247});
  c.rect(353, 89, 410, 90, kShadow);
  c.frame(352, 75, 411, 122, kShadow);

  // statusbar 318,153,365,176: a line on top, then a soft gradient.
  c.vgradient(318, 154, 365, 176, Rgb{236, 243, 252}, Rgb{210, 224, 244});
  c.rect(318, 153, 365, 154, kShadow);
  c.rect(318, 154, 365, 155, kWhite);

  // statuspanel 366,153,404,175: transparent-looking face with a divider at the right.
  c.vgradient(366, 153, 404, 175, Rgb{236, 243, 252}, Rgb{212, 226, 245});
  c.rect(400, 156, 401, 172, kShadow);
  c.rect(401, 156, 402, 172, kWhite);

  // button 458,272,500,294 (normal), 458,298 (hot), 458,324 (pressed), 503,272 (disabled).
  c.roundBox(458, 272, 500, 294, 3, Rgb{112, 146, 196}, kWhite, Rgb{218, 231, 248});
  c.roundBox(458, 298, 500, 320, 3, Rgb{80, 130, 200}, kWhite, Rgb{196, 221, 250});
  c.roundBox(458, 324, 500, 346, 3, kText, Rgb{186, 208, 238}, Rgb{214, 229, 248});
  c.roundBox(503, 272, 545, 294, 3, Rgb{190, 198, 210}, Rgb{246, 247, 249}, Rgb{232, 235, 240});
  Save(c, "controls.bmp");
}

// ---------------------------------------------------------------------------------------------
// Pictures the program does not draw from but the package carries: background of a
// multi-document client, a layered frame and its mask, a ribbon and an application menu.

void Backgrounds() {
  Canvas mdi(219, 178);
  for (int y = 0; y < 178; ++y)
    for (int x = 0; x < 219; ++x) {
      const int band = ((x + y) / 12) % 2;
      mdi.set(x, y, Mix(Rgb{214, 227, 245}, Rgb{200, 217, 240}, band * (x % 12 + 4), 16));
    }
  Save(mdi, "mdibg.bmp");

  Canvas layer(172, 135, kWhite);
  layer.roundBox(0, 0, 172, 135, 8, kDark, kCaptionTop, kCaptionBottom);
  layer.rect(6, 28, 166, 129, kClient);
  Save(layer, "layerframe.bmp");
  Canvas layerMask(172, 135, kWhite);
  for (int y = 0; y < 135; ++y)
    for (int x = 0; x < 172; ++x)
      if (Canvas::inside(x, y, 172, 135, 8)) layerMask.set(x, y, kBlack);
  Save(layerMask, "layerframemask.bmp");

  Canvas ribbon(260, 164, kClient);
  ribbon.vgradient(0, 0, 260, 24, kCaptionTop, kCaptionBottom);
  for (int i = 0; i < 4; ++i) ribbon.roundBox(4 + 64 * i, 28, 64 + 64 * i, 160, 4, kShadow, kWhite, kFace);
  Save(ribbon, "ribbon.bmp");

  Canvas menu(208, 131, Rgb{252, 253, 255});
  menu.hgradient(0, 0, 40, 131, kFace, Rgb{240, 245, 253});
  menu.frame(0, 0, 208, 131, Rgb{120, 150, 195});
  Save(menu, "appmenu.bmp");

  Canvas menuBack(200, 200);
  menuBack.vgradient(0, 0, 200, 200, kCaptionTop, kFace);
  Save(menuBack, "appmenubg.bmp");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: skin-generator OUTPUT_DIR\n");
    return 2;
  }
  g_dir = argv[1];
  try {
    MainPicture();
    ActivePicture();
    HintWindow();
    PopupWindow();
    MenuItems();
    Controls();
    Backgrounds();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "skin-generator: %s\n", e.what());
    return 1;
  }
  return 0;
}
