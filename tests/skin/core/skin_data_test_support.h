// Skins built in code for the skin core tests: patterned pictures, a description that holds one
// record of every kind word with every key the tables know set to a value no default has, and
// helpers to compare skins by their written description and their pixels.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/graphics.h"
#include "platform/rtl/inifiles.h"
#include "platform/rtl/strings.h"
#include "platform/rtl/sysutils.h"
#include "skin/core/skin_content.h"
#include "skin/core/skin_description.h"
#include "skin/core/skin_record_keys.h"

namespace skin::test {

// A picture whose every pixel depends on its place and the seed, so a swapped or shifted
// picture never compares equal.
inline std::unique_ptr<gfx::TBitmap> Picture(int width, int height, int seed) {
    auto bitmap = std::make_unique<gfx::TBitmap>();
    bitmap->SetPixelFormat(gfx::pf24bit);
    bitmap->SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = bitmap->ScanLine(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = uint8_t(x * 7 + seed);
            row[3 * x + 1] = uint8_t(y * 13 + seed * 3);
            row[3 * x + 2] = uint8_t((x ^ y) + seed * 5);
        }
    }
    return bitmap;
}

// A 24-bit picture in one colour, and a rectangle of a picture filled with another: the flat
// pictures of every skin the tests build, so a probe tells which part a pixel came from.
inline void FillArea(gfx::TBitmap& picture, const gfx::TRect& area, gfx::TColor color) {
    picture.Canvas().Brush().SetStyle(gfx::bsSolid);
    picture.Canvas().Brush().SetColor(color);
    picture.Canvas().FillRect(area);
}

inline std::unique_ptr<gfx::TBitmap> SolidPicture(int width, int height, gfx::TColor color) {
    auto bitmap = std::make_unique<gfx::TBitmap>();
    bitmap->SetPixelFormat(gfx::pf24bit);
    bitmap->SetSize(width, height);
    FillArea(*bitmap, {0, 0, width, height}, color);
    return bitmap;
}

// Same size and the same colour in every pixel (alpha aside: 24-bit files carry none).
inline bool SamePixels(const gfx::TBitmap& a, const gfx::TBitmap& b) {
    gfx::TImage ia = a.ToImage(), ib = b.ToImage();
    if (ia.Width != ib.Width || ia.Height != ib.Height) return false;
    for (std::size_t i = 0; i < ia.Pixels.size(); ++i)
        if ((ia.Pixels[i] & 0xFFFFFF) != (ib.Pixels[i] & 0xFFFFFF)) return false;
    return true;
}

inline std::vector<std::string> LinesOf(const rtl::TStrings& list) {
    std::vector<std::string> lines;
    for (int i = 0; i < list.Count(); ++i) lines.push_back(list[i]);
    return lines;
}

// The description a skin writes, as lines: equal lines mean equal fields and records.
inline std::vector<std::string> DescriptionLines(const TbsSkinContent& skin) {
    rtl::TMemIniFile ini;
    skin.WriteDescription(ini);
    rtl::TStringList lines;
    ini.GetStrings(lines);
    return LinesOf(lines);
}

inline std::unique_ptr<rtl::TMemIniFile> IniOf(std::string_view text) {
    rtl::TStringList lines;
    lines.SetText(text);
    auto ini = std::make_unique<rtl::TMemIniFile>();
    ini->SetStrings(lines);
    return ini;
}

// --- every key with a value that no default has -------------------------------------------

inline uint32_t KeyHash(std::string_view key) {
    uint32_t h = 2166136261u;
    for (char c : key) h = (h ^ uint8_t(c)) * 16777619u;
    return h;
}

// The text a key of each value type gets in the fixture. Numbers start at 1000, so no default
// (-1, 0, 1, 3, 14, 25, 50, 255, 16711680) is ever hit by chance; the rect's left is negative.
template <class TValue>
std::string FixtureValue(std::string_view key);

template <>
inline std::string FixtureValue<value::Int>(std::string_view key) {
    return rtl::IntToStr(1000 + KeyHash(key) % 9000);
}
template <>
inline std::string FixtureValue<value::Colour>(std::string_view key) {
    return FixtureValue<value::Int>(key);
}
template <>
inline std::string FixtureValue<value::Text>(std::string_view key) {
    return "t-" + std::string(key);
}
template <>
inline std::string FixtureValue<value::Bool>(std::string_view) {
    return "1";
}
template <>
inline std::string FixtureValue<value::Rect>(std::string_view key) {
    uint32_t h = KeyHash(key);
    return FormatRect({-int(h % 50 + 1), int(h % 60 + 1), int(100 + h % 50), int(200 + h % 40)});
}
template <>
inline std::string FixtureValue<value::Point>(std::string_view key) {
    uint32_t h = KeyHash(key);
    return FormatPoint({int(h % 70 + 1), int(h % 80 + 2)});
}
template <>
inline std::string FixtureValue<value::FontStyles>(std::string_view key) {
    return FormatFontStyles(KeyHash(key) % 15 + 1);
}
template <>
inline std::string FixtureValue<value::Stretch>(std::string_view) {
    return "stvert";
}
template <>
inline std::string FixtureValue<value::Effect>(std::string_view) {
    return "ieinvert";
}
template <>
inline std::string FixtureValue<value::Morph>(std::string_view) {
    return "mkpush";
}
template <>
inline std::string FixtureValue<value::Align>(std::string_view) {
    return "taleftjustify";
}
template <>
inline std::string FixtureValue<value::Command>(std::string_view) {
    return "cmclose";
}

// Every key of every record table in lower case (the INI ignores case), with its fixture value.
inline std::map<std::string, std::string> EveryRecordKey() {
    std::map<std::string, std::string> keys;
#define MORADEX_TEST_KEY(type, field, key, def) \
    keys[rtl::LowerCase(key)] = FixtureValue<value::type>(rtl::LowerCase(key));
#define MORADEX_TEST_CLASS_KEYS(Class, Base, KEYS) KEYS(MORADEX_TEST_KEY)
    MORADEX_SKIN_CONTROL_KEYS(MORADEX_TEST_KEY)
    MORADEX_SKIN_OBJECT_KEYS(MORADEX_TEST_KEY)
    MORADEX_SKIN_CONTROL_RECORDS(MORADEX_TEST_CLASS_KEYS)
    MORADEX_SKIN_OBJECT_RECORDS(MORADEX_TEST_CLASS_KEYS)
    MORADEX_SKIN_SINGLETONS(MORADEX_TEST_CLASS_KEYS)
#undef MORADEX_TEST_CLASS_KEYS
#undef MORADEX_TEST_KEY
    return keys;
}

inline std::vector<std::string> ControlKindWords() {
    std::vector<std::string> words;
#define MORADEX_TEST_WORD(word, Class) words.push_back(word);
    MORADEX_SKIN_CONTROL_KINDS(MORADEX_TEST_WORD)
    return words;
}

inline std::vector<std::string> ObjectKindWords() {
    std::vector<std::string> words;
    MORADEX_SKIN_OBJECT_KINDS(MORADEX_TEST_WORD)
#undef MORADEX_TEST_WORD
    return words;
}

// A description with one record of every kind word, named "c-<word>" and "o-<word>", each
// section holding every record key; the singleton sections and colours likewise; the rect of
// the button control's "skinrect" is -10,5,20,30.
inline std::string EveryKindDescription() {
    const std::map<std::string, std::string> keys = EveryRecordKey();
    std::string text =
        "[VERSION]\nver=1\nskinname=Every kind\nskinauthor=Moradex\n"
        "[PICTURES]\npicture=\ninactivepicture=\nmask=\nactivepicturescount=0\n"
        "[FORMINFO]\nclientrect=5,5,100,100\nlefttoppoint=3,3\nrightbottompoint=90,90\n";
    auto section = [&](const std::string& name) {
        text += "[" + name + "]\n";
        for (const auto& [key, value] : keys)
            text += key + "=" + (name == "c-button" && key == "skinrect" ? "-10,5,20,30" : value) +
                    "\n";
    };
    for (const char* name : {"POPUPWINDOW", "LAYERFRAME", "HINTWINDOW"}) section(name);
    text += "[SKINCOLORS]\n";
    for (int i = 0; i < 8; ++i) {
        static const char* const kColors[] = {"cbtnface",      "cbtntext",   "cwindow",
                                              "cwindowtext",   "chighlight", "chighlighttext",
                                              "cbtnhighlight", "cbtnshadow"};
        text += std::string(kColors[i]) + "=" + rtl::IntToStr(0x102030 * (i + 1)) + "\n";
    }
    const std::vector<std::string> objects = ObjectKindWords(), controls = ControlKindWords();
    text += "[SKINOBJECTS]\ncount=" + rtl::IntToStr(int64_t(objects.size())) + "\n";
    for (std::size_t i = 0; i < objects.size(); ++i)
        text += rtl::IntToStr(int64_t(i)) + "=o-" + objects[i] + ":" + objects[i] + "\n";
    text += "[SKINCONTROLS]\ncount=" + rtl::IntToStr(int64_t(controls.size())) + "\n";
    for (std::size_t i = 0; i < controls.size(); ++i)
        text += rtl::IntToStr(int64_t(i)) + "=c-" + controls[i] + ":" + controls[i] + "\n";
    for (const std::string& word : objects) section("o-" + word);
    for (const std::string& word : controls) section("c-" + word);
    return text;
}

// A small complete skin: main and mask pictures (no inactive one), two further pictures, a
// button and a panel record on them, a caption object and a layered frame.
inline TbsSkinContent SampleSkin() {
    auto ini = IniOf(
        "[VERSION]\nskinname=Sample\n"
        "[PICTURES]\npicture=main.bmp\ninactivepicture=\nmask=mask.bmp\n"
        "activepicturescount=2\n0=atlas.bmp\n1=frame.bmp\n"
        "[FORMINFO]\nclientrect=4,20,36,30\nlefttoppoint=4,20\nrighttoppoint=36,20\n"
        "leftbottompoint=4,30\nrightbottompoint=36,30\n"
        "buttonsrect=-10,2,30,12\n"
        "[LAYERFRAME]\npictureindex=1\n"
        "[SKINOBJECTS]\ncount=1\n0=caption:caption\n"
        "[caption]\nskinrect=0,0,40,18\nfontheight=12\n"
        "[SKINCONTROLS]\ncount=2\n0=button:button\n1=panel:panel\n"
        "[button]\npictureindex=0\nskinrect=0,0,20,10\nactiveskinrect=0,10,20,20\n"
        "[panel]\npictureindex=0\nskinrect=20,0,40,20\nlefttoppoint=2,2\n");
    TbsSkinContent skin;
    skin.ReadNames(*ini);
    ReadStringList(*ini, "PICTURES", "activepictures", skin.FActivePicturesNames);
    skin.ReadDescription(*ini);
    skin.FPicture = Picture(40, 32, 1);
    skin.FMask = Picture(40, 32, 2);
    skin.FActivePictures.push_back(Picture(48, 24, 3));
    skin.FActivePictures.push_back(Picture(17, 9, 4));
    return skin;
}

}  // namespace skin::test
