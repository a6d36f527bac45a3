// One conversion job with the transcoding engine on the calling thread: the input, the output and
// the options between them, as the command-line tool takes them. The script around it times the
// whole process.
//
// Usage: transcode_speed_bench <input> <output> [<option> <value>]...
#include <cstdio>
#include <string>

#include "media/engine/ffmpeg_engine.h"
#include "media/libs/ff_logger.h"
#include "media/libs/ffmpeg_loader.h"

using namespace media;

int main(int argc, char** argv) {
    if (argc < 3 || argc % 2 == 0) {
        std::fprintf(stderr, "usage: %s <input> <output> [<option> <value>]...\n", argv[0]);
        return 2;
    }
    AVLibLoader().SetLibraryPath("");
    if (!AVLibLoader().Load(FFTaskManagerLibraries)) {
        std::fprintf(stderr, "%s\n", AVLibLoader().LastErrMsg().c_str());
        return 1;
    }
    GetFFLogger().SetLogLevel(llError);
    TCustomFFmpeg engine(1);
    engine.FullReset();
    try {
        if (!engine.OpenInputFile(argv[1])) {
            std::fprintf(stderr, "%s\n", engine.LastErrMsg().c_str());
            return 1;
        }
        for (int i = 3; i + 1 < argc; i += 2) engine.ParseOption(argv[i], argv[i + 1]);
        if (engine.OpenOutputFile(argv[2], false) < 0) {
            std::fprintf(stderr, "%s\n", engine.LastErrMsg().c_str());
            return 1;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    engine.StartConvert(false, sys::tpNormal);
    if (engine.FatalException()) {
        std::fprintf(stderr, "%s\n", engine.FatalMessage().c_str());
        return 1;
    }
    return 0;
}
