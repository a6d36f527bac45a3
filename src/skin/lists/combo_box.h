// The skinned combo box: a face drawn from the skin's "combobox" record (or in system colours)
// showing the committed item, and a popup skinned list box of the items. In the fixed style the
// face paints the item; in the edit style an inner TbsCustomEdit covers the item area and typing
// searches and completes from the items. The popup is an owner-less top-level tool window shown
// without activation, so the combo (or its edit) keeps the keyboard; the combo's hooks on the
// popup's inner list and the mouse capture turn press-drag-release and click-click into choices.
//
// The ItemIndex write is the application's contract: the popup's index, then Text (OnChange at
// once when the text differs), then OnClick and SelectionChanged unless the form is loading.
//
// The combo owns its popup and its inner edit; the skin data and images are lent. The popup may
// fade in on the program's clock, running messages between the steps. Main thread only.
#pragma once

#include <cstdint>
#include <string>

#include "skin/controls/drop_down_client.h"
#include "skin/core/skin_records.h"
#include "skin/lists/combo_face.h"
#include "skin/lists/custom_edit.h"
#include "skin/lists/list_box.h"
#include "skin/lists/list_types.h"
#include "skin/lists/popup_list.h"

namespace skin {

class TbsSkinCustomComboBox;

enum TbsSkinCustomComboBoxStyle { bscbEditStyle, bscbFixedStyle };

class TbsPopupListBox : public TbsPopupList<TbsSkinListBox, TbsSkinCustomComboBox> {
public:
    explicit TbsPopupListBox(vcl::TComponent* AOwner);

protected:
    // Runs messages between the steps, so a handler may close the list while it fades.
    void PopupFadeIn(TbsSkinCustomComboBox& combo, win::HWND h) override;
};

class TbsSkinCustomComboBox : public TbsSkinCustomControl,
                              public TbsDropDownClient,
                              public TbsComboBoxRecordCopy {
public:
    explicit TbsSkinCustomComboBox(vcl::TComponent* AOwner);
    ~TbsSkinCustomComboBox() override;

    TbsPopupListBox* ListBox() const { return FListBox; }
    // The inner edit, null in the fixed style.
    TbsCustomEdit* Edit() const { return FEdit; }

    // ---- properties ----
    TbsSkinCustomComboBoxStyle Style() const { return FStyle; }
    void SetStyle(TbsSkinCustomComboBoxStyle value);
    vcl::TListBoxStrings& Items() { return FListBox->Items(); }
    void SetItems(const rtl::TStrings& value) { FListBox->SetItems(value); }
    int ItemIndex() const { return FListBox->ItemIndex(); }
    // The selection cascade: list index, Text, OnClick and SelectionChanged unless loading.
    void SetItemIndex(int value);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int value) {
        if (value > 0) FDropDownCount = value;
    }
    int ListBoxWidth() const { return FListBoxWidth; }
    void SetListBoxWidth(int value) { FListBoxWidth = value; }
    bool AutoComplete() const { return FAutoComplete; }
    void SetAutoComplete(bool value) { FAutoComplete = value; }
    bool Sorted() const { return FListBox->Sorted(); }
    void SetSorted(bool value) { FListBox->SetSorted(value); }
    vcl::TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(vcl::TEditCharCase value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool value) { FHideSelection = value; }
    gfx::TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(gfx::TColor value);
    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool value) { FUseSkinSize = value; }
    bool ToolButtonStyle() const { return FToolButtonStyle; }
    void SetToolButtonStyle(bool value);
    vcl::TCustomImageList* Images() const { return FListBox->Images(); }
    void SetImages(vcl::TCustomImageList* value);
    int ImageIndex() const { return FListBox->ImageIndex(); }
    void SetImageIndex(int value);
    const rtl::TStrings& TabWidths() const { return FListBox->TabWidths(); }
    void SetTabWidths(const rtl::TStrings& value) { FListBox->SetTabWidths(value); }
    bool HorizontalExtent() const { return FListBox->HorizontalExtent(); }
    void SetHorizontalExtent(bool value) { FListBox->SetHorizontalExtent(value); }
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool value) { FAlphaBlend = value; }
    std::uint8_t AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(std::uint8_t value) { FAlphaBlendValue = value; }
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool value) { FAlphaBlendAnimation = value; }
    const std::string& ListBoxCaption() const { return FListBox->Caption(); }
    void SetListBoxCaption(const std::string& value) { FListBox->SetCaption(value); }
    bool ListBoxCaptionMode() const { return FListBox->CaptionMode(); }
    void SetListBoxCaptionMode(bool value) { FListBox->SetCaptionMode(value); }
    skin::TAlignment ListBoxCaptionAlignment() const { return FListBox->Alignment(); }
    void SetListBoxCaptionAlignment(skin::TAlignment value) { FListBox->SetAlignment(value); }
    gfx::TFont& ListBoxDefaultFont() { return FListBox->DefaultFont(); }
    void SetListBoxDefaultFont(const gfx::TFont& value) { FListBox->SetDefaultFont(value); }
    gfx::TFont& ListBoxDefaultCaptionFont() { return FListBox->DefaultCaptionFont(); }
    void SetListBoxDefaultCaptionFont(const gfx::TFont& value) {
        FListBox->SetDefaultCaptionFont(value);
    }
    int ListBoxDefaultItemHeight() const { return FListBox->DefaultItemHeight(); }
    void SetListBoxDefaultItemHeight(int value) { FListBox->SetDefaultItemHeight(value); }
    bool ListBoxUseSkinFont() const { return FListBox->UseSkinFont(); }
    void SetListBoxUseSkinFont(bool value) { FListBox->SetUseSkinFont(value); }
    bool ListBoxUseSkinItemHeight() const { return FListBox->UseSkinItemHeight(); }
    void SetListBoxUseSkinItemHeight(bool value) { FListBox->SetUseSkinItemHeight(value); }
    // The inner edit's selection; 0 and nothing without an edit.
    int SelStart() const { return FEdit ? FEdit->SelStart() : 0; }
    void SetSelStart(int value) {
        if (FEdit) FEdit->SetSelStart(value);
    }
    int SelLength() const { return FEdit ? FEdit->SelLength() : 0; }
    void SetSelLength(int value) {
        if (FEdit) FEdit->SetSelLength(value);
    }

    // ---- operations ----
    virtual void DropDown();
    void CloseUp(bool Value);
    bool IsPopupVisible() const;
    bool CanCancelDropDown() const;
    // The face with AText in place of the item, at (X, Y) of C.
    void PaintSkinTo(gfx::TCanvas& C, int X, int Y, const std::string& AText);
    void ChangeSkinData() override;
    void GetSkinData() override;
    void Invalidate() override;
    void DefaultFontChanged() override;
    void FitSkinSize(int& AWidth, int& AHeight) override;
    void UpdateWindowRegion() override;
    void Dispatch(vcl::TMessage& Message) override;
    // The face rectangles at the current size and look.
    void CalcRects();

    // ---- events ----
    vcl::TNotifyEvent OnChange, OnClick, OnCloseUp, OnDropDown;
    TbsDrawSkinItemEvent OnComboBoxDrawItem;
    const TbsDrawSkinItemEvent& OnListBoxDrawItem() const { return FOnListBoxDrawItem; }
    void SetOnListBoxDrawItem(TbsDrawSkinItemEvent value);

    // The popup record's name, from the "combobox" record.
    std::string ListBoxName;

    // ---- state the tests and subclasses read ----
    TbsCBItem CBItem;
    TbsCBButtonX Button;
    int FOldItemIndex = -1;
    bool FLBDown = false;
    bool WasInLB = false;
    int TimerMode = 0;
    // Set before the edit is created to get the numeric edit.
    bool FNumEdit = false;

protected:
    // After OnClick of a selection or an accepted choice, and after OnChange of typed text.
    virtual void SelectionChanged() {}
    virtual void EditWindowProcHook(vcl::TMessage& Message);
    void CreateEditControl();

    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    void CreateControlDefaultImage(gfx::TBitmap& B) override;
    void CreateControlSkinImage(gfx::TBitmap& B) override;
    void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void MouseMove(vcl::TShiftState Shift, int X, int Y) override;
    void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void KeyDown(int& Key, vcl::TShiftState Shift) override;
    void KeyPress(char32_t& Key) override;

private:
    bool Loading() const;
    void FreeEditControl();
    void EditChange();
    void EditCancelMode(vcl::TControl* C);
    bool OwnsSender(vcl::TControl* C) const;
    void ListBoxWindowProcHook(vcl::TMessage& Message);
    void ListBoxHotTrack(int X, int Y);
    void TrackListBoxDrag();
    void StartTimer();
    void StopTimer();
    void AcceptChoice();
    void RaiseClick();
    // The item search of typing: one character from after the current index, longer text from
    // the first item; -1 when nothing begins with the text.
    int FindItem(const std::string& text) const;
    void FindListItem(char32_t Key);
    void AutoCompleteEdit();
    void ComboUp(bool AChange);
    void ComboDown(bool AChange);
    void ComboPageUp(bool AChange);
    void ComboPageDown(bool AChange);
    void EditUp(bool ATakeOver);
    void EditDown(bool ATakeOver);
    void AdjustEditHeight();
    // The record's or the default font, the skin's colour, charset and state on the edit.
    void ApplyEditFont();
    gfx::TFontCharset TextCharset();
    gfx::TColor GetDisabledFontColor();
    bool ActiveLook();
    bool EditFocused() const;
    int ShownIndex() const;

    // Painting.
    void DrawDefaultItem(gfx::TCanvas& C);
    void DrawButton(gfx::TCanvas& C);
    void DrawResizeButton(gfx::TCanvas& C);
    void DrawSkinFrame(gfx::TBitmap& B);
    void DrawSkinItem(gfx::TBitmap& Face);
    void DrawResizeSkinItem(gfx::TBitmap& Face);
    void PrepareSkinItemCanvas(gfx::TCanvas& IC, bool focused, int w, int h);
    void DrawItemRules(gfx::TCanvas& C, int width, int height, TRect TR, const std::string& text,
                       bool wholeControl);
    void DrawDefaultToolButton(gfx::TBitmap& B, const std::string& AText);
    void DrawSkinToolButton(gfx::TBitmap& B, const std::string& AText);

    TbsPopupListBox* FListBox = nullptr;
    TbsCustomEdit* FEdit = nullptr;
    vcl::TWndMethod FListBoxWindowProc;
    vcl::TWndMethod FEditWindowProc;
    TbsDrawSkinItemEvent FOnListBoxDrawItem;
    TbsSkinCustomComboBoxStyle FStyle = bscbFixedStyle;
    bool FDropDown = false;
    bool FToolButtonStyle = false;
    vcl::TEditCharCase FCharCase = vcl::ecNormal;
    gfx::TColor FDefaultColor = gfx::clWindow;
    bool FUseSkinSize = true;
    int FListBoxWidth = 0;
    bool FHideSelection = true;
    std::uint32_t FLastTime = 0;
    std::u32string FFilter;
    bool FAutoComplete = true;
    bool FAlphaBlend = false, FAlphaBlendAnimation = false;
    std::uint8_t FAlphaBlendValue = 0;
    bool FMouseIn = false;
    int FDropDownCount = 8;
    bool FromEdit = false;
    bool FPainting = false;
};

// Only publishes; no behaviour of its own.
class TbsSkinComboBox : public TbsSkinCustomComboBox {
public:
    using TbsSkinCustomComboBox::TbsSkinCustomComboBox;
};

}  // namespace skin
