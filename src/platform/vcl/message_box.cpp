#include "platform/vcl/message_box.h"

#include <algorithm>
#include <vector>

#include "platform/gfx/icons.h"
#include "platform/vcl/forms.h"
#include "platform/vcl/menus.h"
#include "platform/win/win.h"

namespace vcl {

namespace {

// The box's look: a white message area over a strip of buttons.
constexpr int kMargin = 16;
constexpr int kIconGap = 12;
constexpr int kTextMaxWidth = 360;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;
constexpr int kStripPad = 11;
constexpr const char* kMessageFont = "宋体";
constexpr int kMessageFontHeight = -12;

// The captions a Chinese desktop shows on these buttons.
constexpr struct {
    int Answer;
    const char* Caption;
} kCaptions[] = {
    {win::IDOK, "确定"},        {win::IDCANCEL, "取消"},     {win::IDABORT, "中止(&A)"},
    {win::IDRETRY, "重试(&R)"}, {win::IDIGNORE, "忽略(&I)"}, {win::IDYES, "是(&Y)"},
    {win::IDNO, "否(&N)"},
};

const char* CaptionOf(int answer) {
    for (const auto& c : kCaptions)
        if (c.Answer == answer) return c.Caption;
    return "";
}

std::vector<int> AnswersOf(UINT type) {
    using namespace win;
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL:
            return {IDOK, IDCANCEL};
        case MB_ABORTRETRYIGNORE:
            return {IDABORT, IDRETRY, IDIGNORE};
        case MB_YESNOCANCEL:
            return {IDYES, IDNO, IDCANCEL};
        case MB_YESNO:
            return {IDYES, IDNO};
        case MB_RETRYCANCEL:
            return {IDRETRY, IDCANCEL};
        default:
            return {IDOK};
    }
}

// What Esc and the close button answer; 0 when the box has no such answer.
int CancelAnswer(const std::vector<int>& answers) {
    if (answers.size() == 1) return answers.front();
    return std::find(answers.begin(), answers.end(), win::IDCANCEL) != answers.end() ? win::IDCANCEL
                                                                                     : 0;
}

constexpr struct {
    UINT Flag;
    int Icon;
} kIcons[] = {
    {win::MB_ICONHAND, gfx::IDI_HAND},
    {win::MB_ICONQUESTION, gfx::IDI_QUESTION},
    {win::MB_ICONEXCLAMATION, gfx::IDI_EXCLAMATION},
    {win::MB_ICONASTERISK, gfx::IDI_ASTERISK},
};

int IconOf(UINT flags) {
    for (const auto& i : kIcons)
        if ((flags & win::MB_ICONMASK) == i.Flag) return i.Icon;
    return 0;
}

class TBoxButton : public TCustomControl {
public:
    TBoxButton(TComponent* owner, int answer, bool isDefault, bool isCancel)
        : TCustomControl(owner), FAnswer(answer), FDefault(isDefault), FCancel(isCancel) {
        SetCaption(CaptionOf(answer));
        SetTabStop(true);
        SetControlStyle(ControlStyle() + csOpaque);
    }

    void Click() override {
        TCustomControl::Click();
        if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(FAnswer);
    }

protected:
    void Paint() override {
        gfx::TCanvas& c = Canvas();
        TRect r = ClientRect();
        const bool focused = Focused();
        // The focused button, or the default one while no button has the focus, wears the
        // dark outline of the button that Enter presses.
        const bool marked = focused || (FDefault && !OtherButtonFocused());
        c.Brush().SetColor(gfx::clBtnFace);
        c.FillRect(r);
        if (marked) {
            c.Brush().SetColor(gfx::cl3DDkShadow);
            c.FrameRect(r);
            r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
        }
        if (FPressed) {
            c.Brush().SetColor(gfx::clBtnShadow);
            c.FrameRect(r);
        } else {
            gfx::Frame3D(c, r, gfx::clBtnHighlight, gfx::cl3DDkShadow, 1);
            gfx::Frame3D(c, r, gfx::cl3DLight, gfx::clBtnShadow, 1);
        }
        TRect text = ClientRect();
        if (FPressed) text = text.Offset(1, 1);
        c.Font().Assign(Font());
        c.Brush().SetStyle(gfx::bsClear);
        c.DrawText(Caption(), text, gfx::DT_CENTER | gfx::DT_VCENTER | gfx::DT_SINGLELINE);
        if (focused) c.DrawFocusRect({4, 4, Width() - 4, Height() - 4});
    }

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override {
        if (button == mbLeft) {
            if (CanFocus()) SetFocus();
            SetPressed(true);
        }
        TCustomControl::MouseDown(button, shift, x, y);
    }

    void MouseMove(TShiftState shift, int x, int y) override {
        if (MouseCapture()) SetPressed(ClientRect().Contains(x, y));
        TCustomControl::MouseMove(shift, x, y);
    }

    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override {
        SetPressed(false);
        TCustomControl::MouseUp(button, shift, x, y);
    }

    void KeyDown(int& key, TShiftState shift) override {
        if (key == win::VK_SPACE) SetPressed(true);
        TCustomControl::KeyDown(key, shift);
    }

    void KeyUp(int& key, TShiftState shift) override {
        if (key == win::VK_SPACE && FPressed) {
            SetPressed(false);
            Click();
        }
        TCustomControl::KeyUp(key, shift);
    }

    void Dispatch(TMessage& m) override {
        switch (m.Msg) {
            case win::WM_GETDLGCODE:
                m.Result = win::DLGC_BUTTON;
                return;
            case CM_DIALOGKEY:
                if ((m.WParam == win::VK_RETURN &&
                     (Focused() || (FDefault && !OtherButtonFocused()))) ||
                    (m.WParam == win::VK_ESCAPE && FCancel)) {
                    Click();
                    m.Result = 1;
                    return;
                }
                break;
            case CM_DIALOGCHAR:
                if (IsAccel(int(m.WParam), Caption())) {
                    Click();
                    m.Result = 1;
                    return;
                }
                break;
            case CM_FOCUSCHANGED:
            case CM_ENTER:
            case CM_EXIT:
                Invalidate();
                break;
            default:
                break;
        }
        TCustomControl::Dispatch(m);
    }

private:
    bool OtherButtonFocused() const {
        TWinControl* focus = FindControl(win::GetFocus());
        return focus && focus != this && dynamic_cast<TBoxButton*>(focus);
    }
    void SetPressed(bool value) {
        if (value == FPressed) return;
        FPressed = value;
        Repaint();
    }

    int FAnswer;
    bool FDefault;
    bool FCancel;
    bool FPressed = false;
};

class TMessageBoxForm : public TCustomForm {
public:
    TMessageBoxForm(HWND owner, const std::string& text, const std::string& caption, UINT flags)
        : TCustomForm(nullptr), FOwnerWindow(owner), FText(text) {
        const std::vector<int> answers = AnswersOf(flags);
        FCancelAnswer = CancelAnswer(answers);
        SetBorderStyle(bsDialog);
        SetBorderIcons(FCancelAnswer ? TBorderIcons{biSystemMenu} : TBorderIcons{});
        SetCaption(caption.empty() ? "错误" : caption);
        SetColor(gfx::clWindow);
        Font().SetName(kMessageFont);
        Font().SetHeight(kMessageFontHeight);
        Font().SetColor(gfx::clWindowText);
        if (const int id = IconOf(flags)) FIcon = gfx::LoadIcon(0, id);

        // Measure the text, then lay out the box around it.
        gfx::TDC scratch;
        gfx::SelectObject(&scratch, Font().Handle());
        TRect measured{0, 0, kTextMaxWidth, 0};
        gfx::DrawText(&scratch, FText, measured,
                      gfx::DT_CALCRECT | gfx::DT_WORDBREAK | gfx::DT_NOPREFIX | gfx::DT_EXPANDTABS);
        const int iconSize = FIcon ? gfx::kIconSize : 0;
        const int textLeft = kMargin + (FIcon ? iconSize + kIconGap : 0);
        const int contentHeight = std::max(iconSize, measured.Height());
        const int textTop = kMargin + (contentHeight - measured.Height()) / 2;
        FTextRect = gfx::Bounds(textLeft, textTop, measured.Width(), measured.Height());
        FIconTop = kMargin + (contentHeight - iconSize) / 2;
        const int buttonsWidth =
            int(answers.size()) * kButtonWidth + (int(answers.size()) - 1) * kButtonGap;
        const int clientWidth =
            std::max({textLeft + measured.Width() + kMargin, buttonsWidth + 2 * 12, 180});
        FStripTop = kMargin + contentHeight + kMargin;
        const int clientHeight = FStripTop + kButtonHeight + 2 * kStripPad;
        SetClientWidth(clientWidth);
        SetClientHeight(clientHeight);

        const int defaultIndex =
            std::min(int((flags & win::MB_DEFMASK) >> 8), int(answers.size()) - 1);
        int x = clientWidth - 12 - buttonsWidth;
        for (std::size_t i = 0; i < answers.size(); ++i) {
            auto* button = new TBoxButton(this, answers[i], int(i) == defaultIndex,
                                          answers[i] == FCancelAnswer && FCancelAnswer);
            button->SetBounds(x, FStripTop + kStripPad, kButtonWidth, kButtonHeight);
            button->SetParent(this);
            if (int(i) == defaultIndex) SetActiveControl(button);
            x += kButtonWidth + kButtonGap;
        }
        PlaceOverOwner();
    }

    const std::string& MessageText() const { return FText; }

protected:
    void CreateParams(TCreateParams& p) override {
        TCustomForm::CreateParams(p);
        p.WndParent = FOwnerWindow ? win::GetAncestor(FOwnerWindow, win::GA_ROOT) : HWND();
    }

    void Paint() override {
        gfx::TCanvas& c = Canvas();
        c.Brush().SetColor(gfx::clBtnFace);
        c.FillRect({0, FStripTop, ClientWidth(), ClientHeight()});
        c.Brush().SetColor(gfx::cl3DLight);
        c.FillRect({0, FStripTop, ClientWidth(), FStripTop + 1});
        if (FIcon)
            gfx::DrawIconEx(c.Handle(), kMargin, FIconTop, FIcon, 0, 0, 0, nullptr, gfx::DI_NORMAL);
        c.Font().Assign(Font());
        c.Brush().SetStyle(gfx::bsClear);
        TRect r = FTextRect;
        c.DrawText(FText, r, gfx::DT_WORDBREAK | gfx::DT_NOPREFIX | gfx::DT_EXPANDTABS);
    }

    void Dispatch(TMessage& m) override {
        if (m.Msg == win::WM_CLOSE) {
            // Only a box with a cancelling answer can be closed without a button.
            if (FCancelAnswer) SetModalResult(FCancelAnswer);
            return;
        }
        TCustomForm::Dispatch(m);
    }

private:
    void PlaceOverOwner() {
        TRect area;
        const HWND root = FOwnerWindow ? win::GetAncestor(FOwnerWindow, win::GA_ROOT) : HWND();
        if (root && win::IsWindowVisible(root)) {
            win::GetWindowRect(root, area);
        } else {
            win::MONITORINFO info;
            win::GetMonitorInfo(win::MonitorFromPoint({0, 0}, win::MONITOR_DEFAULTTOPRIMARY), info);
            area = info.rcWork;
        }
        SetBounds(area.Left + (area.Width() - Width()) / 2,
                  area.Top + (area.Height() - Height()) / 2, Width(), Height());
    }

    HWND FOwnerWindow;
    std::string FText;
    gfx::HICON FIcon;
    int FCancelAnswer = 0;
    TRect FTextRect;
    int FIconTop = 0;
    int FStripTop = 0;
};

}  // namespace

std::string MessageBoxText(HWND window) {
    const auto* box = dynamic_cast<const TMessageBoxForm*>(FindControl(window));
    return box ? box->MessageText() : std::string();
}

int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
    TMessageBoxForm* box = new TMessageBoxForm(owner, text, caption, flags);
    int answer = 0;
    try {
        win::MessageBeep(flags & win::MB_ICONMASK);
        answer = box->ShowModal();
    } catch (...) {
        FreeAndNil(box);
        throw;
    }
    FreeAndNil(box);
    return answer;
}

}  // namespace vcl
