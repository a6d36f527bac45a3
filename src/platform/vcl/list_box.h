// The plain list box: strings with objects, sorted or not, in one or several columns, single,
// multi or extended selection, owner-drawn fixed-height rows, incremental search. The strings
// travel to the control as LB_* messages so that a subclass sees every change. Scroll
// information: vertical rows (page = rows per page), or columns across with Columns set.
// Main thread only.
#pragma once

#include <string>
#include <vector>

#include "platform/rtl/strings.h"
#include "platform/vcl/controls.h"
#include "platform/vcl/scrolling_view.h"

namespace vcl {

// List box requests (wParam / lParam as the comments say; LB_ERR for a bad index).
inline constexpr UINT LB_ADDSTRING = 0x0180;     // lParam const char*; the new index
inline constexpr UINT LB_INSERTSTRING = 0x0181;  // wParam index (-1: end), lParam const char*
inline constexpr UINT LB_DELETESTRING = 0x0182;  // wParam index; the count left
inline constexpr UINT LB_RESETCONTENT = 0x0184;
inline constexpr UINT LB_SETSEL = 0x0185;     // wParam on/off, lParam index (-1: all)
inline constexpr UINT LB_SETCURSEL = 0x0186;  // wParam index (-1: none)
inline constexpr UINT LB_GETSEL = 0x0187;
inline constexpr UINT LB_GETCURSEL = 0x0188;
inline constexpr UINT LB_GETTEXT = 0x0189;  // lParam std::string*
inline constexpr UINT LB_GETTEXTLEN = 0x018A;
inline constexpr UINT LB_GETCOUNT = 0x018B;
inline constexpr UINT LB_GETTOPINDEX = 0x018E;
inline constexpr UINT LB_FINDSTRING = 0x018F;  // wParam start (-1: from the first), lParam text
inline constexpr UINT LB_GETSELCOUNT = 0x0190;
inline constexpr UINT LB_SETTOPINDEX = 0x0197;
inline constexpr UINT LB_GETITEMRECT = 0x0198;  // wParam index, lParam TRect*
inline constexpr UINT LB_GETITEMDATA = 0x0199;
inline constexpr UINT LB_SETITEMDATA = 0x019A;  // wParam index, lParam the data
inline constexpr UINT LB_SETCARETINDEX = 0x019E;
inline constexpr UINT LB_GETCARETINDEX = 0x019F;
inline constexpr UINT LB_SETITEMHEIGHT = 0x01A0;
inline constexpr UINT LB_GETITEMHEIGHT = 0x01A1;
inline constexpr UINT LB_ITEMFROMPOINT = 0x01A9;  // lParam client point; HIWORD 1 when outside
inline constexpr LRESULT LB_ERR = -1;

// Owner-drawing states (the low word of DRAWITEMSTRUCT::itemState).
enum TOwnerDrawStateItem { odSelected, odGrayed, odDisabled, odChecked, odFocused };
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;
inline constexpr UINT ODS_SELECTED = 0x0001;
inline constexpr UINT ODS_DISABLED = 0x0004;
inline constexpr UINT ODS_FOCUS = 0x0010;

// What CN_DRAWITEM points to in lParam.
struct DRAWITEMSTRUCT {
    UINT CtlType = 0;
    UINT itemID = 0;
    UINT itemAction = 0;
    UINT itemState = 0;
    HWND hwndItem;
    HDC hDC = nullptr;
    TRect rcItem;
    std::uintptr_t itemData = 0;
};
TOwnerDrawState OwnerDrawStateFrom(UINT itemState);

enum TListBoxStyle { lbStandard, lbOwnerDrawFixed };

class TCustomListBox;
using TDrawItemEvent =
    std::function<void(TWinControl* Control, int Index, const TRect& Rect, TOwnerDrawState State)>;

// The lines of a list box; every change is a message to the control.
class TListBoxStrings : public rtl::TStrings {
public:
    explicit TListBoxStrings(TCustomListBox& box) : FBox(box) {}
    int Count() const override;
    std::string Get(int index) const override;
    void Put(int index, const std::string& s) override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;
    int Add(const std::string& s) override;
    int AddObject(const std::string& s, TObject* object);
    TObject* Objects(int index) const;
    void SetObject(int index, TObject* object);

private:
    TCustomListBox& FBox;
};

class TCustomListBox : public TScrollingView {
public:
    explicit TCustomListBox(TComponent* AOwner);
    ~TCustomListBox() override;

    TListBoxStrings& Items() { return FStrings; }
    void SetItems(const rtl::TStrings& value) { FStrings.Assign(value); }
    int Count() const { return int(FItems.size()); }

    // The selected row (in a multi-selection list the focused one); -1 none. Setting raises no
    // OnClick.
    int ItemIndex() const { return FItemIndex; }
    void SetItemIndex(int value);
    bool Selected(int index) const;
    void SetSelected(int index, bool value);
    int SelCount() const;
    void ClearSelection();
    void SelectAll();
    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool value);
    bool ExtendedSelect() const { return FExtendedSelect; }
    void SetExtendedSelect(bool value) { FExtendedSelect = value; }

    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    int Columns() const { return FColumns; }
    void SetColumns(int value);
    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle value);
    int ItemHeight() const { return FItemHeight; }
    void SetItemHeight(int value);
    int TopIndex() const { return FTopIndex; }
    void SetTopIndex(int value);
    bool AutoComplete() const { return FAutoComplete; }
    void SetAutoComplete(bool value) { FAutoComplete = value; }

    // Client rectangle of a row (also of rows out of view); empty for a bad index.
    TRect ItemRect(int index) const;
    // The row at a client point; -1 past the last row when Existing, else Count.
    int ItemAtPos(TPoint pos, bool Existing) const;
    // Rows that fit fully (at least 1).
    int RowsPerPage() const;

    TDrawItemEvent OnDrawItem;

    void Dispatch(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void CreateWnd() override;
    void PaintWindow(HDC DC) override;
    // Draws one row into the canvas (the default: OnDrawItem, else text and selection colours).
    virtual void DrawItem(int Index, const TRect& Rect, TOwnerDrawState State);
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void KeyDown(int& Key, TShiftState Shift) override;
    void KeyPress(char32_t& Key) override;
    void Resize() override;

    gfx::TCanvas& Canvas() { return FCanvas; }

private:
    friend class TListBoxStrings;
    struct TItem {
        std::string Text;
        std::uintptr_t Data = 0;
        bool Selected = false;
    };

    int AddString(const std::string& s);
    int InsertString(int index, const std::string& s);
    int FindString(int start, const std::string& text) const;
    // Moves the focus row as a user would: selection, scroll into view, OnClick.
    void UserSelect(int index, TShiftState shift, bool click);
    void SelectRow(int index);
    void MakeVisible(int index);
    int PerColumn() const;
    int ColumnWidth() const;
    void UpdateScrollInfo();
    void Scroll(int bar, int code, int pos);
    TOwnerDrawState StateOf(int index) const;
    void Changed();
    void FillPage();

    TListBoxStrings FStrings{*this};
    std::vector<TItem> FItems;
    int FItemIndex = -1;
    int FAnchor = -1;
    int FTopIndex = 0;
    int FItemHeight = 16;
    int FColumns = 0;
    bool FSorted = false;
    bool FMultiSelect = false;
    bool FExtendedSelect = true;
    bool FAutoComplete = true;
    TListBoxStyle FStyle = lbStandard;
};

class TListBox : public TCustomListBox {
public:
    using TCustomListBox::TCustomListBox;
};

}  // namespace vcl
