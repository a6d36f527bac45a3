// The main window as the eight skins draw it, against reviewed pictures.
#include <string>

#include <gtest/gtest.h>

#include "app_test_support.h"

namespace app::test {
namespace {

TEST_F(TAppTest, TheMainWindowLooksAsReviewedInEverySkin) {
    // A folder that cannot be made is still shown; its text is the same on every machine.
    testsupport::WriteFile(SettingsPath(), "[OutPath]\r\nOutPath=/proc/Zorvani视频软件/输出\r\n");
    Start();
    ASSERT_EQ(Form1->Video_OutPut_Folder_Edit->Text(), "/proc/Zorvani视频软件/输出");
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        Form1->bsSkinData1->SetSkinIndex(i);
        Run();
        const gfx::HBITMAP shot = Screen->CaptureWindow(Form1->Handle());
        vcl::test::ExpectLooksLike(*shot, "main_window_skin" + std::to_string(i) + ".png");
    }
}

}  // namespace
}  // namespace app::test
