// A video hook library for the tests that counts its calls and checks the chain order: each
// configured instance takes the next number, and Process expects the instances in the order they
// were configured, picture after picture. Built three ways: as it is, without "Process", and with
// a "Configure" that refuses. HookCounts reads the counts back.
#include <cstdint>

namespace {

int gConfigures = 0;
int gProcesses = 0;
int gReleases = 0;
int gOutOfOrder = 0;
int gLive = 0;
intptr_t gFirst = 0;  // the first instance of the chain now configured
intptr_t gLast = 0;

}  // namespace

extern "C" {

__attribute__((visibility("default"))) int Configure(void** ctxp, int /*argc*/, char** /*argv*/) {
#ifdef MORADEX_HOOK_REFUSES
    (void)ctxp;
    return 1;
#else
    *ctxp = reinterpret_cast<void*>(intptr_t(++gConfigures));
    if (gLive++ == 0) gFirst = gConfigures;
    return 0;
#endif
}

#ifndef MORADEX_HOOK_WITHOUT_PROCESS
__attribute__((visibility("default"))) void Process(void* ctx, void* /*picture*/, int /*pixFmt*/,
                                                    int /*width*/, int /*height*/,
                                                    int64_t /*pts*/) {
    const intptr_t instance = reinterpret_cast<intptr_t>(ctx);
    const bool inOrder =
        instance == gFirst ? gLast == 0 || gLast == gConfigures : gLast == instance - 1;
    if (!inOrder) ++gOutOfOrder;
    gLast = instance;
    ++gProcesses;
}
#endif

__attribute__((visibility("default"))) void Release(void* /*ctx*/) {
    ++gReleases;
    if (--gLive == 0) gLast = 0;
}

__attribute__((visibility("default"))) void HookCounts(int* configures, int* processes,
                                                       int* releases, int* outOfOrder) {
    *configures = gConfigures;
    *processes = gProcesses;
    *releases = gReleases;
    *outOfOrder = gOutOfOrder;
}
}
