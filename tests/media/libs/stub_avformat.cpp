// Stands in for libavformat: exports every avformat name of the entry-point list as an empty
// function. The build renames one of them, so that binding it fails.
#include "media/libs/entry_point_list.h"

#define MORADEX_STUB_avUtil(name)
#define MORADEX_STUB_avCodec(name)
#define MORADEX_STUB_avDevice(name)
#define MORADEX_STUB_avFilter(name)
#define MORADEX_STUB_swScale(name)
#define MORADEX_STUB_swResample(name)
#define MORADEX_STUB_lbSDL(name)
#define MORADEX_STUB_avFormat(name) \
    extern "C" __attribute__((visibility("default"))) void name() {}
#define MORADEX_STUB(library, name) MORADEX_STUB_##library(name)

MORADEX_MEDIA_ENTRY_POINTS(MORADEX_STUB)
