// The office list: a skinned list of two-line entries (an optional picture, a bold title, a
// word-wrapped caption) split into sections by header rows. TbsSkinOfficeItems is the ordered
// collection the list owns; every change to it or to one of its items repaints the list and
// recomputes its scroll range. The list lays its rows out top-down with fixed heights, scrolls
// them with a skinned vertical bar that it creates only while they don't fit, and moves its
// current row by mouse and keys, never onto a header or a disabled row. The office combo box
// (office_combo_box.h) drops one down as its popup list.
//
// The list owns its items and its scroll bar; the image list and the skin data are lent.
// Main thread only.
#pragma once

#include <functional>
#include <string>

#include "platform/rtl/lists.h"
#include "platform/vcl/img_list.h"
#include "skin/controls/scroll_bar.h"
#include "skin/controls/skin_control.h"

namespace skin {

class TbsSkinOfficeListBox;

// Owner drawing of one office item: the canvas, the item's index and the rectangle for its
// content (which rectangle depends on the look).
using TbsDrawSkinOfficeItemEvent =
    std::function<void(gfx::TCanvas& Cnvs, int Index, const TRect& TextRct)>;

class TbsSkinOfficeItem : public rtl::TCollectionItem {
public:
    TbsSkinOfficeItem() = default;

    int ImageIndex() const { return FImageIndex; }
    virtual void SetImageIndex(int value);
    const std::string& Title() const { return FTitle; }
    virtual void SetTitle(const std::string& value);
    const std::string& Caption() const { return FCaption; }
    virtual void SetCaption(const std::string& value);
    void* Data() const { return FData; }
    // Only stores: the owner's data never repaints the list.
    virtual void SetData(void* value) { FData = value; }
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool value);
    bool Header() const { return FHeader; }
    virtual void SetHeader(bool value);

    // Copies the look of another office item, not its Data nor its OnClick.
    void Assign(const rtl::TCollectionItem& source) override;

    // Raised with the list as Sender when the list's ItemIndex setter selects this item.
    vcl::TNotifyEvent OnClick;

    // Written by the list's layout: the row in the list's client coordinates (scroll offset
    // applied) and whether it overlaps the item area.
    TRect ItemRect;
    bool IsVisible = false;
    // The highlighted row of the list.
    bool Active = false;

private:
    // Every setter but Data's tells the collection, even for an unchanged value.
    void Touch() { Changed(false); }

    int FImageIndex = -1;
    std::string FTitle;
    std::string FCaption;
    void* FData = nullptr;
    bool FEnabled = true;
    bool FHeader = false;
};

class TbsSkinOfficeItems : public rtl::TCollection {
public:
    explicit TbsSkinOfficeItems(TbsSkinOfficeListBox* AListBox);

    TbsSkinOfficeListBox* OfficeListBox;

    // Raises the list-index error outside 0 .. Count - 1.
    TbsSkinOfficeItem* Items(int index) const {
        return static_cast<TbsSkinOfficeItem*>(rtl::TCollection::Items(index));
    }
    TbsSkinOfficeItem* operator[](int index) const { return Items(index); }
    TbsSkinOfficeItem* Add();
    TbsSkinOfficeItem* Insert(int index);
    void Delete(int index);
    // Leaves the list's ItemIndex as it is.
    void Clear();
    vcl::TComponent* GetOwner() const;

protected:
    void Update(rtl::TCollectionItem* item) override;
    // A new item is born highlighted when it lands at the list's current index.
    void Notify(rtl::TCollectionItem* item, rtl::TCollectionNotification action) override;
};

class TbsSkinOfficeListBox : public TbsSkinCustomControl {
public:
    explicit TbsSkinOfficeListBox(vcl::TComponent* AOwner);
    ~TbsSkinOfficeListBox() override;

    TbsSkinOfficeItems& Items() { return *FItems; }
    // A copy of the given items; repaints and updates the scroll range.
    void SetItems(const TbsSkinOfficeItems& value);
    vcl::TCustomImageList* Images() const { return FImages; }
    void SetImages(vcl::TCustomImageList* value);
    bool ShowItemTitles() const { return FShowItemTitles; }
    void SetShowItemTitles(bool value);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int value);
    int HeaderHeight() const { return FHeaderHeight; }
    void SetHeaderHeight(int value);
    bool ShowLines() const { return FShowLines; }
    void SetShowLines(bool value);
    bool MouseMoveChangeIndex() const { return FMouseMoveChangeIndex; }
    void SetMouseMoveChangeIndex(bool value) { FMouseMoveChangeIndex = value; }

    int ItemIndex() const { return FItemIndex; }
    // A row at or above 0 becomes the only highlighted one, is scrolled into view and raises
    // its OnClick and then OnItemClick, every time; a negative value only clears the index.
    // An index at or beyond the count raises the list-index error after clearing every row.
    virtual void SetItemIndex(int value);
    // The same without events, for mouse tracking.
    void SetActiveItem(int Index);

    TbsDrawSkinOfficeItemEvent OnDrawItem;
    vcl::TNotifyEvent OnItemClick;

    // Layout, scrolling, hit test and the keyboard moves.
    void CalcItemRects();
    int CalcHeight(int AItemCount);
    void GetScrollInfo(int& AMin, int& AMax, int& APage, int& APosition);
    void UpdateScrollInfo();
    void ShowScrollbar();
    void HideScrollBar();
    void AdjustScrollBar();
    void SBChange(vcl::TObject* Sender);
    void Scroll(int AScrollOffset);
    void ScrollToItem(int Index);
    int ItemAtPos(int X, int Y);
    void FindUp();
    void FindDown();
    void FindPageUp();
    void FindPageDown();

    // Painting of one row in the current look.
    void DrawItem(int Index, gfx::TCanvas& Cnvs);
    void SkinDrawItem(int Index, gfx::TCanvas& Cnvs);
    void DefaultDrawItem(int Index, gfx::TCanvas& Cnvs);
    void SkinDrawHeaderItem(int Index, gfx::TCanvas& Cnvs);

    void ChangeSkinData() override;
    void WndProc(vcl::TMessage& Message) override;
    void Dispatch(vcl::TMessage& Message) override;

    // Present while the rows don't fit; owned, a child of the list.
    TbsSkinScrollBar* ScrollBar = nullptr;

    // Read by tests and by the popup.
    const TRect& ItemsRect() const { return FItemsRect; }
    int ScrollOffset() const { return FScrollOffset; }
    gfx::TColor DisabledFontColor() const { return FDisabledFontColor; }

protected:
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    void CreateControlDefaultImage(gfx::TBitmap& B) override;
    void CreateControlSkinImage(gfx::TBitmap& B) override;
    void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void MouseMove(vcl::TShiftState Shift, int X, int Y) override;
    void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void KeyDown(int& Key, vcl::TShiftState Shift) override;

    bool FMouseDown = false;
    int FMouseActive = -1;

private:
    friend class TbsSkinOfficeItems;

    bool Selectable(int index) const;
    // The page of the page moves: the item area's rows, at least 1 (also for row heights of 0
    // or less).
    int PageRows() const;
    void DrawRows(gfx::TCanvas& C);
    // Title, picture and caption of a row inside R; the skinned look expands tabs.
    void DrawItemContent(gfx::TCanvas& C, int Index, TRect R, bool skinned);

    TbsSkinOfficeItems* FItems = nullptr;
    vcl::TCustomImageList* FImages = nullptr;
    bool FShowItemTitles = true;
    int FItemHeight = 30;
    int FHeaderHeight = 20;
    int FItemIndex = -1;
    bool FShowLines = false;
    bool FMouseMoveChangeIndex = false;
    gfx::TColor FDisabledFontColor = gfx::RGB(128, 128, 128);
    bool FClicksDisabled = false;
    TRect FItemsRect;
    int FScrollOffset = 0;
    int FMax = 0;
    int FRealMax = 0;
    int FOldHeight = -1;
};

}  // namespace skin
