#include "platform/win/tray_host.h"

#include <algorithm>
#include <vector>

#include "platform/win/model.h"

namespace win {
namespace {

class TNullTrayHost : public TTrayHost {
public:
    bool AddIcon(const TTrayIconKey&, const gfx::TImage&, const std::string&) override {
        return false;
    }
    bool ModifyIcon(const TTrayIconKey&, const gfx::TImage&, const std::string&) override {
        return false;
    }
    bool DeleteIcon(const TTrayIconKey&) override { return false; }
    bool ShowBalloon(const TTrayIconKey&, const std::string&, const std::string&, DWORD) override {
        return false;
    }
    bool HideBalloon(const TTrayIconKey&) override { return false; }
};

struct TAreaIcon {
    TTrayIconKey Key;
    UINT CallbackMessage = 0;
};

struct TTrayState {
    std::unique_ptr<TTrayHost> Host = std::make_unique<TNullTrayHost>();
    std::vector<TAreaIcon> Icons;  // what the host took
};

TTrayState& Tray() {
    static TTrayState state;
    return state;
}

TAreaIcon* FindIcon(const TTrayIconKey& key) {
    auto& icons = Tray().Icons;
    auto it = std::find_if(icons.begin(), icons.end(),
                           [&](const TAreaIcon& icon) { return icon.Key == key; });
    return it == icons.end() ? nullptr : &*it;
}

UINT MouseMessageOf(TTrayEvent event) {
    switch (event) {
        case TTrayEvent::Move:
            return WM_MOUSEMOVE;
        case TTrayEvent::LeftDown:
            return WM_LBUTTONDOWN;
        case TTrayEvent::LeftUp:
            return WM_LBUTTONUP;
        case TTrayEvent::LeftDoubleClick:
            return WM_LBUTTONDBLCLK;
        case TTrayEvent::RightDown:
            return WM_RBUTTONDOWN;
        case TTrayEvent::RightUp:
            return WM_RBUTTONUP;
        case TTrayEvent::MiddleDown:
            return WM_MBUTTONDOWN;
        case TTrayEvent::MiddleUp:
            return WM_MBUTTONUP;
        case TTrayEvent::BalloonClick:
            return NIN_BALLOONUSERCLICK;
    }
    return WM_NULL;
}

}  // namespace

void SetTrayHost(std::unique_ptr<TTrayHost> host) {
    Tray().Host = host ? std::move(host) : std::make_unique<TNullTrayHost>();
    Tray().Icons.clear();
}

TTrayHost& GetTrayHost() {
    return *Tray().Host;
}

bool Shell_NotifyIcon(DWORD message, const NOTIFYICONDATA& data) {
    TTrayState& tray = Tray();
    const TTrayIconKey key{data.Wnd, data.uID};
    const gfx::TImage none;
    const gfx::TImage& image = data.uFlags & NIF_ICON ? data.hIcon : none;
    const std::string tip = data.uFlags & NIF_TIP ? data.szTip : std::string();
    switch (message) {
        case NIM_ADD: {
            if (FindIcon(key) || !tray.Host->AddIcon(key, image, tip)) return false;
            tray.Icons.push_back({key, data.uFlags & NIF_MESSAGE ? data.uCallbackMessage : 0});
            return true;
        }
        case NIM_MODIFY: {
            bool ok = tray.Host->ModifyIcon(key, image, tip);
            if (data.uFlags & NIF_INFO)
                ok =
                    (data.szInfo.empty() ? tray.Host->HideBalloon(key)
                                         : tray.Host->ShowBalloon(key, data.szInfoTitle,
                                                                  data.szInfo, data.dwInfoFlags)) &&
                    ok;
            if (ok && (data.uFlags & NIF_MESSAGE))
                if (TAreaIcon* icon = FindIcon(key)) icon->CallbackMessage = data.uCallbackMessage;
            return ok;
        }
        case NIM_DELETE: {
            if (!tray.Host->DeleteIcon(key)) return false;
            auto& icons = tray.Icons;
            std::erase_if(icons, [&](const TAreaIcon& icon) { return icon.Key == key; });
            return true;
        }
        default:
            return false;
    }
}

void TrayIconEvent(const TTrayIconKey& key, TTrayEvent event, TPoint screen) {
    const TAreaIcon* icon = FindIcon(key);
    if (!icon || !icon->CallbackMessage || !IsWindow(key.Wnd)) return;
    const UINT callback = icon->CallbackMessage;
    SetCursorPos(screen.X, screen.Y);
    SendMessage(key.Wnd, callback, WPARAM(key.ID), LPARAM(MouseMessageOf(event)));
}

void TrayAreaCreated() {
    // A new area holds no icons: their owners add them again.
    Tray().Icons.clear();
    const UINT message = RegisterWindowMessage("TaskbarCreated");
    std::vector<HWND> windows;
    for (const detail::TWindow* w : detail::Ready().TopLevels) windows.push_back(w->Handle);
    // A handler may destroy windows: each is looked up again before it is sent to.
    for (HWND h : windows)
        if (IsWindow(h)) SendMessage(h, message, 0, 0);
}

}  // namespace win
