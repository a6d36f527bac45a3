// The skinned list box. TbsSkinCustomListBox is a frame (the skin's "listbox" record, or a flat
// default look) holding an inner owner-drawn list, TbsListBox, that keeps the strings, the
// selection and the scroll position and draws every row from the frame's skin fields. Skinned
// scroll bars appear as children only while the content overflows and follow the inner list's
// scroll state; in caption mode a caption bar with up, down and check buttons runs across the
// top. The combo box's drop-down list, the skin chooser and the file and directory lists derive
// from these classes and override the hooks.
//
// The list box owns the inner list, both bars, the tab widths, the caption font and the glyph;
// the image list and the skin data are lent. Main thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/rtl/strings.h"
#include "platform/vcl/edits.h"
#include "platform/vcl/img_list.h"
#include "platform/vcl/list_box.h"
#include "skin/controls/scroll_bar.h"
#include "skin/controls/skin_control.h"
#include "skin/core/skin_messages.h"
#include "skin/lists/list_types.h"

namespace skin {

class TbsSkinCustomListBox;

// Owner drawing of one list row into its off-screen bitmap.
using TbsDrawSkinItemEvent =
    std::function<void(gfx::TCanvas& Cnvs, int Index, int ItemWidth, int ItemHeight,
                       const TRect& TxtRect, vcl::TOwnerDrawState State)>;

// Dragging is not built: these are stored for the forms that set them and never acted on.
enum TDragMode { dmManual, dmAutomatic };
enum TDragKind { dkDrag, dkDock };
using TDragDropEvent =
    std::function<void(vcl::TObject* Sender, vcl::TObject* Source, int X, int Y)>;
using TDragOverEvent = std::function<void(vcl::TObject* Sender, vcl::TObject* Source, int X, int Y,
                                          int State, bool& Accept)>;
using TStartDragEvent = std::function<void(vcl::TObject* Sender, vcl::TObject*& DragObject)>;
using TEndDragEvent = std::function<void(vcl::TObject* Sender, vcl::TObject* Target, int X, int Y)>;

// The inner list: no frame, no platform bars, every row drawn from the owner's skin fields, its
// input handed to the owner's hooks first.
class TbsListBox : public vcl::TListBox {
public:
    explicit TbsListBox(vcl::TComponent* AOwner);

    // Set by the owner right after construction.
    TbsSkinCustomListBox* SkinListBox = nullptr;

    // Horizontal offset of the row content in pixels, written by the owner's extent bar.
    int HorizontalExtentValue() const { return FHorizontalExtentValue; }
    void SetHorizontalExtentValue(int value) { FHorizontalExtentValue = value; }

    void WndProc(vcl::TMessage& Message) override;
    void Dispatch(vcl::TMessage& Message) override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

    // Stored only (nothing in the program drags).
    TDragMode DragMode = dmManual;
    TDragKind DragKind = dkDrag;
    vcl::TCursor DragCursor = -12;
    TDragDropEvent OnDragDrop;
    TDragOverEvent OnDragOver;
    TStartDragEvent OnStartDrag;
    TEndDragEvent OnEndDrag;

    // The row painters, public for the combo box's list.
    void PaintItem(gfx::TCanvas& Cnvs, int Index, const TRect& R, vcl::TOwnerDrawState State);
    void PaintBackground(gfx::HDC DC);

protected:
    void CreateParams(vcl::TCreateParams& Params) override;
    void CreateWnd() override;
    void PaintWindow(gfx::HDC DC) override;
    void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void MouseMove(vcl::TShiftState Shift, int X, int Y) override;
    void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void KeyDown(int& Key, vcl::TShiftState Shift) override;
    void KeyUp(int& Key, vcl::TShiftState Shift) override;
    void KeyPress(char32_t& Key) override;
    void Click() override;
    void DoEnter() override;
    void DoExit() override;

private:
    friend class TbsSkinCustomListBox;

    vcl::TOwnerDrawState FullRepaintState(int I) const;
    void DefaultPaintItem(gfx::TCanvas& Cnvs, int Index, const TRect& R,
                          vcl::TOwnerDrawState State);
    void StretchedPaintItem(gfx::TCanvas& Cnvs, int Index, const TRect& R,
                            vcl::TOwnerDrawState State);
    void StripPaintItem(gfx::TCanvas& Cnvs, int Index, const TRect& R, vcl::TOwnerDrawState State);
    void DrawImageAndText(gfx::TCanvas& C, int Index, const TRect& T);
    // The skin tile over the area R of the canvas.
    void DrawSkinTile(gfx::TCanvas& C, const TRect& R);

    int FHorizontalExtentValue = 0;
};

class TbsSkinCustomListBox : public TbsSkinCustomControl {
public:
    explicit TbsSkinCustomListBox(vcl::TComponent* AOwner);
    ~TbsSkinCustomListBox() override;

    // ---- children ----
    TbsListBox* ListBox = nullptr;
    TbsSkinScrollBar* ScrollBar = nullptr;   // rows, or columns with Columns > 0
    TbsSkinScrollBar* HScrollBar = nullptr;  // items wider than the list

    // ---- skin fields copied from the record (kept from the last record read) ----
    std::string FontName = "Arial";
    int FontStyle = 0;
    int FontHeight = 14;
    TRect SItemRect, ActiveItemRect, FocusItemRect;
    int ItemLeftOffset = 0, ItemRightOffset = 0;
    TRect ItemTextRect;
    TColor FontColor = 0, ActiveFontColor = 0, FocusFontColor = 0;
    TRect CaptionRect;
    std::string CaptionFontName = "Arial";
    int CaptionFontStyle = 0;
    int CaptionFontHeight = 14;
    TColor CaptionFontColor = 0;
    TRect UpButtonRect, ActiveUpButtonRect, DownUpButtonRect, DownButtonRect, ActiveDownButtonRect,
        DownDownButtonRect, CheckButtonRect, ActiveCheckButtonRect, DownCheckButtonRect;
    std::string VScrollBarName = "vscrollbar", HScrollBarName = "hscrollbar",
                BothScrollBarName = "bothhscrollbar";
    bool ShowFocus = false;
    TRect ButtonsArea, DisabledButtonsRect;

    // ---- layout and caption state ----
    TRect ListRect;
    TRect NewCaptionRect;
    TbsCBButtonX Buttons[3];  // up, down, check
    int OldActiveButton = -1, ActiveButton = -1, CaptureButton = -1;
    int TimerMode = 0;
    bool WaitMode = false;
    bool FUseSkinItemHeight = true;
    bool FStopUpDateHScrollBar = false;

    // ---- properties ----
    const rtl::TStrings& TabWidths() const { return *FTabWidths; }
    void SetTabWidths(const rtl::TStrings& value);
    bool AutoComplete() const { return ListBox->AutoComplete(); }
    void SetAutoComplete(bool value) { ListBox->SetAutoComplete(value); }
    bool UseSkinItemHeight() const { return FUseSkinItemHeight; }
    void SetUseSkinItemHeight(bool value) { FUseSkinItemHeight = value; }
    bool HorizontalExtent() const { return FHorizontalExtent; }
    void SetHorizontalExtent(bool value);
    int Columns() const { return ListBox->Columns(); }
    void SetColumns(int value);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int value);
    vcl::TCustomImageList* Images() const { return FImages; }
    void SetImages(vcl::TCustomImageList* value);
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int value);
    gfx::TBitmap& Glyph() { return FGlyph; }
    void SetGlyph(const gfx::TBitmap& value);
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int value);
    int Spacing() const { return FSpacing; }
    void SetSpacing(int value);
    bool CaptionMode() const { return FCaptionMode; }
    void SetCaptionMode(bool value);
    int DefaultCaptionHeight() const { return FDefaultCaptionHeight; }
    void SetDefaultCaptionHeight(int value);
    gfx::TFont& DefaultCaptionFont() { return FDefaultCaptionFont; }
    void SetDefaultCaptionFont(const gfx::TFont& value) { FDefaultCaptionFont.Assign(value); }
    skin::TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(skin::TAlignment value);
    int DefaultItemHeight() const { return FDefaultItemHeight; }
    void SetDefaultItemHeight(int value);
    vcl::TListBoxStrings& Items() { return ListBox->Items(); }
    void SetItems(const rtl::TStrings& value);
    int ItemIndex() const { return ListBox->ItemIndex(); }
    void SetItemIndex(int value);
    bool MultiSelect() const { return ListBox->MultiSelect(); }
    void SetMultiSelect(bool value) { ListBox->SetMultiSelect(value); }
    gfx::TFont& ListBoxFont() { return ListBox->Font(); }
    void SetListBoxFont(const gfx::TFont& value) { ListBox->Font().Assign(value); }
    int ListBoxTabOrder() const { return ListBox->TabOrder(); }
    void SetListBoxTabOrder(int value) { ListBox->SetTabOrder(value); }
    vcl::TPopupMenu* ListBoxPopupMenu() const { return ListBox->PopupMenu(); }
    void SetListBoxPopupMenu(vcl::TPopupMenu* value) { ListBox->SetPopupMenu(value); }
    // The inner list's drag settings and events (stored, never raised).
    TDragMode ListBoxDragMode() const { return ListBox->DragMode; }
    void SetListBoxDragMode(TDragMode value) { ListBox->DragMode = value; }
    TDragKind ListBoxDragKind() const { return ListBox->DragKind; }
    void SetListBoxDragKind(TDragKind value) { ListBox->DragKind = value; }
    vcl::TCursor ListBoxDragCursor() const { return ListBox->DragCursor; }
    void SetListBoxDragCursor(vcl::TCursor value) { ListBox->DragCursor = value; }
    TDragDropEvent& OnListBoxDragDrop() { return ListBox->OnDragDrop; }
    TDragOverEvent& OnListBoxDragOver() { return ListBox->OnDragOver; }
    TStartDragEvent& OnListBoxStartDrag() { return ListBox->OnStartDrag; }
    TEndDragEvent& OnListBoxEndDrag() { return ListBox->OnEndDrag; }
    bool ListBoxTabStop() const { return ListBox->TabStop(); }
    void SetListBoxTabStop(bool value) { ListBox->SetTabStop(value); }
    bool ExtandedSelect() const { return ListBox->ExtendedSelect(); }
    void SetExtandedSelect(bool value) { ListBox->SetExtendedSelect(value); }
    bool Sorted() const { return ListBox->Sorted(); }
    void SetSorted(bool value);
    bool ShowCaptionButtons() const { return FShowCaptionButtons; }
    void SetShowCaptionButtons(bool value);
    gfx::TCanvas& ListBoxCanvas();
    int SelCount() const { return ListBox->SelCount(); }
    int TopIndex() const { return ListBox->TopIndex(); }
    void SetTopIndex(int value) { ListBox->SetTopIndex(value); }

    // ---- operations ----
    void ChangeSkinData() override;
    void GetSkinData() override;
    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void UpDateScrollBar();
    int CalcHeight(int AItemsCount);
    void Clear();
    int ItemAtPos(TPoint Pos, bool Existing) const { return ListBox->ItemAtPos(Pos, Existing); }
    TRect ItemRect(int Item) const { return ListBox->ItemRect(Item); }
    bool Selected(int Index) const { return ListBox->Selected(Index); }
    // Lays the inner list and the bars out inside the frame.
    void AlignControls();

    // ---- hooks the inner list calls before its own handling ----
    virtual int GetItemTextWidth(int Index, gfx::TCanvas& Canvas);
    virtual void ListBoxMouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y);
    virtual void ListBoxMouseMove(vcl::TShiftState Shift, int X, int Y);
    virtual void ListBoxMouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y);
    virtual void ListBoxClick();
    virtual void ListBoxDblClick();
    virtual void ListBoxKeyDown(int& Key, vcl::TShiftState Shift);
    virtual void ListBoxKeyUp(int& Key, vcl::TShiftState Shift);
    virtual void ListBoxKeyPress(char32_t& Key);
    virtual void ListBoxEnter() {}
    virtual void ListBoxExit() {}
    virtual void ListBoxWProc(vcl::TMessage& Message, bool& Pass);
    virtual void ListBoxCreateWnd() {}

    void Dispatch(vcl::TMessage& Message) override;

    // ---- events ----
    vcl::TNotifyEvent OnUpButtonClick, OnDownButtonClick, OnCheckButtonClick;
    vcl::TNotifyEvent OnListBoxClick, OnListBoxDblClick;
    vcl::TMouseEvent OnListBoxMouseDown, OnListBoxMouseUp;
    vcl::TMouseMoveEvent OnListBoxMouseMove;
    vcl::TKeyEvent OnListBoxKeyDown, OnListBoxKeyUp;
    vcl::TKeyPressEvent OnListBoxKeyPress;
    TbsDrawSkinItemEvent OnDrawItem;

protected:
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    void CreateParams(vcl::TCreateParams& Params) override;
    void CreateControlDefaultImage(gfx::TBitmap& B) override;
    void CreateControlSkinImage(gfx::TBitmap& B) override;
    void DefaultFontChanged() override;
    void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void MouseMove(vcl::TShiftState Shift, int X, int Y) override;
    void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;

private:
    friend class TbsListBox;

    void CreateMainBar();
    void CreateExtentBar();
    void RemoveMainBar();
    void RemoveExtentBar();
    void NameMainBar();
    void NameExtentBar();
    // The item font of the current look on the canvas.
    void SelectItemFont(gfx::TCanvas& C);
    gfx::TFontCharset ItemCharset() const;
    // Caption buttons.
    void DrawButton(gfx::TCanvas& C, int i);
    void DrawButtonNow(int i);
    void TestActive(int X, int Y);
    void ButtonEnter(int i);
    void ButtonLeave(int i);
    void ButtonDown(int i);
    void ButtonUp(int i);
    void DrawCaptionText(gfx::TCanvas& C, const TRect& R, int y, int x0);
    int CaptionWidth(gfx::TCanvas& C);
    void StopTimer();
    void StartTimer(unsigned ms);

    std::unique_ptr<rtl::TStringList> FTabWidths;
    bool FHorizontalExtent = false;
    int FRowCount = 0;
    gfx::TBitmap FGlyph;
    int FNumGlyphs = 1;
    int FSpacing = 2;
    vcl::TCustomImageList* FImages = nullptr;
    int FImageIndex = -1;
    int FDefaultItemHeight = 20;
    int FDefaultCaptionHeight = 20;
    gfx::TFont FDefaultCaptionFont;
    bool FCaptionMode = false;
    skin::TAlignment FAlignment = skin::taLeftJustify;
    bool FShowCaptionButtons = true;
};

class TbsSkinListBox : public TbsSkinCustomListBox {
public:
    using TbsSkinCustomListBox::TbsSkinCustomListBox;
};

}  // namespace skin
