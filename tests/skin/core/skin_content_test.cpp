#include "skin/core/skin_content.h"

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/rtl/exception.h"
#include "skin_data_test_support.h"
#include "support/temp_dir.h"

namespace skin {
namespace {

TbsSkinContent Read(std::string_view text) {
    auto ini = test::IniOf(text);
    TbsSkinContent skin;
    skin.ReadNames(*ini);
    skin.ReadDescription(*ini);
    return skin;
}

TEST(SkinContent, FrameGeometryIsAdjustedOnRead) {
    // Corners are clamped into the client rectangle...
    TbsSkinContent a = Read(
        "[FORMINFO]\nlefttoppoint=3,3\nrighttoppoint=120,2\nleftbottompoint=1,130\n"
        "rightbottompoint=99,99\nclientrect=5,5,100,100\n");
    EXPECT_EQ(a.LTPoint, (TPoint{5, 5}));
    EXPECT_EQ(a.RTPoint, (TPoint{100, 5}));
    EXPECT_EQ(a.LBPoint, (TPoint{5, 100}));
    EXPECT_EQ(a.RBPoint, (TPoint{99, 99}));
    // ...unless the right-bottom corner shares a coordinate with the left-top one.
    TbsSkinContent b =
        Read("[FORMINFO]\nlefttoppoint=3,3\nrightbottompoint=3,90\nclientrect=5,5,100,100\n");
    EXPECT_EQ(b.LTPoint, (TPoint{3, 3}));

    // With a mask, an empty mask area becomes the client rectangle and a hit-test point with
    // a zero coordinate takes its corner; without a mask neither happens.
    const char* frame =
        "[FORMINFO]\nlefttoppoint=10,10\nrighttoppoint=90,10\nleftbottompoint=10,90\n"
        "rightbottompoint=90,90\nclientrect=5,5,100,100\nhittestlefttoppoint=0,40\n"
        "hittestrighttoppoint=7,8\nhittestleftbottompoint=3,0\n";
    TbsSkinContent masked = Read(std::string("[PICTURES]\nmask=m.bmp\n") + frame);
    EXPECT_EQ(masked.MaskRectArea, (TRect{5, 5, 100, 100}));
    EXPECT_EQ(masked.HitTestLTPoint, (TPoint{10, 10}));
    EXPECT_EQ(masked.HitTestRTPoint, (TPoint{7, 8}));
    EXPECT_EQ(masked.HitTestLBPoint, (TPoint{10, 90}));
    EXPECT_EQ(masked.HitTestRBPoint, (TPoint{90, 90}));
    TbsSkinContent plain = Read(frame);
    EXPECT_EQ(plain.MaskRectArea, TRect{});
    EXPECT_EQ(plain.HitTestLTPoint, (TPoint{0, 40}));
    // A mask area that is set is widened to hold the client rectangle.
    TbsSkinContent widened =
        Read(std::string("[PICTURES]\nmask=m.bmp\n") + frame + "maskrectarea=0,8,50,200\n");
    EXPECT_EQ(widened.MaskRectArea, (TRect{0, 5, 100, 200}));
}

TEST(SkinContent, FormInfoDefaultsAndWords) {
    TbsSkinContent skin = Read("[FORMINFO]\nstretchtype=sthorz\ninactiveeffect=blur\n");
    EXPECT_EQ(skin.BGPictureIndex, -1);
    EXPECT_EQ(skin.MDIBGPictureIndex, -1);
    EXPECT_EQ(skin.StretchType, bsstHorz);
    EXPECT_EQ(skin.MDIBGStretchType, bsstFull);
    EXPECT_EQ(skin.InActiveEffect, ieGrayScale);
    EXPECT_EQ(skin.FormMinWidth, 0);
    EXPECT_FALSE(skin.CapButtonsInLeft);
}

TEST(SkinContent, LookUpIsExactAndFindsTheFirst) {
    TbsSkinContent skin = Read(
        "[SKINOBJECTS]\ncount=2\n0=menuitem:menuitem\n1=MENUITEM:menuitem\n"
        "[SKINCONTROLS]\ncount=5\n0=button:button\n1=panel:panel\n2=x:Panel\n3=panel:label\n"
        "4=nocolon\n[panel]\nfontheight=20\n");
    ASSERT_EQ(skin.CtrlList.size(), 3u);  // "Panel" and an entry without ":" create nothing
    EXPECT_EQ(skin.GetControlIndex("Button"), -1);
    EXPECT_EQ(skin.GetControlIndex("button"), 0);
    EXPECT_EQ(skin.GetControlIndex("panel"), 1);
    EXPECT_NE(dynamic_cast<TbsDataSkinPanelControl*>(skin.CtrlList[1].get()), nullptr);
    EXPECT_EQ(skin.GetControlIndex(""), -1);
    EXPECT_EQ(skin.GetIndex("MENUITEM"), 1);
    EXPECT_EQ(skin.GetIndex("menuItem"), -1);
    EXPECT_EQ(TbsSkinContent().GetControlIndex("button"), -1);
}

TEST(SkinContent, HugeCountsReadOnlyTheEntriesThere) {
    TbsSkinContent skin = Read(
        "[SKINCONTROLS]\ncount=2000000000\n0=a:button\n1=b:panel\n007=c:button\n"
        "[SKINOBJECTS]\ncount=1\n0=cap:caption\n1=extra:caption\n");
    ASSERT_EQ(skin.CtrlList.size(), 2u);
    EXPECT_EQ(skin.CtrlList[1]->IDName, "b");
    ASSERT_EQ(skin.ObjectList.size(), 1u);  // the count still limits
}

// One record of every kind word, every key set, a negative rect: written and read back it is
// the same skin, in the writer's section order.
TEST(SkinContent, DescriptionRoundTripKeepsEveryRecord) {
    testsupport::TTempDir dir;
    const std::string source = dir.Touch("every.ini", test::EveryKindDescription());
    TbsSkinContent first;
    ASSERT_TRUE(LoadSkinFromDescriptionFile(source, first));
    ASSERT_EQ(first.CtrlList.size(), 28u);
    ASSERT_EQ(first.ObjectList.size(), 8u);
    const int button = first.GetControlIndex("c-button");
    ASSERT_GE(button, 0);
    EXPECT_EQ(first.CtrlList[button]->SkinRect, (TRect{-10, 5, 20, 30}));

    first.SaveToFile(dir / "written.ini");
    TbsSkinContent second;
    ASSERT_TRUE(LoadSkinFromDescriptionFile(dir / "written.ini", second));
    EXPECT_EQ(test::DescriptionLines(second), test::DescriptionLines(first));
    for (const char* word : {"menubutton", "checklistbox", "memo", "button"}) {
        const int i = second.GetControlIndex(std::string("c-") + word);
        ASSERT_GE(i, 0) << word;
        EXPECT_EQ(ControlKindWord(*second.CtrlList[i]), word);
    }
    const int bar = second.GetIndex("o-mainmenubarbutton");
    ASSERT_GE(bar, 0);
    EXPECT_EQ(ObjectKindWord(*second.ObjectList[bar]), "mainmenubarbutton");
    EXPECT_EQ(second.CtrlList[second.GetControlIndex("c-button")]->SkinRect,
              (TRect{-10, 5, 20, 30}));
    EXPECT_EQ(second.SkinName, "Every kind");
    EXPECT_EQ(second.SkinColors()->cHighLight, 0x102030 * 5);
    EXPECT_EQ(second.HintWindow.FontName, "t-fontname");

    const std::string text = testsupport::ReadFile(dir / "written.ini");
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);  // CR LF lines
    EXPECT_FALSE(text.starts_with("\xEF\xBB\xBF"));
    rtl::TMemIniFile written(dir / "written.ini");
    rtl::TStringList sections;
    written.ReadSections(sections);
    std::vector<std::string> expected = {"VERSION",    "PICTURES",   "FORMINFO",   "POPUPWINDOW",
                                         "LAYERFRAME", "HINTWINDOW", "SKINCOLORS", "SKINOBJECTS"};
    for (const std::string& word : test::ObjectKindWords()) expected.push_back("o-" + word);
    expected.push_back("SKINCONTROLS");
    for (const std::string& word : test::ControlKindWords()) expected.push_back("c-" + word);
    EXPECT_EQ(test::LinesOf(sections), expected);
}

TEST(SkinContent, SaveToFileKeepsForeignSectionsAndDropsTheMark) {
    testsupport::TTempDir dir;
    const std::string file =
        dir.Touch("skin.ini", "\xEF\xBB\xBF[NOTES]\nby=hand\n[VERSION]\nver=0\nold=1\n");
    test::SampleSkin().SaveToFile(file);
    rtl::TMemIniFile ini(file);
    EXPECT_EQ(ini.ReadString("NOTES", "by", ""), "hand");
    EXPECT_FALSE(ini.ValueExists("VERSION", "old"));
    EXPECT_EQ(ini.ReadString("VERSION", "ver", ""), "1");
    EXPECT_TRUE(testsupport::ReadFile(file).starts_with("[NOTES]\r\n"));
}

TEST(SkinContent, StoreToDiskThenLoadGivesTheSameSkin) {
    testsupport::TTempDir dir;
    TbsSkinContent sample = test::SampleSkin();
    sample.StoreToDisk(dir / "skin.ini");
    for (const char* name : {"main.bmp", "mask.bmp", "atlas.bmp", "frame.bmp"})
        EXPECT_TRUE(std::filesystem::exists(dir / name)) << name;
    EXPECT_EQ(testsupport::ReadFile(dir / "atlas.bmp")[28], 24);  // bits per pixel

    TbsSkinContent loaded;
    ASSERT_TRUE(LoadSkinFromDescriptionFile(dir / "skin.ini", loaded));
    EXPECT_EQ(test::DescriptionLines(loaded), test::DescriptionLines(sample));
    EXPECT_TRUE(test::SamePixels(*loaded.FPicture, *sample.FPicture));
    EXPECT_TRUE(test::SamePixels(*loaded.FMask, *sample.FMask));
    EXPECT_TRUE(loaded.FInActivePicture->Empty());
    ASSERT_EQ(loaded.FActivePictures.size(), 2u);
    EXPECT_TRUE(test::SamePixels(*loaded.FActivePictures[0], *sample.FActivePictures[0]));
    EXPECT_TRUE(test::SamePixels(*loaded.FActivePictures[1], *sample.FActivePictures[1]));
    EXPECT_EQ(test::LinesOf(loaded.FActivePicturesNames),
              (std::vector<std::string>{"atlas.bmp", "frame.bmp"}));
}

TEST(SkinContent, StoreToDiskRefusesPictureNamesOutsideTheFolder) {
    for (const char* name : {"../escape.bmp", "sub/atlas.bmp", "..", "", "a\\b.bmp"}) {
        testsupport::TTempDir dir;
        std::filesystem::create_directory(dir / "skin");
        TbsSkinContent sample = test::SampleSkin();
        sample.FActivePicturesNames.Put(0, name);
        EXPECT_THROW(sample.StoreToDisk((dir / "skin") + "/skin.ini"), rtl::Exception) << name;
        EXPECT_TRUE(std::filesystem::is_empty(dir / "skin")) << name;
        EXPECT_FALSE(std::filesystem::exists(dir / "escape.bmp"));
    }
}

TEST(SkinContent, DescriptionFilesThatCannotLoad) {
    testsupport::TTempDir dir;
    TbsSkinContent sample = test::SampleSkin();
    sample.StoreToDisk(dir / "skin.ini");
    TbsSkinContent target = test::SampleSkin();
    const std::vector<std::string> before = test::DescriptionLines(target);

    // A missing required section refuses the file before anything is read.
    for (std::string_view section : kRequiredSections) {
        rtl::TMemIniFile ini(dir / "skin.ini");
        ini.EraseSection(section);
        rtl::TStringList lines;
        ini.GetStrings(lines);
        lines.SaveToFile(dir / "partial.ini");
        EXPECT_FALSE(LoadSkinFromDescriptionFile(dir / "partial.ini", target)) << section;
    }
    EXPECT_FALSE(LoadSkinFromDescriptionFile(dir / "missing.ini", target));

    // A picture file that is not there names itself; a bad value raises the conversion error.
    std::filesystem::remove(dir / "frame.bmp");
    try {
        LoadSkinFromDescriptionFile(dir / "skin.ini", target);
        ADD_FAILURE() << "no exception";
    } catch (const rtl::Exception& e) {
        EXPECT_NE(e.Message().find(dir / "frame.bmp"), std::string::npos) << e.Message();
    }
    sample.FActivePicturesNames.Put(1, "atlas.bmp");
    sample.StoreToDisk(dir / "skin.ini");
    rtl::TMemIniFile ini(dir / "skin.ini");
    ini.WriteString("panel", "skinrect", "1,2,,4");
    ini.UpdateFile();
    EXPECT_THROW(LoadSkinFromDescriptionFile(dir / "skin.ini", target), rtl::EConvertError);
    EXPECT_EQ(test::DescriptionLines(target), before);
    EXPECT_EQ(target.FActivePictures.size(), 2u);
}

TEST(SkinContent, ClearingAndFurtherPictures) {
    testsupport::TTempDir dir;
    TbsSkinContent skin = test::SampleSkin();
    skin.FActivePictures[0]->SaveToFile(dir / "extra.bmp");
    skin.AddBitMap(dir / "extra.bmp");
    EXPECT_EQ(test::LinesOf(skin.FActivePicturesNames),
              (std::vector<std::string>{"atlas.bmp", "frame.bmp", "extra.bmp"}));
    EXPECT_THROW(skin.AddBitMap(dir / "none.bmp"), rtl::Exception);
    EXPECT_EQ(skin.FActivePictures.size(), 3u);  // a failed add appends nothing
    skin.DeleteBitMap(0);
    EXPECT_EQ(test::LinesOf(skin.FActivePicturesNames),
              (std::vector<std::string>{"frame.bmp", "extra.bmp"}));
    EXPECT_EQ(skin.FActivePictures[0]->Width(), 17);
    EXPECT_THROW(skin.DeleteBitMap(2), rtl::EListError);
    EXPECT_EQ(skin.FActivePictures.size(), 2u);

    skin.ClearObjects();
    EXPECT_TRUE(skin.CtrlList.empty());
    EXPECT_TRUE(skin.ObjectList.empty());
    EXPECT_TRUE(skin.FActivePictures.empty());
    EXPECT_EQ(skin.FActivePicturesNames.Count(), 0);
    EXPECT_EQ(skin.LayerFrame.PictureIndex, -1);
    EXPECT_EQ(skin.SkinColors()->cBtnFace, gfx::clBtnFace);
    EXPECT_FALSE(skin.FPicture->Empty());
    EXPECT_EQ(skin.ClRect, (TRect{4, 20, 36, 30}));
    skin.ClearPictures();
    EXPECT_TRUE(skin.FPicture->Empty());
    EXPECT_TRUE(skin.FMask->Empty());
    EXPECT_EQ(skin.FMaskName, "");
    EXPECT_EQ(skin.SkinName, "Sample");  // texts and frame geometry stay
    EXPECT_EQ(skin.ClRect, (TRect{4, 20, 36, 30}));
}

}  // namespace
}  // namespace skin
