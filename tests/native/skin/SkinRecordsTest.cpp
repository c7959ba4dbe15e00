#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "skin/SkinRecords.h"

using namespace tavlox::skin;

namespace {

const char* kObjectWords[] = {"menuitem", "mainmenubaritem", "mainmenuitem", "stdbutton", "mainmenubarbutton",
                              "button", "caption", "trackbar", "gauge", "framegauge", "frameregulator", "label",
                              "bitlabel", "switch", "animate", "userobject"};
const char* kControlWords[] = {"slider", "bevel", "panel", "expanel", "menubutton", "button", "checkradio", "gauge",
                               "splitter", "trackbar", "label", "stdlabel", "bitlabel", "frameregulator",
                               "framegauge", "animate", "updown", "switch", "grid", "tab", "mainmenubar",
                               "controlbar", "memo", "edit", "checklistbox", "listbox", "combobox", "scrollbar",
                               "spinedit", "scrollbox", "treeview", "listview", "richedit"};

// Writes every key as text, so records can be compared field by field.
struct Dump : FieldVisitor {
  std::map<std::string, std::string> v;
  std::vector<std::string> order;
  void put(const char* k, std::string s) {
    order.push_back(k);
    v[k] = std::move(s);
  }
  void integer(const char* k, int32_t& x, int32_t) override { put(k, std::to_string(x)); }
  void pictureIndex(const char* k, int32_t& x) override { put(k, "p" + std::to_string(x)); }
  void color(const char* k, SkinColor& x) override { put(k, "c" + std::to_string(x)); }
  void boolean(const char* k, bool& x) override { put(k, x ? "T" : "F"); }
  void point(const char* k, SkinPoint& x) override { put(k, PointText(x)); }
  void rect(const char* k, SkinRect& x) override { put(k, RectText(x)); }
  void string(const char* k, std::string& x, const char*) override { put(k, "'" + x); }
  void fontStyle(const char* k, uint8_t& x) override { put(k, FontStyleText(x)); }
  void alignment(const char* k, SkinAlignment& x) override { put(k, AlignmentWord(x)); }
  void stretchType(const char* k, StretchType& x) override { put(k, StretchTypeWord(x)); }
  void morphKind(const char* k, MorphKind& x) override { put(k, MorphKindWord(x)); }
  void inactiveEffect(const char* k, InactiveEffect& x) override { put(k, InactiveEffectWord(x)); }
  void command(const char* k, SkinCommand& x) override { put(k, CommandWord(x)); }
  void framesPlacement(const char* k, FramesPlacement& x) override { put(k, FramesPlacementWord(x)); }
  void regulatorKind(const char* k, RegulatorKind& x) override { put(k, RegulatorKindWord(x)); }
  void gaugeKind(const char* k, GaugeKind& x) override { put(k, GaugeKindWord(x)); }
};

Dump DumpOf(SkinRecord& r) {
  Dump d;
  r.visitFields(d);
  return d;
}

std::vector<std::unique_ptr<SkinRecord>> AllRecords() {
  std::vector<std::unique_ptr<SkinRecord>> out;
  for (const char* w : kObjectWords) out.push_back(CreateObjectRecord(w, "x"));
  for (const char* w : kControlWords) out.push_back(CreateControlRecord(w, "x"));
  out.push_back(std::make_unique<TskDataSkinFormInfo>());
  out.push_back(std::make_unique<TskDataSkinPopupWindow>());
  out.push_back(std::make_unique<TskDataSkinHintWindow>());
  out.push_back(std::make_unique<TskSkinColors>());
  return out;
}

}  // namespace

TEST(SkinRecords, EveryTypeWordMakesARecordAndNothingElseDoes) {
  for (const char* w : kObjectWords) EXPECT_NE(CreateObjectRecord(w, "n"), nullptr) << w;
  for (const char* w : kControlWords) EXPECT_NE(CreateControlRecord(w, "n"), nullptr) << w;
  for (const char* w : {"Panel", "appmenu", "", "panel ", "stdButton"}) {
    EXPECT_EQ(CreateObjectRecord(w, "n"), nullptr) << w;
    EXPECT_EQ(CreateControlRecord(w, "n"), nullptr) << w;
  }
  EXPECT_STREQ(CreateControlRecord("panel", "n")->className(), "TskDataSkinPanelControl");
  EXPECT_STREQ(CreateControlRecord("checklistbox", "n")->className(), "TskDataSkinCheckListBox");
  EXPECT_STREQ(CreateObjectRecord("framegauge", "n")->className(), "TskDataSkinFrameGaugeObject");
  EXPECT_STREQ(CreateControlRecord("framegauge", "n")->className(), "TskDataSkinFrameGauge");
}

TEST(SkinRecords, FreshRecordsHoldTheDefaultsOfAnEmptySection) {
  const SkinIni empty;
  for (auto& r : AllRecords()) {
    SCOPED_TRACE(r->className());
    const Dump fresh = DumpOf(*r);
    r->LoadFromIni(empty, "x");
    EXPECT_EQ(DumpOf(*r).v, fresh.v);
    r->ResetToDefaults();
    EXPECT_EQ(DumpOf(*r).v, fresh.v);
    // Every key appears once.
    std::set<std::string> unique(fresh.order.begin(), fresh.order.end());
    EXPECT_EQ(unique.size(), fresh.order.size());
  }
}

TEST(SkinRecords, WrittenRecordsReadBackTheSame) {
  for (auto& r : AllRecords()) {
    SCOPED_TRACE(r->className());
    // Give every key a non-default value through the text.
    SkinIni ini;
    Dump keys = DumpOf(*r);
    int n = 1;
    for (const std::string& k : keys.order) {
      const std::string& def = keys.v[k];
      std::string value = std::to_string(n++);
      if (def.find(',') != std::string::npos)
        value = std::count(def.begin(), def.end(), ',') == 1 ? "7,8" : "1,2,3,4";
      ini.set("x", k, value);
    }
    r->LoadFromIni(ini, "x");
    const Dump loaded = DumpOf(*r);
    SkinIni written;
    r->SaveToIni(written, "x");
    r->ResetToDefaults();
    r->LoadFromIni(written, "x");
    EXPECT_EQ(DumpOf(*r).v, loaded.v);
  }
}

TEST(SkinRecords, SelectedDefaultsAndKeys) {
  TskDataSkinButtonControl button("button");
  EXPECT_EQ(button.fontname, "Arial");
  EXPECT_EQ(button.fontheight, 14);
  EXPECT_EQ(button.animateinterval, 25);
  EXPECT_EQ(button.pictureindex, -1);
  EXPECT_EQ(button.cursorindex, -1);
  EXPECT_EQ(button.stretchtype, StretchType::Full);

  TskDataSkinListBox list("l");
  EXPECT_EQ(list.vscrollbarname, "vscrollbar");
  EXPECT_EQ(list.bothhscrollbarname, "bothhscrollbar");
  EXPECT_EQ(list.captionfontname, "Arial");

  // Keys match without regard to case, also those the reader spells with capitals.
  SkinIni ini("[m]\nUNENABLEDFONTCOLOR=77\n[l]\nFONTNAME=Tahoma\nTextValue=hi\n");
  TskDataSkinMainMenuItem item("m");
  item.LoadFromIni(ini, "m");
  EXPECT_EQ(item.unenabledfontcolor, 77);
  TskDataSkinLabel label("l");
  label.LoadFromIni(ini, "l");
  EXPECT_EQ(label.fontname, "Tahoma");
  EXPECT_EQ(label.textvalue, "hi");

  // A user object reads only three keys.
  SkinIni u("[u]\nrollup=1\nskinrect=1,2,3,4\ncursorindex=5\nhint=h\nmorphing=1\nactivepictureindex=3\n");
  TskDataUserObject user("u");
  user.LoadFromIni(u, "u");
  EXPECT_TRUE(user.rollup);
  EXPECT_EQ(user.skinrect, (SkinRect{1, 2, 3, 4}));
  EXPECT_EQ(user.cursorindex, 5);
  EXPECT_EQ(user.hint, "");
  EXPECT_FALSE(user.morphing);
  EXPECT_EQ(user.activepictureindex, -1);

  // Empty active images of a menu item take the normal ones.
  SkinIni mi("[mi]\ncheckimagerect=1,1,5,5\nradioimagerect=2,2,6,6\nactiveradioimagerect=3,3,7,7\n");
  TskDataSkinMenuItem menu("mi");
  menu.LoadFromIni(mi, "mi");
  EXPECT_EQ(menu.activecheckimagerect, (SkinRect{1, 1, 5, 5}));
  EXPECT_EQ(menu.activeradioimagerect, (SkinRect{3, 3, 7, 7}));
  EXPECT_EQ(menu.activearrowimagerect, SkinRect{});
}
