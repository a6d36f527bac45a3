// The single-line edit (TCustomEdit, TEdit; TCustomMaskEdit keeps an EditMask it never applies)
// and the memo (TMemo). The edit is ours from end to end: text, selection, caret, horizontal
// scroll inside the formatting rectangle, one-level undo and the clipboard live in the control
// object, so they survive RecreateWnd. Positions count characters of the UTF-8 text.
//
// Keys: Backspace and Ctrl+C/X/V/Z come as WM_CHAR, Delete, Shift+Del, Shift+Ins and Ctrl+Ins as
// WM_KEYDOWN; the clipboard and undo keys send WM_COPY..WM_UNDO to the control itself, so a
// subclass that refuses a message refuses its keys too. Line breaks are never typed, and pasted
// text is cut at its first line break, also under ES_MULTILINE (which only lets EM_SETRECTNP
// through in the classic edit; here that works in both modes).
//
// Painting asks the parent WM_CTLCOLOREDIT (read-only: WM_CTLCOLORSTATIC), which comes back to
// the edit as CN_CTLCOLOREDIT/CN_CTLCOLORSTATIC: the DC state it leaves (text and background
// colour, background mode) draws the text and the brush it answers fills the background (a null
// brush fills nothing). Main thread only.
#pragma once

#include <string>

#include "platform/rtl/strings.h"
#include "platform/vcl/controls.h"
#include "platform/vcl/forms.h"

namespace vcl {

// Edit messages, styles and notifications.
inline constexpr UINT WM_CLEAR = 0x0303;
inline constexpr UINT EM_GETSEL = 0x00B0;
inline constexpr UINT EM_SETSEL = 0x00B1;
inline constexpr UINT EM_GETRECT = 0x00B2;
inline constexpr UINT EM_SETRECT = 0x00B3;
inline constexpr UINT EM_SETRECTNP = 0x00B4;
inline constexpr UINT EM_GETMODIFY = 0x00B8;
inline constexpr UINT EM_SETMODIFY = 0x00B9;
inline constexpr UINT EM_REPLACESEL = 0x00C2;
inline constexpr UINT EM_LIMITTEXT = 0x00C5;
inline constexpr UINT EM_CANUNDO = 0x00C6;
inline constexpr UINT EM_UNDO = 0x00C7;
inline constexpr UINT EM_EMPTYUNDOBUFFER = 0x00CD;
inline constexpr UINT EM_SETREADONLY = 0x00CF;
inline constexpr UINT EM_SETMARGINS = 0x00D3;
inline constexpr UINT EM_GETMARGINS = 0x00D4;
inline constexpr WPARAM EC_LEFTMARGIN = 1;
inline constexpr WPARAM EC_RIGHTMARGIN = 2;
inline constexpr DWORD ES_LEFT = 0x0000;
inline constexpr DWORD ES_CENTER = 0x0001;
inline constexpr DWORD ES_RIGHT = 0x0002;
inline constexpr DWORD ES_MULTILINE = 0x0004;
inline constexpr DWORD ES_UPPERCASE = 0x0008;
inline constexpr DWORD ES_LOWERCASE = 0x0010;
inline constexpr DWORD ES_PASSWORD = 0x0020;
inline constexpr DWORD ES_AUTOHSCROLL = 0x0080;
inline constexpr DWORD ES_NOHIDESEL = 0x0100;
inline constexpr DWORD ES_READONLY = 0x0800;
// WM_COMMAND notification code (high word of wParam) after every change of the text.
inline constexpr UINT EN_CHANGE = 0x0300;

// The height of one line of text in the font.
int LineHeightOf(const gfx::TFont& font);

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
using TBorderStyle = TFormBorderStyle;  // bsNone or bsSingle for controls

class TCustomEdit : public TWinControl {
public:
    explicit TCustomEdit(TComponent* AOwner);

    const std::string& Text() const override { return FText; }
    // Sends WM_SETTEXT when the window exists; OnChange either way.
    void SetText(const std::string& value) override;

    int SelStart() const;
    void SetSelStart(int value);
    int SelLength() const;
    void SetSelLength(int value);
    std::string SelText() const;
    void SetSelText(const std::string& value);
    void SelectAll();
    void ClearSelection() { Perform(WM_CLEAR); }
    void CopyToClipboard() { Perform(win::WM_COPY); }
    void CutToClipboard() { Perform(win::WM_CUT); }
    void PasteFromClipboard() { Perform(win::WM_PASTE); }
    void Undo() { Perform(win::WM_UNDO); }
    bool CanUndo() const { return FCanUndo; }
    void ClearUndo() { FCanUndo = false; }
    bool Modified() const { return FModified; }
    void SetModified(bool value) { FModified = value; }

    int MaxLength() const { return FMaxLength; }
    void SetMaxLength(int value);
    TEditCharCase CharCase() const { return FCharCase; }
    void SetCharCase(TEditCharCase value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool value);
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool value) { FAutoSelect = value; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    char32_t PasswordChar() const { return FPasswordChar; }
    void SetPasswordChar(char32_t value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);

    // The rectangle the text lies in (client coordinates) and the first visible pixel of it.
    TRect FormatRect() const;
    int ScrollX() const { return FScrollX; }
    // The character boundary nearest a client point's x.
    int CharFromPos(int x) const;
    // The client x of a character boundary.
    int PosFromChar(int index) const;

    TNotifyEvent OnChange;

    void Dispatch(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void PaintWindow(HDC DC) override;
    // After every change of the text; raises OnChange.
    virtual void Change();

private:
    void Replace(std::u32string inserted, bool typed);
    void SetCaret(int caret, bool extend);
    void SetSel(int start, int end);
    void ChangedText(bool keepUndo);
    void EditKeyDown(TMessage& m);
    void EditChar(TMessage& m);
    void MouseMessage(TMessage& m);
    void UpdateCaret();
    void ScrollToCaret();
    void Measure() const;
    std::u32string Shown() const;
    std::u32string Cased(std::u32string text) const;
    int WordStart(int index) const;
    int WordEnd(int index) const;
    void StyleChanged();

    std::string FText;
    std::u32string FChars;
    int FAnchor = 0;
    int FCaret = 0;
    int FMaxLength = 0;
    TEditCharCase FCharCase = ecNormal;
    bool FHideSelection = true;
    bool FAutoSelect = true;
    bool FReadOnly = false;
    char32_t FPasswordChar = 0;
    TBorderStyle FBorderStyle = bsSingle;
    TAlignment FAlignment = taLeftJustify;
    bool FModified = false;
    // One level of undo: the text and selection before the last change.
    bool FCanUndo = false;
    std::u32string FUndoChars;
    int FUndoAnchor = 0, FUndoCaret = 0;
    int FLeftMargin = 1, FRightMargin = 1;
    bool FHasRect = false;
    TRect FRect;
    int FScrollX = 0;
    bool FSelecting = false;  // the left button is down in the text
    gfx::TLogBrush FAnswerBrush;
    // Boundary x offsets of the shown text from its start, for the current font and text.
    mutable std::vector<int> FOffsets;
    mutable bool FOffsetsValid = false;
    mutable int FLineHeight = 0;
};

class TEdit : public TCustomEdit {
public:
    using TCustomEdit::TCustomEdit;
};

// Stores an EditMask and never applies it: the program sets none.
class TCustomMaskEdit : public TCustomEdit {
public:
    using TCustomEdit::TCustomEdit;
    const std::string& EditMask() const { return FEditMask; }
    void SetEditMask(const std::string& value) { FEditMask = value; }

private:
    std::string FEditMask;
};

class TMaskEdit : public TCustomMaskEdit {
public:
    using TCustomMaskEdit::TCustomMaskEdit;
};

// A multi-line text view. Lines is a plain list: appending a line repaints and scrolls to the
// end without re-reading the rest, so logs can grow fast.
class TMemo : public TWinControl {
public:
    explicit TMemo(TComponent* AOwner);
    rtl::TStringList& Lines() { return FLines; }
    void SetLines(const rtl::TStrings& value) { FLines.Assign(value); }
    const std::string& Text() const override;
    void SetText(const std::string& value) override { FLines.SetText(value); }
    // The first line shown.
    int TopLine() const { return FTopLine; }
    void SetTopLine(int value);
    int LinesPerPage() const;
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    TNotifyEvent OnChange;

    void Dispatch(TMessage& Message) override;

protected:
    void CreateParams(TCreateParams& Params) override;
    void PaintWindow(HDC DC) override;

private:
    void LinesChanged();
    int LineHeight() const;

    rtl::TStringList FLines;
    mutable std::string FTextCache;
    mutable int FLineHeight = 0;  // of the font; measured once per font
    int FTopLine = 0;
    TBorderStyle FBorderStyle = bsSingle;
};

}  // namespace vcl
