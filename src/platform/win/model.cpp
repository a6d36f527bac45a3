#include "platform/win/model.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <functional>

#include "platform/sys/clock.h"
#include "platform/sys/main_thread.h"

namespace win {

struct TChainAccess {
    static TNextProc Make(const void* link) { return TNextProc(link); }
};

namespace detail {

class TSink : public TInputSink {
public:
    void MouseInput(TMouseAction action, TMouseButton button, TPoint screen,
                    int wheelDelta) override {
        TQueueItem item;
        item.Kind = TItemKind::Mouse;
        item.Action = action;
        item.Button = button;
        item.Point = screen;
        item.Wheel = wheelDelta;
        Push(std::move(item));
    }
    void KeyInput(int virtualKey, bool down, int repeat) override {
        TQueueItem item;
        item.Kind = TItemKind::Key;
        item.Key = virtualKey & 0xFF;
        item.Down = down;
        item.Repeat = std::max(repeat, 1);
        Push(std::move(item));
    }
    void TextInput(const std::string& utf8) override {
        TQueueItem item;
        item.Kind = TItemKind::Text;
        item.Text = utf8;
        Push(std::move(item));
    }
    void AppDeactivated() override {
        sys::QueueInMainThread([] { DeactivateApplication(); });
    }
    void SystemActivated(HWND window) override {
        sys::QueueInMainThread([window] {
            TWindow* w = Get(window);
            if (w && CanActivate(w)) Activate(w, WA_ACTIVE);
        });
    }
    void SystemShowChanged(HWND window, TSystemShow show) override {
        sys::QueueInMainThread([window, show] { FollowSystemShow(window, show); });
    }

private:
    static void Push(TQueueItem item) {
        {
            std::lock_guard lock(S().QueueLock);
            S().Queue.push_back(std::move(item));
        }
        sys::WakeMainThread();
    }
};

TState::TState() = default;
TState::~TState() = default;

TState& S() {
    static TState state;
    return state;
}

TState& Ready() {
    TState& s = S();
    if (!s.Initialized) Initialize();
    return s;
}

std::int64_t NowMicros() {
    return sys::Clock().NowMicros();
}

TWindow* Get(HWND h) {
    if (!h) return nullptr;
    auto& windows = S().Windows;
    auto it = windows.find(h.Value());
    return it == windows.end() ? nullptr : it->second.get();
}

TWindow* Root(TWindow* w) {
    while (w && w->Parent) w = w->Parent;
    return w;
}

bool IsVisibleChain(const TWindow* w) {
    for (; w; w = w->Parent)
        if (!(w->Style & WS_VISIBLE)) return false;
    return true;
}

TPoint SurfaceOrigin(const TWindow* w) {
    TPoint p{0, 0};
    for (; w->Parent; w = w->Parent) {
        p.X += w->Rect.Left + w->Parent->Client.Left;
        p.Y += w->Rect.Top + w->Parent->Client.Top;
    }
    return p;
}

TPoint WindowScreenOrigin(const TWindow* w) {
    const TWindow* root = w;
    while (root->Parent) root = root->Parent;
    const TPoint s = SurfaceOrigin(w);
    return {root->Rect.Left + s.X, root->Rect.Top + s.Y};
}

TPoint ClientScreenOrigin(const TWindow* w) {
    const TPoint p = WindowScreenOrigin(w);
    return {p.X + w->Client.Left, p.Y + w->Client.Top};
}

namespace {

std::string ClassKey(const std::string& name) {
    std::string key = name;
    for (char& c : key) c = char(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

void InsertTopLevel(TWindow* w) {
    auto& list = S().TopLevels;
    list.erase(std::remove(list.begin(), list.end(), w), list.end());
    auto pos = list.begin();
    if (!(w->ExStyle & WS_EX_TOPMOST))
        pos = std::find_if(list.begin(), list.end(),
                           [](TWindow* o) { return !(o->ExStyle & WS_EX_TOPMOST); });
    list.insert(pos, w);
}

void Unlink(TWindow* w) {
    if (w->Parent) {
        auto& c = w->Parent->Children;
        c.erase(std::remove(c.begin(), c.end(), w), c.end());
        w->Parent = nullptr;
    } else {
        auto& list = S().TopLevels;
        list.erase(std::remove(list.begin(), list.end(), w), list.end());
    }
}

void NotifyParents(TWindow* w, UINT event) {
    if (!w->Parent) return;
    for (TWindow* child = w; child->Parent && !(child->ExStyle & WS_EX_NOPARENTNOTIFY);
         child = child->Parent) {
        Send(child->Parent, WM_PARENTNOTIFY, MAKEWPARAM(int(event), int(w->Id)),
             HwndToParam(w->Handle));
    }
}

void CollectSubtree(TWindow* w, std::vector<std::shared_ptr<TWindow>>& out) {
    out.push_back(S().Windows[w->Handle.Value()]);
    for (TWindow* c : w->Children) CollectSubtree(c, out);
}

bool ContainsWindow(TWindow* ancestor, HWND h) {
    for (TWindow* w = Get(h); w; w = w->Parent)
        if (w == ancestor) return true;
    return false;
}

}  // namespace

LRESULT CallLink(std::shared_ptr<TLink> link, TWindow* w, UINT message, WPARAM wParam,
                 LPARAM lParam) {
    while (link && link->Removed) link = link->Next;
    const HWND h = w->Handle;
    if (!link) return DefWindowProc(h, message, wParam, lParam);
    if (link->Token == 0) {
        const auto cls = w->Class;
        return cls && cls->Proc ? cls->Proc(h, message, wParam, lParam)
                                : DefWindowProc(h, message, wParam, lParam);
    }
    return link->Proc(h, message, wParam, lParam, TChainAccess::Make(link.get()));
}

LRESULT CallChain(TWindow* w, UINT message, WPARAM wParam, LPARAM lParam) {
    // The window stays alive until its procedure returns, even when it destroys itself.
    std::shared_ptr<TWindow> keep = S().Windows[w->Handle.Value()];
    return CallLink(w->Chain, w, message, wParam, lParam);
}

LRESULT Send(TWindow* w, UINT message, WPARAM wParam, LPARAM lParam) {
    return w ? CallChain(w, message, wParam, lParam) : 0;
}

}  // namespace detail

using namespace detail;

LRESULT TNextProc::operator()(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const {
    TWindow* w = Get(window);
    if (!w) return 0;
    const TLink* link = static_cast<const TLink*>(FLink);
    return CallLink(link->Next, w, message, wParam, lParam);
}

// --- Set-up ----------------------------------------------------------------------------------

void Initialize(std::unique_ptr<TBackend> backend) {
    TState& s = S();
    if (s.Initialized) Finalize();
    s.Initialized = true;
    s.Backend = backend ? std::move(backend) : CreateDefaultBackend();
    s.Sink = std::make_unique<TSink>();
    s.Backend->Attach(s.Sink.get());
    sys::SetMessagePump([] { PumpMessages(); });
}

void Finalize() {
    TState& s = S();
    if (!s.Initialized) return;
    for (TModal* modal : s.Modals) modal->Ended = true;
    while (!s.TopLevels.empty()) {
        TWindow* w = s.TopLevels.back();
        if (!DestroyWindow(w->Handle)) break;
    }
    sys::SetMessagePump(nullptr);
    {
        std::lock_guard lock(s.QueueLock);
        s.Queue.clear();
        s.QuitPosted = false;
    }
    s.Windows.clear();
    s.TopLevels.clear();
    s.Translated.clear();
    s.Timers.clear();
    s.Filters.clear();
    s.DCs.clear();
    s.Classes.clear();
    s.Active = s.Focus = s.Capture = s.Hover = HWND();
    s.Keys.fill(0);
    s.LastClick = {};
    s.Current = {};
    s.CursorShape = IDC_ARROW;
    s.DoubleClickMs = 500;
    if (s.Backend) s.Backend->Attach(nullptr);
    s.Backend.reset();
    s.Sink.reset();
    s.Initialized = false;
}

TBackend& Backend() {
    return *Ready().Backend;
}

TBackendCaps GetBackendCaps() {
    return Backend().Capabilities();
}

TWinStats GetWinStats() {
    TState& s = S();
    TWinStats stats;
    stats.Windows = s.Windows.size();
    {
        std::lock_guard lock(s.QueueLock);
        stats.Posted = s.Queue.size() + s.Translated.size();
    }
    stats.Timers = s.Timers.size();
    stats.DCs = s.DCs.size();
    stats.Filters = s.Filters.size();
    stats.ModalLoops = s.Modals.size();
    return stats;
}

// --- Classes ---------------------------------------------------------------------------------

bool RegisterClass(const TWndClass& wndClass) {
    TState& s = Ready();
    const std::string key = ClassKey(wndClass.Name);
    if (key.empty() || s.Classes.count(key)) return false;
    auto cls = std::make_shared<TClass>();
    cls->Name = wndClass.Name;
    cls->Style = wndClass.Style;
    cls->Proc = wndClass.Proc;
    cls->Background = wndClass.Background;
    cls->Cursor = wndClass.Cursor;
    s.Classes[key] = std::move(cls);
    return true;
}

bool UnregisterClass(const std::string& name) {
    return S().Classes.erase(ClassKey(name)) > 0;
}

std::string GetClassName(HWND window) {
    TWindow* w = Get(window);
    return w && w->Class ? w->Class->Name : std::string();
}

DWORD GetClassLong(HWND window, int index) {
    TWindow* w = Get(window);
    return w && index == GCL_STYLE ? w->Class->Style : 0;
}

DWORD SetClassLong(HWND window, int index, DWORD value) {
    TWindow* w = Get(window);
    if (!w || index != GCL_STYLE) return 0;
    const DWORD old = w->Class->Style;
    w->Class->Style = value;
    for (auto& [handle, other] : S().Windows)
        if (other->Class == w->Class && !other->Parent) SyncTopLevel(other.get());
    return old;
}

// --- Windows ---------------------------------------------------------------------------------

HWND CreateWindowEx(DWORD exStyle, const std::string& className, const std::string& text,
                    DWORD style, int x, int y, int width, int height, HWND parent,
                    void* createParams) {
    TState& s = Ready();
    auto cls = s.Classes.find(ClassKey(className));
    if (cls == s.Classes.end()) return {};
    TWindow* parentWindow = Get(parent);
    if ((style & WS_CHILD) && !parentWindow) return {};

    auto holder = std::make_shared<TWindow>();
    TWindow* w = holder.get();
    w->Handle = HWND(s.NextHandle++);
    w->Class = cls->second;
    w->Style = style & ~DWORD(WS_VISIBLE);
    w->ExStyle = exStyle;
    w->Text = text;
    w->Rect = gfx::Bounds(x, y, std::max(width, 0), std::max(height, 0));
    w->NormalRect = w->Rect;
    w->Client = {0, 0, w->Rect.Width(), w->Rect.Height()};
    w->Chain = std::make_shared<TLink>();
    s.Windows[w->Handle.Value()] = holder;
    if (style & WS_CHILD) {
        w->Parent = parentWindow;
        parentWindow->Children.insert(parentWindow->Children.begin(), w);
    } else {
        w->Owner = Root(parentWindow);
        InsertTopLevel(w);
        EnsureSurface(w);
    }
    const HWND h = w->Handle;

    CREATESTRUCT cs;
    cs.lpCreateParams = createParams;
    cs.hwndParent = parent;
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.style = style;
    cs.dwExStyle = exStyle;
    cs.lpszName = text.c_str();
    cs.lpszClass = className.c_str();
    if (!Send(w, WM_NCCREATE, 0, PtrToParam(&cs))) {
        DestroyWindow(h);
        return {};
    }
    if (!(w = Get(h))) return {};
    TRect client = w->Rect;
    Send(w, WM_NCCALCSIZE, 0, PtrToParam(&client));
    if (!(w = Get(h))) return {};
    w->Client = client.Offset(-w->Rect.Left, -w->Rect.Top);
    w->Client.Right = std::max(w->Client.Right, w->Client.Left);
    w->Client.Bottom = std::max(w->Client.Bottom, w->Client.Top);
    if (!w->Parent) {
        SyncTopLevel(w);
        Restack();
    }
    if (Send(w, WM_CREATE, 0, PtrToParam(&cs)) == -1) {
        DestroyWindow(h);
        return {};
    }
    if (!(w = Get(h))) return {};
    NotifyParents(w, WM_CREATE);
    if (!(w = Get(h))) return {};
    const TPoint origin{w->Rect.Left + w->Client.Left, w->Rect.Top + w->Client.Top};
    Send(w, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w->Client.Width(), w->Client.Height()));
    if (!(w = Get(h))) return {};
    Send(w, WM_MOVE, 0, MAKELPARAM(origin.X, origin.Y));
    if (!Get(h)) return {};
    if (style & WS_VISIBLE) ShowWindow(h, SW_SHOW);
    return IsWindow(h) ? h : HWND();
}

bool IsWindow(HWND window) {
    TWindow* w = Get(window);
    return w && !w->Destroyed;
}

bool DestroyWindow(HWND window) {
    TState& s = S();
    TWindow* w = Get(window);
    if (!w || w->Destroying) return false;
    std::shared_ptr<TWindow> keep = s.Windows[window.Value()];
    const bool topLevel = !w->Parent;
    w->Destroying = true;

    // Owned windows go first, as the owner's procedures may still talk to them.
    std::vector<HWND> owned;
    for (TWindow* t : s.TopLevels)
        if (t->Owner == w) owned.push_back(t->Handle);
    for (HWND o : owned) DestroyWindow(o);

    std::vector<std::shared_ptr<TWindow>> subtree;
    CollectSubtree(w, subtree);
    for (auto& d : subtree) d->Destroying = true;

    if (w->Style & WS_VISIBLE) {
        if (w->Parent) {
            const TRegion area = VisibleWindowArea(w, false);
            w->Style &= ~DWORD(WS_VISIBLE);
            InvalidateUnder(Root(w), area);
        } else {
            w->Style &= ~DWORD(WS_VISIBLE);
            SyncTopLevel(w);
        }
    }
    if (ContainsWindow(w, s.Capture)) ReleaseCapture();
    if (ContainsWindow(w, s.Focus)) {
        TWindow* focus = Get(s.Focus);
        s.Focus = HWND();
        Send(focus, WM_KILLFOCUS, 0, 0);
    }
    if (s.Active == window) ActivationLost(w);
    if (Get(window) && w->Parent) NotifyParents(w, WM_DESTROY);

    for (auto& d : subtree)
        if (Get(d->Handle)) Send(d.get(), WM_DESTROY, 0, 0);
    for (auto it = subtree.rbegin(); it != subtree.rend(); ++it)
        if (Get((*it)->Handle)) Send(it->get(), WM_NCDESTROY, 0, 0);

    for (auto& d : subtree) {
        ForgetWindowInput(d.get());
        KillTimersOf(d->Handle);
        ReleaseDCsOf(d.get());
        if (d->VideoHost) d->VideoHost->Detach();
        d->Destroyed = true;
    }
    Unlink(w);
    for (auto& d : subtree) d->Children.clear();
    if (topLevel && s.Backend) s.Backend->RemoveTopLevel(window);
    for (auto& d : subtree) s.Windows.erase(d->Handle.Value());
    for (TWindow* t : s.TopLevels)
        if (t->Owner == w) t->Owner = nullptr;
    return true;
}

TSubclassToken SubclassWindow(HWND window, TSubclassProc proc) {
    TWindow* w = Get(window);
    if (!w || !proc) return 0;
    auto link = std::make_shared<TLink>();
    link->Token = S().NextSubclass++;
    link->Proc = std::move(proc);
    link->Next = w->Chain;
    w->Chain = link;
    return link->Token;
}

bool RemoveSubclass(HWND window, TSubclassToken token) {
    TWindow* w = Get(window);
    if (!w || token == 0) return false;
    std::shared_ptr<TLink>* slot = &w->Chain;
    while (*slot) {
        if ((*slot)->Token == token) {
            (*slot)->Removed = true;
            *slot = (*slot)->Next;  // the removed link keeps its Next for calls inside it
            return true;
        }
        slot = &(*slot)->Next;
    }
    return false;
}

std::intptr_t GetWindowLongPtr(HWND window, int index) {
    TWindow* w = Get(window);
    if (!w) return 0;
    switch (index) {
        case GWL_STYLE:
            return std::intptr_t(w->Style);
        case GWL_EXSTYLE:
            return std::intptr_t(w->ExStyle);
        case GWLP_ID:
            return w->Id;
        case GWLP_USERDATA:
            return w->UserData;
        default:
            return 0;
    }
}

std::intptr_t SetWindowLongPtr(HWND window, int index, std::intptr_t value) {
    TWindow* w = Get(window);
    if (!w) return 0;
    std::intptr_t old = 0;
    switch (index) {
        case GWL_STYLE:
            old = std::intptr_t(w->Style);
            w->Style = DWORD(value);
            break;
        case GWL_EXSTYLE:
            old = std::intptr_t(w->ExStyle);
            w->ExStyle = DWORD(value);
            if (!(w->ExStyle & WS_EX_LAYERED)) {
                w->Layer = TLayerMode::None;
                w->LayerImage.reset();
            }
            break;
        case GWLP_ID:
            old = w->Id;
            w->Id = value;
            return old;
        case GWLP_USERDATA:
            old = w->UserData;
            w->UserData = value;
            return old;
        default:
            return 0;
    }
    if (!w->Parent) SyncTopLevel(w);
    return old;
}

bool SetWindowText(HWND window, const std::string& text) {
    TWindow* w = Get(window);
    return w && Send(w, WM_SETTEXT, 0, PtrToParam(text.c_str())) != 0;
}

std::string GetWindowText(HWND window) {
    TWindow* w = Get(window);
    if (!w) return {};
    const auto length = Send(w, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0) return {};
    std::string text(std::size_t(length) + 1, '\0');
    const auto copied = Send(w, WM_GETTEXT, text.size(), PtrToParam(text.data()));
    text.resize(std::size_t(std::clamp<LRESULT>(copied, 0, length)));
    return text;
}

HWND GetParent(HWND window) {
    TWindow* w = Get(window);
    if (!w) return {};
    if (w->Parent) return w->Parent->Handle;
    return w->Owner ? w->Owner->Handle : HWND();
}

HWND GetAncestor(HWND window, int flags) {
    TWindow* w = Get(window);
    if (!w) return {};
    switch (flags) {
        case GA_PARENT:
            return w->Parent ? w->Parent->Handle : HWND();
        case GA_ROOT:
            return Root(w)->Handle;
        case GA_ROOTOWNER: {
            TWindow* r = Root(w);
            while (r->Owner) r = r->Owner;
            return r->Handle;
        }
        default:
            return {};
    }
}

HWND GetWindow(HWND window, int command) {
    TWindow* w = Get(window);
    if (!w) return {};
    const auto& siblings = w->Parent ? w->Parent->Children : S().TopLevels;
    const auto it = std::find(siblings.begin(), siblings.end(), w);
    switch (command) {
        case GW_HWNDFIRST:
            return siblings.empty() ? HWND() : siblings.front()->Handle;
        case GW_HWNDLAST:
            return siblings.empty() ? HWND() : siblings.back()->Handle;
        case GW_HWNDNEXT:
            return it != siblings.end() && it + 1 != siblings.end() ? (*(it + 1))->Handle : HWND();
        case GW_HWNDPREV:
            return it != siblings.begin() && it != siblings.end() ? (*(it - 1))->Handle : HWND();
        case GW_OWNER:
            return w->Owner ? w->Owner->Handle : HWND();
        case GW_CHILD:
            return w->Children.empty() ? HWND() : w->Children.front()->Handle;
        default:
            return {};
    }
}

HWND GetTopWindow(HWND parent) {
    if (!parent) return S().TopLevels.empty() ? HWND() : S().TopLevels.front()->Handle;
    return GetWindow(parent, GW_CHILD);
}

bool IsChild(HWND parent, HWND window) {
    TWindow* p = Get(parent);
    TWindow* w = Get(window);
    if (!p || !w) return false;
    for (w = w->Parent; w; w = w->Parent)
        if (w == p) return true;
    return false;
}

HWND SetParent(HWND window, HWND newParent) {
    TWindow* w = Get(window);
    TWindow* p = Get(newParent);
    if (!w || (newParent && !p)) return {};
    for (TWindow* a = p; a; a = a->Parent)
        if (a == w) return {};  // into its own subtree
    const HWND old = w->Parent ? w->Parent->Handle : HWND();
    const bool visible = (w->Style & WS_VISIBLE) != 0;
    if (w->Parent) {
        if (visible) InvalidateUnder(Root(w), VisibleWindowArea(w, false));
    } else {
        if (S().Active == window) ActivationLost(w);
        if (S().Backend) S().Backend->RemoveTopLevel(window);
        w->Surface.reset();
    }
    Unlink(w);
    if (p) {
        w->Parent = p;
        w->Owner = nullptr;
        w->Style |= WS_CHILD;
        p->Children.insert(p->Children.begin(), w);
        if (visible) InvalidateWindow(w, true, true, true);
    } else {
        w->Style &= ~DWORD(WS_CHILD);
        InsertTopLevel(w);
        EnsureSurface(w);
        InvalidateWindow(w, true, true, true);
        SyncTopLevel(w);
        Restack();
    }
    return old;
}

// --- Registered messages and filters --------------------------------------------------------

UINT RegisterWindowMessage(const std::string& name) {
    if (name.empty()) return 0;
    TState& s = S();
    auto [it, added] = s.Registered.try_emplace(ClassKey(name), s.NextRegistered);
    if (added) ++s.NextRegistered;
    return it->second;
}

TFilterToken AddMessageFilter(TMessageFilter filter) {
    if (!filter) return 0;
    TState& s = S();
    const TFilterToken token = s.NextFilter++;
    s.Filters.push_back({token, std::make_shared<TMessageFilter>(std::move(filter))});
    return token;
}

bool RemoveMessageFilter(TFilterToken token) {
    auto& filters = S().Filters;
    auto it = std::find_if(filters.begin(), filters.end(),
                           [&](const TFilterEntry& e) { return e.Token == token; });
    if (it == filters.end()) return false;
    filters.erase(it);
    return true;
}

}  // namespace win
