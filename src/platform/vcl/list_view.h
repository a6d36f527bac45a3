// The plain list view: items with sub-items in four view styles (icon, small icon, list and
// report), columns shown by a header child window of class "SysHeader32", owner data for very
// long lists, selection events, in-place renaming and scroll information.
//
// Scroll units: report view rows 0..count-1 down (page = rows per page) and pixels across; list
// view columns across; the icon views pixels both ways. The header is an ordinary child window:
// it is created with WM_PARENTNOTIFY to the view (so a subclass may take it over), placed with
// SetWindowPos at every resize (a subclass may change the size it gets), and answers HDM_*
// requests about its sections. Main thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/strings.h"
#include "platform/vcl/controls.h"
#include "platform/vcl/edits.h"  // TAlignment
#include "platform/vcl/img_list.h"
#include "platform/vcl/inplace_edit.h"
#include "platform/vcl/scrolling_view.h"

namespace vcl {

// List view requests.
inline constexpr UINT LVM_FIRST = 0x1000;
inline constexpr UINT LVM_SETIMAGELIST = LVM_FIRST + 3;  // wParam LVSIL_*, lParam image list*
inline constexpr UINT LVM_GETITEMCOUNT = LVM_FIRST + 4;
inline constexpr UINT LVM_GETNEXTITEM = LVM_FIRST + 12;  // wParam start, lParam LVNI_SELECTED
inline constexpr UINT LVM_GETITEMRECT =
    LVM_FIRST + 14;  // wParam index, lParam TRect* (Left: LVIR_*)
inline constexpr UINT LVM_ENSUREVISIBLE = LVM_FIRST + 19;
inline constexpr UINT LVM_SCROLL = LVM_FIRST + 20;       // wParam dx, lParam dy (pixels)
inline constexpr UINT LVM_REDRAWITEMS = LVM_FIRST + 21;  // wParam first, lParam last
inline constexpr UINT LVM_GETHEADER = LVM_FIRST + 31;
inline constexpr UINT LVM_GETTOPINDEX = LVM_FIRST + 39;
inline constexpr UINT LVM_GETCOUNTPERPAGE = LVM_FIRST + 40;
inline constexpr UINT LVM_EDITLABEL = LVM_FIRST + 118;  // wParam index (-1 ends an edit)
inline constexpr int LVSIL_NORMAL = 0;
inline constexpr int LVSIL_SMALL = 1;
inline constexpr int LVIR_BOUNDS = 0;
inline constexpr int LVIR_ICON = 1;
inline constexpr int LVIR_LABEL = 2;
inline constexpr int LVNI_SELECTED = 0x0002;

// Header requests.
inline constexpr UINT HDM_FIRST = 0x1200;
inline constexpr UINT HDM_GETITEMCOUNT = HDM_FIRST + 0;
inline constexpr UINT HDM_GETITEMRECT = HDM_FIRST + 7;     // wParam index, lParam TRect*
inline constexpr UINT HDM_HITTEST = HDM_FIRST + 6;         // lParam HDHITTESTINFO*
inline constexpr UINT HDM_GETORDERARRAY = HDM_FIRST + 17;  // wParam count, lParam int*
inline constexpr UINT HHT_NOWHERE = 0x0001;
inline constexpr UINT HHT_ONHEADER = 0x0002;
inline constexpr UINT HHT_ONDIVIDER = 0x0004;
struct HDHITTESTINFO {
    TPoint pt;
    UINT flags = 0;
    int iItem = -1;
};
// The header's window class.
inline constexpr const char* kHeaderClass = "SysHeader32";

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
// What changed in an item: its caption or sub-items, its image, its selection.
enum TItemChange { ctText, ctImage, ctState };

class TCustomListView;
class TListItems;

class TListColumn {
public:
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    int Width() const { return FWidth; }
    // Kept within MinWidth..MaxWidth (0: no limit).
    void SetWidth(int value);
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int value);
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    int Index() const;

private:
    friend class TListColumns;
    explicit TListColumn(TCustomListView& view) : FView(view) {}
    TCustomListView& FView;
    std::string FCaption;
    int FWidth = 50;
    int FMinWidth = 0;
    int FMaxWidth = 0;
    TAlignment FAlignment = taLeftJustify;
    int FImageIndex = -1;
};

class TListColumns {
public:
    explicit TListColumns(TCustomListView& view) : FView(view) {}
    TListColumn* Add();
    int Count() const { return int(FColumns.size()); }
    TListColumn* Items(int index) const;
    TListColumn* operator[](int index) const { return Items(index); }
    void Delete(int index);
    void Clear();

private:
    friend class TListColumn;
    TCustomListView& FView;
    std::vector<std::unique_ptr<TListColumn>> FColumns;
};

class TListItem : public TPersistent {
public:
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    rtl::TStringList& SubItems() { return FSubItems; }
    void* Data() const { return FData; }
    void SetData(void* value) { FData = value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    int Index() const { return FIndex; }
    bool Selected() const;
    void SetSelected(bool value);
    bool Focused() const;
    void SetFocused(bool value);
    // Client coordinates of the item's place.
    TRect DisplayRect(int code = LVIR_BOUNDS) const;
    int Top() const { return DisplayRect().Top; }
    int Left() const { return DisplayRect().Left; }
    // Starts renaming the item; false when the view is read-only.
    bool EditCaption();
    void MakeVisible();
    void Delete();
    TCustomListView* ListView() const { return &FView; }

protected:
    void AssignTo(TPersistent* Dest) const override;

private:
    friend class TListItems;
    friend class TCustomListView;
    explicit TListItem(TCustomListView& view);
    void Changed(TItemChange change);
    TCustomListView& FView;
    std::string FCaption;
    rtl::TStringList FSubItems;
    void* FData = nullptr;
    int FImageIndex = -1;
    int FIndex = -1;
};

class TListItems {
public:
    explicit TListItems(TCustomListView& view) : FView(view) {}
    ~TListItems();
    // Owner data: the row count; the items are fetched when shown.
    int Count() const;
    void SetCount(int value);
    TListItem* Add();
    TListItem* Insert(int index);
    // With owner data the item is filled by OwnerDataFetch and good until the next fetch.
    TListItem* Item(int index);
    TListItem* operator[](int index) { return Item(index); }
    void Delete(int index);
    void Clear();
    void BeginUpdate();
    void EndUpdate();

private:
    friend class TCustomListView;
    friend class TListItem;
    void Renumber(int from);
    TCustomListView& FView;
    std::vector<std::unique_ptr<TListItem>> FItems;
    int FOwnerCount = 0;
    int FUpdate = 0;
};

// What the label edit hook gets; pszText is null when the edit was cancelled.
struct TLVItem {
    int iItem = -1;
    const char* pszText = nullptr;
};

enum TItemRequestItem { irText, irImage };

using TItemRequest = TSet<TItemRequestItem>;

using TLVSelectItemEvent = std::function<void(TObject* Sender, TListItem* Item, bool Selected)>;
using TLVColumnClickEvent = std::function<void(TObject* Sender, TListColumn* Column)>;
using TLVOwnerDataEvent = std::function<void(TObject* Sender, TListItem* Item)>;
using TLVOwnerDataFindEvent =
    std::function<void(TObject* Sender, const std::string& Text, int StartIndex, int& Index)>;
using TLVEditedEvent = std::function<void(TObject* Sender, TListItem* Item, std::string& S)>;
using TLVEditingEvent = std::function<void(TObject* Sender, TListItem* Item, bool& AllowEdit)>;

class TCustomListView : public TScrollingView {
public:
    explicit TCustomListView(TComponent* AOwner);
    ~TCustomListView() override;

    TListColumns& Columns() { return FColumns; }
    TListItems& Items() { return FItems; }

    TViewStyle ViewStyle() const { return FViewStyle; }
    virtual void SetViewStyle(TViewStyle value);
    bool RowSelect() const { return FRowSelect; }
    void SetRowSelect(bool value);
    bool GridLines() const { return FGridLines; }
    void SetGridLines(bool value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool value);
    bool ShowColumnHeaders() const { return FShowColumnHeaders; }
    void SetShowColumnHeaders(bool value);
    bool OwnerData() const { return FOwnerData; }
    void SetOwnerData(bool value);
    TCustomImageList* LargeImages() const { return FLargeImages; }
    void SetLargeImages(TCustomImageList* value);
    TCustomImageList* SmallImages() const { return FSmallImages; }
    void SetSmallImages(TCustomImageList* value);

    // The selected item (the focused one when several are); -1 none.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int value);
    TListItem* Selected();
    int SelCount() const;
    void ClearSelection();
    TListItem* ItemFocused();
    TListItem* TopItem();
    int VisibleRowCount() const;
    // The item at a client point, or null.
    TListItem* GetItemAt(int X, int Y);
    int IndexAt(int X, int Y) const;
    // Scrolls by pixels (report rows and list columns in whole steps).
    void Scroll(int DX, int DY);
    // True while a label is being edited.
    bool IsEditing() const { return FEditSession.Active(); }
    // The header window (report view with headers), else null.
    HWND HeaderHandle() const { return FHeader; }
    int RowHeight() const;

    TLVSelectItemEvent OnSelectItem;
    TLVColumnClickEvent OnColumnClick;
    TLVOwnerDataEvent OnData;
    TLVOwnerDataFindEvent OnDataFind;
    TLVEditedEvent OnEdited;
    TLVEditingEvent OnEditing;
    TNotifyEvent OnChange;

    void Dispatch(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void PaintWindow(HDC DC) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void KeyDown(int& Key, TShiftState Shift) override;
    void KeyPress(char32_t& Key) override;
    void Resize() override;

    // Owner data: fills Item (its Index is set) for a shown row; the base raises OnData.
    virtual bool OwnerDataFetch(TListItem* Item, TItemRequest Request);
    // Owner data type-ahead: the first row from StartIndex whose caption starts with Text, -1
    // none; the base raises OnDataFind.
    virtual int OwnerDataFind(const std::string& Text, int StartIndex);
    // A rename ended (pszText null: cancelled); the base raises OnEdited and keeps the text.
    virtual void Edit(const TLVItem& Item);
    virtual void ColClick(TListColumn* Column);
    // An item changed (OnChange); selection changes come after their OnSelectItem.
    virtual void Change(TListItem* Item, TItemChange Change);
    virtual void DrawItemRow(gfx::TCanvas& Canvas, int Index, const TRect& Rect);

private:
    friend class TListColumn;
    friend class TListColumns;
    friend class TListItem;
    friend class TListItems;
    friend LRESULT ListViewHeaderProc(HWND, UINT, WPARAM, LPARAM);

    struct THeaderDrag {
        int Column = -1;
        int StartX = 0;
        int StartWidth = 0;
        int Pressed = -1;  // a section pressed (not a divider)
    };

    void ItemsChanged();
    void ColumnsChanged();
    void SelectionChange(int index, bool selected);
    void SetFocusedIndex(int index);
    void UserSelect(int index, TShiftState shift);
    void ClearAllSelected(int except);
    bool IsSelected(int index) const;
    void MakeVisible(int index);
    void UpdateScrollInfo();
    void CreateHeader();
    void PlaceHeader();
    int HeaderHeight() const;
    int TotalColumnWidth() const;
    int ColumnLeft(int column) const;
    TRect SectionRect(int column) const;
    int HeaderHitTest(TPoint p, UINT& flags) const;
    TRect ItemRect(int index, int code) const;
    int CellWidth() const;
    int CellHeight() const;
    int PerColumn() const;  // list view: rows in a column
    int PerRow() const;     // icon views: cells in a row
    int CountPerPage() const;
    TListItem* Fetch(int index);
    int ListColumnsShown() const;
    int ContentHeight() const;
    bool StartEdit(int index);
    void EditDone(bool accepted, const std::string& text);
    void PaintHeader(HDC dc);

    TListColumns FColumns{*this};
    TListItems FItems{*this};
    TViewStyle FViewStyle = vsIcon;
    bool FRowSelect = false;
    bool FGridLines = false;
    bool FReadOnly = false;
    bool FMultiSelect = false;
    bool FShowColumnHeaders = true;
    bool FOwnerData = false;
    TCustomImageList* FLargeImages = nullptr;
    TCustomImageList* FSmallImages = nullptr;
    std::vector<char> FSelected;  // per row
    int FItemIndex = -1;
    int FFocused = -1;
    int FAnchor = -1;
    int FTop = 0;      // report and list views: first row; list view: first column
    int FScrollX = 0;  // pixels (report, icon views)
    int FScrollY = 0;  // pixels (icon views)
    HWND FHeader;
    THeaderDrag FDrag;
    std::unique_ptr<TListItem> FFetched;  // owner data: the row last fetched
    detail::TLabelEditSession FEditSession;
    int FEditIndex = -1;
};

class TListView : public TCustomListView {
public:
    using TCustomListView::TCustomListView;
};

}  // namespace vcl
