#include "skin/core/skin_description.h"

#include <string>

#include <gtest/gtest.h>

#include "platform/rtl/exception.h"
#include "skin_data_test_support.h"

namespace skin {
namespace {

TEST(SkinDescription, RectAndPointFields) {
    struct TCase {
        const char* text;
        TRect rect;
    };
    const TCase cases[] = {
        {"1,2,3,4", {1, 2, 3, 4}},
        {"-10,5,20,30", {-10, 5, 20, 30}},    // the minus sign the writer writes survives
        {" - 7, 8 ,9x,1a0", {-7, 8, 9, 10}},  // other characters are dropped
        {"1-0,2,3,4", {10, 2, 3, 4}},         // "-" counts only in front
        {"1,2,3,4,5,junk", {1, 2, 3, 4}},     // fields past the fourth are ignored
        {"0x10,2,3,4", {10, 2, 3, 4}},        // no hex here: the digits only
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ParseRect(c.text), c.rect);
    }
    EXPECT_EQ(ParsePoint("-5,3"), (TPoint{-5, 3}));
    EXPECT_EQ(ParsePoint("5, 3, 9"), (TPoint{5, 3}));
    EXPECT_EQ(FormatRect({-10, 5, 20, 30}), "-10,5,20,30");
    EXPECT_EQ(FormatPoint({-1, 0}), "-1,0");

    // A field without a digit stops the load with the conversion error.
    for (const char* text : {"1,2,,4", "1,2,3", "", "a,b,c,d", "1,2,-,4"}) {
        SCOPED_TRACE(text);
        try {
            ParseRect(text);
            ADD_FAILURE() << "no exception";
        } catch (const rtl::EConvertError& e) {
            EXPECT_EQ(e.Message(), "'' is not a valid integer value");
        }
    }
    EXPECT_THROW(ParsePoint("7"), rtl::EConvertError);
}

TEST(SkinDescription, ValueReadersByType) {
    auto ini = test::IniOf(
        "[S]\nint=0x10\nbad=12abc\nempty=\ncolour=8421504\n"
        "b1=1\nb2=2\nbm=-1\nbx=yes\n"
        "st1=sthorz\nst2=STFULL\nst3=stvert\nie=blur\nie2=iesplitblur\nmk=fade\nmk2=mkpush\n"
        "al=left\nal2=taleftjustify\ncm1=cmminimizetotray\ncm2=CMCLOSE\ncm3=cmrollup\ncm4=zzz\n"
        "fs1=fsbold,fsunderline\nfs2=xfsitalicx\nfs3=FSBOLD\n");
    const rtl::TCustomIniFile& s = *ini;
    EXPECT_EQ(value::Int::Read(s, "S", "int", 0), 16);
    EXPECT_EQ(value::Int::Read(s, "S", "bad", -1), -1);
    EXPECT_EQ(value::Int::Read(s, "S", "empty", 7), 7);
    EXPECT_EQ(value::Int::Read(s, "s", "INT", 0), 16);  // names ignore case
    EXPECT_EQ(value::Colour::Read(s, "S", "colour", 0), 0x808080);

    struct TBool {
        const char* key;
        bool expected;
    };
    for (TBool c : {TBool{"b1", true}, TBool{"b2", false}, TBool{"bm", false}, TBool{"bx", false},
                    TBool{"missing", false}}) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(value::Bool::Read(s, "S", c.key, false), c.expected);
    }

    EXPECT_EQ(value::Stretch::Read(s, "S", "st1", bsstFull), bsstHorz);
    EXPECT_EQ(value::Stretch::Read(s, "S", "st2", bsstFull), bsstHorz);  // words are exact
    EXPECT_EQ(value::Stretch::Read(s, "S", "st3", bsstFull), bsstVert);
    EXPECT_EQ(value::Stretch::Read(s, "S", "missing", bsstFull), bsstFull);
    EXPECT_EQ(value::Stretch::Read(s, "S", "empty", bsstFull), bsstHorz);
    EXPECT_EQ(value::Effect::Read(s, "S", "ie", ieBrightness), ieGrayScale);
    EXPECT_EQ(value::Effect::Read(s, "S", "ie2", ieBrightness), ieSplitBlur);
    EXPECT_EQ(value::Effect::Read(s, "S", "missing", ieBrightness), ieBrightness);
    EXPECT_EQ(value::Morph::Read(s, "S", "mk", mkDefault), mkDefault);
    EXPECT_EQ(value::Morph::Read(s, "S", "mk2", mkDefault), mkPush);
    EXPECT_EQ(value::Align::Read(s, "S", "al", taCenter), taRightJustify);
    EXPECT_EQ(value::Align::Read(s, "S", "al2", taCenter), taLeftJustify);
    EXPECT_EQ(value::Align::Read(s, "S", "missing", taCenter), taCenter);
    EXPECT_EQ(value::Command::Read(s, "S", "cm1", cmDefault), cmMinimizeToTray);
    EXPECT_EQ(value::Command::Read(s, "S", "cm2", cmDefault), cmMinimizeToTray);
    EXPECT_EQ(value::Command::Read(s, "S", "cm3", cmDefault), cmRollUp);
    EXPECT_EQ(value::Command::Read(s, "S", "cm4", cmDefault), cmMinimizeToTray);
    EXPECT_EQ(value::Command::Read(s, "S", "missing", cmDefault), cmDefault);

    EXPECT_EQ(value::FontStyles::Read(s, "S", "fs1", 0), gfx::fsBold | gfx::fsUnderline);
    EXPECT_EQ(value::FontStyles::Read(s, "S", "fs2", 0), TFontStyles(gfx::fsItalic));
    EXPECT_EQ(value::FontStyles::Read(s, "S", "fs3", 0), 0u);
    EXPECT_EQ(value::Rect::Read(s, "S", "missing", {}), TRect{});
    EXPECT_EQ(value::Text::Read(s, "S", "missing", "Arial"), "Arial");
}

TEST(SkinDescription, WritersWriteWhatReadersRead) {
    rtl::TMemIniFile ini;
    value::Bool::Write(ini, "S", "b", true);
    value::Rect::Write(ini, "S", "r", {-10, 5, 20, 30});
    value::Point::Write(ini, "S", "p", {3, -4});
    value::FontStyles::Write(ini, "S", "f", gfx::fsStrikeOut | gfx::fsBold | gfx::fsItalic);
    value::FontStyles::Write(ini, "S", "none", 0);
    value::Stretch::Write(ini, "S", "st", bsstHorz);
    value::Command::Write(ini, "S", "cm", cmMinimizeToTray);
    value::Colour::Write(ini, "S", "c", gfx::clBtnFace);
    rtl::TStringList list;
    list.Add("atlas.bmp");
    list.Add("界面.bmp");
    WriteStringList(ini, "S", "activepictures", list);
    rtl::TStringList lines;
    ini.GetStrings(lines);
    EXPECT_EQ(test::LinesOf(lines),
              (std::vector<std::string>{"[S]", "b=1", "r=-10,5,20,30", "p=3,-4",
                                        "f=fsbold,fsitalic,fsstrikeout", "none=", "st=sthorz",
                                        "cm=cmminimizetotray", "c=-16777201",
                                        "activepicturescount=2", "0=atlas.bmp", "1=界面.bmp"}));
    EXPECT_EQ(value::Colour::Read(ini, "S", "c", 0), gfx::clBtnFace);
    EXPECT_EQ(value::Command::Read(ini, "S", "cm", cmDefault), cmMinimizeToTray);
    rtl::TStringList read;
    read.Add("kept");
    ReadStringList(ini, "S", "activepictures", read);  // appends
    EXPECT_EQ(test::LinesOf(read), (std::vector<std::string>{"kept", "atlas.bmp", "界面.bmp"}));
}

}  // namespace
}  // namespace skin
