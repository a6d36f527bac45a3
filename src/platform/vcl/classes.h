// The component model: TObject with its class name, TPersistent (Assign/AssignTo), TComponent
// (ownership, names, free notifications, the loading bracket), small typed sets and the event
// types every component library class uses. Main thread only, like everything in vcl.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/exception.h"

namespace vcl {

// A set of up to 64 values of an enumeration, as the component library's properties use them.
template <class E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> items) {
        for (E e : items) FBits |= Bit(e);
    }

    constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr std::uint64_t Bits() const { return FBits; }

    constexpr TSet& operator+=(E e) {
        FBits |= Bit(e);
        return *this;
    }
    constexpr TSet& operator-=(E e) {
        FBits &= ~Bit(e);
        return *this;
    }
    constexpr TSet& operator+=(TSet s) {
        FBits |= s.FBits;
        return *this;
    }
    constexpr TSet& operator-=(TSet s) {
        FBits &= ~s.FBits;
        return *this;
    }
    friend constexpr TSet operator+(TSet a, E e) { return a += e; }
    friend constexpr TSet operator-(TSet a, E e) { return a -= e; }
    friend constexpr TSet operator+(TSet a, TSet b) { return a += b; }
    friend constexpr TSet operator-(TSet a, TSet b) { return a -= b; }
    // Intersection.
    friend constexpr TSet operator*(TSet a, TSet b) {
        TSet r;
        r.FBits = a.FBits & b.FBits;
        return r;
    }
    friend constexpr bool operator==(TSet a, TSet b) { return a.FBits == b.FBits; }

private:
    static constexpr std::uint64_t Bit(E e) { return std::uint64_t(1) << unsigned(e); }
    std::uint64_t FBits = 0;
};

// Raised for a misused component (a duplicate name, an invalid owner).
class EComponentError : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

// Raised for an operation that the object's state forbids ("Cannot focus a disabled or
// invisible window", "Cannot make a visible window modal").
class EInvalidOperation : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

class TObject {
public:
    virtual ~TObject() = default;
    // The class's own name without namespaces ("TForm1"), taken from the C++ type; window
    // classes of controls are registered under it.
    std::string ClassName() const;
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

class TPersistent : public TObject {
public:
    // Copies what Source knows how to give through its AssignTo; raises rtl::EConvertError
    // "Cannot assign a <source class> to a <class>" ("a nil" for no source) otherwise.
    virtual void Assign(const TPersistent* Source);

protected:
    virtual void AssignTo(TPersistent* Dest) const;
};

enum TComponentStateItem { csLoading, csReading, csWriting, csDestroying, csDesigning, csUpdating };
using TComponentState = TSet<TComponentStateItem>;

enum TOperation { opInsert, opRemove };

// A component belongs to its owner, which frees it, newest first. When a component is freed,
// its owner and every other component of that owner hear Notification(opRemove) once; components
// of other owners that asked with FreeNotification hear it too. Always free a component with
// Free() (or FreeAndNil): the component library's destruction runs while the whole object still
// exists, before the C++ destructors.
class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    // Frees the component: BeforeDestruction, then the C++ destructors.
    void Free();
    // The library's destruction: marks csDestroying, tells the components that asked for a free
    // notification, frees the owned components newest first and leaves the owner (which tells
    // the owner and its components). Overrides do their own part first and then call the base.
    virtual void BeforeDestruction();

    TComponent* Owner() const { return FOwner; }
    const std::string& Name() const { return FName; }
    // Raises EComponentError "A component named <name> already exists" for a name another
    // component of the same owner has (compared without regard to ASCII case).
    virtual void SetName(const std::string& name);
    std::intptr_t Tag() const { return FTag; }
    void SetTag(std::intptr_t tag) { FTag = tag; }

    int ComponentCount() const { return int(FComponents.size()); }
    // Creation order. Raises rtl::EListError for an index out of range.
    TComponent* Components(int index) const;
    int ComponentIndex() const;
    TComponent* FindComponent(std::string_view name) const;
    // Takes a component over from its current owner.
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    // Frees every owned component, newest first.
    void DestroyComponents();

    TComponentState ComponentState() const { return FComponentState; }
    // Marks the component as being destroyed.
    void Destroying();

    // `component` (of another owner) hears Notification(this, opRemove) when this one is freed.
    // Within one owner it is not needed: the owner tells its components anyway.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // The loading bracket of a form built in code: components created between the two calls
    // (owned by this one) are csLoading and csReading; EndLoading clears csReading, runs Loaded
    // on each of them in creation order and then on this component.
    void BeginLoading();
    virtual void EndLoading();

protected:
    // Base: an owner passes every notification about one of its components on to all of its
    // components; an opRemove also forgets the free notification of the component that goes.
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    // After the loading bracket; the base clears csLoading.
    virtual void Loaded();
    void SetComponentState(TComponentState state) { FComponentState = state; }

private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);
    void DestroyBaseParts();

    TComponent* FOwner = nullptr;
    std::string FName;
    std::intptr_t FTag = 0;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    TComponentState FComponentState;
    bool FDestroyed = false;  // BeforeDestruction's base part ran
};

// Frees the component and clears the reference, as the classic helper does.
template <class T>
void FreeAndNil(T*& component) {
    T* c = component;
    component = nullptr;
    if (c) c->Free();
}

}  // namespace vcl
