// The legacy settings dialog shown in the first skin, against a reviewed picture.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "app_test_support.h"

namespace app::test {
namespace {

TEST_F(TAppTest, TheLegacyDialogLooksAsReviewed) {
    Start();
    ASSERT_EQ(Form1->bsSkinData1->SkinIndex(), 0);
    // Never shown by the program; shown here to see what it would show.
    Form6->Show();
    Run();
    const gfx::HBITMAP shot = Screen->CaptureWindow(Form6->Handle());
    vcl::test::ExpectLooksLike(*shot, "legacy_form_skin0.png");

    // It follows a skin switch and comes back to the same picture.
    Form1->bsSkinData1->SetSkinIndex(5);
    Run();
    const gfx::HBITMAP other = Screen->CaptureWindow(Form6->Handle());
    const auto pixels = [](const gfx::HBITMAP& b) {
        return std::vector<std::uint32_t>(b->Pixels(),
                                          b->Pixels() + std::size_t(b->Width()) * b->Height());
    };
    EXPECT_NE(pixels(other), pixels(shot));
    Form1->bsSkinData1->SetSkinIndex(0);
    Run();
    vcl::test::ExpectLooksLike(*Screen->CaptureWindow(Form6->Handle()), "legacy_form_skin0.png");
}

}  // namespace
}  // namespace app::test
