// The records built from the definition text: one field per key, named after the key.
// Every record lists its keys through visitFields, bases first, so that reading, defaults,
// writing and inspection all walk the same table.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "skin/SkinIni.h"
#include "skin/SkinTypes.h"

namespace tavlox::skin {

// One call per key; `key` is the key as the text spells it.
class FieldVisitor {
 public:
  virtual ~FieldVisitor() = default;
  virtual void integer(const char* key, int32_t& value, int32_t def) = 0;
  virtual void pictureIndex(const char* key, int32_t& value) = 0;  // default -1
  virtual void color(const char* key, SkinColor& value) = 0;       // default 0
  virtual void boolean(const char* key, bool& value) = 0;
  virtual void point(const char* key, SkinPoint& value) = 0;
  virtual void rect(const char* key, SkinRect& value) = 0;
  virtual void string(const char* key, std::string& value, const char* def) = 0;
  virtual void fontStyle(const char* key, uint8_t& value) = 0;
  virtual void alignment(const char* key, SkinAlignment& value) = 0;
  virtual void stretchType(const char* key, StretchType& value) = 0;
  virtual void morphKind(const char* key, MorphKind& value) = 0;
  virtual void inactiveEffect(const char* key, InactiveEffect& value) = 0;
  virtual void command(const char* key, SkinCommand& value) = 0;
  virtual void framesPlacement(const char* key, FramesPlacement& value) = 0;
  virtual void regulatorKind(const char* key, RegulatorKind& value) = 0;
  virtual void gaugeKind(const char* key, GaugeKind& value) = 0;
};

class SkinRecord {
 public:
  SkinRecord() = default;
  explicit SkinRecord(std::string recordName) : name(std::move(recordName)) {}
  virtual ~SkinRecord() = default;
  SkinRecord(const SkinRecord&) = default;
  SkinRecord& operator=(const SkinRecord&) = default;

  // The record's name; objects and controls read their keys from the section of that name.
  std::string name;

  virtual const char* className() const = 0;
  virtual void visitFields(FieldVisitor&) {}
  // Fix-ups that depend on several keys, after all keys have been read.
  virtual void afterRead() {}

  // Reads every key from `section` (missing keys give their defaults).
  void LoadFromIni(const SkinIni& ini, std::string_view section);
  // Writes every key into `section` with the writer's words.
  void SaveToIni(SkinIni& ini, std::string_view section);
  // Sets every key to its default.
  void ResetToDefaults();
};

// An area of [SKINAREAS]: a name and a rectangle.
class TskDataSkinArea {
 public:
  std::string name;
  SkinRect rect;
};

class TskDataSkinObject : public SkinRecord {
 public:
  using SkinRecord::SkinRecord;
  std::string hint;
  bool rollup = false;
  int32_t activepictureindex = -1;
  bool skinrectinapicture = false;
  int32_t cursorindex = -1;
  SkinRect skinrect;
  SkinRect activeskinrect;
  SkinRect inactiveskinrect;
  bool morphing = false;
  MorphKind morphkind = MorphKind::Default;
  const char* className() const override { return "TskDataSkinObject"; }
  void visitFields(FieldVisitor& v) override {
    SkinRecord::visitFields(v);
    v.string("hint", hint, "");
    v.boolean("rollup", rollup);
    v.pictureIndex("activepictureindex", activepictureindex);
    v.boolean("skinrectinapicture", skinrectinapicture);
    v.integer("cursorindex", cursorindex, -1);
    v.rect("skinrect", skinrect);
    v.rect("activeskinrect", activeskinrect);
    v.rect("inactiveskinrect", inactiveskinrect);
    v.boolean("morphing", morphing);
    v.morphKind("morphkind", morphkind);
  }
};

class TskDataSkinButton : public TskDataSkinObject {
 public:
  using TskDataSkinObject::TskDataSkinObject;
  SkinRect downrect;
  SkinRect disableskinrsect;
  int32_t groupindex = -1;
  const char* className() const override { return "TskDataSkinButton"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinObject::visitFields(v);
    v.rect("downrect", downrect);
    v.rect("disableskinrsect", disableskinrsect);
    v.integer("groupindex", groupindex, -1);
  }
};

class TskDataSkinStdButton : public TskDataSkinButton {
 public:
  using TskDataSkinButton::TskDataSkinButton;
  SkinCommand command = SkinCommand::Default;
  SkinRect restorerect;
  SkinRect restoreactiverect;
  SkinRect restoredownrect;
  SkinRect restoreinactiverect;
  const char* className() const override { return "TskDataSkinStdButton"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinButton::visitFields(v);
    v.command("command", command);
    v.rect("restorerect", restorerect);
    v.rect("restoreactiverect", restoreactiverect);
    v.rect("restoredownrect", restoredownrect);
    v.rect("restoreinactiverect", restoreinactiverect);
  }
};

class TskDataSkinMainMenuBarButton : public TskDataSkinStdButton {
 public:
  using TskDataSkinStdButton::TskDataSkinStdButton;
  const char* className() const override { return "TskDataSkinMainMenuBarButton"; }
};

class TskDataSkinCaption : public TskDataSkinObject {
 public:
  using TskDataSkinObject::TskDataSkinObject;
  bool defaultcaption = false;
  SkinRect textrect;
  std::string fontname = "Arial";
  int32_t fontheight = 14;
  uint8_t fontstyle = fsPlain;
  SkinColor fontcolor = 0;
  SkinColor activefontcolor = 0;
  SkinAlignment alignment = SkinAlignment::Center;
  bool shadow = false;
  SkinColor shadowcolor = 0;
  bool light = false;
  SkinColor lightcolor = 0;
  SkinColor activelightcolor = 0;
  SkinColor activeshadowcolor = 0;
  SkinRect framerect;
  SkinRect activeframerect;
  SkinRect frametextrect;
  int32_t frameleftoffset = 0;
  int32_t framerightoffset = 0;
  bool stretcheffect = false;
  SkinRect animateskinrect;
  int32_t framecount = 0;
  int32_t animateinterval = 25;
  bool inactiveanimation = false;
  bool fullframe = false;
  const char* className() const override { return "TskDataSkinCaption"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinObject::visitFields(v);
    v.boolean("defaultcaption", defaultcaption);
    v.rect("textrect", textrect);
    v.string("fontname", fontname, "Arial");
    v.integer("fontheight", fontheight, 14);
    v.fontStyle("fontstyle", fontstyle);
    v.color("fontcolor", fontcolor);
    v.color("activefontcolor", activefontcolor);
    v.alignment("alignment", alignment);
    v.boolean("shadow", shadow);
    v.color("shadowcolor", shadowcolor);
    v.boolean("light", light);
    v.color("lightcolor", lightcolor);
    v.color("activelightcolor", activelightcolor);
    v.color("activeshadowcolor", activeshadowcolor);
    v.rect("framerect", framerect);
    v.rect("activeframerect", activeframerect);
    v.rect("frametextrect", frametextrect);
    v.integer("frameleftoffset", frameleftoffset, 0);
    v.integer("framerightoffset", framerightoffset, 0);
    v.boolean("stretcheffect", stretcheffect);
    v.rect("animateskinrect", animateskinrect);
    v.integer("framecount", framecount, 0);
    v.integer("animateinterval", animateinterval, 25);
    v.boolean("inactiveanimation", inactiveanimation);
    v.boolean("fullframe", fullframe);
  }
};

class TskDataSkinMenuItem : public TskDataSkinObject {
 public:
  using TskDataSkinObject::TskDataSkinObject;
  int32_t itemleftoffset = 0;
  int32_t itemrightoffset = 0;
  SkinRect dividerrect;
  int32_t dividerleftoffset = 0;
  int32_t dividerrightoffset = 0;
  SkinRect textrect;
  SkinRect imagerect;
  std::string fontname = "Arial";
  int32_t fontheight = 14;
  uint8_t fontstyle = fsPlain;
  SkinColor fontcolor = 0;
  SkinColor activefontcolor = 0;
  SkinColor unenabledfontcolor = 0;
  bool stretcheffect = false;
  bool inactivestretcheffect = false;
  bool dividerstretcheffect = false;
  SkinRect animateskinrect;
  int32_t framecount = 0;
  int32_t animateinterval = 25;
  bool inactiveanimation = false;
  bool useimagecolor = false;
  SkinColor imagecolor = 0;
  SkinColor activeimagecolor = 0;
  bool inactivetransparent = false;
  SkinRect checkimagerect;
  SkinRect activecheckimagerect;
  SkinRect radioimagerect;
  SkinRect activeradioimagerect;
  SkinRect arrowimagerect;
  SkinRect activearrowimagerect;
  const char* className() const override { return "TskDataSkinMenuItem"; }
  void afterRead() override;
  void visitFields(FieldVisitor& v) override {
    TskDataSkinObject::visitFields(v);
    v.integer("itemleftoffset", itemleftoffset, 0);
    v.integer("itemrightoffset", itemrightoffset, 0);
    v.rect("dividerrect", dividerrect);
    v.integer("dividerleftoffset", dividerleftoffset, 0);
    v.integer("dividerrightoffset", dividerrightoffset, 0);
    v.rect("textrect", textrect);
    v.rect("imagerect", imagerect);
    v.string("fontname", fontname, "Arial");
    v.integer("fontheight", fontheight, 14);
    v.fontStyle("fontstyle", fontstyle);
    v.color("fontcolor", fontcolor);
    v.color("activefontcolor", activefontcolor);
    v.color("unenabledfontcolor", unenabledfontcolor);
    v.boolean("stretcheffect", stretcheffect);
    v.boolean("inactivestretcheffect", inactivestretcheffect);
    v.boolean("dividerstretcheffect", dividerstretcheffect);
    v.rect("animateskinrect", animateskinrect);
    v.integer("framecount", framecount, 0);
    v.integer("animateinterval", animateinterval, 25);
    v.boolean("inactiveanimation", inactiveanimation);
    v.boolean("useimagecolor", useimagecolor);
    v.color("imagecolor", imagecolor);
    v.color("activeimagecolor", activeimagecolor);
    v.boolean("inactivetransparent", inactivetransparent);
    v.rect("checkimagerect", checkimagerect);
    v.rect("activecheckimagerect", activecheckimagerect);
    v.rect("radioimagerect", radioimagerect);
    v.rect("activeradioimagerect", activeradioimagerect);
    v.rect("arrowimagerect", arrowimagerect);
    v.rect("activearrowimagerect", activearrowimagerect);
  }
};

class TskDataSkinMainMenuItem : public TskDataSkinObject {
 public:
  using TskDataSkinObject::TskDataSkinObject;
  int32_t itemleftoffset = 0;
  int32_t itemrightoffset = 0;
  SkinRect downrect;
  SkinRect textrect;
  std::string fontname = "Arial";
  int32_t fontheight = 14;
  uint8_t fontstyle = fsPlain;
  SkinColor fontcolor = 0;
  SkinColor activefontcolor = 0;
  SkinColor downfontcolor = 0;
  SkinColor unenabledfontcolor = 0;
  bool stretcheffect = false;
  SkinRect animateskinrect;
  int32_t framecount = 0;
  int32_t animateinterval = 25;
  bool inactiveanimation = false;
  const char* className() const override { return "TskDataSkinMainMenuItem"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinObject::visitFields(v);
    v.integer("itemleftoffset", itemleftoffset, 0);
    v.integer("itemrightoffset", itemrightoffset, 0);
    v.rect("downrect", downrect);
    v.rect("textrect", textrect);
    v.string("fontname", fontname, "Arial");
    v.integer("fontheight", fontheight, 14);
    v.fontStyle("fontstyle", fontstyle);
    v.color("fontcolor", fontcolor);
    v.color("activefontcolor", activefontcolor);
    v.color("downfontcolor", downfontcolor);
    v.color("unenabledfontColor", unenabledfontcolor);
    v.boolean("stretcheffect", stretcheffect);
    v.rect("animateskinrect", animateskinrect);
    v.integer("framecount", framecount, 0);
    v.integer("animateinterval", animateinterval, 25);
    v.boolean("inactiveanimation", inactiveanimation);
  }
};

class TskDataSkinMainMenuBarItem : public TskDataSkinMainMenuItem {
 public:
  using TskDataSkinMainMenuItem::TskDataSkinMainMenuItem;
  const char* className() const override { return "TskDataSkinMainMenuBarItem"; }
};

class TskDataSkinLabel : public TskDataSkinObject {
 public:
  using TskDataSkinObject::TskDataSkinObject;
  std::string fontname = "Arial";
  int32_t fontheight = 14;
  uint8_t fontstyle = fsPlain;
  SkinColor fontcolor = 0;
  SkinColor activefontcolor = 0;
  SkinAlignment alignment = SkinAlignment::Center;
  std::string textvalue;
  const char* className() const override { return "TskDataSkinLabel"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinObject::visitFields(v);
    v.string("fontName", fontname, "Arial");
    v.integer("fontheight", fontheight, 14);
    v.fontStyle("fontstyle", fontstyle);
    v.color("fontcolor", fontcolor);
    v.color("activefontcolor", activefontcolor);
    v.alignment("alignment", alignment);
    v.string("textvalue", textvalue, "");
  }
};

class TskDataSkinBitLabel : public TskDataSkinObject {
 public:
  using TskDataSkinObject::TskDataSkinObject;
  std::string textvalue;
  int32_t symbolwidth = 0;
  int32_t symbolheight = 0;
  std::string symbols;
  bool transparent = false;
  SkinColor transparentcolor = 0;
  const char* className() const override { return "TskDataSkinBitLabel"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinObject::visitFields(v);
    v.string("textvalue", textvalue, "");
    v.integer("symbolwidth", symbolwidth, 0);
    v.integer("symbolheight", symbolheight, 0);
    v.string("symbols", symbols, "");
    v.boolean("transparent", transparent);
    v.color("transparentcolor", transparentcolor);
  }
};

class TskDataSkinGauge : public TskDataSkinObject {
 public:
  using TskDataSkinObject::TskDataSkinObject;
  int32_t minvalue = 0;
  int32_t maxvalue = 0;
  GaugeKind kind = GaugeKind::Horizontal;
  const char* className() const override { return "TskDataSkinGauge"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinObject::visitFields(v);
    v.integer("minvalue", minvalue, 0);
    v.integer("maxvalue", maxvalue, 0);
    v.gaugeKind("kind", kind);
  }
};

class TskDataSkinFrameGaugeObject : public TskDataSkinObject {
 public:
  using TskDataSkinObject::TskDataSkinObject;
  int32_t minvalue = 0;
  int32_t maxvalue = 0;
  int32_t countframes = 0;
  FramesPlacement framesplacement = FramesPlacement::Horizontal;
  const char* className() const override { return "TskDataSkinFrameGaugeObject"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinObject::visitFields(v);
    v.integer("minvalue", minvalue, 0);
    v.integer("maxvalue", maxvalue, 0);
    v.integer("countframes", countframes, 0);
    v.framesPlacement("framesplacement", framesplacement);
  }
};

class TskDataSkinFrameRegulatorObject : public TskDataSkinObject {
 public:
  using TskDataSkinObject::TskDataSkinObject;
  int32_t minvalue = 0;
  int32_t maxvalue = 0;
  int32_t countframes = 0;
  FramesPlacement framesplacement = FramesPlacement::Horizontal;
  RegulatorKind kind = RegulatorKind::Round;
  const char* className() const override { return "TskDataSkinFrameRegulatorObject"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinObject::visitFields(v);
    v.integer("minvalue", minvalue, 0);
    v.integer("maxvalue", maxvalue, 0);
    v.integer("countframes", countframes, 0);
    v.framesPlacement("framesplacement", framesplacement);
    v.regulatorKind("kind", kind);
  }
};

class TskDataSkinTrackBar : public TskDataSkinObject {
 public:
  using TskDataSkinObject::TskDataSkinObject;
  SkinRect buttonrect;
  SkinRect activebuttonrect;
  SkinPoint beginpoint;
  SkinPoint endpoint;
  int32_t minvalue = 0;
  int32_t maxvalue = 0;
  bool mousedownchangevalue = false;
  bool buttontransparent = false;
  SkinColor buttontransparentcolor = 0;
  const char* className() const override { return "TskDataSkinTrackBar"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinObject::visitFields(v);
    v.rect("buttonrect", buttonrect);
    v.rect("activebuttonrect", activebuttonrect);
    v.point("beginpoint", beginpoint);
    v.point("endpoint", endpoint);
    v.integer("minvalue", minvalue, 0);
    v.integer("maxvalue", maxvalue, 0);
    v.boolean("mousedownchangevalue", mousedownchangevalue);
    v.boolean("buttontransparent", buttontransparent);
    v.color("buttontransparentcolor", buttontransparentcolor);
  }
};

class TskDataSkinAnimate : public TskDataSkinObject {
 public:
  using TskDataSkinObject::TskDataSkinObject;
  int32_t countframes = 0;
  bool cycle = false;
  bool buttonstyle = false;
  int32_t timerinterval = 0;
  SkinCommand command = SkinCommand::Default;
  SkinRect downskinrect;
  SkinRect restorerect;
  SkinRect restoreactiverect;
  SkinRect restoredownrect;
  SkinRect restoreinactiverect;
  const char* className() const override { return "TskDataSkinAnimate"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinObject::visitFields(v);
    v.integer("countframes", countframes, 0);
    v.boolean("cycle", cycle);
    v.boolean("buttonstyle", buttonstyle);
    v.integer("timerinterval", timerinterval, 0);
    v.command("command", command);
    v.rect("downskinrect", downskinrect);
    v.rect("restorerect", restorerect);
    v.rect("restoreactiverect", restoreactiverect);
    v.rect("restoredownrect", restoredownrect);
    v.rect("restoreinactiverect", restoreinactiverect);
  }
};

class TskDataSkinSwitch : public TskDataSkinObject {
 public:
  using TskDataSkinObject::TskDataSkinObject;
  const char* className() const override { return "TskDataSkinSwitch"; }
};

class TskDataSkinControl : public SkinRecord {
 public:
  using SkinRecord::SkinRecord;
  int32_t pictureindex = -1;
  int32_t maskpictureindex = -1;
  int32_t cursorindex = -1;
  SkinRect skinrect;
  const char* className() const override { return "TskDataSkinControl"; }
  void visitFields(FieldVisitor& v) override {
    SkinRecord::visitFields(v);
    v.pictureIndex("pictureindex", pictureindex);
    v.pictureIndex("maskpictureindex", maskpictureindex);
    v.integer("cursorindex", cursorindex, -1);
    v.rect("skinrect", skinrect);
  }
};

class TskDataSkinCustomControl : public TskDataSkinControl {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  SkinPoint lefttoppoint;
  SkinPoint righttoppoint;
  SkinPoint leftbottompoint;
  SkinPoint rightbottompoint;
  SkinRect clientrect;
  bool leftstretch = false;
  bool topstretch = false;
  bool rightstretch = false;
  bool bottomstretch = false;
  bool stretcheffect = false;
  StretchType stretchtype = StretchType::Full;
  const char* className() const override { return "TskDataSkinCustomControl"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinControl::visitFields(v);
    v.point("lefttoppoint", lefttoppoint);
    v.point("righttoppoint", righttoppoint);
    v.point("leftbottompoint", leftbottompoint);
    v.point("rightbottompoint", rightbottompoint);
    v.rect("clientrect", clientrect);
    v.boolean("leftstretch", leftstretch);
    v.boolean("topstretch", topstretch);
    v.boolean("rightstretch", rightstretch);
    v.boolean("bottomstretch", bottomstretch);
    v.boolean("stretcheffect", stretcheffect);
    v.stretchType("stretchtype", stretchtype);
  }
};

class TskDataSkinBevel : public TskDataSkinControl {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  SkinColor lightcolor = 0;
  SkinColor darkcolor = 0;
  const char* className() const override { return "TskDataSkinBevel"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinControl::visitFields(v);
    v.color("lightcolor", lightcolor);
    v.color("darkcolor", darkcolor);
  }
};

class TskDataSkinSlider : public TskDataSkinControl {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  SkinColor bgcolor = 0;
  SkinRect hrulerrect;
  SkinRect hthumbrect;
  SkinRect vrulerrect;
  SkinRect vthumbrect;
  int32_t edgesize = 0;
  SkinColor pointscolor = 0;
  const char* className() const override { return "TskDataSkinSlider"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinControl::visitFields(v);
    v.color("bgcolor", bgcolor);
    v.rect("hrulerrect", hrulerrect);
    v.rect("hthumbrect", hthumbrect);
    v.rect("vrulerrect", vrulerrect);
    v.rect("vthumbrect", vthumbrect);
    v.integer("edgesize", edgesize, 0);
    v.color("pointscolor", pointscolor);
  }
};

class TskDataSkinTreeView : public TskDataSkinControl {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  std::string fontname = "Arial";
  int32_t fontheight = 14;
  uint8_t fontstyle = fsPlain;
  SkinColor fontcolor = 0;
  SkinColor bgcolor = 0;
  const char* className() const override { return "TskDataSkinTreeView"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinControl::visitFields(v);
    v.string("fontname", fontname, "Arial");
    v.integer("fontheight", fontheight, 14);
    v.fontStyle("fontstyle", fontstyle);
    v.color("fontcolor", fontcolor);
    v.color("bgcolor", bgcolor);
  }
};

class TskDataSkinListView : public TskDataSkinControl {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  std::string fontname = "Arial";
  int32_t fontheight = 14;
  uint8_t fontstyle = fsPlain;
  SkinColor fontcolor = 0;
  SkinColor bgcolor = 0;
  const char* className() const override { return "TskDataSkinListView"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinControl::visitFields(v);
    v.string("fontname", fontname, "Arial");
    v.integer("fontheight", fontheight, 14);
    v.fontStyle("fontstyle", fontstyle);
    v.color("fontcolor", fontcolor);
    v.color("bgcolor", bgcolor);
  }
};

class TskDataSkinRichEdit : public TskDataSkinControl {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  std::string fontname = "Arial";
  int32_t fontheight = 14;
  uint8_t fontstyle = fsPlain;
  SkinColor fontcolor = 0;
  SkinColor bgcolor = 0;
  const char* className() const override { return "TskDataSkinRichEdit"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinControl::visitFields(v);
    v.string("fontname", fontname, "Arial");
    v.integer("fontheight", fontheight, 14);
    v.fontStyle("fontstyle", fontstyle);
    v.color("fontcolor", fontcolor);
    v.color("bgcolor", bgcolor);
  }
};

class TskDataSkinMainMenuBar : public TskDataSkinControl {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  SkinRect itemsrect;
  std::string menubaritem;
  std::string closebutton;
  std::string minbutton;
  std::string maxbutton;
  std::string sysmenubutton;
  SkinColor trackmarkcolor = 0;
  SkinColor trackmarkactivecolor = 0;
  bool stretcheffect = false;
  bool itemtransparent = false;
  const char* className() const override { return "TskDataSkinMainMenuBar"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinControl::visitFields(v);
    v.rect("itemsrect", itemsrect);
    v.string("menubaritem", menubaritem, "");
    v.string("closebutton", closebutton, "");
    v.string("minbutton", minbutton, "");
    v.string("maxbutton", maxbutton, "");
    v.string("sysmenubutton", sysmenubutton, "");
    v.color("trackmarkcolor", trackmarkcolor);
    v.color("trackmarkactivecolor", trackmarkactivecolor);
    v.boolean("stretcheffect", stretcheffect);
    v.boolean("itemtransparent", itemtransparent);
  }
};

class TskDataSkinTabControl : public TskDataSkinControl {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  SkinRect tabrect;
  SkinRect activetabrect;
  SkinRect focustabrect;
  SkinRect mouseintabrect;
  SkinRect clientrect;
  int32_t bgpictureindex = -1;
  SkinPoint lefttoppoint;
  SkinPoint righttoppoint;
  SkinPoint leftbottompoint;
  SkinPoint rightbottompoint;
  int32_t tableftoffset = 0;
  int32_t tabrightoffset = 0;
  SkinRect tabsbgrect;
  bool tabstretcheffect = false;
  bool leftstretch = false;
  bool topstretch = false;
  bool rightstretch = false;
  bool bottomstretch = false;
  bool stretcheffect = false;
  StretchType stretchtype = StretchType::Full;
  std::string fontname = "Arial";
  int32_t fontheight = 14;
  uint8_t fontstyle = fsPlain;
  SkinColor fontcolor = 0;
  SkinColor activefontcolor = 0;
  SkinColor focusfontcolor = 0;
  SkinColor mouseinfontcolor = 0;
  std::string updown;
  bool showfocus = false;
  int32_t focusoffsetx = 0;
  int32_t focusoffsety = 0;
  SkinRect closebuttonrect;
  SkinRect closebuttonactiverect;
  SkinRect closebuttondownrect;
  bool buttontransparent = false;
  SkinColor buttontransparentcolor = 0;
  const char* className() const override { return "TskDataSkinTabControl"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinControl::visitFields(v);
    v.rect("tabrect", tabrect);
    v.rect("activetabrect", activetabrect);
    v.rect("focustabrect", focustabrect);
    v.rect("mouseintabrect", mouseintabrect);
    v.rect("clientrect", clientrect);
    v.pictureIndex("bgpictureindex", bgpictureindex);
    v.point("lefttoppoint", lefttoppoint);
    v.point("righttoppoint", righttoppoint);
    v.point("leftbottompoint", leftbottompoint);
    v.point("rightbottompoint", rightbottompoint);
    v.integer("tableftoffset", tableftoffset, 0);
    v.integer("tabrightoffset", tabrightoffset, 0);
    v.rect("tabsbgrect", tabsbgrect);
    v.boolean("tabstretcheffect", tabstretcheffect);
    v.boolean("leftstretch", leftstretch);
    v.boolean("topstretch", topstretch);
    v.boolean("rightstretch", rightstretch);
    v.boolean("bottomstretch", bottomstretch);
    v.boolean("stretcheffect", stretcheffect);
    v.stretchType("stretchtype", stretchtype);
    v.string("fontname", fontname, "Arial");
    v.integer("fontheight", fontheight, 14);
    v.fontStyle("fontstyle", fontstyle);
    v.color("fontcolor", fontcolor);
    v.color("activefontcolor", activefontcolor);
    v.color("focusfontcolor", focusfontcolor);
    v.color("mouseinfontcolor", mouseinfontcolor);
    v.string("updown", updown, "");
    v.boolean("showfocus", showfocus);
    v.integer("focusoffsetx", focusoffsetx, 0);
    v.integer("focusoffsety", focusoffsety, 0);
    v.rect("closebuttonrect", closebuttonrect);
    v.rect("closebuttonactiverect", closebuttonactiverect);
    v.rect("closebuttondownrect", closebuttondownrect);
    v.boolean("buttontransparent", buttontransparent);
    v.color("buttontransparentcolor", buttontransparentcolor);
  }
};

class TskDataSkinGridControl : public TskDataSkinControl {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  SkinRect fixedcellrect;
  SkinRect selectcellrect;
  SkinRect focuscellrect;
  int32_t fixedcellleftoffset = 0;
  int32_t fixedcellrightoffset = 0;
  SkinRect fixedcelltextrect;
  int32_t cellleftoffset = 0;
  int32_t cellrightoffset = 0;
  SkinRect celltextrect;
  SkinColor linescolor = 0;
  SkinColor bgcolor = 0;
  int32_t bgpictureindex = -1;
  std::string fontname = "Arial";
  int32_t fontheight = 14;
  uint8_t fontstyle = fsPlain;
  SkinColor fontcolor = 0;
  SkinColor selectfontcolor = 0;
  SkinColor focusfontcolor = 0;
  std::string fixedfontname = "Arial";
  int32_t fixedfontheight = 14;
  uint8_t fixedfontstyle = fsPlain;
  SkinColor fixedfontcolor = 0;
  bool cellstretcheffect = false;
  bool fixedcellstretcheffect = false;
  bool showfocus = false;
  const char* className() const override { return "TskDataSkinGridControl"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinControl::visitFields(v);
    v.rect("fixedcellrect", fixedcellrect);
    v.rect("selectcellrect", selectcellrect);
    v.rect("focuscellrect", focuscellrect);
    v.integer("fixedcellleftoffset", fixedcellleftoffset, 0);
    v.integer("fixedcellrightoffset", fixedcellrightoffset, 0);
    v.rect("fixedcelltextrect", fixedcelltextrect);
    v.integer("cellleftoffset", cellleftoffset, 0);
    v.integer("cellrightoffset", cellrightoffset, 0);
    v.rect("celltextrect", celltextrect);
    v.color("linescolor", linescolor);
    v.color("bgcolor", bgcolor);
    v.pictureIndex("bgpictureindex", bgpictureindex);
    v.string("fontname", fontname, "Arial");
    v.integer("fontheight", fontheight, 14);
    v.fontStyle("fontstyle", fontstyle);
    v.color("fontcolor", fontcolor);
    v.color("selectfontcolor", selectfontcolor);
    v.color("focusfontcolor", focusfontcolor);
    v.string("fixedfontname", fixedfontname, "Arial");
    v.integer("fixedfontheight", fixedfontheight, 14);
    v.fontStyle("fixedfontstyle", fixedfontstyle);
    v.color("fixedfontcolor", fixedfontcolor);
    v.boolean("cellstretcheffect", cellstretcheffect);
    v.boolean("fixedcellstretcheffect", fixedcellstretcheffect);
    v.boolean("showfocus", showfocus);
  }
};

class TskDataSkinStdLabelControl : public TskDataSkinControl {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  std::string fontname = "Arial";
  int32_t fontheight = 14;
  uint8_t fontstyle = fsPlain;
  SkinColor fontcolor = 0;
  SkinColor activefontcolor = 0;
  const char* className() const override { return "TskDataSkinStdLabelControl"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinControl::visitFields(v);
    v.string("fontname", fontname, "Arial");
    v.integer("fontheight", fontheight, 14);
    v.fontStyle("fontstyle", fontstyle);
    v.color("fontcolor", fontcolor);
    v.color("activefontcolor", activefontcolor);
  }
};

class TskDataSkinFrameControl : public TskDataSkinControl {
 public:
  using TskDataSkinControl::TskDataSkinControl;
  int32_t framescount = 0;
  FramesPlacement framesplacement = FramesPlacement::Horizontal;
  const char* className() const override { return "TskDataSkinFrameControl"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinControl::visitFields(v);
    v.integer("framescount", framescount, 0);
    v.framesPlacement("framesplacement", framesplacement);
  }
};

class TskDataSkinAnimateControl : public TskDataSkinFrameControl {
 public:
  using TskDataSkinFrameControl::TskDataSkinFrameControl;
  const char* className() const override { return "TskDataSkinAnimateControl"; }
};

class TskDataSkinSwitchControl : public TskDataSkinFrameControl {
 public:
  using TskDataSkinFrameControl::TskDataSkinFrameControl;
  const char* className() const override { return "TskDataSkinSwitchControl"; }
};

class TskDataSkinFrameGauge : public TskDataSkinFrameControl {
 public:
  using TskDataSkinFrameControl::TskDataSkinFrameControl;
  const char* className() const override { return "TskDataSkinFrameGauge"; }
};

class TskDataSkinFrameRegulator : public TskDataSkinFrameControl {
 public:
  using TskDataSkinFrameControl::TskDataSkinFrameControl;
  RegulatorKind kind = RegulatorKind::Round;
  const char* className() const override { return "TskDataSkinFrameRegulator"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinFrameControl::visitFields(v);
    v.regulatorKind("kind", kind);
  }
};

class TskDataSkinControlBar : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  SkinRect itemrect;
  int32_t bgpictureindex = -1;
  SkinRect hgriprect;
  SkinRect vgriprect;
  int32_t gripoffset1 = 0;
  int32_t gripoffset2 = 0;
  bool itemstretcheffect = false;
  int32_t itemoffset1 = 0;
  int32_t itemoffset2 = 0;
  bool itemtransparent = false;
  SkinColor itemtransparentcolor = 0;
  bool griptransparent = false;
  SkinColor griptransparentcolor = 0;
  const char* className() const override { return "TskDataSkinControlBar"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinCustomControl::visitFields(v);
    v.rect("itemrect", itemrect);
    v.pictureIndex("bgpictureindex", bgpictureindex);
    v.rect("hgriprect", hgriprect);
    v.rect("vgriprect", vgriprect);
    v.integer("gripoffset1", gripoffset1, 0);
    v.integer("gripoffset2", gripoffset2, 0);
    v.boolean("itemstretcheffect", itemstretcheffect);
    v.integer("itemoffset1", itemoffset1, 0);
    v.integer("itemoffset2", itemoffset2, 0);
    v.boolean("itemtransparent", itemtransparent);
    v.color("itemtransparentcolor", itemtransparentcolor);
    v.boolean("griptransparent", griptransparent);
    v.color("griptransparentcolor", griptransparentcolor);
  }
};

class TskDataSkinUpDownControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  SkinRect upbuttonrect;
  SkinRect activeupbuttonrect;
  SkinRect downupbuttonrect;
  SkinRect downbuttonrect;
  SkinRect activedownbuttonrect;
  SkinRect downdownbuttonrect;
  const char* className() const override { return "TskDataSkinUpDownControl"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinCustomControl::visitFields(v);
    v.rect("upbuttonrect", upbuttonrect);
    v.rect("activeupbuttonrect", activeupbuttonrect);
    v.rect("downupbuttonrect", downupbuttonrect);
    v.rect("downbuttonrect", downbuttonrect);
    v.rect("activedownbuttonrect", activedownbuttonrect);
    v.rect("downdownbuttonrect", downdownbuttonrect);
  }
};

class TskDataSkinComboBox : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  SkinRect activeskinrect;
  SkinRect itemrect;
  SkinRect activeitemrect;
  SkinRect focusitemrect;
  int32_t itemleftoffset = 0;
  int32_t itemrightoffset = 0;
  SkinRect itemtextrect;
  std::string fontname = "Arial";
  int32_t fontheight = 14;
  uint8_t fontstyle = fsPlain;
  SkinColor fontcolor = 0;
  SkinColor focusfontcolor = 0;
  SkinColor activefontcolor = 0;
  std::string listboxname;
  SkinRect buttonrect;
  SkinRect activebuttonrect;
  SkinRect downbuttonrect;
  SkinRect unenabledbuttonrect;
  bool itemstretcheffect = false;
  bool focusitemstretcheffect = false;
  bool showfocus = false;
  const char* className() const override { return "TskDataSkinComboBox"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinCustomControl::visitFields(v);
    v.rect("activeskinrect", activeskinrect);
    v.rect("itemrect", itemrect);
    v.rect("activeitemrect", activeitemrect);
    v.rect("focusitemrect", focusitemrect);
    v.integer("itemleftoffset", itemleftoffset, 0);
    v.integer("itemrightoffset", itemrightoffset, 0);
    v.rect("itemtextrect", itemtextrect);
    v.string("fontname", fontname, "Arial");
    v.integer("fontheight", fontheight, 14);
    v.fontStyle("fontstyle", fontstyle);
    v.color("fontcolor", fontcolor);
    v.color("focusfontcolor", focusfontcolor);
    v.color("activefontcolor", activefontcolor);
    v.string("listboxname", listboxname, "");
    v.rect("buttonrect", buttonrect);
    v.rect("activebuttonrect", activebuttonrect);
    v.rect("downbuttonrect", downbuttonrect);
    v.rect("unenabledbuttonrect", unenabledbuttonrect);
    v.boolean("itemstretcheffect", itemstretcheffect);
    v.boolean("focusitemstretcheffect", focusitemstretcheffect);
    v.boolean("showfocus", showfocus);
  }
};

class TskDataSkinListBox : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  SkinRect itemrect;
  SkinRect activeitemrect;
  SkinRect focusitemrect;
  int32_t itemleftoffset = 0;
  int32_t itemrightoffset = 0;
  SkinRect itemtextrect;
  std::string fontname = "Arial";
  int32_t fontheight = 14;
  uint8_t fontstyle = fsPlain;
  SkinColor fontcolor = 0;
  SkinColor activefontcolor = 0;
  SkinColor focusfontcolor = 0;
  SkinRect captionrect;
  std::string captionfontname = "Arial";
  int32_t captionfontheight = 14;
  uint8_t captionfontstyle = fsPlain;
  SkinColor captionfontcolor = 0;
  SkinRect upbuttonrect;
  SkinRect activeupbuttonrect;
  SkinRect downupbuttonrect;
  SkinRect downbuttonrect;
  SkinRect activedownbuttonrect;
  SkinRect downdownbuttonrect;
  SkinRect checkbuttonrect;
  SkinRect activecheckbuttonrect;
  SkinRect downcheckbuttonrect;
  std::string vscrollbarname = "vscrollbar";
  std::string hscrollbarname = "hscrollbar";
  std::string bothhscrollbarname = "bothhscrollbar";
  bool showfocus = false;
  const char* className() const override { return "TskDataSkinListBox"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinCustomControl::visitFields(v);
    v.rect("itemrect", itemrect);
    v.rect("activeitemrect", activeitemrect);
    v.rect("focusitemrect", focusitemrect);
    v.integer("itemleftoffset", itemleftoffset, 0);
    v.integer("itemrightoffset", itemrightoffset, 0);
    v.rect("itemtextrect", itemtextrect);
    v.string("fontname", fontname, "Arial");
    v.integer("fontheight", fontheight, 14);
    v.fontStyle("fontstyle", fontstyle);
    v.color("fontcolor", fontcolor);
    v.color("activefontcolor", activefontcolor);
    v.color("focusfontcolor", focusfontcolor);
    v.rect("captionrect", captionrect);
    v.string("captionfontname", captionfontname, "Arial");
    v.integer("captionfontheight", captionfontheight, 14);
    v.fontStyle("captionfontstyle", captionfontstyle);
    v.color("captionfontcolor", captionfontcolor);
    v.rect("upbuttonrect", upbuttonrect);
    v.rect("activeupbuttonrect", activeupbuttonrect);
    v.rect("downupbuttonrect", downupbuttonrect);
    v.rect("downbuttonrect", downbuttonrect);
    v.rect("activedownbuttonrect", activedownbuttonrect);
    v.rect("downdownbuttonrect", downdownbuttonrect);
    v.rect("checkbuttonrect", checkbuttonrect);
    v.rect("activecheckbuttonrect", activecheckbuttonrect);
    v.rect("downcheckbuttonrect", downcheckbuttonrect);
    v.string("vscrollbarname", vscrollbarname, "vscrollbar");
    v.string("hscrollbarname", hscrollbarname, "hscrollbar");
    v.string("bothhscrollbarname", bothhscrollbarname, "bothhscrollbar");
    v.boolean("showfocus", showfocus);
  }
};

class TskDataSkinCheckListBox : public TskDataSkinListBox {
 public:
  using TskDataSkinListBox::TskDataSkinListBox;
  SkinRect checkimagerect;
  SkinRect uncheckimagerect;
  const char* className() const override { return "TskDataSkinCheckListBox"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinListBox::visitFields(v);
    v.rect("checkimagerect", checkimagerect);
    v.rect("uncheckimagerect", uncheckimagerect);
  }
};

class TskDataSkinScrollBarControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  SkinRect trackarea;
  SkinRect upbuttonrect;
  SkinRect activeupbuttonrect;
  SkinRect downupbuttonrect;
  SkinRect downbuttonrect;
  SkinRect activedownbuttonrect;
  SkinRect downdownbuttonrect;
  SkinRect thumbrect;
  SkinRect activethumbrect;
  SkinRect downthumbrect;
  int32_t thumboffset1 = 0;
  int32_t thumboffset2 = 0;
  bool thumbtransparent = false;
  SkinColor thumbtransparentcolor = 0;
  bool thumbstretcheffect = false;
  int32_t thumbminsize = 0;
  int32_t thumbminpagesize = 0;
  SkinRect glyphrect;
  SkinRect activeglyphrect;
  SkinRect downglyphrect;
  bool glyphtransparent = false;
  SkinColor glyphtransparentcolor = 0;
  const char* className() const override { return "TskDataSkinScrollBarControl"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinCustomControl::visitFields(v);
    v.rect("trackarea", trackarea);
    v.rect("upbuttonrect", upbuttonrect);
    v.rect("activeupbuttonrect", activeupbuttonrect);
    v.rect("downupbuttonrect", downupbuttonrect);
    v.rect("downbuttonrect", downbuttonrect);
    v.rect("activedownbuttonrect", activedownbuttonrect);
    v.rect("downdownbuttonrect", downdownbuttonrect);
    v.rect("thumbrect", thumbrect);
    v.rect("activethumbrect", activethumbrect);
    v.rect("downthumbrect", downthumbrect);
    v.integer("thumboffset1", thumboffset1, 0);
    v.integer("thumboffset2", thumboffset2, 0);
    v.boolean("thumbtransparent", thumbtransparent);
    v.color("thumbtransparentcolor", thumbtransparentcolor);
    v.boolean("thumbstretcheffect", thumbstretcheffect);
    v.integer("thumbminsize", thumbminsize, 0);
    v.integer("thumbminpagesize", thumbminpagesize, 0);
    v.rect("glyphrect", glyphrect);
    v.rect("activeglyphrect", activeglyphrect);
    v.rect("downglyphrect", downglyphrect);
    v.boolean("glyphtransparent", glyphtransparent);
    v.color("glyphtransparentcolor", glyphtransparentcolor);
  }
};

class TskDataSkinSpinEditControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  SkinRect activeskinrect;
  std::string fontname = "Arial";
  int32_t fontheight = 14;
  uint8_t fontstyle = fsPlain;
  SkinColor fontcolor = 0;
  SkinColor activefontcolor = 0;
  SkinColor disabledfontcolor = 0;
  SkinRect upbuttonrect;
  SkinRect activeupbuttonrect;
  SkinRect downupbuttonrect;
  SkinRect downbuttonrect;
  SkinRect activedownbuttonrect;
  SkinRect downdownbuttonrect;
  const char* className() const override { return "TskDataSkinSpinEditControl"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinCustomControl::visitFields(v);
    v.rect("activeskinrect", activeskinrect);
    v.string("fontname", fontname, "Arial");
    v.integer("fontheight", fontheight, 14);
    v.fontStyle("fontstyle", fontstyle);
    v.color("fontcolor", fontcolor);
    v.color("activefontcolor", activefontcolor);
    v.color("disabledfontcolor", disabledfontcolor);
    v.rect("upbuttonrect", upbuttonrect);
    v.rect("activeupbuttonrect", activeupbuttonrect);
    v.rect("downupbuttonrect", downupbuttonrect);
    v.rect("downbuttonrect", downbuttonrect);
    v.rect("activedownbuttonrect", activedownbuttonrect);
    v.rect("downdownbuttonrect", downdownbuttonrect);
  }
};

class TskDataSkinEditControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  SkinRect activeskinrect;
  std::string fontname = "Arial";
  int32_t fontheight = 14;
  uint8_t fontstyle = fsPlain;
  SkinColor fontcolor = 0;
  SkinColor disabledfontcolor = 0;
  SkinColor activefontcolor = 0;
  SkinRect buttonrect;
  SkinRect activebuttonrect;
  SkinRect downbuttonrect;
  SkinRect unenabledbuttonrect;
  const char* className() const override { return "TskDataSkinEditControl"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinCustomControl::visitFields(v);
    v.rect("activeskinrect", activeskinrect);
    v.string("fontname", fontname, "Arial");
    v.integer("fontheight", fontheight, 14);
    v.fontStyle("fontstyle", fontstyle);
    v.color("fontcolor", fontcolor);
    v.color("disabledfontcolor", disabledfontcolor);
    v.color("activefontcolor", activefontcolor);
    v.rect("buttonrect", buttonrect);
    v.rect("activebuttonrect", activebuttonrect);
    v.rect("downbuttonrect", downbuttonrect);
    v.rect("unenabledbuttonrect", unenabledbuttonrect);
  }
};

class TskDataSkinMemoControl : public TskDataSkinEditControl {
 public:
  using TskDataSkinEditControl::TskDataSkinEditControl;
  SkinColor bgcolor = 0;
  SkinColor activebgcolor = 0;
  const char* className() const override { return "TskDataSkinMemoControl"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinEditControl::visitFields(v);
    v.color("bgcolor", bgcolor);
    v.color("activebgcolor", activebgcolor);
  }
};

class TskDataSkinLabelControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  std::string fontname = "Arial";
  int32_t fontheight = 14;
  uint8_t fontstyle = fsPlain;
  SkinColor fontcolor = 0;
  const char* className() const override { return "TskDataSkinLabelControl"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinCustomControl::visitFields(v);
    v.string("fontname", fontname, "Arial");
    v.integer("fontheight", fontheight, 14);
    v.fontStyle("fontstyle", fontstyle);
    v.color("fontcolor", fontcolor);
  }
};

class TskDataSkinBitLabelControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  SkinRect skintextrect;
  int32_t symbolwidth = 0;
  int32_t symbolheight = 0;
  std::string symbols;
  const char* className() const override { return "TskDataSkinBitLabelControl"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinCustomControl::visitFields(v);
    v.rect("skintextrect", skintextrect);
    v.integer("symbolwidth", symbolwidth, 0);
    v.integer("symbolheight", symbolheight, 0);
    v.string("symbols", symbols, "");
  }
};

class TskDataSkinTrackBarControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  SkinRect activeskinrect;
  SkinRect trackarea;
  SkinRect buttonrect;
  SkinRect activebuttonrect;
  bool vertical = false;
  bool buttontransparent = false;
  SkinColor buttontransparentcolor = 0;
  const char* className() const override { return "TskDataSkinTrackBarControl"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinCustomControl::visitFields(v);
    v.rect("activeskinrect", activeskinrect);
    v.rect("trackarea", trackarea);
    v.rect("buttonrect", buttonrect);
    v.rect("activebuttonrect", activebuttonrect);
    v.boolean("vertical", vertical);
    v.boolean("buttontransparent", buttontransparent);
    v.color("buttontransparentcolor", buttontransparentcolor);
  }
};

class TskDataSkinSplitterControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  SkinRect gripperrect;
  bool grippertransparent = false;
  SkinColor grippertransparentcolor = 0;
  const char* className() const override { return "TskDataSkinSplitterControl"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinCustomControl::visitFields(v);
    v.rect("gripperrect", gripperrect);
    v.boolean("grippertransparent", grippertransparent);
    v.color("grippertransparentcolor", grippertransparentcolor);
  }
};

class TskDataSkinGaugeControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  SkinRect progressarea;
  SkinRect progressrect;
  int32_t beginoffset = 0;
  int32_t endoffset = 0;
  bool vertical = false;
  std::string fontname = "Arial";
  int32_t fontheight = 14;
  uint8_t fontstyle = fsPlain;
  SkinColor fontcolor = 0;
  bool progresstransparent = false;
  SkinColor progresstransparentcolor = 0;
  bool progressstretch = false;
  SkinRect animationskinrect;
  int32_t animationcountframes = 0;
  int32_t animationtimerinterval = 0;
  SkinRect progressanimationskinrect;
  int32_t progressanimationcountframes = 0;
  int32_t progressanimationtimerinterval = 0;
  int32_t animationbeginoffset = 0;
  int32_t animationendoffset = 0;
  const char* className() const override { return "TskDataSkinGaugeControl"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinCustomControl::visitFields(v);
    v.rect("progressarea", progressarea);
    v.rect("progressrect", progressrect);
    v.integer("beginoffset", beginoffset, 0);
    v.integer("endoffset", endoffset, 0);
    v.boolean("vertical", vertical);
    v.string("fontname", fontname, "Arial");
    v.integer("fontheight", fontheight, 14);
    v.fontStyle("fontstyle", fontstyle);
    v.color("fontcolor", fontcolor);
    v.boolean("progresstransparent", progresstransparent);
    v.color("progresstransparentcolor", progresstransparentcolor);
    v.boolean("progressstretch", progressstretch);
    v.rect("animationskinrect", animationskinrect);
    v.integer("animationcountframes", animationcountframes, 0);
    v.integer("animationtimerinterval", animationtimerinterval, 0);
    v.rect("progressanimationskinrect", progressanimationskinrect);
    v.integer("progressanimationcountframes", progressanimationcountframes, 0);
    v.integer("progressanimationtimerinterval", progressanimationtimerinterval, 0);
    v.integer("animationbeginoffset", animationbeginoffset, 0);
    v.integer("animationendoffset", animationendoffset, 0);
  }
};

class TskDataSkinButtonControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  std::string fontname = "Arial";
  int32_t fontheight = 14;
  uint8_t fontstyle = fsPlain;
  SkinColor fontcolor = 0;
  SkinColor activefontcolor = 0;
  SkinColor disabledfontcolor = 0;
  SkinColor downfontcolor = 0;
  bool morphing = false;
  MorphKind morphkind = MorphKind::Default;
  SkinRect activeskinrect;
  SkinRect downskinrect;
  SkinRect focusedskinrect;
  SkinRect disabledskinrect;
  SkinRect animateskinrect;
  int32_t framecount = 0;
  int32_t animateinterval = 25;
  bool showfocus = false;
  SkinRect menumarkerflatrect;
  SkinRect menumarkerrect;
  SkinRect menumarkeractiverect;
  SkinRect menumarkerdownrect;
  SkinColor menumarkertransparentcolor = 0;
  const char* className() const override { return "TskDataSkinButtonControl"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinCustomControl::visitFields(v);
    v.string("fontname", fontname, "Arial");
    v.integer("fontheight", fontheight, 14);
    v.fontStyle("fontstyle", fontstyle);
    v.color("fontcolor", fontcolor);
    v.color("activefontcolor", activefontcolor);
    v.color("disabledfontcolor", disabledfontcolor);
    v.color("downfontcolor", downfontcolor);
    v.boolean("morphing", morphing);
    v.morphKind("morphkind", morphkind);
    v.rect("activeskinrect", activeskinrect);
    v.rect("downskinrect", downskinrect);
    v.rect("focusedskinrect", focusedskinrect);
    v.rect("disabledskinrect", disabledskinrect);
    v.rect("animateskinrect", animateskinrect);
    v.integer("framecount", framecount, 0);
    v.integer("animateinterval", animateinterval, 25);
    v.boolean("showfocus", showfocus);
    v.rect("menumarkerflatrect", menumarkerflatrect);
    v.rect("menumarkerrect", menumarkerrect);
    v.rect("menumarkeractiverect", menumarkeractiverect);
    v.rect("menumarkerdownrect", menumarkerdownrect);
    v.color("menumarkertransparentcolor", menumarkertransparentcolor);
  }
};

class TskDataSkinMenuButtonControl : public TskDataSkinButtonControl {
 public:
  using TskDataSkinButtonControl::TskDataSkinButtonControl;
  SkinRect trackbuttonrect;
  const char* className() const override { return "TskDataSkinMenuButtonControl"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinButtonControl::visitFields(v);
    v.rect("trackbuttonrect", trackbuttonrect);
  }
};

class TskDataSkinCheckRadioControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  std::string fontname = "Arial";
  int32_t fontheight = 14;
  uint8_t fontstyle = fsPlain;
  SkinColor fontcolor = 0;
  SkinColor activefontcolor = 0;
  SkinColor unenabledfontcolor = 0;
  SkinColor framefontcolor = 0;
  bool morphing = false;
  MorphKind morphkind = MorphKind::Default;
  SkinRect activeskinrect;
  SkinRect checkimagearea;
  SkinRect textarea;
  SkinRect checkimagerect;
  SkinRect uncheckimagerect;
  SkinRect activecheckimagerect;
  SkinRect activeuncheckimagerect;
  SkinRect unenabledcheckimagerect;
  SkinRect unenableduncheckimagerect;
  SkinRect grayedcheckimagerect;
  SkinRect activegrayedcheckimagerect;
  const char* className() const override { return "TskDataSkinCheckRadioControl"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinCustomControl::visitFields(v);
    v.string("fontname", fontname, "Arial");
    v.integer("fontheight", fontheight, 14);
    v.fontStyle("fontstyle", fontstyle);
    v.color("fontcolor", fontcolor);
    v.color("activefontcolor", activefontcolor);
    v.color("unenabledfontcolor", unenabledfontcolor);
    v.color("framefontcolor", framefontcolor);
    v.boolean("morphing", morphing);
    v.morphKind("morphkind", morphkind);
    v.rect("activeskinrect", activeskinrect);
    v.rect("checkimagearea", checkimagearea);
    v.rect("textarea", textarea);
    v.rect("checkimagerect", checkimagerect);
    v.rect("uncheckimagerect", uncheckimagerect);
    v.rect("activecheckimagerect", activecheckimagerect);
    v.rect("activeuncheckimagerect", activeuncheckimagerect);
    v.rect("unenabledcheckimagerect", unenabledcheckimagerect);
    v.rect("unenableduncheckimagerect", unenableduncheckimagerect);
    v.rect("grayedcheckimagerect", grayedcheckimagerect);
    v.rect("activegrayedcheckimagerect", activegrayedcheckimagerect);
  }
};

class TskDataSkinScrollBoxControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  int32_t bgpictureindex = -1;
  const char* className() const override { return "TskDataSkinScrollBoxControl"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinCustomControl::visitFields(v);
    v.pictureIndex("bgpictureindex", bgpictureindex);
  }
};

class TskDataSkinPanelControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  int32_t bgpictureindex = -1;
  SkinRect captionrect;
  SkinAlignment alignment = SkinAlignment::Center;
  std::string fontname = "Arial";
  int32_t fontheight = 14;
  uint8_t fontstyle = fsPlain;
  SkinColor fontcolor = 0;
  SkinRect checkimagerect;
  SkinRect uncheckimagerect;
  SkinRect markframerect;
  SkinRect framerect;
  SkinRect frametextrect;
  int32_t frameleftoffset = 0;
  int32_t framerightoffset = 0;
  SkinRect gripperrect;
  bool grippertransparent = false;
  SkinColor grippertransparentcolor = 0;
  const char* className() const override { return "TskDataSkinPanelControl"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinCustomControl::visitFields(v);
    v.pictureIndex("bgpictureindex", bgpictureindex);
    v.rect("captionrect", captionrect);
    v.alignment("alignment", alignment);
    v.string("fontname", fontname, "Arial");
    v.integer("fontheight", fontheight, 14);
    v.fontStyle("fontstyle", fontstyle);
    v.color("fontcolor", fontcolor);
    v.rect("checkimagerect", checkimagerect);
    v.rect("uncheckimagerect", uncheckimagerect);
    v.rect("markframerect", markframerect);
    v.rect("framerect", framerect);
    v.rect("frametextrect", frametextrect);
    v.integer("frameleftoffset", frameleftoffset, 0);
    v.integer("framerightoffset", framerightoffset, 0);
    v.rect("gripperrect", gripperrect);
    v.boolean("grippertransparent", grippertransparent);
    v.color("grippertransparentcolor", grippertransparentcolor);
  }
};

class TskDataSkinExPanelControl : public TskDataSkinCustomControl {
 public:
  using TskDataSkinCustomControl::TskDataSkinCustomControl;
  SkinRect rollhskinrect;
  SkinRect rollvskinrect;
  int32_t rollleftoffset = 0;
  int32_t rollrightoffset = 0;
  int32_t rolltopoffset = 0;
  int32_t rollbottomoffset = 0;
  SkinRect rollvcaptionrect;
  SkinRect rollhcaptionrect;
  SkinRect closebuttonrect;
  SkinRect closebuttonactiverect;
  SkinRect closebuttondownrect;
  SkinRect hrollbuttonrect;
  SkinRect hrollbuttonactiverect;
  SkinRect hrollbuttondownrect;
  SkinRect hrestorebuttonrect;
  SkinRect hrestorebuttonactiverect;
  SkinRect hrestorebuttondownrect;
  SkinRect vrollbuttonrect;
  SkinRect vrollbuttonactiverect;
  SkinRect vrollbuttondownrect;
  SkinRect vrestorebuttonrect;
  SkinRect vrestorebuttonactiverect;
  SkinRect vrestorebuttondownrect;
  SkinRect captionrect;
  std::string fontname = "Arial";
  int32_t fontheight = 14;
  uint8_t fontstyle = fsPlain;
  SkinColor fontcolor = 0;
  bool buttonstransparent = false;
  SkinColor buttonstransparentcolor = 0;
  const char* className() const override { return "TskDataSkinExPanelControl"; }
  void visitFields(FieldVisitor& v) override {
    TskDataSkinCustomControl::visitFields(v);
    v.rect("rollhskinrect", rollhskinrect);
    v.rect("rollvskinrect", rollvskinrect);
    v.integer("rollleftoffset", rollleftoffset, 0);
    v.integer("rollrightoffset", rollrightoffset, 0);
    v.integer("rolltopoffset", rolltopoffset, 0);
    v.integer("rollbottomoffset", rollbottomoffset, 0);
    v.rect("rollvcaptionrect", rollvcaptionrect);
    v.rect("rollhcaptionrect", rollhcaptionrect);
    v.rect("closebuttonrect", closebuttonrect);
    v.rect("closebuttonactiverect", closebuttonactiverect);
    v.rect("closebuttondownrect", closebuttondownrect);
    v.rect("hrollbuttonrect", hrollbuttonrect);
    v.rect("hrollbuttonactiverect", hrollbuttonactiverect);
    v.rect("hrollbuttondownrect", hrollbuttondownrect);
    v.rect("hrestorebuttonrect", hrestorebuttonrect);
    v.rect("hrestorebuttonactiverect", hrestorebuttonactiverect);
    v.rect("hrestorebuttondownrect", hrestorebuttondownrect);
    v.rect("vrollbuttonrect", vrollbuttonrect);
    v.rect("vrollbuttonactiverect", vrollbuttonactiverect);
    v.rect("vrollbuttondownrect", vrollbuttondownrect);
    v.rect("vrestorebuttonrect", vrestorebuttonrect);
    v.rect("vrestorebuttonactiverect", vrestorebuttonactiverect);
    v.rect("vrestorebuttondownrect", vrestorebuttondownrect);
    v.rect("captionrect", captionrect);
    v.string("fontname", fontname, "Arial");
    v.integer("fontheight", fontheight, 14);
    v.fontStyle("fontstyle", fontstyle);
    v.color("fontcolor", fontcolor);
    v.boolean("buttonstransparent", buttonstransparent);
    v.color("buttonstransparentcolor", buttonstransparentcolor);
  }
};

class TskDataSkinFormInfo : public SkinRecord {
 public:
  using SkinRecord::SkinRecord;
  SkinPoint lefttoppoint;
  SkinPoint righttoppoint;
  SkinPoint leftbottompoint;
  SkinPoint rightbottompoint;
  SkinRect clientrect;
  int32_t bgpictureindex = -1;
  int32_t mdibgpictureindex = -1;
  bool leftstretch = false;
  bool rightstretch = false;
  bool topstretch = false;
  bool bottomstretch = false;
  bool stretcheffect = false;
  StretchType stretchtype = StretchType::Full;
  bool mdibgstretcheffect = false;
  StretchType mdibgstretchtype = StretchType::Full;
  SkinRect buttonsrect;
  SkinRect captionrect;
  int32_t buttonsoffset = 0;
  bool buttonsinleft = false;
  SkinRect maskrectarea;
  SkinPoint hittestlefttoppoint;
  SkinPoint hittestrighttoppoint;
  SkinPoint hittestleftbottompoint;
  SkinPoint hittestrightbottompoint;
  SkinPoint rollupleftpoint;
  SkinPoint rolluprightpoint;
  SkinRect mainmenurect;
  SkinRect iconrect;
  bool mainmenupopupup = false;
  int32_t borderwidth = 0;
  int32_t formminwidth = 0;
  bool mditabstransparent = false;
  bool mainmenubartransparent = false;
  int32_t cursorindex = -1;
  bool autorenderinginactiveimage = false;
  InactiveEffect inactiveeffect = InactiveEffect::Brightness;
  SkinRect sizegriparea;
  std::string statusbarname;
  const char* className() const override { return "TskDataSkinFormInfo"; }
  void visitFields(FieldVisitor& v) override {
    SkinRecord::visitFields(v);
    v.point("lefttoppoint", lefttoppoint);
    v.point("righttoppoint", righttoppoint);
    v.point("leftbottompoint", leftbottompoint);
    v.point("rightbottompoint", rightbottompoint);
    v.rect("clientrect", clientrect);
    v.pictureIndex("bgpictureindex", bgpictureindex);
    v.pictureIndex("mdibgpictureindex", mdibgpictureindex);
    v.boolean("leftstretch", leftstretch);
    v.boolean("rightstretch", rightstretch);
    v.boolean("topstretch", topstretch);
    v.boolean("bottomstretch", bottomstretch);
    v.boolean("stretcheffect", stretcheffect);
    v.stretchType("stretchtype", stretchtype);
    v.boolean("mdibgstretcheffect", mdibgstretcheffect);
    v.stretchType("mdibgstretchtype", mdibgstretchtype);
    v.rect("buttonsrect", buttonsrect);
    v.rect("captionrect", captionrect);
    v.integer("buttonsoffset", buttonsoffset, 0);
    v.boolean("buttonsinleft", buttonsinleft);
    v.rect("maskrectarea", maskrectarea);
    v.point("hittestlefttoppoint", hittestlefttoppoint);
    v.point("hittestrighttoppoint", hittestrighttoppoint);
    v.point("hittestleftbottompoint", hittestleftbottompoint);
    v.point("hittestrightbottompoint", hittestrightbottompoint);
    v.point("rollupleftpoint", rollupleftpoint);
    v.point("rolluprightpoint", rolluprightpoint);
    v.rect("mainmenurect", mainmenurect);
    v.rect("iconrect", iconrect);
    v.boolean("mainmenupopupup", mainmenupopupup);
    v.integer("borderwidth", borderwidth, 0);
    v.integer("formminwidth", formminwidth, 0);
    v.boolean("mditabstransparent", mditabstransparent);
    v.boolean("mainmenubartransparent", mainmenubartransparent);
    v.integer("cursorindex", cursorindex, -1);
    v.boolean("autorenderinginactiveimage", autorenderinginactiveimage);
    v.inactiveEffect("inactiveeffect", inactiveeffect);
    v.rect("sizegriparea", sizegriparea);
    v.string("statusbarname", statusbarname, "");
  }
};

class TskDataSkinPopupWindow : public SkinRecord {
 public:
  using SkinRecord::SkinRecord;
  int32_t windowpictureindex = -1;
  int32_t maskpictureindex = -1;
  SkinPoint lefttoppoint;
  SkinPoint righttoppoint;
  SkinPoint leftbottompoint;
  SkinPoint rightbottompoint;
  int32_t cursorindex = -1;
  SkinRect itemsrect;
  SkinColor scrollmarkercolor = 0;
  SkinColor scrollmarkeractivecolor = 0;
  bool leftstretch = false;
  bool rightstretch = false;
  bool topstretch = false;
  bool bottomstretch = false;
  bool stretcheffect = false;
  StretchType stretchtype = StretchType::Full;
  const char* className() const override { return "TskDataSkinPopupWindow"; }
  void visitFields(FieldVisitor& v) override {
    SkinRecord::visitFields(v);
    v.pictureIndex("windowpictureindex", windowpictureindex);
    v.pictureIndex("maskpictureindex", maskpictureindex);
    v.point("lefttoppoint", lefttoppoint);
    v.point("righttoppoint", righttoppoint);
    v.point("leftbottompoint", leftbottompoint);
    v.point("rightbottompoint", rightbottompoint);
    v.integer("cursorindex", cursorindex, -1);
    v.rect("itemsrect", itemsrect);
    v.color("scrollmarkercolor", scrollmarkercolor);
    v.color("scrollmarkeractivecolor", scrollmarkeractivecolor);
    v.boolean("leftstretch", leftstretch);
    v.boolean("rightstretch", rightstretch);
    v.boolean("topstretch", topstretch);
    v.boolean("bottomstretch", bottomstretch);
    v.boolean("stretcheffect", stretcheffect);
    v.stretchType("stretchtype", stretchtype);
  }
};

class TskDataSkinHintWindow : public SkinRecord {
 public:
  using SkinRecord::SkinRecord;
  int32_t windowpictureindex = -1;
  int32_t maskpictureindex = -1;
  SkinPoint lefttoppoint;
  SkinPoint righttoppoint;
  SkinPoint leftbottompoint;
  SkinPoint rightbottompoint;
  SkinRect clientrect;
  std::string fontname = "Arial";
  int32_t fontheight = 14;
  uint8_t fontstyle = fsPlain;
  SkinColor fontcolor = 0;
  bool leftstretch = false;
  bool rightstretch = false;
  bool topstretch = false;
  bool bottomstretch = false;
  bool stretcheffect = false;
  StretchType stretchtype = StretchType::Full;
  const char* className() const override { return "TskDataSkinHintWindow"; }
  void visitFields(FieldVisitor& v) override {
    SkinRecord::visitFields(v);
    v.pictureIndex("windowpictureindex", windowpictureindex);
    v.pictureIndex("maskpictureindex", maskpictureindex);
    v.point("lefttoppoint", lefttoppoint);
    v.point("righttoppoint", righttoppoint);
    v.point("leftbottompoint", leftbottompoint);
    v.point("rightbottompoint", rightbottompoint);
    v.rect("clientrect", clientrect);
    v.string("fontname", fontname, "Arial");
    v.integer("fontheight", fontheight, 14);
    v.fontStyle("fontstyle", fontstyle);
    v.color("fontcolor", fontcolor);
    v.boolean("leftstretch", leftstretch);
    v.boolean("rightstretch", rightstretch);
    v.boolean("topstretch", topstretch);
    v.boolean("bottomstretch", bottomstretch);
    v.boolean("stretcheffect", stretcheffect);
    v.stretchType("stretchtype", stretchtype);
  }
};

class TskSkinColors : public SkinRecord {
 public:
  using SkinRecord::SkinRecord;
  int32_t cbtnface = 0;
  int32_t cbtntext = 0;
  int32_t cwindow = 0;
  int32_t cwindowtext = 0;
  int32_t chighlight = 0;
  int32_t chighlighttext = 0;
  int32_t cbtnhighlight = 0;
  int32_t cbtnshadow = 0;
  int32_t c3dlight = 0;
  int32_t c3ddkshadow = 0;
  const char* className() const override { return "TskSkinColors"; }
  void visitFields(FieldVisitor& v) override {
    SkinRecord::visitFields(v);
    v.integer("cbtnface", cbtnface, 0);
    v.integer("cbtntext", cbtntext, 0);
    v.integer("cwindow", cwindow, 0);
    v.integer("cwindowtext", cwindowtext, 0);
    v.integer("chighlight", chighlight, 0);
    v.integer("chighlighttext", chighlighttext, 0);
    v.integer("cbtnhighlight", cbtnhighlight, 0);
    v.integer("cbtnshadow", cbtnshadow, 0);
    v.integer("c3dlight", c3dlight, 0);
    v.integer("c3ddkshadow", c3ddkshadow, 0);
  }
};


// A user object reads only these three keys, none of its base's others.
class TskDataUserObject : public TskDataSkinObject {
 public:
  using TskDataSkinObject::TskDataSkinObject;
  const char* className() const override { return "TskDataUserObject"; }
  void visitFields(FieldVisitor& v) override {
    v.boolean("rollup", rollup);
    v.rect("skinrect", skinrect);
    v.integer("cursorindex", cursorindex, -1);
  }
};

// Record for an entry "name:type" of [SKINOBJECTS] / [SKINCONTROLS]; null for a type outside
// the table (type words match case-sensitively).
std::unique_ptr<TskDataSkinObject> CreateObjectRecord(std::string_view type, std::string name);
std::unique_ptr<TskDataSkinControl> CreateControlRecord(std::string_view type, std::string name);

}  // namespace tavlox::skin
