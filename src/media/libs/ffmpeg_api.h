// The FFmpeg and SDL declarations, and one typed entry-point cell per name of the entry-point
// list, in namespace media::lib.
//
// Media code calls the libraries only through these cells (lib::av_log(...)); the program never
// links the libraries, so a direct call fails at link time. A cell is null while its library is
// not bound; the loader (ffmpeg_loader.h) writes the cells on the main thread while it binds or
// unbinds, every thread reads them afterwards.
#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavcodec/avfft.h>
#include <libavcodec/bsf.h>
#include <libavdevice/avdevice.h>
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/display.h>
#include <libavutil/imgutils.h>
#include <libavutil/log.h>
#include <libavutil/mem.h>
#include <libavutil/opt.h>
#include <libavutil/parseutils.h>
#include <libavutil/pixdesc.h>
#include <libavutil/samplefmt.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
// The source of the player engine's filter graph.
#include <libavfilter/buffersrc.h>
#include <libavutil/audio_fifo.h>
}
#include <SDL2/SDL.h>

#include "media/libs/entry_point_list.h"

namespace media::lib {

#define MORADEX_DECLARE_CELL(library, name) extern decltype(&::name) name;
MORADEX_MEDIA_ENTRY_POINTS(MORADEX_DECLARE_CELL)
#undef MORADEX_DECLARE_CELL

}  // namespace media::lib
