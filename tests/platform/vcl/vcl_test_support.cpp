#include "platform/vcl/vcl_test_support.h"

#include <map>

#include "platform/gfx/codecs.h"
#include "support/screenshot.h"

namespace vcl::test {

void TVclTest::SetUp() {
    TWinTest::SetUp();
    InitializeApplication();
}

void TVclTest::TearDown() {
    FinalizeApplication();
    // Finished work leaves nothing of the window layer behind.
    const win::TWinStats stats = win::GetWinStats();
    EXPECT_EQ(stats.Windows, 0u);
    EXPECT_EQ(stats.DCs, 0u);
    EXPECT_EQ(stats.Timers, 0u);
    EXPECT_EQ(stats.Filters, 0u);
    TWinTest::TearDown();
}

void TVclTest::Watch(TControl* control) {
    TWndMethod old = control->WindowProc;
    const std::string name = control->Name();
    control->WindowProc = [this, old, name](TMessage& m) {
        FSeen.push_back({name, m.Msg, m.WParam, m.LParam});
        old(m);
    };
}

std::vector<std::string> TVclTest::Heard(const std::vector<UINT>& kinds) const {
    std::vector<std::string> out;
    for (const TSeen& s : FSeen)
        for (UINT k : kinds)
            if (s.Message == k) out.push_back(s.Control + ":" + NameOf(s.Message));
    return out;
}

int TVclTest::CountHeard(const std::string& control, UINT message) const {
    int n = 0;
    for (const TSeen& s : FSeen)
        if (s.Control == control && s.Message == message) ++n;
    return n;
}

TForm* TVclTest::ShowForm(int x, int y, int clientWidth, int clientHeight,
                          const std::string& name) {
    auto* form = new TForm(Application);
    form->SetName(name);
    form->SetBounds(x, y, form->Width(), form->Height());
    form->SetClientWidth(clientWidth);
    form->SetClientHeight(clientHeight);
    form->Show();
    Run();
    return form;
}

void TVclTest::Click(TControl* control, int x, int y) {
    Screen->Click(At(control, x, y));
    Run();
}

void ExpectLooksLike(const gfx::TSurface& picture, const std::string& referenceName) {
    gfx::TImage actual;
    actual.Width = picture.Width();
    actual.Height = picture.Height();
    actual.HasAlpha = false;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            actual.Pixels.push_back(picture.Pixels()[std::size_t(y) * picture.Width() + x] |
                                    0xFF000000u);
    testsupport::ExpectMatchesReference(
        actual, std::string(MORADEX_VCL_REFERENCES) + "/" + referenceName, MORADEX_TEST_OUTPUT);
}

std::string NameOf(UINT message) {
    static const std::map<UINT, std::string> kNames = {
        {CM_CANCELMODE, "CM_CANCELMODE"},
        {CM_INVALIDATE, "CM_INVALIDATE"},
        {CM_DIALOGKEY, "CM_DIALOGKEY"},
        {CM_DIALOGCHAR, "CM_DIALOGCHAR"},
        {CM_FOCUSCHANGED, "CM_FOCUSCHANGED"},
        {CM_MOUSEENTER, "CM_MOUSEENTER"},
        {CM_MOUSELEAVE, "CM_MOUSELEAVE"},
        {CM_ENTER, "CM_ENTER"},
        {CM_EXIT, "CM_EXIT"},
        {CM_WANTSPECIALKEY, "CM_WANTSPECIALKEY"},
        {CM_TEXTCHANGED, "CM_TEXTCHANGED"},
        {CM_VISIBLECHANGED, "CM_VISIBLECHANGED"},
        {CM_ENABLEDCHANGED, "CM_ENABLEDCHANGED"},
        {CM_HINTSHOW, "CM_HINTSHOW"},
        {CN_KEYDOWN, "CN_KEYDOWN"},
        {CN_COMMAND, "CN_COMMAND"},
    };
    auto it = kNames.find(message);
    if (it != kNames.end()) return it->second;
    return win::test::MessageName(message);
}

}  // namespace vcl::test
