// The skinned frame's geometry: the skin's frame values moved to the form's size, the places of
// the frame objects, the non-client hit test and the window region cut from the skin's mask.
#include "skin/form/frame_geometry.h"

#include <algorithm>

#include "platform/win/win.h"
#include "skin/core/skin_regions.h"
#include "skin/core/system_routines.h"
#include "skin/form/skin_form.h"

namespace skin {

namespace {

gfx::TPoint Moved(gfx::TPoint p, int dx, int dy) {
    return {p.X + dx, p.Y + dy};
}

bool HasMask(const TbsSkinData& sd) {
    return sd.FMask && sd.FMask->Width() > 0 && sd.FMask->Height() > 0;
}

// A pixel outside the bitmap is not black.
bool BlackAt(const gfx::TBitmap& bitmap, int x, int y, gfx::TColor black) {
    if (x < 0 || y < 0 || x >= bitmap.Width() || y >= bitmap.Height()) return false;
    const int bytes = bitmap.PixelFormat() == gfx::pf24bit ? 3 : 4;
    const std::uint8_t* p = bitmap.ScanLine(y) + x * bytes;
    const gfx::TColor rgb = gfx::TColor(p[2]) | gfx::TColor(p[1]) << 8 | gfx::TColor(p[0]) << 16;
    return rgb == (black & 0xFFFFFF);
}

std::optional<gfx::TRegion> StripRegion(gfx::TBitmap& strip, int x, int y) {
    if (strip.Width() <= 0 || strip.Height() <= 0) return std::nullopt;
    std::optional<gfx::TRegion> rgn;
    MaskToRegion(rgn, strip);
    if (rgn) rgn->Offset(x, y);
    return rgn;
}

}  // namespace

// --- the geometry value -------------------------------------------------------------------------

int GetDefCaptionHeight(vcl::TFormBorderStyle style) {
    return style == vcl::bsToolWindow || style == vcl::bsSizeToolWin ? 15 : 19;
}

int GetDefButtonSize(vcl::TFormBorderStyle style) {
    return style == vcl::bsToolWindow || style == vcl::bsSizeToolWin ? 13 : 17;
}

bool FrameSizeable(const TbsFrameState& state) {
    const auto style = state.BorderStyle;
    return state.AlwaysResize || style == vcl::bsSizeable || style == vcl::bsSizeToolWin;
}

bool FrameResizes(const TbsFrameState& state) {
    return FrameSizeable(state) && state.WindowState == vcl::wsNormal && !state.RolledUp;
}

TbsFrameRecord FrameRecordOf(const TbsSkinData& sd) {
    TbsFrameRecord r;
    r.Skinned = true;
    if (sd.FPicture) r.Picture = {sd.FPicture->Width(), sd.FPicture->Height()};
    r.LTPoint = sd.LTPoint;
    r.RTPoint = sd.RTPoint;
    r.LBPoint = sd.LBPoint;
    r.RBPoint = sd.RBPoint;
    r.ClRect = sd.ClRect;
    r.CaptionRect = sd.CaptionRect;
    r.ButtonsRect = sd.ButtonsRect;
    r.MaskRectArea = sd.MaskRectArea;
    r.ButtonsOffset = sd.ButtonsOffset;
    r.CapButtonsInLeft = sd.CapButtonsInLeft;
    r.HitTestLTPoint = sd.HitTestLTPoint;
    r.HitTestRTPoint = sd.HitTestRTPoint;
    r.HitTestLBPoint = sd.HitTestLBPoint;
    r.HitTestRBPoint = sd.HitTestRBPoint;
    for (const auto& record : sd.ObjectList) {
        TbsDataSkinObject* data = record.get();
        if (dynamic_cast<TbsDataSkinMenuItem*>(data) ||
            dynamic_cast<TbsDataSkinMainMenuItem*>(data) ||
            dynamic_cast<TbsDataSkinMainMenuBarButton*>(data))
            continue;
        TbsFrameObjectRecord o;
        if (auto* b = dynamic_cast<TbsDataSkinStdButton*>(data)) {
            o.Kind = fokStdButton;
            o.Command = b->Command;
        } else if (dynamic_cast<TbsDataSkinButton*>(data)) {
            o.Kind = fokButton;
        } else if (dynamic_cast<TbsDataSkinCaption*>(data)) {
            o.Kind = fokCaption;
        } else if (auto* a = dynamic_cast<TbsDataSkinAnimate*>(data)) {
            o.Kind = fokAnimate;
            o.Command = a->Command;
            o.ButtonStyle = a->ButtonStyle;
        } else if (dynamic_cast<TbsDataUserObject*>(data)) {
            o.Kind = fokUser;
        } else {
            continue;
        }
        o.Data = data;
        o.IDName = data->IDName;
        o.SkinRect = data->SkinRect;
        o.SkinRectInAPicture = data->SkinRectInAPicture;
        r.Objects.push_back(std::move(o));
    }
    return r;
}

TbsFrameRecord DefaultFrameRecord(bool withButtons) {
    TbsFrameRecord r;
    if (!withButtons) return r;
    static constexpr std::pair<const char*, TbsStdCommand> kButtons[] = {
        {"closebutton", cmClose},   {"maxbutton", cmMaximize},    {"minbutton", cmMinimize},
        {"rollupbutton", cmRollUp}, {"sysmenubutton", cmSysMenu}, {"traybutton", cmMinimizeToTray},
    };
    for (const auto& [name, command] : kButtons) {
        TbsFrameObjectRecord o;
        o.Kind = fokStdButton;
        o.IDName = name;
        o.Command = command;
        o.SkinRect = {0, 0, 1, 1};
        o.SkinRectInAPicture = true;
        r.Objects.push_back(std::move(o));
    }
    return r;
}

gfx::TRect MapFrameRect(const TbsFrameRecord& record, gfx::TSize size, const gfx::TRect& R) {
    const int w0 = record.Picture.cx, h0 = record.Picture.cy;
    const gfx::TRect lt{0, 0, record.LTPoint.X, record.LTPoint.Y};
    const gfx::TRect rt{record.RTPoint.X, 0, w0, record.RTPoint.Y};
    const gfx::TRect lb{0, record.LBPoint.Y, record.LBPoint.X, h0};
    const gfx::TRect rb{record.RBPoint.X, record.RBPoint.Y, w0, h0};
    const int dx = size.cx - w0, dy = size.cy - h0;
    auto in = [](const gfx::TRect& zone, int x, int y) { return zone.Contains(x, y); };
    const bool tlLT = in(lt, R.Left, R.Top), brLT = in(lt, R.Right, R.Bottom);
    const bool tlRT = in(rt, R.Left, R.Top), brRT = in(rt, R.Right, R.Bottom);
    const bool tlLB = in(lb, R.Left, R.Top), brLB = in(lb, R.Right, R.Bottom);
    const bool tlRB = in(rb, R.Left, R.Top), brRB = in(rb, R.Right, R.Bottom);
    gfx::TRect r = R;
    if (tlLT && brLT) return r;
    if (tlRT && brRT) {
        r = r.Offset(dx, 0);
    } else if (tlLB && brLB) {
        r = r.Offset(0, dy);
    } else if (tlRB && brRB) {
        r = r.Offset(dx, dy);
    } else if (tlLT && brRB) {
        r.Right += dx;
        r.Bottom += dy;
    } else if (tlLT && brRT) {
        r.Right += dx;
    } else if (tlLB && brRB) {
        r.Right += dx;
        r = r.Offset(0, dy);
    } else if (tlLT && brLB) {
        r.Bottom += dy;
    } else if (tlRT && brRB) {
        r = r.Offset(dx, 0);
        r.Bottom += dy;
    }
    return r;
}

namespace {

bool IsCaptionButton(const TbsFrameObjectRecord& o) {
    return o.Kind == fokStdButton || o.Kind == fokAnimate;
}

// Which caption buttons show and take clicks: the border icons decide, the close button always
// shows, a program's own button shows when the program chose it.
void DecideShown(const TbsFrameRecord& record, const TbsFrameState& state,
                 std::vector<TbsFrameObjectPlace>& places) {
    for (std::size_t i = 0; i < record.Objects.size(); ++i) {
        const TbsFrameObjectRecord& o = record.Objects[i];
        TbsFrameObjectPlace& place = places[i];
        if (!IsCaptionButton(o)) continue;
        if (state.HideCaptionButtons) {
            place.Enabled = false;
            place.Visible = !o.SkinRectInAPicture;
            continue;
        }
        if (o.Kind == fokAnimate && !o.ButtonStyle) continue;
        auto follow = [&](bool enabled) {
            place.Enabled = enabled;
            place.Visible = !o.SkinRectInAPicture || enabled;
        };
        switch (o.Command) {
            case cmClose:
                break;
            case cmMaximize:
                follow(state.BorderIcons.Contains(biMaximize));
                break;
            case cmMinimize:
                follow(state.BorderIcons.Contains(biMinimize));
                break;
            case cmSysMenu:
                follow(state.BorderIcons.Contains(biSystemMenu) && !state.DisableSystemMenu);
                break;
            case cmDefault:
                place.Visible =
                    std::find(state.ShownCustomObjects.begin(), state.ShownCustomObjects.end(),
                              o.IDName) != state.ShownCustomObjects.end();
                break;
            case cmRollUp:
                follow(state.BorderIcons.Contains(biRollUp));
                break;
            case cmMinimizeToTray:
                follow(state.BorderIcons.Contains(biMinimizeToTray));
                break;
        }
    }
}

gfx::TSize ButtonSize(const TbsFrameObjectRecord& o, const TbsFrameState& state) {
    if (o.Command == cmSysMenu && state.ShowIcon && o.Kind == fokStdButton) return state.SmallIcon;
    return {RectWidthOf(o.SkinRect), RectHeightOf(o.SkinRect)};
}

// The first shown caption button of the row for a command, -1 when there is none.
int FindButton(const TbsFrameRecord& record, const std::vector<TbsFrameObjectPlace>& places,
               TbsStdCommand command, bool stdOnly) {
    for (std::size_t i = 0; i < record.Objects.size(); ++i) {
        const TbsFrameObjectRecord& o = record.Objects[i];
        if (places[i].Visible && o.SkinRectInAPicture && o.Command == command &&
            (o.Kind == fokStdButton || (!stdOnly && o.Kind == fokAnimate)))
            return int(i);
    }
    return -1;
}

void LayOutSkinned(const TbsFrameRecord& record, const TbsFrameState& state, TbsFrameGeometry& g) {
    std::vector<TbsFrameObjectPlace>& places = g.Objects;
    for (std::size_t i = 0; i < record.Objects.size(); ++i)
        if (!record.Objects[i].SkinRectInAPicture)
            places[i].Rect = MapFrameRect(record, g.Size, record.Objects[i].SkinRect);

    gfx::TRect R;
    const bool inButtonsRect = !RectIsEmpty(g.ButtonsRect);
    if (inButtonsRect)
        R = g.ButtonsRect;
    else if (!RectIsEmpty(g.CaptionRect))
        R = g.CaptionRect;
    else
        return;
    const int top = R.Top;

    int caption = -1;
    for (std::size_t i = 0; i < record.Objects.size() && caption < 0; ++i)
        if (record.Objects[i].Kind == fokCaption) caption = int(i);
    // The caption's rectangle as mapped, narrowed by the row beside it.
    auto captionRect = [&]() -> gfx::TRect& {
        if (!places[caption].Rect) places[caption].Rect = record.Objects[caption].SkinRect;
        return *places[caption].Rect;
    };

    std::vector<int> row;
    for (TbsStdCommand c : {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray})
        if (int i = FindButton(record, places, c, false); i >= 0) row.push_back(i);
    for (std::size_t i = 0; i < record.Objects.size(); ++i) {
        const TbsFrameObjectRecord& o = record.Objects[i];
        if (IsCaptionButton(o) && places[i].Visible && o.SkinRectInAPicture &&
            o.Command == cmDefault)
            row.push_back(int(i));
    }
    const int sysMenu = FindButton(record, places, cmSysMenu, false);
    const int offset = g.ButtonsOffset;
    auto size = [&](int i) { return ButtonSize(record.Objects[i], state); };

    auto placeSysMenuInCaption = [&]() {
        if (sysMenu < 0) return;
        const gfx::TSize s = size(sysMenu);
        int x = g.CaptionRect.Left;
        const int t = g.CaptionRect.Top + RectHeightOf(g.CaptionRect) / 2 - s.cy / 2;
        places[sysMenu].Rect = gfx::TRect{x, t, x + s.cx, t + s.cy};
        x += s.cx + offset;
        if (caption >= 0) captionRect().Left = x - offset;
    };

    if (!g.CapButtonsInLeft) {
        int x = R.Right;
        for (int i : row) {
            const gfx::TSize s = size(i);
            places[i].Rect = gfx::TRect{x - s.cx, top, x, top + s.cy};
            x -= s.cx + offset;
        }
        if (!inButtonsRect && caption >= 0) captionRect().Right = x + offset;
        placeSysMenuInCaption();
    } else {
        int x = R.Left;
        for (int i : row) {
            const gfx::TSize s = size(i);
            places[i].Rect = gfx::TRect{x, top, x + s.cx, top + s.cy};
            x += s.cx + offset;
        }
        if (!inButtonsRect) {
            if (sysMenu >= 0) {
                const gfx::TSize s = size(sysMenu);
                places[sysMenu].Rect = gfx::TRect{x, top, x + s.cx, top + s.cy};
                x += s.cx + offset;
            }
            if (caption >= 0) captionRect().Left = x + offset;
        } else {
            placeSysMenuInCaption();
        }
    }
}

void LayOutDefault(const TbsFrameRecord& record, const TbsFrameState& state, TbsFrameGeometry& g) {
    const int s = GetDefButtonSize(state.BorderStyle);
    // The caption is kept even before the default buttons exist, so the default frame drags.
    g.DefCaptionRect = {3, 3, g.Size.cx - 3, GetDefCaptionHeight(state.BorderStyle)};
    if (record.Objects.empty()) return;
    int x = g.Size.cx - 3;
    for (TbsStdCommand c : {cmClose, cmMaximize, cmMinimize, cmRollUp, cmMinimizeToTray})
        if (int i = FindButton(record, g.Objects, c, true); i >= 0) {
            g.Objects[i].Rect = gfx::TRect{x - s, 4, x, 4 + s};
            x -= s;
        }
    g.DefCaptionRect.Right = x;
    if (int i = FindButton(record, g.Objects, cmSysMenu, true); i >= 0) {
        const gfx::TSize size = state.ShowIcon ? state.SmallIcon : gfx::TSize{s, s};
        g.Objects[i].Rect = gfx::TRect{3, 4, 3 + size.cx, 4 + size.cy};
        g.DefCaptionRect.Left = 3 + size.cx;
    }
}

}  // namespace

TbsFrameGeometry CalcFrameGeometry(const TbsFrameRecord& record, gfx::TSize size,
                                   const TbsFrameState& state) {
    TbsFrameGeometry g;
    g.Size = size;
    g.Objects.resize(record.Objects.size());
    const auto style = state.BorderStyle;
    g.ResizeBorders = FrameResizes(state);
    DecideShown(record, state, g.Objects);

    if (!record.Skinned) {
        g.ClientInsets = {3, GetDefCaptionHeight(style) + 3, 3, 3};
        LayOutDefault(record, state, g);
    } else {
        const int w0 = record.Picture.cx, h0 = record.Picture.cy;
        const int dx = size.cx - w0, dy = size.cy - h0;
        g.LTPoint = record.LTPoint;
        g.RTPoint = Moved(record.RTPoint, dx, 0);
        g.LBPoint = Moved(record.LBPoint, 0, dy);
        g.RBPoint = Moved(record.RBPoint, dx, dy);
        const gfx::TRect& cl = record.ClRect;
        g.ClRect = {cl.Left, cl.Top, cl.Right + dx, cl.Bottom + dy};
        g.CaptionRect = record.CaptionRect;
        if (!RectIsEmpty(g.CaptionRect)) g.CaptionRect.Right += dx;
        g.ButtonsRect = record.ButtonsRect;
        g.ButtonsInLeft = !RectIsEmpty(record.ButtonsRect) && record.ButtonsRect.Left < w0 / 2;
        if (!RectIsEmpty(g.ButtonsRect) && g.ButtonsRect.Left > w0 / 2)
            g.ButtonsRect = g.ButtonsRect.Offset(dx, 0);
        g.CapButtonsInLeft = record.CapButtonsInLeft;
        g.ButtonsOffset = record.ButtonsOffset;
        g.HitTestLTPoint = record.HitTestLTPoint;
        g.HitTestRTPoint = Moved(record.HitTestRTPoint, dx, 0);
        g.HitTestLBPoint = Moved(record.HitTestLBPoint, 0, dy);
        g.HitTestRBPoint = Moved(record.HitTestRBPoint, dx, dy);
        const gfx::TRect& m = record.MaskRectArea;
        g.MaskRectArea = {m.Left, m.Top, m.Right + dx, m.Bottom + dy};
        g.ClientInsets = {cl.Left, cl.Top, w0 - cl.Right, h0 - cl.Bottom};
        LayOutSkinned(record, state, g);
    }
    const gfx::TRect& in = g.ClientInsets;
    g.ClientArea = {in.Left, in.Top, size.cx - in.Right, size.cy - in.Bottom};
    g.ClientArea.Right = std::max(g.ClientArea.Right, g.ClientArea.Left);
    g.ClientArea.Bottom = std::max(g.ClientArea.Bottom, g.ClientArea.Top);
    return g;
}

bool TbsSkinForm::IsSizeable() const {
    return FrameSizeable(FrameState());
}

TbsFrameState TbsSkinForm::FrameState() const {
    TbsFrameState s;
    s.WindowState = FWindowState;
    s.RolledUp = FRollUpState;
    s.Active = GetFormActive();
    s.BorderStyle = FForm->BorderStyle();
    s.AlwaysResize = FAlwaysResize;
    s.BorderIcons = FBorderIcons;
    s.HideCaptionButtons = FHideCaptionButtons;
    s.DisableSystemMenu = FDisableSystemMenu;
    s.ShowIcon = FShowIcon;
    s.SmallIcon = GetSmallIconSize();
    s.ShownCustomObjects = FShownCustomObjects;
    return s;
}

TbsFrameRecord TbsSkinForm::FrameRecord() const {
    if (HasSkin() && FSkinnableForm && FSkinSupport) return FrameRecordOf(*FSD);
    return DefaultFrameRecord(!ObjectList.empty());
}

TbsFrameGeometry TbsSkinForm::FrameGeometry(const TbsFrameRecord& record) const {
    return CalcFrameGeometry(record, {FFormWidth, FFormHeight}, FrameState());
}

void TbsSkinForm::ApplyFrameGeometry(const TbsFrameGeometry& g) {
    NewLTPoint = g.LTPoint;
    NewRTPoint = g.RTPoint;
    NewLBPoint = g.LBPoint;
    NewRBPoint = g.RBPoint;
    NewClRect = g.ClRect;
    NewCaptionRect = g.CaptionRect;
    NewButtonsRect = g.ButtonsRect;
    ButtonsInLeft = g.ButtonsInLeft;
    NewButtonsInLeft = g.CapButtonsInLeft;
    NewButtonsOffset = g.ButtonsOffset;
    NewHitTestLTPoint = g.HitTestLTPoint;
    NewHitTestRTPoint = g.HitTestRTPoint;
    NewHitTestLBPoint = g.HitTestLBPoint;
    NewHitTestRBPoint = g.HitTestRBPoint;
    NewMaskRectArea = g.MaskRectArea;
}

void TbsSkinForm::ApplyObjectPlaces(const TbsFrameGeometry& g) {
    // Objects made from another record than the one measured (a skin changed under the form
    // before its rebuild) keep their places.
    if (g.Objects.size() != ObjectList.size()) return;
    for (std::size_t i = 0; i < ObjectList.size(); ++i)
        if (g.Objects[i].Rect) ObjectList[i]->ObjectRect = *g.Objects[i].Rect;
}

void TbsSkinForm::CalcSkinRects() {
    if (!HasSkin()) return;
    if (FFormWidth == 0) FFormWidth = FForm->Width();
    if (FFormHeight == 0) FFormHeight = FForm->Height();
    TbsFrameRecord record = FrameRecordOf(*FSD);
    record.Objects.clear();
    ApplyFrameGeometry(FrameGeometry(record));
}

gfx::TRect TbsSkinForm::MapSkinRect(const gfx::TRect& R) const {
    if (!FSD) return R;
    TbsFrameRecord record = FrameRecordOf(*FSD);
    // The size the New values were last measured for.
    const gfx::TSize size{record.Picture.cx + NewRBPoint.X - record.RBPoint.X,
                          record.Picture.cy + NewRBPoint.Y - record.RBPoint.Y};
    return MapFrameRect(record, size, R);
}

void TbsSkinForm::CalcObjectRects() {
    if (!HasSkin()) return;
    ApplyObjectPlaces(FrameGeometry(FrameRecordOf(*FSD)));
}

void TbsSkinForm::CalcDefRects() {
    if (FFormWidth == 0) FFormWidth = FForm->Width();
    if (FFormHeight == 0) FFormHeight = FForm->Height();
    const TbsFrameGeometry g = FrameGeometry(DefaultFrameRecord(!ObjectList.empty()));
    NewDefCaptionRect = g.DefCaptionRect;
    ApplyObjectPlaces(g);
}

int TbsSkinForm::GetHitTest(gfx::TPoint P) {
    // The quick buttons' part of the caption is not for dragging: presses there go to them.
    auto inCaption = [&]() {
        for (auto& o : ObjectList)
            if (dynamic_cast<TbsSkinCaptionObject*>(o.get()) && o->ObjectRect.Contains(P.X, P.Y))
                return P.X >= o->ObjectRect.Left + QuickButtonsWidth();
        return false;
    };
    const bool c = inCaption();
    if (FRollUpState || Minimized()) return c ? win::HTCAPTION : win::HTOBJECT;
    if (ActiveObject != -1 && !c && !NewClRect.Contains(P.X, P.Y) && !FSizeMove)
        return win::HTOBJECT;
    auto plain = [&]() {
        if (NewClRect.Contains(P.X, P.Y)) return win::HTCLIENT;
        return c ? win::HTCAPTION : win::HTOBJECT;
    };
    if (!FrameResizes(FrameState())) return plain();

    const int b = FSD ? FSD->BorderW : 0;
    const gfx::TPoint probes[] = {{P.X - b, P.Y}, {P.X, P.Y - b}, {P.X + b, P.Y}, {P.X, P.Y + b}};
    bool near = false;
    if (FSD && HasMask(*FSD)) {
        if (!NewMaskRectArea.Contains(P.X, P.Y))
            for (const gfx::TPoint& q : probes) near = near || !PointInMask(q);
    } else {
        const gfx::TRect form{0, 0, FFormWidth, FFormHeight};
        for (const gfx::TPoint& q : probes) near = near || !form.Contains(q.X, q.Y);
    }
    if (!near) return plain();

    if (P.X <= NewHitTestLTPoint.X && P.Y <= NewHitTestLTPoint.Y) return win::HTTOPLEFT;
    if (P.X >= NewHitTestRTPoint.X && P.Y <= NewHitTestRTPoint.Y) return win::HTTOPRIGHT;
    if (P.X <= NewHitTestLBPoint.X && P.Y >= NewHitTestLBPoint.Y) return win::HTBOTTOMLEFT;
    if (P.X >= NewHitTestRBPoint.X && P.Y >= NewHitTestRBPoint.Y) return win::HTBOTTOMRIGHT;
    if (gfx::TRect{NewHitTestLTPoint.X, 0, NewHitTestRTPoint.X, NewClRect.Top}.Contains(P.X, P.Y))
        return win::HTTOP;
    if (gfx::TRect{NewHitTestLBPoint.X, NewClRect.Bottom, NewHitTestRBPoint.X, FFormHeight}
            .Contains(P.X, P.Y))
        return win::HTBOTTOM;
    if (gfx::TRect{0, NewHitTestLTPoint.Y, NewClRect.Left, NewHitTestLBPoint.Y}.Contains(P.X, P.Y))
        return win::HTLEFT;
    if (gfx::TRect{NewClRect.Right, NewHitTestRTPoint.Y, FFormWidth, NewHitTestRBPoint.Y}.Contains(
            P.X, P.Y))
        return win::HTRIGHT;
    return plain();
}

int TbsSkinForm::GetDefHitTest(gfx::TPoint P) {
    const int w = FForm->Width(), h = FForm->Height();
    if (FrameResizes(FrameState())) {
        if (ActiveObject != -1) return win::HTOBJECT;
        const bool left = P.X <= 2, top = P.Y <= 2, right = P.X >= w - 2, bottom = P.Y >= h - 2;
        if (left && top) return win::HTTOPLEFT;
        if (right && top) return win::HTTOPRIGHT;
        if (left && bottom) return win::HTBOTTOMLEFT;
        if (right && bottom) return win::HTBOTTOMRIGHT;
        if (left) return win::HTLEFT;
        if (top) return win::HTTOP;
        if (right) return win::HTRIGHT;
        if (bottom) return win::HTBOTTOM;
    }
    CalcDefRects();
    if (NewDefCaptionRect.Contains(P.X, P.Y)) return win::HTCAPTION;
    const int captionHeight = GetDefCaptionHeight(FForm->BorderStyle());
    if (gfx::TRect{3, captionHeight + 3, w - 3, h - 3}.Contains(P.X, P.Y)) return win::HTCLIENT;
    return win::HTOBJECT;
}

bool TbsSkinForm::PointInMask(gfx::TPoint P) {
    if (NewMaskRectArea.Contains(P.X, P.Y)) return true;
    if (P.Y <= NewMaskRectArea.Top) return BlackAt(RMTop, P.X, P.Y, BlackColor);
    if (P.Y >= NewMaskRectArea.Bottom)
        return BlackAt(RMBottom, P.X, P.Y - NewMaskRectArea.Bottom, BlackColor);
    if (P.X <= NewMaskRectArea.Left)
        return BlackAt(RMLeft, P.X, P.Y - NewMaskRectArea.Top, BlackColor);
    return BlackAt(RMRight, P.X - NewMaskRectArea.Right, P.Y - NewMaskRectArea.Top, BlackColor);
}

void TbsSkinForm::SetFormRegion(bool) {
    win::HWND wnd;
    const bool window = FormHandle(wnd);
    auto apply = [&]() {
        if (window) win::SetWindowRgn(wnd, FRgn, true);
    };
    auto emptyStrips = [&]() {
        for (gfx::TBitmap* strip : {&RMTop, &RMBottom, &RMLeft, &RMRight}) strip->SetSize(0, 0);
    };
    if (!FSkinnableForm || FForm->BorderStyle() == vcl::bsNone) {
        if (FRgn) {
            FRgn.reset();
            apply();
        }
        return;
    }
    const gfx::TRect whole{0, 0, FFormWidth, FFormHeight};
    if ((HasSkin() && !HasMask(*FSD)) || MaximizedMDIChild()) {
        FRgn = gfx::TRegion(whole);
        apply();
        return;
    }
    if (!HasSkin()) {
        FRgn = gfx::TRegion(whole);
        apply();
        emptyStrips();
        return;
    }
    const TbsSkinData& sd = *FSD;
    emptyStrips();
    SplitSkinBorderStrips(sd.LTPoint, sd.RTPoint, sd.LBPoint, sd.RBPoint, sd.MaskRectArea,
                          NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint, NewMaskRectArea,
                          *sd.FMask, RMTop, RMLeft, RMRight, RMBottom, FFormWidth, FFormHeight);
    std::optional<gfx::TRegion> rgn;
    if (!RectIsEmpty(NewMaskRectArea)) rgn = gfx::TRegion(NewMaskRectArea);
    const std::pair<gfx::TBitmap*, gfx::TPoint> strips[] = {
        {&RMTop, {0, 0}},
        {&RMBottom, {0, NewMaskRectArea.Bottom}},
        {&RMLeft, {0, NewMaskRectArea.Top}},
        {&RMRight, {NewMaskRectArea.Right, NewMaskRectArea.Top}}};
    for (const auto& [strip, at] : strips) {
        std::optional<gfx::TRegion> part = StripRegion(*strip, at.X, at.Y);
        if (part) rgn = rgn ? rgn->Union(*part) : std::move(*part);
    }
    FRgn = std::move(rgn);
    apply();
}

void TbsSkinForm::UpdateFrame(bool AUpdate) {
    if (Designing() || !HasSkin()) return;
    if (FSkinnableForm) {
        if (FFormWidth == 0) FFormWidth = FForm->Width();
        if (FFormHeight == 0) FFormHeight = FForm->Height();
        const TbsFrameGeometry g = FrameGeometry(FrameRecordOf(*FSD));
        ApplyFrameGeometry(g);
        if (AUpdate) ApplyObjectPlaces(g);
    }
    SetFormRegion(AUpdate);
    if (!FRgn && FSkinnableForm && FForm->BorderStyle() != vcl::bsNone) NCPaint();
    if (FSD->StretchEffect) {
        FForm->Repaint();
        for (int i = 0; i < FForm->ControlCount(); ++i)
            if (auto* child = dynamic_cast<vcl::TWinControl*>(FForm->Controls(i)))
                if (child->HandleAllocated())
                    win::SendMessage(child->Handle(), WM_CHECKPARENTBG, 0, 0);
    }
}

}  // namespace skin
