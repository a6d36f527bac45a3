#include "platform/vcl/classes.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <typeinfo>

#include "platform/rtl/lists.h"
#include "platform/rtl/sysutils.h"

namespace vcl {

// ---- TObject ---------------------------------------------------------------------------------

std::string TObject::ClassName() const {
    const char* mangled = typeid(*this).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    std::string name = status == 0 && demangled ? demangled.get() : mangled;
    // The part after the last "::" that is not inside template arguments.
    int depth = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '<') ++depth;
        if (name[i] == '>') --depth;
        if (depth == 0 && name[i] == ':' && i + 1 < name.size() && name[i + 1] == ':') {
            start = i + 2;
            ++i;
        }
    }
    return name.substr(start);
}

// ---- TPersistent -----------------------------------------------------------------------------

void TPersistent::Assign(const TPersistent* Source) {
    if (Source) {
        Source->AssignTo(this);
        return;
    }
    throw rtl::EConvertError("Cannot assign a nil to a " + ClassName());
}

void TPersistent::AssignTo(TPersistent* Dest) const {
    throw rtl::EConvertError("Cannot assign a " + ClassName() + " to a " +
                             (Dest ? Dest->ClassName() : std::string("nil")));
}

// ---- TComponent ------------------------------------------------------------------------------

TComponent::TComponent(TComponent* AOwner) {
    if (AOwner) {
        if (AOwner->FComponentState.Contains(csLoading))
            FComponentState += TComponentState{csLoading, csReading};
        AOwner->InsertComponent(this);
    }
}

TComponent::~TComponent() {
    // Deleted without Free: the base part still has to run.
    if (!FDestroyed) DestroyBaseParts();
}

void TComponent::Free() {
    BeforeDestruction();
    delete this;
}

void TComponent::BeforeDestruction() {
    if (!FDestroyed) DestroyBaseParts();
}

void TComponent::DestroyBaseParts() {
    FDestroyed = true;
    Destroying();
    // Components of other owners that asked first; each hears it once.
    while (!FFreeNotifies.empty()) {
        TComponent* c = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        auto& back = c->FFreeNotifies;
        back.erase(std::remove(back.begin(), back.end(), this), back.end());
        c->Notification(this, opRemove);
    }
    DestroyComponents();
    if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::SetName(const std::string& name) {
    if (name == FName) return;
    if (FOwner && !name.empty())
        for (TComponent* c : FOwner->FComponents)
            if (c != this && rtl::SameText(c->FName, name))
                throw EComponentError("A component named " + name + " already exists");
    FName = name;
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount()) rtl::RaiseListIndexError(index);
    return FComponents[std::size_t(index)];
}

int TComponent::ComponentIndex() const {
    if (!FOwner) return -1;
    const auto& list = FOwner->FComponents;
    auto at = std::find(list.begin(), list.end(), this);
    return at == list.end() ? -1 : int(at - list.begin());
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : FComponents)
        if (rtl::SameText(c->FName, name)) return c;
    return nullptr;
}

void TComponent::Insert(TComponent* component) {
    FComponents.push_back(component);
    component->FOwner = this;
}

void TComponent::Remove(TComponent* component) {
    FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), component),
                      FComponents.end());
    component->FOwner = nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
    if (!component || component->FOwner == this) return;
    if (!component->FName.empty() && FindComponent(component->FName))
        throw EComponentError("A component named " + component->FName + " already exists");
    if (component->FOwner) component->FOwner->RemoveComponent(component);
    Insert(component);
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    if (!component || component->FOwner != this) return;
    Notification(component, opRemove);
    Remove(component);
}

void TComponent::DestroyComponents() {
    while (!FComponents.empty()) {
        TComponent* c = FComponents.back();
        c->Free();  // leaves through RemoveComponent, which tells the others
    }
}

void TComponent::Destroying() {
    FComponentState += csDestroying;
}

void TComponent::FreeNotification(TComponent* component) {
    if (!component || component == this) return;
    if (FOwner && component->FOwner == FOwner) return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) != FFreeNotifies.end())
        return;
    FFreeNotifies.push_back(component);
    component->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    if (!component) return;
    FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), component),
                        FFreeNotifies.end());
    auto& back = component->FFreeNotifies;
    back.erase(std::remove(back.begin(), back.end(), this), back.end());
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
    if (!AComponent || AComponent->FOwner != this) return;
    const std::vector<TComponent*> siblings = FComponents;
    for (TComponent* c : siblings)
        if (c != AComponent &&
            std::find(FComponents.begin(), FComponents.end(), c) != FComponents.end())
            c->Notification(AComponent, Operation);
}

void TComponent::BeginLoading() {
    FComponentState += TComponentState{csLoading, csReading};
}

void TComponent::EndLoading() {
    const std::vector<TComponent*> loading = FComponents;
    FComponentState -= csReading;
    for (TComponent* c : loading) c->FComponentState -= csReading;
    for (TComponent* c : loading)
        if (std::find(FComponents.begin(), FComponents.end(), c) != FComponents.end() &&
            c->FComponentState.Contains(csLoading))
            c->Loaded();
    Loaded();
}

void TComponent::Loaded() {
    FComponentState -= csLoading;
}

}  // namespace vcl
