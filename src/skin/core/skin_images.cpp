#include "skin/core/skin_images.h"

#include <algorithm>

#include "skin/core/saved_dc.h"

namespace skin {

void CopyPiece(gfx::TBitmap& dest, gfx::TBitmap& source, const TRect& d, const TRect& s) {
    if (d.IsEmpty() || s.IsEmpty()) return;
    dest.Canvas().CopyRect(d, source.Canvas(), s);
}

void TilePiece(gfx::TBitmap& dest, gfx::TBitmap& source, const TRect& s, const TRect& d,
               bool alongX, bool alongY) {
    const int stepX = alongX ? s.Width() : d.Width();
    const int stepY = alongY ? s.Height() : d.Height();
    if (stepX <= 0 || stepY <= 0 || d.IsEmpty()) return;
    for (int y = d.Top; y < d.Bottom; y += stepY) {
        const int h = std::min(stepY, d.Bottom - y);
        for (int x = d.Left; x < d.Right; x += stepX) {
            const int w = std::min(stepX, d.Right - x);
            CopyPiece(
                dest, source, {x, y, x + w, y + h},
                {s.Left, s.Top, alongX ? s.Left + w : s.Right, alongY ? s.Top + h : s.Bottom});
        }
    }
}

namespace {

// A piece given relative to the skin rectangle, in source coordinates.
struct TSkinPicture {
    gfx::TBitmap& Source;
    TRect Skin;
    int W() const { return Skin.Width(); }
    int H() const { return Skin.Height(); }
    TRect Piece(int left, int top, int right, int bottom) const {
        return {Skin.Left + left, Skin.Top + top, Skin.Left + right, Skin.Top + bottom};
    }
    TRect Piece(const TRect& r) const { return Piece(r.Left, r.Top, r.Right, r.Bottom); }
};

// One edge piece over its span: stretched, or tiled along the edge.
void Edge(gfx::TBitmap& dest, gfx::TBitmap& source, const TRect& s, const TRect& d, bool stretch,
          bool horizontal) {
    if (stretch)
        CopyPiece(dest, source, d, s);
    else
        TilePiece(dest, source, s, d, horizontal, !horizontal);
}

enum class TStripEnds { Both, LeftOnly, None };

void HorzStrip(TStripEnds ends, int lo, int ro, gfx::TBitmap& dest, gfx::TBitmap& source,
               const TRect& skinRect, int newWidth, bool stretch) {
    const int h = skinRect.Height();
    dest.SetSize(newWidth, h);
    const int spanStart = ends == TStripEnds::None ? 0 : lo;
    const int spanEnd = ends == TStripEnds::Both ? newWidth - ro : newWidth;
    if (ends != TStripEnds::None && lo > 0)
        CopyPiece(dest, source, {0, 0, lo, h},
                  {skinRect.Left, skinRect.Top, skinRect.Left + lo, skinRect.Bottom});
    if (ends == TStripEnds::Both && ro > 0)
        CopyPiece(dest, source, {newWidth - ro, 0, newWidth, h},
                  {skinRect.Right - ro, skinRect.Top, skinRect.Right, skinRect.Bottom});
    int middle = skinRect.Width() - lo - ro;
    if (middle == 0) middle = 1;
    const TRect s{skinRect.Left + lo, skinRect.Top, skinRect.Left + lo + middle, skinRect.Bottom};
    Edge(dest, source, s, {spanStart, 0, spanEnd, h}, stretch, true);
}

// The centre of a nine-slice image.
void Centre(gfx::TBitmap& dest, const TSkinPicture& pic, const TRect& clRect,
            const TRect& newClRect, bool stretchEffect, TbsStretchType stretchType) {
    const TRect s = pic.Piece(clRect);
    if (!stretchEffect) {
        TilePiece(dest, pic.Source, s, newClRect, true, true);
        return;
    }
    if (s.IsEmpty() || newClRect.IsEmpty()) return;
    gfx::TBitmap centre;
    centre.SetSize(s.Width(), s.Height());
    CopyPiece(centre, pic.Source, {0, 0, s.Width(), s.Height()}, s);
    gfx::TCanvas& canvas = dest.Canvas();
    if (stretchType == bsstFull) {
        canvas.StretchDraw(newClRect, centre);
        return;
    }
    // Stretched across, then repeated along the other axis inside the client rectangle.
    const bool horz = stretchType == bsstHorz;
    gfx::TBitmap band;
    band.SetSize(horz ? centre.Width() : newClRect.Width(),
                 horz ? newClRect.Height() : centre.Height());
    band.Canvas().StretchDraw({0, 0, band.Width(), band.Height()}, centre);
    TSavedDC saved(canvas.Handle());
    gfx::IntersectClipRect(canvas.Handle(), newClRect.Left, newClRect.Top, newClRect.Right,
                           newClRect.Bottom);
    const int step = horz ? band.Width() : band.Height();
    const int count = (horz ? newClRect.Width() : newClRect.Height()) / step;
    for (int k = 0; k <= count; ++k)
        canvas.Draw(horz ? newClRect.Left + k * step : newClRect.Left,
                    horz ? newClRect.Top : newClRect.Top + k * step, band);
}

}  // namespace

void BuildHorzSkinStrip(int leftOffset, int rightOffset, gfx::TBitmap& dest, gfx::TBitmap& source,
                        const TRect& skinRect, int newWidth, int, bool stretch) {
    HorzStrip(TStripEnds::Both, leftOffset, rightOffset, dest, source, skinRect, newWidth, stretch);
}

void BuildHorzSkinStripNoRight(int leftOffset, int rightOffset, gfx::TBitmap& dest,
                               gfx::TBitmap& source, const TRect& skinRect, int newWidth, int,
                               bool stretch) {
    HorzStrip(TStripEnds::LeftOnly, leftOffset, rightOffset, dest, source, skinRect, newWidth,
              stretch);
}

void BuildHorzSkinStripNoEnds(int leftOffset, int rightOffset, gfx::TBitmap& dest,
                              gfx::TBitmap& source, const TRect& skinRect, int newWidth, int,
                              bool stretch) {
    HorzStrip(TStripEnds::None, leftOffset, rightOffset, dest, source, skinRect, newWidth, stretch);
}

void BuildVertSkinStrip(int topOffset, int bottomOffset, gfx::TBitmap& dest, gfx::TBitmap& source,
                        const TRect& skinRect, int, int newHeight, bool stretch) {
    const int w = skinRect.Width();
    dest.SetSize(w, newHeight);
    if (topOffset > 0)
        CopyPiece(dest, source, {0, 0, w, topOffset},
                  {skinRect.Left, skinRect.Top, skinRect.Right, skinRect.Top + topOffset});
    if (bottomOffset > 0)
        CopyPiece(dest, source, {0, newHeight - bottomOffset, w, newHeight},
                  {skinRect.Left, skinRect.Bottom - bottomOffset, skinRect.Right, skinRect.Bottom});
    const TRect s{skinRect.Left, skinRect.Top + topOffset, skinRect.Right,
                  skinRect.Bottom - bottomOffset};
    Edge(dest, source, s, {0, topOffset, w, newHeight - bottomOffset}, stretch, false);
}

void BuildNineSliceImage(TPoint lt, TPoint rt, TPoint lb, TPoint rb, const TRect& cl, TPoint nlt,
                         TPoint nrt, TPoint nlb, TPoint nrb, const TRect& ncl, gfx::TBitmap& dest,
                         gfx::TBitmap& source, const TRect& skinRect, int newWidth, int newHeight,
                         bool drawClient, bool leftStretch, bool topStretch, bool rightStretch,
                         bool bottomStretch, bool stretchEffect, TbsStretchType stretchType) {
    dest.SetSize(newWidth, newHeight);
    if (rb.X == lt.X || rb.Y == lt.Y || source.Empty()) return;
    const TSkinPicture pic{source, skinRect};
    const int w = pic.W(), h = pic.H(), nw = newWidth, nh = newHeight;

    Edge(dest, source, pic.Piece(lt.X, 0, rt.X, cl.Top), {nlt.X, 0, nrt.X, ncl.Top}, topStretch,
         true);
    Edge(dest, source, pic.Piece(lb.X, cl.Bottom, rb.X, h), {nlb.X, ncl.Bottom, nrb.X, nh},
         bottomStretch, true);
    Edge(dest, source, pic.Piece(0, lt.Y, cl.Left, lb.Y), {0, nlt.Y, ncl.Left, nlb.Y}, leftStretch,
         false);
    Edge(dest, source, pic.Piece(cl.Right, rt.Y, w, rb.Y), {ncl.Right, nrt.Y, nw, nrb.Y},
         rightStretch, false);

    // Each corner in two pieces: the part in the top or bottom border, then the part in the
    // side border.
    CopyPiece(dest, source, {0, 0, nlt.X, ncl.Top}, pic.Piece(0, 0, lt.X, cl.Top));
    CopyPiece(dest, source, {0, ncl.Top, ncl.Left, nlt.Y}, pic.Piece(0, cl.Top, cl.Left, lt.Y));
    CopyPiece(dest, source, {nrt.X, 0, nw, ncl.Top}, pic.Piece(rt.X, 0, w, cl.Top));
    CopyPiece(dest, source, {ncl.Right, ncl.Top, nw, nrt.Y}, pic.Piece(cl.Right, cl.Top, w, rt.Y));
    CopyPiece(dest, source, {0, nlb.Y, ncl.Left, nh}, pic.Piece(0, lb.Y, cl.Left, h));
    CopyPiece(dest, source, {ncl.Left, ncl.Bottom, nlb.X, nh},
              pic.Piece(cl.Left, cl.Bottom, lb.X, h));
    CopyPiece(dest, source, {nrb.X, ncl.Bottom, nw, nh}, pic.Piece(rb.X, cl.Bottom, w, h));
    CopyPiece(dest, source, {ncl.Right, nrb.Y, nw, ncl.Bottom},
              pic.Piece(cl.Right, rb.Y, w, cl.Bottom));

    if (drawClient) Centre(dest, pic, cl, ncl, stretchEffect, stretchType);
}

void BuildNineSliceImageNoRight(TPoint lt, TPoint rt, TPoint lb, TPoint rb, const TRect& cl,
                                TPoint nlt, TPoint, TPoint nlb, TPoint, const TRect& ncl,
                                gfx::TBitmap& dest, gfx::TBitmap& source, const TRect& skinRect,
                                int newWidth, int newHeight, bool drawClient, bool leftStretch,
                                bool topStretch, bool, bool bottomStretch, bool stretchEffect,
                                TbsStretchType stretchType) {
    dest.SetSize(newWidth, newHeight);
    if (rb.X == lt.X || rb.Y == lt.Y || source.Empty()) return;
    const TSkinPicture pic{source, skinRect};
    const int h = pic.H(), nw = newWidth, nh = newHeight;

    Edge(dest, source, pic.Piece(lt.X, 0, rt.X, cl.Top), {nlt.X, 0, nw, ncl.Top}, topStretch, true);
    Edge(dest, source, pic.Piece(lb.X, cl.Bottom, rb.X, h), {nlb.X, ncl.Bottom, nw, nh},
         bottomStretch, true);
    Edge(dest, source, pic.Piece(0, lt.Y, cl.Left, lb.Y), {0, nlt.Y, ncl.Left, nlb.Y}, leftStretch,
         false);

    CopyPiece(dest, source, {0, 0, nlt.X, ncl.Top}, pic.Piece(0, 0, lt.X, cl.Top));
    CopyPiece(dest, source, {0, ncl.Top, ncl.Left, nlt.Y}, pic.Piece(0, cl.Top, cl.Left, lt.Y));
    CopyPiece(dest, source, {0, nlb.Y, ncl.Left, nh}, pic.Piece(0, lb.Y, cl.Left, h));
    CopyPiece(dest, source, {ncl.Left, ncl.Bottom, nlb.X, nh},
              pic.Piece(cl.Left, cl.Bottom, lb.X, h));

    if (drawClient)
        Centre(dest, pic, cl, {ncl.Left, ncl.Top, nw, ncl.Bottom}, stretchEffect, stretchType);
}

void BuildNineSliceFromRect(gfx::TBitmap& dest, gfx::TBitmap& source, const TRect& skinRect,
                            const TRect& clRect, bool drawClient) {
    const int nw = dest.Width(), nh = dest.Height();
    const TRect ncl{clRect.Left, clRect.Top, clRect.Right + nw - skinRect.Width(),
                    clRect.Bottom + nh - skinRect.Height()};
    BuildNineSliceImage({clRect.Left, clRect.Top}, {clRect.Right, clRect.Top},
                        {clRect.Left, clRect.Bottom}, {clRect.Right, clRect.Bottom}, clRect,
                        {ncl.Left, ncl.Top}, {ncl.Right, ncl.Top}, {ncl.Left, ncl.Bottom},
                        {ncl.Right, ncl.Bottom}, ncl, dest, source, skinRect, nw, nh, drawClient,
                        true, true, true, true, true, bsstFull);
}

void BuildSkinBorderImages(TPoint lt, TPoint rt, TPoint lb, TPoint rb, const TRect& cl, TPoint nlt,
                           TPoint nrt, TPoint nlb, TPoint nrb, const TRect& ncl,
                           gfx::TBitmap& leftImage, gfx::TBitmap& topImage,
                           gfx::TBitmap& rightImage, gfx::TBitmap& bottomImage,
                           gfx::TBitmap& picture, const TRect& skinRect, int newWidth,
                           int newHeight, bool leftStretch, bool topStretch, bool rightStretch,
                           bool bottomStretch) {
    const TSkinPicture pic{picture, skinRect};
    const int w = pic.W(), h = pic.H(), nw = newWidth;

    // Top and bottom: the edge over the whole width (or stretched between the corners), then
    // the corners over it.
    const int top = ncl.Top;
    if (nw > 0 && top > 0 && rt.X > lt.X) {
        topImage.SetSize(nw, top);
        const TRect s = pic.Piece(lt.X, 0, rt.X, top);
        if (topStretch)
            CopyPiece(topImage, picture, {nlt.X, 0, nrt.X, top}, s);
        else
            TilePiece(topImage, picture, s, {0, 0, nw, top}, true, false);
        CopyPiece(topImage, picture, {0, 0, nlt.X, top}, pic.Piece(0, 0, lt.X, top));
        CopyPiece(topImage, picture, {nrt.X, 0, nw, top}, pic.Piece(rt.X, 0, w, top));
    }
    const int bottom = newHeight - ncl.Bottom;
    if (nw > 0 && bottom > 0 && rb.X > lb.X) {
        bottomImage.SetSize(nw, bottom);
        const TRect s = pic.Piece(lb.X, h - bottom, rb.X, h);
        if (bottomStretch)
            CopyPiece(bottomImage, picture, {nlb.X, 0, nrb.X, bottom}, s);
        else
            TilePiece(bottomImage, picture, s, {0, 0, nw, bottom}, true, false);
        CopyPiece(bottomImage, picture, {0, 0, nlb.X, bottom}, pic.Piece(0, h - bottom, lb.X, h));
        CopyPiece(bottomImage, picture, {nrb.X, 0, nw, bottom}, pic.Piece(rb.X, h - bottom, w, h));
    }

    // Sides: between the top and bottom images, the edge over the whole height (or stretched
    // between its end pieces), then the end pieces.
    const int v = newHeight - bottomImage.Height() - topImage.Height();
    auto side = [&](gfx::TBitmap& image, int width, int srcLeft, int srcRight, int edgeTop,
                    int edgeBottom, bool stretch) {
        image.SetSize(width, v);
        const TRect s = pic.Piece(srcLeft, edgeTop, srcRight, edgeBottom);
        const int upper = edgeTop - cl.Top, lower = v + edgeBottom - cl.Bottom;
        if (stretch)
            CopyPiece(image, picture, {0, upper, width, lower}, s);
        else
            TilePiece(image, picture, s, {0, 0, width, v}, false, true);
        if (upper > 0)
            CopyPiece(image, picture, {0, 0, width, upper},
                      pic.Piece(srcLeft, cl.Top, srcRight, edgeTop));
        if (cl.Bottom > edgeBottom)
            CopyPiece(image, picture, {0, lower, width, v},
                      pic.Piece(srcLeft, edgeBottom, srcRight, cl.Bottom));
    };
    if (ncl.Left > 0 && v > 0 && lb.Y > lt.Y)
        side(leftImage, ncl.Left, 0, ncl.Left, lt.Y, lb.Y, leftStretch);
    const int right = nw - ncl.Right;
    if (right >= 1 && v >= 1 && rb.Y > rt.Y)
        side(rightImage, right, cl.Right, w, rt.Y, rb.Y, rightStretch);
}

void DrawStripFrame(gfx::TCanvas& canvas, int x, int y, gfx::TBitmap& bitmap, int numGlyphs,
                    int index) {
    if (bitmap.Empty() || numGlyphs <= 0) return;
    const int width = bitmap.Width() / numGlyphs, height = bitmap.Height();
    gfx::TBitmap frame;
    frame.SetSize(width, height);
    CopyPiece(frame, bitmap, {0, 0, width, height},
              {(index - 1) * width, 0, index * width, height});
    frame.SetTransparent(true);
    canvas.Draw(x, y, frame);
}

}  // namespace skin
