// The FreeType and fontconfig side of text: font objects with their faces and glyph cache.
// Private to the module; its third-party types stay in font_engine.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>

#include "platform/gfx/text.h"

namespace gfx {

struct TGlyph {
    std::uint32_t Index = 0;  // 0: no font has the character
    int Advance = 0;
    int Left = 0;  // bitmap offset from the pen position
    int Top = 0;   // bitmap rows above the baseline
    int Width = 0;
    int Height = 0;
    std::vector<std::uint8_t> Coverage;  // Width * Height, 0..255
};

class TFontObject {
public:
    explicit TFontObject(const TLogFont& font);
    ~TFontObject();

    const TLogFont& LogFont() const { return FLogFont; }
    const TTextMetric& Metrics() const { return FMetrics; }
    int UnderlineOffset() const { return FUnderlineOffset; }  // rows below the baseline
    int UnderlineThickness() const { return FUnderlineThickness; }
    int StrikeOffset() const { return FStrikeOffset; }  // rows above the baseline

    // The glyph of a code point; the reference stays valid while the font lives.
    const TGlyph& Glyph(char32_t c) const;
    int Advance(char32_t c) const { return Glyph(c).Advance; }

private:
    struct TImpl;
    TLogFont FLogFont;
    TTextMetric FMetrics;
    int FUnderlineOffset = 1;
    int FUnderlineThickness = 1;
    int FStrikeOffset = 3;
    std::unique_ptr<TImpl> FImpl;
};

}  // namespace gfx
