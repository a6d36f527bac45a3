// The skin chooser over the program's eight stored skins, driven while its modal loop waits.
#include "skin/dialogs/select_skin_dialog.h"

#include <gtest/gtest.h>

#include "controls_test_support.h"
#include "skin/controls/skin_button.h"
#include "skin/form/skin_form.h"
#include "skin/lists/list_box.h"
#include "skin/packages/stored_skins.h"

namespace skin {
namespace {

class SelectSkinDialogTest : public test::TControlsTest {
public:
    void SetUp() override {
        TControlsTest::SetUp();
        Skins = new TbsCompressedSkinList(Form);
        AddStoredSkins(*Skins, ChooserSkinPackages());
        Dialog = new TbsSelectSkinDialog(Form);
        Dialog->SetSkinList(Skins);
        Dialog->SetSkinData(Data);
        Dialog->SetCtrlSkinData(Data);
    }
    void WhenShown(std::function<void(TbsSelectSkinDlgForm*)> step) {
        Screen->QueueIdleStep([this, step] { step(Dialog->DlgFrm()); });
    }
    // Clicks entry `index` of the chooser's list; twice for a double click.
    void ClickEntry(TbsSelectSkinDlgForm* form, int index, int times = 1) {
        TbsListBox* list = form->SkinsListBox->ListBox;
        list->SetTopIndex(0);
        const vcl::TRect r = list->ItemRect(index);
        const vcl::TPoint p = list->ClientToScreen({r.Left + 10, r.Top + r.Height() / 2});
        for (int i = 0; i < times; ++i) Screen->Click(p);
        Run();
    }

    TbsCompressedSkinList* Skins = nullptr;
    TbsSelectSkinDialog* Dialog = nullptr;
};

TEST_F(SelectSkinDialogTest, ExecuteHighlightsAndPreviewsTheGivenSkin) {
    bool looked = false;
    WhenShown([&](TbsSelectSkinDlgForm* form) {
        ASSERT_NE(form, nullptr);
        looked = true;
        const std::vector<std::string> names{"木星战甲", "土星战甲", "宇宙战甲", "星河战甲",
                                             "银河战甲", "金星战甲", "火星战甲", "水星战甲"};
        ASSERT_EQ(form->SkinsListBox->Items().Count(), 8);
        for (int i = 0; i < 8; ++i) EXPECT_EQ(form->SkinsListBox->Items()[i], names[i]);
        EXPECT_EQ(form->SkinsListBox->ItemIndex(), 3);
        EXPECT_EQ(form->PreviewSkinData->SkinIndex(), 3);
        EXPECT_FALSE(form->PreviewSkinData->Empty) << "the preview shows the skin";
        EXPECT_EQ(form->Caption(), "Select skin");
        EXPECT_EQ(form->ClientWidth(), 420);
        EXPECT_EQ(form->ClientHeight(), 240);
        EXPECT_EQ(form->PreviewForm->BoundsRect(), vcl::TRect(190, 10, 410, 180));
        EXPECT_EQ(form->SkinsListBox->BoundsRect(), vcl::TRect(10, 10, 180, 180));
        EXPECT_EQ(form->OpenButton->Caption(), "OK");
        EXPECT_EQ(form->PreviewButton->Caption(), "Button");
        bool listed = false;
        for (int i = 0; i < vcl::Screen->FormCount(); ++i)
            listed = listed || vcl::Screen->Forms(i) == form->PreviewForm;
        EXPECT_TRUE(listed) << "the preview form hears the skin messages";
        Press(win::VK_RETURN);
    });
    EXPECT_TRUE(Dialog->Execute(3));
    EXPECT_TRUE(looked);
    EXPECT_EQ(Dialog->SelectedSkinIndex(), 3);
    EXPECT_EQ(Dialog->DlgFrm(), nullptr);
    EXPECT_TRUE(Data->Empty) << "the chooser never skins the application";
}

TEST_F(SelectSkinDialogTest, AClickChangesOnlyThePreviewAndCancelGivesMinusOne) {
    const struct {
        const char* How;
        int Key;
    } cancels[] = {{"Esc", win::VK_ESCAPE}, {"Cancel", 0}};
    for (const auto& c : cancels) {
        int previewed = -1;
        WhenShown([&](TbsSelectSkinDlgForm* form) {
            ClickEntry(form, 5);
            previewed = form->PreviewSkinData->SkinIndex();
            if (c.Key)
                Press(c.Key);
            else
                Click(form->CancelButton, 10, 10);
        });
        EXPECT_FALSE(Dialog->Execute(3)) << c.How;
        EXPECT_EQ(previewed, 5) << c.How;
        EXPECT_EQ(Dialog->SelectedSkinIndex(), -1) << c.How;
        EXPECT_TRUE(Data->Empty) << c.How;
    }
    // Enter with the list focused takes the highlighted entry.
    WhenShown([&](TbsSelectSkinDlgForm* form) {
        ClickEntry(form, 6);
        Press(win::VK_RETURN);
    });
    EXPECT_TRUE(Dialog->Execute(0));
    EXPECT_EQ(Dialog->SelectedSkinIndex(), 6);
}

TEST_F(SelectSkinDialogTest, ADoubleClickChoosesItsEntry) {
    WhenShown([&](TbsSelectSkinDlgForm* form) { ClickEntry(form, 2, 2); });
    EXPECT_TRUE(Dialog->Execute(0));
    EXPECT_EQ(Dialog->SelectedSkinIndex(), 2);
}

TEST_F(SelectSkinDialogTest, WithoutASkinListNothingIsShown) {
    WhenShown([&](TbsSelectSkinDlgForm*) { Press(win::VK_RETURN); });
    EXPECT_TRUE(Dialog->Execute(1));
    Dialog->SetSkinList(nullptr);
    const int forms = vcl::Screen->FormCount();
    EXPECT_FALSE(Dialog->Execute(4));
    EXPECT_EQ(Dialog->SelectedSkinIndex(), 1) << "the old value stays";
    EXPECT_EQ(vcl::Screen->FormCount(), forms);
    Screen->QueueIdleStep({});  // the step queued above was used; nothing else may be
}

TEST_F(SelectSkinDialogTest, ASkinnedChooserIsAtLeastTheSkinsMinimum) {
    LoadStored(0);
    int width = 0, height = 0, minWidth = 0, minHeight = 0;
    WhenShown([&](TbsSelectSkinDlgForm* form) {
        width = form->ClientWidth();
        height = form->ClientHeight();
        minWidth = form->BSF->GetMinWidth();
        minHeight = form->BSF->GetMinHeight();
        Press(win::VK_ESCAPE);
    });
    EXPECT_FALSE(Dialog->Execute(0));
    EXPECT_EQ(width, std::max(420, minWidth));
    EXPECT_EQ(height, std::max(240, minHeight));
    EXPECT_EQ(Data->SkinIndex(), 0) << "untouched by the chooser";
}

}  // namespace
}  // namespace skin
