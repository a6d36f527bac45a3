// The clipboard through the CLIPBOARD selection, and the monitors with their work areas.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>

#include <poll.h>

#include "platform/sys/main_thread.h"
#include "platform/win/win.h"
#include "platform/win/x11_keymap.h"
#include "platform/win/x11_private.h"

#include <X11/Xatom.h>
#include <X11/extensions/Xrandr.h>

namespace win {

using namespace x11;

namespace {

// How long a clipboard owner may take to answer; another program, so it can hang.
constexpr int kSelectionWaitMs = 2000;
constexpr std::size_t kMaxClipboardBytes = 64u << 20;

std::string Latin1ToUtf8(const std::string& text) {
    std::string out;
    for (char c : text) AppendUtf8(out, static_cast<unsigned char>(c));
    return out;
}

std::string Utf8ToLatin1(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (b < 0x80) {
            out += char(b);
            ++i;
            continue;
        }
        const std::size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
        const std::uint32_t cp = SingleCodePoint(text.substr(i, length));
        out += cp && cp < 0x100 ? char(cp) : '?';
        i += length;
    }
    return out;
}

}  // namespace

// --- Clipboard ------------------------------------------------------------------------------

Window TX11Backend::TImpl::EnsureHelper() {
    if (!Helper) {
        XSetWindowAttributes a{};
        a.event_mask = PropertyChangeMask;
        Helper = XCreateWindow(Dpy, Root, -10, -10, 1, 1, 0, CopyFromParent, InputOnly,
                               CopyFromParent, CWEventMask, &a);
    }
    return Helper;
}

void TX11Backend::TImpl::AnswerSelection(const XSelectionRequestEvent& r) {
    XSelectionEvent reply{};
    reply.type = SelectionNotify;
    reply.display = Dpy;
    reply.requestor = r.requestor;
    reply.selection = r.selection;
    reply.target = r.target;
    reply.time = r.time;
    reply.property = kNone;
    const Atom property = r.property != kNone ? r.property : r.target;
    const long limit = std::max(XExtendedMaxRequestSize(Dpy), XMaxRequestSize(Dpy)) * 4 - 64;
    if (r.selection == A(aCLIPBOARD) && Clipboard) {
        if (r.target == A(aTARGETS)) {
            const unsigned long targets[] = {A(aTARGETS), A(aUTF8_STRING), A(aTEXT), XA_STRING};
            XChangeProperty(Dpy, r.requestor, property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(targets), 4);
            reply.property = property;
        } else if (r.target == A(aUTF8_STRING) || r.target == A(aTEXT) || r.target == XA_STRING) {
            const bool latin1 = r.target == XA_STRING;
            const std::string bytes = latin1 ? Utf8ToLatin1(*Clipboard) : *Clipboard;
            if (long(bytes.size()) <= limit) {
                XChangeProperty(Dpy, r.requestor, property, latin1 ? XA_STRING : A(aUTF8_STRING), 8,
                                PropModeReplace,
                                reinterpret_cast<const unsigned char*>(bytes.data()),
                                int(bytes.size()));
                reply.property = property;
            }
        }
    }
    XSendEvent(Dpy, r.requestor, False, 0, reinterpret_cast<XEvent*>(&reply));
}

// Waits for one event of `type` on `window`, leaving every other event queued.
bool TX11Backend::TImpl::WaitFor(Window window, int type, XEvent& ev, int ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        if (XCheckTypedWindowEvent(Dpy, window, type, &ev)) return true;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) return false;
        pollfd fd{ConnectionNumber(Dpy), POLLIN, 0};
        if (poll(&fd, 1, int(left)) < 0 && errno != EINTR) return false;
    }
}

std::optional<std::string> TX11Backend::TImpl::ReadSelection(Atom target) {
    const Atom property = A(aMORADEX_SELECTION);
    XDeleteProperty(Dpy, Helper, property);
    XConvertSelection(Dpy, A(aCLIPBOARD), target, property, Helper, CurrentTime);
    XEvent ev;
    if (!WaitFor(Helper, SelectionNotify, ev, kSelectionWaitMs)) return std::nullopt;
    if (ev.xselection.property == kNone) return std::nullopt;
    auto take = [&](std::string& out, Atom& type) {
        int format;
        unsigned long count, after;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(Dpy, Helper, property, 0, LONG_MAX / 4, True, AnyPropertyType, &type,
                               &format, &count, &after, &data) != Success)
            return false;
        if (data && format == 8) out.assign(reinterpret_cast<char*>(data), count);
        if (data) XFree(data);
        return true;
    };
    std::string text;
    Atom type = 0;
    if (!take(text, type)) return std::nullopt;
    if (type == A(aINCR)) {
        // A big text comes in pieces, each announced by a new value of the property.
        text.clear();
        for (;;) {
            if (!WaitFor(Helper, PropertyNotify, ev, kSelectionWaitMs)) return std::nullopt;
            if (ev.xproperty.atom != property || ev.xproperty.state != PropertyNewValue) continue;
            std::string piece;
            if (!take(piece, type)) return std::nullopt;
            if (type == kNone) continue;  // news of a value we already took
            if (piece.empty()) break;
            text += piece;
            if (text.size() > kMaxClipboardBytes) return std::nullopt;
        }
    }
    return target == XA_STRING ? Latin1ToUtf8(text) : text;
}

// --- Monitors -------------------------------------------------------------------------------

void TX11Backend::TImpl::ReadMonitors() {
    std::vector<TMonitor> monitors;
    if (HasMonitors) {
        int count = 0;
        if (XRRMonitorInfo* info = XRRGetMonitors(Dpy, Root, True, &count)) {
            for (int i = 0; i < count; ++i)
                monitors.push_back(
                    {gfx::Bounds(info[i].x, info[i].y, info[i].width, info[i].height),
                     {},
                     info[i].primary != 0});
            XRRFreeMonitors(info);
        }
    }
    if (monitors.empty())
        monitors.push_back(
            {{0, 0, DisplayWidth(Dpy, Screen), DisplayHeight(Dpy, Screen)}, {}, true});
    if (std::none_of(monitors.begin(), monitors.end(), [](const TMonitor& m) { return m.Primary; }))
        monitors.front().Primary = true;

    auto cardinals = [&](Atom name) {
        std::vector<long> out;
        Atom type;
        int format;
        unsigned long count, after;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(Dpy, Root, name, 0, 1024, False, XA_CARDINAL, &type, &format, &count,
                               &after, &data) == Success &&
            data && format == 32)
            out.assign(reinterpret_cast<long*>(data), reinterpret_cast<long*>(data) + count);
        if (data) XFree(data);
        return out;
    };
    const auto desktop = cardinals(A(a_NET_CURRENT_DESKTOP));
    const auto areas = cardinals(A(a_NET_WORKAREA));
    const std::size_t index = desktop.empty() ? 0 : std::size_t(desktop[0]);
    for (TMonitor& m : monitors) {
        m.WorkArea = m.Bounds;
        if (areas.size() >= 4 * (index + 1)) {
            const long* a = &areas[4 * index];
            const TRect work = gfx::IntersectRect(
                m.Bounds, gfx::Bounds(int(a[0]), int(a[1]), int(a[2]), int(a[3])));
            if (!work.IsEmpty()) m.WorkArea = work;
        }
    }
    MonitorCache = std::move(monitors);
    MonitorsValid = true;
}

void TX11Backend::TImpl::MonitorsChanged() {
    MonitorsValid = false;
    sys::QueueInMainThread([alive = std::weak_ptr<int>(Alive)] {
        if (!alive.expired()) DisplayChanged();
    });
}

}  // namespace win
