// The PNG image list: an image list whose pictures are PNG images with their own alpha channel,
// so every control and menu that takes an image list draws them with per-pixel transparency
// (and a disabled item at half its opacity). The pictures live in a collection of named items;
// the inherited list keeps one blank placeholder per item at the item's index, so its count and
// index checks agree with the items. Main thread, like every component.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/gfx/graphics.h"
#include "platform/rtl/lists.h"
#include "platform/vcl/img_list.h"

namespace skin {

class TbsPngImage : public gfx::TPngImage {
public:
    const char* ClassName() const override { return "TbsPngImage"; }
};

// Scales the picture's opacity by (value + 1) / 256: every alpha a becomes a / 256 * (value + 1)
// rounded half to even, a pixel of the transparent colour 0. A grey or palette picture becomes
// RGBA with alpha value (0 for its transparent colour); an RGB picture gets an alpha channel
// first.
void ScalePngAlpha(gfx::TPngImage& png, int value);

class TbsPngImageList;

class TbsPngImageItem : public rtl::TCollectionItem {
public:
    TbsPngImageItem();

    // From another item: its picture and its name.
    void Assign(const rtl::TCollectionItem& Source) override;
    // The name, or the class name for an item without one.
    std::string GetDisplayName() const;

    TbsPngImage& PngImage() { return *FPngImage; }
    // Takes a copy of the picture and tells the collection the item changed.
    void SetPngImage(const gfx::TPngImage& Value);
    // "PngImage" and the item's index when it was created.
    const std::string& Name() const { return FName; }
    void SetName(const std::string& Value) { FName = Value; }

private:
    friend class TbsPngImageItems;
    std::unique_ptr<TbsPngImage> FPngImage;
    std::string FName;
};

class TbsPngImageItems : public rtl::TCollectionOf<TbsPngImageItem> {
public:
    explicit TbsPngImageItems(TbsPngImageList* Owner) : FPngImageList(Owner) {}
    TbsPngImageList* GetOwner() const { return FPngImageList; }

protected:
    // Names a new item and gives it its placeholder; a leaving item takes its placeholder along.
    void Notify(rtl::TCollectionItem* Item, rtl::TCollectionNotification Action) override;

private:
    TbsPngImageList* FPngImageList;
};

class TbsPngImageList : public vcl::TCustomImageList {
public:
    explicit TbsPngImageList(vcl::TComponent* AOwner);
    ~TbsPngImageList() override;

    TbsPngImageItems& PngImages() { return *FPngImages; }
    void SetPngImages(const TbsPngImageItems& Value) { FPngImages->Assign(Value); }
    // The list's own size. A new value removes every item (the pictures no longer fit), except
    // while the component is loading.
    int PngWidth() const { return Width(); }
    int PngHeight() const { return Height(); }
    void SetPngWidth(int Value);
    void SetPngHeight(int Value);

protected:
    // Item Index's picture stretched into (X, Y, X + PngWidth, Y + PngHeight); disabled at half
    // opacity. Raises the list index error for an index outside the items.
    void DoDraw(int Index, gfx::TCanvas& Canvas, int X, int Y, unsigned Style,
                bool Enabled) override;

private:
    friend class TbsPngImageItems;
    void InsertPlaceholder(int Index);
    void SizeChanged();

    std::unique_ptr<TbsPngImageItems> FPngImages;
};

}  // namespace skin
