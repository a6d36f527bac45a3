// Image lists as components: TCustomImageList keeps numbered pictures of one size in a window
// layer image list (Handle, for the ImageList_* calls of gfx) and draws them normal or greyed
// through its virtual DoDraw, which a subclass replaces to draw its own way. Main thread only.
#pragma once

#include "platform/gfx/graphics.h"
#include "platform/gfx/icons.h"
#include "platform/gfx/image_list.h"
#include "platform/vcl/classes.h"

namespace vcl {

using gfx::TColor;

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
enum TImageType { itImage, itMask };

class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* AOwner);
    // An image list of that size.
    TCustomImageList(TComponent* AOwner, int width, int height);
    ~TCustomImageList() override;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    // Changing the size removes every image.
    void SetWidth(int value);
    void SetHeight(int value);
    int Count() const;
    gfx::HIMAGELIST Handle() const { return FHandle; }
    // clNone (or gfx::CLR_NONE) draws transparent.
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor value);
    TDrawingStyle DrawingStyle() const { return FDrawingStyle; }
    void SetDrawingStyle(TDrawingStyle value) { FDrawingStyle = value; }
    bool Masked() const { return FMasked; }
    void SetMasked(bool value) { FMasked = value; }

    // Each image is Width wide: a wider bitmap adds several. The mask's white pixels are
    // transparent. Return the index of the first new image, -1 on failure.
    int Add(const gfx::TBitmap* Image, const gfx::TBitmap* Mask);
    // Pixels of MaskColor are transparent (clDefault: the colour of the bottom-left pixel).
    int AddMasked(const gfx::TBitmap& Image, TColor MaskColor);
    int AddIcon(const gfx::TIcon& Image);
    void Insert(int Index, const gfx::TBitmap* Image, const gfx::TBitmap* Mask);
    void InsertMasked(int Index, const gfx::TBitmap& Image, TColor MaskColor);
    void Replace(int Index, const gfx::TBitmap* Image, const gfx::TBitmap* Mask);
    // Raises rtl::EListError for an index out of range.
    void Delete(int Index);
    void Move(int CurIndex, int NewIndex);
    void Clear();

    void Draw(gfx::TCanvas& Canvas, int X, int Y, int Index, bool Enabled = true);
    void Draw(gfx::TCanvas& Canvas, int X, int Y, int Index, TDrawingStyle ADrawingStyle,
              TImageType AImageType, bool Enabled = true);
    // The image as an icon of the list's size.
    void GetIcon(int Index, gfx::TIcon& Image);
    // The image drawn on the background colour (clWindow when the list has none).
    void GetBitmap(int Index, gfx::TBitmap& Image);

    TNotifyEvent OnChange;

protected:
    // Draws one image; the base draws it through the image list, greyed when not Enabled.
    virtual void DoDraw(int Index, gfx::TCanvas& Canvas, int X, int Y, unsigned Style,
                        bool Enabled);
    void Change();

private:
    void Recreate();

    gfx::HIMAGELIST FHandle = 0;
    int FWidth = 16;
    int FHeight = 16;
    TColor FBkColor = gfx::clNone;
    TDrawingStyle FDrawingStyle = dsNormal;
    bool FMasked = true;
};

class TImageList : public TCustomImageList {
public:
    using TCustomImageList::TCustomImageList;
};

}  // namespace vcl
