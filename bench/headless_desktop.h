// The desktop the drawing benchmarks run on: one 1280x800 headless screen and the application.
#pragma once

#include <memory>

#include "platform/vcl/vcl.h"
#include "platform/win/headless.h"

namespace bench {

inline void StartHeadlessDesktop() {
    win::THeadlessConfig config;
    config.Monitors = {{{0, 0, 1280, 800}, {0, 0, 1280, 760}, true}};
    win::Initialize(std::make_unique<win::THeadlessBackend>(config));
    vcl::InitializeApplication();
}

}  // namespace bench
