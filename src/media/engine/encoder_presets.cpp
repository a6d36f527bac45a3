// The built-in encoder presets and the application of a preset to a job.
#include "media/engine/encoder_presets.h"

#include <fstream>
#include <iterator>

#include "media/engine/ffmpeg_engine.h"
#include "platform/rtl/sysutils.h"
#include "platform/sys/files.h"

namespace media {

namespace {

// The presets of the H.264 encoder, in the encoder's own option names: partitions as a list,
// the motion search, direct prediction and weighted prediction under their private names, and
// each flag of the old second flag word as a switch of its own.
const std::array<TOptionsPreset, kBuiltinPresetCount> kBuiltinPresets = {{
    {"libx264-baseline", "coder=0\nbf=0\nweightb=0\n8x8dct=0\nwpredp=0\n"},
    {"libx264-default",
     "coder=1\nflags=+loop\ncmp=+chroma\npartitions=i8x8,i4x4,p8x8,b8x8\nme_method=hex\n"
     "subq=7\nme_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\n"
     "b_strategy=1\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=3\nrefs=3\ndirect-pred=1\n"
     "trellis=1\nmixed-refs=1\nweightb=1\n8x8dct=1\nfast-pskip=1\nwpredp=2\n"},
    {"libx264-fast",
     "coder=1\nflags=+loop\ncmp=+chroma\npartitions=i8x8,i4x4,p8x8,b8x8\nme_method=hex\n"
     "subq=6\nme_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\n"
     "b_strategy=1\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=3\nrefs=2\ndirect-pred=1\n"
     "trellis=1\nb-pyramid=normal\nmixed-refs=1\nweightb=1\n8x8dct=1\nfast-pskip=1\n"
     "wpredp=2\n"},
    {"libx264-fast_firstpass",
     "coder=1\nflags=+loop\ncmp=+chroma\npartitions=none\nme_method=dia\nsubq=2\n"
     "me_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\nb_strategy=1\n"
     "qcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=3\nrefs=1\ndirect-pred=1\ntrellis=0\n"
     "b-pyramid=normal\nmixed-refs=0\nweightb=1\n8x8dct=0\nfast-pskip=1\nwpredp=2\n"},
    {"libx264-faster",
     "coder=1\nflags=+loop\ncmp=+chroma\npartitions=i8x8,i4x4,p8x8,b8x8\nme_method=hex\n"
     "subq=4\nme_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\n"
     "b_strategy=1\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=3\nrefs=2\ndirect-pred=1\n"
     "trellis=1\nb-pyramid=normal\nmixed-refs=0\nweightb=1\n8x8dct=1\nfast-pskip=1\n"
     "wpredp=1\n"},
    {"libx264-faster_firstpass",
     "coder=1\nflags=+loop\ncmp=+chroma\npartitions=none\nme_method=dia\nsubq=2\n"
     "me_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\nb_strategy=1\n"
     "qcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=3\nrefs=1\ndirect-pred=1\ntrellis=0\n"
     "b-pyramid=normal\nmixed-refs=0\nweightb=1\n8x8dct=0\nfast-pskip=1\nwpredp=1\n"},
    {"libx264-fastfirstpass",
     "coder=1\nflags=+loop\ncmp=+chroma\npartitions=none\nme_method=dia\nsubq=2\n"
     "me_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\nb_strategy=1\n"
     "qcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=3\nrefs=1\ndirect-pred=3\ntrellis=0\n"
     "b-pyramid=none\nweightb=0\nmixed-refs=0\n8x8dct=0\nfast-pskip=1\nwpredp=2\n"},
    {"libx264-hq",
     "coder=1\nflags=+loop\ncmp=+chroma\npartitions=i8x8,i4x4,p8x8,b8x8\nme_method=umh\n"
     "subq=8\nme_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\n"
     "b_strategy=2\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=3\nrefs=4\ndirect-pred=3\n"
     "trellis=1\nweightb=1\nmixed-refs=1\n8x8dct=1\nfast-pskip=1\nwpredp=2\n"},
    {"libx264-ipod320",
     "coder=0\nbf=0\nweightb=0\n8x8dct=0\nlevel=13\nmaxrate=768000\nbufsize=3000000\n"
     "wpredp=0\n"},
    {"libx264-ipod640",
     "coder=0\nbf=0\nrefs=1\nweightb=0\n8x8dct=0\nlevel=30\nmaxrate=10000000\n"
     "bufsize=10000000\nwpredp=0\n"},
    {"libx264-lossless_fast",
     "coder=0\nflags=+loop\ncmp=+chroma\npartitions=i4x4,p8x8\nme_method=hex\nsubq=3\n"
     "me_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\nb_strategy=1\n"
     "qcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\ndirect-pred=1\nfast-pskip=1\nqp=0\nwpredp=0\n"},
    {"libx264-lossless_max",
     "coder=1\nflags=+loop\ncmp=+chroma\npartitions=i8x8,i4x4,p8x8,p4x4\nme_method=esa\n"
     "subq=8\nme_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\n"
     "b_strategy=1\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nrefs=16\ndirect-pred=1\n"
     "mixed-refs=1\n8x8dct=1\nfast-pskip=1\nqp=0\nwpredp=2\n"},
    {"libx264-lossless_medium",
     "coder=1\nflags=+loop\ncmp=+chroma\npartitions=i4x4,p8x8,p4x4\nme_method=hex\n"
     "subq=5\nme_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\n"
     "b_strategy=1\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\ndirect-pred=1\nfast-pskip=1\n"
     "qp=0\nwpredp=2\n"},
    {"libx264-lossless_slow",
     "coder=1\nflags=+loop\ncmp=+chroma\npartitions=i8x8,i4x4,p8x8,p4x4\nme_method=umh\n"
     "subq=6\nme_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\n"
     "b_strategy=1\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nrefs=2\ndirect-pred=1\n"
     "8x8dct=1\nfast-pskip=1\nqp=0\nwpredp=2\n"},
    {"libx264-lossless_slower",
     "coder=1\nflags=+loop\ncmp=+chroma\npartitions=i8x8,i4x4,p8x8,p4x4\nme_method=umh\n"
     "subq=8\nme_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\n"
     "b_strategy=1\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nrefs=4\ndirect-pred=1\n"
     "mixed-refs=1\n8x8dct=1\nfast-pskip=1\nqp=0\nwpredp=2\n"},
    {"libx264-lossless_ultrafast",
     "coder=0\nflags=+loop\ncmp=+chroma\npartitions=none\nme_method=dia\nsubq=0\n"
     "me_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\nb_strategy=1\n"
     "qcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\ndirect-pred=1\nfast-pskip=1\nqp=0\n"},
    {"libx264-main", "8x8dct=0\n"},
    {"libx264-max",
     "coder=1\nflags=+loop\ncmp=+chroma\npartitions=i8x8,i4x4,p8x8,p4x4,b8x8\n"
     "me_method=tesa\nsubq=10\nme_range=24\ng=250\nkeyint_min=25\nsc_threshold=40\n"
     "i_qfactor=0.71\nb_strategy=2\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=3\nrefs=16\n"
     "direct-pred=3\ntrellis=2\nweightb=1\nmixed-refs=1\n8x8dct=1\nfast-pskip=0\n"
     "wpredp=2\n"},
    {"libx264-medium",
     "coder=1\nflags=+loop\ncmp=+chroma\npartitions=i8x8,i4x4,p8x8,b8x8\nme_method=hex\n"
     "subq=7\nme_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\n"
     "b_strategy=1\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=3\nrefs=3\ndirect-pred=1\n"
     "trellis=1\nb-pyramid=normal\nmixed-refs=1\nweightb=1\n8x8dct=1\nfast-pskip=1\n"
     "wpredp=2\n"},
    {"libx264-medium_firstpass",
     "coder=1\nflags=+loop\ncmp=+chroma\npartitions=none\nme_method=dia\nsubq=2\n"
     "me_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\nb_strategy=1\n"
     "qcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=3\nrefs=1\ndirect-pred=1\ntrellis=0\n"
     "b-pyramid=normal\nmixed-refs=0\nweightb=1\n8x8dct=0\nfast-pskip=1\nwpredp=2\n"},
    {"libx264-normal",
     "coder=1\nflags=+loop\ncmp=+chroma\npartitions=i8x8,i4x4,p8x8,b8x8\nme_method=hex\n"
     "subq=6\nme_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\n"
     "b_strategy=1\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=3\nrefs=2\ndirect-pred=3\n"
     "trellis=0\nweightb=1\n8x8dct=1\nfast-pskip=1\nwpredp=2\n"},
    {"libx264-placebo",
     "coder=1\nflags=+loop\ncmp=+chroma\npartitions=i8x8,i4x4,p8x8,p4x4,b8x8\n"
     "me_method=tesa\nsubq=10\nme_range=24\ng=250\nkeyint_min=25\nsc_threshold=40\n"
     "i_qfactor=0.71\nb_strategy=2\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=16\nrefs=16\n"
     "direct-pred=3\ntrellis=2\nb-pyramid=normal\nmixed-refs=1\nweightb=1\n8x8dct=1\n"
     "fast-pskip=0\nwpredp=2\n"},
    {"libx264-placebo_firstpass",
     "coder=1\nflags=+loop\ncmp=+chroma\npartitions=i8x8,i4x4,p8x8,p4x4,b8x8\n"
     "me_method=tesa\nsubq=10\nme_range=24\ng=250\nkeyint_min=25\nsc_threshold=40\n"
     "i_qfactor=0.71\nb_strategy=2\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=16\nrefs=16\n"
     "direct-pred=3\ntrellis=2\nb-pyramid=normal\nmixed-refs=1\nweightb=1\n8x8dct=1\n"
     "fast-pskip=0\nwpredp=2\n"},
    {"libx264-slow",
     "coder=1\nflags=+loop\ncmp=+chroma\npartitions=i8x8,i4x4,p8x8,b8x8\nme_method=umh\n"
     "subq=8\nme_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\n"
     "b_strategy=2\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=3\nrefs=5\ndirect-pred=3\n"
     "trellis=1\nb-pyramid=normal\nmixed-refs=1\nweightb=1\n8x8dct=1\nfast-pskip=1\n"
     "wpredp=2\n"},
    {"libx264-slow_firstpass",
     "coder=1\nflags=+loop\ncmp=+chroma\npartitions=none\nme_method=dia\nsubq=2\n"
     "me_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\nb_strategy=2\n"
     "qcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=3\nrefs=1\ndirect-pred=3\ntrellis=0\n"
     "b-pyramid=normal\nmixed-refs=0\nweightb=1\n8x8dct=0\nfast-pskip=1\nwpredp=2\n"},
    {"libx264-slower",
     "coder=1\nflags=+loop\ncmp=+chroma\npartitions=i8x8,i4x4,p8x8,p4x4,b8x8\n"
     "me_method=umh\nsubq=9\nme_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\n"
     "i_qfactor=0.71\nb_strategy=2\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=3\nrefs=8\n"
     "direct-pred=3\ntrellis=2\nb-pyramid=normal\nmixed-refs=1\nweightb=1\n8x8dct=1\n"
     "fast-pskip=1\nwpredp=2\n"},
    {"libx264-slower_firstpass",
     "coder=1\nflags=+loop\ncmp=+chroma\npartitions=none\nme_method=dia\nsubq=2\n"
     "me_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\nb_strategy=2\n"
     "qcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=3\nrefs=1\ndirect-pred=3\ntrellis=0\n"
     "b-pyramid=normal\nmixed-refs=0\nweightb=1\n8x8dct=0\nfast-pskip=1\nwpredp=2\n"},
    {"libx264-slowfirstpass",
     "coder=1\nflags=+loop\ncmp=+chroma\npartitions=i8x8,i4x4,p8x8,b8x8\nme_method=hex\n"
     "subq=6\nme_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\n"
     "b_strategy=2\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=3\nrefs=1\ndirect-pred=3\n"
     "trellis=0\nweightb=1\n8x8dct=1\nfast-pskip=1\nwpredp=2\n"},
    {"libx264-superfast",
     "coder=1\nflags=+loop\ncmp=+chroma\npartitions=i8x8,i4x4\nme_method=dia\nsubq=1\n"
     "me_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\nb_strategy=1\n"
     "qcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=3\nrefs=1\ndirect-pred=1\ntrellis=0\n"
     "b-pyramid=normal\nmixed-refs=0\nweightb=1\n8x8dct=1\nfast-pskip=1\nmbtree=0\n"
     "wpredp=0\n"},
    {"libx264-superfast_firstpass",
     "coder=1\nflags=+loop\ncmp=+chroma\npartitions=none\nme_method=dia\nsubq=1\n"
     "me_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\nb_strategy=1\n"
     "qcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=3\nrefs=1\ndirect-pred=1\ntrellis=0\n"
     "b-pyramid=normal\nmixed-refs=0\nweightb=1\n8x8dct=0\nfast-pskip=1\nmbtree=0\n"
     "wpredp=0\n"},
    {"libx264-ultrafast",
     "coder=0\nflags=-loop\ncmp=+chroma\npartitions=none\nme_method=dia\nsubq=0\n"
     "me_range=16\ng=250\nkeyint_min=25\nsc_threshold=0\ni_qfactor=0.71\nb_strategy=0\n"
     "qcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=0\nrefs=1\ndirect-pred=1\ntrellis=0\n"
     "b-pyramid=none\nmixed-refs=0\nweightb=0\n8x8dct=0\nfast-pskip=1\nmbtree=0\n"
     "wpredp=0\n"},
    {"libx264-ultrafast_firstpass",
     "coder=0\nflags=-loop\ncmp=+chroma\npartitions=none\nme_method=dia\nsubq=0\n"
     "me_range=16\ng=250\nkeyint_min=25\nsc_threshold=0\ni_qfactor=0.71\nb_strategy=0\n"
     "qcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=0\nrefs=1\ndirect-pred=1\ntrellis=0\n"
     "b-pyramid=none\nmixed-refs=0\nweightb=0\n8x8dct=0\nfast-pskip=1\nmbtree=0\n"
     "wpredp=0\n"},
    {"libx264-veryfast",
     "coder=1\nflags=+loop\ncmp=+chroma\npartitions=i8x8,i4x4,p8x8,b8x8\nme_method=hex\n"
     "subq=2\nme_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\n"
     "b_strategy=1\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=3\nrefs=1\ndirect-pred=1\n"
     "trellis=0\nb-pyramid=normal\nmixed-refs=0\nweightb=1\n8x8dct=1\nfast-pskip=1\n"
     "mbtree=0\nwpredp=0\n"},
    {"libx264-veryfast_firstpass",
     "coder=1\nflags=+loop\ncmp=+chroma\npartitions=none\nme_method=dia\nsubq=2\n"
     "me_range=16\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\nb_strategy=1\n"
     "qcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=3\nrefs=1\ndirect-pred=1\ntrellis=0\n"
     "b-pyramid=normal\nmixed-refs=0\nweightb=1\n8x8dct=0\nfast-pskip=1\nmbtree=0\n"
     "wpredp=0\n"},
    {"libx264-veryslow",
     "coder=1\nflags=+loop\ncmp=+chroma\npartitions=i8x8,i4x4,p8x8,p4x4,b8x8\n"
     "me_method=umh\nsubq=10\nme_range=24\ng=250\nkeyint_min=25\nsc_threshold=40\n"
     "i_qfactor=0.71\nb_strategy=2\nqcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=8\nrefs=16\n"
     "direct-pred=3\ntrellis=2\nb-pyramid=normal\nmixed-refs=1\nweightb=1\n8x8dct=1\n"
     "fast-pskip=1\nwpredp=2\n"},
    {"libx264-veryslow_firstpass",
     "coder=1\nflags=+loop\ncmp=+chroma\npartitions=none\nme_method=dia\nsubq=2\n"
     "me_range=24\ng=250\nkeyint_min=25\nsc_threshold=40\ni_qfactor=0.71\nb_strategy=2\n"
     "qcomp=0.6\nqmin=10\nqmax=51\nqdiff=4\nbf=8\nrefs=1\ndirect-pred=3\ntrellis=0\n"
     "b-pyramid=normal\nmixed-refs=0\nweightb=1\n8x8dct=0\nfast-pskip=1\nwpredp=2\n"},
}};

}  // namespace

const std::array<TOptionsPreset, kBuiltinPresetCount>& BuiltinPresets() {
    return kBuiltinPresets;
}

std::string FindBuiltinPreset(std::string_view name) {
    for (const TOptionsPreset& preset : kBuiltinPresets)
        if (rtl::SameText(preset.Name, name)) return preset.Value;
    return "";
}

void TCustomFFmpeg::ApplyPreset(const std::string& kind, const std::string& presetName) {
    if (kind.empty() || presetName.empty()) return;
    char letter = kind[0];
    std::string displayName = presetName;
    std::string text;
    if (letter != 'f') {
        text = FindBuiltinPreset(presetName);
        if (text.empty()) {
            const std::optional<std::string>& codecName = letter == 'v'   ? Fvideo_codec_name
                                                          : letter == 'a' ? Faudio_codec_name
                                                                          : Fsubtitle_codec_name;
            if (codecName) {
                displayName = *codecName + "-" + presetName;
                text = FindBuiltinPreset(displayName);
            }
        }
    }
    if (text.empty()) {
        if (!sys::FileExists(presetName))
            throw FFmpegException(rtl::Format("Preset \"%s\" not found", presetName));
        std::ifstream file(presetName, std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    std::string normal;
    std::string trimmed = rtl::Trim(text);
    normal.reserve(trimmed.size());
    for (size_t i = 0; i < trimmed.size(); ++i) {
        if (trimmed[i] != '\r') {
            normal += trimmed[i];
            continue;
        }
        normal += '\n';
        if (i + 1 < trimmed.size() && trimmed[i + 1] == '\n') ++i;
    }

    size_t start = 0;
    while (start <= normal.size()) {
        size_t end = normal.find('\n', start);
        if (end == std::string::npos) end = normal.size();
        std::string line = rtl::Trim(std::string_view(normal).substr(start, end - start));
        start = end + 1;
        if (line.empty()) continue;
        size_t equals = line.find('=');
        std::string key = equals == std::string::npos ? line : line.substr(0, equals);
        std::string value = equals == std::string::npos ? "" : line.substr(equals + 1);
        if (key.empty() || value.empty())
            throw FFmpegException(rtl::Format("%s: Invalid syntax: \"%s\"", displayName, line));
        if (rtl::SameText(key, "acodec"))
            SetAudioCodec(value);
        else if (rtl::SameText(key, "vcodec"))
            SetVideoCodec(value);
        else if (rtl::SameText(key, "scodec"))
            SetSubtitleCodec(value);
        else if (!SetCodecOption(FOptions, key, value))
            throw FFmpegException(
                rtl::Format("%s: Invalid option or argument: \"%s\", parsed as \"%s\" = \"%s\"",
                            displayName, line, key, value));
    }
}

}  // namespace media
