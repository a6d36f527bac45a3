#include "platform/gfx/font_engine.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <unordered_map>

#include <strings.h>

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

namespace gfx {

namespace {

// Names the program asks for that no Linux system has, with the installed font standing in.
struct TFontAlias {
    const char* Name;
    const char* Family;
};
constexpr const char* kSans = "Liberation Sans";
constexpr const char* kCjk = "WenQuanYi Micro Hei";
constexpr TFontAlias kFontAliases[] = {
    {"Arial", kSans},
    {"Tahoma", kSans},
    {"Verdana", kSans},
    {"Segoe UI", kSans},
    {"MS Sans Serif", kSans},
    {"Microsoft Sans Serif", kSans},
    {"MS Shell Dlg", kSans},
    {"MS Shell Dlg 2", kSans},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
    {"宋体", kCjk},
    {"新宋体", kCjk},
    {"SimSun", kCjk},
    {"NSimSun", kCjk},
    {"黑体", kCjk},
    {"SimHei", kCjk},
    {"微软雅黑", kCjk},
    {"Microsoft YaHei", kCjk},
    {"楷体", kCjk},
    {"KaiTi", kCjk},
    {"仿宋", kCjk},
    {"FangSong", kCjk},
};
constexpr int kDefaultHeight = -12;

std::string ResolveFamily(const std::string& name) {
    if (name.empty()) return kSans;
    for (const TFontAlias& alias : kFontAliases)
        if (strcasecmp(alias.Name, name.c_str()) == 0) return alias.Family;
    return name;
}

struct TFontFile {
    std::string Path;
    int Index = 0;
    bool Bold = false;
    bool Italic = false;
};

// Everything below runs under this lock: FreeType's library object and fontconfig's
// configuration are shared by all fonts.
std::mutex& EngineMutex() {
    static std::mutex mutex;
    return mutex;
}

FT_Library Library() {
    static FT_Library library = [] {
        FT_Library lib = nullptr;
        FT_Init_FreeType(&lib);
        FcInit();
        return lib;
    }();
    return library;
}

// The best installed file for a family (or, with c, any family that has c).
std::optional<TFontFile> MatchFont(const std::string& family, bool bold, bool italic,
                                   char32_t c = 0) {
    FcPattern* pattern = FcPatternCreate();
    if (!family.empty())
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    if (c) {
        FcCharSet* set = FcCharSetCreate();
        FcCharSetAddChar(set, c);
        FcPatternAddCharSet(pattern, FC_CHARSET, set);
        FcCharSetDestroy(set);
    }
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match) return std::nullopt;
    std::optional<TFontFile> file;
    FcChar8* path = nullptr;
    FcCharSet* charset = nullptr;
    const bool hasChar =
        !c || (FcPatternGetCharSet(match, FC_CHARSET, 0, &charset) == FcResultMatch &&
               FcCharSetHasChar(charset, c));
    if (hasChar && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) {
        file.emplace();
        file->Path = reinterpret_cast<const char*>(path);
        int value = 0;
        if (FcPatternGetInteger(match, FC_INDEX, 0, &value) == FcResultMatch) file->Index = value;
        // fontconfig reports a bold or italic match it can only fake as the style asked for,
        // with embolden or a slant matrix set; such faces get the style from FreeType here.
        FcBool embolden = FcFalse;
        FcMatrix* slant = nullptr;
        FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden);
        const bool fakeItalic = FcPatternGetMatrix(match, FC_MATRIX, 0, &slant) == FcResultMatch;
        if (FcPatternGetInteger(match, FC_WEIGHT, 0, &value) == FcResultMatch)
            file->Bold = value >= FC_WEIGHT_DEMIBOLD && !embolden;
        if (FcPatternGetInteger(match, FC_SLANT, 0, &value) == FcResultMatch)
            file->Italic = value != FC_SLANT_ROMAN && !fakeItalic;
    }
    FcPatternDestroy(match);
    return file;
}

}  // namespace

struct TFontObject::TImpl {
    struct TFace {
        FT_Face Face = nullptr;
        std::string Path;
        bool SynthBold = false;
        bool SynthItalic = false;
    };
    std::vector<TFace> Faces;  // the chosen font first, then fallbacks as they are needed
    std::unordered_map<char32_t, TGlyph> Glyphs;
    FT_F26Dot6 CharSize = 0;
    bool Bold = false;
    bool Italic = false;

    ~TImpl() {
        for (TFace& f : Faces) FT_Done_Face(f.Face);
    }

    bool AddFace(const TFontFile& file) {
        for (const TFace& f : Faces)
            if (f.Path == file.Path) return false;
        FT_Face face = nullptr;
        if (FT_New_Face(Library(), file.Path.c_str(), file.Index, &face) != 0) return false;
        FT_Select_Charmap(face, FT_ENCODING_UNICODE);
        if (CharSize) FT_Set_Char_Size(face, 0, CharSize, 72, 72);
        Faces.push_back({face, file.Path, Bold && !file.Bold, Italic && !file.Italic});
        return true;
    }

    void Render(const TFace& f, std::uint32_t index, TGlyph& g) {
        if (FT_Load_Glyph(f.Face, index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_NORMAL) != 0) return;
        FT_GlyphSlot slot = f.Face->glyph;
        if (f.SynthItalic) FT_GlyphSlot_Oblique(slot);
        if (f.SynthBold) FT_GlyphSlot_Embolden(slot);
        g.Advance = int((slot->advance.x + 32) >> 6);
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return;
        const FT_Bitmap& bm = slot->bitmap;
        if (bm.pixel_mode != FT_PIXEL_MODE_GRAY) return;
        g.Left = slot->bitmap_left;
        g.Top = slot->bitmap_top;
        g.Width = int(bm.width);
        g.Height = int(bm.rows);
        g.Coverage.resize(std::size_t(g.Width) * g.Height);
        for (int y = 0; y < g.Height; ++y)
            std::memcpy(g.Coverage.data() + std::size_t(y) * g.Width,
                        bm.buffer + std::ptrdiff_t(y) * bm.pitch, std::size_t(g.Width));
    }
};

TFontObject::TFontObject(const TLogFont& font) : FLogFont(font), FImpl(std::make_unique<TImpl>()) {
    TImpl& impl = *FImpl;
    impl.Bold = font.Weight >= 600;
    impl.Italic = font.Italic;
    const std::string family = ResolveFamily(font.FaceName);
    for (const std::string& name : {family, std::string(kCjk)})
        if (auto file = MatchFont(name, impl.Bold, impl.Italic)) impl.AddFace(*file);
    if (impl.Faces.empty()) return;

    FT_Face face = impl.Faces.front().Face;
    const double upem = face->units_per_EM ? face->units_per_EM : 1000;
    double ascentUnits = face->ascender, descentUnits = -face->descender;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->usWinAscent + os2->usWinDescent > 0) {
        ascentUnits = os2->usWinAscent;
        descentUnits = os2->usWinDescent;
    }
    const int height = font.Height ? font.Height : kDefaultHeight;
    double em;
    if (height > 0) {
        em = height * upem / (ascentUnits + descentUnits);
        FMetrics.tmAscent = int(std::lround(ascentUnits * em / upem));
        FMetrics.tmDescent = height - FMetrics.tmAscent;
    } else {
        em = -height;
        FMetrics.tmAscent = int(std::lround(ascentUnits * em / upem));
        FMetrics.tmDescent = int(std::lround(descentUnits * em / upem));
    }
    const double scale = em / upem;
    FMetrics.tmHeight = FMetrics.tmAscent + FMetrics.tmDescent;
    FMetrics.tmInternalLeading = std::max(0, FMetrics.tmHeight - int(std::lround(em)));
    const double lineGap = face->height - (ascentUnits + descentUnits);
    FMetrics.tmExternalLeading = std::max(0, int(std::lround(lineGap * scale)));
    FMetrics.tmMaxCharWidth = int(std::lround(face->max_advance_width * scale));
    FUnderlineOffset = std::max(1, int(std::lround(-face->underline_position * scale)));
    FUnderlineThickness = std::max(1, int(std::lround(face->underline_thickness * scale)));
    FStrikeOffset = os2 && os2->yStrikeoutPosition > 0
                        ? int(std::lround(os2->yStrikeoutPosition * scale))
                        : FMetrics.tmAscent / 3;

    impl.CharSize = FT_F26Dot6(std::lround(em * 64));
    for (const auto& f : impl.Faces) FT_Set_Char_Size(f.Face, 0, impl.CharSize, 72, 72);
    FMetrics.tmAveCharWidth = os2 && os2->xAvgCharWidth > 0
                                  ? int(std::lround(os2->xAvgCharWidth * scale))
                                  : std::max(1, int(std::lround(em / 2)));
}

TFontObject::~TFontObject() {
    std::lock_guard lock(EngineMutex());
    FImpl.reset();
}

const TGlyph& TFontObject::Glyph(char32_t c) const {
    std::lock_guard lock(EngineMutex());
    TImpl& impl = *FImpl;
    if (auto it = impl.Glyphs.find(c); it != impl.Glyphs.end()) return it->second;
    TGlyph& g = impl.Glyphs[c];
    if (c < 0x20 || impl.Faces.empty()) return g;  // control characters take no room
    for (size_t pass = 0; pass < 2; ++pass) {
        for (const auto& f : impl.Faces) {
            if (const FT_UInt index = FT_Get_Char_Index(f.Face, c)) {
                g.Index = index;
                impl.Render(f, index, g);
                return g;
            }
        }
        // Not in the chosen font nor the CJK one: ask fontconfig for any font that has it.
        if (pass > 0) break;
        auto file = MatchFont("", impl.Bold, impl.Italic, c);
        if (!file || !impl.AddFace(*file)) break;
    }
    impl.Render(impl.Faces.front(), 0, g);  // the missing-glyph box
    g.Index = 0;
    return g;
}

}  // namespace gfx

// fontconfig keeps a few bytes of its parsed configuration unreachable for the life of the
// process; the leak checker of sanitizer builds is told so. Weak, so a program-wide list wins.
extern "C" __attribute__((weak)) const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}

namespace gfx {

HFONT CreateFontIndirect(const TLogFont& font) {
    std::lock_guard lock(EngineMutex());
    static std::vector<HFONT> cache;  // made after the mutex, so it goes before it at exit
    Library();
    for (const HFONT& f : cache)
        if (f->LogFont() == font) return f;
    cache.push_back(std::make_shared<const TFontObject>(font));
    return cache.back();
}

HFONT DefaultGuiFont() {
    static const HFONT font = CreateFontIndirect({-11, FW_NORMAL, false, false, false, "Tahoma"});
    return font;
}

}  // namespace gfx
