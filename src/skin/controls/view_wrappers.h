// The skinned tree and list views: the plain views with their colours and font from a skin
// record ("treeview", "listview") or defaults, no frame and no scroll bars of their own. Up to two
// external TbsSkinScrollBar controls, placed by the form beside the view, follow the view's scroll
// state (shown only while it can scroll that way) and scroll it when the user moves them. The
// list view also takes its column header over (subclassing the "SysHeader32" child it makes) and
// paints the sections from a button record of the skin.
//
// The views refer to the skin data and the bars of their form and own their default font and
// the header subclass. Re-entry is the hazard: showing a bar, realigning the parent and scrolling
// send size, paint and scroll messages back, which the views' guards keep from starting another
// copy of the scroll state. Main thread only.
#pragma once

#include <functional>
#include <string>

#include "platform/vcl/list_view.h"
#include "platform/vcl/tree_view.h"
#include "platform/win/win.h"
#include "skin/controls/scroll_bar.h"
#include "skin/controls/skin_control.h"
#include "skin/core/skin_data.h"

namespace skin {

// Draws a header section's content (caption and image) over the background the view drew.
using TbsDrawHeaderSectionEvent =
    std::function<void(gfx::TCanvas& Cnvs, vcl::TListColumn* Column, bool Pressed, const TRect& R)>;

// What both views keep of the skin and their bars, and the setters they share.
class TbsSkinViewLink : public TbsSkinClient {
public:
    TbsSkinData* SkinData() const override { return FSD; }
    // With a loaded skin the view takes it up at once.
    void SetSkinData(TbsSkinData* value);
    void BeforeChangeSkinData() override { FIndex = -1; }
    const std::string& SkinDataName() const { return FSkinDataName; }
    void SetSkinDataName(const std::string& value) { FSkinDataName = value; }
    bool UseSkinFont() const { return FUseSkinFont; }
    void SetUseSkinFont(bool value) { FUseSkinFont = value; }
    gfx::TFont& DefaultFont() { return FDefaultFont; }
    // Into Font too while there is no record.
    void SetDefaultFont(const gfx::TFont& value);
    gfx::TColor DefaultColor() const { return FDefaultColor; }
    void SetDefaultColor(gfx::TColor value);
    TbsSkinScrollBar* VScrollBar() const { return FVScrollBar; }
    TbsSkinScrollBar* HScrollBar() const { return FHScrollBar; }
    // A bar given is enabled, hidden and scrolls the view from now on (its OnChange is the
    // view's); the bars follow the view's scroll state.
    void SetVScrollBar(TbsSkinScrollBar* value);
    void SetHScrollBar(TbsSkinScrollBar* value);
    // Copies the view's scroll state into the bars.
    virtual void UpDateScrollBars() = 0;

    // The record's index, -1 without one.
    int FIndex = -1;

protected:
    TbsSkinViewLink(vcl::TControl& view, std::string skinDataName);
    // The bars outlive the view on the form: they forget its handlers.
    ~TbsSkinViewLink() override;
    // The record's font and colour, or the defaults, onto the view (ChangeSkinData's steps 2-4).
    template <class TRecord>
    void ApplySkin();
    // Shows or hides the bars and gives the visible ones their range; then the corner and the
    // parent's realignment (one per change of visibility).
    struct TBarState {
        bool Visible = false;
        int Min = 0, Max = 0, Position = 0, Page = 0;
        int SmallChange = 0, LargeChange = 0;  // 0: left as they are
    };
    void ApplyBars(const TBarState& v, const TBarState& h);
    // The parents of the bars lay them out again (a skin may have changed their size).
    void RealignBars();
    // No frame, no system bars: WM_NCCALCSIZE and WM_NCPAINT are swallowed, CM_PAINTSKINFRAME
    // answered; true when the message was one of them.
    bool HandleFrameMessage(vcl::TMessage& m);
    // After the view handled a message: the bars follow its size (when followSize: a view
    // sized by its parent's alignment leaves that to the repaint that follows, since a bar
    // shown in the middle of the alignment would get no room), paints, keys and clicks.
    void FollowView(win::UINT message, bool followSize);
    // After CM_VISIBLECHANGED: the bars take the view's visibility.
    void ShowBarsWithView();
    // Forgets the skin data or a bar that goes away.
    void Forget(vcl::TComponent* AComponent);
    virtual void OnVScrollBarChange() = 0;
    virtual void OnHScrollBarChange() = 0;

    vcl::TControl& FView;
    bool FInCheckScrollBars = false;
    TbsSkinData* FSD = nullptr;
    std::string FSkinDataName;
    gfx::TFont FDefaultFont;
    bool FUseSkinFont = true;
    gfx::TColor FDefaultColor = gfx::clWindow;
    TbsSkinScrollBar* FVScrollBar = nullptr;
    TbsSkinScrollBar* FHScrollBar = nullptr;

private:
    void TakeBar(TbsSkinScrollBar*& slot, TbsSkinScrollBar* value, bool vertical);
};

class TbsSkinCustomTreeView : public vcl::TCustomTreeView, public TbsSkinViewLink {
public:
    explicit TbsSkinCustomTreeView(vcl::TComponent* AOwner);

    void ChangeSkinData() override;
    void UpDateScrollBars() override;

    void WndProc(vcl::TMessage& Message) override;
    void Dispatch(vcl::TMessage& Message) override;

protected:
    void Loaded() override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    void CreateParams(vcl::TCreateParams& Params) override;
    void Change(vcl::TTreeNode* Node) override;

    void OnVScrollBarChange() override;
    void OnHScrollBarChange() override;
};

class TbsSkinTreeView : public TbsSkinCustomTreeView {
public:
    using TbsSkinCustomTreeView::TbsSkinCustomTreeView;
};

class TbsSkinCustomListView : public vcl::TCustomListView, public TbsSkinViewLink {
public:
    explicit TbsSkinCustomListView(vcl::TComponent* AOwner);
    ~TbsSkinCustomListView() override;

    const std::string& HeaderSkinDataName() const { return FHeaderSkinDataName; }
    void SetHeaderSkinDataName(const std::string& value) { FHeaderSkinDataName = value; }
    void ChangeSkinData() override;
    void UpDateScrollBars() override;

    // The header window taken over, null for none.
    win::HWND TakenHeader() const { return FHeaderHandle; }
    // The section under the last left press (-1), and whether it is pressed (not a divider).
    int ActiveSection() const { return FActiveSection; }
    bool HeaderDown() const { return FHeaderDown; }

    TbsDrawHeaderSectionEvent OnDrawHeaderSection;

    void WndProc(vcl::TMessage& Message) override;
    void Dispatch(vcl::TMessage& Message) override;

protected:
    void Loaded() override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    void CreateParams(vcl::TCreateParams& Params) override;
    void Change(vcl::TListItem* Item, vcl::TItemChange Change) override;

    void OnVScrollBarChange() override;
    void OnHScrollBarChange() override;

private:
    void ReleaseHeader();
    win::LRESULT HeaderProc(win::HWND h, win::UINT msg, win::WPARAM wParam, win::LPARAM lParam,
                            const win::TNextProc& next);
    void PaintHeader(gfx::HDC dc);
    void ReadHeaderRecord();
    void DrawSection(gfx::TCanvas& C, vcl::TListColumn* column, const TRect& R, bool pressed);
    int ItemHeightOf0();

    bool FDevDown = false;
    std::string FHeaderSkinDataName = "resizetoolbutton";
    bool FromSB = false;
    int FOldVScrollBarPos = 0, FOldHScrollBarPos = 0;
    win::HWND FHeaderHandle;
    win::TSubclassToken FHeaderToken = 0;
    int FActiveSection = -1;
    bool FHeaderDown = false;

    // The header record's copy.
    int FHIndex = -1;
    TPoint HLTPt, HRTPt, HLBPt, HRBPt;
    TRect HSkinRect, HClRect, HActiveSkinRect, HDownSkinRect;
    gfx::TBitmap* HPicture = nullptr;
    gfx::TColor HFontColor = 0, HActiveFontColor = 0, HDownFontColor = 0;
    bool HStretchEffect = false, HLeftStretch = false, HTopStretch = false, HRightStretch = false,
         HBottomStretch = false;
    TbsStretchType HStretchType = bsstFull;
};

class TbsSkinListView : public TbsSkinCustomListView {
public:
    using TbsSkinCustomListView::TbsSkinCustomListView;
};

}  // namespace skin
