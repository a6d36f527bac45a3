// Sending, posting, the loop's order, filters, timers and the modal loop.
#include <algorithm>
#include <limits>

#include "platform/sys/main_thread.h"
#include "platform/win/caret_private.h"
#include "platform/win/model.h"

namespace win {

using namespace detail;

namespace {

constexpr std::int64_t kMinTimerMicros = 10'000;

}  // namespace

std::uint32_t KeyToChar(int vk, bool shift, bool ctrl, bool caps) {
    if (vk >= 'A' && vk <= 'Z') {
        if (ctrl) return std::uint32_t(vk - 'A' + 1);
        const bool upper = shift != caps;
        return std::uint32_t(upper ? vk : vk - 'A' + 'a');
    }
    if (ctrl) return 0;
    if (vk >= '0' && vk <= '9') return shift ? std::uint32_t(")!@#$%^&*("[vk - '0']) : vk;
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return std::uint32_t('0' + vk - VK_NUMPAD0);
    struct TOem {
        int Key;
        char Plain;
        char Shifted;
    };
    static constexpr TOem kKeys[] = {
        {VK_SPACE, ' ', ' '},     {VK_RETURN, '\r', '\r'},  {VK_BACK, '\b', '\b'},
        {VK_TAB, '\t', '\t'},     {VK_ESCAPE, 0x1B, 0x1B},  {VK_MULTIPLY, '*', '*'},
        {VK_ADD, '+', '+'},       {VK_SUBTRACT, '-', '-'},  {VK_DECIMAL, '.', '.'},
        {VK_DIVIDE, '/', '/'},    {VK_OEM_1, ';', ':'},     {VK_OEM_PLUS, '=', '+'},
        {VK_OEM_COMMA, ',', '<'}, {VK_OEM_MINUS, '-', '_'}, {VK_OEM_PERIOD, '.', '>'},
        {VK_OEM_2, '/', '?'},     {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},
        {VK_OEM_5, '\\', '|'},    {VK_OEM_6, ']', '}'},     {VK_OEM_7, '\'', '"'},
    };
    for (const TOem& k : kKeys)
        if (k.Key == vk) return std::uint32_t(std::uint8_t(shift ? k.Shifted : k.Plain));
    return 0;
}

namespace {

// The earliest due timer, if any is due at `now`.
std::map<std::pair<std::uint32_t, std::uintptr_t>, TTimer>::iterator DueTimer(std::int64_t now) {
    auto& timers = S().Timers;
    auto best = timers.end();
    for (auto it = timers.begin(); it != timers.end(); ++it)
        if (it->second.DueMicros <= now &&
            (best == timers.end() || it->second.DueMicros < best->second.DueMicros))
            best = it;
    return best;
}

bool QueueEmpty() {
    std::lock_guard lock(S().QueueLock);
    return S().Queue.empty() && !S().QuitPosted;
}

bool HasWork() {
    TState& s = S();
    return !s.Translated.empty() || !QueueEmpty() || FindPaintTarget() ||
           DueTimer(NowMicros()) != s.Timers.end();
}

bool Peek(MSG& msg, bool remove, bool takeQuit) {
    TState& s = Ready();
    s.Backend->PollEvents();
    RunHandOvers();
    if (!s.Translated.empty()) {
        msg = s.Translated.front();
        if (remove) s.Translated.pop_front();
        return true;
    }
    for (;;) {
        TQueueItem item;
        {
            std::lock_guard lock(s.QueueLock);
            if (s.Queue.empty()) break;
            item = std::move(s.Queue.front());
            s.Queue.pop_front();
            if (s.Queue.empty()) s.Queue.shrink_to_fit();
        }
        MSG routed;
        if (item.Kind == TItemKind::Message) {
            if (item.Msg.hwnd && !IsWindow(item.Msg.hwnd)) continue;
            routed = item.Msg;
            routed.pt = s.Cursor;
        } else if (item.Kind == TItemKind::VideoRepaint) {
            if (TWindow* w = Get(item.Msg.hwnd)) {
                if (w->VideoHost) w->VideoHost->RepaintHandled();
                InvalidateRect(w->Handle, nullptr, false);
            }
            continue;
        } else if (!RouteItem(item, routed)) {
            continue;
        }
        if (!remove) {
            TQueueItem back;
            back.Msg = routed;
            std::lock_guard lock(s.QueueLock);
            s.Queue.push_front(std::move(back));
        }
        msg = routed;
        return true;
    }
    if (takeQuit) {
        std::lock_guard lock(s.QueueLock);
        if (s.QuitPosted) {
            msg = MSG{};
            msg.message = WM_QUIT;
            msg.wParam = WPARAM(s.QuitCode);
            if (remove) s.QuitPosted = false;
            return true;
        }
    }
    while (TWindow* w = FindPaintTarget()) {
        if (w->FrameDirty) {
            SendNcPaint(w);
            continue;
        }
        if (w->Erase) {
            EraseNow(w);
            continue;
        }
        msg = MSG{};
        msg.hwnd = w->Handle;
        msg.message = WM_PAINT;
        msg.time = NowMicros() / 1000;
        msg.pt = s.Cursor;
        return true;
    }
    const std::int64_t now = NowMicros();
    auto due = DueTimer(now);
    if (due != s.Timers.end()) {
        msg = MSG{};
        msg.hwnd = HWND(due->first.first);
        msg.message = WM_TIMER;
        msg.wParam = WPARAM(due->first.second);
        msg.time = now / 1000;
        msg.pt = s.Cursor;
        if (remove) due->second.DueMicros = now + due->second.IntervalMicros;
        return true;
    }
    return false;
}

}  // namespace

namespace detail {

void RunHandOvers() {
    if (sys::IsMainThread()) sys::CheckSynchronize(0);
}

bool PeekInternal(MSG& msg, bool remove) {
    return Peek(msg, remove, false);
}

void WaitForWork() {
    TState& s = Ready();
    if (HasWork()) return;
    int timeoutMs = -1;
    if (!s.Timers.empty()) {
        std::int64_t next = std::numeric_limits<std::int64_t>::max();
        for (const auto& [key, timer] : s.Timers) next = std::min(next, timer.DueMicros);
        const std::int64_t left = std::max<std::int64_t>(next - NowMicros(), 0);
        timeoutMs = int(std::min<std::int64_t>((left + 999) / 1000, 60'000));
    }
    if (const int caret = CaretTimeoutMs(); caret >= 0)
        timeoutMs = timeoutMs < 0 ? caret : std::min(timeoutMs, caret);
    s.Backend->WaitForEvents(sys::MainThreadWakeFd(), timeoutMs);
}

void KillTimersOf(HWND h) {
    auto& timers = S().Timers;
    auto it = timers.lower_bound({h.Value(), 0});
    while (it != timers.end() && it->first.first == h.Value()) it = timers.erase(it);
}

}  // namespace detail

LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!sys::IsMainThread()) {
        LRESULT result = 0;
        sys::CallInMainThread([&] { result = SendMessage(window, message, wParam, lParam); });
        return result;
    }
    TWindow* w = Get(window);
    return w ? CallChain(w, message, wParam, lParam) : 0;
}

bool PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Other threads can't look at the window table; a dead target is dropped when dequeued.
    if (sys::IsMainThread() && window && !IsWindow(window)) return false;
    TQueueItem item;
    item.Msg.hwnd = window;
    item.Msg.message = message;
    item.Msg.wParam = wParam;
    item.Msg.lParam = lParam;
    item.Msg.time = NowMicros() / 1000;
    {
        std::lock_guard lock(S().QueueLock);
        S().Queue.push_back(std::move(item));
    }
    sys::WakeMainThread();
    return true;
}

void PostQuitMessage(int exitCode) {
    {
        std::lock_guard lock(S().QueueLock);
        S().QuitPosted = true;
        S().QuitCode = exitCode;
    }
    sys::WakeMainThread();
}

bool PeekMessage(MSG& msg, UINT removeFlags) {
    const bool found = Peek(msg, (removeFlags & PM_REMOVE) != 0, true);
    if (!found) FlushDamage();
    return found;
}

bool GetMessage(MSG& msg) {
    for (;;) {
        if (Peek(msg, true, true)) return msg.message != WM_QUIT;
        FlushDamage();
        WaitForWork();
    }
}

void WaitMessage() {
    FlushDamage();
    WaitForWork();
}

bool TranslateMessage(const MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    const auto& keys = S().Keys;
    const bool shift = keys[VK_SHIFT] & 0x80;
    const bool ctrl = keys[VK_CONTROL] & 0x80;
    const bool caps = keys[VK_CAPITAL] & 1;
    const std::uint32_t ch = KeyToChar(int(msg.wParam & 0xFF), shift, ctrl, caps);
    if (!ch) return false;
    MSG c = msg;
    c.message = msg.message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    c.wParam = ch;
    S().Translated.push_back(c);
    return true;
}

LRESULT DispatchMessage(const MSG& msg) {
    TWindow* w = Get(msg.hwnd);
    if (!w) return 0;
    TState& s = S();
    const MSG saved = s.Current;
    s.Current = msg;
    const LRESULT result = CallChain(w, msg.message, msg.wParam, msg.lParam);
    s.Current = saved;
    // A procedure that never validates would get WM_PAINT forever.
    if (msg.message == WM_PAINT)
        if (TWindow* after = Get(msg.hwnd)) {
            after->Update = TRegion();
            after->Erase = false;
        }
    return result;
}

void HandleMessage(const MSG& original) {
    MSG msg = original;
    TState& s = S();
    if (!s.Filters.empty()) {
        std::vector<std::shared_ptr<TMessageFilter>> filters;
        filters.reserve(s.Filters.size());
        for (const TFilterEntry& e : s.Filters) filters.push_back(e.Filter);
        for (const auto& filter : filters)
            if ((*filter)(msg)) {
                // An eaten WM_PAINT must not come back forever.
                if (msg.message == WM_PAINT) ValidateRect(msg.hwnd, nullptr);
                return;
            }
    }
    TranslateMessage(msg);
    DispatchMessage(msg);
}

bool ProcessMessage() {
    MSG msg;
    if (!Peek(msg, true, false)) {
        FlushDamage();
        return false;
    }
    HandleMessage(msg);
    FlushDamage();
    return true;
}

int PumpMessages() {
    int count = 0;
    while (ProcessMessage()) ++count;
    return count;
}

int RunMessageLoop() {
    MSG msg;
    while (GetMessage(msg)) {
        HandleMessage(msg);
        FlushDamage();
    }
    return int(msg.wParam);
}

TPoint GetMessagePos() {
    return S().Current.pt;
}

// --- Timers ----------------------------------------------------------------------------------

std::uintptr_t SetTimer(HWND window, std::uintptr_t id, UINT elapseMs) {
    if (!Get(window) || id == 0) return 0;
    const std::int64_t interval =
        std::max<std::int64_t>(std::int64_t(elapseMs) * 1000, kMinTimerMicros);
    S().Timers[{window.Value(), id}] = TTimer{interval, NowMicros() + interval};
    return id;
}

bool KillTimer(HWND window, std::uintptr_t id) {
    return S().Timers.erase({window.Value(), id}) > 0;
}

// --- Modal loops -------------------------------------------------------------------------------

int RunModalLoop(HWND window) {
    TState& s = Ready();
    TWindow* w = Get(window);
    if (!w) return 0;
    TModal modal;
    modal.Window = window;
    s.Modals.push_back(&modal);

    std::vector<HWND> disabled;
    std::vector<HWND> others;
    for (TWindow* t : s.TopLevels)
        if (t != w && t->Owner != w && !(t->Style & WS_DISABLED)) others.push_back(t->Handle);
    for (HWND h : others)
        if (IsWindow(h)) {
            EnableWindow(h, false);
            disabled.push_back(h);
        }
    TScopeExit leave([&] {
        s.Modals.erase(std::remove(s.Modals.begin(), s.Modals.end(), &modal), s.Modals.end());
        for (auto it = disabled.rbegin(); it != disabled.rend(); ++it)
            if (IsWindow(*it)) EnableWindow(*it, true);
    });
    if (IsWindowVisible(window) && s.Active != window) SetActiveWindow(window);

    while (!modal.Ended && IsWindow(window)) {
        if (ProcessMessage()) continue;
        if (modal.Ended) break;  // a hand-over may have ended it without queuing anything
        {
            std::lock_guard lock(s.QueueLock);
            if (s.QuitPosted) break;
        }
        WaitForWork();
    }
    return modal.Ended ? modal.Result : 0;
}

bool EndModalLoop(HWND window, int result) {
    for (auto it = S().Modals.rbegin(); it != S().Modals.rend(); ++it)
        if ((*it)->Window == window && !(*it)->Ended) {
            (*it)->Ended = true;
            (*it)->Result = result;
            return true;
        }
    return false;
}

bool IsInModalLoop(HWND window) {
    for (TModal* m : S().Modals)
        if (m->Window == window && !m->Ended) return true;
    return false;
}

}  // namespace win
