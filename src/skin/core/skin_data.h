// TbsSkinData: the component that holds one loaded skin (TbsSkinContent: pictures, frame
// geometry, singleton records, colours, object and control records) and tells every form when
// it changes. Every form skin component and skinned control points to one, reads its fields and
// pictures directly and finds its record by name (GetControlIndex, GetIndex); the skin data
// itself never draws.
//
// A skin arrives from a stored skin (CompressedStoredSkin, or SkinList with SkinIndex), a package
// file or a description file with its pictures. A load reads the whole new skin aside first: a
// skin that fails to read raises before anything is sent and leaves the loaded one as it was. A
// complete skin is switched in between WM_BEFORECHANGESKINDATA (old skin still whole),
// WM_CHANGESKINDATA (new skin in place) and WM_AFTERCHANGESKINDATA, sent synchronously to
// Screen's forms with the TbsSkinData* as wParam and 1000 as lParam.
//
// Owns its skin; the stored skins, the list and the resource-string table it points to belong
// to their owners and are forgotten when freed. Main thread only.
#pragma once

#include <set>
#include <string>
#include <string_view>

#include "platform/vcl/classes.h"
#include "platform/win/types.h"
#include "skin/core/resource_strings.h"
#include "skin/core/skin_content.h"
#include "skin/core/skin_messages.h"
#include "skin/core/skin_package.h"

namespace skin {

class TbsSkinData : public vcl::TComponent, public TbsSkinContent {
public:
    explicit TbsSkinData(vcl::TComponent* AOwner);
    ~TbsSkinData() override;

    // --- settings ----------------------------------------------------------------------------
    // Changing it (not while loading) sends WM_CHANGEFORMSKINNABLE.
    bool SkinnableForm() const { return FSkinnableForm; }
    void SetSkinnableForm(bool value);
    bool AnimationForAllWindows() const { return FAnimationForAllWindows; }
    void SetAnimationForAllWindows(bool value) { FAnimationForAllWindows = value; }
    bool EnableSkinEffects() const { return FEnableSkinEffects; }
    void SetEnableSkinEffects(bool value) { FEnableSkinEffects = value; }
    bool ShowButtonGlowFrames() const { return FShowButtonGlowFrames; }
    void SetShowButtonGlowFrames(bool value) { FShowButtonGlowFrames = value; }
    bool ShowCaptionButtonGlowFrames() const { return FShowCaptionButtonGlowFrames; }
    void SetShowCaptionButtonGlowFrames(bool value) { FShowCaptionButtonGlowFrames = value; }
    // Changing it (not while loading) sends WM_CHANGELAYEREDBORDERS; it also decides the order
    // the forms hear the skin messages in.
    bool ShowLayeredBorders() const { return FShowLayeredBorders; }
    void SetShowLayeredBorders(bool value);

    // Setting a stored skin loads it.
    TbsCompressedStoredSkin* CompressedStoredSkin() const { return FCompressedStoredSkin; }
    void SetCompressedStoredSkin(TbsCompressedStoredSkin* value);
    // Setting it always sends WM_CHANGERESSTRDATA, loading or not.
    TbsResourceStrData* ResourceStrData() const { return FResourceStrData; }
    void SetResourceStrData(TbsResourceStrData* value);
    // A list loads the item the index names, when it names one.
    TbsCompressedSkinList* SkinList() const { return FCompressedSkinList; }
    void SetSkinList(TbsCompressedSkinList* value);
    // An unchanged index does nothing. Without a list any index is stored; with one, an index
    // outside it is ignored and another loads that item (a load that fails keeps the index).
    int SkinIndex() const { return FCompressedSkinIndex; }
    void SetSkinIndex(int value);

    // True while no skin is loaded or a load is under way.
    bool Empty = true;
    // True from the start of a switch until just before WM_AFTERCHANGESKINDATA.
    bool ChangeSkinDataProcess = false;

    // --- loading -----------------------------------------------------------------------------
    // An empty stored skin, or a payload of a version above 3, changes nothing.
    void LoadCompressedStoredSkin(TbsCompressedStoredSkin* aStoredSkin);
    // A description file and the BMP files beside it; one without a required section changes
    // nothing.
    void LoadFromFile(const std::string& fileName);
    void LoadFromCompressedFile(const std::string& fileName);
    void SaveToCompressedFile(const std::string& fileName) const;

    // Drops the skin and sends the three change messages.
    void ClearSkin();
    // Drops the skin without a message; frame geometry and texts stay.
    void ClearAll();

    // The look-ups of the loaded skin; while MissedNames is set, each name that finds no record
    // is added to it (a test hook: forms built in tests assert that no control misses its
    // record in any skin).
    int GetIndex(std::string_view aIDName) const;
    int GetControlIndex(std::string_view aIDName) const;
    std::set<std::string, std::less<>>* MissedNames = nullptr;

    // Sends the message to every form: the owner first when ShowLayeredBorders is off; in
    // reverse screen order when it is on and the skin has a layered frame; the side windows of
    // the layered frame (class "TbsFormLayerWindow") never.
    void SendSkinDataMessage(win::UINT message);

protected:
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;

    TbsCompressedSkinList* FCompressedSkinList = nullptr;
    int FCompressedSkinIndex = 0;
    bool FSkinnableForm = true;
    bool FEnableSkinEffects = true;
    TbsCompressedStoredSkin* FCompressedStoredSkin = nullptr;
    TbsResourceStrData* FResourceStrData = nullptr;
    bool FShowButtonGlowFrames = true;
    bool FShowCaptionButtonGlowFrames = true;
    bool FShowLayeredBorders = true;
    bool FAnimationForAllWindows = false;

private:
    // Announces and switches in a skin that was read completely.
    void SwitchTo(TbsSkinContent&& staged);
    // Asks to hear when a component of another owner goes away.
    void Follow(vcl::TComponent* oldValue, vcl::TComponent* newValue);
};

}  // namespace skin
