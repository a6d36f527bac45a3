#include "app/legacy_catalogue.h"

namespace app::legacy {

namespace {

// Entries in the order the lists show them, unsorted where the old dialog had them so.

constexpr const char* kRES1[] = {
    "保持原分辨率", "128*96",    "176*144",   "240*176",   "320*240",   "352*240",   "352*288",
    "384*288",      "480*480",   "480*576",   "640*368",   "640*480",   "704*480",   "704*576",
    "720*480",      "720*576",   "800*600",   "852*480",   "1024*768",  "1280*720",  "1280*1024",
    "1600*1024",    "1600*1200", "1920*1080", "1920*1200", "1920*1440", "2048*1536", "2560*1600"};
constexpr const char* kRES2[] = {"112*96",  "128*96",  "160*112", "160*120", "176*144", "192*144",
                                 "208*176", "220*176", "320*208", "320*224", "320*240"};
constexpr const char* kRES3[] = {"该格式无视频"};
constexpr const char* kRES4[] = {"保持原分辨率", "1024*768",  "1280*720",  "1280*1024",
                                 "1600*1024",    "1600*1200", "1920*1080", "1920*1200",
                                 "1920*1440",    "2048*1536", "2560*1600"};
constexpr const char* kRES5[] = {"128*96",  "176*144", "160*120", "320*240",
                                 "352*288", "368*208", "640*480"};
constexpr const char* kRES6[] = {"128*96",  "176*144", "160*120", "320*240", "352*288", "368*208",
                                 "480*320", "480*368", "512*384", "640*272", "640*353", "640*480"};
constexpr const char* kRES8[] = {"128*96",  "176*144", "160*120", "320*240", "352*288",
                                 "368*208", "480*320", "480*368", "512*384", "640*272",
                                 "640*353", "640*480", "720*406"};
constexpr const char* kRES11[] = {"128*96",  "176*144",  "160*120",   "320*240",
                                  "352*288", "368*208",  "480*272",   "640*480",
                                  "704*576", "1280*720", "1440*1080", "1920*1080"};
constexpr const char* kRES12[] = {"320*240", "368*208", "480*272", "640*480", "720*480"};
constexpr const char* kRES13[] = {"112*96",  "128*96",  "160*112", "160*120", "176*144",
                                  "192*144", "208*176", "220*176", "320*208", "320*224",
                                  "320*240", "352*288", "480*360"};
constexpr const char* kRES14[] = {"128*96",  "176*144", "160*120", "320*240",
                                  "352*288", "368*208", "640*480", "1280*720"};
constexpr const char* kRES15[] = {"128*96",  "176*144", "160*120", "320*240", "352*288",
                                  "368*208", "480*272", "640*480", "704*576"};
constexpr const char* kRES16[] = {"1280*720", "1440*1080", "1920*1080"};
constexpr const char* kRES17[] = {"640*480",   "704*576",   "720*480",   "720*576",
                                  "800*600",   "852*480",   "1024*768",  "1280*720",
                                  "1280*1024", "1600*1024", "1600*1200", "1920*1080",
                                  "1920*1200", "1920*1440", "2048*1536", "2560*1600"};
constexpr const char* kRES18[] = {"704*576", "1280*720", "1440*1080", "1920*1080"};
constexpr const char* kRES19[] = {"128*96",   "176*144",   "160*120",  "320*240",
                                  "352*288",  "368*208",   "640*480",  "704*576",
                                  "1280*720", "1440*1080", "1920*1080"};
constexpr const char* kRES20[] = {"160*120", "320*240", "480*272", "640*480", "720*480"};
constexpr const char* kRES21[] = {"320*240", "640*480"};
constexpr const char* kRES22[] = {"保持原分辨率", "128*96",  "176*144", "240*176", "320*240",
                                  "352*240",      "352*288", "384*288", "480*480", "480*576",
                                  "640*368",      "640*480", "704*480", "704*576", "720*480",
                                  "720*576",      "800*600", "852*480", "1024*768"};
constexpr const char* kVBR1[] = {"128 kbps",  "288 kbps",  "528 kbps",  "816 kbps",
                                 "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps"};
constexpr const char* kVBR2[] = {"128 kbps",  "288 kbps",  "528 kbps",  "768 kbps", "816 kbps",
                                 "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps"};
constexpr const char* kVBR3[] = {"128 kbps",  "288 kbps",  "528 kbps",  "816 kbps", "1000 kbps",
                                 "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps"};
constexpr const char* kVBR4[] = {"8 kbps",   "16 kbps",  "24 kbps",  "32 kbps",  "48 kbps",
                                 "56 kbps",  "64 kbps",  "80 kbps",  "96 kbps",  "128 kbps",
                                 "160 kbps", "192 kbps", "256 kbps", "320 kbps", "384 kbps"};
constexpr const char* kVBR5[] = {"128 kbps",  "288 kbps",  "528 kbps",  "600 kbps", "816 kbps",
                                 "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps"};
constexpr const char* kVBR6[] = {"无视频"};
constexpr const char* kVBR7[] = {"816 kbps",  "1200 kbps", "1600 kbps", "1800 kbps",
                                 "2000 kbps", "2500 kbps", "3000 kbps", "4000 kbps"};
constexpr const char* kVBR8[] = {"192 kbps",  "384 kbps",  "600 kbps",  "768 kbps", "1000 kbps",
                                 "1200 kbps", "1500 kbps", "1800 kbps", "2000 kbps"};
constexpr const char* kVBR14[] = {"216 kbps",  "384 kbps",  "512 kbps", "768 kbps",
                                  "1000 kbps", "1200 kbps", "1500 kbps"};
constexpr const char* kVBR15[] = {"8 kbps",   "16 kbps",  "24 kbps",  "32 kbps",  "48 kbps",
                                  "56 kbps",  "64 kbps",  "80 kbps",  "96 kbps",  "128 kbps",
                                  "160 kbps", "192 kbps", "256 kbps", "320 kbps", "384 kbps",
                                  "512 kbps", "600 kbps"};
constexpr const char* kFPS1[] = {"保持原帧速率", "10.00", "13.00", "15.00", "18.00", "20.00",
                                 "23.00",        "23.97", "24.00", "25.00", "29.97", "30.00"};
constexpr const char* kFPS2[] = {"1", "2", "3", "5", "10", "12", "15"};
constexpr const char* kFPS3[] = {"无视频"};
constexpr const char* kFPS4[] = {"保持原帧速率", "25.00", "29.97", "30.00"};
constexpr const char* kFPS5[] = {"保持原帧速率", "10.00", "12.00", "15.00", "20.00",
                                 "23.98",        "24.00", "25.00", "29.97", "30.00"};
constexpr const char* kFPS6[] = {"15.00", "23.98", "29.97"};
constexpr const char* kFPS7[] = {"1", "2", "3", "5", "10", "12", "15", "25"};
constexpr const char* kABR1[] = {"16 kbps",  "24 kbps",  "32 kbps",  "40 kbps",  "48 kbps",
                                 "56 kbps",  "64 kbps",  "80 kbps",  "96 kbps",  "112 kbps",
                                 "128 kbps", "144 kbps", "160 kbps", "192 kbps", "224 kbps",
                                 "256 kbps", "320 kbps"};
constexpr const char* kABR2[] = {"5 kbps", "6 kbps", "7 kbps", "8 kbps", "10 kbps", "12 kbps"};
constexpr const char* kABR3[] = {"4.75 kbps", "5.15 kbps", "5.9 kbps",  "6.7 kbps",
                                 "7.4 kbps",  "7.95 kbps", "10.2 kbps", "12.2 kbps"};
constexpr const char* kABR4[] = {"64 kbps", "96 kbps", "128 kbps", "160 kbps", "192 kbps"};
constexpr const char* kABR5[] = {"48 kbps", "56 kbps",  "64 kbps",  "80 kbps",
                                 "96 kbps", "112 kbps", "116 kbps", "128 kbps"};
constexpr const char* kABR6[] = {"32 kbps", "48 kbps",  "56 kbps",  "64 kbps", "80 kbps",
                                 "96 kbps", "112 kbps", "116 kbps", "128 kbps"};
constexpr const char* kASR1[] = {"11025", "16000", "22050", "32000", "44100", "48000"};
constexpr const char* kASR2[] = {"8000"};
constexpr const char* kASR3[] = {"22050", "32000", "44100", "48000"};
constexpr const char* kASR4[] = {"8000", "11025", "16000", "22050", "32000", "44100", "48000"};
constexpr const char* kASR5[] = {"11025", "22050", "44100"};
constexpr const char* kASP1[] = {"保持原视频模式", "普通视频4:3模式", "宽屏视频16:9模式",
                                 "宽屏视频37:20模式", "宽屏视频47:20模式"};
constexpr const char* kASP2[] = {"保持原视频模式", "普通视频4:3模式"};
constexpr const char* kASP3[] = {"无视频"};

enum TListId : unsigned char {
    RES1,
    RES2,
    RES3,
    RES4,
    RES5,
    RES6,
    RES8,
    RES11,
    RES12,
    RES13,
    RES14,
    RES15,
    RES16,
    RES17,
    RES18,
    RES19,
    RES20,
    RES21,
    RES22,
    VBR1,
    VBR2,
    VBR3,
    VBR4,
    VBR5,
    VBR6,
    VBR7,
    VBR8,
    VBR14,
    VBR15,
    FPS1,
    FPS2,
    FPS3,
    FPS4,
    FPS5,
    FPS6,
    FPS7,
    ABR1,
    ABR2,
    ABR3,
    ABR4,
    ABR5,
    ABR6,
    ASR1,
    ASR2,
    ASR3,
    ASR4,
    ASR5,
    ASP1,
    ASP2,
    ASP3,
};

constexpr TLegacyChoiceList kPool[kLegacyChoiceListCount] = {
    {"RES1", kRES1},   {"RES2", kRES2},   {"RES3", kRES3},   {"RES4", kRES4},   {"RES5", kRES5},
    {"RES6", kRES6},   {"RES8", kRES8},   {"RES11", kRES11}, {"RES12", kRES12}, {"RES13", kRES13},
    {"RES14", kRES14}, {"RES15", kRES15}, {"RES16", kRES16}, {"RES17", kRES17}, {"RES18", kRES18},
    {"RES19", kRES19}, {"RES20", kRES20}, {"RES21", kRES21}, {"RES22", kRES22}, {"VBR1", kVBR1},
    {"VBR2", kVBR2},   {"VBR3", kVBR3},   {"VBR4", kVBR4},   {"VBR5", kVBR5},   {"VBR6", kVBR6},
    {"VBR7", kVBR7},   {"VBR8", kVBR8},   {"VBR14", kVBR14}, {"VBR15", kVBR15}, {"FPS1", kFPS1},
    {"FPS2", kFPS2},   {"FPS3", kFPS3},   {"FPS4", kFPS4},   {"FPS5", kFPS5},   {"FPS6", kFPS6},
    {"FPS7", kFPS7},   {"ABR1", kABR1},   {"ABR2", kABR2},   {"ABR3", kABR3},   {"ABR4", kABR4},
    {"ABR5", kABR5},   {"ABR6", kABR6},   {"ASR1", kASR1},   {"ASR2", kASR2},   {"ASR3", kASR3},
    {"ASR4", kASR4},   {"ASR5", kASR5},   {"ASP1", kASP1},   {"ASP2", kASP2},   {"ASP3", kASP3},
};

constexpr TLegacyChoice C(TListId list, int defaultIndex) {
    return {&kPool[list], defaultIndex};
}

// Columns by catalogue::TPresetParam: frame size, video bit rate, frame rate, audio bit rate,
// sample rate, aspect mode.
constexpr TLegacyChoiceRow kRows[kLegacyPresetCount] = {
    {100, {C(RES1, 0), C(VBR1, 3), C(FPS1, 9), C(ABR1, 10), C(ASR1, 4), C(ASP1, 0)}},
    {101, {C(RES1, 0), C(VBR2, 3), C(FPS1, 9), C(ABR1, 10), C(ASR1, 4), C(ASP1, 0)}},
    {102, {C(RES1, 0), C(VBR3, 4), C(FPS1, 9), C(ABR1, 10), C(ASR1, 4), C(ASP1, 0)}},
    {103, {C(RES1, 0), C(VBR2, 3), C(FPS1, 9), C(ABR1, 10), C(ASR1, 5), C(ASP1, 0)}},
    {104, {C(RES1, 0), C(VBR3, 4), C(FPS1, 0), C(ABR1, 10), C(ASR1, 4), C(ASP1, 0)}},
    {105, {C(RES1, 0), C(VBR1, 4), C(FPS1, 10), C(ABR1, 10), C(ASR1, 4), C(ASP1, 0)}},
    {106, {C(RES1, 4), C(VBR1, 3), C(FPS1, 9), C(ABR1, 10), C(ASR1, 4), C(ASP1, 0)}},
    {107, {C(RES1, 0), C(VBR1, 3), C(FPS1, 9), C(ABR1, 10), C(ASR1, 4), C(ASP1, 0)}},
    {108, {C(RES1, 0), C(VBR1, 3), C(FPS1, 0), C(ABR1, 10), C(ASR1, 5), C(ASP1, 0)}},
    {109, {C(RES2, 4), C(VBR4, 9), C(FPS2, 5), C(ABR2, 5), C(ASR2, 0), C(ASP2, 0)}},
    {110, {C(RES1, 0), C(VBR5, 3), C(FPS1, 9), C(ABR1, 10), C(ASR1, 4), C(ASP1, 0)}},
    {111, {C(RES1, 12), C(VBR1, 4), C(FPS1, 10), C(ABR1, 10), C(ASR1, 4), C(ASP1, 0)}},
    {112, {C(RES1, 8), C(VBR1, 2), C(FPS1, 9), C(ABR1, 10), C(ASR1, 4), C(ASP1, 0)}},
    {113, {C(RES1, 4), C(VBR1, 2), C(FPS1, 9), C(ABR1, 10), C(ASR1, 4), C(ASP1, 0)}},
    {114, {C(RES1, 4), C(VBR1, 2), C(FPS1, 9), C(ABR1, 10), C(ASR1, 4), C(ASP1, 0)}},
    {200, {C(RES3, 0), C(VBR6, 0), C(FPS3, 0), C(ABR1, 10), C(ASR1, 4), C(ASP3, 0)}},
    {201, {C(RES3, 0), C(VBR6, 0), C(FPS3, 0), C(ABR1, 10), C(ASR1, 4), C(ASP3, 0)}},
    {202, {C(RES3, 0), C(VBR6, 0), C(FPS3, 0), C(ABR1, 13), C(ASR1, 5), C(ASP3, 0)}},
    {203, {C(RES3, 0), C(VBR6, 0), C(FPS3, 0), C(ABR1, 10), C(ASR1, 5), C(ASP3, 0)}},
    {204, {C(RES3, 0), C(VBR6, 0), C(FPS3, 0), C(ABR1, 9), C(ASR1, 4), C(ASP3, 0)}},
    {205, {C(RES3, 0), C(VBR6, 0), C(FPS3, 0), C(ABR1, 10), C(ASR1, 4), C(ASP3, 0)}},
    {206, {C(RES3, 0), C(VBR6, 0), C(FPS3, 0), C(ABR1, 9), C(ASR1, 4), C(ASP3, 0)}},
    {207, {C(RES3, 0), C(VBR6, 0), C(FPS3, 0), C(ABR1, 10), C(ASR1, 4), C(ASP3, 0)}},
    {208, {C(RES3, 0), C(VBR6, 0), C(FPS3, 0), C(ABR1, 10), C(ASR1, 4), C(ASP3, 0)}},
    {209, {C(RES3, 0), C(VBR6, 0), C(FPS3, 0), C(ABR1, 10), C(ASR1, 4), C(ASP3, 0)}},
    {210, {C(RES3, 0), C(VBR6, 0), C(FPS3, 0), C(ABR1, 13), C(ASR1, 5), C(ASP3, 0)}},
    {211, {C(RES3, 0), C(VBR6, 0), C(FPS3, 0), C(ABR1, 12), C(ASR1, 5), C(ASP3, 0)}},
    {212, {C(RES3, 0), C(VBR6, 0), C(FPS3, 0), C(ABR3, 4), C(ASR2, 0), C(ASP3, 0)}},
    {300, {C(RES4, 2), C(VBR7, 2), C(FPS4, 2), C(ABR1, 10), C(ASR1, 5), C(ASP1, 0)}},
    {301, {C(RES4, 2), C(VBR7, 1), C(FPS4, 3), C(ABR1, 10), C(ASR1, 5), C(ASP1, 0)}},
    {302, {C(RES4, 2), C(VBR7, 1), C(FPS4, 2), C(ABR1, 13), C(ASR1, 5), C(ASP1, 0)}},
    {303, {C(RES4, 3), C(VBR7, 2), C(FPS4, 3), C(ABR1, 13), C(ASR1, 5), C(ASP1, 0)}},
    {304, {C(RES4, 3), C(VBR7, 2), C(FPS4, 2), C(ABR1, 12), C(ASR1, 5), C(ASP1, 0)}},
    {305, {C(RES4, 3), C(VBR7, 1), C(FPS4, 2), C(ABR1, 10), C(ASR1, 5), C(ASP1, 0)}},
    {306, {C(RES4, 3), C(VBR7, 2), C(FPS4, 2), C(ABR1, 10), C(ASR1, 5), C(ASP1, 0)}},
    {307, {C(RES4, 2), C(VBR7, 1), C(FPS4, 2), C(ABR1, 10), C(ASR1, 5), C(ASP1, 0)}},
    {308, {C(RES4, 3), C(VBR7, 2), C(FPS4, 2), C(ABR1, 10), C(ASR1, 5), C(ASP1, 0)}},
    {309, {C(RES4, 3), C(VBR7, 2), C(FPS4, 3), C(ABR1, 10), C(ASR1, 5), C(ASP1, 0)}},
    {400, {C(RES5, 3), C(VBR8, 4), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {401, {C(RES5, 3), C(VBR8, 2), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {402, {C(RES5, 3), C(VBR8, 3), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {403, {C(RES5, 6), C(VBR8, 3), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {404, {C(RES5, 6), C(VBR8, 3), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {405, {C(RES5, 6), C(VBR8, 5), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {406, {C(RES5, 6), C(VBR8, 2), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {407, {C(RES6, 6), C(VBR8, 3), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {408, {C(RES6, 11), C(VBR8, 3), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {409, {C(RES6, 11), C(VBR8, 5), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {410, {C(RES6, 11), C(VBR8, 2), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {411, {C(RES6, 9), C(VBR8, 3), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 2)}},
    {412, {C(RES6, 3), C(VBR8, 3), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {413, {C(RES6, 6), C(VBR8, 3), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {500, {C(RES6, 6), C(VBR8, 3), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {501, {C(RES6, 11), C(VBR8, 3), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {502, {C(RES8, 12), C(VBR8, 3), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 2)}},
    {503, {C(RES8, 11), C(VBR8, 5), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {504, {C(RES8, 3), C(VBR8, 3), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {505, {C(RES8, 6), C(VBR8, 3), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {600, {C(RES12, 0), C(VBR14, 3), C(FPS6, 2), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {601, {C(RES12, 1), C(VBR14, 4), C(FPS6, 2), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {602, {C(RES12, 1), C(VBR14, 5), C(FPS6, 2), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {603, {C(RES12, 1), C(VBR14, 2), C(FPS6, 2), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {604, {C(RES12, 4), C(VBR14, 4), C(FPS6, 2), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {700, {C(RES2, 4), C(VBR4, 9), C(FPS2, 5), C(ABR2, 5), C(ASR2, 0), C(ASP1, 0)}},
    {701, {C(RES2, 4), C(VBR4, 9), C(FPS2, 5), C(ABR5, 0), C(ASR4, 4), C(ASP1, 0)}},
    {702, {C(RES2, 4), C(VBR4, 9), C(FPS2, 5), C(ABR2, 5), C(ASR2, 0), C(ASP1, 0)}},
    {703, {C(RES2, 4), C(VBR4, 9), C(FPS2, 5), C(ABR5, 0), C(ASR4, 4), C(ASP1, 0)}},
    {704, {C(RES13, 4), C(VBR4, 9), C(FPS2, 5), C(ABR2, 5), C(ASR2, 0), C(ASP1, 0)}},
    {705, {C(RES13, 4), C(VBR4, 9), C(FPS2, 5), C(ABR5, 0), C(ASR4, 4), C(ASP1, 0)}},
    {706, {C(RES13, 4), C(VBR4, 9), C(FPS2, 5), C(ABR5, 0), C(ASR4, 4), C(ASP1, 0)}},
    {707, {C(RES13, 4), C(VBR15, 10), C(FPS7, 6), C(ABR5, 0), C(ASR4, 4), C(ASP1, 0)}},
    {708, {C(RES3, 0), C(VBR6, 0), C(FPS3, 0), C(ABR3, 4), C(ASR2, 0), C(ASP3, 0)}},
    {709, {C(RES13, 4), C(VBR15, 9), C(FPS7, 5), C(ABR6, 0), C(ASR4, 4), C(ASP1, 0)}},
    {710, {C(RES13, 4), C(VBR15, 9), C(FPS7, 5), C(ABR6, 0), C(ASR4, 4), C(ASP1, 0)}},
    {711, {C(RES13, 4), C(VBR15, 9), C(FPS7, 5), C(ABR6, 0), C(ASR4, 4), C(ASP1, 0)}},
    {712, {C(RES13, 4), C(VBR15, 9), C(FPS7, 5), C(ABR6, 0), C(ASR4, 4), C(ASP1, 0)}},
    {713, {C(RES13, 4), C(VBR15, 9), C(FPS7, 5), C(ABR6, 0), C(ASR4, 4), C(ASP1, 0)}},
    {800, {C(RES5, 3), C(VBR8, 3), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {801, {C(RES5, 6), C(VBR8, 3), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {802, {C(RES14, 7), C(VBR8, 6), C(FPS5, 8), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {803, {C(RES5, 6), C(VBR8, 7), C(FPS5, 8), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {804, {C(RES5, 6), C(VBR8, 2), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {900, {C(RES15, 7), C(VBR8, 5), C(FPS5, 8), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {901, {C(RES16, 0), C(VBR8, 5), C(FPS5, 9), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {902, {C(RES16, 0), C(VBR8, 5), C(FPS5, 9), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {903, {C(RES15, 7), C(VBR8, 4), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {904, {C(RES17, 7), C(VBR8, 5), C(FPS5, 9), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {905, {C(RES15, 7), C(VBR8, 5), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {906, {C(RES18, 2), C(VBR8, 7), C(FPS5, 9), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {907, {C(RES19, 8), C(VBR8, 7), C(FPS5, 9), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {908, {C(RES11, 9), C(VBR8, 5), C(FPS5, 8), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {909, {C(RES19, 8), C(VBR8, 7), C(FPS5, 9), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {1000, {C(RES20, 2), C(VBR8, 4), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {1001, {C(RES20, 4), C(VBR8, 4), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {1002, {C(RES20, 1), C(VBR8, 2), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {1003, {C(RES21, 0), C(VBR8, 3), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {1004, {C(RES21, 0), C(VBR8, 3), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {1005, {C(RES21, 0), C(VBR8, 5), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {1006, {C(RES21, 0), C(VBR8, 3), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {1007, {C(RES20, 3), C(VBR8, 3), C(FPS5, 7), C(ABR4, 2), C(ASR3, 3), C(ASP1, 0)}},
    {1100, {C(RES22, 4), C(VBR1, 3), C(FPS1, 9), C(ABR1, 10), C(ASR1, 4), C(ASP1, 0)}},
    {1101, {C(RES1, 0), C(VBR1, 4), C(FPS1, 9), C(ABR1, 10), C(ASR1, 4), C(ASP1, 0)}},
    {1102, {C(RES1, 0), C(VBR1, 4), C(FPS1, 9), C(ABR1, 10), C(ASR1, 4), C(ASP1, 0)}},
    {1103, {C(RES1, 0), C(VBR1, 4), C(FPS1, 10), C(ABR1, 10), C(ASR1, 4), C(ASP1, 0)}},
    {1104, {C(RES1, 0), C(VBR1, 4), C(FPS1, 10), C(ABR1, 10), C(ASR1, 4), C(ASP1, 0)}},
    {1200, {C(RES1, 0), C(VBR1, 3), C(FPS1, 9), C(ABR1, 10), C(ASR5, 1), C(ASP1, 0)}},
    {1201, {C(RES1, 0), C(VBR1, 3), C(FPS1, 9), C(ABR1, 10), C(ASR5, 1), C(ASP1, 0)}},
    {1202, {C(RES3, 0), C(VBR6, 0), C(FPS3, 0), C(ABR1, 10), C(ASR5, 1), C(ASP3, 0)}},
    {1203, {C(RES3, 0), C(VBR6, 0), C(FPS3, 0), C(ABR1, 10), C(ASR5, 1), C(ASP3, 0)}},
};

}  // namespace

bool TLegacyChoiceRow::AudioOnly() const {
    return Choices[catalogue::ppFrameSize].List == &kPool[RES3];
}

std::span<const TLegacyChoiceList> LegacyChoiceListPool() {
    return kPool;
}

std::span<const TLegacyChoiceRow> LegacyChoiceTable() {
    return kRows;
}

const TLegacyChoiceRow* FindLegacyChoices(int presetKey) {
    return FindRowByKey<TLegacyChoiceRow>(kRows, presetKey);
}

}  // namespace app::legacy
