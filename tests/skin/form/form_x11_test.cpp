// The skinned form on a real X server (x11_run.sh starts a private Xvfb, no window manager):
// one undecorated X window shaped by the skin's mask, moved and sized by the window model's own
// loop from the hit codes the frame answers, driven by xdotool.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "form_test_support.h"
#include "platform/vcl/vcl.h"
#include "platform/win/x11_test_support.h"

namespace skin::test {
namespace {

std::uint32_t Rgb(gfx::TColor bgr) {
    return (bgr & 0xFF) << 16 | (bgr & 0xFF00) | (bgr >> 16 & 0xFF);
}

class TFormX11 : public win::test::TX11Test {
public:
    void SetUp() override {
        TX11Test::SetUp();
        vcl::InitializeApplication();
    }
    void TearDown() override {
        vcl::FinalizeApplication();
        TX11Test::TearDown();
    }

    // A shown, skinned, sizeable form at (100, 80), the test skin with its mask.
    void ShowSkinnedForm() {
        Form = new vcl::TForm(vcl::Application);
        Form->SetBorderStyle(vcl::bsSizeable);
        Form->SetBounds(100, 80, kPictureWidth + 100, kPictureHeight + 40);
        Form->SetCaption("Moradex");
        Sf = new TbsSkinForm(Form);
        auto* data = new TbsSkinData(Form);
        FillTestSkin(*data);
        Sf->SetSkinData(data);
        Form->Show();
        ASSERT_TRUE(PumpUntil([&] { return Shows(Form->Handle()); }));
        PumpUntil([&] { return false; }, 300);
    }

    void Xdo(const std::string& command) {
        std::vector<std::string> args{"xdotool"};
        std::string word;
        for (char c : command + " ") {
            if (c != ' ') {
                word += c;
            } else if (!word.empty()) {
                args.push_back(word);
                word.clear();
            }
        }
        const win::test::TToolResult r = Tool(args);
        ASSERT_EQ(r.ExitCode, 0) << command << ": " << r.Errors;
    }

    bool XWindowAt(int x, int y) {
        const std::string info = WindowInfo(X->XWindowOf(Form->Handle()));
        return info.find("Absolute upper-left X:  " + std::to_string(x)) != std::string::npos &&
               info.find("Absolute upper-left Y:  " + std::to_string(y)) != std::string::npos;
    }

    vcl::TForm* Form = nullptr;
    TbsSkinForm* Sf = nullptr;
};

TEST_F(TFormX11, TheMaskShapesOneUndecoratedWindowAndTheRootShowsInTheCutCorner) {
    ShowSkinnedForm();
    const std::string info = WindowInfo(X->XWindowOf(Form->Handle()));
    EXPECT_NE(info.find("Width: " + std::to_string(Form->Width())), std::string::npos) << info;
    EXPECT_NE(info.find("Height: " + std::to_string(Form->Height())), std::string::npos) << info;
    const win::test::TShot root = Screenshot();
    const std::uint32_t background = root.At(5, 5);
    // The cut-off corners show the root; the frame next to them is the skin's.
    EXPECT_EQ(root.At(100, 80), background);
    EXPECT_EQ(root.At(100 + Form->Width() - 1, 80 + Form->Height() - 1), background);
    EXPECT_EQ(root.At(100 + 20, 80 + 28), Rgb(kZoneLT));
    EXPECT_EQ(root.At(100 + Form->Width() - 2, 80 + 60), Rgb(kZoneRight));
    EXPECT_EQ(root.At(100 + 10, 80 + 28), Rgb(kZoneLT));
}

TEST_F(TFormX11, ACaptionDragMovesTheXWindow) {
    ShowSkinnedForm();
    Xdo("mousemove --sync 160 95 mousedown 1 mousemove --sync 185 110 mousemove --sync 210 125 "
        "mouseup 1");
    ASSERT_TRUE(PumpUntil([&] { return Form->Left() == 150 && Form->Top() == 110; }))
        << Form->Left() << "," << Form->Top();
    EXPECT_TRUE(PumpUntil([&] { return XWindowAt(150, 110); }));
    EXPECT_FALSE(Sf->FSizeMove);
}

TEST_F(TFormX11, DraggingTheRightEdgeSizesWithinTheClamp) {
    ShowSkinnedForm();
    const int w = Form->Width();
    const int edgeX = 100 + w - 2, edgeY = 80 + 60;
    Xdo("mousemove --sync " + std::to_string(edgeX) + " " + std::to_string(edgeY) +
        " mousedown 1 mousemove --sync " + std::to_string(edgeX + 40) + " " +
        std::to_string(edgeY) + " mousemove --sync " + std::to_string(edgeX + 80) + " " +
        std::to_string(edgeY) + " mouseup 1");
    ASSERT_TRUE(PumpUntil([&] { return Form->Width() == w + 80; })) << Form->Width();
    EXPECT_EQ(Form->Left(), 100);
    EXPECT_TRUE(PumpUntil([&] {
        return WindowInfo(X->XWindowOf(Form->Handle())).find("Width: " + std::to_string(w + 80)) !=
               std::string::npos;
    }));
    // Inwards it stops at the skin's minimum width.
    const int edge2 = 100 + w + 80 - 2;
    // The pointer is still there (a --sync move to where it is would wait for nothing).
    ASSERT_EQ(edge2, edgeX + 80);
    Xdo("mousedown 1 mousemove --sync 150 " + std::to_string(edgeY) + " mouseup 1");
    ASSERT_TRUE(PumpUntil([&] { return Form->Width() == Sf->GetMinWidth(); })) << Form->Width();
    // The frame follows: the skin's right edge at the new right edge.
    EXPECT_TRUE(PumpUntil(
        [&] { return Screenshot().At(100 + Form->Width() - 2, 80 + 60) == Rgb(kZoneRight); }));
}

}  // namespace
}  // namespace skin::test
