// The plain popup menu: one popup window per open level, tracked in a nested loop that holds the
// mouse capture and reads the keys itself.
#include <algorithm>
#include <memory>
#include <vector>

#include "platform/vcl/img_list.h"
#include "platform/vcl/menus.h"
#include "platform/win/win.h"

namespace vcl {

namespace {

constexpr int kItemHeight = 20;
constexpr int kLineHeight = 8;
constexpr int kGlyphColumn = 22;
constexpr int kArrowColumn = 18;
constexpr int kShortCutGap = 24;
constexpr int kMinWidth = 80;

bool Selectable(const TMenuItem* item) {
    return !item->IsLine();
}

class TPopupLevel : public TCustomControl {
public:
    TPopupLevel(TMenuItem* parent, TCustomImageList* images)
        : TCustomControl(nullptr), FParentItem(parent), FImages(images) {
        SetVisible(false);
        SetColor(gfx::clMenu);
        Font().SetColor(gfx::clMenuText);
        for (int i = 0; i < parent->Count(); ++i)
            if (parent->Items(i)->Visible()) FItems.push_back(parent->Items(i));
        Layout();
    }

    TMenuItem* ParentItem() const { return FParentItem; }
    int Count() const { return int(FItems.size()); }
    TMenuItem* Item(int index) const {
        return index >= 0 && index < Count() ? FItems[std::size_t(index)] : nullptr;
    }
    int Selected() const { return FSelected; }
    TRect ItemRect(int index) const { return FRects[std::size_t(index)]; }

    void Select(int index) {
        if (index == FSelected) return;
        FSelected = index;
        if (HandleAllocated()) Repaint();
    }

    // The next selectable item from the current one, wrapping around.
    void Step(bool down) {
        for (int n = 1; n <= Count(); ++n) {
            const int i =
                ((FSelected < 0 ? (down ? -1 : 0) : FSelected) + (down ? n : -n) + 2 * Count()) %
                Count();
            if (Selectable(FItems[std::size_t(i)])) {
                Select(i);
                return;
            }
        }
    }

    int ItemAt(TPoint client) const {
        for (int i = 0; i < Count(); ++i)
            if (FRects[std::size_t(i)].Contains(client.X, client.Y)) return i;
        return -1;
    }

    // Shows the level with its top-left at (x, y), or beside `beside` (a screen rectangle of
    // the item that opened it), inside the work area.
    void ShowAt(int x, int y, const TRect* beside) {
        win::MONITORINFO info;
        win::GetMonitorInfo(win::MonitorFromPoint({x, y}, win::MONITOR_DEFAULTTONEAREST), info);
        const TRect work = info.rcWork;
        if (x + Width() > work.Right) x = beside ? beside->Left - Width() : x - Width();
        if (y + Height() > work.Bottom) y = beside ? work.Bottom - Height() : y - Height();
        x = std::max(x, work.Left);
        y = std::max(y, work.Top);
        SetBounds(x, y, Width(), Height());
        win::SetWindowPos(Handle(), win::HWND_TOPMOST, x, y, Width(), Height(),
                          win::SWP_SHOWWINDOW | win::SWP_NOACTIVATE);
        SetVisible(true);
        Update();
    }

protected:
    void CreateParams(TCreateParams& p) override {
        TCustomControl::CreateParams(p);
        p.Style = win::WS_POPUP | win::WS_BORDER;
        p.ExStyle = win::WS_EX_TOOLWINDOW | win::WS_EX_TOPMOST | win::WS_EX_NOACTIVATE;
    }

    void Dispatch(TMessage& m) override {
        if (m.Msg == win::WM_MOUSEACTIVATE) {
            m.Result = win::MA_NOACTIVATE;
            return;
        }
        TCustomControl::Dispatch(m);
    }

    void Paint() override {
        gfx::TCanvas& c = Canvas();
        c.Brush().SetColor(gfx::clMenu);
        c.FillRect(ClientRect());
        for (int i = 0; i < Count(); ++i) PaintItem(c, i);
    }

private:
    void Layout() {
        gfx::TDC scratch;
        gfx::SelectObject(&scratch, Font().Handle());
        int captions = 0, shortCuts = 0, y = 0;
        FRects.clear();
        for (TMenuItem* item : FItems) {
            const int height = item->IsLine() ? kLineHeight : kItemHeight;
            FRects.push_back({0, y, 0, y + height});
            y += height;
            if (item->IsLine()) continue;
            TRect r{0, 0, 0, 0};
            gfx::DrawText(&scratch, item->Caption(), r, gfx::DT_CALCRECT | gfx::DT_SINGLELINE);
            captions = std::max(captions, r.Width());
            gfx::TSize s;
            gfx::GetTextExtentPoint32(&scratch, ShortCutToText(item->ShortCut()), s);
            shortCuts = std::max(shortCuts, s.cx);
        }
        const int inner =
            std::max(kMinWidth, kGlyphColumn + captions +
                                    (shortCuts ? kShortCutGap + shortCuts : 0) + kArrowColumn);
        for (TRect& r : FRects) r.Right = inner;
        FShortCutWidth = shortCuts;
        // The window's 1-pixel border on every side.
        SetBounds(0, 0, inner + 2, std::max(y, 1) + 2);
    }

    void PaintItem(gfx::TCanvas& c, int index) {
        TMenuItem* item = FItems[std::size_t(index)];
        const TRect r = FRects[std::size_t(index)];
        if (item->IsLine()) {
            const int y = r.Top + r.Height() / 2;
            c.Brush().SetColor(gfx::clBtnShadow);
            c.FillRect({r.Left + 2, y - 1, r.Right - 2, y});
            c.Brush().SetColor(gfx::clBtnHighlight);
            c.FillRect({r.Left + 2, y, r.Right - 2, y + 1});
            return;
        }
        const bool selected = index == FSelected;
        c.Brush().SetColor(selected ? gfx::clHighlight : gfx::clMenu);
        c.FillRect(r);
        const TColor ink = !item->Enabled() ? gfx::clGrayText
                           : selected       ? gfx::clHighlightText
                                            : gfx::clMenuText;
        const int middle = r.Top + r.Height() / 2;
        const bool image =
            FImages && item->ImageIndex() >= 0 && item->ImageIndex() < FImages->Count();
        if (image) {
            FImages->Draw(c, r.Left + 3, middle - FImages->Height() / 2, item->ImageIndex(),
                          item->Enabled());
        } else if (!item->Bitmap().Empty()) {
            c.Draw(r.Left + 3, middle - item->Bitmap().Height() / 2, item->Bitmap());
        } else if (item->Checked()) {
            c.Pen().SetColor(ink);
            c.Brush().SetColor(ink);
            if (item->RadioItem()) {
                c.Ellipse(r.Left + 8, middle - 3, r.Left + 14, middle + 3);
            } else {
                for (int i = 0; i < 3; ++i) {
                    c.MoveTo(r.Left + 7, middle - 1 + i);
                    c.LineTo(r.Left + 9, middle + 1 + i);
                    c.LineTo(r.Left + 14, middle - 4 + i);
                }
            }
        }
        c.Font().Assign(Font());
        c.Font().SetColor(ink);
        if (item->Default()) c.Font().SetStyle(gfx::fsBold);
        c.Brush().SetStyle(gfx::bsClear);
        TRect text{r.Left + kGlyphColumn, r.Top, r.Right - kArrowColumn, r.Bottom};
        c.DrawText(item->Caption(), text, gfx::DT_SINGLELINE | gfx::DT_VCENTER);
        if (item->ShortCut() != scNone) {
            TRect keys{r.Right - kArrowColumn - FShortCutWidth, r.Top, r.Right - kArrowColumn,
                       r.Bottom};
            c.DrawText(ShortCutToText(item->ShortCut()), keys,
                       gfx::DT_SINGLELINE | gfx::DT_VCENTER | gfx::DT_RIGHT | gfx::DT_NOPREFIX);
        }
        if (item->Count() > 0) {
            c.Pen().SetColor(ink);
            const int x = r.Right - 10;
            for (int i = 0; i < 4; ++i) {
                c.MoveTo(x + i, middle - 3 + i);
                c.LineTo(x + i, middle + 4 - i);
            }
        }
    }

    TMenuItem* FParentItem;
    TCustomImageList* FImages;
    std::vector<TMenuItem*> FItems;
    std::vector<TRect> FRects;
    int FShortCutWidth = 0;
    int FSelected = -1;
};

class TTracker {
public:
    explicit TTracker(TCustomImageList* images) : FImages(images) {}
    ~TTracker() { CloseFrom(0); }

    bool Open(TMenuItem* items, int x, int y, const TRect* beside) {
        auto* level = new TPopupLevel(items, FImages);
        if (level->Count() == 0) {
            level->Free();
            return false;
        }
        FLevels.push_back(level);
        level->ShowAt(x, y, beside);
        return true;
    }

    void CloseFrom(std::size_t index) {
        while (FLevels.size() > index) {
            TPopupLevel* level = FLevels.back();
            FLevels.pop_back();
            level->Free();
        }
    }

    TPopupLevel* Level(std::size_t index) const { return FLevels[index]; }
    std::size_t Count() const { return FLevels.size(); }

    // The deepest level under a screen point, -1 when none.
    int LevelAt(TPoint screen) const {
        for (int i = int(FLevels.size()) - 1; i >= 0; --i)
            if (FLevels[std::size_t(i)]->BoundsRect().Contains(screen.X, screen.Y)) return i;
        return -1;
    }

    // Opens the submenu of the selected item of level `index` (closing deeper ones first).
    void OpenSubmenu(std::size_t index, bool selectFirst) {
        TPopupLevel* level = FLevels[index];
        TMenuItem* item = level->Item(level->Selected());
        if (!item || item->Count() == 0 || !item->Enabled()) return;
        if (FLevels.size() > index + 1 && FLevels[index + 1]->ParentItem() == item) return;
        CloseFrom(index + 1);
        const TRect r = level->ItemRect(level->Selected());
        const TPoint topLeft = level->ClientToScreen({r.Left, r.Top});
        const TRect beside{level->Left(), topLeft.Y, level->Left() + level->Width(), topLeft.Y};
        if (Open(item, level->Left() + level->Width() - 2, topLeft.Y - 1, &beside) && selectFirst)
            FLevels.back()->Step(true);
    }

    void MouseMove(TPoint screen) {
        const int index = LevelAt(screen);
        if (index < 0) return;
        TPopupLevel* level = FLevels[std::size_t(index)];
        const int item = level->ItemAt(level->ScreenToClient(screen));
        level->Select(item);
        TMenuItem* menuItem = level->Item(item);
        if (menuItem && menuItem->Count() > 0)
            OpenSubmenu(std::size_t(index), false);
        else
            CloseFrom(std::size_t(index) + 1);
    }

    // A button released over an item: true when that chose it.
    bool MouseUp(TPoint screen) {
        const int index = LevelAt(screen);
        if (index < 0) return false;
        TPopupLevel* level = FLevels[std::size_t(index)];
        TMenuItem* item = level->Item(level->ItemAt(level->ScreenToClient(screen)));
        if (!item || item->IsLine() || !item->Enabled() || item->Count() > 0) return false;
        Chosen = item;
        return true;
    }

    // True when the key ends the popup.
    bool Key(int key) {
        using namespace win;
        TPopupLevel* level = FLevels.back();
        switch (key) {
            case VK_DOWN:
            case VK_UP:
                level->Step(key == VK_DOWN);
                return false;
            case VK_RIGHT:
                OpenSubmenu(FLevels.size() - 1, true);
                return false;
            case VK_LEFT:
                if (FLevels.size() > 1) CloseFrom(FLevels.size() - 1);
                return false;
            case VK_ESCAPE:
                if (FLevels.size() > 1) {
                    CloseFrom(FLevels.size() - 1);
                    return false;
                }
                return true;
            case VK_MENU:
                return true;
            case VK_RETURN:
                return Choose(level, level->Selected());
            default:
                return false;
        }
    }

    // An accelerator character typed: true when it chose an item.
    bool Char(char32_t ch) {
        TPopupLevel* level = FLevels.back();
        for (int i = 0; i < level->Count(); ++i)
            if (IsAccel(int(ch), level->Item(i)->Caption())) {
                level->Select(i);
                return Choose(level, i);
            }
        return false;
    }

    TMenuItem* Chosen = nullptr;

private:
    bool Choose(TPopupLevel* level, int index) {
        TMenuItem* item = level->Item(index);
        if (!item || item->IsLine() || !item->Enabled()) return false;
        if (item->Count() > 0) {
            OpenSubmenu(FLevels.size() - 1, true);
            return false;
        }
        Chosen = item;
        return true;
    }

    TCustomImageList* FImages;
    std::vector<TPopupLevel*> FLevels;
};

}  // namespace

TMenuItem* TrackPopupItems(TMenuItem* items, int X, int Y, TCustomImageList* images) {
    using namespace win;
    if (!items) return nullptr;
    TTracker tracker(images);
    if (!tracker.Open(items, X, Y, nullptr)) return nullptr;
    const HWND capture = tracker.Level(0)->Handle();
    SetCapture(capture);
    bool done = false;
    while (!done) {
        if (GetCapture() != capture) break;  // someone took the mouse: the popup goes
        MSG msg;
        if (!PeekMessage(msg, PM_REMOVE)) {
            WaitMessage();
            continue;
        }
        switch (msg.message) {
            case WM_QUIT:
                PostQuitMessage(int(msg.wParam));
                done = true;
                break;
            case WM_KEYDOWN:
            case WM_SYSKEYDOWN:
                done = tracker.Key(int(msg.wParam));
                if (!done) TranslateMessage(msg);
                break;
            case WM_CHAR:
            case WM_SYSCHAR:
                done = tracker.Char(char32_t(msg.wParam));
                break;
            case WM_KEYUP:
            case WM_SYSKEYUP:
                break;
            case WM_MOUSEMOVE:
                tracker.MouseMove(msg.pt);
                break;
            case WM_LBUTTONDOWN:
            case WM_RBUTTONDOWN:
            case WM_MBUTTONDOWN:
            case WM_LBUTTONDBLCLK:
            case WM_RBUTTONDBLCLK:
            case WM_NCLBUTTONDOWN:
            case WM_NCRBUTTONDOWN:
                if (tracker.LevelAt(msg.pt) < 0) done = true;  // a press outside cancels
                break;
            case WM_LBUTTONUP:
            case WM_RBUTTONUP:
                done = tracker.MouseUp(msg.pt);
                break;
            default:
                DispatchMessage(msg);
                break;
        }
    }
    if (GetCapture() == capture) ReleaseCapture();
    TMenuItem* chosen = tracker.Chosen;
    return chosen;
}

}  // namespace vcl
