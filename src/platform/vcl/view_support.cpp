#include "platform/vcl/view_support.h"

#include <algorithm>
#include <cctype>

#include "platform/gfx/graphics.h"
#include "platform/sys/clock.h"

namespace vcl::detail {

int ScrollTarget(HWND window, int bar, WPARAM request, int line) {
    win::SCROLLINFO si;
    win::GetScrollInfo(window, bar, si);
    const int page = std::max(int(si.nPage), 1);
    const int code = win::LOWORD(request);
    int pos = si.nPos;
    switch (code) {
        case win::SB_LINEUP:
            pos -= line;
            break;
        case win::SB_LINEDOWN:
            pos += line;
            break;
        case win::SB_PAGEUP:
            pos -= page;
            break;
        case win::SB_PAGEDOWN:
            pos += page;
            break;
        case win::SB_THUMBPOSITION:
        case win::SB_THUMBTRACK:
            // The message carries 16 bits; a position set beforehand whose low bits agree is
            // the full one.
            pos = win::HIWORD(request);
            if ((si.nPos & 0xFFFF) == pos) pos = si.nPos;
            break;
        case win::SB_TOP:
            pos = si.nMin;
            break;
        case win::SB_BOTTOM:
            pos = si.nMax;
            break;
        default:
            break;
    }
    const int top = si.nMax - std::max(int(si.nPage) - 1, 0);
    return std::max(si.nMin, std::min(pos, std::max(top, si.nMin)));
}

void SetScrollState(HWND window, int bar, int maxPos, int page, int pos) {
    win::SCROLLINFO si;
    si.fMask = win::SIF_RANGE | win::SIF_PAGE | win::SIF_POS;
    si.nMin = 0;
    si.nMax = std::max(maxPos, 0);
    si.nPage = UINT(std::max(page, 0));
    si.nPos = pos;
    win::SetScrollInfo(window, bar, si, true);
}

void Prepare(gfx::TCanvas& canvas, HDC dc, gfx::TFont& font) {
    canvas.SetHandle(dc);
    canvas.Font().Assign(font);
}

void DrawRow(gfx::TCanvas& canvas, const TRect& rect, const std::string& text, bool selected,
             bool enabled, bool fill, gfx::TColor textColor) {
    if (selected) {
        canvas.Brush().SetStyle(gfx::bsSolid);
        canvas.Brush().SetColor(enabled ? gfx::clHighlight : gfx::clBtnFace);
        canvas.FillRect(rect);
    } else if (fill) {
        canvas.Brush().SetStyle(gfx::bsSolid);
        canvas.Brush().SetColor(gfx::clWindow);
        canvas.FillRect(rect);
    }
    canvas.Font().SetColor(!enabled   ? gfx::clGrayText
                           : selected ? gfx::clHighlightText
                                      : textColor);
    canvas.Brush().SetStyle(gfx::bsClear);
    TRect r{rect.Left + 2, rect.Top, rect.Right - 2, rect.Bottom};
    if (!text.empty())
        canvas.DrawText(
            text, r,
            gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_NOPREFIX | gfx::DT_END_ELLIPSIS);
}

void DrawRaised(gfx::TCanvas& canvas, const TRect& r, bool pressed) {
    if (r.IsEmpty()) return;
    canvas.Brush().SetStyle(gfx::bsSolid);
    canvas.Brush().SetColor(gfx::clBtnFace);
    canvas.FillRect(r);
    canvas.Brush().SetColor(pressed ? gfx::clBtnShadow : gfx::clBtnHighlight);
    canvas.FillRect({r.Left, r.Top, r.Right, r.Top + 1});
    canvas.FillRect({r.Left, r.Top, r.Left + 1, r.Bottom});
    canvas.Brush().SetColor(pressed ? gfx::clBtnHighlight : gfx::clBtnShadow);
    canvas.FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom});
    canvas.FillRect({r.Right - 1, r.Top, r.Right, r.Bottom});
}

int MeasureText(gfx::TFont& font, const std::string& text) {
    // One bitmap for the program's life: measuring does not depend on painting.
    static gfx::TBitmap* bitmap = [] {
        auto* b = new gfx::TBitmap;
        b->SetSize(1, 1);
        return b;
    }();
    gfx::TCanvas& c = bitmap->Canvas();
    c.Font().Assign(font);
    return c.TextWidth(text);
}

bool StartsWithText(const std::string& s, const std::string& prefix) {
    if (prefix.size() > s.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(s[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    return true;
}

std::int64_t NowMs() {
    return sys::Clock().NowMicros() / 1000;
}

}  // namespace vcl::detail
