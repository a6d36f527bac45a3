// Video hooks of a conversion: shared libraries named by the "vhook" option whose "Process" entry
// point sees every decoded picture, in the order the hooks were added.
//
// Owns the process-wide table of hook libraries (loaded once, kept until the process ends). A
// chain belongs to one job: FrameHookAdd runs on the thread that applies the job's options,
// FrameHookProcess on the conversion thread, FrameHookRelease when the job is released.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/libs/ff_utils.h"

namespace media {

extern "C" {
using TFrameHookConfigureFn = int (*)(void** ctxp, int argc, char* argv[]);
using TFrameHookProcessFn = void (*)(void* ctx, TAVPicture* picture, int pixFmt, int width,
                                     int height, int64_t pts);
using TFrameHookReleaseFn = void (*)(void* ctx);
}

struct TFrameHookEntry {
    TFrameHookConfigureFn Configure = nullptr;
    TFrameHookProcessFn Process = nullptr;
    TFrameHookReleaseFn Release = nullptr;
    void* ctx = nullptr;  // the hook instance's own data
    // The words given to Configure; the hook may keep pointers into them for its whole life.
    std::unique_ptr<const std::vector<std::string>> Args;
};

using TFrameHookChain = std::vector<TFrameHookEntry>;

// The words of a "vhook" value: split at "|" when it holds one, else at spaces; runs of
// separators give no empty words; at most 64 words.
std::vector<std::string> SplitHookWords(const std::string& command);

// Loads the library named by args[0] (once per process), configures a new instance with all the
// words and appends it. 0, or -2 (no words, or an entry point missing), -22 (configuration
// refused), -1 (the library does not load); the reason goes to the library log.
int FrameHookAdd(TFrameHookChain& chain, const std::vector<std::string>& args);
void FrameHookProcess(const TFrameHookChain& chain, TAVPicture& picture, int pixFmt, int width,
                      int height, int64_t pts);
// Releases every instance in chain order and empties the chain.
void FrameHookRelease(TFrameHookChain& chain);

}  // namespace media
