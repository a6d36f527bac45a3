// The notification area: one icon per (window, id) with a 16 x 16 image, a tip and a balloon,
// kept by a host behind a narrow interface. Shell_NotifyIcon talks to the host; what the host
// reports (pointer moves, button presses and releases, a left double click, balloon clicks) goes
// back to the icon's window as its callback message, with the mouse message in lParam and the
// cursor already at the event's point. When the area comes back, every top-level window gets the
// registered "TaskbarCreated" message.
//
// The null host is the default and refuses everything; no desktop host exists, since the
// application keeps its icon hidden. Tests install a host that records calls and injects events.
// Main thread only.
#pragma once

#include <memory>
#include <string>

#include "platform/gfx/graphics.h"
#include "platform/win/types.h"

namespace win {

inline constexpr DWORD NIM_ADD = 0;
inline constexpr DWORD NIM_MODIFY = 1;
inline constexpr DWORD NIM_DELETE = 2;
inline constexpr UINT NIF_MESSAGE = 0x01;
inline constexpr UINT NIF_ICON = 0x02;
inline constexpr UINT NIF_TIP = 0x04;
inline constexpr UINT NIF_INFO = 0x10;
inline constexpr DWORD NIIF_NONE = 0;
inline constexpr DWORD NIIF_INFO = 1;
inline constexpr DWORD NIIF_WARNING = 2;
inline constexpr DWORD NIIF_ERROR = 3;
inline constexpr UINT NIN_BALLOONUSERCLICK = WM_USER + 5;

// The record handed to Shell_NotifyIcon: a plain value. Texts are UTF-8; the caller keeps them
// within kTipChars, kInfoChars and kInfoTitleChars code points.
struct NOTIFYICONDATA {
    static constexpr int kTipChars = 127;
    static constexpr int kInfoChars = 255;
    static constexpr int kInfoTitleChars = 63;
    UINT cbSize = 956;
    HWND Wnd;
    UINT uID = 0;
    UINT uFlags = 0;
    UINT uCallbackMessage = 0;
    gfx::TImage hIcon;  // 16 x 16; empty: no image
    std::string szTip;
    std::string szInfo;
    std::string szInfoTitle;
    DWORD dwInfoFlags = NIIF_NONE;
};

// Which icon of the area: its window and id.
struct TTrayIconKey {
    HWND Wnd;
    UINT ID = 0;
    bool operator==(const TTrayIconKey&) const = default;
};

// What a host does for Shell_NotifyIcon; every call answers whether it worked.
class TTrayHost {
public:
    virtual ~TTrayHost() = default;
    virtual bool AddIcon(const TTrayIconKey& key, const gfx::TImage& image,
                         const std::string& tip) = 0;
    virtual bool ModifyIcon(const TTrayIconKey& key, const gfx::TImage& image,
                            const std::string& tip) = 0;
    virtual bool DeleteIcon(const TTrayIconKey& key) = 0;
    // kind: 0 none, 1 information, 2 warning, 3 error.
    virtual bool ShowBalloon(const TTrayIconKey& key, const std::string& title,
                             const std::string& text, DWORD kind) = 0;
    virtual bool HideBalloon(const TTrayIconKey& key) = 0;
};

// Installs a host (nullptr: the null host); icons of the previous host are forgotten.
void SetTrayHost(std::unique_ptr<TTrayHost> host);
TTrayHost& GetTrayHost();

// NIM_ADD, NIM_MODIFY or NIM_DELETE. A modify with NIF_INFO also shows the balloon, or hides it
// when szInfo is empty. The answer is the host's.
bool Shell_NotifyIcon(DWORD message, const NOTIFYICONDATA& data);

// --- The host's side ----------------------------------------------------------------------------

enum class TTrayEvent {
    Move,
    LeftDown,
    LeftUp,
    LeftDoubleClick,
    RightDown,
    RightUp,
    MiddleDown,
    MiddleUp,
    BalloonClick
};
// Puts the cursor at `screen` and sends the icon's window its callback message; nothing for an
// icon that is not in the area.
void TrayIconEvent(const TTrayIconKey& key, TTrayEvent event, TPoint screen);
// The area (re)appeared: "TaskbarCreated" to every top-level window.
void TrayAreaCreated();

}  // namespace win
