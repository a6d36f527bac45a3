// The program under X (a private Xvfb from x11_run.sh), started by scripts/start: it opens one
// window named "Moradex", and once painted the root window shows what the headless screen shows
// for the same start.
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "app/about_form.h"
#include "app/main_form.h"
#include "app/options_form.h"
#include "app/program.h"
#include "platform/vcl/vcl.h"
#include "platform/win/headless.h"
#include "platform/win/win.h"
#include "platform/win/x11_test_support.h"
#include "support/temp_dir.h"

namespace app {
namespace {

using win::test::TShot;

constexpr gfx::TColor kDesktopMark = gfx::RGB(255, 0, 255);

std::string Shell(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (std::fgets(buffer, sizeof buffer, p)) out += buffer;
        pclose(p);
    }
    return out;
}

TShot HeadlessShot() {
    win::THeadlessConfig config;
    config.Monitors = {{{0, 0, 1024, 768}, {0, 0, 1024, 768}, true}};
    config.Desktop = kDesktopMark;
    auto headless = std::make_unique<win::THeadlessBackend>(config);
    win::THeadlessBackend* screen = headless.get();
    win::Initialize(std::move(headless));
    vcl::InitializeApplication();
    CreateForms();
    Form1->Show();
    vcl::Application->ProcessMessages();
    const gfx::HBITMAP composed = screen->Compose();
    TShot shot{composed->Width(), composed->Height(), {}};
    for (int i = 0; i < composed->Width() * composed->Height(); ++i)
        shot.Pixels.push_back(composed->Pixels()[i] & 0xFFFFFFu);
    vcl::FinalizeApplication();
    win::Finalize();
    Form1 = nullptr;
    Form2 = nullptr;
    Form5 = nullptr;
    return shot;
}

TEST(AppX11, TheProgramShowsOneWindowLikeTheHeadlessScreen) {
    testsupport::TTempDir home, program;
    setenv("HOME", home.Path().c_str(), 1);
    setenv("MORADEX_APPDIR", program.Path().c_str(), 1);
    unsetenv("MORADEX_BACKEND");
    const std::string ini = "[OutPath]\r\nOutPath=/proc/Zorvani视频软件/输出\r\n";
    testsupport::WriteFile(program.File("option.ini"), ini);
    const TShot expected = HeadlessShot();
    testsupport::WriteFile(program.File("option.ini"), ini);

    // Started as a person starts it; the build folder is this one, where the program is current.
    setenv("MORADEX_BUILD_DIR", MORADEX_BUILD_FOLDER, 1);
    const pid_t child = fork();
    if (child == 0) {
        setpgid(0, 0);
        execl(MORADEX_START, MORADEX_START, static_cast<char*>(nullptr));
        _exit(127);
    }
    win::test::TXClient client;
    TShot shot;
    win::test::TShotDiff diff;
    bool named = false, same = false;
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (!same && std::chrono::steady_clock::now() < limit) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        named = named || Shell("xwininfo -root -tree").find("\"Moradex\": (\"moradex\"") !=
                             std::string::npos;
        if (!named) continue;
        shot = client.RootShot();
        if (shot.Width != expected.Width || shot.Height != expected.Height) continue;
        const std::uint32_t desk = shot.At(0, 0);
        TShot want = expected;
        for (std::uint32_t& p : want.Pixels)
            if (p == 0xFF00FFu) p = desk;
        diff = win::test::Compare(shot, want, 2);
        // Within 2 per channel, but for at most 0.1 % of the pixels.
        same = diff.Differing * 1000 <= shot.Width * shot.Height;
    }
    // The whole group: the script's own children too, should it still be installing or building.
    kill(-child, SIGTERM);
    waitpid(child, nullptr, 0);
    EXPECT_TRUE(named) << "no X window named Moradex";
    std::printf("root vs headless: %d pixels beyond 2, largest channel difference %d\n",
                diff.Differing, diff.MaxDelta);
    if (!same) {
        const std::string dir = ::testing::TempDir();
        win::test::SavePng(shot, dir + "app-x11-root.png");
        win::test::SavePng(expected, dir + "app-x11-headless.png");
        ADD_FAILURE() << "the root window differs from the headless screen; see " << dir;
    }
}

}  // namespace
}  // namespace app
