#include "catalogue/choice_lists.h"

namespace catalogue {

namespace {

// Entries in the order they are added and shown; the index stored for a task row is a position
// in these arrays, so nothing here may be reordered.

constexpr const char* kRES1[] = {
    SKeepResolution, "128*96",    "176*144",   "240*176",   "320*240",   "352*240",   "352*288",
    "384*288",       "480*480",   "480*576",   "640*368",   "640*480",   "704*480",   "704*576",
    "720*480",       "720*576",   "800*600",   "852*480",   "1024*768",  "1280*720",  "1280*1024",
    "1600*1024",     "1600*1200", "1920*1080", "1920*1200", "1920*1440", "2048*1536", "2560*1600",
};
constexpr const char* kRES2[] = {
    "112*96",  "128*96",  "160*112", "160*120", "176*144", "192*144",
    "208*176", "220*176", "320*208", "320*224", "320*240",
};
constexpr const char* kRES3[] = {SNoVideoInFormat};
constexpr const char* kRES4[] = {
    SKeepResolution, "1024*768",  "1280*720",  "1280*1024", "1600*1024", "1600*1200",
    "1920*1080",     "1920*1200", "1920*1440", "2048*1536", "2560*1600",
};
constexpr const char* kRES5[] = {
    "128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "640*480",
};
constexpr const char* kRES6[] = {
    "128*96",  "176*144", "160*120", "320*240", "352*288", "368*208",
    "480*320", "480*368", "512*384", "640*272", "640*353", "640*480",
};
constexpr const char* kRES7[] = {
    SKeepResolution, "128*96",    "176*144",   "160*120",   "320*240", "352*288",  "368*208",
    "480*320",       "480*368",   "512*384",   "640*272",   "640*353", "640*480",  "704*480",
    "704*576",       "720*480",   "720*576",   "800*600",   "852*480", "1024*768", "1280*720",
    "1280*1024",     "1600*1024", "1600*1200", "1920*1080",
};
constexpr const char* kRES8[] = {
    "128*96",  "176*144", "160*120", "320*240", "352*288", "368*208", "480*320",
    "480*368", "512*384", "640*272", "640*353", "640*480", "720*406",
};
constexpr const char* kRES9[] = {
    "128*96",    "176*144",   "160*120",   "320*240",   "352*288", "368*208",  "480*320",
    "480*368",   "512*384",   "640*272",   "640*353",   "640*480", "720*406",  "704*480",
    "704*576",   "720*480",   "720*576",   "800*600",   "852*480", "1024*768", "1280*720",
    "1280*1024", "1600*1024", "1600*1200", "1920*1080",
};
constexpr const char* kRES10[] = {
    SKeepResolution, "128*96",    "176*144",   "240*176",   "320*240",   "352*240",   "352*288",
    "384*288",       "480*480",   "480*576",   "640*368",   "640*480",   "704*480",   "704*576",
    "720*480",       "720*576",   "800*600",   "852*480",   "1024*768",  "1280*720",  "1280*1024",
    "1600*1024",     "1600*1200", "1920*1080", "1920*1200", "2048*1536", "2560*1600",
};
constexpr const char* kRES11[] = {
    "128*96",  "176*144", "160*120", "320*240",  "352*288",   "368*208",
    "480*272", "640*480", "704*576", "1280*720", "1440*1080", "1920*1080",
};
constexpr const char* kRES12[] = {"320*240", "368*208", "480*272", "640*480", "720*480"};
constexpr const char* kRES13[] = {
    "112*96",  "128*96",  "160*112", "160*120", "176*144", "192*144", "208*176",
    "220*176", "320*208", "320*224", "320*240", "352*288", "480*360",
};
constexpr const char* kRES14[] = {
    "128*96", "176*144", "160*120", "320*240", "352*288", "368*208", "640*480", "1280*720",
};
constexpr const char* kRES15[] = {
    "128*96",  "176*144", "160*120", "320*240", "352*288",
    "368*208", "480*272", "640*480", "704*576",
};
constexpr const char* kRES16[] = {"1280*720", "1440*1080", "1920*1080"};
constexpr const char* kRES17[] = {
    "640*480",   "704*576",   "720*480",   "720*576",   "800*600",   "852*480",
    "1024*768",  "1280*720",  "1280*1024", "1600*1024", "1600*1200", "1920*1080",
    "1920*1200", "1920*1440", "2048*1536", "2560*1600",
};
constexpr const char* kRES18[] = {"704*576", "1280*720", "1440*1080", "1920*1080"};
constexpr const char* kRES19[] = {
    "128*96",  "176*144", "160*120",  "320*240",   "352*288",   "368*208",
    "640*480", "704*576", "1280*720", "1440*1080", "1920*1080",
};
constexpr const char* kRES20[] = {"160*120", "320*240", "480*272", "640*480", "720*480"};
constexpr const char* kRES21[] = {"320*240", "640*480"};
constexpr const char* kRES22[] = {
    SKeepResolution, "128*96",  "176*144", "240*176", "320*240",  "352*240", "352*288",
    "384*288",       "480*480", "480*576", "640*368", "640*480",  "704*480", "704*576",
    "720*480",       "720*576", "800*600", "852*480", "1024*768",
};
constexpr const char* kRES23[] = {
    SKeepResolution, "640*480",   "720*480",   "720*576",   "960*540",   "1024*768",  "1280*720",
    "1280*1024",     "1600*1024", "1600*1200", "1920*1080", "1920*1200", "2048*1536", "2560*1600",
};
constexpr const char* kRES24[] = {
    SKeepResolution, "640*480",   "704*480",   "704*576",   "720*480",   "720*576",
    "800*600",       "852*480",   "1024*768",  "1280*720",  "1280*1024", "1600*1024",
    "1600*1200",     "1920*1080", "1920*1200", "2048*1536", "2560*1600",
};
// Position 25 repeats "1920*1200"; with RES1's "1920*1440" there this list would be a copy of
// RES1. The position stays so that indexes 26 and 27 stored for task rows keep their sizes.
constexpr const char* kRES25[] = {
    SKeepResolution, "128*96",    "176*144",   "240*176",   "320*240",   "352*240",   "352*288",
    "384*288",       "480*480",   "480*576",   "640*368",   "640*480",   "704*480",   "704*576",
    "720*480",       "720*576",   "800*600",   "852*480",   "1024*768",  "1280*720",  "1280*1024",
    "1600*1024",     "1600*1200", "1920*1080", "1920*1200", "1920*1200", "2048*1536", "2560*1600",
};
constexpr const char* kRES26[] = {
    SKeepResolution, "128*96",    "176*144",   "160*120",   "320*240",   "352*288",   "368*208",
    "480*320",       "480*368",   "512*384",   "640*272",   "640*353",   "640*480",   "704*480",
    "704*576",       "720*480",   "720*576",   "800*600",   "852*480",   "1024*768",  "1280*720",
    "1280*1024",     "1600*1024", "1600*1200", "1920*1080", "2048*1536", "2560*1600",
};
constexpr const char* kRES27[] = {
    "640*480",   "704*576",   "720*480",   "720*576",   "800*600",
    "852*480",   "1024*768",  "1280*720",  "1280*1024", "1600*1024",
    "1600*1200", "1920*1080", "1920*1200", "2048*1536", "2560*1600",
};
constexpr const char* kRES28[] = {
    SKeepResolution, "640*480",   "704*480",   "704*576",   "720*480",   "720*576",
    "800*600",       "852*480",   "1024*768",  "1280*720",  "1280*1024", "1600*1024",
    "1600*1200",     "1920*1080", "1920*1200", "2048*1536", "2560*1600", "3840*2160",
};
constexpr const char* kRES29[] = {
    SKeepResolution, "128*96",    "176*144",   "160*120",   "320*240",   "352*288",   "368*208",
    "480*320",       "480*368",   "512*384",   "640*272",   "640*353",   "640*480",   "704*480",
    "704*576",       "720*480",   "720*576",   "800*600",   "852*480",   "1024*768",  "1280*720",
    "1280*1024",     "1600*1024", "1600*1200", "1920*1080", "2048*1536", "2560*1600", "3840*2160",
};
constexpr const char* kRES30[] = {
    SKeepResolution, "1024*768",  "1280*720",  "1280*1024", "1600*1024",
    "1600*1200",     "1920*1080", "1920*1200", "2048*1536", "2560*1600",
};
constexpr const char* kRES31[] = {
    SKeepResolution, "640*480",   "704*576",   "720*480",   "720*576",   "800*600",
    "852*480",       "1024*768",  "1280*720",  "1280*1024", "1600*1024", "1600*1200",
    "1920*1080",     "1920*1200", "2048*1536", "2560*1600",
};
constexpr const char* kRES32[] = {
    SKeepResolution, "640*480",   "704*480",   "704*576",   "720*480",   "720*576",
    "800*600",       "852*480",   "1024*768",  "1280*720",  "1280*1024", "1600*1024",
    "1600*1200",     "1920*1080", "2048*1536", "2560*1600",
};
constexpr const char* kRES33[] = {
    SKeepResolution, "480*480",   "480*576",   "640*368",   "640*480",   "704*480",   "704*576",
    "720*480",       "720*576",   "800*600",   "852*480",   "1024*768",  "1280*720",  "1280*1024",
    "1600*1024",     "1600*1200", "1920*1080", "1920*1200", "2048*1536", "2560*1600",
};
constexpr const char* kVBR1[] = {
    "128 kbps",  "288 kbps",  "528 kbps",  "816 kbps",
    "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps",
};
constexpr const char* kVBR2[] = {
    "128 kbps",  "288 kbps",  "528 kbps",  "768 kbps",  "816 kbps",
    "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps",
};
constexpr const char* kVBR3[] = {
    "128 kbps",  "288 kbps",  "528 kbps",  "816 kbps",  "1000 kbps",
    "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps",
};
constexpr const char* kVBR4[] = {
    "8 kbps",  "16 kbps",  "24 kbps",  "32 kbps",  "48 kbps",  "56 kbps",  "64 kbps",  "80 kbps",
    "96 kbps", "128 kbps", "160 kbps", "192 kbps", "256 kbps", "320 kbps", "384 kbps",
};
constexpr const char* kVBR5[] = {
    "128 kbps",  "288 kbps",  "528 kbps",  "600 kbps",  "816 kbps",
    "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps",
};
constexpr const char* kVBR6[] = {SNoVideo};
constexpr const char* kVBR7[] = {
    "816 kbps",  "1200 kbps", "1600 kbps", "1800 kbps",
    "2000 kbps", "2500 kbps", "3000 kbps", "4000 kbps",
};
constexpr const char* kVBR8[] = {
    "192 kbps",  "384 kbps",  "600 kbps",  "768 kbps",  "1000 kbps",
    "1200 kbps", "1500 kbps", "1800 kbps", "2000 kbps",
};
constexpr const char* kVBR9[] = {
    "192 kbps",  "384 kbps",  "600 kbps",  "768 kbps",  "1000 kbps", "1200 kbps",
    "1500 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps",
};
constexpr const char* kVBR10[] = {
    "128 kbps",  "288 kbps",  "528 kbps",  "768 kbps",  "816 kbps",  "1000 kbps",
    "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps",
};
constexpr const char* kVBR11[] = {
    "128 kbps",  "288 kbps",  "528 kbps",  "816 kbps",  "1000 kbps", "1200 kbps",
    "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps", "4000 kbps",
};
constexpr const char* kVBR12[] = {
    "128 kbps",  "288 kbps",  "528 kbps",  "816 kbps",  "1000 kbps", "1200 kbps",
    "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps", "3500 kbps",
};
constexpr const char* kVBR13[] = {
    "192 kbps",  "384 kbps",  "600 kbps",  "768 kbps",  "1000 kbps", "1200 kbps",
    "1500 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps", "4000 kbps",
};
constexpr const char* kVBR14[] = {
    "216 kbps", "384 kbps", "512 kbps", "768 kbps", "1000 kbps", "1200 kbps", "1500 kbps",
};
constexpr const char* kVBR15[] = {
    "8 kbps",   "16 kbps",  "24 kbps",  "32 kbps",  "48 kbps",  "56 kbps",
    "64 kbps",  "80 kbps",  "96 kbps",  "128 kbps", "160 kbps", "192 kbps",
    "256 kbps", "320 kbps", "384 kbps", "512 kbps", "600 kbps",
};
constexpr const char* kVBR16[] = {
    "192 kbps",  "384 kbps",  "600 kbps",  "768 kbps",  "1000 kbps", "1200 kbps",
    "1500 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps", "3500 kbps",
};
constexpr const char* kVBR17[] = {
    "128 kbps",  "288 kbps",  "528 kbps",  "768 kbps",  "816 kbps",  "1200 kbps",
    "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps", "3500 kbps",
};
constexpr const char* kVBR18[] = {
    "128 kbps",  "288 kbps",  "528 kbps",  "768 kbps",  "816 kbps",  "1000 kbps", "1200 kbps",
    "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps", "3500 kbps",
};
constexpr const char* kVBR19[] = {
    "128 kbps",  "288 kbps",  "528 kbps",  "600 kbps",  "816 kbps",  "1200 kbps",
    "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps",
};
constexpr const char* kVBR20[] = {
    "816 kbps",  "1000 kbps", "1200 kbps", "1600 kbps", "1800 kbps",
    "2000 kbps", "2500 kbps", "3000 kbps", "4000 kbps",
};
constexpr const char* kVBR21[] = {
    "528 kbps",  "768 kbps",  "816 kbps",  "1200 kbps", "1600 kbps",
    "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps", "4000 kbps",
};
constexpr const char* kVBR22[] = {
    "128 kbps",  "288 kbps",  "528 kbps",  "600 kbps",  "768 kbps",
    "816 kbps",  "900 kbps",  "1000 kbps", "1200 kbps", "1600 kbps",
    "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps", "3500 kbps",
};
constexpr const char* kVBR23[] = {
    "128 kbps",  "288 kbps",  "528 kbps",  "600 kbps",  "768 kbps",  "816 kbps",
    "900 kbps",  "1000 kbps", "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps",
    "2500 kbps", "3000 kbps", "3500 kbps", "4000 kbps",
};
constexpr const char* kVBR24[] = {
    "128 kbps",  "288 kbps",  "528 kbps",  "816 kbps",  "1200 kbps",
    "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps",
};
constexpr const char* kVBR25[] = {
    "128 kbps",  "288 kbps",  "528 kbps",  "600 kbps",  "816 kbps",
    "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps",
};
constexpr const char* kVBR26[] = {
    "384 kbps",  "600 kbps",  "768 kbps",  "1000 kbps", "1200 kbps", "1500 kbps",
    "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps", "3500 kbps",
};
constexpr const char* kVBR27[] = {
    "192 kbps",  "384 kbps",  "600 kbps",  "768 kbps",  "1000 kbps", "1200 kbps",
    "1500 kbps", "1800 kbps", "2000 kbps", "3000 kbps", "4000 kbps",
};
constexpr const char* kVBR28[] = {
    "128 kbps",  "288 kbps",  "528 kbps",  "816 kbps",  "1200 kbps",
    "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps",
};
constexpr const char* kVBR29[] = {
    "128 kbps",  "288 kbps",  "528 kbps",  "768 kbps",  "816 kbps",  "1200 kbps",
    "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps",
};
constexpr const char* kVBR30[] = {
    "600 kbps",  "768 kbps",  "1000 kbps", "1200 kbps", "1500 kbps",
    "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps", "3500 kbps",
};
constexpr const char* kVBR31[] = {
    "600 kbps",  "768 kbps",  "1000 kbps", "1200 kbps", "1500 kbps", "1800 kbps",
    "2000 kbps", "2500 kbps", "3000 kbps", "3500 kbps", "4000 kbps",
};
constexpr const char* kVBR32[] = {
    "128 kbps",  "288 kbps",  "528 kbps",  "600 kbps",  "816 kbps",  "1000 kbps",
    "1200 kbps", "1600 kbps", "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps",
};
constexpr const char* kVBR33[] = {
    "528 kbps",  "600 kbps",  "816 kbps",  "1000 kbps", "1200 kbps", "1600 kbps",
    "1800 kbps", "2000 kbps", "2500 kbps", "3000 kbps", "4000 kbps",
};
constexpr const char* kVBR34[] = {
    "528 kbps",  "768 kbps",  "816 kbps",  "1200 kbps", "1600 kbps",
    "1800 kbps", "2000 kbps", "3000 kbps", "4000 kbps",
};
constexpr const char* kVBR35[] = {
    "528 kbps",  "600 kbps",  "816 kbps",  "1200 kbps", "1600 kbps",
    "1800 kbps", "2000 kbps", "3000 kbps", "4000 kbps",
};
constexpr const char* kFPS1[] = {
    SKeepFrameRate, "10.00", "13.00", "15.00", "18.00", "20.00",
    "23.00",        "23.97", "24.00", "25.00", "29.97", "30.00",
};
constexpr const char* kFPS2[] = {"1", "2", "3", "5", "10", "12", "15"};
constexpr const char* kFPS3[] = {SNoVideo};
constexpr const char* kFPS4[] = {SKeepFrameRate, "25.00", "29.97", "30.00"};
constexpr const char* kFPS5[] = {
    SKeepFrameRate, "10.00", "12.00", "15.00", "20.00", "23.98", "24.00", "25.00", "29.97", "30.00",
};
constexpr const char* kFPS6[] = {"15.00", "23.98", "29.97"};
constexpr const char* kFPS7[] = {"1", "2", "3", "5", "10", "12", "15", "25"};
constexpr const char* kFPS8[] = {SKeepFrameRate, "23.98", "24.00", "25.00", "29.97", "30.00"};
constexpr const char* kABR1[] = {
    "16 kbps",  "24 kbps",  "32 kbps",  "40 kbps",  "48 kbps",  "56 kbps",
    "64 kbps",  "80 kbps",  "96 kbps",  "112 kbps", "128 kbps", "144 kbps",
    "160 kbps", "192 kbps", "224 kbps", "256 kbps", "320 kbps",
};
constexpr const char* kABR2[] = {"5 kbps", "6 kbps", "7 kbps", "8 kbps", "10 kbps", "12 kbps"};
constexpr const char* kABR3[] = {
    "4.75 kbps", "5.15 kbps", "5.9 kbps",  "6.7 kbps",
    "7.4 kbps",  "7.95 kbps", "10.2 kbps", "12.2 kbps",
};
constexpr const char* kABR4[] = {"64 kbps", "96 kbps", "128 kbps", "160 kbps", "192 kbps"};
constexpr const char* kABR5[] = {
    "48 kbps", "56 kbps", "64 kbps", "80 kbps", "96 kbps", "112 kbps", "116 kbps", "128 kbps",
};
constexpr const char* kABR6[] = {
    "32 kbps", "48 kbps",  "56 kbps",  "64 kbps",  "80 kbps",
    "96 kbps", "112 kbps", "116 kbps", "128 kbps",
};
constexpr const char* kASR1[] = {"11025", "16000", "22050", "32000", "44100", "48000"};
constexpr const char* kASR2[] = {"8000"};
constexpr const char* kASR3[] = {"22050", "32000", "44100", "48000"};
constexpr const char* kASR4[] = {"8000", "11025", "16000", "22050", "32000", "44100", "48000"};
constexpr const char* kASR5[] = {"11025", "22050", "44100"};
constexpr const char* kASR6[] = {"22050", "24000", "32000", "44100", "48000"};
constexpr const char* kASP1[] = {
    SKeepVideoMode, SAspect4x3, SAspect16x9, SAspect37x20, SAspect47x20,
};
constexpr const char* kASP2[] = {SKeepVideoMode, SAspect4x3};
constexpr const char* kASP3[] = {SNoVideo};

}  // namespace

constexpr TChoiceList kChoiceListPool[kChoiceListCount] = {
    {"RES1", kRES1},   {"RES2", kRES2},   {"RES3", kRES3},   {"RES4", kRES4},   {"RES5", kRES5},
    {"RES6", kRES6},   {"RES7", kRES7},   {"RES8", kRES8},   {"RES9", kRES9},   {"RES10", kRES10},
    {"RES11", kRES11}, {"RES12", kRES12}, {"RES13", kRES13}, {"RES14", kRES14}, {"RES15", kRES15},
    {"RES16", kRES16}, {"RES17", kRES17}, {"RES18", kRES18}, {"RES19", kRES19}, {"RES20", kRES20},
    {"RES21", kRES21}, {"RES22", kRES22}, {"RES23", kRES23}, {"RES24", kRES24}, {"RES25", kRES25},
    {"RES26", kRES26}, {"RES27", kRES27}, {"RES28", kRES28}, {"RES29", kRES29}, {"RES30", kRES30},
    {"RES31", kRES31}, {"RES32", kRES32}, {"RES33", kRES33}, {"VBR1", kVBR1},   {"VBR2", kVBR2},
    {"VBR3", kVBR3},   {"VBR4", kVBR4},   {"VBR5", kVBR5},   {"VBR6", kVBR6},   {"VBR7", kVBR7},
    {"VBR8", kVBR8},   {"VBR9", kVBR9},   {"VBR10", kVBR10}, {"VBR11", kVBR11}, {"VBR12", kVBR12},
    {"VBR13", kVBR13}, {"VBR14", kVBR14}, {"VBR15", kVBR15}, {"VBR16", kVBR16}, {"VBR17", kVBR17},
    {"VBR18", kVBR18}, {"VBR19", kVBR19}, {"VBR20", kVBR20}, {"VBR21", kVBR21}, {"VBR22", kVBR22},
    {"VBR23", kVBR23}, {"VBR24", kVBR24}, {"VBR25", kVBR25}, {"VBR26", kVBR26}, {"VBR27", kVBR27},
    {"VBR28", kVBR28}, {"VBR29", kVBR29}, {"VBR30", kVBR30}, {"VBR31", kVBR31}, {"VBR32", kVBR32},
    {"VBR33", kVBR33}, {"VBR34", kVBR34}, {"VBR35", kVBR35}, {"FPS1", kFPS1},   {"FPS2", kFPS2},
    {"FPS3", kFPS3},   {"FPS4", kFPS4},   {"FPS5", kFPS5},   {"FPS6", kFPS6},   {"FPS7", kFPS7},
    {"FPS8", kFPS8},   {"ABR1", kABR1},   {"ABR2", kABR2},   {"ABR3", kABR3},   {"ABR4", kABR4},
    {"ABR5", kABR5},   {"ABR6", kABR6},   {"ASR1", kASR1},   {"ASR2", kASR2},   {"ASR3", kASR3},
    {"ASR4", kASR4},   {"ASR5", kASR5},   {"ASR6", kASR6},   {"ASP1", kASP1},   {"ASP2", kASP2},
    {"ASP3", kASP3},
};

std::span<const TChoiceList> ChoiceListPool() {
    return kChoiceListPool;
}

const TChoiceList& ChoiceList(TChoiceListId id) {
    return kChoiceListPool[id];
}

}  // namespace catalogue
