// A video hook library for the tests, built as a shared object the way outside hooks are: it
// paints a 16 x 16 square at the top left of the first plane in the level given to Configure
// (255 without one).
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

// The hook ABI's picture: four planes and four line sizes.
struct TPicture {
    uint8_t* data[4];
    int linesize[4];
};

struct THook {
    int Level = 255;
};

}  // namespace

extern "C" {

__attribute__((visibility("default"))) int Configure(void** ctxp, int argc, char* argv[]) {
    auto* hook = static_cast<THook*>(std::calloc(1, sizeof(THook)));
    if (hook == nullptr) return -1;
    hook->Level = argc > 1 ? std::atoi(argv[1]) : 255;
    *ctxp = hook;
    return 0;
}

__attribute__((visibility("default"))) void Process(void* ctx, TPicture* picture, int /*pixFmt*/,
                                                    int width, int height, int64_t /*pts*/) {
    const auto* hook = static_cast<const THook*>(ctx);
    for (int row = 0; row < 16 && row < height; ++row)
        std::memset(picture->data[0] + row * picture->linesize[0], hook->Level,
                    size_t(width < 16 ? width : 16));
}

__attribute__((visibility("default"))) void Release(void* ctx) {
    std::free(ctx);
}
}
