// Our shipped skin: its package layout, its values, and that it packs reproducibly.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <algorithm>

#include "skin/SkinData.h"

using namespace tavlox::skin;

namespace {

std::vector<uint8_t> Compressed() { return ReadFileBytes(TAVLOX_SKIN_COMPRESSED_FILE); }

const TskSkinData& Skin() {
  static TskSkinData* data = [] {
    auto* d = new TskSkinData;
    TskCompressedStoredSkin stored;
    stored.ReadCompressedData(Compressed());
    d->SetCompressedStoredSkin(&stored);
    return d;
  }();
  return *data;
}

int32_t I32At(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<int32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24));
}

SkinRect Cell(int i) { return {(i % 3) * 27, (i / 3) * 22, (i % 3) * 27 + 21, (i / 3) * 22 + 21}; }

template <typename T>
T* Object(const char* name) {
  return Skin().ObjectRecordAs<T>(Skin().FindObjectRecord(name));
}
template <typename T>
T* Control(const char* name) {
  return Skin().ControlRecordAs<T>(Skin().FindControlRecord(name));
}

}  // namespace

TEST(PortalBlue, PackageLayout) {
  const auto compressed = Compressed();
  ASSERT_GE(compressed.size(), 2u);
  EXPECT_EQ(compressed[0], 0x78);
  EXPECT_EQ(compressed[1], 0xDA);
  const auto pkg = InflateBytes(compressed);
  EXPECT_EQ(I32At(pkg, 0), 3);
  EXPECT_EQ(pkg[4], 0);
  EXPECT_EQ(pkg[179819], 1);
  EXPECT_EQ(pkg[179820], 0);
  EXPECT_EQ(I32At(pkg, 241379), 13);

  const PackageLayout& l = Skin().Layout();
  EXPECT_EQ(l.fixed[fpMain], (PackagePart{5, 179814}));
  EXPECT_EQ(l.fixed[fpMask], (PackagePart{179821, 61558}));
  EXPECT_FALSE(l.fixed[fpInactive]);
  EXPECT_EQ(l.text->offset, 1629973u);
  EXPECT_EQ(l.text->offset + l.text->length, pkg.size());

  EXPECT_EQ(Skin().Picture().width(), 285);
  EXPECT_EQ(Skin().Picture().height(), 210);
  EXPECT_EQ(Skin().Picture().bits(), 24);
  EXPECT_EQ(Skin().Mask().bits(), 8);
  EXPECT_TRUE(Skin().InActivePicture().empty());
  EXPECT_TRUE(Skin().RollUpPicture().empty());

  struct Pic {
    const char* name;
    size_t bytes;
    int w, h, bits;
  } table[] = {
      {"active.bmp", 60018, 75, 263, 24},        {"hintwindow.bmp", 11454, 75, 50, 24},
      {"pw.bmp", 15454, 93, 55, 24},             {"menuitems.bmp", 39678, 104, 127, 24},
      {"controls.bmp", 671778, 564, 397, 24},    {"mdibg.bmp", 117534, 219, 178, 24},
      {"pwmask.bmp", 2758, 93, 55, 4},           {"hintwindowmask.bmp", 662, 75, 50, 1},
      {"layerframe.bmp", 69714, 172, 135, 24},   {"layerframemask.bmp", 69714, 172, 135, 24},
      {"ribbon.bmp", 127974, 260, 164, 24},      {"appmenu.bmp", 81798, 208, 131, 24},
      {"appmenubg.bmp", 120054, 200, 200, 24},
  };
  ASSERT_EQ(Skin().ActivePictures().size(), 13u);
  size_t offset = 241383;
  for (size_t i = 0; i < 13; ++i) {
    SCOPED_TRACE(table[i].name);
    EXPECT_EQ(Skin().ActivePictureNames[i], table[i].name);
    EXPECT_EQ(l.pictures[i], (PackagePart{offset, table[i].bytes}));
    offset += table[i].bytes;
    EXPECT_EQ(Skin().ActivePictures()[i].width(), table[i].w);
    EXPECT_EQ(Skin().ActivePictures()[i].height(), table[i].h);
    EXPECT_EQ(Skin().ActivePictures()[i].bits(), table[i].bits);
  }
  EXPECT_EQ(Skin().SkinName, "Portal_Blue");
  EXPECT_EQ(Skin().PictureName, "main.bmp");
  EXPECT_EQ(Skin().MaskName, "mask.bmp");
}

TEST(PortalBlue, FrameGeometryAndColours) {
  const auto& f = Skin().FormInfo;
  EXPECT_EQ(f.lefttoppoint, (SkinPoint{6, 29}));
  EXPECT_EQ(f.righttoppoint, (SkinPoint{280, 30}));
  EXPECT_EQ(f.leftbottompoint, (SkinPoint{6, 203}));
  EXPECT_EQ(f.rightbottompoint, (SkinPoint{277, 203}));
  EXPECT_EQ(f.clientrect, (SkinRect{3, 29, 282, 206}));
  EXPECT_EQ(f.bgpictureindex, -1);
  EXPECT_EQ(f.mdibgpictureindex, 5);
  EXPECT_FALSE(f.leftstretch || f.rightstretch || f.topstretch || f.bottomstretch || f.stretcheffect);
  EXPECT_EQ(f.stretchtype, StretchType::Full);
  EXPECT_FALSE(f.mdibgstretcheffect);
  EXPECT_EQ(f.mdibgstretchtype, StretchType::Full);
  EXPECT_EQ(f.buttonsrect, SkinRect{});
  EXPECT_EQ(f.captionrect, (SkinRect{3, 5, 282, 24}));
  EXPECT_EQ(f.buttonsoffset, 2);
  EXPECT_FALSE(f.buttonsinleft);
  EXPECT_EQ(f.maskrectarea, (SkinRect{3, 3, 282, 207}));
  EXPECT_EQ(f.hittestlefttoppoint, (SkinPoint{7, 6}));
  EXPECT_EQ(f.hittestrighttoppoint, (SkinPoint{279, 8}));
  EXPECT_EQ(f.hittestleftbottompoint, (SkinPoint{9, 202}));
  EXPECT_EQ(f.hittestrightbottompoint, (SkinPoint{276, 203}));
  EXPECT_EQ(f.rollupleftpoint, SkinPoint{});
  EXPECT_EQ(f.mainmenurect, SkinRect{});
  EXPECT_EQ(f.iconrect, SkinRect{});
  EXPECT_EQ(f.borderwidth, 3);
  EXPECT_EQ(f.formminwidth, 200);
  EXPECT_EQ(f.cursorindex, -1);
  EXPECT_FALSE(f.autorenderinginactiveimage);
  EXPECT_EQ(f.inactiveeffect, InactiveEffect::GrayScale);
  EXPECT_EQ(f.sizegriparea, SkinRect{});
  EXPECT_EQ(f.statusbarname, "");

  const auto& p = Skin().PopupWindow;
  EXPECT_EQ(p.windowpictureindex, 2);
  EXPECT_EQ(p.maskpictureindex, 6);
  EXPECT_EQ(p.lefttoppoint, (SkinPoint{7, 7}));
  EXPECT_EQ(p.righttoppoint, (SkinPoint{86, 7}));
  EXPECT_EQ(p.leftbottompoint, (SkinPoint{7, 48}));
  EXPECT_EQ(p.rightbottompoint, (SkinPoint{87, 49}));
  EXPECT_EQ(p.itemsrect, (SkinRect{1, 1, 92, 54}));
  EXPECT_EQ(p.scrollmarkercolor, 8421504);
  EXPECT_EQ(p.scrollmarkeractivecolor, 0);
  EXPECT_EQ(p.stretchtype, StretchType::Full);
  EXPECT_EQ(Skin().HintWindow.windowpictureindex, 1);
  EXPECT_EQ(Skin().HintWindow.maskpictureindex, 7);

  const auto& c = Skin().SkinColors;
  EXPECT_EQ(c.cbtnface, 16641763);
  EXPECT_EQ(c.cbtntext, 0);
  EXPECT_EQ(c.cwindow, 16777215);
  EXPECT_EQ(c.cwindowtext, 0);
  EXPECT_EQ(c.chighlight, 13668176);
  EXPECT_EQ(c.chighlighttext, 16777215);
  EXPECT_EQ(c.cbtnhighlight, 16777215);
  EXPECT_EQ(c.cbtnshadow, 14401450);
  EXPECT_EQ(c.c3dlight, 0);
  EXPECT_EQ(c.c3ddkshadow, 0);
  EXPECT_TRUE(Skin().Areas.empty());
}

TEST(PortalBlue, Objects) {
  const char* names[] = {"closebutton", "maxbutton", "minbutton", "rollupbutton", "sysmenubutton", "traybutton",
                         "caption", "menuitem", "mainmenubaritem", "menubarsysmenubutton", "menubarclosebutton",
                         "menubarmaxbutton", "menubarminbutton"};
  const char* classes[] = {"TskDataSkinStdButton", "TskDataSkinStdButton", "TskDataSkinStdButton",
                           "TskDataSkinStdButton", "TskDataSkinStdButton", "TskDataSkinStdButton",
                           "TskDataSkinCaption", "TskDataSkinMenuItem", "TskDataSkinMainMenuBarItem",
                           "TskDataSkinMainMenuBarButton", "TskDataSkinMainMenuBarButton",
                           "TskDataSkinMainMenuBarButton", "TskDataSkinMainMenuBarButton"};
  ASSERT_EQ(Skin().ObjectList.size(), 13u);
  for (size_t i = 0; i < 13; ++i) {
    EXPECT_EQ(Skin().ObjectList[i]->name, names[i]);
    EXPECT_STREQ(Skin().ObjectList[i]->className(), classes[i]);
    EXPECT_FALSE(Skin().ObjectList[i]->rollup) << names[i];
  }

  auto* caption = Object<TskDataSkinCaption>("caption");
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(caption->skinrect, (SkinRect{5, 4, 280, 24}));
  EXPECT_FALSE(caption->skinrectinapicture);
  EXPECT_EQ(caption->textrect, (SkinRect{4, 2, 274, 20}));
  EXPECT_EQ(caption->fontname, "Arial");
  EXPECT_EQ(caption->fontheight, 16);
  EXPECT_EQ(caption->fontstyle, fsBold);
  EXPECT_EQ(caption->activefontcolor, 11168318);
  EXPECT_EQ(caption->fontcolor, 16111036);
  EXPECT_EQ(caption->alignment, SkinAlignment::LeftJustify);
  EXPECT_TRUE(caption->shadow);
  EXPECT_EQ(caption->shadowcolor, 16777215);
  EXPECT_EQ(caption->activeshadowcolor, 16777215);
  EXPECT_FALSE(caption->light);

  struct Button {
    const char* name;
    SkinCommand command;
    int firstCell;
    int restoreCell;  // -1: none
  } buttons[] = {
      {"closebutton", SkinCommand::Close, 0, -1},     {"maxbutton", SkinCommand::Maximize, 4, 24},
      {"minbutton", SkinCommand::Minimize, 8, 28},    {"rollupbutton", SkinCommand::RollUp, 12, 32},
      {"sysmenubutton", SkinCommand::SysMenu, 16, -1}, {"traybutton", SkinCommand::MinimizeToTray, 20, -1},
  };
  const SkinPicture* active = Skin().ActivePicture(0);
  ASSERT_NE(active, nullptr);
  for (const Button& b : buttons) {
    SCOPED_TRACE(b.name);
    auto* r = Object<TskDataSkinStdButton>(b.name);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->command, b.command);
    EXPECT_TRUE(r->skinrectinapicture);
    EXPECT_EQ(r->activepictureindex, 0);
    EXPECT_EQ(r->skinrect, Cell(b.firstCell));
    EXPECT_EQ(r->activeskinrect, Cell(b.firstCell + 1));
    EXPECT_EQ(r->downrect, Cell(b.firstCell + 2));
    EXPECT_EQ(r->inactiveskinrect, Cell(b.firstCell + 3));
    EXPECT_EQ(r->skinrect.width(), 21);
    EXPECT_EQ(r->skinrect.height(), 21);
    EXPECT_TRUE(r->morphing);
    EXPECT_EQ(r->restorerect, b.restoreCell < 0 ? SkinRect{} : Cell(b.restoreCell));
    // The four images differ from each other.
    const SkinRect states[] = {r->skinrect, r->activeskinrect, r->downrect, r->inactiveskinrect};
    for (int i = 0; i < 4; ++i)
      for (int j = i + 1; j < 4; ++j) {
        bool differ = false;
        for (int y = 0; y < 21 && !differ; ++y)
          for (int x = 0; x < 21 && !differ; ++x)
            differ = active->pixel(states[i].left + x, states[i].top + y) != active->pixel(states[j].left + x, states[j].top + y);
        EXPECT_TRUE(differ) << i << " " << j;
      }
  }

  auto* menu = Object<TskDataSkinMenuItem>("menuitem");
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(Skin().FindObjectRecord("MENUITEM"), -1);
  EXPECT_EQ(menu->activepictureindex, 3);
  EXPECT_EQ(menu->skinrect, (SkinRect{4, 2, 91, 24}));
  EXPECT_EQ(menu->activeskinrect, (SkinRect{2, 25, 91, 47}));
  EXPECT_EQ(menu->itemleftoffset, 30);
  EXPECT_EQ(menu->itemrightoffset, 5);
  EXPECT_EQ(menu->dividerrect, (SkinRect{6, 51, 89, 54}));
  EXPECT_EQ(menu->dividerleftoffset, 30);
  EXPECT_EQ(menu->dividerrightoffset, 5);
  EXPECT_EQ(menu->textrect, (SkinRect{27, 1, 86, 21}));
  EXPECT_EQ(menu->imagerect, (SkinRect{1, 1, 24, 21}));
  EXPECT_EQ(menu->fontname, "Arial");
  EXPECT_EQ(menu->fontheight, 14);
  EXPECT_EQ(menu->fontstyle, fsPlain);
  EXPECT_EQ(menu->fontcolor, 0);
  EXPECT_EQ(menu->activefontcolor, 0);
  EXPECT_EQ(menu->unenabledfontcolor, 11842740);
  EXPECT_TRUE(menu->morphing);
  EXPECT_EQ(menu->morphkind, MorphKind::Default);
  EXPECT_FALSE(menu->checkimagerect.isEmpty());
  EXPECT_FALSE(menu->radioimagerect.isEmpty());
  EXPECT_FALSE(menu->arrowimagerect.isEmpty());
}

TEST(PortalBlue, Controls) {
  ASSERT_EQ(Skin().CtrlList.size(), 74u);  // entry 69 "appmenu:appmenu" makes no record
  EXPECT_EQ(Skin().FindControlRecord("appmenu"), -1);
  EXPECT_EQ(Skin().FindControlRecord("Statusbar"), -1);
  EXPECT_EQ(Skin().FindControlRecord("Panel"), -1);
  EXPECT_EQ(Skin().FindControlRecord("Button"), -1);

  struct Custom {
    const char* name;
    const char* cls;
    SkinRect skinrect;
    SkinPoint ltp, rtp, lbp, rbp;
    SkinRect client;
  } customs[] = {
      {"statusbar", "TskDataSkinPanelControl", {318, 153, 365, 176}, {3, 11}, {44, 11}, {0, 0}, {0, 0}, {0, 1, 46, 23}},
      {"statuspanel", "TskDataSkinLabelControl", {366, 153, 404, 175}, {2, 9}, {32, 9}, {0, 0}, {0, 0}, {1, 1, 35, 21}},
      {"panel", "TskDataSkinPanelControl", {141, 4, 200, 56}, {5, 4}, {53, 6}, {6, 45}, {53, 46}, {2, 2, 57, 50}},
      {"groupbox", "TskDataSkinPanelControl", {352, 75, 411, 122}, {3, 19}, {54, 20}, {4, 41}, {54, 43}, {1, 15, 58, 46}},
      {"button", "TskDataSkinButtonControl", {458, 272, 500, 294}, {3, 9}, {35, 11}, {0, 0}, {0, 0}, {2, 2, 40, 20}},
  };
  for (const Custom& c : customs) {
    SCOPED_TRACE(c.name);
    auto* r = Control<TskDataSkinCustomControl>(c.name);
    ASSERT_NE(r, nullptr);
    EXPECT_STREQ(r->className(), c.cls);
    EXPECT_EQ(r->pictureindex, 4);
    EXPECT_EQ(r->maskpictureindex, -1);
    EXPECT_EQ(r->skinrect, c.skinrect);
    EXPECT_EQ(r->lefttoppoint, c.ltp);
    EXPECT_EQ(r->righttoppoint, c.rtp);
    EXPECT_EQ(r->leftbottompoint, c.lbp);
    EXPECT_EQ(r->rightbottompoint, c.rbp);
    EXPECT_EQ(r->clientrect, c.client);
    EXPECT_FALSE(r->leftstretch || r->topstretch || r->rightstretch || r->bottomstretch || r->stretcheffect);
  }
  auto* label = Control<TskDataSkinLabelControl>("statuspanel");
  EXPECT_EQ(label->fontname, "Arial");
  EXPECT_EQ(label->fontheight, 14);
  EXPECT_EQ(label->fontcolor, 0);
  EXPECT_TRUE(Control<TskDataSkinPanelControl>("panel")->captionrect.isEmpty());
  auto* group = Control<TskDataSkinPanelControl>("groupbox");
  EXPECT_EQ(group->captionrect, (SkinRect{1, 1, 58, 14}));
  EXPECT_EQ(group->alignment, SkinAlignment::Center);
  EXPECT_EQ(group->fontname, "Arial");
  EXPECT_EQ(group->fontheight, 14);
  EXPECT_EQ(group->fontcolor, 11168318);

  auto* button = Control<TskDataSkinButtonControl>("button");
  EXPECT_EQ(button->activeskinrect, (SkinRect{458, 298, 500, 320}));
  EXPECT_EQ(button->downskinrect, (SkinRect{458, 324, 500, 346}));
  EXPECT_EQ(button->disabledskinrect, (SkinRect{503, 272, 545, 294}));
  EXPECT_TRUE(button->focusedskinrect.isEmpty());
  EXPECT_TRUE(button->animateskinrect.isEmpty());
  EXPECT_EQ(button->framecount, 0);
  EXPECT_TRUE(button->morphing);
  EXPECT_EQ(button->morphkind, MorphKind::Default);
  EXPECT_FALSE(button->showfocus);
  EXPECT_EQ(button->fontname, "Arial");
  EXPECT_EQ(button->fontheight, 14);
  EXPECT_EQ(button->fontcolor, 0);
  EXPECT_EQ(button->activefontcolor, 0);
  EXPECT_EQ(button->downfontcolor, 0);
  EXPECT_EQ(button->disabledfontcolor, 15916233);
}

TEST(PortalBlue, MaskCutsOnlyTheTopCorners) {
  const SkinPicture& m = Skin().Mask();
  const SkinRect area = Skin().FormInfo.maskrectarea;
  auto black = [&](int x, int y) { return (m.pixel(x, y) & 0xFFFFFF) == 0; };
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) ASSERT_TRUE(black(x, y)) << x << "," << y;
  EXPECT_FALSE(black(0, 0));
  EXPECT_FALSE(black(284, 0));
  EXPECT_FALSE(black(1, 1));
  EXPECT_TRUE(black(142, 0));
  EXPECT_TRUE(black(0, 209));
  EXPECT_TRUE(black(284, 209));
  EXPECT_TRUE(black(0, 100));
}

TEST(PortalBlue, PacksReproducibly) {
  const std::string definition = std::string(TAVLOX_SKIN_FOLDER) + "/skin.ini";
  TskCompressedStoredSkin a, b;
  ASSERT_TRUE(a.ImportSkinFolder(definition, 3));
  ASSERT_TRUE(b.ImportSkinFolder(definition, 3));
  const auto built = Compressed();
  EXPECT_TRUE(std::ranges::equal(a.CompressedData(), b.CompressedData()));
  EXPECT_TRUE(std::ranges::equal(a.CompressedData(), built));
  TskCompressedStoredSkin fromFile;
  fromFile.ReadSknFile(TAVLOX_SKIN_SKN_FILE);
  EXPECT_TRUE(std::ranges::equal(fromFile.CompressedData(), built));
}

// The command-line tool, run as other tools run it.
namespace {
int RunTool(const std::string& args, std::string* out = nullptr) {
  const std::string cmd = std::string(TAVLOX_SKIN_TOOL) + " " + args;
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return -1;
  std::string text;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) text.append(buf, n);
  const int status = pclose(p);
  if (out) *out = text;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
}  // namespace

TEST(TavloxSkinTool, InfoPackUnpack) {
  namespace fs = std::filesystem;
  std::string out;
  EXPECT_EQ(RunTool(std::string("info --records ") + TAVLOX_SKIN_SKN_FILE, &out), 0);
  EXPECT_NE(out.find("\"ok\":true,\"error\":null,\"version\":3,"), std::string::npos);
  EXPECT_NE(out.find("\"text_offset\":1629973,"), std::string::npos);
  EXPECT_NE(out.find("\"lefttoppoint\":[6,29]"), std::string::npos);
  EXPECT_NE(out.find("\"inactiveeffect\":2"), std::string::npos);
  EXPECT_NE(out.find("\"fontstyle\":[\"bold\"]"), std::string::npos);
  EXPECT_NE(out.find("{\"name\":\"statusbar\",\"class\":\"TskDataSkinPanelControl\",\"fields\":{"), std::string::npos);

  EXPECT_EQ(RunTool(std::string("info --compressed ") + TAVLOX_SKIN_COMPRESSED_FILE, &out), 0);
  EXPECT_EQ(out.find("\"fields\""), std::string::npos);
  EXPECT_EQ(RunTool("info", &out), 2);
  EXPECT_EQ(RunTool("frobnicate x", &out), 2);

  const fs::path dir = fs::temp_directory_path() / ("tavlox-skin-tool-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  // A damaged package: exit 1 with the JSON and the exact message.
  auto damaged = Compressed();
  for (size_t i = 20; i < 60; ++i) damaged[i] ^= 0xA5;
  WriteFileBytes((dir / "bad.z").string(), damaged);
  EXPECT_EQ(RunTool("info --compressed " + (dir / "bad.z").string(), &out), 1);
  EXPECT_NE(out.find("\"ok\":false,\"error\":\"compression error\""), std::string::npos) << out;

  // unpack, then pack the folder again: the same .skn.
  EXPECT_EQ(RunTool(std::string("unpack ") + TAVLOX_SKIN_SKN_FILE + " " + (dir / "out").string()), 0);
  for (const char* f : {"skin.ini", "main.bmp", "mask.bmp", "active.bmp", "pwmask.bmp", "appmenubg.bmp"})
    EXPECT_TRUE(fs::exists(dir / "out" / f)) << f;
  EXPECT_EQ(RunTool("pack --version 3 " + (dir / "out" / "skin.ini").string() + " " + (dir / "again.skn").string()), 0);
  EXPECT_EQ(ReadFileBytes((dir / "again.skn").string()), ReadFileBytes(TAVLOX_SKIN_SKN_FILE));
  fs::remove_all(dir);
}

TEST(TavloxSkinTool, PartialResultsEscapingAndSafeNames) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("tavlox-skin-tool2-" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir / "src");
  fs::create_directories(dir / "outside");
  // A picture named with a path that leaves the folder, and texts that need escaping.
  const std::string folder = std::string(TAVLOX_SKIN_FOLDER);
  fs::copy_file(folder + "/pwmask.bmp", dir / "outside" / "evil.bmp");
  fs::copy_file(folder + "/hintwindowmask.bmp", dir / "src" / "p0.bmp");
  const std::string ini =
      "[VERSION]\r\nskinname=Q\"uote\\\xC4\xE3\t\r\nskinauthor=\xE6\xA1\x8C\r\n"
      "[PICTURES]\r\npicture=../outside/evil.bmp\r\nactivepicturescount=1\r\n0=p0.bmp\r\n"
      "[FORMINFO]\r\n[SKINOBJECTS]\r\n[SKINCONTROLS]\r\n";
  WriteFileBytes((dir / "src" / "skin.ini").string(), std::vector<uint8_t>(ini.begin(), ini.end()));
  const std::string skn = (dir / "s.skn").string();
  ASSERT_EQ(RunTool("pack " + (dir / "src" / "skin.ini").string() + " " + skn), 0);

  std::string out;
  ASSERT_EQ(RunTool("info " + skn, &out), 0);
  EXPECT_NE(out.find("\"name\":\"Q\\\"uote\\\\\\u00c4\\u00e3\""), std::string::npos) << out;
  EXPECT_NE(out.find("\"author\":\"\xE6\xA1\x8C\""), std::string::npos) << out;
  EXPECT_NE(out.find("\"version\":2,"), std::string::npos);
  EXPECT_NE(out.find("\"rollup\":null,\"rollupmask\":null"), std::string::npos);

  // Unpacking never writes outside the target folder.
  ASSERT_EQ(RunTool("unpack " + skn + " " + (dir / "out").string()), 0);
  EXPECT_TRUE(fs::exists(dir / "out" / "picture.bmp"));
  EXPECT_TRUE(fs::exists(dir / "out" / "p0.bmp"));
  EXPECT_FALSE(fs::exists(dir / "evil.bmp"));
  EXPECT_EQ(fs::file_size(dir / "outside" / "evil.bmp"), 2758u);

  // A package cut short: exit 1, and what was read before the failure is still reported.
  auto full = InflateBytes(Compressed());
  full.resize(200000);  // inside the mask picture
  WriteFileBytes((dir / "cut.z").string(), DeflateBytes(full));
  EXPECT_EQ(RunTool("info --compressed " + (dir / "cut.z").string(), &out), 1);
  EXPECT_NE(out.find("\"ok\":false,\"error\":\"Bitmap image is not valid\",\"version\":3,"), std::string::npos) << out;
  EXPECT_NE(out.find("\"main\":{\"width\":285,\"height\":210,\"bits\":24}"), std::string::npos);
  EXPECT_NE(out.find("\"text_offset\":null"), std::string::npos);

  // A newer package version: nothing loads.
  WriteFileBytes((dir / "v9.z").string(), DeflateBytes(std::vector<uint8_t>{9, 0, 0, 0}));
  EXPECT_EQ(RunTool("info --compressed " + (dir / "v9.z").string(), &out), 1);
  EXPECT_NE(out.find("\"ok\":false"), std::string::npos);
  EXPECT_NE(out.find("\"version\":9,"), std::string::npos);
  EXPECT_EQ(RunTool("info " + (dir / "missing.skn").string(), &out), 1);
  fs::remove_all(dir);
}
