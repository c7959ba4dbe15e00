// Docking layout of child controls inside a parent's client rectangle.
//
// Portable: the form framework feeds it the bounds of a parent's children and applies the result
// to the windows. Controls docked to a side take their strip from what is left, in the order
// top, bottom, left, right, client; within one alignment, the control nearest to its side comes
// first (ties keep creation order). Controls with no alignment keep their bounds.
#pragma once

#include <span>

namespace tavlox::ui {

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

struct LayoutRect {
  int left = 0, top = 0, width = 0, height = 0;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
  friend bool operator==(const LayoutRect&, const LayoutRect&) = default;
};

struct LayoutItem {
  TAlign align = TAlign::alNone;
  LayoutRect bounds;  // in: current bounds; out: bounds after the layout
};

// Lays out `items` (in creation order) inside `client`, the parent's client rectangle in the
// parent's coordinates. Sizes never go below 0.
void AlignChildren(const LayoutRect& client, std::span<LayoutItem> items);

}  // namespace tavlox::ui
