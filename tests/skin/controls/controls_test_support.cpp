#include "controls_test_support.h"

#include "platform/rtl/inifiles.h"
#include "platform/rtl/strings.h"
#include "skin/core/skin_data_test_support.h"
#include "skin/core/skin_package.h"
#include "skin/packages/stored_skins.h"

namespace skin::test {

TbsSkinContent FixtureSkin(const std::vector<TRecordText>& records,
                           std::vector<std::unique_ptr<gfx::TBitmap>> pictures,
                           std::string_view skinName) {
    std::string text = "[VERSION]\nskinname=" + std::string(skinName) +
                       "\n[PICTURES]\npicture=\ninactivepicture=\nmask=\nactivepicturescount=" +
                       std::to_string(pictures.size()) + "\n";
    for (std::size_t i = 0; i < pictures.size(); ++i)
        text += std::to_string(i) + "=" + std::to_string(i) + ".bmp\n";
    text += "[FORMINFO]\nclientrect=4,20,36,30\n[SKINOBJECTS]\ncount=0\n[SKINCONTROLS]\ncount=" +
            std::to_string(records.size()) + "\n";
    for (std::size_t i = 0; i < records.size(); ++i)
        text += std::to_string(i) + "=" + records[i].Name + ":" + records[i].Kind + "\n";
    for (const TRecordText& r : records) text += "[" + r.Name + "]\n" + r.Keys + "\n";

    rtl::TStringList lines;
    lines.SetText(text);
    rtl::TMemIniFile ini;
    ini.SetStrings(lines);
    TbsSkinContent skin;
    skin.ReadNames(ini);
    ReadStringList(ini, "PICTURES", "activepictures", skin.FActivePicturesNames);
    skin.ReadDescription(ini);
    for (auto& picture : pictures) skin.FActivePictures.push_back(std::move(picture));
    return skin;
}

std::unique_ptr<gfx::TBitmap> PatternPicture(int width, int height, int seed) {
    return Picture(width, height, seed);
}

namespace {

void Walk(vcl::TWinControl* root, TbsSkinData* data, bool before) {
    for (int i = 0; i < root->ControlCount(); ++i) {
        vcl::TControl* control = root->Controls(i);
        if (TbsSkinClient* client = AsSkinClient(control); client && client->SkinData() == data) {
            if (before)
                client->BeforeChangeSkinData();
            else
                client->ChangeSkinData();
        }
        if (auto* windowed = dynamic_cast<vcl::TWinControl*>(control)) Walk(windowed, data, before);
    }
}

}  // namespace

void BeforeChangeSkinWalk(vcl::TWinControl* root, TbsSkinData* data) {
    Walk(root, data, true);
}

void ChangeSkinWalk(vcl::TWinControl* root, TbsSkinData* data) {
    Walk(root, data, false);
}

void HookSkinWalk(vcl::TCustomForm* form) {
    vcl::TWndMethod old = form->WindowProc;
    form->WindowProc = [form, old](vcl::TMessage& m) {
        if ((m.Msg == WM_BEFORECHANGESKINDATA || m.Msg == WM_CHANGESKINDATA) &&
            m.LParam == kSkinDataLParam) {
            auto* data = reinterpret_cast<TbsSkinData*>(m.WParam);
            if (m.Msg == WM_BEFORECHANGESKINDATA)
                BeforeChangeSkinWalk(form, data);
            else
                ChangeSkinWalk(form, data);
        }
        old(m);
    };
}

void TControlsTest::SetUp() {
    TVclTest::SetUp();
    Form = ShowForm(20, 20, 400, 300, "Form");
    Data = new TbsSkinData(Form);
    HookSkinWalk(Form);
}

void TControlsTest::Load(const TbsSkinContent& skin) {
    auto* stored = new TbsCompressedStoredSkin(Form);
    stored->LoadFromSkinData(skin);
    Data->LoadCompressedStoredSkin(stored);
    stored->Free();
    Run();
}

void TControlsTest::LoadStored(int index) {
    const TStoredSkinPackage& package = index < int(ChooserSkinPackages().size())
                                            ? ChooserSkinPackages()[std::size_t(index)]
                                            : ListSkinPackage();
    auto* list = new TbsCompressedSkinList(Form);
    AddStoredSkins(*list, {&package, 1});
    Data->LoadCompressedStoredSkin(list->Skins().Items(0)->Skin());
    list->Free();
    Run();
}

void TControlsTest::MoveTo(vcl::TControl* control, int x, int y) {
    Screen->MouseMove(At(control, x, y));
    Run();
}

void TControlsTest::MoveAway() {
    Screen->MouseMove({1270, 790});
    Run();
}

void TControlsTest::Down(vcl::TControl* control, int x, int y) {
    Screen->MouseMove(At(control, x, y));
    Screen->MouseDown(At(control, x, y));
    Run();
}

void TControlsTest::Up(vcl::TControl* control, int x, int y) {
    Screen->MouseMove(At(control, x, y));
    Screen->MouseUp(At(control, x, y));
    Run();
}

void TControlsTest::Wait(int ms) {
    for (int t = 0; t < ms; t += 10) {
        AdvanceMs(std::min(10, ms - t));
        Run();
    }
}

gfx::TColor TControlsTest::PixelOf(vcl::TControl* control, int x, int y) const {
    const gfx::TPoint p = control->ClientToScreen({x, y});
    return ScreenPixel(p.X, p.Y);
}

gfx::TImage TControlsTest::Capture(vcl::TControl* control, int margin) const {
    const gfx::HBITMAP screen = Screen->Compose();
    const gfx::TPoint origin = control->ClientToScreen({-margin, -margin});
    gfx::TImage image;
    image.Width = control->Width() + 2 * margin;
    image.Height = control->Height() + 2 * margin;
    for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x) {
            const int sx = origin.X + x, sy = origin.Y + y;
            const bool inside = sx >= 0 && sy >= 0 && sx < screen->Width() && sy < screen->Height();
            image.Pixels.push_back(
                inside ? screen->Pixels()[std::size_t(sy) * screen->Width() + sx] | 0xFF000000u
                       : 0xFF000000u);
        }
    return image;
}

}  // namespace skin::test
