#include "skin/SkinRecords.h"

#include <functional>
#include <utility>

namespace tavlox::skin {

namespace {

class ReadVisitor final : public FieldVisitor {
 public:
  ReadVisitor(const SkinIni& ini, std::string_view section) : ini_(ini), section_(section) {}
  void integer(const char* k, int32_t& v, int32_t def) override { v = ReadInteger(ini_, section_, k, def); }
  void pictureIndex(const char* k, int32_t& v) override { v = ReadInteger(ini_, section_, k, -1); }
  void color(const char* k, SkinColor& v) override { v = ReadInteger(ini_, section_, k, 0); }
  void boolean(const char* k, bool& v) override { v = ReadBoolean(ini_, section_, k); }
  void point(const char* k, SkinPoint& v) override { v = ReadPoint(ini_, section_, k); }
  void rect(const char* k, SkinRect& v) override { v = ReadRect(ini_, section_, k); }
  void string(const char* k, std::string& v, const char* def) override { v = ReadString(ini_, section_, k, def); }
  void fontStyle(const char* k, uint8_t& v) override { v = ReadFontStyle(ini_, section_, k); }
  void alignment(const char* k, SkinAlignment& v) override { v = ReadAlignment(ini_, section_, k); }
  void stretchType(const char* k, StretchType& v) override { v = ReadStretchType(ini_, section_, k); }
  void morphKind(const char* k, MorphKind& v) override { v = ReadMorphKind(ini_, section_, k); }
  void inactiveEffect(const char* k, InactiveEffect& v) override { v = ReadInactiveEffect(ini_, section_, k); }
  void command(const char* k, SkinCommand& v) override { v = ReadCommand(ini_, section_, k); }
  void framesPlacement(const char* k, FramesPlacement& v) override { v = ReadFramesPlacement(ini_, section_, k); }
  void regulatorKind(const char* k, RegulatorKind& v) override { v = ReadRegulatorKind(ini_, section_, k); }
  void gaugeKind(const char* k, GaugeKind& v) override { v = ReadGaugeKind(ini_, section_, k); }

 private:
  const SkinIni& ini_;
  std::string_view section_;
};

class DefaultsVisitor final : public FieldVisitor {
 public:
  void integer(const char*, int32_t& v, int32_t def) override { v = def; }
  void pictureIndex(const char*, int32_t& v) override { v = -1; }
  void color(const char*, SkinColor& v) override { v = 0; }
  void boolean(const char*, bool& v) override { v = false; }
  void point(const char*, SkinPoint& v) override { v = {}; }
  void rect(const char*, SkinRect& v) override { v = {}; }
  void string(const char*, std::string& v, const char* def) override { v = def; }
  void fontStyle(const char*, uint8_t& v) override { v = fsPlain; }
  void alignment(const char*, SkinAlignment& v) override { v = SkinAlignment::Center; }
  void stretchType(const char*, StretchType& v) override { v = StretchType::Full; }
  void morphKind(const char*, MorphKind& v) override { v = MorphKind::Default; }
  void inactiveEffect(const char*, InactiveEffect& v) override { v = InactiveEffect::Brightness; }
  void command(const char*, SkinCommand& v) override { v = SkinCommand::Default; }
  void framesPlacement(const char*, FramesPlacement& v) override { v = FramesPlacement::Horizontal; }
  void regulatorKind(const char*, RegulatorKind& v) override { v = RegulatorKind::Round; }
  void gaugeKind(const char*, GaugeKind& v) override { v = GaugeKind::Horizontal; }
};

class WriteVisitor final : public FieldVisitor {
 public:
  WriteVisitor(SkinIni& ini, std::string_view section) : ini_(ini), section_(section) {}
  void integer(const char* k, int32_t& v, int32_t) override { put(k, std::to_string(v)); }
  void pictureIndex(const char* k, int32_t& v) override { put(k, std::to_string(v)); }
  void color(const char* k, SkinColor& v) override { put(k, std::to_string(v)); }
  void boolean(const char* k, bool& v) override { put(k, v ? "1" : "0"); }
  void point(const char* k, SkinPoint& v) override { put(k, PointText(v)); }
  void rect(const char* k, SkinRect& v) override { put(k, RectText(v)); }
  void string(const char* k, std::string& v, const char*) override { put(k, v); }
  void fontStyle(const char* k, uint8_t& v) override { put(k, FontStyleText(v)); }
  void alignment(const char* k, SkinAlignment& v) override { put(k, AlignmentWord(v)); }
  void stretchType(const char* k, StretchType& v) override { put(k, StretchTypeWord(v)); }
  void morphKind(const char* k, MorphKind& v) override { put(k, MorphKindWord(v)); }
  void inactiveEffect(const char* k, InactiveEffect& v) override { put(k, InactiveEffectWord(v)); }
  void command(const char* k, SkinCommand& v) override { put(k, CommandWord(v)); }
  void framesPlacement(const char* k, FramesPlacement& v) override { put(k, FramesPlacementWord(v)); }
  void regulatorKind(const char* k, RegulatorKind& v) override { put(k, RegulatorKindWord(v)); }
  void gaugeKind(const char* k, GaugeKind& v) override { put(k, GaugeKindWord(v)); }

 private:
  void put(const char* k, const std::string& v) { ini_.set(section_, k, v); }
  SkinIni& ini_;
  std::string_view section_;
};

template <typename Base, typename T>
std::unique_ptr<Base> Make(std::string name) {
  return std::make_unique<T>(std::move(name));
}

template <typename Base>
struct TypeEntry {
  const char* word;
  std::unique_ptr<Base> (*make)(std::string);
};

const TypeEntry<TskDataSkinObject> kObjectTypes[] = {
    {"menuitem", &Make<TskDataSkinObject, TskDataSkinMenuItem>},
    {"mainmenubaritem", &Make<TskDataSkinObject, TskDataSkinMainMenuBarItem>},
    {"mainmenuitem", &Make<TskDataSkinObject, TskDataSkinMainMenuItem>},
    {"stdbutton", &Make<TskDataSkinObject, TskDataSkinStdButton>},
    {"mainmenubarbutton", &Make<TskDataSkinObject, TskDataSkinMainMenuBarButton>},
    {"button", &Make<TskDataSkinObject, TskDataSkinButton>},
    {"caption", &Make<TskDataSkinObject, TskDataSkinCaption>},
    {"trackbar", &Make<TskDataSkinObject, TskDataSkinTrackBar>},
    {"gauge", &Make<TskDataSkinObject, TskDataSkinGauge>},
    {"framegauge", &Make<TskDataSkinObject, TskDataSkinFrameGaugeObject>},
    {"frameregulator", &Make<TskDataSkinObject, TskDataSkinFrameRegulatorObject>},
    {"label", &Make<TskDataSkinObject, TskDataSkinLabel>},
    {"bitlabel", &Make<TskDataSkinObject, TskDataSkinBitLabel>},
    {"switch", &Make<TskDataSkinObject, TskDataSkinSwitch>},
    {"animate", &Make<TskDataSkinObject, TskDataSkinAnimate>},
    {"userobject", &Make<TskDataSkinObject, TskDataUserObject>},
};

const TypeEntry<TskDataSkinControl> kControlTypes[] = {
    {"slider", &Make<TskDataSkinControl, TskDataSkinSlider>},
    {"bevel", &Make<TskDataSkinControl, TskDataSkinBevel>},
    {"panel", &Make<TskDataSkinControl, TskDataSkinPanelControl>},
    {"expanel", &Make<TskDataSkinControl, TskDataSkinExPanelControl>},
    {"menubutton", &Make<TskDataSkinControl, TskDataSkinMenuButtonControl>},
    {"button", &Make<TskDataSkinControl, TskDataSkinButtonControl>},
    {"checkradio", &Make<TskDataSkinControl, TskDataSkinCheckRadioControl>},
    {"gauge", &Make<TskDataSkinControl, TskDataSkinGaugeControl>},
    {"splitter", &Make<TskDataSkinControl, TskDataSkinSplitterControl>},
    {"trackbar", &Make<TskDataSkinControl, TskDataSkinTrackBarControl>},
    {"label", &Make<TskDataSkinControl, TskDataSkinLabelControl>},
    {"stdlabel", &Make<TskDataSkinControl, TskDataSkinStdLabelControl>},
    {"bitlabel", &Make<TskDataSkinControl, TskDataSkinBitLabelControl>},
    {"frameregulator", &Make<TskDataSkinControl, TskDataSkinFrameRegulator>},
    {"framegauge", &Make<TskDataSkinControl, TskDataSkinFrameGauge>},
    {"animate", &Make<TskDataSkinControl, TskDataSkinAnimateControl>},
    {"updown", &Make<TskDataSkinControl, TskDataSkinUpDownControl>},
    {"switch", &Make<TskDataSkinControl, TskDataSkinSwitchControl>},
    {"grid", &Make<TskDataSkinControl, TskDataSkinGridControl>},
    {"tab", &Make<TskDataSkinControl, TskDataSkinTabControl>},
    {"mainmenubar", &Make<TskDataSkinControl, TskDataSkinMainMenuBar>},
    {"controlbar", &Make<TskDataSkinControl, TskDataSkinControlBar>},
    {"memo", &Make<TskDataSkinControl, TskDataSkinMemoControl>},
    {"edit", &Make<TskDataSkinControl, TskDataSkinEditControl>},
    {"checklistbox", &Make<TskDataSkinControl, TskDataSkinCheckListBox>},
    {"listbox", &Make<TskDataSkinControl, TskDataSkinListBox>},
    {"combobox", &Make<TskDataSkinControl, TskDataSkinComboBox>},
    {"scrollbar", &Make<TskDataSkinControl, TskDataSkinScrollBarControl>},
    {"spinedit", &Make<TskDataSkinControl, TskDataSkinSpinEditControl>},
    {"scrollbox", &Make<TskDataSkinControl, TskDataSkinScrollBoxControl>},
    {"treeview", &Make<TskDataSkinControl, TskDataSkinTreeView>},
    {"listview", &Make<TskDataSkinControl, TskDataSkinListView>},
    {"richedit", &Make<TskDataSkinControl, TskDataSkinRichEdit>},
};

}  // namespace

void SkinRecord::LoadFromIni(const SkinIni& ini, std::string_view section) {
  ReadVisitor v(ini, section);
  visitFields(v);
  afterRead();
}

void SkinRecord::SaveToIni(SkinIni& ini, std::string_view section) {
  WriteVisitor v(ini, section);
  visitFields(v);
}

void SkinRecord::ResetToDefaults() {
  DefaultsVisitor v;
  visitFields(v);
}

void TskDataSkinMenuItem::afterRead() {
  // An empty active image means the item looks the same when selected.
  if (activecheckimagerect.isEmpty()) activecheckimagerect = checkimagerect;
  if (activeradioimagerect.isEmpty()) activeradioimagerect = radioimagerect;
  if (activearrowimagerect.isEmpty()) activearrowimagerect = arrowimagerect;
}

std::unique_ptr<TskDataSkinObject> CreateObjectRecord(std::string_view type, std::string name) {
  for (const auto& e : kObjectTypes)
    if (type == e.word) return e.make(std::move(name));
  return nullptr;
}

std::unique_ptr<TskDataSkinControl> CreateControlRecord(std::string_view type, std::string name) {
  for (const auto& e : kControlTypes)
    if (type == e.word) return e.make(std::move(name));
  return nullptr;
}

}  // namespace tavlox::skin
