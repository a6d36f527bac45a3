// The single-line field every skinned edit and edit-style combo box types into, and its numeric
// variant. TbsCustomEdit is the platform's masked edit with a few changes: it can draw its text
// over a background its parent paints (EditTransparent), it shows a skinned context menu with
// captions from the skin's text table, its ReadOnly refuses changes without the grey look, Enter
// and Esc go to the form as dialog keys instead of being typed, and a cancel-mode request is
// passed to its owner (OnEditCancelMode). It stays one line: a pasted or typed line break never
// gets in. TbsSkinNumEdit filters typed characters to a number and turns Up, Down and the wheel
// into OnUpClick and OnDownClick.
//
// The edit owns the context menu it built last. Main thread only.
#pragma once

#include <functional>

#include "platform/vcl/edits.h"
#include "skin/menus/skin_menu.h"

namespace skin {

using TbsOnEditCancelMode = std::function<void(vcl::TControl* C)>;

class TbsCustomEdit : public vcl::TCustomMaskEdit {
public:
    explicit TbsCustomEdit(vcl::TComponent* AOwner);
    ~TbsCustomEdit() override;

    // Soft read-only: refuses typing and editing messages, keeps the normal look.
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value) { FReadOnly = value; }
    bool EditTransparent() const { return FEditTransparent; }
    // Stores and recreates the window.
    void SetEditTransparent(bool value);

    // The context menu of the last right click, null when none exists.
    TbsSkinPopupMenu* SysPopupMenu() const { return FSysPopupMenu; }

    void Invalidate() override;
    void Dispatch(vcl::TMessage& Message) override;

    vcl::TNotifyEvent OnUp, OnDown;  // never raised
    TbsOnEditCancelMode OnEditCancelMode;

protected:
    void CreateParams(vcl::TCreateParams& Params) override;
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    void Change() override;
    // Builds and shows the skinned context menu at a screen point ((-1,-1): the field's centre).
    void ShowSysPopupMenu(vcl::TMessage& Message);

    bool FDown = false;
    bool FReadOnly = false;
    bool FEditTransparent = false;
    TbsSkinPopupMenu* FSysPopupMenu = nullptr;

private:
    void EnterOrEscape(vcl::TMessage& Message);
};

class TbsSkinNumEdit : public TbsCustomEdit {
public:
    explicit TbsSkinNumEdit(vcl::TComponent* AOwner);

    bool EditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool value) { FEditorEnabled = value; }
    // False: integer input; True: decimal input.
    bool Float = false;

    vcl::TNotifyEvent OnUpClick, OnDownClick;
    vcl::TNotifyEvent OnMouseEnter, OnMouseLeave;

    void Dispatch(vcl::TMessage& Message) override;

protected:
    void KeyDown(int& Key, vcl::TShiftState Shift) override;
    void KeyPress(char32_t& Key) override;

private:
    bool IsValidChar(char32_t Key) const;

    bool FEditorEnabled = true;
};

// Makes the combo boxes and skinned edits known to the form's CancelChildDropDowns; their
// constructors call it, once is enough.
void InstallDropDownControlTest();

// The separator of decimal input (the platform has no locale setting of its own).
char32_t DecimalSeparator();
void SetDecimalSeparator(char32_t value);

}  // namespace skin
