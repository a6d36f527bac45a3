// The legacy settings dialog shown in the first skin, against a reviewed picture.
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
}

}  // namespace
}  // namespace app::test
