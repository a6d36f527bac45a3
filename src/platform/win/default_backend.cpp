// Which backend the program runs with.
#include <cstdio>
#include <string>

#include "platform/sys/env.h"
#include "platform/win/headless.h"
#include "platform/win/x11_backend.h"

namespace win {

namespace {

void Say(const std::string& line) {
    std::fprintf(stderr, "moradex: %s\n", line.c_str());
}

std::unique_ptr<TBackend> Headless(const std::string& why) {
    Say(why + ": using the headless backend");
    return std::make_unique<THeadlessBackend>();
}

}  // namespace

std::unique_ptr<TBackend> CreateDefaultBackend() {
    const std::string forced = sys::GetEnv("MORADEX_BACKEND");
    if (forced == "headless") return std::make_unique<THeadlessBackend>();
    if (!forced.empty() && forced != "x11")
        Say("MORADEX_BACKEND=" + forced + " is neither headless nor x11: choosing by DISPLAY");
    const std::string display = sys::GetEnv("DISPLAY");
    if (display.empty() && forced != "x11") return Headless("no display (DISPLAY is not set)");
    std::string error;
    if (auto x11 = TX11Backend::Open(display, &error)) return x11;
    return Headless(error);
}

}  // namespace win
