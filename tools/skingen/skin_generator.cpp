#include "skin_generator.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/rtl/streams.h"
#include "skin/core/drawing_routines.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_package.h"
#include "skin_contents.h"

namespace skingen {

namespace {

using gfx::TBitmap;
using gfx::TColor;
using skin::TPoint;
using skin::TRect;

// ---- colours ----------------------------------------------------------------------------------

struct C {
    int r = 0, g = 0, b = 0;
};

C Mix(C a, C b, double t) {
    auto m = [t](int x, int y) { return int(std::lround(x + (y - x) * t)); };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}
C Lighter(C c, double t) {
    return Mix(c, {255, 255, 255}, t);
}
C Darker(C c, double t) {
    return Mix(c, {0, 0, 0}, t);
}
C Grey(C c) {
    const int v = (c.r * 30 + c.g * 59 + c.b * 11) / 100;
    return {v, v, v};
}
TColor ToColor(C c) {
    return gfx::RGB(c.r, c.g, c.b);
}
C FromColor(TColor c) {
    return {gfx::GetRValue(c), gfx::GetGValue(c), gfx::GetBValue(c)};
}

double Luminance(C c) {
    auto lin = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(c.r) + 0.7152 * lin(c.g) + 0.0722 * lin(c.b);
}
double Contrast(C a, C b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Text must reach 4.5 against its face; a little margin covers the face's gradient.
constexpr double kMinContrast = 4.8;

// ---- palettes ---------------------------------------------------------------------------------

struct TPalette {
    C captionTop, captionBottom;  // the active caption band
    C face;                       // a button's normal face
    C panel;                      // client area and panels
    C window;                     // edits and lists
    C accent;                     // hot looks, selection, marks
    C darkText, lightText;        // the two text colours a face chooses between
};

// Dark and light skins alternate; the caption bands and button faces of any two chooser skins
// differ by at least 40 in some channel, so the chooser's preview shows a change.
const TPalette kPalettes[kSkinCount] = {
    // 木星: sand and amber
    {{176, 108, 56},
     {136, 76, 34},
     {236, 224, 204},
     {228, 218, 200},
     {250, 246, 238},
     {206, 120, 40},
     {40, 28, 18},
     {255, 252, 245}},
    // 土星: olive and brass, dark
    {{112, 102, 46},
     {72, 64, 24},
     {92, 92, 42},
     {58, 56, 36},
     {38, 38, 26},
     {200, 180, 80},
     {24, 22, 12},
     {246, 240, 214}},
    // 宇宙: night blue, dark, rounded
    {{44, 58, 118},
     {20, 26, 70},
     {70, 80, 112},
     {36, 40, 60},
     {24, 26, 42},
     {110, 150, 240},
     {14, 16, 30},
     {236, 240, 255}},
    // 星河: violet and lavender
    {{122, 70, 164},
     {82, 36, 122},
     {204, 164, 248},
     {236, 226, 244},
     {252, 248, 255},
     {150, 90, 210},
     {36, 18, 52},
     {255, 250, 255}},
    // 银河: teal, dark
    {{34, 112, 124},
     {10, 70, 80},
     {20, 84, 70},
     {24, 46, 50},
     {16, 32, 36},
     {60, 190, 200},
     {8, 26, 30},
     {228, 250, 250}},
    // 金星: gold and cream
    {{232, 190, 70},
     {196, 150, 20},
     {250, 230, 150},
     {246, 238, 212},
     {255, 252, 240},
     {210, 150, 10},
     {44, 32, 4},
     {255, 255, 250}},
    // 火星: red, dark
    {{184, 56, 40},
     {128, 26, 20},
     {72, 40, 38},
     {52, 34, 32},
     {36, 24, 22},
     {236, 90, 60},
     {28, 12, 10},
     {255, 240, 236}},
    // 水星: sky blue
    {{44, 128, 204},
     {16, 86, 160},
     {180, 216, 246},
     {224, 236, 248},
     {250, 253, 255},
     {30, 120, 210},
     {10, 30, 56},
     {255, 255, 255}},
    // the list skin: neutral grey, to sit beside any of the others
    {{150, 150, 156},
     {120, 120, 126},
     {226, 226, 230},
     {238, 238, 240},
     {255, 255, 255},
     {96, 120, 160},
     {24, 24, 28},
     {255, 255, 255}},
};

// The better readable of the palette's two text colours on a background; on a middle tone
// where neither reads well enough, black or white.
C TextOn(const TPalette& p, C background) {
    const C tinted = Contrast(p.darkText, background) >= Contrast(p.lightText, background)
                         ? p.darkText
                         : p.lightText;
    if (Contrast(tinted, background) >= kMinContrast) return tinted;
    const C black{0, 0, 0}, white{255, 255, 255};
    return Contrast(black, background) >= Contrast(white, background) ? black : white;
}

// A one-pixel outline that must read as a shape (a check box's square, a radio box's circle)
// against both the face it rings and the panel around it: the wanted colour when it already
// does, else moved towards the text colour of the face until it does. A disabled control's
// outline reads less strongly, as its text does.
constexpr double kMinRingContrast = 3.0, kMinDisabledRingContrast = 2.0;
C RingOn(const TPalette& p, C wanted, C face, C around, double minimum) {
    auto reads = [&](C c) {
        return Contrast(c, face) >= minimum && Contrast(c, around) >= minimum;
    };
    if (reads(wanted)) return wanted;
    const C far = TextOn(p, face);
    for (int step = 1; step < 20; ++step) {
        const C c = Mix(wanted, far, step / 20.0);
        if (reads(c)) return c;
    }
    return far;
}

// The text colour for a band that is not flat (a caption's gradient and gloss): read against the
// band's mean, which is what the letters' pixels lie on, not against one sampled pixel.
C TextOnBand(const TPalette& p, TBitmap& picture, const TRect& band);

// ---- pixels -----------------------------------------------------------------------------------

std::unique_ptr<TBitmap> NewPicture(int width, int height, C fill) {
    auto b = std::make_unique<TBitmap>();
    b->SetPixelFormat(gfx::pf24bit);
    b->SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = b->ScanLine(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = std::uint8_t(fill.b);
            row[3 * x + 1] = std::uint8_t(fill.g);
            row[3 * x + 2] = std::uint8_t(fill.r);
        }
    }
    return b;
}

C Get(TBitmap& b, int x, int y) {
    const std::uint8_t* p = b.ScanLine(y) + 3 * x;
    return {p[2], p[1], p[0]};
}
C TextOnBand(const TPalette& p, TBitmap& picture, const TRect& band) {
    double r = 0, g = 0, b = 0;
    for (int y = band.Top; y < band.Bottom; ++y)
        for (int x = band.Left; x < band.Right; ++x) {
            const C c = Get(picture, x, y);
            r += c.r;
            g += c.g;
            b += c.b;
        }
    const double n = std::max(1, band.Width() * band.Height());
    return TextOn(p, C{int(r / n + 0.5), int(g / n + 0.5), int(b / n + 0.5)});
}

void Put(TBitmap& b, int x, int y, C c) {
    if (x < 0 || y < 0 || x >= b.Width() || y >= b.Height()) return;
    std::uint8_t* p = b.ScanLine(y) + 3 * x;
    p[0] = std::uint8_t(std::clamp(c.b, 0, 255));
    p[1] = std::uint8_t(std::clamp(c.g, 0, 255));
    p[2] = std::uint8_t(std::clamp(c.r, 0, 255));
}
void Fill(TBitmap& b, const TRect& r, C c) {
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) Put(b, x, y, c);
}
void VGradient(TBitmap& b, const TRect& r, C top, C bottom) {
    const int h = std::max(1, r.Height() - 1);
    for (int y = r.Top; y < r.Bottom; ++y) {
        const C c = Mix(top, bottom, double(y - r.Top) / h);
        for (int x = r.Left; x < r.Right; ++x) Put(b, x, y, c);
    }
}

// Signed distance from a pixel centre to a rounded rectangle's edge (negative inside).
double RoundedDistance(double px, double py, const TRect& r, double radius) {
    const double cx = (r.Left + r.Right) / 2.0, cy = (r.Top + r.Bottom) / 2.0;
    const double hx = r.Width() / 2.0 - radius, hy = r.Height() / 2.0 - radius;
    const double qx = std::abs(px - cx) - hx, qy = std::abs(py - cy) - hy;
    const double ox = std::max(qx, 0.0), oy = std::max(qy, 0.0);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0) - radius;
}

struct TFaceStyle {
    C top, bottom;  // fill gradient
    C border;       // one-pixel outline
    double radius = 3;
    double shine = 0.35;  // white on the inner top line
};

// A rounded, outlined, gradient face over what is already there (edges antialiased).
void Face(TBitmap& b, const TRect& r, const TFaceStyle& s) {
    const int h = std::max(1, r.Height() - 1);
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) {
            const double d = RoundedDistance(x + 0.5, y + 0.5, r, s.radius);
            const double outer = std::clamp(0.5 - d, 0.0, 1.0);
            const double inner = std::clamp(-0.5 - d, 0.0, 1.0);
            if (outer <= 0) continue;
            C fill = Mix(s.top, s.bottom, double(y - r.Top) / h);
            if (y == r.Top + 1) fill = Mix(fill, {255, 255, 255}, s.shine);
            const C under = Get(b, x, y);
            const C c = Mix(Mix(under, s.border, outer), fill, outer > 0 ? inner / outer : 0);
            Put(b, x, y, Mix(under, c, outer));
        }
}

// Runs one of the drawing routines' glyphs on a picture at (x, y).
void Glyph(TBitmap& b, void (*draw)(gfx::TCanvas&, int, int, TColor), int x, int y, C c) {
    draw(b.Canvas(), x, y, ToColor(c));
}

// An arrow of the drawing routines, two pixels thick for a skin's larger buttons.
void Arrow(TBitmap& b, const TRect& r, C c, int kind) {
    skin::DrawDirArrow(b.Canvas(), r, ToColor(c), kind);
}

// ---- the atlas of control pictures ------------------------------------------------------------

// Hands out rectangles of a picture, each at the lowest free place (leftmost among equals),
// one pixel apart; the first free row of every column is kept.
class TAtlas {
public:
    explicit TAtlas(int width) : FTops(std::size_t(width), 0) {}
    TRect Take(int w, int h) {
        const int width = int(FTops.size());
        if (w > width) throw std::logic_error("atlas piece wider than the atlas");
        int bestX = 0, bestY = -1;
        for (int x = 0; x + w <= width; ++x) {
            const int y = *std::max_element(FTops.begin() + x, FTops.begin() + x + w);
            if (bestY < 0 || y < bestY) {
                bestX = x;
                bestY = y;
            }
        }
        for (int x = bestX; x < std::min(width, bestX + w + 1); ++x) FTops[x] = bestY + h + 1;
        FUsed = std::max(FUsed, bestY + h);
        return {bestX, bestY, bestX + w, bestY + h};
    }
    int UsedHeight() const { return FUsed; }

private:
    std::vector<int> FTops;
    int FUsed = 0;
};

// Pieces are drawn in two passes: the atlas first hands out every rectangle (so its height is
// known), then the painters run on the finished picture.
using TPainter = std::function<void(TBitmap&)>;

// ---- one skin ---------------------------------------------------------------------------------

enum TState { stNormal, stHot, stDown, stDisabled, stFocused };

class TSkinBuilder {
public:
    TSkinBuilder(int index, skin::TbsSkinContent& skin)
        : FIndex(index), FSkin(skin), P(kPalettes[index]), FAtlas(kMaxAtlasSide) {}

    void Build();

private:
    // Variants of the chooser skins; the list skin has none.
    bool Morph() const { return FIndex == 1; }
    bool Rounded() const { return FIndex == 2; }
    bool StretchedClient() const { return FIndex == 3; }
    bool Animated() const { return FIndex == 4; }
    bool CaptionGlow() const { return FIndex == 5; }
    bool AutoInactive() const { return FIndex == 6; }
    bool ButtonsLeft() const { return FIndex == 7; }

    // Picture indexes of the further pictures.
    static constexpr int kControls = 0, kButtons = 1, kPopup = 2, kHint = 3, kGlow = 4,
                         kGlowMask = 5;

    void Frame();
    void FramePicture(TBitmap& b, bool active);
    void CaptionBand(TBitmap& b, int top, bool active);
    void CaptionButton(TBitmap& b, const TRect& r, int which, TState state, bool active,
                       bool restored);
    void Objects();
    void Singletons();
    void Colors();
    void Controls();

    // Control record builders, one per shape.
    void ButtonRecord(skin::TbsDataSkinButtonControl& rec, int w, int h, double radius);
    void NineSlice(skin::TbsDataSkinCustomControl& rec, const TRect& r, int m);
    void PanelRecord(skin::TbsDataSkinPanelControl& rec, bool caption, bool bar);
    void CheckRadioRecord(skin::TbsDataSkinCheckRadioControl& rec, bool radio);
    void LabelRecord(skin::TbsDataSkinLabelControl& rec, bool header);
    void ScrollBarRecord(skin::TbsDataSkinScrollBarControl& rec, bool vertical);
    void UpDownRecord(skin::TbsDataSkinUpDownControl& rec, bool vertical);
    void EditRecord(skin::TbsDataSkinEditControl& rec, int w, int h, bool button);
    void ListBoxRecord(skin::TbsDataSkinListBox& rec, bool checks);
    void ComboBoxRecord(skin::TbsDataSkinComboBox& rec);
    void TabRecord(skin::TbsDataSkinTabControl& rec);
    void SliderRecord(skin::TbsDataSkinSlider& rec);
    void SplitterRecord(skin::TbsDataSkinSplitterControl& rec, bool vertical);
    void MainMenuBarRecord(skin::TbsDataSkinMainMenuBar& rec);
    void MenuItemRecord(skin::TbsDataSkinMenuItem& rec);
    void MainMenuBarItemRecord(skin::TbsDataSkinMainMenuBarItem& rec);

    // A face in a state; the glyph painter adds a mark on it.
    TFaceStyle FaceStyle(TState state, C base) const;
    TRect FacePiece(int w, int h, TState state, C base, double radius, C around,
                    TPainter extra = {});
    TRect Piece(int w, int h);
    // The framed field of edits and combo boxes, normal and active, as a nine-slice record.
    // With a drop button the idle button is part of both frames (the controls draw only its
    // hot, pressed and disabled pictures over it), where DropButton places it.
    template <class R>
    void FieldFrame(R& rec, int w, int h, bool idleButton = false) {
        const C back = P.window;
        TFaceStyle button = FaceStyle(stNormal, P.face);
        button.radius = 2;
        const C glyph = TextOn(P, P.face);
        auto frame = [&](bool active) {
            const TRect r = FAtlas.Take(w, h);
            const C border = active ? P.accent : Darker(Mix(P.panel, back, 0.5), 0.35);
            const C around = P.panel;
            Later([=](TBitmap& b) {
                Fill(b, r, around);
                Face(b, r, {back, back, border, 3, 0.0});
                if (!idleButton) return;
                const TRect br{r.Left + w - 18, r.Top + 2, r.Left + w - 2, r.Top + h - 2};
                Face(b, br, button);
                Arrow(b, br, glyph, 4);
            });
            return r;
        };
        const TRect normal = frame(false);
        rec.ActiveSkinRect = frame(true);
        NineSlice(rec, normal, 3);
        if (!idleButton) return;
        // The button stays in the fixed right part, outside the text or item area.
        rec.RTPoint.X = rec.RBPoint.X = rec.ClRect.Right = w - 19;
    }
    // The arrow button at the right end of a field, in its three states.
    template <class R>
    void DropButton(R& rec, int w, int h) {
        rec.ButtonRect = {w - 18, 2, w - 2, h - 2};
        const C glyph = TextOn(P, P.face);
        auto part = [&](TState state) {
            const TRect piece = FacePiece(16, h - 4, state, P.face, 2, P.window);
            Later([=](TBitmap& b) { Arrow(b, piece, glyph, 4); });
            return piece;
        };
        rec.ActiveButtonRect = part(stHot);
        rec.DownButtonRect = part(stDown);
        rec.UnEnabledButtonRect = part(stDisabled);
    }
    // The text colour of a face: chosen after the picture is drawn, from its centre pixel.
    void TextColorOf(const TRect& r, TColor& target);
    void Later(TPainter paint) { FPainters.push_back(std::move(paint)); }

    void SetFont(std::string& name, int& height) const {
        name = "Arial";
        height = 14;
    }

    int FIndex;
    skin::TbsSkinContent& FSkin;
    const TPalette& P;
    TAtlas FAtlas;
    std::vector<TPainter> FPainters;
    // Jobs that read the finished atlas (text colours from face centres).
    std::vector<std::function<void()>> FAfter;

    // Frame geometry shared by the frame, the objects and the button picture.
    static constexpr int kBorder = 4, kCaptionHeight = 26, kButtonSize = 18, kButtonTop = 4;
    static constexpr int kCornerRadius = 8;  // the rounded skin's window corners
    TRect FButtonRects[6];                   // close, max, min, roll-up, tray, system menu
    TRect FCaptionRect;
};

// ---- faces ------------------------------------------------------------------------------------

TFaceStyle TSkinBuilder::FaceStyle(TState state, C base) const {
    TFaceStyle s;
    C c = base;
    switch (state) {
        case stNormal:
            break;
        case stHot:
            // Dark faces stay dark when hot, so their light text stays.
            c = Mix(base, P.accent, 0.22);
            if (Luminance(base) > 0.2) c = Lighter(c, 0.12);
            break;
        case stDown:
            c = Mix(base, P.accent, 0.35);
            c = Darker(c, 0.12);
            s.shine = 0.1;
            break;
        case stDisabled:
            c = Mix(base, Grey(base), 0.7);
            s.shine = 0.15;
            break;
        case stFocused:
            c = Mix(base, P.accent, 0.10);
            break;
    }
    // A bright accent can lift a dark face to a middle tone where neither light nor dark text
    // reads: such a face is taken down until white text reads on its gradient's middle.
    if (Luminance(base) <= 0.2 && (state == stHot || state == stFocused)) {
        while (Contrast({255, 255, 255}, Mix(Lighter(c, 0.18), Darker(c, 0.08), 0.5)) <
               kMinContrast)
            c = Darker(c, 0.05);
    }
    s.top = Lighter(c, 0.18);
    s.bottom = Darker(c, 0.08);
    s.border = state == stFocused ? Darker(P.accent, 0.1) : Darker(c, 0.38);
    return s;
}

TRect TSkinBuilder::Piece(int w, int h) {
    return FAtlas.Take(w, h);
}

TRect TSkinBuilder::FacePiece(int w, int h, TState state, C base, double radius, C around,
                              TPainter extra) {
    const TRect r = FAtlas.Take(w, h);
    TFaceStyle s = FaceStyle(state, base);
    s.radius = radius;
    Later([r, s, around, extra](TBitmap& b) {
        Fill(b, r, around);
        Face(b, r, s);
        if (extra) extra(b);
    });
    return r;
}

void TSkinBuilder::TextColorOf(const TRect& r, TColor& target) {
    FAfter.push_back([this, r, &target] {
        TBitmap& atlas = *FSkin.FActivePictures[kControls];
        target = ToColor(TextOn(P, Get(atlas, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2)));
    });
}

void TSkinBuilder::NineSlice(skin::TbsDataSkinCustomControl& rec, const TRect& r, int m) {
    const int w = r.Width(), h = r.Height();
    rec.PictureIndex = kControls;
    rec.SkinRect = r;
    rec.LTPoint = {m, m};
    rec.RTPoint = {w - m, m};
    rec.LBPoint = {m, h - m};
    rec.RBPoint = {w - m, h - m};
    rec.ClRect = {m, m, w - m, h - m};
    rec.LeftStretch = rec.TopStretch = rec.RightStretch = rec.BottomStretch = true;
    rec.StretchEffect = true;
    rec.StretchType = skin::bsstFull;
}

// ---- control records --------------------------------------------------------------------------

void TSkinBuilder::ButtonRecord(skin::TbsDataSkinButtonControl& rec, int w, int h, double radius) {
    const TRect normal = FacePiece(w, h, stNormal, P.face, radius, P.panel);
    rec.ActiveSkinRect = FacePiece(w, h, stHot, P.face, radius, P.panel);
    rec.DownSkinRect = FacePiece(w, h, stDown, P.face, radius, P.panel);
    rec.DisabledSkinRect = FacePiece(w, h, stDisabled, P.face, radius, P.panel);
    rec.FocusedSkinRect = FacePiece(w, h, stFocused, P.face, radius, P.panel);
    NineSlice(rec, normal, std::min(5, std::min(w, h) / 3));
    SetFont(rec.FontName, rec.FontHeight);
    TextColorOf(normal, rec.FontColor);
    TextColorOf(rec.ActiveSkinRect, rec.ActiveFontColor);
    TextColorOf(rec.DownSkinRect, rec.DownFontColor);
    const C disabledFace = FaceStyle(stDisabled, P.face).top;
    rec.DisabledFontColor = ToColor(Mix(TextOn(P, disabledFace), disabledFace, 0.45));
    rec.ShowFocus = true;
    if (Morph()) {
        rec.Morphing = true;
        rec.MorphKind = skin::mkGradient;
    }
}

void TSkinBuilder::PanelRecord(skin::TbsDataSkinPanelControl& rec, bool caption, bool bar) {
    const int w = 48, h = caption ? 56 : 48, top = caption ? 20 : 4;
    const C panel = P.panel;
    const C band = Mix(P.captionTop, P.panel, 0.35);
    const TRect r = Piece(w, h);
    Later([=, this](TBitmap& b) {
        if (bar) {
            VGradient(b, r, Lighter(P.face, 0.25), Darker(P.face, 0.06));
            Fill(b, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, Darker(P.face, 0.3));
            Fill(b, {r.Left, r.Top, r.Right, r.Top + 1}, Lighter(P.face, 0.5));
            return;
        }
        Fill(b, r, panel);
        TFaceStyle s{panel, panel, Darker(panel, 0.3), 4, 0.0};
        Face(b, {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}, s);
        if (caption) {
            TFaceStyle head{Lighter(band, 0.15), band, Darker(band, 0.3), 4, 0.3};
            Face(b, {r.Left + 1, r.Top + 1, r.Right - 1, r.Top + 19}, head);
        }
    });
    NineSlice(rec, r, 6);
    rec.LTPoint = {6, top};
    rec.RTPoint = {w - 6, top};
    rec.ClRect = {6, top, w - 6, h - 6};
    if (bar) {
        rec.LTPoint = {4, 4};
        rec.RTPoint = {w - 4, 4};
        rec.LBPoint = {4, h - 4};
        rec.RBPoint = {w - 4, h - 4};
        rec.ClRect = {4, 4, w - 4, h - 4};
    }
    SetFont(rec.FontName, rec.FontHeight);
    if (caption) {
        rec.CaptionRect = {4, 2, w - 4, 18};
        rec.Alignment = skin::taLeftJustify;
        rec.FontColor = ToColor(TextOn(P, band));
    } else {
        rec.FontColor = ToColor(TextOn(P, bar ? P.face : panel));
    }
}

void TSkinBuilder::CheckRadioRecord(skin::TbsDataSkinCheckRadioControl& rec, bool radio) {
    const int w = 96, h = 20;
    const TRect back = Piece(w, h);
    const TRect hot = Piece(w, h);
    const C panel = P.panel;
    Later([=](TBitmap& b) {
        Fill(b, back, panel);
        Fill(b, hot, panel);
    });
    NineSlice(rec, back, 2);
    rec.ActiveSkinRect = hot;
    rec.CheckImageArea = {2, 3, 15, 16};
    rec.TextArea = {18, 0, w, h};
    // The box or circle in its states; its corners show the panel.
    auto image = [&](bool checked, TState state, bool grayed) {
        const TRect r = FAtlas.Take(13, 13);
        const C box = state == stDisabled ? Mix(P.window, panel, 0.6)
                      : state == stHot    ? Mix(P.window, P.accent, 0.15)
                                          : P.window;
        const C mark = state == stDisabled ? Mix(P.accent, Grey(P.accent), 0.8)
                       : grayed            ? Mix(P.accent, box, 0.55)
                                           : Darker(P.accent, 0.1);
        const C border = RingOn(P, state == stHot ? P.accent : Darker(panel, 0.45), box, panel,
                                state == stDisabled ? kMinDisabledRingContrast : kMinRingContrast);
        Later([=](TBitmap& b) {
            Fill(b, r, panel);
            Face(b, r, {box, box, border, radio ? 6.5 : 2.0, 0.0});
            if (!checked) return;
            if (radio) {
                Face(b, {r.Left + 4, r.Top + 4, r.Right - 4, r.Bottom - 4},
                     {mark, mark, mark, 2.5, 0});
            } else {
                skin::DrawCheckMark(b.Canvas(), r.Left + 3, r.Top + 3, ToColor(mark));
            }
        });
        return r;
    };
    rec.CheckImageRect = image(true, stNormal, false);
    rec.UnCheckImageRect = image(false, stNormal, false);
    rec.ActiveCheckImageRect = image(true, stHot, false);
    rec.ActiveUnCheckImageRect = image(false, stHot, false);
    rec.UnEnabledCheckImageRect = image(true, stDisabled, false);
    rec.UnEnabledUnCheckImageRect = image(false, stDisabled, false);
    rec.GrayedCheckImageRect = image(true, stNormal, true);
    rec.ActiveGrayedCheckImageRect = image(true, stHot, true);
    SetFont(rec.FontName, rec.FontHeight);
    rec.FontColor = ToColor(TextOn(P, panel));
    rec.ActiveFontColor = rec.FontColor;
    rec.FrameFontColor = rec.FontColor;
    rec.UnEnabledFontColor = ToColor(Mix(TextOn(P, panel), panel, 0.5));
    if (Morph()) {
        rec.Morphing = true;
        rec.MorphKind = skin::mkGradient;
    }
}

void TSkinBuilder::LabelRecord(skin::TbsDataSkinLabelControl& rec, bool header) {
    const int w = 60, h = 20;
    const C band = header ? Mix(P.captionTop, P.window, 0.55) : P.panel;
    const TRect r = Piece(w, h);
    Later([=](TBitmap& b) {
        if (header) {
            VGradient(b, r, Lighter(band, 0.15), band);
            Fill(b, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, Darker(band, 0.25));
        } else {
            Fill(b, r, band);
        }
    });
    NineSlice(rec, r, 3);
    SetFont(rec.FontName, rec.FontHeight);
    rec.FontColor = ToColor(TextOn(P, band));
    if (header) rec.FontStyle = gfx::fsBold;
}

void TSkinBuilder::ScrollBarRecord(skin::TbsDataSkinScrollBarControl& rec, bool vertical) {
    // As thick as a bar without a skin (19), so the bars keep their size across skins.
    const int len = 120, th = 19;
    const int w = vertical ? th : len, h = vertical ? len : th;
    const C track = Mix(P.panel, P.window, 0.5);
    const TRect r = Piece(w, h);
    auto at = [&](int along, int size) {
        return vertical ? TRect{0, along, th, along + size} : TRect{along, 0, along + size, th};
    };
    // The up button raises the position, so it sits at the far end (right or bottom).
    const TRect up = at(len - th, th), down = at(0, th);
    const int upKind = vertical ? 4 : 2, downKind = vertical ? 3 : 1;
    const C glyph = TextOn(P, P.face);
    auto button = [&](const TRect& inBar, int kind, TState state) {
        const TRect piece = FacePiece(th, th, state, P.face, 3, track, {});
        Later([=](TBitmap& b) { Arrow(b, piece, glyph, kind); });
        (void)inBar;
        return piece;
    };
    Later([=, this](TBitmap& b) {
        Fill(b, r, track);
        const TRect line = vertical ? TRect{r.Left, r.Top, r.Left + 1, r.Bottom}
                                    : TRect{r.Left, r.Top, r.Right, r.Top + 1};
        Fill(b, line, Darker(track, 0.12));
        for (auto [part, kind] : {std::pair{up, upKind}, std::pair{down, downKind}}) {
            const TRect pr{r.Left + part.Left, r.Top + part.Top, r.Left + part.Right,
                           r.Top + part.Bottom};
            TFaceStyle s = FaceStyle(stNormal, P.face);
            s.radius = 3;
            Face(b, pr, s);
            Arrow(b, pr, glyph, kind);
        }
    });
    NineSlice(rec, r, 2);
    // The far button must lie beyond the stretch point to move with the bar's end, so the
    // corners take two pixels of track as well.
    const int end = th + 2;
    if (vertical) {
        rec.LTPoint = {2, end};
        rec.RTPoint = {w - 2, end};
        rec.LBPoint = {2, h - end};
        rec.RBPoint = {w - 2, h - end};
        rec.ClRect = {2, end, w - 2, h - end};
        rec.TrackArea = {0, th, w, h - th};
    } else {
        rec.LTPoint = {end, 2};
        rec.RTPoint = {w - end, 2};
        rec.LBPoint = {end, h - 2};
        rec.RBPoint = {w - end, h - 2};
        rec.ClRect = {end, 2, w - end, h - 2};
        rec.TrackArea = {th, 0, w - th, h};
    }
    rec.UpButtonRect = up;
    rec.DownButtonRect = down;
    rec.ActiveUpButtonRect = button(up, upKind, stHot);
    rec.DownUpButtonRect = button(up, upKind, stDown);
    rec.ActiveDownButtonRect = button(down, downKind, stHot);
    rec.DownDownButtonRect = button(down, downKind, stDown);
    const int tl = 30;
    auto thumb = [&](TState state) {
        return FacePiece(vertical ? th : tl, vertical ? tl : th, state, Mix(P.face, P.accent, 0.1),
                         4, track);
    };
    rec.ThumbRect = thumb(stNormal);
    rec.ActiveThumbRect = thumb(stHot);
    rec.DownThumbRect = thumb(stDown);
    rec.ThumbOffset1 = 6;
    rec.ThumbOffset2 = 6;
    rec.ThumbStretchEffect = true;
    rec.ThumbMinSize = 14;
    rec.ThumbMinPageSize = 14;
}

void TSkinBuilder::UpDownRecord(skin::TbsDataSkinUpDownControl& rec, bool vertical) {
    const int bw = vertical ? 16 : 12, bh = vertical ? 10 : 16;
    const TRect whole = FAtlas.Take(vertical ? bw : 2 * bw, vertical ? 2 * bh : bh);
    const C glyph = TextOn(P, P.face);
    const int upKind = vertical ? 3 : 2, downKind = vertical ? 4 : 1;
    auto part = [&](int kind, TState state) {
        const TRect piece = FacePiece(bw, bh, state, P.face, 2, P.panel);
        Later([=](TBitmap& b) { Arrow(b, piece, glyph, kind); });
        return piece;
    };
    const TRect first = vertical ? TRect{whole.Left, whole.Top, whole.Right, whole.Top + bh}
                                 : TRect{whole.Left + bw, whole.Top, whole.Right, whole.Bottom};
    const TRect second = vertical ? TRect{whole.Left, whole.Top + bh, whole.Right, whole.Bottom}
                                  : TRect{whole.Left, whole.Top, whole.Left + bw, whole.Bottom};
    Later([=, this](TBitmap& b) {
        for (auto [r, kind] : {std::pair{first, upKind}, std::pair{second, downKind}}) {
            Fill(b, r, P.panel);
            TFaceStyle s = FaceStyle(stNormal, P.face);
            s.radius = 2;
            Face(b, r, s);
            Arrow(b, r, glyph, kind);
        }
    });
    rec.PictureIndex = kControls;
    rec.SkinRect = whole;
    // The normal rectangles are also the buttons' places in the control: relative to SkinRect.
    rec.UpButtonRect = first.Offset(-whole.Left, -whole.Top);
    rec.DownButtonRect = second.Offset(-whole.Left, -whole.Top);
    rec.ActiveUpButtonRect = part(upKind, stHot);
    rec.DownUpButtonRect = part(upKind, stDown);
    rec.ActiveDownButtonRect = part(downKind, stHot);
    rec.DownDownButtonRect = part(downKind, stDown);
}

void TSkinBuilder::EditRecord(skin::TbsDataSkinEditControl& rec, int w, int h, bool button) {
    const C back = P.window;
    FieldFrame(rec, w, h, button);
    SetFont(rec.FontName, rec.FontHeight);
    rec.FontColor = ToColor(TextOn(P, back));
    rec.ActiveFontColor = rec.FontColor;
    rec.DisabledFontColor = ToColor(Mix(TextOn(P, back), back, 0.5));
    if (button) {
        DropButton(rec, w, h);
    }
}

void TSkinBuilder::ListBoxRecord(skin::TbsDataSkinListBox& rec, bool checks) {
    const C back = P.window;
    const TRect r = FAtlas.Take(80, 60);
    Later([=, this](TBitmap& b) {
        Fill(b, r, P.panel);
        Face(b, r, {back, back, Darker(Mix(P.panel, back, 0.5), 0.35), 3, 0.0});
    });
    NineSlice(rec, r, 3);
    const int iw = 60, ih = 18;
    rec.SItemRect = FAtlas.Take(iw, ih);
    const TRect item = rec.SItemRect;
    Later([=](TBitmap& b) { Fill(b, item, back); });
    const C select = Mix(back, P.accent, 0.55);
    auto highlight = [&](bool focus) {
        const TRect hr = FAtlas.Take(iw, ih);
        Later([=](TBitmap& b) {
            Fill(b, hr, back);
            Face(b, hr, {Lighter(select, 0.1), select, Darker(select, focus ? 0.35 : 0.2), 2, 0.2});
        });
        return hr;
    };
    rec.ActiveItemRect = highlight(false);
    rec.FocusItemRect = highlight(true);
    rec.ItemLeftOffset = 3;
    rec.ItemRightOffset = 3;
    rec.ItemTextRect = {4, 0, iw - 4, ih};
    SetFont(rec.FontName, rec.FontHeight);
    rec.FontColor = ToColor(TextOn(P, back));
    TextColorOf(rec.ActiveItemRect, rec.ActiveFontColor);
    TextColorOf(rec.FocusItemRect, rec.FocusFontColor);
    rec.CaptionFontColor = rec.FontColor;
    rec.ShowFocus = true;
    if (!checks) return;
    auto box = [&](bool checked) {
        const TRect cr = FAtlas.Take(13, 13);
        const C border = Darker(Mix(P.panel, back, 0.5), 0.45);
        const C mark = Darker(P.accent, 0.1);
        Later([=](TBitmap& b) {
            Fill(b, cr, back);
            Face(b, cr, {back, back, border, 2, 0});
            if (checked) skin::DrawCheckMark(b.Canvas(), cr.Left + 3, cr.Top + 3, ToColor(mark));
        });
        return cr;
    };
    auto& checkList = static_cast<skin::TbsDataSkinCheckListBox&>(rec);
    checkList.CheckImageRect = box(true);
    checkList.UnCheckImageRect = box(false);
    checkList.ItemCheckRect = {2, 2, 15, 15};
}

void TSkinBuilder::ComboBoxRecord(skin::TbsDataSkinComboBox& rec) {
    const int w = 100, h = 20;
    const C back = P.window;
    FieldFrame(rec, w, h, true);
    rec.SItemRect = FAtlas.Take(60, h - 4);
    const TRect item = rec.SItemRect;
    Later([=](TBitmap& b) { Fill(b, item, back); });
    const C select = Mix(back, P.accent, 0.55);
    rec.ActiveItemRect = FAtlas.Take(60, h - 4);
    rec.FocusItemRect = rec.ActiveItemRect;
    const TRect hr = rec.ActiveItemRect;
    Later([=](TBitmap& b) { VGradient(b, hr, Lighter(select, 0.1), select); });
    rec.ItemLeftOffset = 2;
    rec.ItemRightOffset = 2;
    rec.ItemTextRect = {3, 0, 57, h - 4};
    DropButton(rec, w, h);
    rec.ItemStretchEffect = true;
    rec.FocusItemStretchEffect = true;
    rec.ListBoxName = "listbox";
    SetFont(rec.FontName, rec.FontHeight);
    rec.FontColor = ToColor(TextOn(P, back));
    rec.ActiveFontColor = rec.FontColor;
    TextColorOf(hr, rec.FocusFontColor);
}

void TSkinBuilder::TabRecord(skin::TbsDataSkinTabControl& rec) {
    const int tw = 60, th = 22;
    auto tab = [&](TState state, bool selected) {
        const TRect r = FAtlas.Take(tw, th);
        TFaceStyle s = FaceStyle(state, selected ? P.panel : Mix(P.face, P.panel, 0.4));
        s.radius = 4;
        if (selected) s.top = s.bottom = P.panel;
        const C around = Mix(P.panel, P.face, 0.5);
        Later([=](TBitmap& b) {
            Fill(b, r, around);
            Face(b, {r.Left, r.Top, r.Right, r.Bottom + 5}, s);
        });
        return r;
    };
    rec.TabRect = tab(stNormal, false);
    rec.ActiveTabRect = tab(stNormal, true);
    rec.FocusTabRect = tab(stFocused, true);
    rec.MouseInTabRect = tab(stHot, false);
    const int w = 80, h = 60;
    const TRect page = FAtlas.Take(w, h);
    Later([=, this](TBitmap& b) {
        Fill(b, page, Mix(P.panel, P.face, 0.5));
        Face(b, page, {P.panel, P.panel, Darker(P.panel, 0.35), 3, 0.0});
    });
    rec.PictureIndex = kControls;
    rec.SkinRect = page;
    rec.LTPoint = {4, 4};
    rec.RTPoint = {w - 4, 4};
    rec.LBPoint = {4, h - 4};
    rec.RBPoint = {w - 4, h - 4};
    rec.ClRect = {4, 4, w - 4, h - 4};
    rec.LeftStretch = rec.TopStretch = rec.RightStretch = rec.BottomStretch = true;
    rec.StretchEffect = true;
    rec.TabLeftOffset = 5;
    rec.TabRightOffset = 5;
    rec.TabStretchEffect = true;
    rec.ShowFocus = false;
    SetFont(rec.FontName, rec.FontHeight);
    TextColorOf(rec.TabRect, rec.FontColor);
    TextColorOf(rec.ActiveTabRect, rec.ActiveFontColor);
    TextColorOf(rec.FocusTabRect, rec.FocusFontColor);
    TextColorOf(rec.MouseInTabRect, rec.MouseInFontColor);
}

void TSkinBuilder::SliderRecord(skin::TbsDataSkinSlider& rec) {
    const C groove = Darker(Mix(P.panel, P.window, 0.3), 0.2);
    const C panel = P.panel;
    // The slider tiles the ruler's middle along its length: a vertical ruler gets no top-to-bottom
    // gradient, which would show a seam at every tile.
    auto ruler = [&](int w, int h) {
        const TRect r = FAtlas.Take(w, h);
        const C top = h > w ? groove : Darker(groove, 0.1);
        Later([=](TBitmap& b) {
            Fill(b, r, panel);
            Face(b, r, {top, groove, Darker(groove, 0.3), 2.5, 0});
        });
        return r;
    };
    // A thumb holds its normal and its pressed look side by side.
    auto thumb = [&](int w, int h) {
        const TRect r = FAtlas.Take(2 * w, h);
        Later([=, this](TBitmap& b) {
            Fill(b, r, panel);
            for (auto [left, state] :
                 {std::pair{r.Left, stNormal}, std::pair{r.Left + w, stDown}}) {
                TFaceStyle s = FaceStyle(state, P.face);
                s.radius = 3;
                Face(b, {left, r.Top, left + w, r.Bottom}, s);
            }
        });
        return r;
    };
    rec.PictureIndex = kControls;
    rec.HRulerRect = ruler(100, 6);
    rec.HThumbRect = thumb(11, 18);
    rec.VRulerRect = ruler(6, 100);
    rec.VThumbRect = thumb(18, 11);
    rec.SkinRect = rec.HRulerRect;
    rec.EdgeSize = 3;
    rec.BGColor = ToColor(panel);
    rec.PointsColor = ToColor(Darker(panel, 0.4));
}

void TSkinBuilder::SplitterRecord(skin::TbsDataSkinSplitterControl& rec, bool vertical) {
    const int w = vertical ? 6 : 40, h = vertical ? 40 : 6;
    const C c = Mix(P.panel, P.face, 0.5);
    const TRect r = FAtlas.Take(w, h);
    Later([=](TBitmap& b) { Fill(b, r, c); });
    rec.PictureIndex = kControls;
    rec.SkinRect = r;
    if (vertical) {
        rec.LTPoint = {0, 4};
        rec.LBPoint = {0, h - 4};
    } else {
        rec.LTPoint = {4, 0};
        rec.RTPoint = {w - 4, 0};
    }
    rec.StretchEffect = true;
    const TRect grip = FAtlas.Take(vertical ? 4 : 16, vertical ? 16 : 4);
    rec.GripperRect = grip;
    rec.GripperTransparent = true;
    rec.GripperTransparentColor = ToColor(c);
    const C dots = Darker(c, 0.4);
    Later([=](TBitmap& b) {
        Fill(b, grip, c);
        for (int i = 1; i + 1 < std::max(grip.Width(), grip.Height()); i += 3) {
            const int x = grip.Left + (vertical ? 1 : i), y = grip.Top + (vertical ? i : 1);
            Fill(b, {x, y, x + 2, y + 2}, dots);
        }
        // Key colour in the bottom-left pixel for the transparent copy.
        Put(b, grip.Left, grip.Bottom - 1, c);
    });
}

void TSkinBuilder::MainMenuBarRecord(skin::TbsDataSkinMainMenuBar& rec) {
    const TRect r = FAtlas.Take(80, 22);
    const C bar = Mix(P.panel, P.face, 0.5);
    Later([=](TBitmap& b) {
        VGradient(b, r, Lighter(bar, 0.12), bar);
        Fill(b, {r.Left, r.Bottom - 1, r.Right, r.Bottom}, Darker(bar, 0.2));
    });
    rec.PictureIndex = kControls;
    rec.SkinRect = r;
    rec.ItemsRect = {2, 1, 78, 21};
    rec.MenuBarItem = "mainmenubaritem";
    rec.StretchEffect = true;
    rec.TrackMarkColor = ToColor(Darker(bar, 0.3));
    rec.TrackMarkActiveColor = ToColor(P.accent);
}

void TSkinBuilder::MainMenuBarItemRecord(skin::TbsDataSkinMainMenuBarItem& rec) {
    const C bar = Mix(P.panel, P.face, 0.5);
    const int w = 40, h = 20;
    const TRect normal = FAtlas.Take(w, h);
    Later([=](TBitmap& b) { VGradient(b, normal, Lighter(bar, 0.12), Lighter(bar, 0.02)); });
    rec.SkinRectInAPicture = true;
    rec.ActivePictureIndex = kControls;
    rec.SkinRect = normal;
    rec.ActiveSkinRect = FacePiece(w, h, stHot, bar, 3, bar);
    rec.DownRect = FacePiece(w, h, stDown, bar, 3, bar);
    rec.ItemLO = 4;
    rec.ItemRO = 4;
    rec.TextRct = {4, 0, w - 4, h};
    rec.StretchEffect = true;
    rec.FontName = "Arial";
    rec.FontHeight = 14;
    rec.FontColor = ToColor(TextOn(P, bar));
    TextColorOf(rec.ActiveSkinRect, rec.ActiveFontColor);
    TextColorOf(rec.DownRect, rec.DownFontColor);
    rec.UnEnabledFontColor = ToColor(Mix(TextOn(P, bar), bar, 0.5));
}

void TSkinBuilder::MenuItemRecord(skin::TbsDataSkinMenuItem& rec) {
    const C back = P.window;
    const int w = 80, h = 20;
    const TRect normal = FAtlas.Take(w, h);
    Later([=](TBitmap& b) { Fill(b, normal, back); });
    const C select = Mix(back, P.accent, 0.55);
    const TRect hot = FAtlas.Take(w, h);
    Later([=](TBitmap& b) {
        Fill(b, hot, back);
        Face(b, hot, {Lighter(select, 0.12), select, Darker(select, 0.25), 3, 0.2});
    });
    const TRect divider = FAtlas.Take(w, 6);
    Later([=](TBitmap& b) {
        Fill(b, divider, back);
        Fill(b, {divider.Left + 2, divider.Top + 2, divider.Right - 2, divider.Top + 3},
             Darker(back, 0.2));
        Fill(b, {divider.Left + 2, divider.Top + 3, divider.Right - 2, divider.Top + 4},
             Lighter(back, 0.5));
    });
    rec.SkinRectInAPicture = true;
    rec.ActivePictureIndex = kControls;
    rec.SkinRect = normal;
    rec.ActiveSkinRect = hot;
    rec.DividerRect = divider;
    rec.DividerLO = 3;
    rec.DividerRO = 3;
    rec.ItemLO = 4;
    rec.ItemRO = 4;
    rec.TextRct = {22, 0, w - 4, h};
    rec.ImageRct = {3, 2, 19, 18};
    rec.StretchEffect = true;
    rec.DividerStretchEffect = true;
    rec.FontName = "Arial";
    rec.FontHeight = 14;
    rec.FontColor = ToColor(TextOn(P, back));
    TextColorOf(hot, rec.ActiveFontColor);
    rec.UnEnabledFontColor = ToColor(Mix(TextOn(P, back), back, 0.5));
    if (Morph()) {
        rec.Morphing = true;
        rec.MorphKind = skin::mkGradient;
    }
}

void TSkinBuilder::Controls() {
    const bool list = FIndex == kListSkin;
    for (const TContentRow& row : SkinContents()) {
        if (row.Object || (list && !row.ListSkin)) continue;
        auto rec = skin::CreateControlRecord(row.Kind, std::string(row.Name));
        if (!rec) throw std::logic_error("unknown control kind " + std::string(row.Kind));
        const std::string_view n = row.Name;
        if (auto* menuButton = dynamic_cast<skin::TbsDataSkinMenuButtonControl*>(rec.get())) {
            ButtonRecord(*menuButton, 36, 24, 3);
            menuButton->TrackButtonRect = {22, 0, 36, 24};
        } else if (auto* button = dynamic_cast<skin::TbsDataSkinButtonControl*>(rec.get())) {
            const bool small = n == "editbutton" || n == "combobutton";
            const bool tool = n == "toolbutton" || n == "resizetoolbutton" ||
                              n == "officequickbutton" || n == "menuitembutton";
            ButtonRecord(*button,
                         small  ? 17
                         : tool ? 24
                                : 64,
                         small ? 20 : 24,
                         small  ? 2
                         : tool ? 3
                                : 4);
            if (n == "button" && Animated()) {
                // A strip of frames from the normal face to the hot one, and a glow behind.
                const int w = 64, h = 24, frames = 4;
                const TRect strip = FAtlas.Take(w * frames, h);
                button->AnimateSkinRect = strip;
                button->FrameCount = frames;
                button->AnimateInterval = 40;
                const TFaceStyle from = FaceStyle(stNormal, P.face), to = FaceStyle(stHot, P.face);
                const C around = P.panel;
                Later([=](TBitmap& b) {
                    for (int f = 0; f < frames; ++f) {
                        const double t = double(f + 1) / frames;
                        const TRect r{strip.Left + f * w, strip.Top, strip.Left + (f + 1) * w,
                                      strip.Bottom};
                        TFaceStyle s{Mix(from.top, to.top, t), Mix(from.bottom, to.bottom, t),
                                     Mix(from.border, to.border, t), 4, 0.35};
                        Fill(b, r, around);
                        Face(b, r, s);
                    }
                });
                button->GlowLayerPictureIndex = kGlow;
                button->GlowLayerMaskPictureIndex = kGlowMask;
                button->GlowLayerOffsetLeft = 6;
                button->GlowLayerOffsetRight = 6;
                button->GlowLayerOffsetTop = 6;
                button->GlowLayerOffsetBottom = 6;
                button->GlowLayerShowOffsetX = 6;
                button->GlowLayerShowOffsetY = 6;
                button->GlowLayerAlphaBlendValue = 200;
            }
        } else if (auto* panel = dynamic_cast<skin::TbsDataSkinPanelControl*>(rec.get())) {
            PanelRecord(*panel, n == "groupbox", n == "toolpanel" || n == "resizetoolpanel");
        } else if (auto* check = dynamic_cast<skin::TbsDataSkinCheckRadioControl*>(rec.get())) {
            CheckRadioRecord(*check, n == "radiobox");
        } else if (auto* stdLabel = dynamic_cast<skin::TbsDataSkinStdLabelControl*>(rec.get())) {
            SetFont(stdLabel->FontName, stdLabel->FontHeight);
            stdLabel->FontColor = ToColor(TextOn(P, P.panel));
            stdLabel->ActiveFontColor = ToColor(TextOn(P, P.panel));
        } else if (auto* label = dynamic_cast<skin::TbsDataSkinLabelControl*>(rec.get())) {
            LabelRecord(*label, n == "menuheader");
        } else if (auto* bar = dynamic_cast<skin::TbsDataSkinScrollBarControl*>(rec.get())) {
            ScrollBarRecord(*bar, n == "vscrollbar");
        } else if (auto* view = dynamic_cast<skin::TbsDataSkinTreeView*>(rec.get())) {
            SetFont(view->FontName, view->FontHeight);
            view->FontColor = ToColor(TextOn(P, P.window));
            view->BGColor = ToColor(P.window);
        } else if (auto* listView = dynamic_cast<skin::TbsDataSkinListView*>(rec.get())) {
            SetFont(listView->FontName, listView->FontHeight);
            listView->FontColor = ToColor(TextOn(P, P.window));
            listView->BGColor = ToColor(P.window);
        } else if (auto* tab = dynamic_cast<skin::TbsDataSkinTabControl*>(rec.get())) {
            TabRecord(*tab);
        } else if (auto* upDown = dynamic_cast<skin::TbsDataSkinUpDownControl*>(rec.get())) {
            UpDownRecord(*upDown, n == "vupdown");
        } else if (auto* slider = dynamic_cast<skin::TbsDataSkinSlider*>(rec.get())) {
            SliderRecord(*slider);
        } else if (auto* memo = dynamic_cast<skin::TbsDataSkinMemoControl*>(rec.get())) {
            EditRecord(*memo, 80, 60, false);
            memo->BGColor = ToColor(P.window);
            memo->ActiveBGColor = ToColor(P.window);
        } else if (auto* edit = dynamic_cast<skin::TbsDataSkinEditControl*>(rec.get())) {
            EditRecord(*edit, 80, 20, n == "buttonedit");
        } else if (auto* combo = dynamic_cast<skin::TbsDataSkinComboBox*>(rec.get())) {
            ComboBoxRecord(*combo);
        } else if (auto* listBox = dynamic_cast<skin::TbsDataSkinListBox*>(rec.get())) {
            ListBoxRecord(*listBox, n == "checklistbox");
        } else if (auto* box = dynamic_cast<skin::TbsDataSkinScrollBoxControl*>(rec.get())) {
            const TRect r = FAtlas.Take(48, 48);
            Later([=, this](TBitmap& b) {
                Fill(b, r, P.panel);
                Face(b, r, {P.panel, P.panel, Darker(P.panel, 0.3), 2, 0});
            });
            NineSlice(*box, r, 2);
        } else if (auto* splitter = dynamic_cast<skin::TbsDataSkinSplitterControl*>(rec.get())) {
            SplitterRecord(*splitter, n == "vsplitter");
        } else if (auto* bevel = dynamic_cast<skin::TbsDataSkinBevel*>(rec.get())) {
            bevel->LightColor = ToColor(Lighter(P.panel, 0.55));
            bevel->DarkColor = ToColor(Darker(P.panel, 0.35));
        } else if (auto* menuBar = dynamic_cast<skin::TbsDataSkinMainMenuBar*>(rec.get())) {
            MainMenuBarRecord(*menuBar);
        } else {
            throw std::logic_error("no builder for " + std::string(row.Name));
        }
        FSkin.CtrlList.push_back(std::move(rec));
    }
}

// ---- the frame --------------------------------------------------------------------------------

void TSkinBuilder::CaptionBand(TBitmap& b, int top, bool active) {
    C t = P.captionTop, bo = P.captionBottom;
    if (!active) {
        t = Mix(Mix(t, Grey(t), 0.6), P.panel, 0.35);
        bo = Mix(Mix(bo, Grey(bo), 0.6), P.panel, 0.35);
    }
    VGradient(b, {0, top, b.Width(), top + kCaptionHeight}, t, bo);
    Fill(b, {0, top + 1, b.Width(), top + 2}, Mix(t, {255, 255, 255}, 0.3));
}

// which: 0 close, 1 max, 2 min, 3 roll-up, 4 tray, 5 system menu.
void TSkinBuilder::CaptionButton(TBitmap& b, const TRect& r, int which, TState state, bool active,
                                 bool restored) {
    const C band = Get(b, (r.Left + r.Right) / 2, r.Top + 1);
    C glyph = TextOn(P, band);
    if (!active) glyph = Mix(glyph, band, 0.35);
    if (state == stHot || state == stDown) {
        C base = which == 0 ? C{200, 56, 44} : Mix(band, P.accent, 0.5);
        TFaceStyle s = FaceStyle(state, base);
        s.radius = 4;
        Face(b, r, s);
        glyph = TextOn(P, Get(b, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
    } else if (which != 5) {
        // A quiet outline so the buttons read as buttons before the pointer reaches them.
        TFaceStyle s{Mix(band, {255, 255, 255}, 0.08), Mix(band, {0, 0, 0}, 0.04),
                     Mix(band, glyph, 0.3), 4, 0.0};
        Face(b, r, s);
    }
    const int x = r.Left + (r.Width() - 10) / 2, y = r.Top + (r.Height() - 10) / 2;
    using Draw = void (*)(gfx::TCanvas&, int, int, TColor);
    const Draw glyphs[6] = {skin::DrawCloseGlyph,  skin::DrawMaximizeGlyph, skin::DrawMinimizeGlyph,
                            skin::DrawRollUpGlyph, skin::DrawTrayGlyph,     skin::DrawSysMenuGlyph};
    Draw draw = glyphs[which];
    if (restored && which == 1) draw = skin::DrawRestoreGlyph;
    if (restored && which == 3) draw = skin::DrawRollDownGlyph;
    Glyph(b, draw, x, y, glyph);
    if (which == 0) Glyph(b, draw, x + 1, y, glyph);  // a bolder cross
}

void TSkinBuilder::FramePicture(TBitmap& b, bool active) {
    const int w = kFrameWidth, h = kFrameHeight;
    const C edge = active ? Darker(P.captionBottom, 0.1)
                          : Mix(Mix(P.captionBottom, Grey(P.captionBottom), 0.6), P.panel, 0.3);
    Fill(b, {0, 0, w, h}, edge);
    CaptionBand(b, 0, active);
    const TRect client{kBorder, kCaptionHeight, w - kBorder, h - kBorder};
    if (StretchedClient())
        VGradient(b, client, Lighter(P.panel, 0.35), Darker(P.panel, 0.06));
    else
        Fill(b, client, P.panel);
    // Outline and the inner edge of the border.
    const C outline = Darker(edge, 0.35);
    Fill(b, {0, 0, w, 1}, outline);
    Fill(b, {0, h - 1, w, h}, outline);
    Fill(b, {0, 0, 1, h}, outline);
    Fill(b, {w - 1, 0, w, h}, outline);
    Fill(b, {kBorder - 1, kCaptionHeight, kBorder, h - kBorder + 1}, Darker(edge, 0.2));
    Fill(b, {w - kBorder, kCaptionHeight, w - kBorder + 1, h - kBorder + 1}, Lighter(edge, 0.2));
    Fill(b, {kBorder - 1, h - kBorder, w - kBorder + 1, h - kBorder + 1}, Lighter(edge, 0.2));
    if (Rounded()) {
        // What the mask cuts away: darker, so a region that fails still looks intentional.
        const TRect all{0, 0, w, h};
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (RoundedDistance(x + 0.5, y + 0.5, all, kCornerRadius) > 0)
                    Put(b, x, y, Darker(edge, 0.5));
    }
}

void TSkinBuilder::Frame() {
    const int w = kFrameWidth, h = kFrameHeight;
    // Caption buttons: close, max, min, roll-up, tray in a row at one end, the system menu at
    // the other.
    for (int i = 0; i < 5; ++i) {
        const int step = kButtonSize + 2;
        const int x =
            ButtonsLeft() ? kBorder + 2 + i * step : w - kBorder - 2 - kButtonSize - i * step;
        FButtonRects[i] = {x, kButtonTop, x + kButtonSize, kButtonTop + kButtonSize};
    }
    const int sysX = ButtonsLeft() ? w - kBorder - 2 - kButtonSize : kBorder + 2;
    FButtonRects[5] = {sysX, kButtonTop, sysX + kButtonSize, kButtonTop + kButtonSize};
    const int rowStart = ButtonsLeft() ? FButtonRects[0].Left : FButtonRects[4].Left;
    const int rowEnd = ButtonsLeft() ? FButtonRects[4].Right : FButtonRects[0].Right;
    // The corners hold the buttons; the caption text lies between them. On the right-hand
    // layout the caption starts where the system-menu button goes: the form puts that button
    // at the caption's left end and, when the button is left out, the text begins there.
    const int leftCorner = ButtonsLeft() ? rowEnd + 2 : FButtonRects[5].Right + 4;
    const int rightCorner = ButtonsLeft() ? FButtonRects[5].Left - 4 : rowStart - 2;
    FCaptionRect = {ButtonsLeft() ? leftCorner : FButtonRects[5].Left, 2, rightCorner,
                    kCaptionHeight - 2};

    FSkin.FPicture = NewPicture(w, h, P.panel);
    FramePicture(*FSkin.FPicture, true);
    FSkin.FPictureName = "frame.bmp";
    if (!AutoInactive()) {
        FSkin.FInActivePicture = NewPicture(w, h, P.panel);
        FramePicture(*FSkin.FInActivePicture, false);
        FSkin.FInActivePictureName = "frameinactive.bmp";
    }
    if (Rounded()) {
        FSkin.FMask = NewPicture(w, h, {255, 255, 255});
        const TRect all{0, 0, w, h};
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (RoundedDistance(x + 0.5, y + 0.5, all, kCornerRadius) <= 0)
                    Put(*FSkin.FMask, x, y, {});
        FSkin.FMaskName = "mask.bmp";
    }

    FSkin.LTPoint = {leftCorner, kCaptionHeight};
    FSkin.RTPoint = {rightCorner, kCaptionHeight};
    // The bottom corners hold the whole rounding: a piece of it in the tiled edges would come
    // back as a notch at every repetition.
    const int corner = Rounded() ? kCornerRadius : kBorder;
    FSkin.LBPoint = {corner, h - corner};
    FSkin.RBPoint = {w - corner, h - corner};
    FSkin.ClRect = {kBorder, kCaptionHeight, w - kBorder, h - kBorder};
    const bool stretch = FIndex != 0;
    FSkin.LeftStretch = FSkin.RightStretch = FSkin.TopStretch = FSkin.BottomStretch = stretch;
    if (StretchedClient()) {
        FSkin.StretchEffect = true;
        FSkin.StretchType = skin::bsstHorz;
    }
    // The frame picture holds no caption button: the form lays them out in this row from its
    // right end (left end for the left-hand layout) and leaves out those its border icons
    // exclude. A right-hand row moves with the form's right edge only when it starts right of
    // the picture's middle; the buttons are placed from its right end, so its left may be there.
    const int rowLeft = ButtonsLeft() ? rowStart : std::max(rowStart, w / 2 + 1);
    FSkin.ButtonsRect = {rowLeft, kButtonTop, rowEnd, kButtonTop + kButtonSize};
    FSkin.ButtonsOffset = 2;
    FSkin.CaptionRect = FCaptionRect;
    FSkin.CapButtonsInLeft = ButtonsLeft();
    FSkin.BorderW = kBorder;
    FSkin.FormMinWidth = 160;
    if (AutoInactive()) {
        FSkin.AutoRenderingInActiveImage = true;
        FSkin.InActiveEffect = skin::ieDarkness;
    }
}

void TSkinBuilder::Objects() {
    // Every look of the caption buttons, their restore looks included, as rows of the caption
    // band in a picture of their own: the buttons are laid out by the form, not painted into
    // the frame, so those a form's border icons leave out disappear.
    const int w = kFrameWidth;
    enum {
        kHot,
        kDown,
        kInactive,
        kRestore,
        kRestoreHot,
        kRestoreDown,
        kRestoreInactive,
        kNormal,
        kRows
    };
    auto buttons = NewPicture(w, kRows * kCaptionHeight, P.panel);
    const TState states[kRows] = {stHot, stDown, stNormal, stNormal,
                                  stHot, stDown, stNormal, stNormal};
    for (int row = 0; row < kRows; ++row) {
        const bool active = row != kInactive && row != kRestoreInactive;
        const int top = row * kCaptionHeight;
        CaptionBand(*buttons, top, active);
        for (int i = 0; i < 6; ++i) {
            TRect r = FButtonRects[i];
            r.Top += top;
            r.Bottom += top;
            CaptionButton(*buttons, r, i, states[row], active, row >= kRestore && row != kNormal);
        }
    }
    FSkin.FActivePictures[kButtons] = std::move(buttons);
    auto rowOf = [](TRect r, int row) {
        r.Top += row * kCaptionHeight;
        r.Bottom += row * kCaptionHeight;
        return r;
    };

    if (FIndex != kListSkin) {
        auto caption = std::make_unique<skin::TbsDataSkinCaption>("caption");
        // The frame maps an object by the corner zones its corners lie in, and a zone ends
        // before its right edge: a record starting at LTPoint.X would lie in no zone and never
        // stretch. One pixel inside the left corner (the right edge, RTPoint.X, is already the
        // right corner's first column) makes it stretch with the form; the text keeps its place.
        const TRect captionRecord{FCaptionRect.Left - 1, FCaptionRect.Top, FCaptionRect.Right,
                                  FCaptionRect.Bottom};
        caption->SkinRect = captionRecord;
        caption->TextRct = {3, 0, captionRecord.Width() - 2, captionRecord.Height()};
        caption->Alignment = ButtonsLeft() ? skin::taCenter : skin::taLeftJustify;
        caption->FontName = "Arial";
        caption->FontHeight = 15;
        caption->FontStyle = gfx::fsBold;
        const int cx = (FCaptionRect.Left + FCaptionRect.Right) / 2;
        const int cy = (FCaptionRect.Top + FCaptionRect.Bottom) / 2;
        const C activeBand = Get(*FSkin.FPicture, cx, cy);
        caption->ActiveFontColor = ToColor(TextOnBand(P, *FSkin.FPicture, FCaptionRect));
        const bool ownInactive = !FSkin.FInActivePicture->Empty();
        const C inactiveBand = ownInactive ? Get(*FSkin.FInActivePicture, cx, cy) : activeBand;
        caption->FontColor = ToColor(
            TextOnBand(P, ownInactive ? *FSkin.FInActivePicture : *FSkin.FPicture, FCaptionRect));
        caption->ShadowColor = ToColor(Darker(inactiveBand, 0.4));
        caption->ActiveShadowColor = ToColor(Darker(activeBand, 0.4));
        if (CaptionGlow()) {
            caption->GlowEffect = true;
            caption->GlowInActiveEffect = false;
            caption->GlowSize = 3;
            caption->GlowOffset = 0;
            const C halo = Contrast(FromColor(caption->ActiveFontColor), {0, 0, 0}) > 7
                               ? C{90, 50, 0}
                               : C{255, 250, 220};
            caption->GlowColor = ToColor(halo);
            caption->GlowActiveColor = ToColor(halo);
        }
        FSkin.ObjectList.push_back(std::move(caption));

        const char* names[6] = {"closebutton",  "maxbutton",  "minbutton",
                                "rollupbutton", "traybutton", "sysmenubutton"};
        const skin::TbsStdCommand commands[6] = {skin::cmClose,          skin::cmMaximize,
                                                 skin::cmMinimize,       skin::cmRollUp,
                                                 skin::cmMinimizeToTray, skin::cmSysMenu};
        const char* hints[6] = {"关闭", "最大化", "最小化", "卷起", "最小化到托盘", "系统菜单"};
        for (int i = 0; i < 6; ++i) {
            auto b = std::make_unique<skin::TbsDataSkinStdButton>(names[i]);
            const TRect r = FButtonRects[i];
            b->SkinRectInAPicture = true;
            b->SkinRect = rowOf(r, kNormal);
            b->Hint = hints[i];
            b->Command = commands[i];
            b->ActivePictureIndex = kButtons;
            b->ActiveSkinRect = rowOf(r, kHot);
            b->DownRect = rowOf(r, kDown);
            b->InActiveSkinRect = rowOf(r, kInactive);
            if (i == 1 || i == 3) {
                b->RestoreHint = i == 1 ? "还原" : "展开";
                b->RestoreRect = rowOf(r, kRestore);
                b->RestoreActiveRect = rowOf(r, kRestoreHot);
                b->RestoreDownRect = rowOf(r, kRestoreDown);
                b->RestoreInActiveRect = rowOf(r, kRestoreInactive);
            }
            if (Morph()) {
                b->Morphing = true;
                b->MorphKind = skin::mkGradient;
            }
            FSkin.ObjectList.push_back(std::move(b));
        }
        auto menuItem = std::make_unique<skin::TbsDataSkinMenuItem>("menuitem");
        MenuItemRecord(*menuItem);
        FSkin.ObjectList.push_back(std::move(menuItem));
        auto barItem = std::make_unique<skin::TbsDataSkinMainMenuBarItem>("mainmenubaritem");
        MainMenuBarItemRecord(*barItem);
        FSkin.ObjectList.push_back(std::move(barItem));
    }
}

void TSkinBuilder::Singletons() {
    // The popup menu window and the hint window: small nine-slice pictures of their own.
    const C back = P.window;
    auto popup = NewPicture(40, 40, back);
    Face(*popup, {0, 0, 40, 40}, {back, back, Darker(Mix(back, P.captionBottom, 0.5), 0.2), 2, 0});
    Fill(*popup, {1, 1, 39, 3}, Mix(back, P.captionTop, 0.7));
    FSkin.FActivePictures[kPopup] = std::move(popup);
    auto& pw = FSkin.PopupWindow;
    pw.WindowPictureIndex = kPopup;
    pw.LTPoint = {4, 4};
    pw.RTPoint = {36, 4};
    pw.LBPoint = {4, 36};
    pw.RBPoint = {36, 36};
    pw.ItemsRect = {4, 4, 36, 36};
    pw.ScrollMarkerColor = ToColor(TextOn(P, back));
    pw.ScrollMarkerActiveColor = ToColor(P.accent);
    pw.LeftStretch = pw.TopStretch = pw.RightStretch = pw.BottomStretch = true;
    pw.StretchEffect = true;

    const C tip = Mix(P.window, P.accent, 0.12);
    auto hint = NewPicture(32, 24, tip);
    Face(*hint, {0, 0, 32, 24}, {Lighter(tip, 0.3), tip, Darker(tip, 0.4), 3, 0.2});
    // Square corners of the picture show the tip colour, not a key colour.
    FSkin.FActivePictures[kHint] = std::move(hint);
    auto& hw = FSkin.HintWindow;
    hw.WindowPictureIndex = kHint;
    hw.LTPoint = {4, 4};
    hw.RTPoint = {28, 4};
    hw.LBPoint = {4, 20};
    hw.RBPoint = {28, 20};
    hw.ClRect = {4, 4, 28, 20};
    hw.FontName = "Arial";
    hw.FontHeight = 13;
    hw.FontColor = ToColor(TextOn(P, tip));
    hw.LeftStretch = hw.TopStretch = hw.RightStretch = hw.BottomStretch = true;
    hw.StretchEffect = true;
    // No layered border in any skin: nothing depends on a compositor.
    FSkin.LayerFrame.PictureIndex = -1;

    if (Animated()) {
        const int w = 64 + 12, h = 24 + 12;
        auto glow = NewPicture(w, h, Lighter(P.accent, 0.3));
        auto mask = NewPicture(w, h, {0, 0, 0});
        const TRect face{6, 6, w - 6, h - 6};
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                // A halo around the face only: the layer lies above the button, so an
                // opaque centre would wash out its face and caption.
                const double d = RoundedDistance(x + 0.5, y + 0.5, face, 4);
                const int a =
                    d <= 0 ? 0 : int(std::lround(255 * std::clamp(1.0 - d / 6.0, 0.0, 1.0)));
                Put(*mask, x, y, {a, a, a});
            }
        FSkin.FActivePictures[kGlow] = std::move(glow);
        FSkin.FActivePictures[kGlowMask] = std::move(mask);
    }
}

void TSkinBuilder::Colors() {
    auto& c = *FSkin.SkinColors();
    c.cBtnFace = ToColor(P.panel);
    c.cBtnText = ToColor(TextOn(P, P.panel));
    c.cWindow = ToColor(P.window);
    c.cWindowText = ToColor(TextOn(P, P.window));
    const C select = Mix(P.window, P.accent, 0.55);
    c.cHighLight = ToColor(select);
    c.cHighLightText = ToColor(TextOn(P, select));
    c.cBtnHighLight = ToColor(Lighter(P.panel, 0.55));
    c.cBtnShadow = ToColor(Darker(P.panel, 0.35));
}

void TSkinBuilder::Build() {
    FSkin.ClearPictures();
    FSkin.SkinName = FIndex < kChooserSkinCount ? std::string(kChooserSkinNames[FIndex]) : "";
    const char* pictureNames[] = {"controls.bmp", "buttons.bmp", "popup.bmp",
                                  "hint.bmp",     "glow.bmp",    "glowmask.bmp"};
    const int pictures = Animated() ? 6 : 4;
    for (int i = 0; i < pictures; ++i) {
        FSkin.FActivePictures.push_back(std::make_unique<TBitmap>());
        FSkin.FActivePicturesNames.Add(pictureNames[i]);
    }
    Frame();
    Objects();
    Singletons();
    Colors();
    Controls();
    // The atlas is drawn last, at the height its pieces need.
    auto atlas = NewPicture(kMaxAtlasSide, FAtlas.UsedHeight(), P.panel);
    if (FAtlas.UsedHeight() > kMaxAtlasSide)
        throw std::logic_error("atlas " + std::to_string(FAtlas.UsedHeight()) + " high");
    for (const TPainter& paint : FPainters) paint(*atlas);
    FSkin.FActivePictures[kControls] = std::move(atlas);
    for (const auto& job : FAfter) job();
}

}  // namespace

void BuildSkin(int index, skin::TbsSkinContent& skin) {
    if (index < 0 || index >= kSkinCount) throw std::out_of_range("no such skin");
    TSkinBuilder(index, skin).Build();
}

std::vector<std::uint8_t> BuildPackage(int index) {
    std::unique_ptr<skin::TbsSkinData, skin::TComponentFree> data(new skin::TbsSkinData(nullptr));
    BuildSkin(index, *data);
    std::unique_ptr<skin::TbsCompressedStoredSkin, skin::TComponentFree> stored(
        new skin::TbsCompressedStoredSkin(nullptr));
    stored->LoadFromSkinData(*data);
    rtl::TMemoryStream out;
    stored->SaveToCompressStream(out);
    return {out.Memory(), out.Memory() + out.Size()};
}

}  // namespace skingen
