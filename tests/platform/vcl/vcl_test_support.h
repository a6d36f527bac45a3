// The window layer's test scene (headless screen, manual clock) with the component library
// started on it: Application and Screen exist for each test and go with everything they own.
// Helpers record the messages that reach controls and press keys and the mouse on them.
#pragma once

#include <string>
#include <vector>

#include "platform/vcl/vcl.h"
#include "platform/win/win_test_support.h"

namespace vcl::test {

struct TSeen {
    std::string Control;  // the control's Name
    UINT Message = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
};

class TVclTest : public win::test::TWinTest {
public:
    void SetUp() override;
    void TearDown() override;

    // Every message that passes the control's WindowProc from now on, under its Name.
    void Watch(TControl* control);
    // The watched messages of the given kinds, as "Name:MESSAGE" texts, in order.
    std::vector<std::string> Heard(const std::vector<UINT>& kinds) const;
    void ForgetHeard() { FSeen.clear(); }
    int CountHeard(const std::string& control, UINT message) const;
    const std::vector<TSeen>& Seen() const { return FSeen; }

    // A shown form of the given client size at (x, y), owned by the application.
    TForm* ShowForm(int x, int y, int clientWidth, int clientHeight, const std::string& name = "F");

    // The screen point of a client point of the control.
    TPoint At(TControl* control, int x, int y) const { return control->ClientToScreen({x, y}); }
    void Click(TControl* control, int x, int y);
    void Press(int key) { Screen->KeyPress(key); }  // the headless backend's Screen
    // Runs everything queued now.
    void Run() { Application->ProcessMessages(); }

private:
    std::vector<TSeen> FSeen;
};

std::string NameOf(UINT message);

// Compares a picture with a reviewed reference PNG of the test's references folder
// (MORADEX_VCL_REFERENCES) by the one screenshot rule and update path of support/screenshot.h.
void ExpectLooksLike(const gfx::TSurface& picture, const std::string& referenceName);

}  // namespace vcl::test
