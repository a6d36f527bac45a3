// The skinned message box on the headless screen: each call builds, shows and frees its form;
// the steps below run while the modal loop waits.
#include "skin/dialogs/skin_message.h"

#include <gtest/gtest.h>

#include "controls_test_support.h"
#include "platform/gfx/surface.h"
#include "platform/vcl/ext_ctrls.h"
#include "sheet_test_support.h"
#include "skin/controls/check_radio_box.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/std_label.h"
#include "skin/form/skin_form.h"

namespace skin {
namespace {

class SkinMessageTest : public test::TControlsTest {
public:
    void SetUp() override {
        TControlsTest::SetUp();
        vcl::Application->Title = "Moradex";
        Message = new TbsSkinMessage(vcl::Application);
    }
    // Runs `step` with the shown box when the modal loop waits next.
    void WhenShown(std::function<void(TbsMessageForm*)> step) {
        Screen->QueueIdleStep([this, step] { step(Shown()); });
    }
    TbsMessageForm* Shown() const {
        return dynamic_cast<TbsMessageForm*>(vcl::Screen->ActiveForm());
    }
    int MessageForms() const {
        int n = 0;
        for (int i = 0; i < vcl::Screen->FormCount(); ++i)
            n += dynamic_cast<TbsMessageForm*>(vcl::Screen->Forms(i)) != nullptr;
        return n;
    }
    static TbsSkinButton* Button(TbsMessageForm* form, const std::string& name) {
        return dynamic_cast<TbsSkinButton*>(form->FindComponent(name));
    }

    TbsSkinMessage* Message = nullptr;
};

TEST_F(SkinMessageTest, OneOkButtonCentredUnderTheTextAnswersEnterAndEsc) {
    for (int key : {win::VK_RETURN, win::VK_ESCAPE}) {
        bool looked = false;
        WhenShown([&](TbsMessageForm* form) {
            ASSERT_NE(form, nullptr);
            looked = true;
            EXPECT_EQ(form->Caption(), "提示");
            TbsSkinButton* ok = Button(form, "OK");
            ASSERT_NE(ok, nullptr);
            EXPECT_EQ(ok->Caption(), "OK");
            EXPECT_EQ(ok->Width(), 70);
            EXPECT_EQ(ok->Height(), 25);
            EXPECT_TRUE(ok->Default() && ok->Cancel()) << "OK is both default and cancel";
            EXPECT_EQ(ok->Left(), (form->ClientWidth() - 70) / 2);
            EXPECT_EQ(ok->Top(), form->ClientHeight() - 35);
            const int labelBottom = form->Message->Top() + form->Message->Height();
            EXPECT_EQ(form->ClientHeight(), 25 + form->Message->Height() + 50);
            EXPECT_GT(ok->Top(), labelBottom);
            EXPECT_EQ(form->Message->Left(), 50);
            EXPECT_EQ(form->Message->Top(), 15);
            ASSERT_NE(form->Image, nullptr);
            EXPECT_EQ(form->Image->BoundsRect(), vcl::TRect(5, 10, 37, 42));
            EXPECT_NE(form->Image->Picture().Graphic(), nullptr) << "the information icon";
            EXPECT_EQ(form->DisplayCheckBox, nullptr);
            // Centred on the screen.
            const vcl::TRect work = vcl::Screen->WorkAreaRect();
            EXPECT_NEAR(form->Left(), work.Left + (work.Width() - form->Width()) / 2, 1);
            Press(key);
        });
        EXPECT_EQ(Message->MessageDlg2("完成", "提示", vcl::mtInformation, {vcl::mbOK}, 0), 1);
        EXPECT_TRUE(looked);
        Run();
        EXPECT_EQ(MessageForms(), 0) << "no form of it remains";
    }
}

TEST_F(SkinMessageTest, YesNoRowAndTheirKeys) {
    struct {
        int Key;
        int Result;
    } const cases[] = {{win::VK_RETURN, vcl::mrYes}, {win::VK_ESCAPE, vcl::mrNo}};
    for (const auto& c : cases) {
        WhenShown([&](TbsMessageForm* form) {
            TbsSkinButton* yes = Button(form, "Yes");
            TbsSkinButton* no = Button(form, "No");
            ASSERT_TRUE(yes && no);
            EXPECT_EQ(no->Left() + no->Width() - yes->Left(), 150) << "the row width";
            EXPECT_TRUE(yes->Default());
            EXPECT_TRUE(no->Cancel());
            EXPECT_EQ(yes->Caption(), "&Yes");
            EXPECT_EQ(form->Caption(), "Confirm");
            Press(c.Key);
        });
        EXPECT_EQ(Message->MessageDlg("Go on?", vcl::mtConfirmation, {vcl::mbYes, vcl::mbNo}, 0),
                  c.Result);
    }
}

TEST_F(SkinMessageTest, HelpAsksTheApplicationAndKeepsTheFormOpen) {
    std::vector<int> helped;
    vcl::Application->OnHelp = [&](int context) { helped.push_back(context); };
    WhenShown([&](TbsMessageForm* form) {
        TbsSkinButton* help = Button(form, "Help");
        ASSERT_NE(help, nullptr);
        Click(help, 10, 10);
    });
    bool stillOpen = false;
    WhenShown([&](TbsMessageForm* form) {
        stillOpen = form != nullptr && form->Visible();
        Press(win::VK_ESCAPE);
    });
    EXPECT_EQ(Message->MessageDlg("?", vcl::mtWarning, {vcl::mbOK, vcl::mbHelp}, 42), vcl::mrOk);
    EXPECT_EQ(helped, std::vector<int>{42});
    EXPECT_TRUE(stillOpen);
    vcl::Application->OnHelp = nullptr;

    // Without a hook the button does nothing at all. (Enter would press the focused Help again.)
    WhenShown([&](TbsMessageForm* form) { Click(Button(form, "Help"), 10, 10); });
    WhenShown([&](TbsMessageForm*) { Press(win::VK_ESCAPE); });
    EXPECT_EQ(Message->MessageDlg("?", vcl::mtWarning, {vcl::mbOK, vcl::mbHelp}, 1), vcl::mrOk);
}

TEST_F(SkinMessageTest, CustomTypeTakesTheTitleAndNoIcon) {
    WhenShown([&](TbsMessageForm* form) {
        EXPECT_EQ(form->Caption(), "Moradex");
        ASSERT_NE(form->Image, nullptr);
        EXPECT_EQ(form->Image->Picture().Graphic(), nullptr);
        Press(win::VK_RETURN);
    });
    EXPECT_EQ(Message->MessageDlg("x", vcl::mtCustom, {vcl::mbOK}, 0), 1);
}

TEST_F(SkinMessageTest, IconTopFollowsTheLabelImageListIconsWithoutTheFloor) {
    // A label 16 pixels high: its middle lies at 15 + 8 - 16 = 7.
    gfx::TFont font = Message->DefaultFont();
    font.SetHeight(16);
    Message->SetDefaultFont(font);
    vcl::TImageList images(vcl::Application);
    images.SetWidth(24);
    images.SetHeight(24);
    gfx::TBitmap picture;
    picture.SetSize(24, 24);
    images.Add(&picture, nullptr);

    struct {
        bool ImageList;
        int Top;
    } const cases[] = {{false, 10}, {true, 7}};
    for (const auto& c : cases) {
        int labelHeight = 0, top = -1, width = 0;
        WhenShown([&](TbsMessageForm* form) {
            labelHeight = form->Message->Height();
            if (form->Image) {
                top = form->Image->Top();
                width = form->Image->Width();
            }
            Press(win::VK_RETURN);
        });
        if (c.ImageList)
            Message->CustomMessageDlg("x", "c", &images, 0, {vcl::mbOK}, 0);
        else
            Message->MessageDlg("x", vcl::mtError, {vcl::mbOK}, 0);
        ASSERT_EQ(labelHeight, 16);
        EXPECT_EQ(top, c.Top) << c.ImageList;
        EXPECT_EQ(width, c.ImageList ? 24 : 32);
    }
    // An index outside the list: no image at all.
    WhenShown([&](TbsMessageForm* form) {
        EXPECT_EQ(form->Image, nullptr);
        Press(win::VK_RETURN);
    });
    Message->CustomMessageDlg("x", "c", &images, 1, {vcl::mbOK}, 0);
}

TEST_F(SkinMessageTest, ShowAgainBoxWidensTheFormAndComesBackInverted) {
    Message->ShowAgainFlag = true;
    struct {
        bool Start;
        bool Toggle;
        bool After;
    } const cases[] = {{false, false, false}, {false, true, true}, {true, false, true}};
    for (const auto& c : cases) {
        Message->ShowAgainFlagValue = c.Start;
        WhenShown([&](TbsMessageForm* form) {
            ASSERT_NE(form->DisplayCheckBox, nullptr);
            TbsSkinCheckRadioBox* box = form->DisplayCheckBox;
            EXPECT_EQ(box->Checked(), !c.Start);
            EXPECT_EQ(box->Caption(), "Do not display this message again");
            form->Canvas().Font().Assign(Message->DefaultFont());
            const int w = form->Canvas().TextWidth(box->Caption());
            EXPECT_EQ(form->ClientWidth(), w + 60) << "wider than the label and the one button";
            EXPECT_EQ(box->BoundsRect(),
                      vcl::TRect(5, form->ClientHeight() - 75, w + 60, form->ClientHeight() - 45));
            if (c.Toggle) box->SetChecked(!box->Checked());
            Press(win::VK_RETURN);
        });
        EXPECT_EQ(Message->MessageDlg("ok", vcl::mtInformation, {vcl::mbOK}, 0), 1);
        EXPECT_EQ(Message->ShowAgainFlagValue, c.After);
    }
    // The wide variants never show the box and leave the value alone.
    Message->ShowAgainFlagValue = true;
    WhenShown([&](TbsMessageForm* form) {
        EXPECT_EQ(form->DisplayCheckBox, nullptr);
        Press(win::VK_RETURN);
    });
    Message->WideMessageDlg("wide", vcl::mtInformation, {vcl::mbOK}, 0);
    EXPECT_TRUE(Message->ShowAgainFlagValue);
}

TEST_F(SkinMessageTest, ALineWiderThanTheScreenIsCutToTheMaximumWidth) {
    WhenShown([&](TbsMessageForm* form) {
        EXPECT_EQ(form->Width(), form->BSF->GetMaxWidth());
        TbsSkinButton* ok = Button(form, "OK");
        EXPECT_EQ(ok->Left(), (form->ClientWidth() - 70) / 2) << "centred in what is left";
        Press(win::VK_RETURN);
    });
    EXPECT_EQ(Message->MessageDlg(std::string(400, 'W'), vcl::mtWarning, {vcl::mbOK}, 0), 1);
    // An empty button set: the width comes from the label alone.
    WhenShown([&](TbsMessageForm* form) {
        EXPECT_EQ(form->ClientWidth(), 50 + form->Message->Width() + 40);
        form->SetModalResult(vcl::mrOk);
    });
    EXPECT_EQ(Message->MessageDlg("A somewhat longer line", vcl::mtWarning, {}, 0), 1);
}

TEST_F(SkinMessageTest, PositionedFormsAskOnSetShowPos) {
    int askedW = 0;
    Message->OnSetShowPos = [&](int& x, int& y, int w, int) {
        EXPECT_EQ(x, 30);
        EXPECT_EQ(y, 40);
        askedW = w;
        x = 60;
    };
    WhenShown([&](TbsMessageForm* form) {
        EXPECT_EQ(form->Left(), 60);
        EXPECT_EQ(form->Top(), 40);
        EXPECT_EQ(askedW, form->Width());
        Press(win::VK_RETURN);
    });
    Message->MessageDlgPos("x", vcl::mtWarning, {vcl::mbOK}, 0, 30, 40);
}

TEST_F(SkinMessageTest, CaptionsFromTheSkinsTableOrBuiltIn) {
    const struct {
        TMsgDlgBtn Kind;
        const char* Name;
        const char* Caption;
        int Result;
    } buttons[] = {
        {vcl::mbYes, "Yes", "&Yes", 6},
        {vcl::mbNo, "No", "&No", 7},
        {vcl::mbOK, "OK", "OK", 1},
        {vcl::mbCancel, "Cancel", "Cancel", 2},
        {vcl::mbAbort, "Abort", "&Abort", 3},
        {vcl::mbRetry, "Retry", "&Retry", 4},
        {vcl::mbIgnore, "Ignore", "&Ignore", 5},
        {vcl::mbAll, "All", "&All", 8},
        {vcl::mbNoToAll, "NoToAll", "N&oToAll", 9},
        {vcl::mbYesToAll, "YesToAll", "&YesToAll", 10},
        {vcl::mbHelp, "Help", "&Help", 0},
        {vcl::mbClose, "Close", "Close", 11},
    };
    for (const auto& b : buttons) {
        EXPECT_EQ(GetMsgButtonCaption(b.Kind, nullptr), b.Caption);
        EXPECT_EQ(MsgButtonName(b.Kind), b.Name);
        EXPECT_EQ(MsgButtonResult(b.Kind), b.Result);
    }
    EXPECT_EQ(GetMsgDlgCaption(vcl::mtWarning, nullptr), "Warning");
    EXPECT_EQ(GetMsgDlgCaption(vcl::mtError, nullptr), "Error");
    EXPECT_EQ(GetMsgDlgCaption(vcl::mtCustom, Data), "");
}

// The four icons, one box each, as the screen shows them without a skin.
TEST_F(SkinMessageTest, TheFourIconBoxesLookAsReviewed) {
    test::TSheet sheet;
    int column = 0;
    for (TMsgDlgType type :
         {vcl::mtWarning, vcl::mtError, vcl::mtInformation, vcl::mtConfirmation}) {
        WhenShown([&](TbsMessageForm* form) {
            Run();
            sheet.Add(0, column++, test::TSheet::ImageOf(Screen->CaptureWindow(form->Handle())));
            Press(win::VK_ESCAPE);
        });
        Message->MessageDlg("Moradex 转换完成。\nThe files are ready.", type,
                            {vcl::mbOK, vcl::mbCancel}, 0);
    }
    ASSERT_EQ(column, 4) << "every box was shown";
    test::ExpectSheetMatches(sheet.Compose(), "message_icons");
}

}  // namespace
}  // namespace skin
