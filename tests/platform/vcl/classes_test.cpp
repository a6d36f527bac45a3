#include "platform/vcl/classes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/exception.h"
#include "platform/vcl/vcl_test_support.h"

namespace vcl {
namespace {

using Log = std::vector<std::string>;

// Records what happens to it; Ref is a reference it drops when that component goes.
class TProbe : public TComponent {
public:
    TProbe(TComponent* owner, const std::string& name, Log& log) : TComponent(owner), FLog(log) {
        SetName(name);
    }
    void BeforeDestruction() override {
        FLog.push_back("free " + Name());
        TComponent::BeforeDestruction();
    }
    void Loaded() override {
        FLog.push_back("Loaded " + Name() + (ComponentState().Contains(csLoading) ? "" : "?"));
        TComponent::Loaded();
    }
    TComponent* Ref = nullptr;

protected:
    void Notification(TComponent* c, TOperation op) override {
        FLog.push_back(Name() + (op == opRemove ? " hears remove " : " hears insert ") + c->Name());
        if (op == opRemove && c == Ref) Ref = nullptr;
        TComponent::Notification(c, op);
    }

private:
    Log& FLog;
};

Log Only(const Log& log, const std::string& prefix) {
    Log out;
    for (const std::string& line : log)
        if (line.rfind(prefix, 0) == 0) out.push_back(line);
    return out;
}

TEST(ComponentTest, FreeingOneComponentTellsItsOwnerAndEveryOtherComponentOnce) {
    Log log;
    auto* o = new TProbe(nullptr, "O", log);
    auto* a = new TProbe(o, "A", log);
    auto* b = new TProbe(o, "B", log);
    new TProbe(o, "C", log);
    b->Ref = a;
    log.clear();

    a->Free();
    EXPECT_EQ(log, (Log{"free A", "O hears remove A", "B hears remove A", "C hears remove A"}));
    EXPECT_EQ(b->Ref, nullptr);
    EXPECT_EQ(o->ComponentCount(), 2);

    log.clear();
    o->Free();
    // The owner frees its components newest first.
    EXPECT_EQ(Only(log, "free"), (Log{"free O", "free C", "free B"}));
}

TEST(ComponentTest, InsertingAComponentTellsItsNewOwnerAndEveryOtherComponentOnce) {
    Log log;
    auto* o = new TProbe(nullptr, "O", log);
    new TProbe(o, "A", log);
    new TProbe(o, "B", log);
    auto* c = new TProbe(nullptr, "C", log);
    log.clear();

    o->InsertComponent(c);
    EXPECT_EQ(log, (Log{"O hears insert C", "A hears insert C", "B hears insert C"}));
    EXPECT_EQ(o->Components(2), c);
    o->Free();
}

TEST(ComponentTest, FreeNotificationReachesComponentsOfOtherOwnersOnly) {
    Log log;
    auto* o = new TProbe(nullptr, "O", log);
    auto* p = new TProbe(nullptr, "P", log);
    auto* a = new TProbe(o, "A", log);
    auto* sibling = new TProbe(o, "S", log);
    auto* d = new TProbe(p, "D", log);
    auto* e = new TProbe(p, "E", log);
    a->FreeNotification(d);
    a->FreeNotification(sibling);  // the owner tells it anyway: no second notice
    a->FreeNotification(e);
    a->RemoveFreeNotification(e);
    log.clear();

    a->Free();
    EXPECT_EQ(log, (Log{"free A", "D hears remove A", "O hears remove A", "S hears remove A"}));

    // A component that asked and went first is forgotten, not called.
    auto* f = new TProbe(o, "F", log);
    f->FreeNotification(d);
    d->Free();
    log.clear();
    f->Free();
    EXPECT_EQ(Only(log, "D"), Log{});
    o->Free();
    p->Free();
}

TEST(ComponentTest, NamesAreUniqueWithinAnOwnerWithoutRegardToCase) {
    Log log;
    auto* o = new TProbe(nullptr, "O", log);
    auto* a = new TProbe(o, "Button1", log);
    EXPECT_THROW(new TProbe(o, "BUTTON1", log), EComponentError);
    EXPECT_EQ(o->FindComponent("button1"), a);
    EXPECT_EQ(o->FindComponent("nothing"), nullptr);
    EXPECT_EQ(a->ClassName(), "TProbe");
    o->Free();
}

Log* BuiltLog = nullptr;

class TBuiltForm : public TForm {
public:
    explicit TBuiltForm(TComponent* owner) : TForm(owner), FLog(*BuiltLog) {
        BeginLoading();
        for (const char* name : {"a", "b", "c"}) {
            auto* p = new TProbe(this, name, FLog);
            LoadingSeen = LoadingSeen && p->ComponentState().Contains(csLoading);
        }
        OnCreate = [this](TObject*) { FLog.push_back("OnCreate"); };
        EndLoading();
    }
    bool LoadingSeen = true;

protected:
    void Loaded() override {
        FLog.push_back("Loaded form");
        TForm::Loaded();
    }

private:
    Log& FLog;
};

using test::TVclTest;

TEST_F(TVclTest, FormsBuiltInCodeRunLoadedOnEachComponentBeforeOnCreate) {
    Log log;
    BuiltLog = &log;
    TBuiltForm* form = nullptr;
    Application->CreateForm(form);
    EXPECT_TRUE(form->LoadingSeen);
    Log order;
    for (const std::string& line : log)
        if (line.find("hears") == std::string::npos) order.push_back(line);
    EXPECT_EQ(order, (Log{"Loaded a", "Loaded b", "Loaded c", "Loaded form", "OnCreate"}));
    for (int i = 0; i < form->ComponentCount(); ++i)
        EXPECT_FALSE(form->Components(i)->ComponentState().Contains(csLoading));
    EXPECT_EQ(Application->MainForm(), form);
    form->Free();
    EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST(PersistentTest, AssignCopiesWhatTheSourceCanGiveAndNamesWhatItCannot) {
    TSizeConstraints a, b;
    a.SetMinWidth(10);
    a.SetMaxHeight(90);
    b.Assign(&a);
    EXPECT_EQ(b.MinWidth(), 10);
    EXPECT_EQ(b.MaxHeight(), 90);

    TComponent component(nullptr);
    try {
        b.Assign(&component);
        FAIL();
    } catch (const rtl::EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TComponent to a TSizeConstraints");
    }
    try {
        b.Assign(nullptr);
        FAIL();
    } catch (const rtl::EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a nil to a TSizeConstraints");
    }
}

}  // namespace
}  // namespace vcl
