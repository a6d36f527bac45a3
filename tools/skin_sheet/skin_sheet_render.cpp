#include "skin_sheet_render.h"

#include <algorithm>
#include <string>

#include "skin/core/drawing_routines.h"
#include "skin/core/skin_images.h"

namespace skinsheet {

namespace {

using gfx::TBitmap;
using gfx::TColor;
using skin::TPoint;
using skin::TRect;

constexpr int kSheetWidth = 1180;
constexpr TColor kSheetColour = gfx::RGB(128, 132, 138);
constexpr const char* kFont = "WenQuanYi Micro Hei";

// Places pieces left to right in rows.
class TFlow {
public:
    TPoint Place(int w, int h) {
        if (FX + w > kSheetWidth - 10) NewRow();
        const TPoint p{FX, FY};
        FX += w + 10;
        FRow = std::max(FRow, h);
        return p;
    }
    void NewRow() {
        FX = 10;
        FY += FRow + 14;
        FRow = 0;
    }
    int Bottom() const { return FY + FRow + 10; }

private:
    int FX = 10, FY = 10, FRow = 0;
};

// Text centred in r (or from its left with `left`), cut at r's edges with "..." as a form
// would shorten it.
void Text(TBitmap& sheet, const TRect& r, const std::string& text, TColor colour, int height = 14,
          gfx::TFontStyles style = 0, bool left = false) {
    gfx::TCanvas& c = sheet.Canvas();
    c.Font().SetName(kFont);
    c.Font().SetHeight(height);
    c.Font().SetStyle(style);
    c.Font().SetColor(colour);
    c.Brush().SetStyle(gfx::bsClear);
    std::string shown = text;
    skin::EllipsizeText(c, shown, r.Width());
    const int w = c.TextWidth(shown), h = c.TextHeight(shown);
    c.TextRect(r, left ? r.Left : r.Left + (r.Width() - w) / 2, r.Top + (r.Height() - h) / 2,
               shown);
    c.Brush().SetStyle(gfx::bsSolid);
}

// A nine-slice piece of a picture at a new size, drawn on the sheet.
void NineSlice(TBitmap& sheet, TPoint at, TBitmap& picture, const TRect& skinRect, TPoint lt,
               TPoint rt, TPoint lb, TPoint rb, const TRect& cl, int w, int h, bool stretch,
               skin::TbsStretchType type = skin::bsstFull, bool edgesStretch = true) {
    const int dx = w - skinRect.Width(), dy = h - skinRect.Height();
    TBitmap image;
    skin::BuildNineSliceImage(
        lt, rt, lb, rb, cl, lt, {rt.X + dx, rt.Y}, {lb.X, lb.Y + dy}, {rb.X + dx, rb.Y + dy},
        {cl.Left, cl.Top, cl.Right + dx, cl.Bottom + dy}, image, picture, skinRect, w, h, true,
        edgesStretch, edgesStretch, edgesStretch, edgesStretch, stretch, type);
    sheet.Canvas().Draw(at.X, at.Y, image);
}

void Copy(TBitmap& sheet, TPoint at, TBitmap& picture, const TRect& r, int scale = 1) {
    sheet.Canvas().CopyRect({at.X, at.Y, at.X + r.Width() * scale, at.Y + r.Height() * scale},
                            picture.Canvas(), r);
}

TBitmap* PictureOf(skin::TbsSkinData& skin, int index) {
    if (index < 0 || index >= int(skin.FActivePictures.size())) return nullptr;
    return skin.FActivePictures[index].get();
}

void Frame(skin::TbsSkinData& s, TBitmap& sheet, TFlow& flow, bool active, int w, int h) {
    TBitmap* picture =
        active || s.FInActivePicture->Empty() ? s.FPicture.get() : s.FInActivePicture.get();
    const TRect all{0, 0, s.FPicture->Width(), s.FPicture->Height()};
    const TPoint at = flow.Place(w, h);
    TBitmap image;
    const int dx = w - all.Width(), dy = h - all.Height();
    const TRect newCl{s.ClRect.Left, s.ClRect.Top, s.ClRect.Right + dx, s.ClRect.Bottom + dy};
    auto build = [&](TBitmap& source, TBitmap& dest) {
        skin::BuildNineSliceImage(s.LTPoint, s.RTPoint, s.LBPoint, s.RBPoint, s.ClRect, s.LTPoint,
                                  {s.RTPoint.X + dx, s.RTPoint.Y}, {s.LBPoint.X, s.LBPoint.Y + dy},
                                  {s.RBPoint.X + dx, s.RBPoint.Y + dy}, newCl, dest, source, all, w,
                                  h, true, s.LeftStretch, s.TopStretch, s.RightStretch,
                                  s.BottomStretch, s.StretchEffect, s.StretchType);
    };
    build(*picture, image);
    if (!active && s.FInActivePicture->Empty() && s.AutoRenderingInActiveImage) {
        // What the frame renders by itself for an inactive form: a darker copy.
        for (int y = 0; y < image.Height(); ++y)
            for (int x = 0; x < image.Width(); ++x) {
                const TColor c = image.Canvas().Pixel(x, y);
                image.Canvas().SetPixel(
                    x, y,
                    gfx::RGB(gfx::GetRValue(c) * 3 / 4, gfx::GetGValue(c) * 3 / 4,
                             gfx::GetBValue(c) * 3 / 4));
            }
    }
    if (!s.FMask->Empty()) {
        TBitmap mask;
        build(*s.FMask, mask);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (mask.Canvas().Pixel(x, y) != 0) image.Canvas().SetPixel(x, y, kSheetColour);
    }
    sheet.Canvas().Draw(at.X, at.Y, image);
    const int index = s.GetIndex("caption");
    if (index >= 0) {
        auto* caption = static_cast<skin::TbsDataSkinCaption*>(s.ObjectList[index].get());
        TRect r = caption->SkinRect;
        r.Right += dx;
        Text(sheet, {at.X + r.Left + 4, at.Y + r.Top, at.X + r.Right - 4, at.Y + r.Bottom},
             "格式转换 Moradex", active ? caption->ActiveFontColor : caption->FontColor, 15,
             gfx::fsBold, caption->Alignment == skin::taLeftJustify);
    }
    // A few controls on the client area, as a form would show them.
    TRect client{at.X + newCl.Left, at.Y + newCl.Top, at.X + newCl.Right, at.Y + newCl.Bottom};
    const int button = s.GetControlIndex("button");
    if (button >= 0 && client.Width() > 90 && client.Height() > 40) {
        auto* b = static_cast<skin::TbsDataSkinButtonControl*>(s.CtrlList[button].get());
        TBitmap* p = PictureOf(s, b->PictureIndex);
        const TPoint bat{client.Right - 86, client.Bottom - 32};
        NineSlice(sheet, bat, *p, b->SkinRect, b->LTPoint, b->RTPoint, b->LBPoint, b->RBPoint,
                  b->ClRect, 76, 24, b->StretchEffect);
        Text(sheet, {bat.X, bat.Y, bat.X + 76, bat.Y + 24}, "确定", b->FontColor);
    }
    const int label = s.GetControlIndex("stdlabel");
    if (label >= 0)
        Text(sheet, {client.Left + 6, client.Top + 6, client.Left + 100, client.Top + 24},
             "输出格式：",
             static_cast<skin::TbsDataSkinStdLabelControl*>(s.CtrlList[label].get())->FontColor);
}

// A custom control record in every state it has, at its own size and a larger one.
void CustomControl(skin::TbsSkinData& s, TBitmap& sheet, TFlow& flow,
                   skin::TbsDataSkinCustomControl& rec) {
    TBitmap* picture = PictureOf(s, rec.PictureIndex);
    if (!picture || rec.SkinRect.Width() <= 0) return;
    std::vector<std::pair<TRect, TColor>> states{{rec.SkinRect, 0}};
    std::string text;
    if (auto* b = dynamic_cast<skin::TbsDataSkinButtonControl*>(&rec)) {
        states = {{rec.SkinRect, b->FontColor},
                  {b->ActiveSkinRect, b->ActiveFontColor},
                  {b->DownSkinRect, b->DownFontColor},
                  {b->DisabledSkinRect, b->DisabledFontColor},
                  {b->FocusedSkinRect, b->FontColor}};
        text = rec.SkinRect.Width() > 30 ? "按钮" : "";
    } else if (auto* e = dynamic_cast<skin::TbsDataSkinEditControl*>(&rec)) {
        states = {{rec.SkinRect, e->FontColor}, {e->ActiveSkinRect, e->ActiveFontColor}};
        text = "文本";
    } else if (auto* c = dynamic_cast<skin::TbsDataSkinComboBox*>(&rec)) {
        states = {{rec.SkinRect, c->FontColor}, {c->ActiveSkinRect, c->ActiveFontColor}};
        text = "MP4";
    } else if (auto* l = dynamic_cast<skin::TbsDataSkinLabelControl*>(&rec)) {
        states = {{rec.SkinRect, l->FontColor}};
        text = "标签";
    } else if (auto* p = dynamic_cast<skin::TbsDataSkinPanelControl*>(&rec)) {
        states = {{rec.SkinRect, p->FontColor}};
        if (p->CaptionRect.Width() > 0) text = "分组";
    }
    const bool scrollBar = dynamic_cast<skin::TbsDataSkinScrollBarControl*>(&rec) != nullptr;
    if (auto* l = dynamic_cast<skin::TbsDataSkinListBox*>(&rec)) {
        // Its items: normal, hot and focused, as the list draws them.
        const std::pair<TRect, TColor> items[] = {{l->SItemRect, l->FontColor},
                                                  {l->ActiveItemRect, l->ActiveFontColor},
                                                  {l->FocusItemRect, l->FocusFontColor}};
        const TPoint at = flow.Place(130, 3 * 18);
        int y = at.Y;
        for (const auto& [r, colour] : items) {
            if (r.Width() <= 0) continue;
            NineSlice(sheet, {at.X, y}, *picture, r, {l->ItemLeftOffset, 0},
                      {r.Width() - l->ItemRightOffset, 0}, {l->ItemLeftOffset, r.Height()},
                      {r.Width() - l->ItemRightOffset, r.Height()},
                      {l->ItemLeftOffset, 0, r.Width() - l->ItemRightOffset, r.Height()}, 130,
                      r.Height(), true);
            Text(sheet, {at.X + l->ItemTextRect.Left, y, at.X + 126, y + r.Height()}, "视频 MP4",
                 colour, 14, 0, true);
            y += r.Height();
        }
    }
    if (auto* b = dynamic_cast<skin::TbsDataSkinButtonControl*>(&rec)) {
        // The hover animation strip and the glow layer behind a hot button.
        if (b->FrameCount > 1 && b->AnimateSkinRect.Width() > 0)
            Copy(sheet, flow.Place(b->AnimateSkinRect.Width(), b->AnimateSkinRect.Height()),
                 *picture, b->AnimateSkinRect);
        TBitmap* glow = PictureOf(s, b->GlowLayerPictureIndex);
        TBitmap* mask = PictureOf(s, b->GlowLayerMaskPictureIndex);
        if (glow && mask) {
            const TPoint at = flow.Place(glow->Width(), glow->Height());
            for (int y = 0; y < glow->Height(); ++y)
                for (int x = 0; x < glow->Width(); ++x) {
                    const int a = gfx::GetRValue(mask->Canvas().Pixel(x, y));
                    const TColor g = glow->Canvas().Pixel(x, y);
                    auto mix = [a](int over, int under) {
                        return (over * a + under * (255 - a)) / 255;
                    };
                    sheet.Canvas().SetPixel(
                        at.X + x, at.Y + y,
                        gfx::RGB(mix(gfx::GetRValue(g), gfx::GetRValue(kSheetColour)),
                                 mix(gfx::GetGValue(g), gfx::GetGValue(kSheetColour)),
                                 mix(gfx::GetBValue(g), gfx::GetBValue(kSheetColour))));
                }
            const int dx = b->GlowLayerOffsetLeft, dy = b->GlowLayerOffsetTop;
            NineSlice(sheet, {at.X + dx, at.Y + dy}, *picture, b->ActiveSkinRect, b->LTPoint,
                      b->RTPoint, b->LBPoint, b->RBPoint, b->ClRect, b->SkinRect.Width(),
                      b->SkinRect.Height(), b->StretchEffect);
            Text(sheet,
                 {at.X + dx, at.Y + dy, at.X + dx + b->SkinRect.Width(),
                  at.Y + dy + b->SkinRect.Height()},
                 "按钮", b->ActiveFontColor);
        }
    }
    const bool vertical = rec.SkinRect.Height() > rec.SkinRect.Width() * 2;
    for (int big = 0; big < 2; ++big)
        for (const auto& [r, colour] : states) {
            if (r.Width() <= 0) continue;
            int w = r.Width(), h = r.Height();
            if (big) {
                w = scrollBar && vertical ? w : std::max(w * 2, w + 40);
                h = scrollBar && !vertical ? h : std::max(h * 3 / 2, h + 16);
            }
            const TPoint at = flow.Place(w, h);
            NineSlice(sheet, at, *picture, r, rec.LTPoint, rec.RTPoint, rec.LBPoint, rec.RBPoint,
                      rec.ClRect, w, h, rec.StretchEffect, rec.StretchType);
            if (!text.empty() && !scrollBar) {
                TRect tr{at.X, at.Y, at.X + w, at.Y + h};
                if (auto* p = dynamic_cast<skin::TbsDataSkinPanelControl*>(&rec))
                    tr = {at.X + p->CaptionRect.Left, at.Y + p->CaptionRect.Top,
                          at.X + p->CaptionRect.Right + (w - r.Width()),
                          at.Y + p->CaptionRect.Bottom};
                Text(sheet, tr, text, colour);
            }
        }
}

void Pieces(skin::TbsSkinData& s, TBitmap& sheet, TFlow& flow) {
    for (auto& control : s.CtrlList) {
        TBitmap* picture = PictureOf(s, control->PictureIndex);
        if (auto* c = dynamic_cast<skin::TbsDataSkinCheckRadioControl*>(control.get())) {
            for (const TRect& r : {c->CheckImageRect, c->UnCheckImageRect, c->ActiveCheckImageRect,
                                   c->ActiveUnCheckImageRect, c->UnEnabledCheckImageRect,
                                   c->UnEnabledUnCheckImageRect, c->GrayedCheckImageRect,
                                   c->ActiveGrayedCheckImageRect}) {
                for (int scale = 1; scale <= 2; ++scale)
                    Copy(sheet, flow.Place(r.Width() * scale, r.Height() * scale), *picture, r,
                         scale);
            }
            const TPoint at = flow.Place(110, 20);
            Copy(sheet, at, *picture, c->CheckImageRect);
            Text(sheet, {at.X + 16, at.Y, at.X + 110, at.Y + 14}, control->IDName, c->FontColor);
        } else if (auto* b = dynamic_cast<skin::TbsDataSkinScrollBarControl*>(control.get())) {
            for (const TRect& r :
                 {b->ActiveUpButtonRect, b->DownUpButtonRect, b->ActiveDownButtonRect,
                  b->DownDownButtonRect, b->ThumbRect, b->ActiveThumbRect, b->DownThumbRect})
                Copy(sheet, flow.Place(r.Width(), r.Height()), *picture, r);
        } else if (auto* u = dynamic_cast<skin::TbsDataSkinUpDownControl*>(control.get())) {
            for (const TRect& r : {u->SkinRect, u->ActiveUpButtonRect, u->DownUpButtonRect,
                                   u->ActiveDownButtonRect, u->DownDownButtonRect})
                Copy(sheet, flow.Place(r.Width(), r.Height()), *picture, r);
        } else if (auto* t = dynamic_cast<skin::TbsDataSkinTabControl*>(control.get())) {
            flow.NewRow();
            const TPoint at = flow.Place(300, t->SkinRect.Height() + 60);
            const std::pair<TRect, TColor> tabs[] = {{t->TabRect, t->FontColor},
                                                     {t->ActiveTabRect, t->ActiveFontColor},
                                                     {t->MouseInTabRect, t->MouseInFontColor},
                                                     {t->TabRect, t->FontColor}};
            const char* names[] = {"常规", "视频", "音频", "字幕"};
            NineSlice(sheet, {at.X, at.Y + 21}, *picture, t->SkinRect, t->LTPoint, t->RTPoint,
                      t->LBPoint, t->RBPoint, t->ClRect, 300, 100, t->StretchEffect);
            for (int i = 0; i < 4; ++i) {
                const TRect& r = tabs[i].first;
                const int w = 70, x = at.X + 4 + i * 72;
                const TPoint lt{t->TabLeftOffset, 0}, rt{r.Width() - t->TabRightOffset, 0};
                NineSlice(sheet, {x, at.Y}, *picture, r, lt, rt, {lt.X, r.Height()},
                          {rt.X, r.Height()}, {lt.X, 0, rt.X, r.Height()}, w, r.Height(), true);
                Text(sheet, {x, at.Y, x + w, at.Y + r.Height()}, names[i], tabs[i].second);
            }
            flow.NewRow();
        } else if (auto* l = dynamic_cast<skin::TbsDataSkinSlider*>(control.get())) {
            const TPoint at = flow.Place(160, 24);
            TRect ruler = l->HRulerRect;
            NineSlice(sheet, {at.X, at.Y + 9}, *picture, ruler, {3, 0}, {ruler.Width() - 3, 0},
                      {3, ruler.Height()}, {ruler.Width() - 3, ruler.Height()},
                      {3, 0, ruler.Width() - 3, ruler.Height()}, 160, ruler.Height(), true);
            Copy(sheet, {at.X + 60, at.Y + 3}, *picture, l->HThumbRect);
        } else if (auto* sp = dynamic_cast<skin::TbsDataSkinSplitterControl*>(control.get())) {
            Copy(sheet, flow.Place(sp->SkinRect.Width(), sp->SkinRect.Height()), *picture,
                 sp->SkinRect);
            Copy(sheet, flow.Place(sp->GripperRect.Width(), sp->GripperRect.Height()), *picture,
                 sp->GripperRect);
        } else if (auto* m = dynamic_cast<skin::TbsDataSkinMainMenuBar*>(control.get())) {
            const TPoint at = flow.Place(240, m->SkinRect.Height());
            sheet.Canvas().StretchDraw({at.X, at.Y, at.X + 240, at.Y + m->SkinRect.Height()}, [&] {
                static TBitmap piece;
                piece.SetSize(m->SkinRect.Width(), m->SkinRect.Height());
                piece.Canvas().CopyRect({0, 0, m->SkinRect.Width(), m->SkinRect.Height()},
                                        picture->Canvas(), m->SkinRect);
                return std::cref(piece);
            }());
            const int item = s.GetIndex(m->MenuBarItem);
            if (item >= 0) {
                auto* bi = static_cast<skin::TbsDataSkinMainMenuBarItem*>(s.ObjectList[item].get());
                const char* names[] = {"文件", "编辑", "帮助"};
                const TRect rs[] = {bi->SkinRect, bi->ActiveSkinRect, bi->DownRect};
                const TColor cs[] = {bi->FontColor, bi->ActiveFontColor, bi->DownFontColor};
                for (int i = 0; i < 3; ++i) {
                    const TPoint p{at.X + 2 + i * 50, at.Y + 1};
                    sheet.Canvas().CopyRect({p.X, p.Y, p.X + 48, p.Y + rs[i].Height()},
                                            picture->Canvas(), rs[i]);
                    Text(sheet, {p.X, p.Y, p.X + 48, p.Y + rs[i].Height()}, names[i], cs[i]);
                }
            }
        } else if (auto* c = dynamic_cast<skin::TbsDataSkinCustomControl*>(control.get())) {
            CustomControl(s, sheet, flow, *c);
        }
    }
}

void Menus(skin::TbsSkinData& s, TBitmap& sheet, TFlow& flow) {
    flow.NewRow();
    auto& pw = s.PopupWindow;
    TBitmap* popup = PictureOf(s, pw.WindowPictureIndex);
    const int index = s.GetIndex("menuitem");
    if (popup && index >= 0) {
        auto* item = static_cast<skin::TbsDataSkinMenuItem*>(s.ObjectList[index].get());
        TBitmap* picture = PictureOf(s, item->ActivePictureIndex);
        const int w = 160, h = 4 * 20 + 6 + 8;
        const TPoint at = flow.Place(w, h);
        const TRect all{0, 0, popup->Width(), popup->Height()};
        NineSlice(sheet, at, *popup, all, pw.LTPoint, pw.RTPoint, pw.LBPoint, pw.RBPoint,
                  pw.ItemsRect, w, h, pw.StretchEffect);
        int y = at.Y + pw.ItemsRect.Top;
        const char* names[] = {"打开文件", "添加文件夹", "", "开始转换", "退出"};
        for (int i = 0; i < 5; ++i) {
            const bool divider = names[i][0] == 0;
            const TRect src = divider  ? item->DividerRect
                              : i == 3 ? item->ActiveSkinRect
                                       : item->SkinRect;
            const int iw = w - pw.ItemsRect.Left - (popup->Width() - pw.ItemsRect.Right);
            const TPoint p{at.X + pw.ItemsRect.Left, y};
            NineSlice(sheet, p, *picture, src, {item->ItemLO, 0}, {src.Width() - item->ItemRO, 0},
                      {item->ItemLO, src.Height()}, {src.Width() - item->ItemRO, src.Height()},
                      {item->ItemLO, 0, src.Width() - item->ItemRO, src.Height()}, iw, src.Height(),
                      true);
            if (!divider)
                Text(sheet, {p.X + item->TextRct.Left, y, p.X + iw, y + src.Height()}, names[i],
                     i == 3 ? item->ActiveFontColor : item->FontColor, 14, 0, true);
            y += src.Height();
        }
    }
    auto& hw = s.HintWindow;
    TBitmap* hint = PictureOf(s, hw.WindowPictureIndex);
    if (hint) {
        const TPoint at = flow.Place(180, 30);
        const TRect all{0, 0, hint->Width(), hint->Height()};
        NineSlice(sheet, at, *hint, all, hw.LTPoint, hw.RTPoint, hw.LBPoint, hw.RBPoint, hw.ClRect,
                  180, 30, hw.StretchEffect);
        Text(sheet, {at.X, at.Y, at.X + 180, at.Y + 30}, "把文件拖到这里", hw.FontColor, 13);
    }
    // The eight colours as swatches with their text colours.
    const std::pair<TColor, TColor> swatches[] = {
        {s.SkinColors()->cBtnFace, s.SkinColors()->cBtnText},
        {s.SkinColors()->cWindow, s.SkinColors()->cWindowText},
        {s.SkinColors()->cHighLight, s.SkinColors()->cHighLightText},
        {s.SkinColors()->cBtnHighLight, s.SkinColors()->cBtnShadow}};
    for (const auto& [back, fore] : swatches) {
        const TPoint at = flow.Place(70, 30);
        sheet.Canvas().Brush().SetColor(back);
        sheet.Canvas().FillRect({at.X, at.Y, at.X + 70, at.Y + 30});
        Text(sheet, {at.X, at.Y, at.X + 70, at.Y + 30}, "颜色", fore);
    }
}

}  // namespace

void RenderSkinSheet(skin::TbsSkinData& skin, gfx::TBitmap& sheet) {
    // Laid out twice: once to learn the height, once to draw.
    for (int pass = 0; pass < 2; ++pass) {
        TFlow flow;
        TBitmap scratch;
        scratch.SetSize(kSheetWidth, 2000);
        TBitmap& target = pass == 0 ? scratch : sheet;
        target.Canvas().Brush().SetColor(kSheetColour);
        target.Canvas().FillRect({0, 0, target.Width(), target.Height()});
        Text(target, {10, 4, 400, 26}, skin.SkinName.empty() ? "列表皮肤" : skin.SkinName,
             gfx::RGB(255, 255, 255), 18, gfx::fsBold);
        flow.Place(400, 20);
        flow.NewRow();
        Frame(skin, target, flow, true, 220, 170);
        Frame(skin, target, flow, false, 220, 170);
        Frame(skin, target, flow, true, 480, 320);
        Frame(skin, target, flow, false, 480, 320);
        flow.NewRow();
        Pieces(skin, target, flow);
        Menus(skin, target, flow);
        if (pass == 0) {
            sheet.SetSize(kSheetWidth, flow.Bottom() + 10);
        }
    }
}

int CountKeyColourPixels(const gfx::TBitmap& sheet) {
    int count = 0;
    auto& canvas = const_cast<gfx::TBitmap&>(sheet).Canvas();
    for (int y = 0; y < sheet.Height(); ++y)
        for (int x = 0; x < sheet.Width(); ++x) {
            const TColor c = canvas.Pixel(x, y) & 0xFFFFFF;
            if (c == gfx::RGB(255, 0, 255) || c == gfx::RGB(0x7F, 0, 0x7F)) ++count;
        }
    return count;
}

}  // namespace skinsheet
