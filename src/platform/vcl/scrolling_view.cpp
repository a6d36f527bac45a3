#include "platform/vcl/scrolling_view.h"

#include "platform/gfx/text.h"
#include "platform/vcl/view_support.h"

namespace vcl {

TScrollingView::TScrollingView(TComponent* AOwner) : TWinControl(AOwner) {
    SetColor(gfx::clWindow);
    SetTabStop(true);
}

void TScrollingView::BeginViewPaint(HDC DC) {
    detail::Prepare(FCanvas, DC, Font());
    FCanvas.Brush().SetStyle(gfx::bsSolid);
    FCanvas.Brush().SetColor(Color());
    FCanvas.FillRect(ClientRect());
}

void TScrollingView::EndViewPaint() {
    FCanvas.SetHandle(nullptr);
}

bool TScrollingView::AddSearchChar(char32_t Key) {
    if (Key < 32 || Key == 127) return false;
    const std::int64_t now = detail::NowMs();
    if (now - FSearchTime > detail::kSearchPauseMs) FSearch.clear();
    FSearchTime = now;
    FSearch += gfx::EncodeUtf8(std::u32string(1, Key));
    return true;
}

void TScrollingView::TakeImageList(TCustomImageList*& slot, TMessage& m) {
    m.Result = win::PtrToParam(slot);
    slot = win::ParamToPtr<TCustomImageList>(std::uint64_t(m.LParam));
    if (slot) slot->FreeNotification(this);
}

void TScrollingView::Dispatch(TMessage& m) {
    switch (m.Msg) {
        case win::WM_ERASEBKGND:
            m.Result = 1;  // the paint fills everything
            return;
        case win::WM_GETDLGCODE:
            m.Result = win::DLGC_WANTARROWS | win::DLGC_WANTCHARS;
            return;
        case win::WM_SETFOCUS:
        case win::WM_KILLFOCUS:
        case CM_ENABLEDCHANGED:
            TWinControl::Dispatch(m);
            Invalidate();
            return;
        default:
            TWinControl::Dispatch(m);
    }
}

}  // namespace vcl
