// What the form skin component does with the combo boxes and edits: its own skin-change walk
// reaches them (the combo hands the skin on to its popup), and on a visible MDI main form
// CancelChildDropDowns closes an open drop-down and tells the edits.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lists_test_support.h"
#include "skin/form/skin_form.h"
#include "skin/lists/combo_box.h"
#include "skin/lists/skin_edit.h"

namespace skin {
namespace {

class FormHooksTest : public test::TControlsTest {};

TEST_F(FormHooksTest, TheFormsOwnSkinChangeWalkReachesComboAndEdit) {
    // A second form without the test's walk: only its skin component can reach the controls.
    vcl::TForm* form = ShowForm(450, 20, 300, 200, "Own");
    auto* skinForm = new TbsSkinForm(form);
    skinForm->SetSkinData(Data);
    auto* combo = new TbsSkinComboBox(form);
    combo->SetParent(form);
    combo->SetBounds(10, 10, 120, 20);
    combo->SetSkinData(Data);
    combo->Items().Add("A");
    combo->SetStyle(bscbEditStyle);
    auto* edit = new TbsSkinEdit(form);
    edit->SetParent(form);
    edit->SetBounds(10, 50, 150, 40);
    edit->SetSkinDataName("thickedit");
    edit->SetSkinData(Data);
    Run();
    ASSERT_EQ(edit->Height(), 40);
    ASSERT_FALSE(combo->Edit()->EditTransparent());

    Load(test::ListsFixtureSkin());
    EXPECT_NE(combo->FIndex, -1);
    EXPECT_TRUE(combo->Edit()->EditTransparent());  // the inner edit follows the combo
    EXPECT_EQ(combo->ListBox()->SkinData(), Data);
    EXPECT_NE(edit->FIndex, -1);
    EXPECT_EQ(edit->Height(), 24);
    EXPECT_EQ(edit->Font().Color(), test::lists::kThickText);
}

TEST_F(FormHooksTest, CancelChildDropDownsClosesOnAVisibleMdiMainFormOnly) {
    vcl::TForm* main = nullptr;
    vcl::Application->CreateForm(main);
    main->SetName("Main");
    main->SetFormStyle(vcl::fsMDIForm);
    main->SetBounds(0, 0, 600, 400);
    auto* bar = new vcl::TCustomControl(main);
    bar->SetParent(main);
    bar->SetHeight(60);
    bar->SetAlign(vcl::alTop);
    auto* skinForm = new TbsSkinForm(main);
    auto* combo = new TbsSkinComboBox(main);
    combo->SetParent(bar);
    combo->SetBounds(10, 10, 120, 20);
    for (const char* s : {"a", "b", "c"}) combo->Items().Add(s);
    combo->SetItemIndex(1);
    auto* hidden = new TbsSkinComboBox(main);
    hidden->SetParent(bar);
    hidden->SetBounds(200, 10, 120, 20);
    hidden->Items().Add("x");
    auto* edit = new TbsSkinEdit(main);
    edit->SetParent(bar);
    edit->SetBounds(350, 10, 120, 20);
    std::vector<std::string> cancels;
    edit->OnEditCancelMode = [&](vcl::TControl* c) {
        cancels.push_back(c ? c->Name() : "no sender");
    };

    skinForm->CancelChildDropDowns();  // not shown yet: nothing
    EXPECT_TRUE(cancels.empty());
    main->Show();
    Run();
    combo->DropDown();
    hidden->DropDown();
    hidden->SetVisible(false);
    Run();
    ASSERT_TRUE(combo->IsPopupVisible());
    combo->ListBox()->SetItemIndex(2);
    cancels.clear();
    skinForm->CancelChildDropDowns();
    EXPECT_FALSE(combo->IsPopupVisible());
    EXPECT_EQ(combo->ItemIndex(), 1);
    EXPECT_TRUE(hidden->IsPopupVisible());  // invisible controls are left alone
    ASSERT_FALSE(cancels.empty());
    for (const std::string& c : cancels) EXPECT_EQ(c, "no sender");
    hidden->CloseUp(false);

    // The same on a plain form does nothing.
    auto* plainSkin = new TbsSkinForm(Form);
    auto* plain = new TbsSkinComboBox(Form);
    plain->SetParent(Form);
    plain->SetBounds(10, 10, 120, 20);
    plain->Items().Add("p");
    plain->DropDown();
    Run();
    plainSkin->CancelChildDropDowns();
    EXPECT_TRUE(plain->IsPopupVisible());
    plain->CloseUp(false);
    edit->OnEditCancelMode = nullptr;  // the form may call it again while it goes
}

}  // namespace
}  // namespace skin
