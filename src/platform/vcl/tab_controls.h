// The tab control and the page control with its tab sheets, in the classic layout: tab height h,
// width TabWidth or the text's width + 12 (+ image width + 3); top tab i at
// (2 + x, 2, 2 + x + w, 2 + h) with x the widths before it, the display area
// (4, 6 + rows * h, W - 4, H - 4); bottom, left and right tabs mirror it (side tabs h wide).
// TCM_ADJUSTRECT gives the display area (or, asked with TRUE, the inverse), and the page
// control puts its sheets where its own answer says, so a subclass that corrects the answer
// moves them. Single-line tabs that do not fit get a child up-down window of class
// "msctls_updown32" that scrolls them with WM_HSCROLL. Main thread only.
#pragma once

#include <string>
#include <vector>

#include "platform/vcl/controls.h"
#include "platform/vcl/img_list.h"

namespace vcl {

// Tab control requests.
inline constexpr UINT TCM_FIRST = 0x1300;
inline constexpr UINT TCM_SETIMAGELIST = TCM_FIRST + 3;  // lParam image list*; the old one
inline constexpr UINT TCM_GETITEMCOUNT = TCM_FIRST + 4;
inline constexpr UINT TCM_GETITEMRECT = TCM_FIRST + 10;  // wParam index, lParam TRect*
inline constexpr UINT TCM_GETCURSEL = TCM_FIRST + 11;
inline constexpr UINT TCM_SETCURSEL = TCM_FIRST + 12;    // no events; the old index
inline constexpr UINT TCM_HITTEST = TCM_FIRST + 13;      // lParam client point; index or -1
inline constexpr UINT TCM_ADJUSTRECT = TCM_FIRST + 40;   // wParam TRUE: display -> window
inline constexpr UINT TCM_SETITEMSIZE = TCM_FIRST + 41;  // lParam MAKELPARAM(width, height)
inline constexpr UINT TCM_GETROWCOUNT = TCM_FIRST + 44;
inline constexpr const char* kUpDownClass = "msctls_updown32";

enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

class TCustomTabControl : public TWinControl {
public:
    explicit TCustomTabControl(TComponent* AOwner);
    ~TCustomTabControl() override;

    int TabIndex() const { return FTabIndex; }
    // From code: no events.
    void SetTabIndex(int value) { Perform(TCM_SETCURSEL, WPARAM(value)); }
    TTabPosition TabPosition() const { return FTabPosition; }
    void SetTabPosition(TTabPosition value);
    bool MultiLine() const { return FMultiLine; }
    void SetMultiLine(bool value);
    // The properties; setting one sends TCM_SETITEMSIZE with both. The layout uses the size
    // the last TCM_SETITEMSIZE gave, which a subclass may send on its own: height 0 is the
    // font's height + 6, width 0 each tab as wide as its text.
    int TabHeight() const { return FTabHeight; }
    void SetTabHeight(int value);
    int TabWidth() const { return FTabWidth; }
    void SetTabWidth(int value);
    TCustomImageList* Images() const { return FImages; }
    void SetImages(TCustomImageList* value);
    // The shown tabs' rectangle, client coordinates (the control's own answer).
    TRect TabRect(int index) { return ItemRect(index); }
    int IndexOfTabAt(int X, int Y) const;
    int RowCount() const;
    // The display area as the control answers TCM_ADJUSTRECT.
    TRect DisplayRect();
    // The first tab shown on a single line.
    int FirstShownTab() const { return FFirstTab; }

    TTabChangingEvent OnChanging;
    TNotifyEvent OnChange;

    void Dispatch(TMessage& Message) override;

protected:
    virtual int TabCount() const = 0;
    virtual std::string TabCaption(int index) const = 0;
    virtual int TabImage(int index) const = 0;
    // Vetoable: OnChanging.
    virtual bool CanChange();
    // After a user change: OnChange.
    virtual void Change();
    // The tab index moved (from code or the user).
    virtual void TabIndexChanged() {}
    void TabsChanged();

    void CreateWnd() override;
    void PaintWindow(HDC DC) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Resize() override;

private:
    struct TLayout {
        std::vector<TRect> Tabs;
        int Rows = 1;
    };
    TLayout Layout() const;
    int ItemHeight() const;
    int TabLength(int index) const;
    TRect ItemRect(int index);
    [[nodiscard]] TRect Adjust(TRect r, bool larger) const;
    void UpdateUpDown();
    int HiddenTabCount() const;
    void UserSelect(int index);

    int FTabIndex = -1;
    TTabPosition FTabPosition = tpTop;
    bool FMultiLine = false;
    int FTabHeight = 0;
    int FTabWidth = 0;
    int FItemHeight = 0;  // from TCM_SETITEMSIZE
    int FItemWidth = 0;
    TCustomImageList* FImages = nullptr;
    int FFirstTab = 0;
    HWND FUpDown;
};

class TPageControl;

class TTabSheet : public TWinControl {
public:
    explicit TTabSheet(TComponent* AOwner);
    ~TTabSheet() override;
    TPageControl* PageControl() const { return FPageControl; }
    void SetPageControl(TPageControl* value);
    bool TabVisible() const { return FTabVisible; }
    void SetTabVisible(bool value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    int PageIndex() const;
    // The position among the shown tabs, -1 without a tab.
    int TabIndex() const;
    void Dispatch(TMessage& Message) override;

private:
    friend class TPageControl;
    TPageControl* FPageControl = nullptr;
    bool FTabVisible = true;
    int FImageIndex = -1;
};

class TPageControl : public TCustomTabControl {
public:
    explicit TPageControl(TComponent* AOwner);
    ~TPageControl() override;
    int PageCount() const { return int(FPages.size()); }
    TTabSheet* Pages(int index) const;
    TTabSheet* ActivePage() const { return FActivePage; }
    // From code: no events.
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int value);
    TTabSheet* FindNextPage(TTabSheet* CurPage, bool GoForward, bool CheckTabVisible) const;
    void SelectNextPage(bool GoForward);

protected:
    int TabCount() const override;
    std::string TabCaption(int index) const override;
    int TabImage(int index) const override;
    void TabIndexChanged() override;
    void AdjustClientRect(TRect& Rect) override;

private:
    friend class TTabSheet;
    TTabSheet* SheetOfTab(int tab) const;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void ShowPage(TTabSheet* page);
    std::vector<TTabSheet*> FPages;
    TTabSheet* FActivePage = nullptr;
};

}  // namespace vcl
