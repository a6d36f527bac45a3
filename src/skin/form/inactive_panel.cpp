#include "skin/form/inactive_panel.h"

#include "platform/vcl/forms.h"
#include "skin/core/glow_text.h"

namespace skin {

TbsClientInActivePanel::TbsClientInActivePanel(vcl::TComponent* AOwner)
    : TbsSkinPaintPanel(AOwner) {
    SetVisible(false);
}

void TbsClientInActivePanel::ShowPanel(vcl::TCustomForm* AForm, TbsClientInActiveEffect AEffect) {
    if (!AForm || !AForm->Visible() || !AForm->HandleAllocated()) return;
    const int w = AForm->ClientWidth(), h = AForm->ClientHeight();
    if (w <= 0 || h <= 0) return;
    SetVisible(false);
    SetParent(AForm);
    SetBounds(0, 0, w, h);

    // What the screen shows now: the client part of the form's top-level surface.
    FBuffer = std::make_unique<TbsBitmap>();
    FBuffer->SetSize(w, h);
    const win::HWND wnd = AForm->Handle();
    win::HWND top = win::GetAncestor(wnd, win::GA_ROOT);
    if (!top) top = wnd;
    if (const gfx::HBITMAP surface = win::GetWindowSurface(top)) {
        win::TRect topRect;
        win::GetWindowRect(top, topRect);
        win::TPoint origin{0, 0};
        win::ClientToScreen(wnd, origin);
        auto dc = gfx::CreateCompatibleDC(nullptr);
        gfx::SelectObject(dc.get(), surface);
        gfx::BitBlt(FBuffer->DC(), 0, 0, w, h, dc.get(), origin.X - topRect.Left,
                    origin.Y - topRect.Top, gfx::SRCCOPY);
    }
    FBuffer->SetAlpha(255);

    if (AEffect == bsieBlur) {
        StackBlurBitmap(*FBuffer, 3);
    } else {
        TbsBitmap background;
        background.SetSize(w, h);
        win::SendMessage(wnd, win::WM_ERASEBKGND, win::DcToParam(background.DC()), 0);
        background.SetAlpha(170);
        background.AlphaBlend = true;
        background.Draw(*FBuffer, 0, 0);
    }
    SetVisible(true);
    BringToFront();
    Invalidate();
}

void TbsClientInActivePanel::HidePanel() {
    SetVisible(false);
    FBuffer.reset();
}

void TbsClientInActivePanel::Paint() {
    if (FBuffer) FBuffer->Draw(Canvas(), 0, 0);
}

}  // namespace skin
