// Frame objects: the live parts of a skinned form's frame, one per object record of the skin
// (caption buttons, decorative buttons, animations, the caption text and areas the program
// paints), or the six default caption buttons of a form without a skin. Each object owns a
// rectangle of the frame (frame coordinates: the window's top-left corner is the origin), draws
// its looks from the skin's pictures, fades between its normal and hot looks on the form
// component's morph timer, and reacts to the mouse the component hands it; caption buttons and
// animations run a window command.
//
// The form skin component (skin_form.h) creates and frees the objects and is their host
// (TbsFrameHost); pictures and records
// belong to the skin data and are only referred to. Main thread only.
#pragma once

#include <string>

#include "platform/gfx/canvas.h"
#include "platform/gfx/graphics.h"
#include "platform/vcl/controls.h"
#include "platform/vcl/forms.h"
#include "platform/vcl/img_list.h"
#include "platform/vcl/menus.h"
#include "skin/core/fades.h"
#include "skin/core/skin_records.h"

namespace skin {

class TbsSkinData;
class TbsActiveSkinObject;
class TbsLayerManager;
class TbsQuickButtonItems;
class TbsSkinHint;

// What a frame object asks of the form it sits on: its skin and state, repaints, the glow
// layers, window commands, menus, the program's object events and the caption's quick
// buttons. The form skin component implements it; the objects see nothing else of it.
class TbsFrameHost {
public:
    virtual ~TbsFrameHost() = default;
    virtual TbsSkinData* SkinData() const = 0;
    virtual vcl::TCustomForm* HostForm() const = 0;
    virtual bool SkinnableForm() const = 0;
    // The form shows as active (its caption's looks).
    virtual bool GetFormActive() const = 0;
    // The last activation the frame was told of.
    virtual bool FrameActivated() const = 0;
    virtual vcl::TWindowState WindowState() const = 0;
    virtual bool RollUpState() const = 0;
    virtual bool ShowIcon() const = 0;
    // A frame rectangle on the screen (an MDI child's frame lies outside its client origin).
    virtual gfx::TRect FrameRectToScreen(const gfx::TRect& R) const = 0;
    virtual void DrawSkinObject(TbsActiveSkinObject* AObject) = 0;
    virtual void DrawFormIcon(gfx::TCanvas& Cnvs, int x, int y) = 0;
    virtual void RepaintFrame() = 0;
    virtual void StartMorphTimer() = 0;
    virtual void StartAnimateTimer() = 0;
    // The glow layers: the frame's and the one above menus.
    virtual bool LayerEnabled() const = 0;
    virtual TbsLayerManager* FrameLayer(bool menuLayer) const = 0;
    virtual void HideFrameLayers() = 0;
    virtual void RunFrameCommand(TbsStdCommand command) = 0;
    virtual bool TrackObjectMenu(vcl::TMenuItem* AItem, const gfx::TRect& R, bool APopupUp,
                                 bool AButtonObject) = 0;
    virtual vcl::TMenuItem* GetSysMenuItems() = 0;
    // The program's object events.
    virtual void ObjectEntered(const std::string& IDName) = 0;
    virtual void ObjectLeft(const std::string& IDName) = 0;
    virtual void ObjectPressed(const std::string& IDName, int X, int Y, gfx::TRect R,
                               vcl::TMouseButton Button) = 0;
    virtual void ObjectReleased(const std::string& IDName, int X, int Y, gfx::TRect R,
                                vcl::TMouseButton Button) = 0;
    virtual void ObjectMoved(const std::string& IDName, int X, int Y, gfx::TRect R) = 0;
    virtual void ObjectPaint(const std::string& IDName, gfx::TCanvas& Canvas, gfx::TRect R) = 0;
    // The program draws the caption itself: true when it did.
    virtual bool PaintCaptionByProgram(gfx::TCanvas& Cnvs, gfx::TRect R, bool AActive) = 0;
    virtual std::string CaptionText() const = 0;
    virtual gfx::TFontCharset DefCaptionCharset() const = 0;
    // The caption's quick buttons.
    virtual bool HasQuickButtons() const = 0;
    virtual int QuickButtonsWidth() const = 0;
    virtual TbsQuickButtonItems& QuickButtons() = 0;
    virtual vcl::TCustomImageList* QuickImageList() const = 0;
    virtual bool QuickButtonsShowHint() const = 0;
    virtual TbsSkinHint* SkinHint() const = 0;
};

class TbsActiveSkinObject : public vcl::TObject {
public:
    // Without a record only the defaults are set (no pictures, empty looks, no morphing).
    TbsActiveSkinObject(TbsFrameHost* AParent, TbsDataSkinObject* AData);
    virtual ~TbsActiveSkinObject() = default;
    TbsActiveSkinObject(const TbsActiveSkinObject&) = delete;
    TbsActiveSkinObject& operator=(const TbsActiveSkinObject&) = delete;

    // (X, Y) relative to ObjectRect's top-left corner.
    virtual bool PointInObject(int X, int Y);
    virtual void ShowLayer();
    virtual void HideLayer();
    virtual bool CanMorphing();
    // UpDate: repainting over a painted frame, so the normal look is drawn too.
    virtual void Draw(gfx::TCanvas& Cnvs, bool UpDate);
    virtual void DblClick() {}
    // Frame coordinates.
    virtual void MouseDown(int X, int Y, vcl::TMouseButton Button);
    virtual void MouseUp(int X, int Y, vcl::TMouseButton Button);
    virtual void MouseMove(int X, int Y);
    virtual void MouseEnter();
    virtual void MouseLeave();

    // The record asks for morphing and the skin data has effects on.
    bool EnableMorphing() const;
    // One step of the fade towards the state's look, then a repaint.
    void DoMorphing();
    double MorphKf() const { return FFade.Kf(); }
    void SetMorphKf(double value);
    // Fades when morphing is on, else repaints at once.
    void Redraw();

    TbsFrameHost* Parent;
    TbsHoverFade FFade;
    bool FMouseIn = false;
    gfx::TBitmap* Picture = nullptr;
    gfx::TBitmap* ActivePicture = nullptr;
    gfx::TBitmap* ActiveMaskPicture = nullptr;
    TbsSkinData* SD = nullptr;
    std::string IDName;
    std::string Hint;
    gfx::TRect SkinRect;
    gfx::TRect ActiveSkinRect;
    gfx::TRect InActiveSkinRect;
    gfx::TRect ObjectRect;
    bool Active = false;
    bool Morphing = false;
    TbsMorphKind MorphKind = mkDefault;
    bool Enabled = true;
    bool Visible = true;
    bool SkinRectInAPicture = false;
    int GlowLayerPictureIndex = -1;
    int GlowLayerMaskPictureIndex = -1;
    int GlowLayerOffsetX = 0;
    int GlowLayerOffsetY = 0;
    int GlowLayerAlphaBlendValue = 0;

protected:
    // A skin data is set and holds a skin.
    bool SkinLoaded() const;
    // Stretches r of the picture onto ObjectRect; nothing without a picture or for an empty r.
    void CopyLook(gfx::TCanvas& Cnvs, gfx::TBitmap* picture, const gfx::TRect& r);
    // Morph fade between two looks at MorphKf, drawn at ObjectRect's top-left.
    void DrawFade(gfx::TCanvas& Cnvs, gfx::TBitmap* normalPicture, const gfx::TRect& normalRect,
                  gfx::TBitmap* hotPicture, const gfx::TRect& hotRect);
    // Active and MorphKf short of its end.
    bool FadeUnderWay() const;
    // Shows the glow layer through the given layer manager.
    void ShowLayerWith(bool menuLayer);
    void HideLayerWith(bool menuLayer);

public:
    // ObjectRect on the screen (an MDI child's frame lies outside its client origin).
    gfx::TRect ScreenObjectRect() const;
};

// An area of the frame the program paints in OnPaintEvent.
class TbsUserObject : public TbsActiveSkinObject {
public:
    using TbsActiveSkinObject::TbsActiveSkinObject;
    void Draw(gfx::TCanvas& Cnvs, bool UpDate) override;
};

class TbsSkinButtonObject : public TbsActiveSkinObject {
public:
    TbsSkinButtonObject(TbsFrameHost* AParent, TbsDataSkinObject* AData);

    void ShowLayer() override;
    void HideLayer() override;
    bool CanMorphing() override;
    void Draw(gfx::TCanvas& Cnvs, bool UpDate) override;
    void MouseDown(int X, int Y, vcl::TMouseButton Button) override;
    void MouseUp(int X, int Y, vcl::TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;

    bool Down() const { return FDown; }
    void SetDown(bool value);
    // Opens MenuItem under the button; false when no menu could open.
    bool TrackMenu();

    bool FDown = false;
    bool FPopupUp = false;
    gfx::TRect DisableSkinRect;
    gfx::TRect DownRect;
    vcl::TMenuItem* MenuItem = nullptr;

protected:
    // The button's own drawing, before the standard button's states.
    void ButtonDraw(gfx::TCanvas& Cnvs, bool UpDate);
};

// The restore state and the hint choice shared by the standard button and the animate object.
struct TbsCommandLooks {
    TbsStdCommand Command = cmDefault;
    gfx::TRect RestoreRect;
    gfx::TRect RestoreActiveRect;
    gfx::TRect RestoreInActiveRect;
    gfx::TRect RestoreDownRect;
    std::string RestoreHint;
    std::string FTempHint;
};

class TbsSkinStdButtonObject : public TbsSkinButtonObject, public TbsCommandLooks {
public:
    TbsSkinStdButtonObject(TbsFrameHost* AParent, TbsDataSkinObject* AData);

    bool PointInObject(int X, int Y) override;
    void ShowLayer() override;
    void HideLayer() override;
    bool CanMorphing() override;
    void Draw(gfx::TCanvas& Cnvs, bool UpDate) override;
    void DblClick() override;
    void MouseDown(int X, int Y, vcl::TMouseButton Button) override;
    void MouseUp(int X, int Y, vcl::TMouseButton Button) override;
    void MouseEnter() override;

    // The look without a skin: a face in system colours and the command's glyph.
    void DefaultDraw(gfx::TCanvas& Cnvs);
    // The system-menu button shows the form's icon.
    bool IconMode() const;
    // The command has taken effect: the maximize button of a maximized form and the like.
    bool RestoreState() const;

    // Created from a record (false for the six default buttons).
    bool FSkinSupport = false;

private:
    void ExecuteCommand();
};

class TbsSkinAnimateObject : public TbsActiveSkinObject, public TbsCommandLooks {
public:
    TbsSkinAnimateObject(TbsFrameHost* AParent, TbsDataSkinObject* AData);

    void ShowLayer() override;
    void HideLayer() override;
    void Draw(gfx::TCanvas& Cnvs, bool UpDate) override;
    void DblClick() override;
    void MouseDown(int X, int Y, vcl::TMouseButton Button) override;
    void MouseUp(int X, int Y, vcl::TMouseButton Button) override;
    void MouseEnter() override;
    void MouseLeave() override;

    int Frame() const { return FFrame; }
    // Wraps in the running direction, then repaints.
    void SetFrame(int value);
    // One animation-timer tick of 25 ms.
    void ChangeFrame();
    void Start();
    void Stop();
    bool RestoreState() const;
    bool TrackMenu();

    int FFrame = 1;
    int FInc = 25;
    int TimerInterval = 25;
    vcl::TMenuItem* MenuItem = nullptr;
    bool FPopupUp = false;
    bool FDown = false;
    bool FMenuTracking = false;
    int CountFrames = 1;
    bool Cycle = false;
    bool ButtonStyle = false;
    bool Increment = true;
    gfx::TRect DownSkinRect;

private:
    void ExecuteCommand();
    // The four looks, from the restore set in the restore state.
    gfx::TRect LookSkinRect() const;
    gfx::TRect LookActiveRect() const;
    gfx::TRect LookDownRect() const;
    gfx::TRect LookInActiveRect() const;
    gfx::TRect FrameRect(int frame) const;
};

class TbsSkinCaptionObject : public TbsActiveSkinObject {
public:
    TbsSkinCaptionObject(TbsFrameHost* AParent, TbsDataSkinObject* AData);

    void Draw(gfx::TCanvas& Cnvs, bool UpDate) override;
    void MouseDown(int X, int Y, vcl::TMouseButton Button) override;
    void MouseUp(int X, int Y, vcl::TMouseButton Button) override;
    void MouseMove(int X, int Y) override;
    void MouseEnter() override;
    void MouseLeave() override;

    // A skin with effects on and an animation strip.
    bool EnableAnimation() const;
    // The text rectangle inside ObjectRect (object-relative) for the current width.
    gfx::TRect TextRectNow() const;
    // The quick buttons at the caption's left, and which one the frame point is on.
    void DrawQuickButtons(gfx::TCanvas& Cnvs);
    void CheckQuickButtons(int X, int Y);
    // Draws the caption text (or lets OnCaptionPaint draw it) with the given origin.
    void DrawCaptionText(gfx::TCanvas& Cnvs, gfx::TCanvas& eventCanvas, const gfx::TRect& TR,
                         int originX, int originY, bool AActive);

    int ActiveQuickButton = -1;
    int OldActiveQuickButton = -1;
    std::string FontName = "Arial";
    gfx::TFontStyles FontStyle = 0;
    int FontHeight = 14;
    gfx::TColor FontColor = 0;
    gfx::TColor ActiveFontColor = 0;
    gfx::TColor ShadowColor = 0;
    gfx::TColor ActiveShadowColor = 0;
    bool Shadow = false;
    gfx::TColor LightColor = 0;
    gfx::TColor ActiveLightColor = 0;
    bool Light = false;
    TAlignment Alignment = taCenter;
    gfx::TRect TextRct;
    gfx::TRect FrameRect;
    gfx::TRect ActiveFrameRect;
    int FrameLeftOffset = 0;
    int FrameRightOffset = 0;
    gfx::TRect FrameTextRect;
    bool StretchEffect = false;
    bool FullFrame = false;
    int FIncTime = 0;
    gfx::TRect AnimateSkinRect;
    int FrameCount = 0;
    int AnimateInterval = 25;
    int CurrentFrame = 0;
    bool InActiveAnimation = false;
    bool VistaGlowEffect = false;
    bool VistaGlowInActiveEffect = false;
    bool GlowEffect = false;
    bool GlowInActiveEffect = false;
    int GlowSize = 3;
    gfx::TColor GlowColor = 0;
    gfx::TColor GlowActiveColor = 0;
    int GlowOffset = 0;
    bool ReflectionEffect = false;
    gfx::TColor ReflectionColor = 0;
    gfx::TColor ReflectionActiveColor = 0;
    int ReflectionOffset = 0;

private:
    void DrawCaption(gfx::TCanvas& Cnvs, bool UpDate);
    void SetCaptionFont(gfx::TCanvas& Cnvs, bool AActive);
    // A bitmap of ObjectRect's size built from rectangle r of the picture.
    void BuildCaptionBack(gfx::TBitmap& dest, gfx::TBitmap* picture, const gfx::TRect& r);
    // Background from r of the picture with the text of the given state on it.
    void BuildCaptionImage(gfx::TBitmap& dest, gfx::TBitmap* picture, const gfx::TRect& r,
                           gfx::TCanvas& eventCanvas, const gfx::TRect& TR, bool AActive);
    void DrawImage(gfx::TCanvas& Cnvs, gfx::TBitmap& image, bool inactiveEffect);
};

}  // namespace skin
