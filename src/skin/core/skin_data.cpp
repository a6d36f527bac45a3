#include "skin/core/skin_data.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/rtl/streams.h"
#include "platform/vcl/forms.h"
#include "platform/win/win.h"

namespace skin {

namespace {

// The side windows of the layered border frame hear about skin changes from their form.
constexpr std::string_view kLayerWindowClass = "TbsFormLayerWindow";

}  // namespace

TbsSkinData::TbsSkinData(vcl::TComponent* AOwner) : vcl::TComponent(AOwner) {}

TbsSkinData::~TbsSkinData() {
    Empty = true;
}

void TbsSkinData::Follow(vcl::TComponent* oldValue, vcl::TComponent* newValue) {
    if (oldValue && oldValue != newValue) RemoveFreeNotification(oldValue);
    if (newValue) newValue->FreeNotification(this);
}

void TbsSkinData::Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) {
    vcl::TComponent::Notification(AComponent, Operation);
    if (Operation != vcl::opRemove) return;
    if (AComponent == FCompressedStoredSkin) FCompressedStoredSkin = nullptr;
    if (AComponent == FResourceStrData) FResourceStrData = nullptr;
    if (AComponent == FCompressedSkinList) FCompressedSkinList = nullptr;
}

// --- settings ---

void TbsSkinData::SetSkinnableForm(bool value) {
    if (value == FSkinnableForm) return;
    FSkinnableForm = value;
    if (!ComponentState().Contains(vcl::csLoading)) SendSkinDataMessage(WM_CHANGEFORMSKINNABLE);
}

void TbsSkinData::SetShowLayeredBorders(bool value) {
    if (value == FShowLayeredBorders) return;
    FShowLayeredBorders = value;
    if (!ComponentState().Contains(vcl::csLoading)) SendSkinDataMessage(WM_CHANGELAYEREDBORDERS);
}

void TbsSkinData::SetCompressedStoredSkin(TbsCompressedStoredSkin* value) {
    Follow(FCompressedStoredSkin, value);
    FCompressedStoredSkin = value;
    if (value) LoadCompressedStoredSkin(value);
}

void TbsSkinData::SetResourceStrData(TbsResourceStrData* value) {
    Follow(FResourceStrData, value);
    FResourceStrData = value;
    SendSkinDataMessage(WM_CHANGERESSTRDATA);
}

void TbsSkinData::SetSkinList(TbsCompressedSkinList* value) {
    Follow(FCompressedSkinList, value);
    FCompressedSkinList = value;
    if (value && FCompressedSkinIndex >= 0 && FCompressedSkinIndex < value->Skins().Count())
        LoadCompressedStoredSkin(value->Skins().Items(FCompressedSkinIndex)->Skin());
}

void TbsSkinData::SetSkinIndex(int value) {
    if (value == FCompressedSkinIndex) return;
    if (!FCompressedSkinList) {
        FCompressedSkinIndex = value;
        return;
    }
    if (value < 0 || value >= FCompressedSkinList->Skins().Count()) return;
    // The index names the skin that is loaded: a skin that fails to load leaves both as they were.
    const int previous = FCompressedSkinIndex;
    FCompressedSkinIndex = value;
    try {
        LoadCompressedStoredSkin(FCompressedSkinList->Skins().Items(value)->Skin());
    } catch (...) {
        FCompressedSkinIndex = previous;
        throw;
    }
}

// --- look-ups ---

int TbsSkinData::GetIndex(std::string_view aIDName) const {
    const int index = TbsSkinContent::GetIndex(aIDName);
    if (index < 0 && MissedNames) MissedNames->emplace(aIDName);
    return index;
}

int TbsSkinData::GetControlIndex(std::string_view aIDName) const {
    const int index = TbsSkinContent::GetControlIndex(aIDName);
    if (index < 0 && MissedNames) MissedNames->emplace(aIDName);
    return index;
}

// --- loading ---

void TbsSkinData::SwitchTo(TbsSkinContent&& staged) {
    Empty = true;
    ChangeSkinDataProcess = true;
    SendSkinDataMessage(WM_BEFORECHANGESKINDATA);
    ClearAll();
    static_cast<TbsSkinContent&>(*this) = std::move(staged);
    Empty = false;
    SendSkinDataMessage(WM_CHANGESKINDATA);
    ChangeSkinDataProcess = false;
    SendSkinDataMessage(WM_AFTERCHANGESKINDATA);
}

void TbsSkinData::LoadCompressedStoredSkin(TbsCompressedStoredSkin* aStoredSkin) {
    if (!aStoredSkin || aStoredSkin->Empty()) return;
    rtl::TMemoryStream payload;
    aStoredSkin->DeCompressToStream(payload);
    TbsSkinContent staged;
    if (!ReadSkinPayload(payload, staged)) return;
    SwitchTo(std::move(staged));
}

void TbsSkinData::LoadFromFile(const std::string& fileName) {
    TbsSkinContent staged;
    if (!LoadSkinFromDescriptionFile(fileName, staged)) return;
    SwitchTo(std::move(staged));
}

void TbsSkinData::LoadFromCompressedFile(const std::string& fileName) {
    std::unique_ptr<TbsCompressedStoredSkin, TComponentFree> stored(
        new TbsCompressedStoredSkin(nullptr));
    stored->LoadFromCompressFile(fileName);
    if (!stored->Empty()) LoadCompressedStoredSkin(stored.get());
}

void TbsSkinData::SaveToCompressedFile(const std::string& fileName) const {
    std::unique_ptr<TbsCompressedStoredSkin, TComponentFree> stored(
        new TbsCompressedStoredSkin(nullptr));
    stored->LoadFromSkinData(*this);
    stored->SaveToCompressFile(fileName);
}

void TbsSkinData::ClearSkin() {
    ClearAll();
    SendSkinDataMessage(WM_BEFORECHANGESKINDATA);
    SendSkinDataMessage(WM_CHANGESKINDATA);
    SendSkinDataMessage(WM_AFTERCHANGESKINDATA);
}

void TbsSkinData::ClearAll() {
    ClearPictures();
    Empty = true;
}

// Windows, not forms, are collected: a form that a handler frees leaves a handle that no
// longer answers, never a dangling pointer.
void TbsSkinData::SendSkinDataMessage(win::UINT message) {
    if (!vcl::Screen) return;
    const auto wParam = static_cast<win::WPARAM>(reinterpret_cast<std::uintptr_t>(this));
    auto* ownerForm = dynamic_cast<vcl::TCustomForm*>(Owner());
    const bool ownerFirst = ownerForm && !FShowLayeredBorders;
    if (ownerFirst) win::SendMessage(ownerForm->Handle(), message, wParam, kSkinDataLParam);
    std::vector<win::HWND> windows;
    for (int i = 0; i < vcl::Screen->FormCount(); ++i) {
        vcl::TCustomForm* form = vcl::Screen->Forms(i);
        if ((ownerFirst && form == ownerForm) || form->ClassName() == kLayerWindowClass) continue;
        windows.push_back(form->Handle());
    }
    if (FShowLayeredBorders && LayerFrame.PictureIndex != -1)
        std::reverse(windows.begin(), windows.end());
    for (win::HWND window : windows) win::SendMessage(window, message, wParam, kSkinDataLParam);
}

}  // namespace skin
