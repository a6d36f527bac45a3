#include "platform/vcl/img_list.h"

#include "platform/rtl/lists.h"

namespace vcl {

TCustomImageList::TCustomImageList(TComponent* AOwner) : TCustomImageList(AOwner, 16, 16) {}

TCustomImageList::TCustomImageList(TComponent* AOwner, int width, int height)
    : TComponent(AOwner), FWidth(std::max(1, width)), FHeight(std::max(1, height)) {
    FHandle = gfx::ImageList_Create(FWidth, FHeight, gfx::ILC_COLOR32 | gfx::ILC_MASK, 4, 4);
}

TCustomImageList::~TCustomImageList() {
    gfx::ImageList_Destroy(FHandle);
}

void TCustomImageList::Recreate() {
    gfx::ImageList_SetIconSize(FHandle, FWidth, FHeight);
    Change();
}

void TCustomImageList::SetWidth(int value) {
    if (value == FWidth || value <= 0) return;
    FWidth = value;
    Recreate();
}

void TCustomImageList::SetHeight(int value) {
    if (value == FHeight || value <= 0) return;
    FHeight = value;
    Recreate();
}

int TCustomImageList::Count() const {
    return gfx::ImageList_GetImageCount(FHandle);
}

void TCustomImageList::SetBkColor(TColor value) {
    FBkColor = value;
    gfx::ImageList_SetBkColor(FHandle, value == gfx::clNone ? gfx::CLR_NONE : value);
    Change();
}

int TCustomImageList::Add(const gfx::TBitmap* Image, const gfx::TBitmap* Mask) {
    if (!Image || Image->Empty()) return -1;
    gfx::TImage mask;
    if (Mask && !Mask->Empty()) mask = Mask->ToImage();
    const int index =
        gfx::ImageList_Add(FHandle, Image->ToImage(), Mask && !Mask->Empty() ? &mask : nullptr);
    if (index >= 0) Change();
    return index;
}

int TCustomImageList::AddMasked(const gfx::TBitmap& Image, TColor MaskColor) {
    if (Image.Empty()) return -1;
    if (MaskColor == gfx::clDefault) MaskColor = Image.TransparentColor();
    const int index = gfx::ImageList_AddMasked(FHandle, Image.ToImage(), MaskColor);
    if (index >= 0) Change();
    return index;
}

int TCustomImageList::AddIcon(const gfx::TIcon& Image) {
    const int index = gfx::ImageList_ReplaceIcon(FHandle, -1, Image.Handle());
    if (index >= 0) Change();
    return index;
}

void TCustomImageList::Insert(int Index, const gfx::TBitmap* Image, const gfx::TBitmap* Mask) {
    if (Index < 0 || Index > Count()) rtl::RaiseListIndexError(Index);
    const int before = Count();
    if (Add(Image, Mask) < 0) return;
    for (int k = 0; k < Count() - before; ++k) gfx::ImageList_Move(FHandle, before + k, Index + k);
    Change();
}

void TCustomImageList::InsertMasked(int Index, const gfx::TBitmap& Image, TColor MaskColor) {
    if (Index < 0 || Index > Count()) rtl::RaiseListIndexError(Index);
    const int before = Count();
    if (AddMasked(Image, MaskColor) < 0) return;
    for (int k = 0; k < Count() - before; ++k) gfx::ImageList_Move(FHandle, before + k, Index + k);
    Change();
}

void TCustomImageList::Replace(int Index, const gfx::TBitmap* Image, const gfx::TBitmap* Mask) {
    if (Index < 0 || Index >= Count()) rtl::RaiseListIndexError(Index);
    if (!Image || Image->Empty()) return;
    gfx::TImage mask;
    if (Mask && !Mask->Empty()) mask = Mask->ToImage();
    gfx::ImageList_Replace(FHandle, Index, Image->ToImage(),
                           Mask && !Mask->Empty() ? &mask : nullptr);
    Change();
}

void TCustomImageList::Delete(int Index) {
    if (Index < 0 || Index >= Count()) rtl::RaiseListIndexError(Index);
    gfx::ImageList_Remove(FHandle, Index);
    Change();
}

void TCustomImageList::Move(int CurIndex, int NewIndex) {
    if (CurIndex < 0 || CurIndex >= Count()) rtl::RaiseListIndexError(CurIndex);
    if (NewIndex < 0 || NewIndex >= Count()) rtl::RaiseListIndexError(NewIndex);
    gfx::ImageList_Move(FHandle, CurIndex, NewIndex);
    Change();
}

void TCustomImageList::Clear() {
    gfx::ImageList_Remove(FHandle, -1);
    Change();
}

void TCustomImageList::Draw(gfx::TCanvas& Canvas, int X, int Y, int Index, bool Enabled) {
    Draw(Canvas, X, Y, Index, FDrawingStyle, itImage, Enabled);
}

void TCustomImageList::Draw(gfx::TCanvas& Canvas, int X, int Y, int Index,
                            TDrawingStyle ADrawingStyle, TImageType AImageType, bool Enabled) {
    if (Index < 0 || Index >= Count()) return;
    unsigned style = gfx::ILD_NORMAL;
    switch (ADrawingStyle) {
        case dsFocus:
            style = gfx::ILD_FOCUS;
            break;
        case dsSelected:
            style = gfx::ILD_SELECTED;
            break;
        case dsTransparent:
            style = gfx::ILD_TRANSPARENT;
            break;
        case dsNormal:
            break;
    }
    if (AImageType == itMask) style |= gfx::ILD_MASK;
    DoDraw(Index, Canvas, X, Y, style, Enabled);
}

void TCustomImageList::DoDraw(int Index, gfx::TCanvas& Canvas, int X, int Y, unsigned Style,
                              bool Enabled) {
    gfx::HDC dc = Canvas.Handle();
    if (!dc) return;
    if (Canvas.OnChanging) Canvas.OnChanging();
    gfx::ImageList_DrawEx(FHandle, Index, dc, X, Y, 0, 0, gfx::CLR_DEFAULT, gfx::CLR_DEFAULT,
                          Style | (Enabled ? 0u : unsigned(gfx::ILD_DISABLED)));
    if (Canvas.OnChange) Canvas.OnChange();
}

void TCustomImageList::GetIcon(int Index, gfx::TIcon& Image) {
    Image.SetHandle(gfx::ImageList_GetIcon(FHandle, Index, 0));
}

void TCustomImageList::GetBitmap(int Index, gfx::TBitmap& Image) {
    Image.SetSize(FWidth, FHeight);
    Image.Canvas().Brush().SetColor(FBkColor == gfx::clNone ? gfx::clWindow : FBkColor);
    Image.Canvas().FillRect({0, 0, FWidth, FHeight});
    Draw(Image.Canvas(), 0, 0, Index, dsTransparent, itImage, true);
}

void TCustomImageList::Change() {
    if (OnChange) OnChange(this);
}

}  // namespace vcl
