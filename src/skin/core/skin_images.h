// Skin image builders: a skin keeps each look as one rectangle of a skin bitmap plus points that
// cut it into fixed corners, resizable edges and a resizable centre. These routines build an
// image of any size from such a picture: three-part strips for things that grow one way, the
// nine-slice image for things that grow both ways, the four separate borders of a window frame,
// and one frame of a horizontal glyph strip.
//
// Geometry (every point and rectangle but skinRect is relative to skinRect's top-left corner;
// W and H are skinRect's size): the top edge runs from ltPt.X to rtPt.X, the bottom edge from
// lbPt.X to rbPt.X, the left edge from ltPt.Y to lbPt.Y, the right edge from rtPt.Y to rbPt.Y;
// clRect's sides are the borders' inner limits. The new* values are the same in the image being
// built. Edges and centres are stretched (nearest neighbour) or tiled: a tiled piece of length s
// is laid at a, a + s, a + 2s, ... and the piece passing the span's end is cut there, its source
// by the same amount. Spans that run backwards (a new size smaller than the fixed parts) draw
// nothing. Every piece is a rectangle copy of the canvas; nothing raises. Main thread.
#pragma once

#include "platform/gfx/graphics.h"
#include "platform/gfx/types.h"
#include "skin/core/skin_description.h"

namespace skin {

using gfx::TPoint;
using gfx::TRect;

// dest := newWidth x skinRect height: the left part (leftOffset wide), the right part
// (rightOffset wide) at newWidth - rightOffset, and the middle between them stretched or tiled
// over [leftOffset, newWidth - rightOffset). A middle of width 0 counts as 1 pixel. newHeight is
// not used.
void BuildHorzSkinStrip(int leftOffset, int rightOffset, gfx::TBitmap& dest, gfx::TBitmap& source,
                        const TRect& skinRect, int newWidth, int newHeight, bool stretch);
// The same without the right part: the middle runs to newWidth.
void BuildHorzSkinStripNoRight(int leftOffset, int rightOffset, gfx::TBitmap& dest,
                               gfx::TBitmap& source, const TRect& skinRect, int newWidth,
                               int newHeight, bool stretch);
// The middle alone over the whole width.
void BuildHorzSkinStripNoEnds(int leftOffset, int rightOffset, gfx::TBitmap& dest,
                              gfx::TBitmap& source, const TRect& skinRect, int newWidth,
                              int newHeight, bool stretch);
// dest := skinRect width x newHeight, top, bottom and middle as above. newWidth is not used.
void BuildVertSkinStrip(int topOffset, int bottomOffset, gfx::TBitmap& dest, gfx::TBitmap& source,
                        const TRect& skinRect, int newWidth, int newHeight, bool stretch);

// dest := newWidth x newHeight: the four edges (each stretched or tiled as its flag says), the
// corners, and, with drawClient, the centre (stretched by stretchType with stretchEffect, else
// tiled both ways). Nothing is drawn when rbPt.X = ltPt.X, rbPt.Y = ltPt.Y or source is empty.
void BuildNineSliceImage(TPoint ltPt, TPoint rtPt, TPoint lbPt, TPoint rbPt, const TRect& clRect,
                         TPoint newLtPt, TPoint newRtPt, TPoint newLbPt, TPoint newRbPt,
                         const TRect& newClRect, gfx::TBitmap& dest, gfx::TBitmap& source,
                         const TRect& skinRect, int newWidth, int newHeight, bool drawClient,
                         bool leftStretch, bool topStretch, bool rightStretch, bool bottomStretch,
                         bool stretchEffect, TbsStretchType stretchType);
// For pictures that continue at the right edge: top and bottom edges and the centre run to
// newWidth; no right edge, no right corners. rightStretch is not used.
void BuildNineSliceImageNoRight(TPoint ltPt, TPoint rtPt, TPoint lbPt, TPoint rbPt,
                                const TRect& clRect, TPoint newLtPt, TPoint newRtPt, TPoint newLbPt,
                                TPoint newRbPt, const TRect& newClRect, gfx::TBitmap& dest,
                                gfx::TBitmap& source, const TRect& skinRect, int newWidth,
                                int newHeight, bool drawClient, bool leftStretch, bool topStretch,
                                bool rightStretch, bool bottomStretch, bool stretchEffect,
                                TbsStretchType stretchType);
// A nine-slice image at dest's own size whose borders are clRect's margins, everything
// stretched.
void BuildNineSliceFromRect(gfx::TBitmap& dest, gfx::TBitmap& source, const TRect& skinRect,
                            const TRect& clRect, bool drawClient);

// The four borders of a window frame as separate images: top and bottom newWidth wide, left and
// right between them. An image whose size or source piece comes out empty is left as it was.
void BuildSkinBorderImages(TPoint ltPt, TPoint rtPt, TPoint lbPt, TPoint rbPt, const TRect& clRect,
                           TPoint newLtPt, TPoint newRtPt, TPoint newLbPt, TPoint newRbPt,
                           const TRect& newClRect, gfx::TBitmap& leftImage, gfx::TBitmap& topImage,
                           gfx::TBitmap& rightImage, gfx::TBitmap& bottomImage,
                           gfx::TBitmap& picture, const TRect& skinRect, int newWidth,
                           int newHeight, bool leftStretch, bool topStretch, bool rightStretch,
                           bool bottomStretch);

// Draws frame `index` (from 1) of a bitmap holding numGlyphs frames side by side at (x, y),
// leaving out the colour of the frame's bottom-left pixel.
void DrawStripFrame(gfx::TCanvas& canvas, int x, int y, gfx::TBitmap& bitmap, int numGlyphs,
                    int index);

// --- Shared by the strip, nine-slice and region builders ---

// Copies source rectangle s onto dest rectangle d (stretched when the sizes differ); empty
// rectangles copy nothing.
void CopyPiece(gfx::TBitmap& dest, gfx::TBitmap& source, const TRect& d, const TRect& s);
// Lays piece s over d from d's top-left corner, repeated along x and/or y; along an axis that
// doesn't repeat, the piece spans d. Pieces are cut at d's right and bottom.
void TilePiece(gfx::TBitmap& dest, gfx::TBitmap& source, const TRect& s, const TRect& d,
               bool alongX, bool alongY);

}  // namespace skin
