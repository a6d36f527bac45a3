#include "platform/vcl/edits.h"

#include <algorithm>

#include "platform/gfx/text.h"
#include "platform/win/caret.h"
#include "platform/win/win.h"

namespace vcl {

namespace {

bool IsWordChar(char32_t c) {
    return c > U' ' && c != U'.' && c != U',' && c != U';' && c != U'/' && c != U'\\' &&
           c != U'-' && c != U'(' && c != U')';
}

char32_t ToUpper(char32_t c) {
    return c >= U'a' && c <= U'z' ? c - 32 : c;
}

char32_t ToLower(char32_t c) {
    return c >= U'A' && c <= U'Z' ? c + 32 : c;
}

// Pasted and typed text stop at the first line break; other control characters go.
std::u32string OneLine(const std::u32string& text) {
    std::u32string out;
    for (char32_t c : text) {
        if (c == U'\r' || c == U'\n') break;
        if (c >= 32 || c == U'\t') out += c;
    }
    return out;
}

// The sunken edge of WS_EX_CLIENTEDGE, over what the default frame painted.
void PaintClientEdge(HWND window) {
    if (!(DWORD(win::GetWindowLongPtr(window, win::GWL_EXSTYLE)) & win::WS_EX_CLIENTEDGE)) return;
    HDC dc = win::GetWindowDC(window);
    if (!dc) return;
    TRect r;
    win::GetWindowRect(window, r);
    r = {0, 0, r.Width(), r.Height()};
    gfx::TCanvas canvas(dc);
    gfx::Frame3D(canvas, r, gfx::clBtnShadow, gfx::clBtnHighlight, 1);
    gfx::Frame3D(canvas, r, gfx::cl3DDkShadow, gfx::cl3DLight, 1);
    win::ReleaseDC(window, dc);
}

}  // namespace

int LineHeightOf(const gfx::TFont& font) {
    gfx::TDC scratch;
    gfx::SelectObject(&scratch, font.Handle());
    gfx::TTextMetric tm;
    gfx::GetTextMetrics(&scratch, tm);
    return std::max(tm.tmHeight, 1);
}

TCustomEdit::TCustomEdit(TComponent* AOwner) : TWinControl(AOwner) {
    SetControlStyle({csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csFixedHeight});
    SetBounds(0, 0, 121, 21);
    SetTabStop(true);
    SetColor(gfx::clWindow);
    SetCursor(crIBeam);
}

// ---- text and selection ------------------------------------------------------------------------

void TCustomEdit::SetText(const std::string& value) {
    if (value == FText) return;
    if (HandleAllocated()) {
        win::SendMessage(Handle(), win::WM_SETTEXT, 0, win::PtrToParam(value.c_str()));
    } else {
        FChars = gfx::DecodeUtf8(value);
        FAnchor = FCaret = 0;
        FScrollX = 0;
        ChangedText(false);
    }
    Perform(CM_TEXTCHANGED);
}

int TCustomEdit::SelStart() const {
    return std::min(FAnchor, FCaret);
}

int TCustomEdit::SelLength() const {
    return std::abs(FCaret - FAnchor);
}

void TCustomEdit::SetSelStart(int value) {
    SetSel(value, value);
}

void TCustomEdit::SetSelLength(int value) {
    const int start = SelStart();
    SetSel(start, start + std::max(value, 0));
}

std::string TCustomEdit::SelText() const {
    return gfx::EncodeUtf8(FChars.substr(std::size_t(SelStart()), std::size_t(SelLength())));
}

void TCustomEdit::SetSelText(const std::string& value) {
    Replace(OneLine(gfx::DecodeUtf8(value)), false);
}

void TCustomEdit::SelectAll() {
    SetSel(0, int(FChars.size()));
}

void TCustomEdit::SetSel(int start, int end) {
    const int n = int(FChars.size());
    FAnchor = std::clamp(start, 0, n);
    FCaret = std::clamp(end, 0, n);
    ScrollToCaret();
    UpdateCaret();
    Invalidate();
}

void TCustomEdit::SetCaret(int caret, bool extend) {
    const int n = int(FChars.size());
    FCaret = std::clamp(caret, 0, n);
    if (!extend) FAnchor = FCaret;
    ScrollToCaret();
    UpdateCaret();
    Invalidate();
}

std::u32string TCustomEdit::Cased(std::u32string text) const {
    if (FCharCase == ecUpperCase) std::transform(text.begin(), text.end(), text.begin(), ToUpper);
    if (FCharCase == ecLowerCase) std::transform(text.begin(), text.end(), text.begin(), ToLower);
    return text;
}

// Replaces the selection; MaxLength cuts what does not fit.
void TCustomEdit::Replace(std::u32string inserted, bool typed) {
    inserted = Cased(std::move(inserted));
    const int start = SelStart();
    const int length = SelLength();
    if (FMaxLength > 0) {
        const int room = std::max(FMaxLength - (int(FChars.size()) - length), 0);
        if (int(inserted.size()) > room) inserted.resize(std::size_t(room));
    }
    if (length == 0 && inserted.empty()) {
        if (typed) win::MessageBeep(0);
        return;
    }
    FUndoChars = FChars;
    FUndoAnchor = FAnchor;
    FUndoCaret = FCaret;
    FCanUndo = true;
    FChars.replace(std::size_t(start), std::size_t(length), inserted);
    FAnchor = FCaret = start + int(inserted.size());
    FModified = true;
    ChangedText(true);
}

void TCustomEdit::ChangedText(bool keepUndo) {
    if (!keepUndo) FCanUndo = false;
    FText = gfx::EncodeUtf8(FChars);
    FOffsetsValid = false;
    ScrollToCaret();
    UpdateCaret();
    Invalidate();
    Change();
}

void TCustomEdit::Change() {
    if (HandleAllocated() && Parent() && Parent()->HandleAllocated())
        win::SendMessage(Parent()->Handle(), win::WM_COMMAND, win::MAKEWPARAM(0, int(EN_CHANGE)),
                         win::HwndToParam(Handle()));
    if (OnChange) OnChange(this);
}

// ---- properties ---------------------------------------------------------------------------------

void TCustomEdit::SetMaxLength(int value) {
    FMaxLength = std::max(value, 0);
}

void TCustomEdit::SetCharCase(TEditCharCase value) {
    if (FCharCase == value) return;
    FCharCase = value;
    const std::u32string cased = Cased(FChars);
    if (cased != FChars) {
        FChars = cased;
        ChangedText(false);
    }
}

void TCustomEdit::SetHideSelection(bool value) {
    FHideSelection = value;
    Invalidate();
}

void TCustomEdit::SetReadOnly(bool value) {
    FReadOnly = value;
    Invalidate();
}

void TCustomEdit::SetPasswordChar(char32_t value) {
    FPasswordChar = value;
    FOffsetsValid = false;
    StyleChanged();
}

void TCustomEdit::SetBorderStyle(TBorderStyle value) {
    if (FBorderStyle == value) return;
    FBorderStyle = value;
    StyleChanged();
}

void TCustomEdit::SetAlignment(TAlignment value) {
    if (FAlignment == value) return;
    FAlignment = value;
    StyleChanged();
}

void TCustomEdit::StyleChanged() {
    if (HandleAllocated())
        RecreateWnd();
    else
        Invalidate();
}

void TCustomEdit::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.Style |= ES_AUTOHSCROLL;
    if (FAlignment == taRightJustify) p.Style |= ES_RIGHT;
    if (FAlignment == taCenter) p.Style |= ES_CENTER;
    if (FPasswordChar) p.Style |= ES_PASSWORD;
    if (FReadOnly) p.Style |= ES_READONLY;
    if (!FHideSelection) p.Style |= ES_NOHIDESEL;
    if (FBorderStyle == bsSingle) p.ExStyle |= win::WS_EX_CLIENTEDGE;
    p.WindowClass.hCursor = win::IDC_IBEAM;
}

// ---- geometry -----------------------------------------------------------------------------------

std::u32string TCustomEdit::Shown() const {
    return FPasswordChar ? std::u32string(FChars.size(), FPasswordChar) : FChars;
}

void TCustomEdit::Measure() const {
    if (FOffsetsValid) return;
    gfx::TDC scratch;
    gfx::SelectObject(&scratch, const_cast<TCustomEdit*>(this)->Font().Handle());
    const std::u32string shown = Shown();
    FOffsets.assign(shown.size() + 1, 0);
    for (std::size_t i = 1; i <= shown.size(); ++i) {
        gfx::TSize s;
        gfx::GetTextExtentPoint32(&scratch, gfx::EncodeUtf8(shown.substr(0, i)), s);
        FOffsets[i] = s.cx;
    }
    FLineHeight = LineHeightOf(const_cast<TCustomEdit*>(this)->Font());
    FOffsetsValid = true;
}

TRect TCustomEdit::FormatRect() const {
    if (FHasRect) return FRect;
    const TRect c = ClientRect();
    return {c.Left + FLeftMargin, c.Top, c.Right - FRightMargin, c.Bottom};
}

// Where the text starts before scrolling: alignment inside the formatting rectangle.
int TCustomEdit::PosFromChar(int index) const {
    Measure();
    const TRect r = FormatRect();
    const int width = FOffsets.back();
    int x = r.Left;
    if (width < r.Width()) {
        if (FAlignment == taRightJustify) x = r.Right - width;
        if (FAlignment == taCenter) x = r.Left + (r.Width() - width) / 2;
    }
    index = std::clamp(index, 0, int(FOffsets.size()) - 1);
    return x + FOffsets[std::size_t(index)] - FScrollX;
}

int TCustomEdit::CharFromPos(int x) const {
    Measure();
    int best = 0;
    int bestDistance = std::abs(PosFromChar(0) - x);
    for (int i = 1; i < int(FOffsets.size()); ++i) {
        const int d = std::abs(PosFromChar(i) - x);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    return best;
}

void TCustomEdit::ScrollToCaret() {
    Measure();
    const TRect r = FormatRect();
    const int width = FOffsets.back();
    if (width <= r.Width()) {
        FScrollX = 0;
        return;
    }
    const int caret = FOffsets[std::size_t(FCaret)];
    // A quarter of the box jumps at once, as typing at the edge expects.
    const int jump = std::max(r.Width() / 4, 1);
    if (caret - FScrollX > r.Width())
        FScrollX = std::min(caret - r.Width() + jump, width - r.Width());
    if (caret < FScrollX) FScrollX = std::max(caret - jump, 0);
    FScrollX = std::clamp(FScrollX, 0, std::max(width - r.Width(), 0));
}

void TCustomEdit::UpdateCaret() {
    if (!HandleAllocated() || !Focused()) return;
    Measure();
    const TRect r = FormatRect();
    win::SetCaretPos(PosFromChar(FCaret), r.Top);
}

int TCustomEdit::WordStart(int index) const {
    while (index > 0 && !IsWordChar(FChars[std::size_t(index - 1)])) --index;
    while (index > 0 && IsWordChar(FChars[std::size_t(index - 1)])) --index;
    return index;
}

int TCustomEdit::WordEnd(int index) const {
    const int n = int(FChars.size());
    while (index < n && IsWordChar(FChars[std::size_t(index)])) ++index;
    while (index < n && !IsWordChar(FChars[std::size_t(index)])) ++index;
    return index;
}

// ---- painting -----------------------------------------------------------------------------------

void TCustomEdit::PaintWindow(HDC dc) {
    Measure();
    gfx::SelectObject(dc, Font().Handle());
    gfx::SetTextColor(dc, Enabled() ? Font().Color() : gfx::clGrayText);
    gfx::SetBkColor(dc, Color());
    gfx::SetBkMode(dc, gfx::OPAQUE);
    const UINT ask = FReadOnly ? win::WM_CTLCOLORSTATIC : win::WM_CTLCOLOREDIT;
    LRESULT answer = 0;
    if (Parent() && Parent()->HandleAllocated())
        answer = win::SendMessage(Parent()->Handle(), ask, win::DcToParam(dc),
                                  win::HwndToParam(Handle()));
    else
        answer = Perform(CN_BASE + ask, win::DcToParam(dc), win::HwndToParam(Handle()));
    gfx::TLogBrush brush = Brush().Handle();
    if (answer) brush = *win::ParamToPtr<const gfx::TLogBrush>(std::uint64_t(answer));
    const TRect client = ClientRect();
    if (brush.Style != gfx::BS_NULL) gfx::FillRect(dc, client, brush);

    const TRect r = FormatRect();
    const int saved = gfx::SaveDC(dc);
    gfx::IntersectClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
    const std::u32string shown = Shown();
    const int y = r.Top;
    const bool showSelection = SelLength() > 0 && (Focused() || !FHideSelection);
    const int selStart = showSelection ? SelStart() : 0;
    const int selEnd = showSelection ? SelStart() + SelLength() : 0;
    auto run = [&](int from, int to, bool selected) {
        if (from >= to) return;
        const std::string part =
            gfx::EncodeUtf8(shown.substr(std::size_t(from), std::size_t(to - from)));
        if (selected) {
            const int saveRun = gfx::SaveDC(dc);
            gfx::SetTextColor(dc, gfx::clHighlightText);
            gfx::SetBkColor(dc, gfx::clHighlight);
            gfx::SetBkMode(dc, gfx::OPAQUE);
            const TRect cell{PosFromChar(from), y, PosFromChar(to), y + FLineHeight};
            gfx::FillRect(dc, cell, gfx::CreateSolidBrush(gfx::clHighlight));
            gfx::TextOut(dc, PosFromChar(from), y, part);
            gfx::RestoreDC(dc, saveRun);
        } else {
            gfx::TextOut(dc, PosFromChar(from), y, part);
        }
    };
    const int n = int(shown.size());
    run(0, selStart, false);
    run(selStart, selEnd, true);
    run(selEnd, n, false);
    gfx::RestoreDC(dc, saved);
}

// ---- messages -----------------------------------------------------------------------------------

void TCustomEdit::Dispatch(TMessage& m) {
    using namespace win;
    switch (m.Msg) {
        case WM_SETTEXT: {
            TWinControl::Dispatch(m);
            const char* text = m.LParam ? ParamToPtr<const char>(std::uint64_t(m.LParam)) : "";
            FChars = gfx::DecodeUtf8(text);
            FAnchor = FCaret = 0;
            FScrollX = 0;
            ChangedText(false);
            m.Result = 1;
            return;
        }
        case WM_NCPAINT:
            TWinControl::Dispatch(m);
            PaintClientEdge(Handle());
            return;
        case WM_GETDLGCODE:
            m.Result = DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
            return;
        case WM_KEYDOWN:
            EditKeyDown(m);
            return;
        case WM_CHAR:
            EditChar(m);
            return;
        case WM_SETFOCUS:
            TWinControl::Dispatch(m);
            Measure();
            CreateCaret(Handle(), 1, FLineHeight);
            UpdateCaret();
            ShowCaret(Handle());
            Invalidate();
            return;
        case CM_ENTER:
            // Entering by the keyboard selects everything; a click places the caret instead,
            // and a recreated window keeps its selection.
            if (FAutoSelect && !FSelecting) SelectAll();
            TWinControl::Dispatch(m);
            return;
        case WM_KILLFOCUS:
            TWinControl::Dispatch(m);
            DestroyCaret();
            Invalidate();
            return;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
            MouseMessage(m);
            return;
        case WM_COPY:
            if (SelLength() > 0)
                SetClipboardText(gfx::EncodeUtf8(
                    Shown().substr(std::size_t(SelStart()), std::size_t(SelLength()))));
            m.Result = 1;
            return;
        case WM_CUT:
            if (FReadOnly) return;
            if (SelLength() > 0) {
                Perform(WM_COPY);
                Replace(U"", false);
            }
            m.Result = 1;
            return;
        case WM_CLEAR:
            if (FReadOnly) return;
            if (SelLength() > 0) Replace(U"", false);
            m.Result = 1;
            return;
        case WM_PASTE:
            if (FReadOnly) return;
            if (auto text = GetClipboardText()) Replace(OneLine(gfx::DecodeUtf8(*text)), false);
            m.Result = 1;
            return;
        case WM_UNDO:
        case EM_UNDO:
            if (FReadOnly || !FCanUndo) return;
            {
                // Undo undoes itself: the text before it becomes the undo.
                std::swap(FChars, FUndoChars);
                std::swap(FAnchor, FUndoAnchor);
                std::swap(FCaret, FUndoCaret);
                FModified = true;
                ChangedText(true);
            }
            m.Result = 1;
            return;
        case EM_CANUNDO:
            m.Result = FCanUndo;
            return;
        case EM_EMPTYUNDOBUFFER:
            FCanUndo = false;
            return;
        case EM_GETSEL:
            if (m.WParam) *ParamToPtr<std::uint32_t>(m.WParam) = std::uint32_t(SelStart());
            if (m.LParam)
                *ParamToPtr<std::uint32_t>(std::uint64_t(m.LParam)) =
                    std::uint32_t(SelStart() + SelLength());
            m.Result = MAKELPARAM(SelStart(), SelStart() + SelLength());
            return;
        case EM_SETSEL: {
            const int start = int(std::int32_t(m.WParam));
            const int end = int(std::int32_t(m.LParam));
            const int n = int(FChars.size());
            if (start < 0)
                SetSel(FCaret, FCaret);  // -1 drops the selection
            else
                SetSel(start, end < 0 ? n : end);
            return;
        }
        case EM_REPLACESEL:
            if (m.LParam) SetSelText(ParamToPtr<const char>(std::uint64_t(m.LParam)));
            return;
        case EM_LIMITTEXT:
            SetMaxLength(int(m.WParam));
            return;
        case EM_SETREADONLY:
            SetReadOnly(m.WParam != 0);
            m.Result = 1;
            return;
        case EM_GETMODIFY:
            m.Result = FModified;
            return;
        case EM_SETMODIFY:
            FModified = m.WParam != 0;
            return;
        case EM_SETMARGINS:
            if (m.WParam & EC_LEFTMARGIN) FLeftMargin = LOWORD(std::uint64_t(m.LParam));
            if (m.WParam & EC_RIGHTMARGIN) FRightMargin = HIWORD(std::uint64_t(m.LParam));
            FHasRect = false;
            ScrollToCaret();
            UpdateCaret();
            Invalidate();
            return;
        case EM_GETMARGINS:
            m.Result = MAKELPARAM(FLeftMargin, FRightMargin);
            return;
        case EM_SETRECT:
        case EM_SETRECTNP:
            FHasRect = m.LParam != 0;
            if (FHasRect) FRect = *ParamToPtr<const TRect>(std::uint64_t(m.LParam));
            ScrollToCaret();
            UpdateCaret();
            if (m.Msg == EM_SETRECT) Invalidate();
            return;
        case EM_GETRECT:
            if (m.LParam) *ParamToPtr<TRect>(std::uint64_t(m.LParam)) = FormatRect();
            return;
        case CN_CTLCOLOREDIT:
        case CN_CTLCOLORSTATIC:
            FAnswerBrush = Brush().Handle();
            m.Result = PtrToParam(&FAnswerBrush);
            return;
        case WM_SIZE:
            TWinControl::Dispatch(m);
            ScrollToCaret();
            UpdateCaret();
            return;
        case CM_FONTCHANGED:
            FOffsetsValid = false;
            TWinControl::Dispatch(m);
            return;
        case CM_ENABLEDCHANGED:
            TWinControl::Dispatch(m);
            return;
        default:
            TWinControl::Dispatch(m);
    }
}

void TCustomEdit::EditKeyDown(TMessage& m) {
    using namespace win;
    int key = int(m.WParam);
    const TShiftState shift = KeyDataToShiftState(m.LParam);
    KeyDown(key, shift);
    if (key == 0) return;
    const bool extend = shift.Contains(ssShift);
    const bool ctrl = shift.Contains(ssCtrl);
    switch (key) {
        case VK_LEFT:
            if (!extend && SelLength() > 0 && !ctrl)
                SetCaret(SelStart(), false);
            else
                SetCaret(ctrl ? WordStart(FCaret) : FCaret - 1, extend);
            break;
        case VK_RIGHT:
            if (!extend && SelLength() > 0 && !ctrl)
                SetCaret(SelStart() + SelLength(), false);
            else
                SetCaret(ctrl ? WordEnd(FCaret) : FCaret + 1, extend);
            break;
        case VK_HOME:
            SetCaret(0, extend);
            break;
        case VK_END:
            SetCaret(int(FChars.size()), extend);
            break;
        case VK_DELETE:
            if (extend) {
                Perform(WM_CUT);
            } else if (!FReadOnly) {
                if (SelLength() == 0 && FCaret < int(FChars.size())) FCaret = FCaret + 1;
                if (SelLength() > 0) Replace(U"", false);
            }
            break;
        case VK_INSERT:
            if (extend)
                Perform(WM_PASTE);
            else if (ctrl)
                Perform(WM_COPY);
            break;
        default:
            break;
    }
}

void TCustomEdit::EditChar(TMessage& m) {
    char32_t ch = char32_t(m.WParam);
    KeyPress(ch);
    switch (ch) {
        case 0:
            return;
        case 3:
            Perform(win::WM_COPY);
            return;
        case 24:
            Perform(win::WM_CUT);
            return;
        case 22:
            Perform(win::WM_PASTE);
            return;
        case 26:
            Perform(win::WM_UNDO);
            return;
        case U'\b':
            if (FReadOnly) return;
            if (SelLength() == 0 && FCaret > 0) FAnchor = FCaret - 1;
            if (SelLength() > 0) Replace(U"", false);
            return;
        default:
            break;
    }
    if (ch < 32 || FReadOnly) return;
    Replace(std::u32string(1, ch), true);
}

void TCustomEdit::MouseMessage(TMessage& m) {
    using namespace win;
    const TPoint p = PointFromParam(m.LParam);
    const bool shift = (m.WParam & MK_SHIFT) != 0;
    switch (m.Msg) {
        case WM_LBUTTONDOWN:
            FSelecting = true;
            if (!Focused() && CanFocus()) SetFocus();
            if (HandleAllocated()) SetCaret(CharFromPos(p.X), shift);
            break;
        case WM_LBUTTONDBLCLK: {
            const int at = CharFromPos(p.X);
            int start = at;
            while (start > 0 && IsWordChar(FChars[std::size_t(start - 1)])) --start;
            int end = at;
            while (end < int(FChars.size()) && IsWordChar(FChars[std::size_t(end)])) ++end;
            SetSel(start, end);
            break;
        }
        case WM_MOUSEMOVE:
            if (FSelecting && (m.WParam & MK_LBUTTON)) SetCaret(CharFromPos(p.X), true);
            break;
        case WM_LBUTTONUP:
            FSelecting = false;
            break;
        default:
            break;
    }
    TWinControl::Dispatch(m);
}

// ---- TMemo --------------------------------------------------------------------------------------

TMemo::TMemo(TComponent* AOwner) : TWinControl(AOwner) {
    SetBounds(0, 0, 185, 89);
    SetTabStop(true);
    SetColor(gfx::clWindow);
    FLines.OnChange = [this](rtl::TStringList&) { LinesChanged(); };
}

const std::string& TMemo::Text() const {
    FTextCache = FLines.Text();
    return FTextCache;
}

int TMemo::LineHeight() const {
    if (FLineHeight <= 0) FLineHeight = LineHeightOf(const_cast<TMemo*>(this)->Font());
    return FLineHeight;
}

int TMemo::LinesPerPage() const {
    return std::max(ClientRect().Height() / LineHeight(), 1);
}

void TMemo::SetTopLine(int value) {
    value = std::clamp(value, 0, std::max(FLines.Count() - 1, 0));
    if (value == FTopLine) return;
    FTopLine = value;
    Invalidate();
}

void TMemo::LinesChanged() {
    // An append shows the new end, as a log view wants.
    SetTopLine(std::max(FLines.Count() - LinesPerPage(), 0));
    Invalidate();
    if (OnChange) OnChange(this);
}

void TMemo::SetBorderStyle(TBorderStyle value) {
    if (FBorderStyle == value) return;
    FBorderStyle = value;
    if (HandleAllocated()) RecreateWnd();
}

void TMemo::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.Style |= ES_MULTILINE;
    if (FBorderStyle == bsSingle) p.ExStyle |= win::WS_EX_CLIENTEDGE;
}

void TMemo::PaintWindow(HDC dc) {
    gfx::FillRect(dc, ClientRect(), Brush().Handle());
    gfx::SelectObject(dc, Font().Handle());
    gfx::SetTextColor(dc, Enabled() ? Font().Color() : gfx::clGrayText);
    gfx::SetBkMode(dc, gfx::TRANSPARENT);
    const int h = LineHeight();
    const int last = std::min(FLines.Count(), FTopLine + LinesPerPage() + 1);
    for (int i = FTopLine; i < last; ++i) gfx::TextOut(dc, 1, (i - FTopLine) * h, FLines.Get(i));
}

void TMemo::Dispatch(TMessage& m) {
    switch (m.Msg) {
        case win::WM_SETTEXT:
            TWinControl::Dispatch(m);
            FLines.SetText(m.LParam ? win::ParamToPtr<const char>(std::uint64_t(m.LParam)) : "");
            return;
        case win::WM_NCPAINT:
            TWinControl::Dispatch(m);
            PaintClientEdge(Handle());
            return;
        case CM_FONTCHANGED:
            FLineHeight = 0;
            TWinControl::Dispatch(m);
            return;
        case win::WM_MOUSEWHEEL:
            SetTopLine(FTopLine - win::GET_WHEEL_DELTA_WPARAM(m.WParam) / win::WHEEL_DELTA * 3);
            m.Result = 1;
            return;
        default:
            TWinControl::Dispatch(m);
    }
}

}  // namespace vcl
