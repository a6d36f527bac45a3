#include "skin/core/skin_data.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/rtl/exception.h"
#include "platform/vcl/vcl_test_support.h"
#include "skin/core/zlib_streams.h"
#include "skin_data_test_support.h"
#include "support/temp_dir.h"

namespace skin {
namespace {

// The side windows of the layered border frame: the broadcast knows them by class name.
class TbsFormLayerWindow : public vcl::TForm {
public:
    using vcl::TForm::TForm;
};

// What a form saw when a skin message reached it, and how the skin data stood at that moment.
struct THeard {
    std::string Form;
    win::UINT Message = 0;
    bool FromSkinData = false;  // wParam is the skin data, lParam 1000
    bool Empty = false;
    bool Process = false;
    std::string SkinName;
    std::string Found;  // "only<i>" of the numbered skin whose own record the look-up finds
};

using TBytes = std::vector<uint8_t>;

class SkinDataTest : public vcl::test::TVclTest {
protected:
    void SetUp() override {
        TVclTest::SetUp();
        FOwner = ShowForm(0, 0, 120, 80, "Owner");
        FSecond = ShowForm(130, 0, 120, 80, "Second");
        FThird = ShowForm(260, 0, 120, 80, "Third");
        for (vcl::TForm* form : {FOwner, FSecond, FThird}) Listen(form);
        FData = new TbsSkinData(FOwner);
        FList = new TbsCompressedSkinList(FOwner);
        for (int i = 0; i < 8; ++i) {
            TbsSkinContent skin = NumberedSkin(i);
            FList->Skins().Add()->Skin()->LoadFromSkinData(skin);
        }
    }

    // The sample skin, named "Skin<i>", with a control record "only<i>"; skin 5 has no layered
    // frame.
    static TbsSkinContent NumberedSkin(int i) {
        TbsSkinContent skin = test::SampleSkin();
        skin.SkinName = "Skin" + std::to_string(i);
        skin.CtrlList.push_back(CreateControlRecord("panel", "only" + std::to_string(i)));
        if (i == 5) skin.LayerFrame.PictureIndex = -1;
        return skin;
    }

    void Listen(vcl::TForm* form) {
        vcl::TWndMethod old = form->WindowProc;
        const std::string name = form->Name();
        form->WindowProc = [this, old, name](vcl::TMessage& m) {
            if (m.Msg >= WM_BEFORECHANGESKINDATA && m.Msg <= WM_CHANGELAYEREDBORDERS) {
                THeard heard;
                heard.Form = name;
                heard.Message = m.Msg;
                heard.FromSkinData = m.LParam == kSkinDataLParam &&
                                     m.WParam == win::WPARAM(reinterpret_cast<uintptr_t>(FData));
                heard.Empty = FData->Empty;
                heard.Process = FData->ChangeSkinDataProcess;
                heard.SkinName = FData->SkinName;
                for (int i = 0; i < 8 && heard.Found.empty(); ++i)
                    if (FData->GetControlIndex("only" + std::to_string(i)) >= 0)
                        heard.Found = "only" + std::to_string(i);
                FHeard.push_back(heard);
            }
            old(m);
        };
    }

    // "Form:message" for each message heard.
    std::vector<std::string> Heard() const {
        std::vector<std::string> out;
        for (const THeard& h : FHeard) out.push_back(h.Form + ":" + std::to_string(h.Message));
        return out;
    }

    // The forms' names in the screen's order.
    std::vector<std::string> ScreenOrder() const {
        std::vector<std::string> names;
        for (int i = 0; i < vcl::Screen->FormCount(); ++i)
            names.push_back(vcl::Screen->Forms(i)->Name());
        return names;
    }

    static std::vector<std::string> Sent(const std::vector<std::string>& forms,
                                         std::initializer_list<win::UINT> messages) {
        std::vector<std::string> out;
        for (win::UINT m : messages)
            for (const std::string& form : forms) out.push_back(form + ":" + std::to_string(m));
        return out;
    }

    // The skin data as a test can compare it: its description and its pictures.
    void ExpectStillLoaded(const TbsSkinContent& expected) {
        EXPECT_EQ(test::DescriptionLines(*FData), test::DescriptionLines(expected));
        EXPECT_TRUE(test::SamePixels(*FData->FPicture, *expected.FPicture));
        ASSERT_EQ(FData->FActivePictures.size(), expected.FActivePictures.size());
        for (std::size_t i = 0; i < expected.FActivePictures.size(); ++i)
            EXPECT_TRUE(test::SamePixels(*FData->FActivePictures[i], *expected.FActivePictures[i]));
        EXPECT_FALSE(FData->Empty);
        EXPECT_FALSE(FData->ChangeSkinDataProcess);
    }

    vcl::TForm* FOwner = nullptr;
    vcl::TForm* FSecond = nullptr;
    vcl::TForm* FThird = nullptr;
    TbsSkinData* FData = nullptr;
    TbsCompressedSkinList* FList = nullptr;
    std::vector<THeard> FHeard;
};

TEST_F(SkinDataTest, ValuesAfterCreate) {
    EXPECT_TRUE(FData->SkinnableForm());
    EXPECT_TRUE(FData->EnableSkinEffects());
    EXPECT_TRUE(FData->ShowButtonGlowFrames());
    EXPECT_TRUE(FData->ShowCaptionButtonGlowFrames());
    EXPECT_TRUE(FData->ShowLayeredBorders());
    EXPECT_FALSE(FData->AnimationForAllWindows());
    EXPECT_EQ(FData->SkinList(), nullptr);
    EXPECT_EQ(FData->SkinIndex(), 0);
    EXPECT_TRUE(FData->Empty);
    EXPECT_FALSE(FData->ChangeSkinDataProcess);
    EXPECT_FALSE(FData->MainMenuPopupUp);
    EXPECT_EQ(FData->BGPictureIndex, -1);
    EXPECT_EQ(FData->MDIBGPictureIndex, -1);
    EXPECT_TRUE(FData->FPicture->Empty());
    EXPECT_TRUE(FData->CtrlList.empty());
    EXPECT_EQ(FData->SkinColors()->cBtnFace, 0);  // black until a skin is loaded
    EXPECT_EQ(FData->HintWindow.FontHeight, 12);
    EXPECT_EQ(FData->GetControlIndex("button"), -1);
}

TEST_F(SkinDataTest, ChoosingAStoredSkinByIndex) {
    FData->SetSkinList(FList);  // index 0 names an item: it loads at once
    EXPECT_EQ(FData->SkinName, "Skin0");
    EXPECT_FALSE(FData->Empty);
    FHeard.clear();

    FData->SetSkinIndex(3);
    EXPECT_EQ(FData->SkinIndex(), 3);
    // Every form hears each message once, all of 1225 before any 1226.
    std::vector<std::string> heard = Heard();
    ASSERT_EQ(heard.size(), 9u);
    for (const THeard& h : FHeard) {
        SCOPED_TRACE(h.Form + ":" + std::to_string(h.Message));
        EXPECT_TRUE(h.FromSkinData);
        if (h.Message == WM_BEFORECHANGESKINDATA) {
            EXPECT_EQ(h.SkinName, "Skin0");  // the old skin is still whole
            EXPECT_EQ(h.Found, "only0");
            EXPECT_TRUE(h.Empty);
            EXPECT_TRUE(h.Process);
        } else if (h.Message == WM_CHANGESKINDATA) {
            EXPECT_EQ(h.SkinName, "Skin3");
            EXPECT_EQ(h.Found, "only3");
            EXPECT_FALSE(h.Empty);
            EXPECT_TRUE(h.Process);
        } else {
            EXPECT_EQ(h.Message, WM_AFTERCHANGESKINDATA);
            EXPECT_FALSE(h.Empty);
            EXPECT_FALSE(h.Process);
        }
    }
    for (std::size_t i = 0; i < 9; ++i)
        EXPECT_EQ(FHeard[i].Message, WM_BEFORECHANGESKINDATA + i / 3) << i;
    EXPECT_GE(FData->GetControlIndex("only3"), 0);
    EXPECT_EQ(FData->GetControlIndex("only0"), -1);

    FHeard.clear();
    for (int index : {8, -1, 3}) FData->SetSkinIndex(index);
    EXPECT_TRUE(FHeard.empty());
    EXPECT_EQ(FData->SkinIndex(), 3);
    EXPECT_EQ(FData->SkinName, "Skin3");
}

TEST_F(SkinDataTest, AnIndexBeforeItsList) {
    FData->SetSkinIndex(-5);
    EXPECT_EQ(FData->SkinIndex(), -5);
    FData->SetSkinList(FList);
    EXPECT_TRUE(FHeard.empty());
    EXPECT_TRUE(FData->Empty);
    FData->SetSkinIndex(2);
    EXPECT_EQ(FData->SkinName, "Skin2");
    EXPECT_EQ(FHeard.size(), 9u);

    // A stored skin given directly loads too; an empty one changes nothing.
    FHeard.clear();
    FData->SetCompressedStoredSkin(FList->Skins().Items(6)->Skin());
    EXPECT_EQ(FData->SkinName, "Skin6");
    EXPECT_EQ(FHeard.size(), 9u);
    FHeard.clear();
    TbsCompressedStoredSkin empty(nullptr);
    FData->LoadCompressedStoredSkin(&empty);
    FData->LoadCompressedStoredSkin(nullptr);
    EXPECT_TRUE(FHeard.empty());
    EXPECT_EQ(FData->SkinName, "Skin6");
}

TEST_F(SkinDataTest, OrderOfTheForms) {
    auto* layer = new TbsFormLayerWindow(vcl::Application);
    layer->SetName("Layer");
    layer->Show();
    Run();
    Listen(layer);
    EXPECT_EQ(layer->ClassName(), "TbsFormLayerWindow");
    std::vector<std::string> screen = ScreenOrder();
    screen.erase(std::find(screen.begin(), screen.end(), "Layer"));
    ASSERT_EQ(screen.size(), 3u);
    ASSERT_NE(screen.front(), "Owner");  // so that serving the owner first is seen
    FData->SetSkinList(FList);           // skin 0 has a layered frame

    // Layered borders on and a layer-frame picture: reverse screen order.
    FHeard.clear();
    FData->SetSkinIndex(2);
    const std::vector<std::string> reversed(screen.rbegin(), screen.rend());
    EXPECT_EQ(Heard(), Sent(reversed, {1225, 1226, 1227}));

    // Skin 5 has none: the old skin still decides for 1225, the new one for the rest.
    FHeard.clear();
    FData->SetSkinIndex(5);
    std::vector<std::string> expected = Sent(reversed, {1225});
    for (const std::string& line : Sent(screen, {1226, 1227})) expected.push_back(line);
    EXPECT_EQ(Heard(), expected);
    // ClearSkin empties the skin before it speaks: screen order.
    FData->SetSkinIndex(0);
    FHeard.clear();
    FData->ClearSkin();
    EXPECT_EQ(Heard(), Sent(screen, {1225, 1226, 1227}));

    // Layered borders off: the owner first, then the others in screen order.
    FData->SetShowLayeredBorders(false);
    EXPECT_EQ(Heard().size(), 3u * 3 + 3);  // 1427 to each form
    FHeard.clear();
    FData->SetSkinIndex(1);
    std::vector<std::string> ownerFirst = {"Owner"};
    for (const std::string& name : screen)
        if (name != "Owner") ownerFirst.push_back(name);
    EXPECT_EQ(Heard(), Sent(ownerFirst, {1225, 1226, 1227}));
}

TEST_F(SkinDataTest, ClearSkinAndSettingsThatBroadcast) {
    FData->ClearSkin();  // empty already: the three messages all the same
    EXPECT_EQ(FHeard.size(), 9u);
    EXPECT_TRUE(FData->Empty);
    EXPECT_FALSE(FData->ChangeSkinDataProcess);

    FHeard.clear();
    auto* table = new TbsResourceStrData(FSecond);  // another owner: followed by notification
    FData->SetResourceStrData(table);
    FData->SetResourceStrData(table);
    EXPECT_EQ(FHeard.size(), 6u);
    EXPECT_TRUE(std::all_of(FHeard.begin(), FHeard.end(), [](const THeard& h) {
        return h.Message == WM_CHANGERESSTRDATA && h.FromSkinData;
    }));

    FHeard.clear();
    FData->SetSkinnableForm(true);  // unchanged
    FData->SetShowLayeredBorders(true);
    EXPECT_TRUE(FHeard.empty());
    FData->SetSkinnableForm(false);
    EXPECT_EQ(Heard(), Sent(ScreenOrder(), {WM_CHANGEFORMSKINNABLE}));

    // While its form is loading, only the resource-string table is announced.
    FHeard.clear();
    FOwner->BeginLoading();
    auto* loading = new TbsSkinData(FOwner);
    loading->SetSkinnableForm(false);
    loading->SetShowLayeredBorders(false);
    EXPECT_TRUE(FHeard.empty());
    loading->SetResourceStrData(table);
    FOwner->EndLoading();
    EXPECT_EQ(FHeard.size(), 3u);

    // A component the skin data points to is forgotten when it goes.
    FData->SetSkinList(FList);
    table->Free();
    EXPECT_EQ(FData->ResourceStrData(), nullptr);
    EXPECT_EQ(loading->ResourceStrData(), nullptr);
    FList->Free();
    EXPECT_EQ(FData->SkinList(), nullptr);
    auto* foreign = new TbsCompressedSkinList(vcl::Application);
    FData->SetSkinList(foreign);
    foreign->Free();
    EXPECT_EQ(FData->SkinList(), nullptr);
}

TEST_F(SkinDataTest, FilesAndPackages) {
    testsupport::TTempDir dir;
    FData->SetSkinList(FList);
    FData->SetSkinIndex(4);
    FData->StoreToDisk(dir / "skin.ini");
    for (const char* name : {"skin.ini", "main.bmp", "mask.bmp", "atlas.bmp", "frame.bmp"})
        EXPECT_TRUE(std::filesystem::exists(dir / name)) << name;
    FData->SaveToCompressedFile(dir / "skin4.skn");
    const TbsSkinContent four = NumberedSkin(4);

    auto* other = new TbsSkinData(FSecond);
    other->LoadFromCompressedFile(dir / "skin4.skn");
    EXPECT_EQ(test::DescriptionLines(*other), test::DescriptionLines(four));
    other->ClearAll();
    FHeard.clear();
    other->LoadFromFile(dir / "skin.ini");
    EXPECT_EQ(FHeard.size(), 9u);
    EXPECT_EQ(test::DescriptionLines(*other), test::DescriptionLines(four));
    EXPECT_TRUE(test::SamePixels(*other->FMask, *four.FMask));

    // A description without SKINCONTROLS loads nothing and sends nothing.
    rtl::TMemIniFile ini(dir / "skin.ini");
    ini.EraseSection("SKINCONTROLS");
    rtl::TStringList lines;
    ini.GetStrings(lines);
    lines.SaveToFile(dir / "partial.ini");
    FHeard.clear();
    other->LoadFromFile(dir / "partial.ini");
    EXPECT_TRUE(FHeard.empty());
    EXPECT_EQ(other->SkinName, "Skin4");
}

// A skin that cannot be read raises before anything is announced, and the skin in use stays.
TEST_F(SkinDataTest, BadInputKeepsTheSkin) {
    testsupport::TTempDir dir;
    FData->SetSkinList(FList);
    FData->SetSkinIndex(1);
    const TbsSkinContent one = NumberedSkin(1);
    ExpectStillLoaded(one);

    const TbsSkinContent two = NumberedSkin(2);
    rtl::TMemoryStream payload;
    WriteSkinPayload(two, payload);
    auto packageOf = [](rtl::TMemoryStream& plain) {
        rtl::TMemoryStream zlib;
        ZlibCompressStream(plain, zlib);
        return TBytes(zlib.Memory(), zlib.Memory() + zlib.Size());
    };
    const TBytes zlib = packageOf(payload);
    TBytes flipped = zlib;
    flipped[zlib.size() / 2] ^= 0x10;
    TBytes cut(zlib.begin(), zlib.end() - 20);
    rtl::TMemoryStream shortPayload;
    const std::size_t mainSize = PictureToBmp(*two.FPicture).size();
    shortPayload.WriteBuffer(payload.Memory(), int64_t(4 + 1 + mainSize + 2 + 30));
    const TBytes secondCut = packageOf(shortPayload);
    rtl::TMemoryStream newer;
    newer.WriteBuffer("\x04\0\0\0", 4);
    const TBytes version4 = packageOf(newer);

    struct TCase {
        const char* what;
        TBytes zlib;
        std::string message;  // empty: nothing happens at all
    };
    const TCase cases[] = {
        {"a flipped byte", flipped, "compression error"},
        {"cut 20 bytes short", cut, "compression error"},
        {"the second picture cut", secondCut, "Invalid skin package: picture 2 is cut short"},
        {"a newer payload", version4, ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        rtl::TMemoryStream package;
        package.WriteBuffer("\x03\0\0\0", 4);
        const int32_t length = int32_t(c.zlib.size());
        package.WriteBuffer(&length, 4);
        package.WriteBuffer(c.zlib.data(), length);
        TbsCompressedStoredSkin stored(nullptr);
        stored.LoadFromCompressStream(package);
        FHeard.clear();
        if (c.message.empty()) {
            FData->LoadCompressedStoredSkin(&stored);
        } else {
            try {
                FData->LoadCompressedStoredSkin(&stored);
                ADD_FAILURE() << "no exception";
            } catch (const rtl::Exception& e) {
                EXPECT_EQ(e.Message(), c.message);
            }
        }
        EXPECT_TRUE(FHeard.empty());
        ExpectStillLoaded(one);
    }

    // The same through the description file of a skin stored to disk.
    FData->StoreToDisk(dir / "one.ini");
    rtl::TMemIniFile ini(dir / "one.ini");
    ini.WriteString("panel", "skinrect", "1,2,,4");
    ini.UpdateFile();
    FHeard.clear();
    try {
        FData->LoadFromFile(dir / "one.ini");
        ADD_FAILURE() << "no exception";
    } catch (const rtl::EConvertError& e) {
        EXPECT_EQ(e.Message(), "'' is not a valid integer value");
    }
    FData->StoreToDisk(dir / "one.ini");
    std::filesystem::remove(dir / "atlas.bmp");
    try {
        FData->LoadFromFile(dir / "one.ini");
        ADD_FAILURE() << "no exception";
    } catch (const rtl::Exception& e) {
        EXPECT_NE(e.Message().find(dir / "atlas.bmp"), std::string::npos) << e.Message();
    }
    EXPECT_TRUE(FHeard.empty());
    ExpectStillLoaded(one);

    // A list item that fails to load leaves the index where it was.
    rtl::TMemoryStream damaged;
    damaged.WriteBuffer("\x03\0\0\0", 4);
    const int32_t length = int32_t(flipped.size());
    damaged.WriteBuffer(&length, 4);
    damaged.WriteBuffer(flipped.data(), length);
    FList->Skins().Items(7)->Skin()->LoadFromCompressStream(damaged);
    EXPECT_THROW(FData->SetSkinIndex(7), EDecompressionError);
    EXPECT_EQ(FData->SkinIndex(), 1);
    ExpectStillLoaded(one);
}

}  // namespace
}  // namespace skin
