// Feeds arbitrary bytes to one image reader: it must refuse or decode, never crash or overrun.
#include <cstdint>
#include <cstdlib>

#include "platform/gfx/codecs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    gfx::TImage image;
    std::string error;
    if (gfx::MORADEX_FUZZ_READER({data, size}, image, error)) {
        // An accepted picture is whole.
        if (image.Width <= 0 || image.Height <= 0 ||
            image.Pixels.size() != std::size_t(image.Width) * std::size_t(image.Height))
            std::abort();
    } else if (error.empty()) {
        std::abort();  // a refusal always says why
    }
    return 0;
}
