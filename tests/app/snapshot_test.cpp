// Snapshots: the first free name in the snapshot folder, the four picture types as files, the
// snapshot menu (folder, type, the settings button), a save that is refused, and the capture
// command reached by the keyboard.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <span>

#include <gtest/gtest.h>
#include <zlib.h>

#include "platform/gfx/codecs.h"
#include "platform/rtl/exception.h"
#include "platform/sys/files.h"
#include "preview_test_support.h"

namespace app::test {
namespace {

std::uint32_t BigEndian32(const std::string& bytes, std::size_t at) {
    return std::uint32_t(std::uint8_t(bytes[at])) << 24 |
           std::uint32_t(std::uint8_t(bytes[at + 1])) << 16 |
           std::uint32_t(std::uint8_t(bytes[at + 2])) << 8 | std::uint8_t(bytes[at + 3]);
}

// What a PNG file's header and image data say: interlace method and each row's filter type.
struct TPngRows {
    int Interlace = -1;
    std::vector<int> Filters;
};

TPngRows ReadPngRows(const std::string& file) {
    TPngRows rows;
    if (file.size() < 33 || file.compare(12, 4, "IHDR") != 0) return rows;
    const std::uint32_t width = BigEndian32(file, 16), height = BigEndian32(file, 20);
    rows.Interlace = std::uint8_t(file[28]);
    std::string data;
    for (std::size_t at = 8; at + 8 <= file.size();) {
        const std::uint32_t length = BigEndian32(file, at);
        if (file.compare(at + 4, 4, "IDAT") == 0) data += file.substr(at + 8, length);
        at += 12 + length;
    }
    const std::size_t stride = 1 + std::size_t(width) * 3;  // RGB, 8 bits
    std::vector<Bytef> raw(stride * height);
    uLongf size = uLongf(raw.size());
    if (uncompress(raw.data(), &size, reinterpret_cast<const Bytef*>(data.data()),
                   uLong(data.size())) != Z_OK ||
        size != raw.size())
        return rows;
    for (std::uint32_t y = 0; y < height; ++y) rows.Filters.push_back(raw[y * stride]);
    return rows;
}

gfx::TImage Decode(const std::string& type, const std::string& fileName) {
    const std::string bytes = testsupport::ReadFile(fileName);
    const std::span<const std::uint8_t> data(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                             bytes.size());
    gfx::TImage image;
    std::string error;
    const bool ok = type == "BMP"   ? gfx::ReadBmp(data, image, error)
                    : type == "JPG" ? gfx::ReadJpeg(data, image, error)
                    : type == "GIF" ? gfx::ReadGif(data, image, error)
                                    : gfx::ReadPng(data, image, error);
    EXPECT_TRUE(ok) << fileName << ": " << error;
    return image;
}

// The player's current picture as 0xRRGGBB values, top-down.
std::vector<std::uint32_t> CurrentPixels(int& width, int& height) {
    gfx::TBitmap frame;
    frame.Assign(Form1->FFPlayer->CurrentFrame());
    frame.SetPixelFormat(gfx::pf32bit);
    width = frame.Width();
    height = frame.Height();
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(frame.ScanLine(y));
        for (int x = 0; x < width; ++x) pixels.push_back(row[x] & 0xFFFFFF);
    }
    return pixels;
}

class TSnapshotTest : public TPreviewTest {
public:
    void SetUp() override {
        TPreviewTest::SetUp();
        home.MakeFolder("shots");
        shots = home.File("shots");
    }
    void StoreSnapshotSettings(const std::string& picture) {
        testsupport::WriteFile(SettingsPath(),
                               "[SnapShot]\r\nDir=" + shots + "\r\nPicture=" + picture + "\r\n");
    }
    std::set<std::string> ShotFiles() const {
        std::set<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(shots))
            names.insert(e.path().filename().string());
        return names;
    }
    std::string shots;
};

TEST_F(TSnapshotTest, ASnapshotTakesTheFirstFreeNumberAndWritesTheStoredType) {
    StartPreview();
    ASSERT_TRUE(Preview(fixtures::Path(fixtures::kClipAvi)));
    int width = 0, height = 0;
    const std::vector<std::uint32_t> frame = CurrentPixels(width, height);
    ASSERT_EQ(width, 320);
    ASSERT_EQ(height, 240);

    const struct {
        const char* Type;
        std::vector<std::string> Present;
        const char* Expected;
        vcl::TMenuItem* Item;
    } cases[] = {
        {"PNG", {"clip_1.png", "clip_2.png"}, "clip_3.png", Form1->PNG1},
        {"BMP", {"clip_2.bmp"}, "clip_1.bmp", Form1->BMP1},  // a free number is used again
        {"JPG", {}, "clip_1.jpg", Form1->JPG1},
        {"GIF", {"clip_1.png"}, "clip_1.gif", Form1->GIF1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Type);
        std::filesystem::remove_all(shots);
        home.MakeFolder("shots");
        for (const std::string& name : c.Present) testsupport::WriteFile(shots + "/" + name, "x");
        StoreSnapshotSettings(c.Type);
        Click(Form1->bsSkinButton1, 5, 5);
        EXPECT_TRUE(c.Item->Checked());
        EXPECT_EQ(CurrentPixels(width, height), frame) << "the picture stays while paused";
        std::set<std::string> expected(c.Present.begin(), c.Present.end());
        expected.insert(c.Expected);
        ASSERT_EQ(ShotFiles(), expected);
        const std::string file = shots + "/" + c.Expected;

        const gfx::TImage image = Decode(c.Type, file);
        ASSERT_EQ(image.Width, 320);
        ASSERT_EQ(image.Height, 240);
        const std::string type = c.Type;
        if (type == "BMP") {
            EXPECT_EQ(image.BitCount, 24);
            int differing = 0;
            for (std::size_t i = 0; i < frame.size(); ++i)
                differing += (image.Pixels[i] & 0xFFFFFF) != frame[i];
            EXPECT_EQ(differing, 0) << "the bitmap is the current picture pixel for pixel";
        } else if (type == "PNG") {
            const TPngRows rows = ReadPngRows(testsupport::ReadFile(file));
            EXPECT_EQ(rows.Interlace, 0);
            ASSERT_EQ(rows.Filters.size(), 240u);
            EXPECT_EQ(std::set<int>(rows.Filters.begin(), rows.Filters.end()), std::set<int>{1})
                << "the Sub filter on every row";
            int differing = 0;
            for (std::size_t i = 0; i < frame.size(); ++i)
                differing += (image.Pixels[i] & 0xFFFFFF) != frame[i];
            EXPECT_EQ(differing, 0) << "lossless";
        } else {
            std::set<std::uint32_t> colours;
            std::int64_t error = 0;
            for (std::size_t i = 0; i < frame.size(); ++i) {
                const std::uint32_t p = image.Pixels[i] & 0xFFFFFF;
                colours.insert(p);
                for (int shift : {0, 8, 16})
                    error += std::abs(int(p >> shift & 0xFF) - int(frame[i] >> shift & 0xFF));
            }
            if (type == "GIF") {
                EXPECT_LE(colours.size(), 256u);
            }
            EXPECT_LT(error / std::int64_t(frame.size() * 3), 12) << "close to the picture";
        }
    }
    EXPECT_TRUE(Screen->Beeps().empty()) << "no message";
}

TEST_F(TSnapshotTest, AnUnknownTypeWritesABitmapAndBmpBackAndTheNameKeepsInnerDots) {
    StartPreview();
    const std::string clip = home.File("a.b.mp4");
    std::filesystem::copy_file(fixtures::Path(fixtures::kClipMp4), clip);
    ASSERT_TRUE(Preview(clip));
    Form1->PNG1->SetChecked(true);
    StoreSnapshotSettings("png");
    Click(Form1->bsSkinButton1, 5, 5);
    EXPECT_EQ(ShotFiles(), std::set<std::string>{"a.b_1.bmp"});
    EXPECT_EQ(Stored("SnapShot", "Picture"), "BMP");
    EXPECT_TRUE(Form1->BMP1->Checked());
    EXPECT_FALSE(Form1->PNG1->Checked());
}

TEST_F(TSnapshotTest, WithNothingPreviewedASnapshotWritesNoFileAndSaysNothing) {
    StartPreview();
    StoreSnapshotSettings("JPG");
    Click(Form1->bsSkinButton1, 5, 5);
    EXPECT_TRUE(ShotFiles().empty());
    EXPECT_TRUE(Form1->JPG1->Checked()) << "the stored type is still read";
    EXPECT_TRUE(Screen->Beeps().empty());
    EXPECT_EQ(Screen->PendingIdleSteps(), 0u);
}

TEST_F(TSnapshotTest, TheMenuOpensAndChoosesTheFolderAndTicksTheType) {
    StartPreview();
    // "打开快照目录" makes a missing folder and hands it to the shell.
    const std::string missing = home.File("later/snaps");
    testsupport::WriteFile(SettingsPath(), "[SnapShot]\r\nDir=" + missing + "\r\n");
    Form1->MenuItem1->Click();
    EXPECT_TRUE(sys::DirectoryExists(missing));
    EXPECT_EQ(opened, std::vector<std::string>{missing});

    // "设置快照目录": only a confirmed, existing folder is written.
    const std::string output = Form1->FileOutPutPath;
    testsupport::WriteFile(SettingsPath(), "[OutPath]\r\nOutPath=" + output + "\r\n");
    const struct {
        const char* How;
        std::optional<std::string> Answer;
        std::string Stored;
    } choices[] = {{"confirmed", shots, shots},
                   {"cancelled", std::nullopt, shots},
                   {"missing", home.File("nowhere"), shots}};
    for (const auto& c : choices) {
        SCOPED_TRACE(c.How);
        folderAnswer = c.Answer;
        const std::size_t asked = folderQuestions.size();
        Form1->MenuItem2->Click();
        ASSERT_EQ(folderQuestions.size(), asked + 1);
        EXPECT_EQ(folderQuestions.back(), "选择输出目录");
        EXPECT_EQ(Stored("SnapShot", "Dir"), c.Stored);
        EXPECT_EQ(Form1->FileOutPutPath, output);
        EXPECT_EQ(Stored("OutPath", "OutPath"), output);
    }

    // The type items untick each other and store their type.
    vcl::TMenuItem* const items[] = {Form1->BMP1, Form1->JPG1, Form1->GIF1, Form1->PNG1};
    const char* const types[] = {"BMP", "JPG", "GIF", "PNG"};
    for (int i : {3, 1, 2, 0}) {
        SCOPED_TRACE(types[i]);
        items[i]->Click();
        EXPECT_EQ(Stored("SnapShot", "Picture"), types[i]);
        for (int k = 0; k < 4; ++k) EXPECT_EQ(items[k]->Checked(), k == i) << types[k];
    }

    // "设置": a click ticks the stored type; the left button opens the menu at the pointer.
    testsupport::WriteFile(SettingsPath(), "[SnapShot]\r\nPicture=GIF\r\n");
    Form1->bsSkinButton23->ButtonClick();
    EXPECT_TRUE(Form1->GIF1->Checked());
    const vcl::TPoint at = At(Form1->bsSkinButton23, 6, 7);
    Screen->MouseDown(at, win::TMouseButton::Right);
    Screen->MouseUp(at, win::TMouseButton::Right);
    Run();
    EXPECT_EQ(Form1->bsSkinPopupMenu2->PopupPoint(), (vcl::TPoint{-1, -1})) << "right: no menu";
    Screen->MouseDown(at);
    Run();
    EXPECT_EQ(Form1->bsSkinPopupMenu2->PopupPoint(), at);
    Press(win::VK_ESCAPE);
    Screen->MouseUp(at);
    Run();
}

// Root writes anywhere, so the refused save runs in a child process that first drops to an
// unprivileged user; the player starts in the child. The exit status counts the failed checks.
TEST_F(TSnapshotTest, ARefusedSaveShowsOneErrorBoxLeavesNoFileAndTheNextSnapshotWorks) {
    chmod(home.Path().c_str(), 0777);
    chmod(program.Path().c_str(), 0777);
    const std::string locked = home.File("locked");
    home.MakeFolder("locked");
    chmod(locked.c_str(), 0555);
    chmod(shots.c_str(), 0777);
    testsupport::WriteFile(SettingsPath(), "[SnapShot]\r\nDir=" + locked + "\r\nPicture=BMP\r\n");
    chmod(SettingsPath().c_str(), 0666);
    // Found before the fork: the unprivileged child may not make the fixtures.
    const std::string clip = fixtures::Path(fixtures::kClipAvi);
    const pid_t pid = fork();
    if (pid == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(100);
        int bad = 0;
        StartPreview();
        if (!Preview(clip)) _exit(101);
        // The error's text, as the handler raises it.
        try {
            Form1->bsSkinButton1Click();
            ++bad;
        } catch (const rtl::Exception& e) {
            bad += std::string(e.what()) !=
                   "Cannot create file \"" + locked + "/clip_1.bmp\". Permission denied";
        }
        // Through the button: the application's one error box.
        Screen->QueueIdleStep([this] { Press(win::VK_RETURN); });
        Click(Form1->bsSkinButton1, 5, 5);
        bad += Screen->PendingIdleSteps() != 0;
        bad += Screen->Beeps() != std::vector<unsigned>{win::MB_ICONHAND};
        bad += !std::filesystem::is_empty(locked);
        Services().Settings.Write("SnapShot", "Dir", shots);
        Click(Form1->bsSkinButton1, 5, 5);
        bad += ShotFiles() != std::set<std::string>{"clip_1.bmp"};
        Form1->FFPlayer->Stop(true);
        _exit(bad);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    chmod(locked.c_str(), 0755);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(TSnapshotTest, CaptureIsReachedByTabAndSavesBitmapOrJpegByTheChosenName) {
    StartPreview();
    std::vector<std::optional<std::string>> answers;
    int asked = 0;
    Form1->ExecuteSavePicture = [&]() -> std::optional<std::string> {
        return answers[std::size_t(asked++)];
    };
    // Nothing previewed: the dialog is not even shown.
    Form1->btnCaptureClick();
    EXPECT_EQ(asked, 0);

    ASSERT_TRUE(Preview(fixtures::Path(fixtures::kClipAvi)));
    answers = {home.File("shot.bmp"), home.File("shot.JPG"), home.File("Shot.BMP"), std::nullopt};
    Form1->lvFiles->SetFocus();
    for (int i = 0; i < 60 && Form1->ActiveControl() != Form1->btnCapture; ++i) {
        Press(win::VK_TAB);
        Run();
    }
    ASSERT_EQ(Form1->ActiveControl(), Form1->btnCapture);
    const struct {
        const char* File;
        const char* Type;
    } saves[] = {{"shot.bmp", "BMP"}, {"shot.JPG", "JPG"}, {"Shot.BMP", "BMP"}};
    for (const auto& s : saves) {
        SCOPED_TRACE(s.File);
        Press(win::VK_SPACE);
        Run();
        const gfx::TImage image = Decode(s.Type, home.File(s.File));
        EXPECT_EQ(image.Width, 320);
    }
    const std::string before = testsupport::ReadFile(home.File("shot.bmp"));
    Press(win::VK_SPACE);
    Run();
    EXPECT_EQ(asked, 4);
    EXPECT_EQ(testsupport::ReadFile(home.File("shot.bmp")), before) << "Cancel writes nothing";
}

TEST_F(TSnapshotTest, TheProgramsCaptureAsksThroughTheSkinnedSaveDialog) {
    StartPreview();
    ASSERT_TRUE(Preview(fixtures::Path(fixtures::kClipAvi)));
    Form1->SavePictureDialog1->InitialDir = home.Path();
    // A name without extension takes the dialog's; Cancel afterwards saves nothing more.
    Screen->QueueIdleStep([this] { Screen->Text("frame"); });
    Screen->QueueIdleStep([this] { Press(win::VK_RETURN); });
    Form1->btnCaptureClick();
    EXPECT_EQ(Decode("BMP", home.File("frame.bmp")).Width, 320);
    Screen->QueueIdleStep([this] { Press(win::VK_ESCAPE); });
    Form1->btnCaptureClick();
    EXPECT_EQ(Screen->PendingIdleSteps(), 0);
    Form1->FFPlayer->Stop(true);
}

}  // namespace
}  // namespace app::test
