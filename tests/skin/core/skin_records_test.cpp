#include "skin/core/skin_records.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "platform/rtl/sysutils.h"
#include "skin_data_test_support.h"

namespace skin {
namespace {

// Every key a record of this class wrote, as lower-case name and value.
std::map<std::string, std::string> WrittenKeys(const rtl::TMemIniFile& ini,
                                               const std::string& section) {
    rtl::TStringList lines;
    ini.ReadSectionValues(section, lines);
    std::map<std::string, std::string> keys;
    for (int i = 0; i < lines.Count(); ++i)
        keys[rtl::LowerCase(lines.Names(i))] = lines.ValueFromIndex(i);
    return keys;
}

// A section holding every key of every table with a value no default has.
std::unique_ptr<rtl::TMemIniFile> EveryKeySection(const std::string& section) {
    std::string text = "[" + section + "]\n";
    for (const auto& [key, value] : test::EveryRecordKey()) text += key + "=" + value + "\n";
    return test::IniOf(text);
}

// Keys whose value a class sets itself after reading, whatever the section says.
const std::map<std::string, std::map<std::string, std::string>> kFixedAfterRead = {
    {"updown",
     {{"lefttoppoint", "0,0"},
      {"righttoppoint", "0,0"},
      {"leftbottompoint", "0,0"},
      {"rightbottompoint", "0,0"},
      {"clientrect", "0,0,0,0"}}},
    {"animate", {{"morphing", "0"}}},
};

// Read every key into its field and write it back under the same key: a key read into the wrong
// field, or not read at all, comes back with another value.
void ExpectEveryKeyRoundTrips(
    const std::string& word,
    const std::function<void(const rtl::TCustomIniFile&, rtl::TMemIniFile&)>& readThenWrite) {
    SCOPED_TRACE(word);
    auto source = EveryKeySection("r");
    rtl::TMemIniFile written;
    readThenWrite(*source, written);
    const std::map<std::string, std::string> keys = WrittenKeys(written, "r");
    const std::map<std::string, std::string> every = test::EveryRecordKey();
    EXPECT_FALSE(keys.empty());
    auto fixed = kFixedAfterRead.find(word);
    for (const auto& [key, value] : keys) {
        SCOPED_TRACE(key);
        if (fixed != kFixedAfterRead.end() && fixed->second.count(key))
            EXPECT_EQ(value, fixed->second.at(key));
        else
            EXPECT_EQ(value, every.at(key));
    }
}

TEST(SkinRecords, EveryKindWordMakesItsClassAndWritesItsWord) {
    for (const std::string& word : test::ControlKindWords()) {
        auto record = CreateControlRecord(word, "r");
        ASSERT_NE(record, nullptr) << word;
        EXPECT_EQ(record->IDName, "r");
        EXPECT_EQ(ControlKindWord(*record), word);
    }
    for (const std::string& word : test::ObjectKindWords()) {
        auto record = CreateObjectRecord(word, "r");
        ASSERT_NE(record, nullptr) << word;
        EXPECT_EQ(ObjectKindWord(*record), word);
    }
    EXPECT_EQ(test::ControlKindWords().size(), 28u);
    EXPECT_EQ(test::ObjectKindWords().size(), 8u);

    // Derived records stand in where their base is expected.
    EXPECT_NE(dynamic_cast<TbsDataSkinButtonControl*>(CreateControlRecord("menubutton", "").get()),
              nullptr);
    EXPECT_NE(dynamic_cast<TbsDataSkinListBox*>(CreateControlRecord("checklistbox", "").get()),
              nullptr);
    EXPECT_NE(dynamic_cast<TbsDataSkinEditControl*>(CreateControlRecord("memo", "").get()),
              nullptr);
    EXPECT_NE(dynamic_cast<TbsDataSkinCustomControl*>(CreateControlRecord("button", "").get()),
              nullptr);
    EXPECT_EQ(dynamic_cast<TbsDataSkinCustomControl*>(CreateControlRecord("tab", "").get()),
              nullptr);
    EXPECT_NE(
        dynamic_cast<TbsDataSkinStdButton*>(CreateObjectRecord("mainmenubarbutton", "").get()),
        nullptr);
    EXPECT_NE(
        dynamic_cast<TbsDataSkinMainMenuItem*>(CreateObjectRecord("mainmenubaritem", "").get()),
        nullptr);

    // Words are compared exactly; a word a newer skin uses creates nothing.
    for (const char* word : {"Panel", "panel ", "", "MENUITEM", "roundbutton"}) {
        EXPECT_EQ(CreateControlRecord(word, "x"), nullptr) << word;
        EXPECT_EQ(CreateObjectRecord(word, "x"), nullptr) << word;
    }
}

TEST(SkinRecords, EveryKeyReadsIntoItsFieldAndWritesBack) {
    for (const std::string& word : test::ControlKindWords())
        ExpectEveryKeyRoundTrips(word, [&](const rtl::TCustomIniFile& in, rtl::TMemIniFile& out) {
            auto record = CreateControlRecord(word, "r");
            record->LoadFromFile(in);
            record->SaveToFile(out);
        });
    for (const std::string& word : test::ObjectKindWords())
        ExpectEveryKeyRoundTrips(word, [&](const rtl::TCustomIniFile& in, rtl::TMemIniFile& out) {
            auto record = CreateObjectRecord(word, "r");
            record->LoadFromFile(in);
            record->SaveToFile(out);
        });
    // The singletons read their fixed section.
    auto roundTrip = [](auto singleton) {
        std::string section(singleton.kSection);
        ExpectEveryKeyRoundTrips(section, [&](const rtl::TCustomIniFile&, rtl::TMemIniFile& out) {
            auto in = EveryKeySection(section);
            singleton.LoadFromFile(*in);
            rtl::TMemIniFile scratch;
            singleton.SaveToFile(scratch);
            rtl::TStringList lines;
            scratch.ReadSectionValues(section, lines);
            for (int i = 0; i < lines.Count(); ++i)
                out.WriteString("r", lines.Names(i), lines.ValueFromIndex(i));
        });
    };
    roundTrip(TbsDataSkinPopupWindow{});
    roundTrip(TbsDataSkinLayerFrame{});
    roundTrip(TbsDataSkinHintWindow{});
}

TEST(SkinRecords, WritersEraseTheirSectionFirst) {
    auto ini = test::IniOf("[b]\nstale=1\nfontheight=9\n[other]\nx=1\n");
    auto record = CreateControlRecord("button", "b");
    record->SaveToFile(*ini);
    EXPECT_FALSE(ini->ValueExists("b", "stale"));
    EXPECT_EQ(ini->ReadString("b", "fontheight", ""), "14");
    EXPECT_EQ(ini->ReadString("other", "x", ""), "1");
}

TEST(SkinRecords, MissingSectionsReadTheDefaults) {
    auto empty = test::IniOf("");
    auto load = [&](const char* word) {
        auto record = CreateControlRecord(word, "absent");
        record->LoadFromFile(*empty);
        return record;
    };
    auto button = load("button");
    auto& b = dynamic_cast<TbsDataSkinButtonControl&>(*button);
    EXPECT_EQ(b.PictureIndex, -1);
    EXPECT_EQ(b.MaskPictureIndex, -1);
    EXPECT_EQ(b.FontName, "Arial");
    EXPECT_EQ(b.FontHeight, 14);
    EXPECT_EQ(b.AnimateInterval, 25);
    EXPECT_EQ(b.GlowLayerAlphaBlendValue, 255);
    EXPECT_EQ(b.GlowLayerPictureIndex, -1);
    EXPECT_EQ(b.StretchType, bsstFull);
    EXPECT_EQ(b.MorphKind, mkDefault);
    for (const TRect& r : {b.SkinRect, b.ActiveSkinRect, b.DownSkinRect, b.ClRect})
        EXPECT_EQ(r, TRect{});

    EXPECT_EQ(dynamic_cast<TbsDataSkinStdLabelControl&>(*load("stdlabel")).ActiveFontColor,
              16711680);
    auto list = load("checklistbox");
    auto& l = dynamic_cast<TbsDataSkinListBox&>(*list);
    EXPECT_EQ(l.HScrollBarName, "hscrollbar");
    EXPECT_EQ(l.VScrollBarName, "vscrollbar");
    EXPECT_EQ(l.BothScrollBarName, "bothhscrollbar");
    EXPECT_EQ(l.CaptionFontHeight, 14);
    auto tab = load("tab");
    EXPECT_EQ(dynamic_cast<TbsDataSkinTabControl&>(*tab).FontHeight, 14);
    EXPECT_EQ(dynamic_cast<TbsDataSkinTabControl&>(*tab).BGPictureIndex, -1);
    auto bar = load("controlbar");
    EXPECT_EQ(dynamic_cast<TbsDataSkinControlBar&>(*bar).ItemOffset1, 3);
    EXPECT_EQ(dynamic_cast<TbsDataSkinPanelControl&>(*load("panel")).Alignment, taCenter);

    auto animate = CreateObjectRecord("animate", "absent");
    animate->LoadFromFile(*empty);
    auto& a = dynamic_cast<TbsDataSkinAnimate&>(*animate);
    EXPECT_EQ(a.CountFrames, 1);
    EXPECT_EQ(a.TimerInterval, 50);
    EXPECT_EQ(a.Command, cmDefault);
    EXPECT_EQ(a.ActivePictureIndex, -1);
    auto caption = CreateObjectRecord("caption", "absent");
    caption->LoadFromFile(*empty);
    EXPECT_EQ(dynamic_cast<TbsDataSkinCaption&>(*caption).GlowSize, 3);
}

TEST(SkinRecords, UpDownNeverCarriesNineSliceGeometry) {
    auto ini = test::IniOf(
        "[ud]\nlefttoppoint=5,5\nrightbottompoint=9,9\nclientrect=1,1,8,8\nskinrect=0,0,10,20\n"
        "upbuttonrect=0,0,10,10\n");
    auto record = CreateControlRecord("updown", "ud");
    record->LoadFromFile(*ini);
    auto& ud = dynamic_cast<TbsDataSkinUpDownControl&>(*record);
    EXPECT_EQ(ud.LTPoint, TPoint{});
    EXPECT_EQ(ud.RBPoint, TPoint{});
    EXPECT_EQ(ud.ClRect, TRect{});
    EXPECT_EQ(ud.SkinRect, (TRect{0, 0, 10, 20}));
    EXPECT_EQ(ud.UpButtonRect, (TRect{0, 0, 10, 10}));
}

TEST(SkinRecords, MenuItemHotImagesFallBackToTheNormalOnes) {
    auto ini = test::IniOf(
        "[m]\ncheckimagerect=1,2,3,4\nradioimagerect=5,6,7,8\nactiveradioimagerect=9,9,9,20\n"
        "arrowimagerect=1,1,5,5\nactivearrowimagerect=4,4,9,9\n");
    auto record = CreateObjectRecord("menuitem", "m");
    record->LoadFromFile(*ini);
    auto& m = dynamic_cast<TbsDataSkinMenuItem&>(*record);
    EXPECT_EQ(m.ActiveCheckImageRect, (TRect{1, 2, 3, 4}));  // missing
    EXPECT_EQ(m.ActiveRadioImageRect, (TRect{5, 6, 7, 8}));  // no width: empty
    EXPECT_EQ(m.ActiveArrowImageRect, (TRect{4, 4, 9, 9}));  // kept
    EXPECT_EQ(m.AnimateInterval, 25);
}

TEST(SkinRecords, CaptionButtonsGetARestoreHint) {
    struct TCase {
        const char* kind;
        const char* hint;
        const char* command;
        const char* restoreHint;
        const char* expected;
    };
    const TCase cases[] = {
        {"stdbutton", "Maximize", "cmmaximize", nullptr, "Restore"},
        {"stdbutton", "Minimize", "cmminimize", nullptr, "Restore"},
        {"stdbutton", "Roll Up", "cmrollup", nullptr, "Restore"},
        {"stdbutton", "RollUp", "cmrollup", nullptr, "Restore"},
        {"mainmenubarbutton", "Maximize", "cmmaximize", nullptr, "Restore"},
        {"animate", "Minimize", "cmminimize", nullptr, "Restore"},
        {"stdbutton", "Close", "cmrollup", nullptr, ""},
        {"stdbutton", "Maximize", "cmminimize", nullptr, ""},
        {"stdbutton", "maximize", "cmmaximize", nullptr, ""},  // exact comparison
        {"stdbutton", "Maximize", "cmmaximize", "Back", "Back"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.kind) + " " + c.hint + " " + c.command);
        std::string text = std::string("[s]\nhint=") + c.hint + "\ncommand=" + c.command + "\n";
        if (c.restoreHint) text += std::string("restorehint=") + c.restoreHint + "\n";
        auto ini = test::IniOf(text);
        auto record = CreateObjectRecord(c.kind, "s");
        record->LoadFromFile(*ini);
        if (auto* b = dynamic_cast<TbsDataSkinStdButton*>(record.get()))
            EXPECT_EQ(b->RestoreHint, c.expected);
        else
            EXPECT_EQ(dynamic_cast<TbsDataSkinAnimate&>(*record).RestoreHint, c.expected);
    }
}

TEST(SkinRecords, UserObjectKeepsOnlyItsRect) {
    auto ini =
        test::IniOf("[u]\nskinrect=1,2,30,40\nhint=Drag me\nactivepictureindex=3\nmorphing=1\n");
    TbsDataUserObject user("u");
    user.LoadFromFile(*ini);
    EXPECT_EQ(user.SkinRect, (TRect{1, 2, 30, 40}));
    EXPECT_EQ(user.Hint, "");
    EXPECT_EQ(user.ActivePictureIndex, -1);
    EXPECT_FALSE(user.Morphing);
    user.SaveToFile(*ini);
    rtl::TStringList keys;
    ini->ReadSection("u", keys);
    EXPECT_EQ(test::LinesOf(keys), (std::vector<std::string>{"skinrect"}));
}

TEST(SkinRecords, MainMenuItemWritesItsOddKeyAndReadsItInAnyCase) {
    auto ini = test::IniOf("[i]\nUNENABLEDFONTCOLOR=255\n");
    auto record = CreateObjectRecord("mainmenubaritem", "i");
    record->LoadFromFile(*ini);
    EXPECT_EQ(dynamic_cast<TbsDataSkinMainMenuItem&>(*record).UnEnabledFontColor, 255);
    rtl::TMemIniFile out;
    record->SaveToFile(out);
    rtl::TStringList keys;
    out.ReadSection("i", keys);
    EXPECT_GE(keys.IndexOf("unenabledfontColor"), 0);
    EXPECT_EQ(keys.Get(keys.IndexOf("unenabledfontColor")), "unenabledfontColor");
}

TEST(SkinRecords, SingletonsAndColoursBeforeAndAfterALoad) {
    TbsDataSkinHintWindow hint;
    EXPECT_EQ(hint.FontHeight, 12);
    EXPECT_EQ(hint.FontName, "Arial");
    EXPECT_EQ(hint.WindowPictureIndex, -1);
    TbsDataSkinLayerFrame layer;
    EXPECT_EQ(layer.AlphaBlendValue, 255);
    EXPECT_EQ(layer.InActiveAlphaBlendValue, 255);
    EXPECT_FALSE(layer.HitTestEnable);
    EXPECT_EQ(TbsDataSkinPopupWindow{}.WindowPictureIndex, -1);

    auto empty = test::IniOf("[VERSION]\n");
    hint.LoadFromFile(*empty);
    EXPECT_EQ(hint.FontHeight, 14);

    TbsSkinColors colors;
    EXPECT_EQ(colors.cBtnFace, 0);
    EXPECT_EQ(colors.cBtnShadow, 0);
    colors.LoadFromFile(*empty);
    EXPECT_EQ(colors.cBtnFace, gfx::clBtnFace);
    EXPECT_EQ(colors.cBtnText, gfx::clBtnText);
    EXPECT_EQ(colors.cWindow, gfx::clWindow);
    EXPECT_EQ(colors.cWindowText, gfx::clWindowText);
    EXPECT_EQ(colors.cHighLight, gfx::clHighlight);
    EXPECT_EQ(colors.cHighLightText, gfx::clHighlightText);
    EXPECT_EQ(colors.cBtnHighLight, gfx::SystemColor(gfx::COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(colors.cBtnShadow, gfx::clBtnShadow);
    auto skinned = test::IniOf("[SKINCOLORS]\ncbtnface=8421504\ncwindow=0x00FF00\n");
    colors.LoadFromFile(*skinned);
    EXPECT_EQ(colors.cBtnFace, 0x808080);
    EXPECT_EQ(colors.cWindow, 0x00FF00);
    EXPECT_EQ(colors.cBtnText, gfx::clBtnText);
}

}  // namespace
}  // namespace skin
