// The docking layout, checked against the main window's control table at its designed client
// size and after a resize, plus the ordering rules on small cases.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/AlignLayout.h"

namespace tavlox::ui {
namespace {

// A control tree: each node lays out its children inside its own client rectangle.
struct Node {
  Node(std::string n, TAlign a, LayoutRect b) : name(std::move(n)), align(a), bounds(b) {}
  std::string name;
  TAlign align;
  LayoutRect bounds;
  std::function<LayoutRect(const LayoutRect&)> client = [](const LayoutRect& b) {
    return LayoutRect{0, 0, b.width, b.height};
  };
  std::vector<Node> children;
};

LayoutRect Inset(const LayoutRect& b, int n) { return {n, n, b.width - 2 * n, b.height - 2 * n}; }

void Layout(Node& node) {
  std::vector<LayoutItem> items;
  for (auto& c : node.children) items.push_back({c.align, c.bounds});
  AlignChildren(node.client(node.bounds), items);
  for (size_t i = 0; i < items.size(); ++i) {
    node.children[i].bounds = items[i].bounds;
    Layout(node.children[i]);
  }
}

const Node* Find(const Node& node, const std::string& name) {
  if (node.name == name) return &node;
  for (auto& c : node.children)
    if (auto* f = Find(c, name)) return f;
  return nullptr;
}

// The main window's controls in the order of its form definition, with their design bounds.
Node MainWindow(int client_width, int client_height) {
  Node window{"window", TAlign::alNone, {0, 0, client_width, client_height}};
  Node bar{"skstatusbar1", TAlign::alBottom, {0, 553, 966, 21}};
  bar.children = {{"skstatuspanel1", TAlign::alLeft, {0, 0, 120, 21}},
                  {"skstatuspanel2", TAlign::alLeft, {120, 0, 153, 21}},
                  {"skstatuspanel3", TAlign::alLeft, {273, 0, 696, 21}},
                  {"wb2", TAlign::alNone, {697, 1, 280, 20}}};
  Node side{"sizepnl1", TAlign::alLeft, {0, 0, 221, 553}};
  // The side panel's children stop short of its 1-pixel size bar and the 1-pixel gap before it.
  side.client = [](const LayoutRect& b) { return LayoutRect{0, 0, b.width - 2, b.height}; };
  side.children = {{"wb1", TAlign::alClient, {0, 0, 219, 553}}};
  Node content{"skpanel1", TAlign::alClient, {221, 0, 745, 553}};
  content.client = [](const LayoutRect& b) { return Inset(b, 1); };  // 1-pixel frame
  Node top{"pnl1", TAlign::alTop, {1, 1, 743, 60}};
  top.client = [](const LayoutRect& b) { return Inset(b, 1); };  // raised bevel
  top.children = {{"wb3", TAlign::alClient, {1, 1, 741, 58}}};
  content.children = {top,
                      {"skpanel2", TAlign::alTop, {1, 61, 743, 20}},
                      {"extwb1", TAlign::alClient, {1, 81, 743, 471}}};
  window.children = {bar, side, content};
  return window;
}

struct Expected {
  const char* name;
  LayoutRect bounds;
};

void ExpectLayout(int width, int height, const std::vector<Expected>& table) {
  Node window = MainWindow(width, height);
  Layout(window);
  for (const auto& e : table) {
    const Node* n = Find(window, e.name);
    ASSERT_NE(n, nullptr) << e.name;
    EXPECT_EQ(n->bounds, e.bounds) << e.name << " at " << width << "x" << height << ": got " << n->bounds.left << ","
                                   << n->bounds.top << "," << n->bounds.width << "," << n->bounds.height;
  }
}

TEST(AlignLayout, MainWindowAtDesignedSize) {
  ExpectLayout(966, 574, {{"skstatusbar1", {0, 553, 966, 21}},
                          {"skstatuspanel1", {0, 0, 120, 21}},
                          {"skstatuspanel2", {120, 0, 153, 21}},
                          {"skstatuspanel3", {273, 0, 696, 21}},
                          {"wb2", {697, 1, 280, 20}},
                          {"sizepnl1", {0, 0, 221, 553}},
                          {"wb1", {0, 0, 219, 553}},
                          {"skpanel1", {221, 0, 745, 553}},
                          {"pnl1", {1, 1, 743, 60}},
                          {"wb3", {1, 1, 741, 58}},
                          {"skpanel2", {1, 61, 743, 20}},
                          {"extwb1", {1, 81, 743, 471}}});
}

TEST(AlignLayout, MainWindowResized) {
  // Wider and taller: docked strips keep their thickness, client fills grow; wb2 and the
  // status panels keep their positions and widths.
  ExpectLayout(1200, 700, {{"skstatusbar1", {0, 679, 1200, 21}},
                           {"skstatuspanel1", {0, 0, 120, 21}},
                           {"skstatuspanel2", {120, 0, 153, 21}},
                           {"skstatuspanel3", {273, 0, 696, 21}},
                           {"wb2", {697, 1, 280, 20}},
                           {"sizepnl1", {0, 0, 221, 679}},
                           {"wb1", {0, 0, 219, 679}},
                           {"skpanel1", {221, 0, 979, 679}},
                           {"pnl1", {1, 1, 977, 60}},
                           {"wb3", {1, 1, 975, 58}},
                           {"skpanel2", {1, 61, 977, 20}},
                           {"extwb1", {1, 81, 977, 597}}});
  // Narrower than the side panel and the status panels: the client pane gets no room.
  ExpectLayout(200, 100, {{"skstatusbar1", {0, 79, 200, 21}},
                          {"sizepnl1", {0, 0, 221, 79}},
                          {"skpanel1", {221, 0, 0, 79}},
                          {"wb2", {697, 1, 280, 20}}});
}

TEST(AlignLayout, OrderOfAlignments) {
  struct Case {
    const char* what;
    std::vector<LayoutItem> in;
    std::vector<LayoutRect> out;
  };
  const LayoutRect client{0, 0, 100, 80};
  const std::vector<Case> cases = {
      {"top and bottom take full width before left and right",
       {{TAlign::alLeft, {0, 0, 10, 5}}, {TAlign::alTop, {0, 0, 5, 7}}, {TAlign::alBottom, {0, 0, 5, 9}},
        {TAlign::alRight, {0, 0, 11, 5}}, {TAlign::alClient, {3, 3, 3, 3}}},
       {{0, 7, 10, 64}, {0, 0, 100, 7}, {0, 71, 100, 9}, {89, 7, 11, 64}, {10, 7, 79, 64}}},
      {"within one alignment the control nearest its side comes first",
       {{TAlign::alTop, {0, 50, 1, 10}}, {TAlign::alTop, {0, 0, 1, 20}}},
       {{0, 20, 100, 10}, {0, 0, 100, 20}}},
      {"bottom: the lowest control takes the bottom edge",
       {{TAlign::alBottom, {0, 10, 1, 5}}, {TAlign::alBottom, {0, 70, 1, 6}}},
       {{0, 69, 100, 5}, {0, 74, 100, 6}}},
      {"ties keep creation order",
       {{TAlign::alLeft, {0, 0, 10, 1}}, {TAlign::alLeft, {0, 0, 20, 1}}},
       {{0, 0, 10, 80}, {10, 0, 20, 80}}},
      {"right: the rightmost control takes the right edge",
       {{TAlign::alRight, {10, 0, 10, 1}}, {TAlign::alRight, {90, 0, 10, 1}}},
       {{80, 0, 10, 80}, {90, 0, 10, 80}}},
      {"no alignment keeps its bounds; client takes what is left",
       {{TAlign::alNone, {-5, 500, 7, 8}}, {TAlign::alClient, {0, 0, 0, 0}}},
       {{-5, 500, 7, 8}, {0, 0, 100, 80}}},
      {"overfull strips leave client and late strips no room, never negative sizes",
       {{TAlign::alTop, {0, 0, 1, 90}}, {TAlign::alLeft, {0, 0, 30, 1}}, {TAlign::alClient, {0, 0, 0, 0}}},
       {{0, 0, 100, 90}, {0, 90, 30, 0}, {30, 90, 70, 0}}},
  };
  for (const auto& c : cases) {
    auto items = c.in;
    AlignChildren(client, items);
    ASSERT_EQ(items.size(), c.out.size()) << c.what;
    for (size_t i = 0; i < items.size(); ++i) {
      const auto& got = items[i].bounds;
      EXPECT_EQ(got, c.out[i]) << c.what << ", item " << i << ": got " << got.left << "," << got.top << ","
                               << got.width << "," << got.height;
    }
  }
}

}  // namespace
}  // namespace tavlox::ui
