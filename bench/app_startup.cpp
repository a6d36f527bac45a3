// Start-up and skin-switch cost of the application on the headless screen.
//   first paint: process start to the end of the main window's first complete paint (the
//                program run as a child process five times, median; goal 150 ms)
//   skin switch: one switch of the skin data with every form repainted (median over the eight
//                skins; goal 50 ms)
//   first paint under X: the same start on the X server DISPLAY names, the window's first paint
//                sent to the server (printed only when DISPLAY is set; bench/app_startup --x11
//                runs it on a private Xvfb)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "app/program.h"
#include "headless_desktop.h"

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void StartScene(const std::string& folder, bool x11 = false) {
    setenv("HOME", folder.c_str(), 1);
    setenv("MORADEX_APPDIR", folder.c_str(), 1);
    if (x11) {
        win::Initialize();
        vcl::InitializeApplication();
    } else {
        bench::StartHeadlessDesktop();
    }
    app::CreateForms();
    app::Form1->Show();
    vcl::Application->ProcessMessages();
}

// The child: start-up to the first complete paint, then one line and out.
int Child(const std::string& folder, bool x11) {
    StartScene(folder, x11);
    std::puts("painted");
    std::fflush(stdout);
    std::_Exit(0);
}

// Five first starts, each in a fresh program folder; the median in ms, or -1 when a child
// did not paint.
double MedianFirstPaint(const char* program, const std::string& folder, const char* mode) {
    std::vector<double> firstPaint;
    for (int run = 0; run < 5; ++run) {
        const std::string runFolder = folder + "/" + mode + std::to_string(run);
        std::system(("mkdir -p '" + runFolder + "'").c_str());
        const std::string command =
            "exec '" + std::string(program) + "' " + mode + " '" + runFolder + "'";
        const auto start = Clock::now();
        FILE* child = popen(command.c_str(), "r");
        char line[64] = {};
        if (!child || !std::fgets(line, sizeof line, child)) {
            if (child) pclose(child);
            return -1;
        }
        firstPaint.push_back(
            std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        pclose(child);
    }
    return Median(firstPaint);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2 && std::strcmp(argv[1], "--child") == 0) return Child(argv[2], false);
    if (argc > 2 && std::strcmp(argv[1], "--child-x11") == 0) return Child(argv[2], true);
    char pattern[] = "/tmp/moradex-bench-XXXXXX";
    const std::string folder = mkdtemp(pattern);

    const double paint = MedianFirstPaint(argv[0], folder, "--child");
    double paintX = 0;
    if (std::getenv("DISPLAY") && *std::getenv("DISPLAY"))
        paintX = MedianFirstPaint(argv[0], folder, "--child-x11");
    if (paint < 0 || paintX < 0) {
        std::fprintf(stderr, "the child did not paint\n");
        return 2;
    }

    StartScene(folder);
    std::vector<double> switches;
    for (int i : {1, 2, 3, 4, 5, 6, 7, 0}) {
        const auto start = Clock::now();
        app::Form1->bsSkinData1->SetSkinIndex(i);
        vcl::Application->ProcessMessages();
        app::Form1->RepaintAll();
        vcl::Application->ProcessMessages();
        switches.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::system(("rm -rf '" + folder + "'").c_str());
    const double skin = Median(switches);
    std::printf("first paint: %.1f ms (goal 150)\n", paint);
    std::printf("skin switch: %.1f ms (goal 50)\n", skin);
    if (paintX > 0) std::printf("first paint under X: %.1f ms\n", paintX);
    return paint <= 150 && skin <= 50 ? 0 : 1;
}
