// The target settings of the disc and DV formats, applied to a job.
#include <cmath>

#include "media/engine/ffmpeg_engine.h"
#include "media/libs/ff_logger.h"
#include "platform/rtl/sysutils.h"

namespace media {

namespace {

enum class TNorm { PAL, NTSC, Film };

// Frame rates by norm.
const char* const kTargetFrameRates[] = {"25", "30000/1001", "24000/1001"};

// Rounded thousandths of a frame rate: 25000, 29970, 23976.
int64_t RateMillis(AVRational rate) {
    return rtl::Round(double(rate.num) * 1000 / rate.den);
}

bool NormOfRate(int64_t millis, TNorm& norm) {
    if (millis == 25000) {
        norm = TNorm::PAL;
        return true;
    }
    if (millis == 29970 || millis == 23976) {
        norm = TNorm::NTSC;
        return true;
    }
    return false;
}

// One codec or muxer setting of a target; the option contexts decide where it goes.
struct TTargetOption {
    const char* Name;
    const char* Pal;
    const char* Ntsc;  // NTSC and film
};

const TTargetOption kVcdOptions[] = {
    {"g", "15", "18"},
    {"b", "1150000", "1150000"},
    {"maxrate", "1150000", "1150000"},
    {"minrate", "1150000", "1150000"},
    {"bufsize", "327680", "327680"},
    {"packetsize", "2324", "2324"},
    {"muxrate", "1411200", "1411200"},
    {"ab", "224000", "224000"},
};

// The scan offset of the second flag word is its own switch of the MPEG-2 encoder now.
const TTargetOption kSvcdOptions[] = {
    {"g", "15", "18"},
    {"b", "2040000", "2040000"},
    {"maxrate", "2516000", "2516000"},
    {"minrate", "0", "0"},
    {"bufsize", "1835008", "1835008"},
    {"scan_offset", "1", "1"},
    {"packetsize", "2324", "2324"},
    {"ab", "224000", "224000"},
};

const TTargetOption kDvdOptions[] = {
    {"g", "15", "18"},
    {"b", "6000000", "6000000"},
    {"maxrate", "9000000", "9000000"},
    {"minrate", "0", "0"},
    {"bufsize", "1835008", "1835008"},
    {"packetsize", "2048", "2048"},
    {"muxrate", "10080000", "10080000"},
    {"ab", "448000", "448000"},
};

}  // namespace

void TCustomFFmpeg::ApplyTarget(const std::string& target, const std::string& norm,
                                const std::string& defaultNorm) {
    TNorm chosen = TNorm::PAL;
    if (norm == "pal") {
        chosen = TNorm::PAL;
    } else if (norm == "ntsc") {
        chosen = TNorm::NTSC;
    } else if (norm == "film") {
        chosen = TNorm::Film;
    } else {
        if (Fframe_rate.den == 0) throw FFmpegException("frame_rate is invalid.");
        bool decided = NormOfRate(RateMillis(Fframe_rate), chosen);
        // The inputs' video streams, in order; their codecs no longer carry a time base, the
        // streams' frame rates stand for it.
        for (int i = 0; i < Fnb_input_files && !decided; ++i) {
            const AVFormatContext* ic = Finput_files[size_t(i)];
            for (unsigned j = 0; j < ic->nb_streams && !decided; ++j) {
                const AVStream* st = ic->streams[j];
                if (st->codecpar->codec_type != AVMEDIA_TYPE_VIDEO) continue;
                AVRational rate = st->avg_frame_rate.den != 0 && st->avg_frame_rate.num != 0
                                      ? st->avg_frame_rate
                                      : st->r_frame_rate;
                if (rate.den != 0) decided = NormOfRate(RateMillis(rate), chosen);
            }
        }
        if (!decided) {
            if (defaultNorm == "film")
                chosen = TNorm::Film;
            else if (defaultNorm == "ntsc")
                chosen = TNorm::NTSC;
            else
                chosen = TNorm::PAL;
        }
        if (Fverbose > 0)
            GetFFLogger().Log(
                this, llVerbose,
                rtl::Format("Assuming %s for target.", chosen == TNorm::PAL ? "PAL" : "NTSC"));
    }

    bool pal = chosen == TNorm::PAL;
    const char* frameRate = kTargetFrameRates[int(chosen)];
    auto codecOptions = [&](const auto& options) {
        for (const TTargetOption& option : options)
            SetCodecOption(FOptions, option.Name, pal ? option.Pal : option.Ntsc);
    };
    auto assumeAspect = [&](const char* aspect) {
        if (Fframe_aspect_ratio != 0) return;
        GetFFLogger().Log(this, llInfo, rtl::Format("Assuming %s for aspect ratio", aspect));
        ParseOption("aspect", aspect);
    };

    if (target == "vcd") {
        ParseOption("vcodec", "mpeg1video");
        ParseOption("acodec", "mp2");
        ParseOption("f", "vcd");
        ParseOption("s", pal ? "352x288" : "352x240");
        ParseOption("r", frameRate);
        codecOptions(kVcdOptions);
        Faudio_sample_rate = 44100;
        Faudio_channels = 2;
        Fmux_preload = 0.44f;
        assumeAspect("4:3");
    } else if (target == "svcd") {
        ParseOption("vcodec", "mpeg2video");
        ParseOption("acodec", "mp2");
        ParseOption("f", "svcd");
        ParseOption("s", pal ? "480x576" : "480x480");
        ParseOption("r", frameRate);
        codecOptions(kSvcdOptions);
        Faudio_sample_rate = 44100;
        if (Faudio_channels == 1) Faudio_channels = 2;
        assumeAspect("4:3");
    } else if (target == "dvd") {
        ParseOption("vcodec", "mpeg2video");
        ParseOption("acodec", "ac3");
        ParseOption("f", "dvd");
        ParseOption("s", pal ? "720x576" : "720x480");
        ParseOption("r", frameRate);
        codecOptions(kDvdOptions);
        Faudio_sample_rate = 48000;
        if (Faudio_channels == 1) Faudio_channels = 2;
        assumeAspect("16:9");
    } else if (target == "dv" || target == "dv50") {
        ParseOption("f", "dv");
        ParseOption("s", pal ? "720x576" : "720x480");
        ParseOption("pix_fmt", target == "dv50" ? "yuv422p" : pal ? "yuv420p" : "yuv411p");
        ParseOption("r", frameRate);
        Faudio_sample_rate = 48000;
        Faudio_channels = 2;
    } else {
        throw FFmpegException("Unknown target type");
    }
}

void TCustomFFmpeg::ApplyTargetText(const std::string& text) {
    std::string target = rtl::Trim(text);
    std::string norm = "auto";
    for (const char* prefix : {"pal-", "ntsc-", "film-"}) {
        std::string_view start(prefix);
        if (target.starts_with(start)) {
            norm = std::string(start.substr(0, start.size() - 1));
            target.erase(0, start.size());
            break;
        }
    }
    ApplyTarget(target, norm, "ntsc");
}

}  // namespace media
