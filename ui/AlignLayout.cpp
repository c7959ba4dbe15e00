#include "ui/AlignLayout.h"

#include <algorithm>
#include <vector>

namespace tavlox::ui {
namespace {

// True when `a` should be placed before `b` among controls of the same alignment.
bool NearerToSide(TAlign align, const LayoutRect& a, const LayoutRect& b) {
  switch (align) {
    case TAlign::alTop: return a.top < b.top;
    case TAlign::alBottom: return a.bottom() > b.bottom();
    case TAlign::alLeft: return a.left < b.left;
    case TAlign::alRight: return a.right() > b.right();
    default: return false;
  }
}

}  // namespace

void AlignChildren(const LayoutRect& client, std::span<LayoutItem> items) {
  // Remaining room as edges; shrinks as docked controls take their strips.
  int left = client.left, top = client.top;
  int right = client.right(), bottom = client.bottom();
  auto room_w = [&] { return std::max(0, right - left); };
  auto room_h = [&] { return std::max(0, bottom - top); };

  for (TAlign align : {TAlign::alTop, TAlign::alBottom, TAlign::alLeft, TAlign::alRight, TAlign::alClient}) {
    std::vector<LayoutItem*> group;
    for (auto& item : items)
      if (item.align == align) group.push_back(&item);
    std::stable_sort(group.begin(), group.end(), [align](const LayoutItem* a, const LayoutItem* b) {
      return NearerToSide(align, a->bounds, b->bounds);
    });
    for (LayoutItem* item : group) {
      LayoutRect& r = item->bounds;
      switch (align) {
        case TAlign::alTop:
          r = {left, top, room_w(), std::max(0, r.height)};
          top += r.height;
          break;
        case TAlign::alBottom:
          r.height = std::max(0, r.height);
          r = {left, bottom - r.height, room_w(), r.height};
          bottom -= r.height;
          break;
        case TAlign::alLeft:
          r = {left, top, std::max(0, r.width), room_h()};
          left += r.width;
          break;
        case TAlign::alRight:
          r.width = std::max(0, r.width);
          r = {right - r.width, top, r.width, room_h()};
          right -= r.width;
          break;
        case TAlign::alClient:
          r = {left, top, room_w(), room_h()};
          break;
        case TAlign::alNone:
          break;
      }
    }
  }
}

}  // namespace tavlox::ui
