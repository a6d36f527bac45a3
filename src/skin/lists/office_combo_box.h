// The office combo box: a skinned, focusable face showing the current office item (picture,
// bold title, caption) that drops down its items in a popup office list. The popup is an
// owner-less top-level tool window shown without activation, so the combo keeps the focus and
// the keys; the combo's hook on the popup's window procedure and the mouse capture on the combo
// turn press-drag-release and click-click into choices. Every choice (a mouse release over the
// popup, Enter, the keys and the wheel of a closed combo, an ItemIndex write outside loading)
// raises OnClick and then OnChange, without comparing with the old index.
//
// The combo owns its popup, which owns the items; the skin data and images are lent. The popup
// may fade in: a blocking loop on the program's clock that processes no messages. Main thread.
#pragma once

#include <string>

#include "skin/core/skin_records.h"
#include "skin/lists/combo_face.h"
#include "skin/lists/list_types.h"
#include "skin/lists/office_list_box.h"
#include "skin/lists/popup_list.h"

namespace skin {

class TbsSkinCustomOfficeComboBox;

class TbsPopupOfficeListBox
    : public TbsPopupList<TbsSkinOfficeListBox, TbsSkinCustomOfficeComboBox> {
public:
    using TbsPopupList::TbsPopupList;

    // The popup's own mouse move at a client point, as the combo reports it while tracking.
    void TrackMouseMove(int X, int Y) { MouseMove({}, X, Y); }

protected:
    // Blocks: nothing may run between the steps of the fade.
    void PopupFadeIn(TbsSkinCustomOfficeComboBox& combo, win::HWND h) override;
};

class TbsSkinCustomOfficeComboBox : public TbsSkinCustomControl, public TbsComboBoxRecordCopy {
public:
    explicit TbsSkinCustomOfficeComboBox(vcl::TComponent* AOwner);
    ~TbsSkinCustomOfficeComboBox() override;

    TbsPopupOfficeListBox* ListBox() const { return FListBox; }

    TbsSkinOfficeItems& Items() { return FListBox->Items(); }
    void SetItems(const TbsSkinOfficeItems& value) { FListBox->SetItems(value); }
    int ItemIndex() const { return FListBox->ItemIndex(); }
    // The popup's setter (item events), then OnClick and OnChange unless loading.
    void SetItemIndex(int value);

    virtual void DropDown();
    void CloseUp(bool Value);
    bool IsPopupVisible() const;
    bool CanCancelDropDown() const;
    // The face with AText in place of the item, at (X, Y) of C.
    void PaintSkinTo(gfx::TCanvas& C, int X, int Y, const std::string& AText);

    bool UseSkinSize() const { return FUseSkinSize; }
    void SetUseSkinSize(bool value) { FUseSkinSize = value; }
    bool ToolButtonStyle() const { return FToolButtonStyle; }
    void SetToolButtonStyle(bool value);
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool value) { FAlphaBlend = value; }
    std::uint8_t AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(std::uint8_t value) { FAlphaBlendValue = value; }
    bool AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
    void SetAlphaBlendAnimation(bool value) { FAlphaBlendAnimation = value; }
    gfx::TFont& ListBoxDefaultFont() { return FListBox->DefaultFont(); }
    void SetListBoxDefaultFont(const gfx::TFont& value) { FListBox->SetDefaultFont(value); }
    bool ListBoxUseSkinFont() const { return FListBox->UseSkinFont(); }
    void SetListBoxUseSkinFont(bool value) { FListBox->SetUseSkinFont(value); }
    int ListBoxWidth() const { return FListBoxWidth; }
    void SetListBoxWidth(int value) { FListBoxWidth = value; }
    int ListBoxHeight() const { return FListBoxHeight; }
    void SetListBoxHeight(int value) { FListBoxHeight = value; }
    bool ListBoxShowItemTitles() const { return FListBox->ShowItemTitles(); }
    void SetListBoxShowItemTitles(bool value) { FListBox->SetShowItemTitles(value); }
    const std::string& ListBoxSkinDataName() const { return FListBox->SkinDataName(); }
    void SetListBoxSkinDataName(const std::string& value) { FListBox->SetSkinDataName(value); }
    bool ListBoxShowLines() const { return FListBox->ShowLines(); }
    void SetListBoxShowLines(bool value) { FListBox->SetShowLines(value); }
    int ListBoxItemHeight() const { return FListBox->ItemHeight(); }
    void SetListBoxItemHeight(int value) { FListBox->SetItemHeight(value); }
    int ListBoxHeaderHeight() const { return FListBox->HeaderHeight(); }
    void SetListBoxHeaderHeight(int value) { FListBox->SetHeaderHeight(value); }
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool value) { FHideSelection = value; }
    vcl::TCustomImageList* Images() const { return FListBox ? FListBox->Images() : nullptr; }
    void SetImages(vcl::TCustomImageList* value);
    bool ShowItemTitle() const { return FShowItemTitle; }
    void SetShowItemTitle(bool value);
    bool ShowItemImage() const { return FShowItemImage; }
    void SetShowItemImage(bool value);
    bool ShowItemText() const { return FShowItemText; }
    void SetShowItemText(bool value);
    gfx::TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(gfx::TColor value);
    int DropDownCount() const { return FDropDownCount; }
    void SetDropDownCount(int value) {
        if (value >= 0) FDropDownCount = value;
    }

    TbsDrawSkinOfficeItemEvent OnDrawItem;
    vcl::TNotifyEvent OnChange;
    vcl::TNotifyEvent OnClick;
    vcl::TNotifyEvent OnCloseUp;
    vcl::TNotifyEvent OnDropDown;

    // The face's parts and state.
    TbsCBItem CBItem;
    TbsCBButtonX Button;

    // The index the face shows while the popup is open, restored when it closes unchosen.
    int FOldItemIndex = 0;
    bool FLBDown = false;
    bool WasInLB = false;
    int TimerMode = 0;

    void GetSkinData() override;
    void ChangeSkinData() override;
    void DefaultFontChanged() override;
    void FitSkinSize(int& AWidth, int& AHeight) override;
    void UpdateWindowRegion() override;
    void Dispatch(vcl::TMessage& Message) override;

    virtual void DoChange();
    void SelectUp(bool AChange);
    void SelectDown(bool AChange);
    void SelectPageUp(bool AChange);
    void SelectPageDown(bool AChange);
    // The face rectangles at the current size and look.
    void CalcRects();

protected:
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    void CreateControlDefaultImage(gfx::TBitmap& B) override;
    void CreateControlSkinImage(gfx::TBitmap& B) override;
    void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void MouseMove(vcl::TShiftState Shift, int X, int Y) override;
    void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void KeyDown(int& Key, vcl::TShiftState Shift) override;

private:
    void ListBoxWindowProcHook(vcl::TMessage& Message);
    void TrackPopupMouse();
    void StartTimer();
    void StopTimer();
    void ReportChoice();
    bool Loading() const;
    int DisplayedIndex() const;

    // Face painting.
    // The record's font with UseSkinFont, else DefaultFont; the skin's character set.
    void SelectSkinFont(gfx::TFont& font, const std::string& name, gfx::TFontStyles style,
                        int height);
    void DrawItemContent(gfx::TCanvas& C, int index, TRect TR, const std::string& text);
    void DrawButton(gfx::TCanvas& C);
    void DrawSkinButton(gfx::TCanvas& C);
    void DrawDefaultItem(gfx::TCanvas& C);
    void DrawSkinItem(gfx::TBitmap& B);
    void DrawSkinStripItem(gfx::TBitmap& B);
    void DrawDefaultToolFace(gfx::TBitmap& B, const std::string& AText);
    void DrawSkinToolFace(gfx::TBitmap& B, const std::string& AText);
    void DrawSkinBackground(gfx::TBitmap& B);
    void DrawMenuMarker(gfx::TCanvas& C, const TRect& R, bool AMouseIn, bool ADown,
                        const TbsDataSkinButtonControl& record);
    bool Hot() const;

    TbsPopupOfficeListBox* FListBox = nullptr;
    vcl::TWndMethod FListBoxWindowProc;
    bool FShowItemTitle = true, FShowItemImage = true, FShowItemText = true;
    int FDropDownCount = 7;
    bool FDropDown = false;
    bool FToolButtonStyle = false;
    gfx::TColor FDefaultColor = gfx::clWindow;
    bool FUseSkinSize = false;
    int FListBoxWidth = 0, FListBoxHeight = 0;
    bool FHideSelection = true;
    bool FAlphaBlend = false, FAlphaBlendAnimation = false;
    std::uint8_t FAlphaBlendValue = 0;
    bool FMouseIn = false;
};

// Only publishes; no behaviour of its own.
class TbsSkinOfficeComboBox : public TbsSkinCustomOfficeComboBox {
public:
    using TbsSkinCustomOfficeComboBox::TbsSkinCustomOfficeComboBox;
};

}  // namespace skin
