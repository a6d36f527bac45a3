// The layered border: a soft, per-pixel translucent frame (a shadow or glow) that lies outside
// a skinned form. TbsFormLayerBorder cuts the skin's LAYERFRAME picture into four side images
// fitted to the form's size and shows each in a borderless layered window of its own
// (TbsFormLayerWindow) against the form's top, bottom, left and right edges. The form skin
// component decides when the border is used and drives it; the border follows the form, never
// takes the activation and, with the record's HitTestEnable, resizes the form by dragging.
//
// Owned by the form skin component; owns its pictures, images and windows. Main thread only.
#pragma once

#include <memory>

#include "platform/vcl/forms.h"
#include "skin/core/bs_bitmap.h"
#include "skin/core/skin_data.h"

namespace skin {

class TbsSkinForm;
class TbsFormLayerBorder;

enum TbsFormLayerBorderType { bsflLeft, bsflTop, bsflRight, bsflBottom };
enum TbsFormLayerBorderHit {
    bsflhNone,
    bsflhLeft,
    bsflhTop,
    bsflhRight,
    bsflhBottom,
    bsflhTopLeft,
    bsflhTopRight,
    bsflhBottomLeft,
    bsflhBottomRight
};

// One side of the border: a parentless, borderless layered form that is never activated.
class TbsFormLayerWindow : public vcl::TForm {
public:
    TbsFormLayerWindow(TbsFormLayerBorder* AOwner, vcl::TCustomForm* AForm);

    // The resize zone under the cursor for this window's side.
    TbsFormLayerBorderHit GetHitMode() const;
    // The form may be resized through the border now.
    bool CanResizeForm() const;
    void Dispatch(vcl::TMessage& Message) override;

    TbsFormLayerBorderType BorderType = bsflTop;
    bool FDown = false;
    vcl::TCustomForm* FForm = nullptr;
    TbsFormLayerBorder* FLayerBorder = nullptr;
    gfx::TPoint MousePos1, MousePos2;
    TbsFormLayerBorderHit FHitMode = bsflhNone;
    bool FInProcessMessages = false;

protected:
    void CreateParams(vcl::TCreateParams& Params) override;
    void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void MouseMove(vcl::TShiftState Shift, int X, int Y) override;
    void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;

private:
    bool HitTestEnable() const;
    void DragStep();
    bool FEmptyBorderRect = false;
};

class TbsFormLayerBorder : public vcl::TComponent {
public:
    // AOwner is the form skin component.
    explicit TbsFormLayerBorder(TbsSkinForm* AOwner);
    ~TbsFormLayerBorder() override;

    void InitFrame(TbsSkinData* ASkinData, vcl::TCustomForm* AForm);
    // The outer rectangle at (X, Y) (screen) of AWidth x AHeight.
    void Show(int X, int Y, int AWidth, int AHeight);
    void ShowWithForm();
    void ShowWithFormAnimation();
    void Hide();
    void SetBounds(int X, int Y, int AWidth, int AHeight);
    void SetBoundsWithForm();
    void SetBoundsWithForm2(int AW, int AH);
    void SetBoundsWithForm3(int ALeft, int ATop, int AW, int AH);
    void MoveWithForm();
    void MoveWithForm2(int ALeft, int ATop);
    void SetAlphaBlend();
    void SetAlphaBlend2();
    void CheckFormAlpha(int AFormAlpha, bool AUpdate);
    void SetActive(bool AValue, bool AUpdate);
    void Draw(gfx::TCanvas& C, int X, int Y, int AWidth, int AHeight);

    // The outer rectangle for form bounds L, T, W, H.
    gfx::TRect FormMapping(int L, int T, int W, int H) const;
    bool Visible() const { return FVisible; }
    const TbsDataSkinLayerFrame* Data() const { return FData; }

    TbsSkinForm* BSF = nullptr;
    vcl::TCustomForm* FForm = nullptr;
    bool FVisible = false;
    TbsSkinData* FSD = nullptr;
    const TbsDataSkinLayerFrame* FData = nullptr;
    std::unique_ptr<TbsBitmap> FSourceBitmap;
    std::unique_ptr<TbsBitmap> FSourceInActiveBitMap;
    std::unique_ptr<TbsBitmap> LeftImage, TopImage, RightImage, BottomImage;
    // Nil where the image was empty at Show; owned through the component tree.
    TbsFormLayerWindow* LeftBorder = nullptr;
    TbsFormLayerWindow* TopBorder = nullptr;
    TbsFormLayerWindow* RightBorder = nullptr;
    TbsFormLayerWindow* BottomBorder = nullptr;
    int FWidth = 0, FHeight = 0;
    int LeftSize = 0, TopSize = 0, RightSize = 0, BottomSize = 0;
    bool FActive = true;
    int FCurrentAlphaBlendValue = -1;
    int FCurrentInActiveAlphaBlendValue = 0;

protected:
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

private:
    void BuildBorderImages(int AWidth, int AHeight);
    void FreeWindows();
    std::uint8_t CurrentAlpha() const;
    // Each existing window at its place for the outer rectangle at (X, Y).
    void PlaceWindows(int X, int Y, int AWidth, bool show);
    void PushImages();
    int TopHeight() const;
    int BottomHeight() const;
};

}  // namespace skin
