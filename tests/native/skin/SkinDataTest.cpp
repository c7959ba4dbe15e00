#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "skin/SkinData.h"
#include "SkinTestUtil.h"

using namespace tavlox::skin;
using skintest::Package;
using skintest::SolidBmp24;

namespace {

// Records every notification with the data's flags at that moment.
struct Recorder : SkinDataObserver {
  struct Event {
    int message;
    bool empty;
    bool changing;
  };
  std::vector<Event> events;
  void SkinNotify(TskSkinData& d, SkinMessage m) override { events.push_back({m, d.Empty(), d.Changing()}); }
  std::vector<int> messages() const {
    std::vector<int> out;
    for (auto& e : events) out.push_back(e.message);
    return out;
  }
};

const char* kText =
    "[VERSION]\r\nskinname=Tiny\r\nskinauthor=Us\r\n"
    "[PICTURES]\r\npicture=main.bmp\r\nmask=mask.bmp\r\nactivepicturescount=2\r\n0=a.bmp\r\n1=b.bmp\r\n"
    "[FORMINFO]\r\nlefttoppoint=6,29\r\nrighttoppoint=280,30\r\nleftbottompoint=6,203\r\n"
    "rightbottompoint=277,203\r\nclientrect=3,29,282,206\r\nmaskrectarea=3,3,282,207\r\n"
    "hittestlefttoppoint=7,6\r\nhittestrighttoppoint=0,8\r\ninactiveeffect=iegrayscale\r\n"
    "[SKINCOLORS]\r\ncbtnface=16641763\r\n"
    "[SKINAREAS]\r\ncount=2\r\n0=top:1,2,3,4\r\n1=bad\r\n"
    "[SKINOBJECTS]\r\ncount=4\r\n0=caption:caption\r\n1=close:stdbutton\r\n2=odd:nosuchtype\r\n3=nocolon\r\n"
    "[caption]\r\ntextrect=4,2,274,20\r\nfontheight=16\r\nfontstyle=fsbold\r\n"
    "[close]\r\ncommand=cmclose\r\nskinrectinapicture=1\r\n"
    "[SKINCONTROLS]\r\ncount=3\r\n0=statusbar:panel\r\n1=button:button\r\n2=appmenu:appmenu\r\n"
    "[statusbar]\r\npictureindex=1\r\nskinrect=318,153,365,176\r\n";

std::vector<uint8_t> PackageOfVersion(int version, const std::string& text = kText) {
  Package p;
  p.i32(version);
  for (FixedPicture f : FixedPicturesOfVersion(version)) {
    if (f == fpInactive) p.u8(1);
    else p.u8(0).raw(SolidBmp24(2 + f, 3, 0x102030 * (f + 1)));
  }
  p.i32(2).raw(SolidBmp24(4, 4, 0xFF0000)).raw(SolidBmp24(5, 1, 0x00FF00)).text(text);
  return p.bytes;
}

}  // namespace

TEST(SkinData, LoadsEveryPackageVersion) {
  for (int version = 0; version <= 3; ++version) {
    SCOPED_TRACE(version);
    TskSkinData d;
    d.LoadInflated(PackageOfVersion(version));
    ASSERT_FALSE(d.Empty());
    EXPECT_FALSE(d.Changing());
    const bool rollUp = version == 1 || version == 2;
    EXPECT_EQ(d.Picture().width(), 2);
    EXPECT_EQ(d.Mask().width(), 4);
    EXPECT_TRUE(d.InActivePicture().empty());
    EXPECT_EQ(d.RollUpPicture().empty(), !rollUp);
    EXPECT_EQ(d.RollUpMask().empty(), !rollUp);
    ASSERT_EQ(d.ActivePictures().size(), 2u);
    EXPECT_EQ(d.ActivePicture(0)->pixel(3, 3), 0xFF0000u);
    EXPECT_EQ(d.ActivePicture(1)->width(), 5);
    EXPECT_EQ(d.ActivePicture(2), nullptr);
    EXPECT_EQ(d.ActivePicture(-1), nullptr);
    EXPECT_EQ(d.SkinName, "Tiny");
    EXPECT_EQ(d.ActivePictureNames, (std::vector<std::string>{"a.bmp", "b.bmp"}));
    EXPECT_EQ(*d.Layout().text, (PackagePart{d.Layout().inflatedSize - std::string(kText).size(), std::string(kText).size()}));
  }
}

TEST(SkinData, RecordsListsAndLookups) {
  TskSkinData d;
  d.LoadInflated(PackageOfVersion(3));
  ASSERT_EQ(d.Areas.size(), 1u);
  EXPECT_EQ(d.Areas[0].rect, (SkinRect{1, 2, 3, 4}));
  ASSERT_EQ(d.ObjectList.size(), 2u);
  ASSERT_EQ(d.CtrlList.size(), 2u);
  EXPECT_STREQ(d.ObjectList[0]->className(), "TskDataSkinCaption");
  EXPECT_STREQ(d.CtrlList[0]->className(), "TskDataSkinPanelControl");
  EXPECT_STREQ(d.CtrlList[1]->className(), "TskDataSkinButtonControl");

  EXPECT_EQ(d.FindControlRecord("statusbar"), 0);
  EXPECT_EQ(d.FindControlRecord("Statusbar"), -1);
  EXPECT_EQ(d.FindControlRecord("Button"), -1);
  EXPECT_EQ(d.FindControlRecord("appmenu"), -1);
  EXPECT_EQ(d.FindObjectRecord("close"), 1);
  EXPECT_EQ(d.FindAreaRecord("top"), 0);
  auto* panel = d.ControlRecordAs<TskDataSkinPanelControl>(0);
  ASSERT_NE(panel, nullptr);
  EXPECT_EQ(panel->skinrect, (SkinRect{318, 153, 365, 176}));
  EXPECT_EQ(d.ControlRecordAs<TskDataSkinLabelControl>(0), nullptr);
  EXPECT_NE(d.ControlRecordAs<TskDataSkinCustomControl>(0), nullptr);

  auto* caption = d.ObjectRecordAs<TskDataSkinCaption>(0);
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(caption->fontheight, 16);
  EXPECT_EQ(caption->fontstyle, fsBold);
  EXPECT_EQ(caption->fontname, "Arial");
  EXPECT_EQ(caption->animateinterval, 25);
  auto* close = d.ObjectRecordAs<TskDataSkinStdButton>(1);
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(close->command, SkinCommand::Close);
  EXPECT_TRUE(close->skinrectinapicture);
  EXPECT_EQ(close->groupindex, -1);

  // Colours: read keys take their value, absent ones are black once a skin is loaded.
  EXPECT_EQ(d.SkinColors.cbtnface, 16641763);
  EXPECT_EQ(d.SkinColors.cbtnshadow, 0);
}

TEST(SkinData, FormInfoPostProcessing) {
  TskSkinData d;
  d.LoadInflated(PackageOfVersion(3));
  const auto& f = d.FormInfo;
  EXPECT_EQ(f.maskrectarea, (SkinRect{3, 3, 282, 207}));
  EXPECT_EQ(f.hittestlefttoppoint, (SkinPoint{7, 6}));
  EXPECT_EQ(f.hittestrighttoppoint, (SkinPoint{280, 30}));   // x was 0
  EXPECT_EQ(f.hittestleftbottompoint, (SkinPoint{6, 203}));  // absent
  EXPECT_EQ(f.inactiveeffect, InactiveEffect::GrayScale);
  EXPECT_EQ(f.cursorindex, -1);

  struct Case {
    const char* forminfo;
    bool mask;
    SkinRect maskArea;
    SkinPoint ltp, rtp, lbp, rbp, hitLt;
  } cases[] = {
      // Empty mask area becomes the client rectangle; hit-test points are filled in before the
      // corner points are clamped into the client rectangle.
      {"clientrect=10,10,50,50\nlefttoppoint=2,3\nrighttoppoint=60,4\nleftbottompoint=1,70\nrightbottompoint=80,90\n", true,
       {10, 10, 50, 50}, {10, 10}, {50, 10}, {10, 50}, {50, 50}, {2, 3}},
      // A mask area is widened to cover the client rectangle.
      {"clientrect=10,10,50,50\nmaskrectarea=20,5,30,60\nlefttoppoint=12,12\nrightbottompoint=40,40\n", true,
       {10, 5, 50, 60}, {12, 12}, {0, 10}, {10, 0}, {40, 40}, {12, 12}},
      // Without a mask nothing of that happens; clamping still does.
      {"clientrect=10,10,50,50\nlefttoppoint=2,3\nrightbottompoint=80,90\n", false,
       {0, 0, 0, 0}, {10, 10}, {0, 10}, {10, 0}, {50, 50}, {0, 0}},
      // rightbottompoint equal to lefttoppoint in one coordinate: no clamping.
      {"clientrect=10,10,50,50\nlefttoppoint=2,3\nrightbottompoint=2,90\n", false,
       {0, 0, 0, 0}, {2, 3}, {0, 0}, {0, 0}, {2, 90}, {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.forminfo);
    std::string text = std::string("[PICTURES]\n") + (c.mask ? "mask=m.bmp\n" : "") + "[FORMINFO]\n" + c.forminfo;
    TskSkinData e;
    e.LoadInflated(Package().i32(0).u8(1).u8(1).i32(0).text(text).bytes);
    EXPECT_EQ(e.FormInfo.maskrectarea, c.maskArea);
    EXPECT_EQ(e.FormInfo.lefttoppoint, c.ltp);
    EXPECT_EQ(e.FormInfo.righttoppoint, c.rtp);
    EXPECT_EQ(e.FormInfo.leftbottompoint, c.lbp);
    EXPECT_EQ(e.FormInfo.rightbottompoint, c.rbp);
    EXPECT_EQ(e.FormInfo.hittestlefttoppoint, c.hitLt);
  }
}

TEST(SkinData, NotificationsInOrder) {
  TskSkinData d;
  Recorder r;
  d.AddObserver(&r);
  TskCompressedStoredSkin stored;
  d.LoadPackage(stored);  // no bytes: nothing at all
  EXPECT_TRUE(r.events.empty());
  EXPECT_TRUE(d.Empty());

  stored.ReadCompressedData(DeflateBytes(PackageOfVersion(3)));
  d.SetCompressedStoredSkin(&stored);
  ASSERT_EQ(r.messages(), (std::vector<int>{1225, 1226, 1227}));
  EXPECT_TRUE(r.events[0].empty && r.events[0].changing);
  EXPECT_TRUE(!r.events[1].empty && r.events[1].changing);
  EXPECT_TRUE(!r.events[2].empty && !r.events[2].changing);

  r.events.clear();
  d.SetSkinnableForm(false);
  d.SetSkinnableForm(false);
  EXPECT_EQ(r.messages(), (std::vector<int>{msgSkinnableFormChanged}));
  d.RemoveObserver(&r);
}

TEST(SkinData, VersionsOutsideTheTableLeaveTheDataEmpty) {
  for (int32_t version : {4, 5, 1000, -1}) {
    TskSkinData d;
    Recorder r;
    d.AddObserver(&r);
    d.LoadInflated(PackageOfVersion(3).size() ? Package().i32(version).u8(0).text(kText).bytes : std::vector<uint8_t>{});
    EXPECT_EQ(r.messages(), (std::vector<int>{1225})) << version;
    EXPECT_TRUE(d.Empty());
    EXPECT_FALSE(d.Changing());
    EXPECT_EQ(d.FindControlRecord("statusbar"), -1);
  }
}

TEST(SkinData, NoPicturesStillBuildsRecords) {
  TskSkinData d;
  d.LoadInflated(Package().i32(0).u8(1).u8(1).i32(0).text(kText).bytes);
  EXPECT_FALSE(d.Empty());
  EXPECT_TRUE(d.Picture().empty());
  EXPECT_TRUE(d.ActivePictures().empty());
  EXPECT_EQ(d.CtrlList.size(), 2u);
  // A picture index beyond the package's pictures is no picture.
  EXPECT_EQ(d.ActivePicture(d.ControlRecordAs<TskDataSkinControl>(0)->pictureindex), nullptr);
}

TEST(SkinData, FailedLoadsGiveTheirMessages) {
  const auto good = PackageOfVersion(3);
  auto compressed = DeflateBytes(good);
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    bool isCompressed;
    const char* message;
  };
  std::vector<Case> cases;
  {
    auto damaged = compressed;
    damaged[0] = 0x12;  // not a zlib header
    cases.push_back({"bad header", damaged, true, "compression error"});
  }
  {
    auto damaged = compressed;
    for (size_t i = 10; i < 40; ++i) damaged[i] ^= 0x5A;
    cases.push_back({"damaged body", damaged, true, "compression error"});
  }
  // A stream cut short is damaged data too, wherever the cut falls: otherwise a cut inside the
  // definition text would load as a smaller skin without any error.
  for (size_t keep : {size_t{0}, size_t{2}, compressed.size() / 2, compressed.size() - 1}) {
    cases.push_back({"truncated stream", std::vector<uint8_t>(compressed.begin(), compressed.begin() + keep), true,
                     "compression error"});
  }
  cases.push_back({"cut in picture", std::vector<uint8_t>(good.begin(), good.begin() + 30), false,
                   "Bitmap image is not valid"});
  cases.push_back({"cut in count", Package().i32(0).u8(1).u8(1).u8(0).bytes, false, "Stream read error"});
  cases.push_back({"cut in version", Package().u8(3).bytes, false, "Stream read error"});
  cases.push_back({"invalid picture", Package().i32(0).u8(0).text("XX not a bitmap at all, not at all").bytes, false,
                   "Bitmap image is not valid"});
  cases.push_back({"count beyond data", Package().i32(0).u8(1).u8(1).i32(1000000).bytes, false,
                   "Bitmap image is not valid"});
  cases.push_back({"bad rectangle", Package().i32(0).u8(1).u8(1).i32(0).text("[FORMINFO]\nclientrect=1,2,,4\n").bytes,
                   false, "'' is not a valid integer value"});
  cases.push_back({"bad control rectangle",
                   Package().i32(0).u8(1).u8(1).i32(0).text("[SKINCONTROLS]\ncount=1\n0=p:panel\n[p]\nskinrect=1,2\n").bytes,
                   false, "'' is not a valid integer value"});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TskSkinData d;
    Recorder r;
    d.AddObserver(&r);
    try {
      if (c.isCompressed) d.LoadCompressed(c.bytes);
      else d.LoadInflated(c.bytes);
      ADD_FAILURE() << "loaded";
    } catch (const SkinError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
    EXPECT_TRUE(d.Empty());
    EXPECT_FALSE(d.Changing());
    EXPECT_EQ(r.messages(), (std::vector<int>{1225}));
    EXPECT_EQ(d.FindObjectRecord("caption"), -1);
  }
  // Bytes after the end of the stream are ignored.
  auto padded = compressed;
  padded.insert(padded.end(), {1, 2, 3});
  EXPECT_EQ(InflateBytes(padded), good);
}

TEST(SkinData, ReloadReplacesEverything) {
  TskSkinData d;
  d.LoadInflated(PackageOfVersion(2));
  d.LoadInflated(Package().i32(3).u8(1).u8(1).u8(1).i32(0).text("[VERSION]\nskinname=Second\n").bytes);
  EXPECT_EQ(d.SkinName, "Second");
  EXPECT_TRUE(d.CtrlList.empty());
  EXPECT_TRUE(d.RollUpPicture().empty());
  EXPECT_TRUE(d.ActivePictures().empty());
  EXPECT_EQ(d.FormInfo.clientrect, SkinRect{});
}

TEST(SkinData, DefaultsBeforeAnyLoad) {
  TskSkinData d;
  EXPECT_TRUE(d.Empty());
  EXPECT_FALSE(d.Changing());
  EXPECT_TRUE(d.SkinnableForm());
  EXPECT_TRUE(d.EnableSkinEffects);
  EXPECT_EQ(d.SkinColors.cbtnface, static_cast<SkinColor>(0xFF00000F));
  EXPECT_EQ(d.SkinColors.c3ddkshadow, static_cast<SkinColor>(0xFF000015));
  EXPECT_EQ(d.PopupWindow.windowpictureindex, -1);
  EXPECT_EQ(d.HintWindow.maskpictureindex, -1);
}

TEST(SkinData, HugeListCountsStayBounded) {
  TskSkinData d;
  d.LoadInflated(Package().i32(0).u8(1).u8(1).i32(0).text(
      "[PICTURES]\nactivepicturescount=2000000000\n[SKINCONTROLS]\ncount=2147483647\n"
      "2000000=far:panel\n0007=padded:panel\n").bytes);
  ASSERT_EQ(d.CtrlList.size(), 1u);
  EXPECT_EQ(d.CtrlList[0]->name, "far");
  EXPECT_EQ(d.ActivePictureNames.size(), 65536u);
}

TEST(StoredSkin, SknStreams) {
  TskCompressedStoredSkin s;
  s.ReadCompressedData(std::vector<uint8_t>{1, 2, 3});
  std::vector<uint8_t> skn;
  s.WriteSknStream(skn);
  EXPECT_EQ(skn, (std::vector<uint8_t>{2, 0, 0, 0, 3, 0, 0, 0, 1, 2, 3}));
  TskCompressedStoredSkin t;
  t.ReadSknStream(skn);
  EXPECT_EQ(std::vector<uint8_t>(t.CompressedData().begin(), t.CompressedData().end()), (std::vector<uint8_t>{1, 2, 3}));

  skn[0] = 4;  // newer than we know: stays empty
  t.ReadSknStream(skn);
  EXPECT_TRUE(t.IsEmpty());
  skn[0] = 3;
  skn[4] = 200;  // length beyond the file
  EXPECT_THROW(t.ReadSknStream(skn), EReadError);
  EXPECT_THROW(t.ReadSknStream(std::vector<uint8_t>{1, 0}), EReadError);
}

TEST(StoredSkin, ImportSkinFolderBuildsWhatTheLoaderReads) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("tavlox-skin-import-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  auto write = [&](const char* name, const std::vector<uint8_t>& b) {
    std::ofstream(dir / name, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), b.size());
  };
  write("main.bmp", SolidBmp24(2, 3, 0x112233));
  write("mask.bmp", SolidBmp24(4, 3, 0));
  write("a.bmp", SolidBmp24(4, 4, 0xFF0000));
  write("b.bmp", SolidBmp24(5, 1, 0x00FF00));
  const std::string text = std::string(kText) + "[SKINCONTROLS]\n";  // LF line ends get CR LF in the package
  write("skin.ini", std::vector<uint8_t>(text.begin(), text.end()));

  for (int version = 0; version <= 3; ++version) {
    SCOPED_TRACE(version);
    TskCompressedStoredSkin s;
    ASSERT_TRUE(s.ImportSkinFolder((dir / "skin.ini").string(), version));
    EXPECT_EQ(s.CompressedData()[0], 0x78);
    EXPECT_EQ(s.CompressedData()[1], 0xDA);
    TskSkinData d;
    d.LoadPackage(s);
    EXPECT_EQ(d.Layout().version, version);
    EXPECT_EQ(d.Picture().pixel(0, 0), 0x112233u);
    EXPECT_EQ(d.ActivePictures().size(), 2u);
    const auto pkg = s.InflateTo();
    const std::string tail(pkg.end() - 18, pkg.end());
    EXPECT_EQ(tail, "\r\n[SKINCONTROLS]\r\n");
  }

  // The default writes version 2.
  TskCompressedStoredSkin s2;
  ASSERT_TRUE(s2.ImportSkinFolder((dir / "skin.ini").string()));
  EXPECT_EQ(s2.InflateTo()[0], 2);

  // A missing main section: nothing changes.
  write("partial.ini", std::vector<uint8_t>{'[', 'V', 'E', 'R', 'S', 'I', 'O', 'N', ']'});
  EXPECT_FALSE(s2.ImportSkinFolder((dir / "partial.ini").string()));
  EXPECT_EQ(s2.InflateTo()[0], 2);
  // A missing picture file throws and keeps the stored bytes.
  fs::remove(dir / "b.bmp");
  const auto before = std::vector<uint8_t>(s2.CompressedData().begin(), s2.CompressedData().end());
  EXPECT_THROW(s2.ImportSkinFolder((dir / "skin.ini").string()), ESkinFileError);
  EXPECT_TRUE(std::equal(before.begin(), before.end(), s2.CompressedData().begin(), s2.CompressedData().end()));
  fs::remove_all(dir);
}

TEST(StoredSkin, DestroyedStoredSkinClearsTheReference) {
  TskSkinData d;
  {
    TskCompressedStoredSkin s;
    d.SetCompressedStoredSkin(&s);  // empty: nothing loads
    EXPECT_EQ(d.CompressedStoredSkin(), &s);
  }
  EXPECT_EQ(d.CompressedStoredSkin(), nullptr);
}

TEST(SkinData, PicturesDecodeIntoSuppliedMemory) {
  struct Block {
    std::vector<uint32_t> pixels;
  };
  std::vector<std::weak_ptr<Block>> handedOut;
  TskSkinData d;
  d.SetPixelAllocator([&](int w, int h) {
    auto block = std::make_shared<Block>();
    block->pixels.assign(static_cast<size_t>(w) * h, 0xCCCCCCCC);
    handedOut.push_back(block);
    return PixelStorage{block->pixels.data(), block};
  });
  d.LoadInflated(PackageOfVersion(3));
  ASSERT_EQ(handedOut.size(), 4u);  // main, mask and two indexed pictures
  EXPECT_EQ(d.ActivePicture(0)->pixels().data(), handedOut[2].lock()->pixels.data());
  EXPECT_EQ(d.ActivePicture(0)->pixel(0, 0), 0xFF0000u);
  // The memory lives as long as the pictures do.
  d.LoadInflated(Package().i32(0).u8(1).u8(1).i32(0).bytes);
  for (auto& w : handedOut) EXPECT_TRUE(w.expired());
}
