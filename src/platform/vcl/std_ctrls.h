// Standard controls in a plain look with the system colours: TButton (Default, Cancel,
// ModalResult), TCheckBox, TRadioButton, TCustomLabel/TLabel (a windowless label whose text
// drawing is the virtual DoDrawText hook the skinned labels replace) and a plain TComboBox
// (a drop-down list chosen with the keys, the wheel or a click on its list).
//
// Every windowed control paints in PaintWindow (also into a DC that WM_PAINT carries) and keeps
// its state in the object, so RecreateWnd loses nothing. The edit and the memo are in edits.h;
// panel, bevel, splitter and image in ext_ctrls.h. Main thread only.
#pragma once

#include <string>

#include "platform/rtl/strings.h"
#include "platform/vcl/controls.h"
#include "platform/vcl/edits.h"
#include "platform/vcl/forms.h"

namespace vcl {

inline constexpr UINT BM_GETCHECK = 0x00F0;
inline constexpr UINT BM_SETCHECK = 0x00F1;
inline constexpr UINT BM_CLICK = 0x00F5;

using gfx::Frame3D;
// Text drawn as disabled controls show it: highlight one pixel down-right, shadow on top.
void DrawDisabledText(gfx::TCanvas& canvas, const std::string& text, TRect rect, unsigned flags);

class TButton : public TCustomControl {
public:
    explicit TButton(TComponent* AOwner);
    // Enter presses a Default button, Esc a Cancel one (CM_DIALOGKEY).
    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    bool Cancel() const { return FCancel; }
    void SetCancel(bool value) { FCancel = value; }
    // Set on the parent form when the button is clicked.
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value) { FModalResult = value; }
    bool Down() const { return FDown; }

    void Click() override;
    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;

private:
    void SetDown(bool value);
    bool FDefault = false;
    bool FCancel = false;
    bool FActive = false;  // Enter presses this button now
    TModalResult FModalResult = mrNone;
    bool FDown = false;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// What check and radio boxes share: a mark beside the caption, toggled by a click or Space.
class TButtonControl : public TCustomControl {
public:
    explicit TButtonControl(TComponent* AOwner);
    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
    TCheckBoxState State() const { return FState; }
    // OnClick follows every change of the state, from the user or from code.
    virtual void SetState(TCheckBoxState value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);

    void Dispatch(TMessage& Message) override;

protected:
    // What a click or Space does.
    virtual void Toggle() = 0;
    void Paint() override;
    virtual void PaintMark(gfx::TCanvas& canvas, const TRect& box) = 0;
    TRect MarkRect() const;
    TRect CaptionRect();

    TCheckBoxState FState = cbUnchecked;
    TAlignment FAlignment = taRightJustify;  // caption right of the mark
    bool FPressed = false;
};

class TCheckBox : public TButtonControl {
public:
    using TButtonControl::TButtonControl;
    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool value) { FAllowGrayed = value; }

protected:
    void Toggle() override;
    void PaintMark(gfx::TCanvas& canvas, const TRect& box) override;

private:
    bool FAllowGrayed = false;
};

// Checking one clears the other radio buttons of the same parent.
class TRadioButton : public TButtonControl {
public:
    using TButtonControl::TButtonControl;
    void SetState(TCheckBoxState value) override;

protected:
    void Toggle() override;
    void PaintMark(gfx::TCanvas& canvas, const TRect& box) override;
};

enum TTextLayout { tlTop, tlCenter, tlBottom };

class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(TComponent* AOwner);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TTextLayout Layout() const { return FLayout; }
    void SetLayout(TTextLayout value);
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);
    bool ShowAccelChar() const { return FShowAccelChar; }
    void SetShowAccelChar(bool value);
    // Transparent: the parent shows through (no background fill, not opaque).
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    // Gets the focus when the label's accelerator is pressed.
    TWinControl* FocusControl() const { return FFocusControl; }
    void SetFocusControl(TWinControl* value);
    void SetAutoSize(bool value) override;

    void Dispatch(TMessage& Message) override;

protected:
    // Draws (or with DT_CALCRECT measures into Rect) the label's text with Flags; the skinned
    // labels replace it.
    virtual void DoDrawText(TRect& Rect, unsigned Flags);
    // Resizes to the text when AutoSize is on (right alignment keeps the right edge).
    virtual void AdjustBounds();
    void Paint() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void Loaded() override;
    // The flags of alignment, word wrap and prefixes the label draws with.
    unsigned DrawFlags() const;

private:
    TAlignment FAlignment = taLeftJustify;
    TTextLayout FLayout = tlTop;
    bool FWordWrap = false;
    bool FShowAccelChar = true;
    bool FTransparent = false;
    TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
public:
    using TCustomLabel::TCustomLabel;
};

// A plain drop-down list: Items, ItemIndex and the Text of the chosen item; OnChange after the
// user chose another item.
class TComboBox : public TCustomControl {
public:
    explicit TComboBox(TComponent* AOwner);
    ~TComboBox() override;
    rtl::TStringList& Items() { return FItems; }
    void SetItems(const rtl::TStrings& value) { FItems.Assign(value); }
    int ItemIndex() const { return FItemIndex; }
    // From code: no OnChange.
    void SetItemIndex(int value);
    const std::string& Text() const override { return FText; }
    // Chooses the item with that text, or none.
    void SetText(const std::string& value) override;
    bool DroppedDown() const { return FList != nullptr; }
    void SetDroppedDown(bool value);
    // The height of one row of the list.
    int ItemHeight() const;

    TNotifyEvent OnChange;
    void Dispatch(TMessage& Message) override;

protected:
    void Paint() override;
    virtual void Change();

private:
    friend class TComboList;
    void Choose(int index);
    rtl::TStringList FItems;
    int FItemIndex = -1;
    std::string FText;
    class TComboList* FList = nullptr;
};

}  // namespace vcl
