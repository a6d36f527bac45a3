// The drop-down list of a combo box: a list control (TList) as an owner-less top-level tool
// window that never activates, so the combo (TCombo, its owner) keeps the focus and the keys
// while the list is open. Both combo boxes use it; they differ only in the list they drop down
// and in how the list fades in, which each popup gives in PopupFadeIn.
//
// The popup is owned by its combo; the combo's translucency settings are read at each Show.
// Main thread only.
#pragma once

#include <cstdint>

#include "platform/gfx/graphics.h"
#include "platform/vcl/controls.h"
#include "platform/win/win.h"
#include "skin/core/layered_windows.h"
#include "skin/core/system_routines.h"

namespace skin {

template <class TList, class TCombo>
class TbsPopupList : public TList {
public:
    explicit TbsPopupList(vcl::TComponent* AOwner) : TList(AOwner) { this->SetVisible(false); }

    // Shows the popup at the screen point without activating it, layered and faded as the
    // owning combo asks.
    void Show(gfx::TPoint Origin);
    void Hide();
    void Dispatch(vcl::TMessage& Message) override;

    bool FOldAlphaBlend = false;
    std::uint8_t FOldAlphaBlendValue = 0;

protected:
    void CreateParams(vcl::TCreateParams& Params) override;
    // Runs the fade from opacity 0 to the combo's value once the popup is shown.
    virtual void PopupFadeIn(TCombo& combo, win::HWND h) = 0;
};

template <class TList, class TCombo>
void TbsPopupList<TList, TCombo>::CreateParams(vcl::TCreateParams& Params) {
    TList::CreateParams(Params);
    Params.Style = win::WS_POPUP | win::WS_CLIPCHILDREN;
    Params.ExStyle = win::WS_EX_TOOLWINDOW;
    Params.WndParent = {};
    // The window layer has no saved-bits windows; the shadow only where the screen shows one.
    Params.WindowClass.style |= win::CS_SAVEBITS;
    if (OsIsXpUp()) Params.WindowClass.style |= win::CS_DROPSHADOW;
}

template <class TList, class TCombo>
void TbsPopupList<TList, TCombo>::Dispatch(vcl::TMessage& Message) {
    if (Message.Msg == win::WM_MOUSEACTIVATE) {
        Message.Result = win::MA_NOACTIVATE;
        return;
    }
    TList::Dispatch(Message);
}

template <class TList, class TCombo>
void TbsPopupList<TList, TCombo>::Show(gfx::TPoint Origin) {
    this->HandleNeeded();
    const win::HWND h = this->Handle();
    auto* combo = dynamic_cast<TCombo*>(this->Owner());
    if (OsIsW2kUp() && combo) {
        const auto ex = win::DWORD(win::GetWindowLongPtr(h, win::GWL_EXSTYLE));
        if (combo->AlphaBlend() && !FOldAlphaBlend)
            win::SetWindowLongPtr(h, win::GWL_EXSTYLE, ex | win::WS_EX_LAYERED);
        else if (!combo->AlphaBlend() && FOldAlphaBlend)
            win::SetWindowLongPtr(h, win::GWL_EXSTYLE, ex & ~win::WS_EX_LAYERED);
        FOldAlphaBlend = combo->AlphaBlend();
        if (combo->AlphaBlend() && FOldAlphaBlendValue != combo->AlphaBlendValue()) {
            if (combo->AlphaBlendAnimation()) {
                ApplyWindowAlpha(h, 0);
                FOldAlphaBlendValue = 0;
            } else {
                ApplyWindowAlpha(h, combo->AlphaBlendValue());
                FOldAlphaBlendValue = combo->AlphaBlendValue();
            }
        }
    }
    win::SetWindowPos(h, win::HWND_TOP, Origin.X, Origin.Y, 0, 0,
                      win::SWP_NOSIZE | win::SWP_NOACTIVATE | win::SWP_SHOWWINDOW);
    this->SetVisible(true);
    if (OsIsW2kUp() && combo && combo->AlphaBlendAnimation() && combo->AlphaBlend())
        PopupFadeIn(*combo, h);
}

template <class TList, class TCombo>
void TbsPopupList<TList, TCombo>::Hide() {
    if (this->HandleAllocated())
        win::SetWindowPos(this->Handle(), win::HWND_TOP, 0, 0, 0, 0,
                          win::SWP_HIDEWINDOW | win::SWP_NOMOVE | win::SWP_NOSIZE |
                              win::SWP_NOZORDER | win::SWP_NOACTIVATE);
    this->SetVisible(false);
}

}  // namespace skin
