#include <gtest/gtest.h>

#include "skin/SkinIni.h"

using namespace tavlox::skin;

TEST(SkinIni, SyntaxOfLinesSectionsAndKeys) {
  const SkinIni ini(
      "before=dropped\r\n"
      "  [ First ]  \r\n"
      "; comment=1\n"
      "\tKey = value with = sign \r"
      "noequals\n"
      "SkinRect=1,2,3,4\n"
      "[first]\n"  // a repeated section replaces the earlier one
      "other=2\n"
      "other=3\n"
      "[Empty]\n"
      "blank=\n");
  EXPECT_FALSE(ini.value("first", "key"));
  EXPECT_FALSE(ini.value("first", "skinrect"));
  EXPECT_EQ(ini.value("FIRST", "OTHER"), "3");
  EXPECT_EQ(ini.value("empty", "blank"), "");
  EXPECT_FALSE(ini.value("", "before"));
  EXPECT_TRUE(ini.hasSection("EMPTY"));
  EXPECT_FALSE(ini.hasSection("missing"));

  const SkinIni caseKeys("[s]\nSkinRect=1,2,3,4\n  Key = value with = sign \n");
  EXPECT_EQ(ReadRect(caseKeys, "S", "skinrect"), (SkinRect{1, 2, 3, 4}));
  EXPECT_EQ(caseKeys.value("s", "KEY"), "value with = sign");
}

TEST(SkinIni, IntegerSyntax) {
  struct Case {
    const char* text;
    std::optional<int32_t> value;
  } cases[] = {
      {"0", 0},          {"-17", -17},        {"+5", 5},           {"0x1F", 31},           {"0XfF", 255},
      {"$10", 16},       {"$FFFFFFFF", -1},   {"2147483647", 2147483647}, {"-2147483648", INT32_MIN},
      {"2147483648", {}}, {"$100000000", {}}, {"", {}},            {"-", {}},              {"0x", {}},
      {"12a", {}},       {"1 2", {}},         {"$G", {}},          {" 42 ", 42},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseSkinInteger(c.text), c.value) << c.text;
}

TEST(SkinIni, ValueReaders) {
  const SkinIni ini(
      "[v]\n"
      "int=12\nbadint=1x\nhex=$20\n"
      "b1=1\nb2=2\nb0=0\nbhex=0x1\n"
      "pt=3,4\nrect=-5,2,71,23\nspaced= 1 , 2 , 3 , 4 \n"
      "fs1=fsbold\nfs2=fsBold\nfs3=fsbold,fsitalic\nfs4=[fsunderline fsstrikeout]\n"
      "al1=TACENTER\nal2=taleftjustify\nal3=tacenter\nal4=tarightjustify\n"
      "st1=sthorz\nst2=stvert\nst3=whatever\nst4=stfull\n"
      "mk1=mkpush\nmk2=mkRightSlide\n"
      "ie1=\nie2=iedarkness\nie3=ieinvert\n"
      "cm1=cmminimizetotray\ncm2=unknown\ncm3=cmrollup\ncm4=cmclose\n"
      "str= text \n");
  EXPECT_EQ(ReadInteger(ini, "v", "int", 7), 12);
  EXPECT_EQ(ReadInteger(ini, "v", "badint", 7), 7);
  EXPECT_EQ(ReadInteger(ini, "v", "hex", 7), 32);
  EXPECT_EQ(ReadInteger(ini, "v", "absent", 7), 7);
  EXPECT_EQ(ReadInteger(ini, "nosection", "int", -1), -1);

  EXPECT_TRUE(ReadBoolean(ini, "v", "b1"));
  EXPECT_FALSE(ReadBoolean(ini, "v", "b2"));
  EXPECT_FALSE(ReadBoolean(ini, "v", "b0"));
  EXPECT_TRUE(ReadBoolean(ini, "v", "bhex"));
  EXPECT_FALSE(ReadBoolean(ini, "v", "absent"));

  EXPECT_EQ(ReadPoint(ini, "v", "pt"), (SkinPoint{3, 4}));
  EXPECT_EQ(ReadPoint(ini, "v", "absent"), (SkinPoint{0, 0}));
  EXPECT_EQ(ReadRect(ini, "v", "rect"), (SkinRect{5, 2, 71, 23}));
  EXPECT_EQ(ReadRect(ini, "v", "spaced"), (SkinRect{1, 2, 3, 4}));

  EXPECT_EQ(ReadFontStyle(ini, "v", "fs1"), fsBold);
  EXPECT_EQ(ReadFontStyle(ini, "v", "fs2"), fsPlain);
  EXPECT_EQ(ReadFontStyle(ini, "v", "fs3"), fsBold | fsItalic);
  EXPECT_EQ(ReadFontStyle(ini, "v", "fs4"), fsUnderline | fsStrikeOut);
  EXPECT_EQ(ReadFontStyle(ini, "v", "absent"), fsPlain);

  EXPECT_EQ(ReadAlignment(ini, "v", "al1"), SkinAlignment::RightJustify);
  EXPECT_EQ(ReadAlignment(ini, "v", "al2"), SkinAlignment::LeftJustify);
  EXPECT_EQ(ReadAlignment(ini, "v", "al3"), SkinAlignment::Center);
  EXPECT_EQ(ReadAlignment(ini, "v", "al4"), SkinAlignment::RightJustify);
  EXPECT_EQ(ReadAlignment(ini, "v", "absent"), SkinAlignment::Center);

  EXPECT_EQ(ReadStretchType(ini, "v", "st1"), StretchType::Horz);
  EXPECT_EQ(ReadStretchType(ini, "v", "st2"), StretchType::Vert);
  EXPECT_EQ(ReadStretchType(ini, "v", "st3"), StretchType::Horz);
  EXPECT_EQ(ReadStretchType(ini, "v", "st4"), StretchType::Full);
  EXPECT_EQ(ReadStretchType(ini, "v", "absent"), StretchType::Full);

  EXPECT_EQ(ReadMorphKind(ini, "v", "mk1"), MorphKind::Push);
  EXPECT_EQ(ReadMorphKind(ini, "v", "mk2"), MorphKind::Default);
  EXPECT_EQ(ReadMorphKind(ini, "v", "absent"), MorphKind::Default);

  EXPECT_EQ(ReadInactiveEffect(ini, "v", "ie1"), InactiveEffect::GrayScale);
  EXPECT_EQ(ReadInactiveEffect(ini, "v", "ie2"), InactiveEffect::Darkness);
  EXPECT_EQ(ReadInactiveEffect(ini, "v", "ie3"), InactiveEffect::Invert);
  EXPECT_EQ(ReadInactiveEffect(ini, "v", "absent"), InactiveEffect::Brightness);

  EXPECT_EQ(ReadCommand(ini, "v", "cm1"), SkinCommand::MinimizeToTray);
  EXPECT_EQ(ReadCommand(ini, "v", "cm2"), SkinCommand::MinimizeToTray);
  EXPECT_EQ(ReadCommand(ini, "v", "cm3"), SkinCommand::RollUp);
  EXPECT_EQ(ReadCommand(ini, "v", "cm4"), SkinCommand::Close);
  EXPECT_EQ(ReadCommand(ini, "v", "absent"), SkinCommand::Default);

  EXPECT_EQ(ReadString(ini, "v", "str"), "text");
  EXPECT_EQ(ReadString(ini, "v", "absent", "Arial"), "Arial");
}

TEST(SkinIni, MalformedPointsAndRectanglesAreErrors) {
  struct Case {
    const char* value;
    bool rect;
    const char* message;
  } cases[] = {
      {"1,2,3", true, "'' is not a valid integer value"},
      {"1,,3,4", true, "'' is not a valid integer value"},
      {"", false, "'' is not a valid integer value"},
      {"a,b", false, "'' is not a valid integer value"},
      {"1", false, "'' is not a valid integer value"},
      {"1,2,3,4,5", true, "'1,2,3,4,5' is not a valid integer value"},
      {"1,2,3", false, "'1,2,3' is not a valid integer value"},
      {"99999999999,1", false, "'99999999999' is not a valid integer value"},
  };
  for (const Case& c : cases) {
    SkinIni ini;
    ini.set("s", "k", c.value);
    try {
      if (c.rect) ReadRect(ini, "s", "k");
      else ReadPoint(ini, "s", "k");
      ADD_FAILURE() << c.value << " accepted";
    } catch (const EConvertError& e) {
      EXPECT_STREQ(e.what(), c.message) << c.value;
    }
  }
}

TEST(SkinIni, WriterWordsReadBack) {
  SkinIni ini;
  for (int i = 0; i < 7; ++i) ini.set("w", "cm" + std::to_string(i), CommandWord(static_cast<SkinCommand>(i)));
  for (int i = 0; i < 7; ++i) EXPECT_EQ(ReadCommand(ini, "w", "cm" + std::to_string(i)), static_cast<SkinCommand>(i));
  for (auto a : {SkinAlignment::LeftJustify, SkinAlignment::RightJustify, SkinAlignment::Center}) {
    ini.set("w", "al", AlignmentWord(a));
    EXPECT_EQ(ReadAlignment(ini, "w", "al"), a);
  }
  for (auto t : {StretchType::Full, StretchType::Vert, StretchType::Horz}) {
    ini.set("w", "st", StretchTypeWord(t));
    EXPECT_EQ(ReadStretchType(ini, "w", "st"), t);
  }
  for (uint8_t s = 0; s < 16; ++s) {
    ini.set("w", "fs", FontStyleText(s));
    EXPECT_EQ(ReadFontStyle(ini, "w", "fs"), s);
  }
}
