// The form skin component: hooking the form, the sizes it allows, the caption buttons it makes
// and how they follow the border icons, and object look-ups by name.
#include "skin/form/form_test_support.h"

#include <algorithm>
#include <functional>
#include <typeinfo>

#include "platform/vcl/ext_ctrls.h"
#include "skin/controls/graphic_skin_control.h"
#include "skin/controls/skin_control.h"

namespace skin::test {
namespace {

using TSkinForm = TFormSkinTest;

// Counts the messages that reach the form's own handler.
struct TRecorder {
    vcl::TWndMethod Next;
    int* Count;
    void operator()(vcl::TMessage& m) const {
        if (m.Msg == win::WM_USER + 7) ++*Count;
        Next(m);
    }
};

TEST_F(TSkinForm, HooksTheFormAndGivesItsProcedureBackWhenFreed) {
    vcl::TForm* form = MakeForm();
    int heard = 0;
    form->WindowProc = TRecorder{form->WindowProc, &heard};
    ASSERT_FALSE(form->BorderIcons().Empty());

    auto* sf = new TbsSkinForm(form);
    EXPECT_TRUE(form->BorderIcons().Empty());
    EXPECT_NE(form->WindowProc.target_type(), typeid(TRecorder));
    EXPECT_TRUE(form->HandleAllocated());
    // Everything the frame does not handle yet passes on to the form's handler.
    win::SendMessage(form->Handle(), win::WM_USER + 7, 0, 0);
    EXPECT_EQ(heard, 1);

    sf->Free();
    EXPECT_EQ(form->WindowProc.target_type(), typeid(TRecorder));
    win::SendMessage(form->Handle(), win::WM_USER + 7, 0, 0);
    EXPECT_EQ(heard, 2);
}

TEST_F(TSkinForm, RefusesAnOwnerThatIsNotAForm) {
    auto* notAForm = new vcl::TComponent(vcl::Application);
    try {
        new TbsSkinForm(notAForm);
        FAIL() << "no error";
    } catch (const EInvalidCast& e) {
        EXPECT_STREQ(e.what(), "Invalid class typecast");
    }
    EXPECT_EQ(notAForm->ComponentCount(), 0);
}

TEST_F(TSkinForm, MinimumWidthAndHeight) {
    struct TCase {
        const char* Name;
        bool Skin;
        int MinWidth, MinHeight;
        vcl::TWindowState State;
        bool RolledUp;
        vcl::TFormBorderStyle Border;
        int Width, Height;
    };
    const int skinFrameHeight = kPictureHeight - kClRect.Height();
    const TCase cases[] = {
        {"no skin", false, 0, 0, vcl::wsNormal, false, vcl::bsSizeable, 120, 25},
        {"no skin, tool window", false, 0, 0, vcl::wsNormal, false, vcl::bsToolWindow, 120, 21},
        {"no skin, own minimum", false, 150, 60, vcl::wsNormal, false, vcl::bsSizeable, 150, 60},
        {"rolled up ignores MinHeight", false, 0, 60, vcl::wsNormal, true, vcl::bsSizeable, 120,
         25},
        {"skin's FormMinWidth", true, 0, 0, vcl::wsNormal, false, vcl::bsSizeable, 200,
         skinFrameHeight},
        {"MinWidth above the picture", true, 300, 0, vcl::wsNormal, false, vcl::bsSizeable, 300,
         skinFrameHeight},
        {"minimized", true, 300, 80, vcl::wsMinimized, false, vcl::bsSizeable, 200,
         skinFrameHeight},
        {"MinHeight above the frame", true, 0, 80, vcl::wsNormal, false, vcl::bsSizeable, 200, 80},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        vcl::TForm* form = MakeForm();
        form->SetBorderStyle(c.Border);
        auto* sf = new TbsSkinForm(form);
        if (c.Skin) sf->SetSkinData(MakeSkin());
        sf->FMinWidth = c.MinWidth;
        sf->FMinHeight = c.MinHeight;
        sf->FWindowState = c.State;
        sf->FRollUpState = c.RolledUp;
        EXPECT_EQ(sf->GetMinWidth(), c.Width);
        EXPECT_EQ(sf->GetMinHeight(), c.Height);
        form->Free();
    }
}

TEST_F(TSkinForm, MaximumSizeComesFromTheFormsMonitor) {
    Screen->SetMonitors({{{0, 0, 1280, 800}, {0, 0, 1280, 760}, true},
                         {{1280, 0, 2304, 768}, {1280, 0, 2204, 740}, false}});
    win::DisplayChanged();
    vcl::TForm* first = MakeForm();
    vcl::TForm* second = MakeForm(236, 100, "G");
    second->SetBounds(1400, 100, 300, 200);
    auto* a = new TbsSkinForm(first);
    auto* b = new TbsSkinForm(second);
    EXPECT_EQ(a->GetMaxWidth(), 1280);
    EXPECT_EQ(a->GetMaxHeight(), 760);
    EXPECT_EQ(b->GetMaxWidth(), 924);
    EXPECT_EQ(b->GetMaxHeight(), 740);
    a->FMaximizeOnFullScreen = b->FMaximizeOnFullScreen = true;
    EXPECT_EQ(a->GetMaxHeight(), 800);
    EXPECT_EQ(b->GetMaxWidth(), 1024);
    EXPECT_EQ(b->GetMaxHeight(), 768);
    b->FMaxWidth = 500;
    EXPECT_EQ(b->GetMaxWidth(), 500);
}

TEST_F(TSkinForm, DefaultButtonsAndTheirHints) {
    vcl::TForm* form = MakeForm();
    auto* sf = new TbsSkinForm(form);
    sf->SetSkinData(new TbsSkinData(vcl::Application));  // empty, no resource table
    sf->CreateDefaultButtons();
    const char* names[] = {"closebutton",  "maxbutton",     "minbutton",
                           "rollupbutton", "sysmenubutton", "traybutton"};
    const char* hints[] = {"Close",   "Maximize",    "Minimize",
                           "Roll Up", "System menu", "Minimize to Tray"};
    const TbsStdCommand commands[] = {cmClose,  cmMaximize, cmMinimize,
                                      cmRollUp, cmSysMenu,  cmMinimizeToTray};
    ASSERT_EQ(sf->ObjectList.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        auto* b = dynamic_cast<TbsSkinStdButtonObject*>(sf->ObjectList[i].get());
        ASSERT_TRUE(b);
        EXPECT_EQ(b->IDName, names[i]);
        EXPECT_EQ(b->Command, commands[i]);
        EXPECT_EQ(b->Hint, hints[i]);
        EXPECT_EQ(b->RestoreHint, "Restore");
        EXPECT_FALSE(b->FSkinSupport);
        EXPECT_TRUE(b->SkinRectInAPicture);
        EXPECT_EQ(sf->GetIndex(names[i]), i);
    }
    // A resource table gives its texts; a key it lacks gives an empty one.
    auto* table = new TbsResourceStrData(vcl::Application);
    rtl::TStringList lines;
    lines.Add("CLOSEBUTTON_HINT=关闭");
    table->SetResStrings(lines);
    sf->SkinData()->SetResourceStrData(table);
    sf->SetDefaultObjectHints();
    EXPECT_EQ(sf->ObjectList[0]->Hint, "关闭");
    EXPECT_EQ(sf->ObjectList[1]->Hint, "");
}

TEST_F(TSkinForm, UnknownObjectNamesChangeNothing) {
    TbsSkinForm* sf = SkinnedForm();
    EXPECT_EQ(sf->GetIndex("nope"), -1);
    EXPECT_EQ(sf->GetIndex("CLOSEBUTTON"), -1);  // names are compared exactly
    std::vector<bool> before;
    for (auto& o : sf->ObjectList) before.push_back(o->Enabled);
    sf->SetEnabled("nope", false);
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(sf->ObjectList[i]->Enabled, before[i]);
    sf->SetEnabled("minbutton", false);
    EXPECT_FALSE(Object(sf, "minbutton")->Enabled);
}

TEST_F(TSkinForm, CaptionButtonsFollowTheBorderIcons) {
    TbsSkinForm* sf = SkinnedForm();
    sf->SetBorderIcons({biMinimize});
    struct TExpect {
        const char* Name;
        bool Enabled;
    } expected[] = {{"closebutton", true},   {"minbutton", true},      {"maxbutton", false},
                    {"rollupbutton", false}, {"sysmenubutton", false}, {"traybutton", false}};
    for (const TExpect& e : expected) {
        SCOPED_TRACE(e.Name);
        TbsActiveSkinObject* o = Object(sf, e.Name);
        EXPECT_EQ(o->Enabled, e.Enabled);
        EXPECT_EQ(o->Visible, e.Enabled);  // laid-out buttons disappear with their icon
    }
    EXPECT_TRUE(sf->FForm->BorderIcons().Empty());

    // The next layout (the frame paint makes one) closes the row up: minimize next to close.
    sf->UpdateFrame(true);
    const gfx::TRect close = Object(sf, "closebutton")->ObjectRect;
    const gfx::TRect min = Object(sf, "minbutton")->ObjectRect;
    EXPECT_EQ(min.Right, close.Left - kButtonsOffset);

    sf->FHideCaptionButtons = true;
    sf->UpdateCaptionButtons();
    for (const TExpect& e : expected) {
        EXPECT_FALSE(Object(sf, e.Name)->Enabled) << e.Name;
        EXPECT_FALSE(Object(sf, e.Name)->Visible) << e.Name;
    }
    // A button that is not laid out stays visible, only disabled.
    EXPECT_TRUE(Object(sf, "animate")->Visible);
}

TEST_F(TSkinForm, FrameObjectsComeFromTheSkinsRecords) {
    TbsSkinForm* sf = SkinnedForm();
    std::vector<std::string> names;
    for (auto& o : sf->ObjectList) names.push_back(o->IDName);
    EXPECT_EQ(names, (std::vector<std::string>{"caption", "closebutton", "maxbutton", "minbutton",
                                               "rollupbutton", "sysmenubutton", "traybutton",
                                               "morphbutton", "animate"}));
    EXPECT_TRUE(dynamic_cast<TbsSkinCaptionObject*>(sf->ObjectList[0].get()));
    EXPECT_TRUE(dynamic_cast<TbsSkinStdButtonObject*>(sf->ObjectList[1].get()));
    EXPECT_FALSE(dynamic_cast<TbsSkinStdButtonObject*>(sf->ObjectList[7].get()));
    EXPECT_TRUE(dynamic_cast<TbsSkinButtonObject*>(sf->ObjectList[7].get()));
    EXPECT_TRUE(dynamic_cast<TbsSkinAnimateObject*>(sf->ObjectList[8].get()));
    EXPECT_TRUE(sf->FSkinSupport);

    // Dropping the skin leaves the default frame: none of the skin's objects; its first paint
    // makes the default buttons.
    sf->SetSkinData(nullptr);
    EXPECT_FALSE(sf->FSkinSupport);
    EXPECT_EQ(sf->GetIndex("caption"), -1);
    EXPECT_EQ(sf->GetIndex("morphbutton"), -1);
    for (auto& o : sf->ObjectList) EXPECT_TRUE(dynamic_cast<TbsSkinStdButtonObject*>(o.get()));
}

TEST_F(TSkinForm, ClientSizeIsKeptAcrossSkins) {
    vcl::TForm* form = MakeForm(300, 200);
    auto* sf = new TbsSkinForm(form);
    sf->FClientWidth = 340;
    sf->FClientHeight = 245;
    sf->SetSkinData(MakeSkin());
    EXPECT_EQ(form->ClientWidth(), 340);
    EXPECT_EQ(form->ClientHeight(), 245);
    sf->SetSkinData(nullptr);
    EXPECT_EQ(form->ClientWidth(), 340);
    EXPECT_EQ(form->ClientHeight(), 245);
}

TEST_F(TSkinForm, FindsTheComponentOfAForm) {
    vcl::TForm* form = MakeForm();
    new vcl::TTimer(form);
    auto* sf = new TbsSkinForm(form);
    EXPECT_EQ(GetSkinFormComponent(form), sf);
    EXPECT_EQ(GetSkinFormComponent(nullptr), nullptr);
    EXPECT_EQ(GetSkinFormComponent(MakeForm(236, 100, "G")), nullptr);
}

TEST_F(TSkinForm, ForgetsASkinDataThatIsFreedWithTheObjectsMadeFromIt) {
    TbsSkinForm* sf = SkinnedForm();
    Object(sf, "morphbutton")->MouseEnter();  // a fade under way
    ASSERT_TRUE(sf->MorphTimer->Enabled());
    sf->SkinData()->Free();
    EXPECT_EQ(sf->SkinData(), nullptr);
    EXPECT_TRUE(sf->ObjectList.empty());
    EXPECT_FALSE(sf->FSkinSupport);
    EXPECT_FALSE(sf->MorphTimer->Enabled());
    AdvanceMs(100);
    Run();
    EXPECT_EQ(sf->GetHitTest({50, 50}), win::HTCLIENT);
}

// Skinned controls that write down every skin call, under their names.
template <class TBase>
class TCounting : public TBase {
public:
    TCounting(vcl::TComponent* owner, std::vector<std::string>* log) : TBase(owner), Log(log) {}
    void BeforeChangeSkinData() override {
        Log->push_back("before " + this->Name());
        TBase::BeforeChangeSkinData();
    }
    void ChangeSkinData() override {
        Log->push_back("change " + this->Name());
        TBase::ChangeSkinData();
    }
    std::vector<std::string>* Log;
};

TEST_F(TSkinForm, SkinCallsWalkTheFormsSkinnedControls) {
    vcl::TForm* form = MakeForm(400, 300);
    auto* sf = new TbsSkinForm(form);
    TbsSkinData* mine = MakeSkin();
    TbsSkinData* other = MakeSkin();
    std::vector<std::string> log;
    auto add = [&](auto* control, const char* name, vcl::TWinControl* parent, TbsSkinData* sd) {
        control->SetName(name);
        control->SetParent(parent);
        control->SetSkinData(sd);
        return control;
    };
    auto* outer = add(new TCounting<TbsSkinControl>(form, &log), "outer", form, mine);
    add(new TCounting<TbsGraphicSkinControl>(form, &log), "graphic", outer, mine);
    add(new TCounting<TbsSkinControl>(form, &log), "inner", outer, mine);
    add(new TCounting<TbsSkinControl>(form, &log), "foreign", form, other);
    auto* plain = new vcl::TPanel(form);
    plain->SetParent(form);
    add(new TCounting<TbsSkinControl>(form, &log), "deep", plain, mine);
    log.clear();

    sf->BeforeChangeControlsSkinData(mine, form);
    EXPECT_EQ(log, (std::vector<std::string>{"before outer", "before inner", "before deep"}));
    log.clear();
    sf->ChangeControlsSkinData(mine, form);
    EXPECT_EQ(log, (std::vector<std::string>{"change outer", "change graphic", "change inner",
                                             "change deep"}));
    log.clear();
    // Switching the frame reaches every skinned control, whatever its skin data.
    sf->SetSkinnableForm(false);
    EXPECT_EQ(log.size(), 5u);
    EXPECT_NE(std::find(log.begin(), log.end(), "change foreign"), log.end());
}

TEST_F(TSkinForm, WhenTheLayeredBorderIsUsed) {
    TbsSkinForm* sf = SkinnedForm();
    TbsSkinData* sd = sf->SkinData();
    EXPECT_FALSE(sf->CanShowLayerFrame());  // the skin has no layer frame picture
    sd->LayerFrame.PictureIndex = 0;
    EXPECT_TRUE(sf->CanShowLayerFrame());
    EXPECT_TRUE(sf->UseVistaLayerShow());
    sf->FAlphaBlend = true;
    EXPECT_FALSE(sf->UseVistaLayerShow());
    sf->FAlphaBlend = false;
    const std::pair<const char*, std::function<void(bool)>> switches[] = {
        {"ShowLayeredBorders", [&](bool on) { sd->SetShowLayeredBorders(!on); }},
        {"AlwaysDisableLayeredFrames", [&](bool on) { sf->AlwaysDisableLayeredFrames = on; }},
        {"PreviewMode", [&](bool on) { sf->PreviewMode = on; }},
        {"SmartEffectsShow", [&](bool on) { sf->FSmartEffectsShow = on; }},
        {"system frame", [&](bool on) { sf->FSkinnableForm = !on; }},
        {"no layered windows", [&](bool on) { sf->FIsLayerEnabled = !on; }},
        {"no border",
         [&](bool on) { sf->FForm->SetBorderStyle(on ? vcl::bsNone : vcl::bsSizeable); }},
    };
    for (const auto& [name, flip] : switches) {
        flip(true);
        EXPECT_FALSE(sf->CanShowLayerFrame()) << name;
        flip(false);
        EXPECT_TRUE(sf->CanShowLayerFrame()) << name;
    }
}

TEST_F(TSkinForm, OnlyPlainAndStayOnTopStylesAreAccepted) {
    vcl::TForm* form = MakeForm();
    auto* sf = new TbsSkinForm(form);
    sf->SetFormStyle(vcl::fsMDIForm);
    EXPECT_EQ(form->FormStyle(), vcl::fsNormal);
    sf->SetFormStyle(vcl::fsStayOnTop);
    EXPECT_EQ(form->FormStyle(), vcl::fsStayOnTop);
    EXPECT_EQ(sf->GetProductVersion(), "7.81");
    sf->SetMaxMenuItemsInWindow(-3);
    EXPECT_EQ(sf->MaxMenuItemsInWindow(), 0);
}

TEST_F(TSkinForm, AlphaBlendMakesTheFormLayered) {
    vcl::TForm* form = MakeForm();
    auto* sf = new TbsSkinForm(form);
    const win::HWND wnd = form->Handle();
    auto layered = [&] {
        return (win::GetWindowLongPtr(wnd, win::GWL_EXSTYLE) & win::WS_EX_LAYERED) != 0;
    };
    sf->SetAlphaBlendValue(120);
    EXPECT_FALSE(layered());
    sf->SetAlphaBlend(true);
    EXPECT_TRUE(layered());
    EXPECT_EQ(Screen->Find(wnd)->ConstantAlpha, 120);
    sf->SetAlphaBlendValue(200);
    EXPECT_EQ(Screen->Find(wnd)->ConstantAlpha, 200);
    sf->SetAlphaBlend(false);
    EXPECT_FALSE(layered());
}

TEST_F(TSkinForm, AStretchedSkinTellsTheChildrenTheBackgroundChanged) {
    vcl::TForm* form = MakeForm(300, 200);
    auto* child = new vcl::TPanel(form);
    child->SetParent(form);
    int heard = 0;
    vcl::TWndMethod old = child->WindowProc;
    child->WindowProc = [&, old](vcl::TMessage& m) {
        if (m.Msg == WM_CHECKPARENTBG) ++heard;
        old(m);
    };
    auto* sf = new TbsSkinForm(form);
    TbsSkinData* sd = MakeSkin();
    sf->SetSkinData(sd);
    EXPECT_EQ(heard, 0);
    sd->StretchEffect = true;
    sf->UpdateFrame(true);
    EXPECT_EQ(heard, 1);
}

}  // namespace
}  // namespace skin::test
