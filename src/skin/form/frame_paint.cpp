// Painting of the skinned frame and of the form's client background: the four border images of
// the skin (or the plain default frame) composed off-screen and put on the window DC in one go
// with the client area clipped out, so the client never flickers; the client background from
// the skin's tile or a plain colour, and the logo.
#include <algorithm>

#include "platform/gfx/icons.h"
#include "platform/win/win.h"
#include "skin/core/drawing_routines.h"
#include "skin/core/effect_bitmap.h"
#include "skin/core/skin_images.h"
#include "skin/core/system_routines.h"
#include "skin/form/skin_form.h"

namespace skin {

namespace {

// The window DC when no DC is given; released when the painting ends.
class TFrameDC {
public:
    TFrameDC(win::HWND wnd, gfx::HDC dc, bool external) : FWnd(wnd), FOwn(!external) {
        FDC = external ? dc : win::GetWindowDC(wnd);
        if (FDC) FSaved = gfx::SaveDC(FDC);
    }
    ~TFrameDC() {
        if (!FDC) return;
        gfx::RestoreDC(FDC, FSaved);
        if (FOwn) win::ReleaseDC(FWnd, FDC);
    }
    TFrameDC(const TFrameDC&) = delete;
    TFrameDC& operator=(const TFrameDC&) = delete;
    gfx::HDC DC() const { return FDC; }

private:
    win::HWND FWnd;
    gfx::HDC FDC{};
    bool FOwn;
    int FSaved = 0;
};

void ApplyInActiveEffect(TbsEffectBmp& e, TbsInActiveEffect effect) {
    switch (effect) {
        case ieBrightness:
            e.ChangeBrightness(0.5);
            break;
        case ieDarkness:
            e.ChangeDarkness(0.3);
            break;
        case ieGrayScale:
            e.GrayScale();
            break;
        case ieNoise:
            e.AddMonoNoise(50);
            break;
        case ieSplitBlur:
            e.SplitBlur(1);
            break;
        case ieInvert:
            e.Invert();
            break;
    }
}

bool Empty(const gfx::TBitmap* b) {
    return !b || b->Width() <= 0 || b->Height() <= 0;
}

}  // namespace

void TbsSkinForm::PaintNCSkin(gfx::HDC ADC, bool AUseExternalDC) {
    if (!HasSkin()) return;
    if (FFormWidth == 0) FFormWidth = FForm->Width();
    if (FFormHeight == 0) FFormHeight = FForm->Height();
    if (FForm->Width() < GetMinWidth() || FForm->Height() < GetMinHeight()) return;
    win::HWND wnd{};
    if (!AUseExternalDC && !FormHandle(wnd)) return;
    CalcSkinRects();
    CalcObjectRects();
    TFrameDC frameDC(wnd, ADC, AUseExternalDC);
    if (!frameDC.DC()) return;
    gfx::TCanvas canvas(frameDC.DC());

    TbsSkinData& sd = *FSD;
    const bool active = GetFormActive();
    gfx::TBitmap& source =
        active || Empty(sd.FInActivePicture.get()) ? *sd.FPicture : *sd.FInActivePicture;
    gfx::TBitmap left, top, right, bottom;
    BuildSkinBorderImages(sd.LTPoint, sd.RTPoint, sd.LBPoint, sd.RBPoint, sd.ClRect, NewLTPoint,
                          NewRTPoint, NewLBPoint, NewRBPoint, NewClRect, left, top, right, bottom,
                          source, {0, 0, source.Width(), source.Height()}, FFormWidth, FFormHeight,
                          sd.LeftStretch, sd.TopStretch, sd.RightStretch, sd.BottomStretch);
    for (auto& object : ObjectList) {
        if (!object->Visible) continue;
        if (object->ObjectRect.Bottom <= NewClRect.Top) {
            object->Draw(top.Canvas(), false);
        } else {
            const gfx::TRect saved = object->ObjectRect;
            object->ObjectRect = saved.Offset(0, -NewClRect.Bottom);
            object->Draw(bottom.Canvas(), false);
            object->ObjectRect = saved;
        }
    }
    if (!RectIsEmpty(NewClRect))
        gfx::ExcludeClipRect(frameDC.DC(), NewClRect.Left, NewClRect.Top, NewClRect.Right,
                             NewClRect.Bottom);
    const int topH = top.Height();
    const gfx::TPoint places[] = {
        {0, 0}, {0, topH}, {FFormWidth - right.Width(), topH}, {0, FFormHeight - bottom.Height()}};
    gfx::TBitmap* images[] = {&top, &left, &right, &bottom};
    const bool effect = !active && sd.AutoRenderingInActiveImage;
    for (int i = 0; i < 4; ++i) {
        if (Empty(images[i])) continue;
        if (effect) {
            TbsEffectBmp e = TbsEffectBmp::CreateFromhWnd(images[i]->Handle());
            ApplyInActiveEffect(e, sd.InActiveEffect);
            e.Draw(frameDC.DC(), places[i].X, places[i].Y);
        } else {
            canvas.Draw(places[i].X, places[i].Y, *images[i]);
        }
    }
}

void TbsSkinForm::PaintNCDefault(gfx::HDC ADC, bool AUseExternalDC) {
    if (FSD && FSD->ChangeSkinDataProcess) return;
    win::HWND wnd{};
    if (!AUseExternalDC && !FormHandle(wnd)) return;
    if (FFormWidth == 0) FFormWidth = FForm->Width();
    if (FFormHeight == 0) FFormHeight = FForm->Height();
    CalcDefRects();
    TFrameDC frameDC(wnd, ADC, AUseExternalDC);
    if (!frameDC.DC()) return;
    gfx::TCanvas canvas(frameDC.DC());

    const int ch = GetDefCaptionHeight(FForm->BorderStyle());
    gfx::TBitmap bitmap;
    bitmap.SetPixelFormat(gfx::pf24bit);
    bitmap.SetSize(std::max(FFormWidth - 6, 0), ch);
    gfx::TCanvas& c = bitmap.Canvas();
    c.Brush().SetColor(gfx::clBtnFace);
    c.FillRect({0, 0, bitmap.Width(), ch});
    const int L = NewDefCaptionRect.Left - 3;
    const int Rr = bitmap.Width() - NewDefCaptionRect.Right;

    if (ch > 5) {
        bool light = true;
        for (int y = 2; y <= ch - 4; ++y) {
            c.Pen().SetColor(light ? gfx::clBtnHighlight : gfx::clBtnShadow);
            c.MoveTo(L + 2, y);
            c.LineTo(bitmap.Width() - Rr - 6, y);
            light = !light;
        }
    }

    const bool active = GetFormActive();
    c.Font().Assign(active ? FDefCaptionFont : FDefInActiveCaptionFont);
    if (FSD && FSD->ResourceStrData()) c.Font().SetCharset(FSD->ResourceStrData()->CharSet());
    std::string text = CaptionText();

    if (FOnCaptionPaint) {
        FOnCaptionPaint(c, {L, 0, bitmap.Width() - Rr - 3, ch}, active);
    } else if (!text.empty()) {
        EllipsizeWideText(c, text, bitmap.Width() - L - Rr);
        const gfx::TSize extent = c.TextExtent(text);
        const int x = L + (bitmap.Width() - L - Rr) / 2 - (extent.cx + 5) / 2;
        const int y = ch / 2 - extent.cy / 2;
        gfx::TRect r{x, y, x + extent.cx, y + extent.cy};
        c.Brush().SetColor(gfx::clBtnFace);
        c.FillRect({r.Left - 2, r.Top - 2, r.Right + 2, r.Bottom + 2});
        c.Brush().SetStyle(gfx::bsClear);
        c.DrawText(text, r, gfx::DT_VCENTER | gfx::DT_NOPREFIX);
        c.Brush().SetStyle(gfx::bsSolid);
    }

    if (ObjectList.empty() && !HasSkin()) {
        CreateDefaultButtons();
    }
    if (!ObjectList.empty()) {
        CalcDefRects();
        for (auto& object : ObjectList) {
            if (!object->Visible) continue;
            const gfx::TRect saved = object->ObjectRect;
            object->ObjectRect = saved.Offset(-3, -3);
            object->Draw(c, true);
            object->ObjectRect = saved;
        }
    }

    gfx::ExcludeClipRect(frameDC.DC(), 3, ch + 3, FFormWidth - 3, FFormHeight - 3);
    canvas.Draw(3, 3, bitmap);
    gfx::TRect r{0, 0, FFormWidth, FFormHeight};
    gfx::Frame3D(canvas, r, gfx::cl3DLight, gfx::cl3DDkShadow, 1);
    gfx::Frame3D(canvas, r, gfx::clBtnHighlight, gfx::clBtnShadow, 1);
    gfx::Frame3D(canvas, r, gfx::clBtnFace, gfx::clBtnFace, 1);
}

// --- client background -------------------------------------------------------------------------

void TbsSkinForm::PaintTile(gfx::TCanvas& canvas, const gfx::TBitmap& tile, bool stretch,
                            TbsStretchType type) {
    const int tw = tile.Width(), th = tile.Height();
    if (tw <= 0 || th <= 0) return;
    const int cw = FForm->ClientWidth(), chh = FForm->ClientHeight();
    if (stretch && cw >= 1 && chh >= 1) {
        switch (type) {
            case bsstFull:
                canvas.StretchDraw({0, 0, FFormWidth, FFormHeight}, tile);
                return;
            case bsstHorz: {
                gfx::TBitmap copy;
                copy.SetPixelFormat(gfx::pf24bit);
                copy.SetSize(tw, FFormHeight);
                copy.Canvas().StretchDraw({0, 0, tw, FFormHeight}, tile);
                for (int i = 0; i <= FFormWidth / tw; ++i) canvas.Draw(i * tw, 0, copy);
                return;
            }
            case bsstVert: {
                gfx::TBitmap copy;
                copy.SetPixelFormat(gfx::pf24bit);
                copy.SetSize(FFormWidth, th);
                copy.Canvas().StretchDraw({0, 0, FFormWidth, th}, tile);
                for (int i = 0; i <= FFormHeight / th; ++i) canvas.Draw(0, i * th, copy);
                return;
            }
        }
    }
    for (int row = 0; row <= chh / th; ++row)
        for (int col = 0; col <= cw / tw; ++col) canvas.Draw(col * tw, row * th, tile);
}

void TbsSkinForm::PaintBG(gfx::HDC DC) {
    if (!DC || !HasSkin()) return;
    gfx::TCanvas canvas(DC);
    const TbsSkinData& sd = *FSD;
    if (RectIsEmpty(sd.ClRect)) {
        canvas.Brush().SetColor(gfx::clBtnFace);
        canvas.FillRect({0, 0, FForm->ClientWidth(), FForm->ClientHeight()});
        return;
    }
    gfx::TBitmap tile;
    tile.SetPixelFormat(gfx::pf24bit);
    tile.SetSize(sd.ClRect.Width(), sd.ClRect.Height());
    tile.Canvas().CopyRect({0, 0, tile.Width(), tile.Height()}, sd.FPicture->Canvas(), sd.ClRect);
    PaintTile(canvas, tile, sd.StretchEffect, sd.StretchType);
    DrawLogo(canvas);
}

void TbsSkinForm::PaintBG2(gfx::HDC DC) {
    if (!DC || !HasSkin()) return;
    gfx::TCanvas canvas(DC);
    const TbsSkinData& sd = *FSD;
    const int i = sd.BGPictureIndex;
    if (i >= 0 && i < int(sd.FActivePictures.size()) && sd.FActivePictures[i])
        PaintTile(canvas, *sd.FActivePictures[i], sd.StretchEffect, sd.StretchType);
    DrawLogo(canvas);
}

void TbsSkinForm::PaintBG3(gfx::HDC DC) {
    if (!DC || !HasSkin()) return;
    gfx::TCanvas canvas(DC);
    const TbsSkinData& sd = *FSD;
    const int i = sd.MDIBGPictureIndex;
    if (i >= 0 && i < int(sd.FActivePictures.size()) && sd.FActivePictures[i])
        PaintTile(canvas, *sd.FActivePictures[i], sd.MDIBGStretchEffect, sd.MDIBGStretchType);
    DrawLogo(canvas);
}

void TbsSkinForm::PaintBGDefault(gfx::HDC DC) {
    if (!DC) return;
    gfx::TCanvas canvas(DC);
    canvas.Brush().SetColor(gfx::clBtnFace);
    canvas.FillRect({0, 0, FForm->ClientWidth(), FForm->ClientHeight()});
    DrawLogo(canvas);
}

void TbsSkinForm::PaintMDIBGDefault(gfx::HDC DC) {
    if (!DC) return;
    gfx::TCanvas canvas(DC);
    canvas.Brush().SetColor(gfx::clAppWorkSpace);
    canvas.FillRect({0, 0, FForm->ClientWidth(), FForm->ClientHeight()});
    DrawLogo(canvas);
}

void TbsSkinForm::DrawLogo(gfx::TCanvas& Canvas) {
    if (FLogoBitMap.Width() <= 0 || FLogoBitMap.Height() <= 0) return;
    const int x = std::max(FForm->ClientWidth() / 2 - FLogoBitMap.Width() / 2, 0);
    const int y = std::max(FForm->ClientHeight() / 2 - FLogoBitMap.Height() / 2, 0);
    if (FLogoBitMap.Transparent() != FLogoBitMapTransparent)
        FLogoBitMap.SetTransparent(FLogoBitMapTransparent);
    Canvas.Draw(x, y, FLogoBitMap);
}

void TbsSkinForm::DrawFormIcon(gfx::TCanvas& Cnvs, int x, int y) {
    if (!FIcon) {
        const gfx::TSize size = GetSmallIconSize();
        gfx::HICON source = FForm->Icon().Handle();
        if (!source) source = gfx::LoadIcon(0, gfx::IDI_APPLICATION);
        FIcon = std::make_unique<gfx::TIcon>();
        FIcon->SetHandle(gfx::CopyIcon(source, size.cx, size.cy));
    }
    const gfx::HICON icon = FIcon->Handle();
    if (!icon) return;
    gfx::DrawIconEx(Cnvs.Handle(), x, y, icon, 0, 0, 0, nullptr, gfx::DI_NORMAL);
}

void TbsSkinForm::UserObjectDraw(const std::string& AIDName) {
    const int i = GetIndex(AIDName);
    if (i == -1) return;
    if (auto* user = dynamic_cast<TbsUserObject*>(ObjectList[i].get()))
        user->Draw(FForm->Canvas(), true);
}

}  // namespace skin
