#include "platform/gfx/text.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>

#include "platform/gfx/font_engine.h"
#include "platform/gfx/paint.h"
#include "platform/gfx/text_watcher.h"

namespace gfx {

// ---- UTF-8 -----------------------------------------------------------------------------------

std::u32string DecodeUtf8(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    for (size_t i = 0; i < n;) {
        const unsigned char b = p[i];
        int len = b < 0x80             ? 1
                  : (b & 0xE0) == 0xC0 ? 2
                  : (b & 0xF0) == 0xE0 ? 3
                  : (b & 0xF8) == 0xF0 ? 4
                                       : 0;
        char32_t c = len == 1 ? b : len == 2 ? b & 0x1F : len == 3 ? b & 0x0F : b & 0x07;
        bool valid = len > 0 && i + len <= n;
        for (int k = 1; valid && k < len; ++k) {
            valid = (p[i + k] & 0xC0) == 0x80;
            c = (c << 6) | (p[i + k] & 0x3F);
        }
        static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
        if (valid && (c < kMin[len] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))) valid = false;
        if (!valid) {
            out.push_back(b);  // keep the byte as the code point of the same value
            ++i;
            continue;
        }
        out.push_back(c);
        i += size_t(len);
    }
    return out;
}

std::string EncodeUtf8(std::u32string_view text) {
    std::string out;
    for (char32_t c : text) {
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// ---- layout ----------------------------------------------------------------------------------

namespace {

struct TChar {
    char32_t C;
    bool Underline;
};
using TLine = std::vector<TChar>;

struct TLayout {
    const TFontObject& Font;
    bool ExpandTabs;
    int TabWidth;

    int Width(const TLine& line, size_t from = 0, size_t to = SIZE_MAX) const {
        int x = 0;
        to = std::min(to, line.size());
        for (size_t i = from; i < to; ++i) x = Next(x, line[i].C);
        return x;
    }
    int Next(int x, char32_t c) const {
        if (c == U'\t' && ExpandTabs && TabWidth > 0) return (x / TabWidth + 1) * TabWidth;
        return x + Font.Advance(c);
    }
};

HFONT FontOf(HDC dc) {
    return dc->State().Font ? dc->State().Font : DefaultGuiFont();
}

bool IsCjk(char32_t c) {
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) ||
           (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF00 && c <= 0xFFEF) ||
           (c >= 0x20000 && c <= 0x3FFFF);
}

// "&x" underlines x, "&&" is one "&", a final lone "&" is dropped.
TLine ParsePrefixes(const std::u32string& text, unsigned format) {
    TLine out;
    out.reserve(text.size());
    const bool prefixes = !(format & DT_NOPREFIX);
    for (size_t i = 0; i < text.size(); ++i) {
        if (prefixes && text[i] == U'&') {
            if (++i == text.size()) break;
            out.push_back({text[i], text[i] != U'&' && !(format & DT_HIDEPREFIX)});
            continue;
        }
        out.push_back({text[i], false});
    }
    return out;
}

std::vector<TLine> SplitLines(const TLine& text, bool singleLine) {
    std::vector<TLine> lines(1);
    for (size_t i = 0; i < text.size(); ++i) {
        const char32_t c = text[i].C;
        if (c != U'\r' && c != U'\n') {
            lines.back().push_back(text[i]);
            continue;
        }
        if (singleLine) continue;
        if (c == U'\r' && i + 1 < text.size() && text[i + 1].C == U'\n') ++i;
        lines.emplace_back();
    }
    return lines;
}

// A line may break before i: after spaces, or beside a CJK character.
bool CanBreakBefore(const TLine& line, size_t i) {
    const char32_t prev = line[i - 1].C, c = line[i].C;
    if (c == U' ') return false;
    return prev == U' ' || prev == U'\t' || IsCjk(prev) || IsCjk(c);
}

void WrapLine(const TLine& line, int maxWidth, const TLayout& layout, bool breakWords,
              std::vector<TLine>& out) {
    size_t start = 0;
    const size_t n = line.size();
    if (n == 0) out.emplace_back();
    while (start < n) {
        int x = 0;
        size_t lastBreak = SIZE_MAX, i = start;
        bool overflow = false;
        for (; i < n; ++i) {
            if (i > start && CanBreakBefore(line, i)) {
                if (overflow) break;
                lastBreak = i;
            }
            const int next = layout.Next(x, line[i].C);
            if (line[i].C != U' ' && next > maxWidth && i > start && !overflow) {
                if (lastBreak != SIZE_MAX) {
                    i = lastBreak;
                    break;
                }
                if (breakWords) break;
                overflow = true;  // one long word: it runs on to its end
            }
            x = next;
        }
        size_t end = i;
        while (end > start && line[end - 1].C == U' ') --end;
        out.emplace_back(line.begin() + long(start), line.begin() + long(end));
        start = i;
        while (start < n && line[start].C == U' ') ++start;
    }
}

TLine Dots() {
    return {{U'.', false}, {U'.', false}, {U'.', false}};
}

void EndEllipsis(TLine& line, int maxWidth, const TLayout& layout) {
    if (layout.Width(line) <= maxWidth) return;
    const int dots = layout.Width(Dots());
    while (!line.empty() && layout.Width(line) + dots > maxWidth) line.pop_back();
    const TLine d = Dots();
    line.insert(line.end(), d.begin(), d.end());
}

// Keeps the part after the last folder separator and shortens what comes before it.
void PathEllipsis(TLine& line, int maxWidth, const TLayout& layout) {
    if (layout.Width(line) <= maxWidth) return;
    auto sep = std::find_if(line.rbegin(), line.rend(),
                            [](const TChar& c) { return c.C == U'\\' || c.C == U'/'; });
    if (sep == line.rend()) {
        EndEllipsis(line, maxWidth, layout);
        return;
    }
    TLine head(line.begin(), sep.base() - 1), tail(sep.base() - 1, line.end());
    const TLine d = Dots();
    tail.insert(tail.begin(), d.begin(), d.end());
    const int tailWidth = layout.Width(tail);
    while (!head.empty() && layout.Width(head) + tailWidth > maxWidth) head.pop_back();
    head.insert(head.end(), tail.begin(), tail.end());
    line = std::move(head);
}

std::mutex gWatcherLock;
std::function<void(const TTextDrawn&)> gWatcher;
thread_local int gUnwatched = 0;

// Solid enough that the pixel shows the text's own colour.
constexpr std::uint8_t kSolidCoverage = 192;

// Draws one line with its top-left corner at device point (x, y), inside `clip` (device).
void PaintLine(HDC dc, const TFontObject& font, const TLayout& layout, const TLine& line, int x,
               int y, const TRect* clip) {
    TSurface* surface = dc->Surface();
    if (!surface) return;
    const TTextMetric& tm = font.Metrics();
    const std::uint32_t color = detail::ToPixel(dc->State().TextColor);
    const int baseline = y + tm.tmAscent;
    auto limit = [&](TRect r) { return clip ? IntersectRect(r, *clip) : r; };
    std::function<void(const TTextDrawn&)> watcher;
    if (gUnwatched == 0) {
        std::lock_guard lock(gWatcherLock);
        watcher = gWatcher;
    }
    TTextDrawn drawn;
    int pen = 0;
    for (const TChar& ch : line) {
        const TGlyph& g = font.Glyph(ch.C);
        const int gx = x + pen + g.Left, gy = baseline - g.Top;
        if (g.Width > 0)
            detail::ForEachVisible(
                *dc, limit(Bounds(gx, gy, g.Width, g.Height)), [&](const TRect& part) {
                    for (int row = part.Top; row < part.Bottom; ++row) {
                        const std::uint8_t* coverage =
                            g.Coverage.data() + std::size_t(row - gy) * g.Width + (part.Left - gx);
                        if (watcher) {
                            std::vector<std::uint32_t> under(std::size_t(part.Width()));
                            detail::ReadSpan(*surface, part.Left, row, part.Width(), under.data());
                            for (int i = 0; i < part.Width(); ++i)
                                if (coverage[i] >= kSolidCoverage)
                                    drawn.Under.push_back(detail::FromPixel(under[std::size_t(i)]));
                        }
                        detail::BlendCoverage(*surface, part.Left, row, part.Width(), coverage,
                                              color);
                    }
                });
        const int next = layout.Next(pen, ch.C);
        if (ch.Underline)
            detail::FillDevice(
                *dc,
                limit({x + pen, baseline + font.UnderlineOffset(), x + next,
                       baseline + font.UnderlineOffset() + font.UnderlineThickness()}),
                color);
        pen = next;
    }
    if (watcher && !drawn.Under.empty()) {
        std::u32string text;
        for (const TChar& ch : line) text.push_back(ch.C);
        drawn.Text = EncodeUtf8(text);
        drawn.Color = detail::FromPixel(color);
        watcher(drawn);
    }
    const TLogFont& lf = font.LogFont();
    if (lf.Underline)
        detail::FillDevice(*dc,
                           limit({x, baseline + font.UnderlineOffset(), x + pen,
                                  baseline + font.UnderlineOffset() + font.UnderlineThickness()}),
                           color);
    if (lf.StrikeOut)
        detail::FillDevice(*dc,
                           limit({x, baseline - font.StrikeOffset(), x + pen,
                                  baseline - font.StrikeOffset() + font.UnderlineThickness()}),
                           color);
}

TLine PlainLine(std::string_view text) {
    TLine line;
    for (char32_t c : DecodeUtf8(text)) line.push_back({c, false});
    return line;
}

}  // namespace

// ---- calls -----------------------------------------------------------------------------------

TUnwatchedText::TUnwatchedText() {
    ++gUnwatched;
}
TUnwatchedText::~TUnwatchedText() {
    --gUnwatched;
}

void SetTextWatcher(std::function<void(const TTextDrawn&)> watcher) {
    std::lock_guard lock(gWatcherLock);
    gWatcher = std::move(watcher);
}

bool GetTextMetrics(HDC dc, TTextMetric& metrics) {
    metrics = FontOf(dc)->Metrics();
    return true;
}

bool GetTextExtentPoint32(HDC dc, std::string_view text, TSize& size) {
    const HFONT font = FontOf(dc);
    const TLayout layout{*font, false, 0};
    size = {layout.Width(PlainLine(text)), font->Metrics().tmHeight};
    return true;
}

bool ExtTextOut(HDC dc, int x, int y, unsigned options, const TRect* rect, std::string_view text) {
    const HFONT font = FontOf(dc);
    const TLayout layout{*font, false, 0};
    const TLine line = PlainLine(text);
    const TPoint o = dc->Offset();
    const TRect box = Bounds(x + o.X, y + o.Y, layout.Width(line), font->Metrics().tmHeight);
    TRect clip;
    const bool clipped = rect && (options & ETO_CLIPPED);
    if (rect) clip = rect->Offset(o.X, o.Y);
    if (rect && (options & ETO_OPAQUE))
        detail::FillDevice(*dc, clip, detail::ToPixel(dc->State().BkColor));
    else if (dc->State().BkMode == OPAQUE)
        detail::FillDevice(*dc, clipped ? IntersectRect(box, clip) : box,
                           detail::ToPixel(dc->State().BkColor));
    PaintLine(dc, *font, layout, line, box.Left, box.Top, clipped ? &clip : nullptr);
    return true;
}

bool TextOut(HDC dc, int x, int y, std::string_view text) {
    return ExtTextOut(dc, x, y, 0, nullptr, text);
}

int DrawText(HDC dc, std::string_view text, TRect& rect, unsigned format) {
    const HFONT font = FontOf(dc);
    const TTextMetric& tm = font->Metrics();
    const int tabChars = (format & DT_TABSTOP) ? int((format >> 8) & 0xFF) : 8;
    const TLayout layout{*font, (format & DT_EXPANDTABS) != 0, tabChars * tm.tmAveCharWidth};
    const bool singleLine = format & DT_SINGLELINE;
    const int maxWidth = rect.Width();

    std::vector<TLine> lines;
    for (const TLine& line : SplitLines(ParsePrefixes(DecodeUtf8(text), format), singleLine)) {
        if ((format & DT_WORDBREAK) && !singleLine)
            WrapLine(line, maxWidth, layout, format & DT_EDITCONTROL, lines);
        else
            lines.push_back(line);
    }
    for (TLine& line : lines) {
        if (format & DT_PATH_ELLIPSIS) PathEllipsis(line, maxWidth, layout);
        if (format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS)) EndEllipsis(line, maxWidth, layout);
    }

    const int lineHeight = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
    const int total = lineHeight * int(lines.size());
    if (format & DT_CALCRECT) {
        int widest = 0;
        for (const TLine& line : lines) widest = std::max(widest, layout.Width(line));
        rect.Right = rect.Left + widest;
        rect.Bottom = rect.Top + total;
        return total;
    }

    int top = rect.Top;
    if (singleLine && (format & DT_VCENTER)) top = (rect.Top + rect.Bottom - total) / 2;
    if (singleLine && (format & DT_BOTTOM)) top = rect.Bottom - total;
    const TPoint o = dc->Offset();
    const TRect clip = rect.Offset(o.X, o.Y);
    const bool opaque = dc->State().BkMode == OPAQUE;
    int y = top;
    for (const TLine& line : lines) {
        const int width = layout.Width(line);
        int x = rect.Left;
        if (format & DT_CENTER) x = rect.Left + (maxWidth - width) / 2;
        if (format & DT_RIGHT) x = rect.Right - width;
        const TRect box = Bounds(x + o.X, y + o.Y, width, lineHeight);
        const TRect* limit = (format & DT_NOCLIP) ? nullptr : &clip;
        if (opaque)
            detail::FillDevice(*dc, limit ? IntersectRect(box, clip) : box,
                               detail::ToPixel(dc->State().BkColor));
        PaintLine(dc, *font, layout, line, box.Left, box.Top, limit);
        y += lineHeight;
    }
    return (singleLine && (format & (DT_VCENTER | DT_BOTTOM))) ? top + total - rect.Top : total;
}

TSize TabbedTextOut(HDC dc, int x, int y, std::string_view text, int stopCount, const int* tabStops,
                    int tabOrigin) {
    const HFONT font = FontOf(dc);
    const TTextMetric& tm = font->Metrics();
    const TLayout layout{*font, false, 0};
    const int eight = 8 * std::max(1, tm.tmAveCharWidth);
    const int interval = stopCount == 1 && tabStops && tabStops[0] > 0 ? tabStops[0] : eight;
    auto nextStop = [&](int pos) {  // pos counted from tabOrigin
        if (stopCount > 1 && tabStops)
            for (int i = 0; i < stopCount; ++i)
                if (std::abs(tabStops[i]) > pos) return std::abs(tabStops[i]);
        return (pos / interval + 1) * interval;
    };
    // Segments between tabs with the x where each starts.
    std::vector<std::pair<int, TLine>> segments;
    TLine current;
    int start = x, pen = x;
    for (char32_t c : DecodeUtf8(text)) {
        if (c == U'\t') {
            segments.emplace_back(start, std::move(current));
            current.clear();
            pen = tabOrigin + nextStop(pen - tabOrigin);
            start = pen;
            continue;
        }
        current.push_back({c, false});
        pen += font->Advance(c);
    }
    segments.emplace_back(start, std::move(current));
    const int width = segments.back().first + layout.Width(segments.back().second) - x;
    const TPoint o = dc->Offset();
    if (dc->State().BkMode == OPAQUE)
        detail::FillDevice(*dc, Bounds(x + o.X, y + o.Y, width, tm.tmHeight),
                           detail::ToPixel(dc->State().BkColor));
    for (const auto& [left, line] : segments)
        PaintLine(dc, *font, layout, line, left + o.X, y + o.Y, nullptr);
    return {width, tm.tmHeight};
}

std::vector<std::uint32_t> GetGlyphIndices(HDC dc, std::string_view text) {
    const HFONT font = FontOf(dc);
    std::vector<std::uint32_t> indices;
    for (char32_t c : DecodeUtf8(text)) indices.push_back(font->Glyph(c).Index);
    return indices;
}

}  // namespace gfx
