#include "platform/rtl/masks.h"

#include <string>
#include <vector>

#include "platform/rtl/exception.h"

namespace rtl {

namespace {

// One code point of UTF-8 at `pos`, moving `pos` past it; a stray byte stands for itself.
char32_t NextChar(std::string_view s, std::size_t& pos) {
    const unsigned char c = static_cast<unsigned char>(s[pos]);
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (extra && pos + extra >= s.size()) extra = 0;
    char32_t cp = extra == 0 ? c : c & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        const unsigned char t = static_cast<unsigned char>(s[pos + i]);
        if ((t & 0xC0) != 0x80) {
            extra = 0;
            cp = c;
            break;
        }
        cp = (cp << 6) | (t & 0x3F);
    }
    pos += 1 + extra;
    return cp;
}

char32_t Lower(char32_t c) {
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}
char32_t Upper(char32_t c) {
    return c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c;
}

struct TRange {
    char32_t First, Last;
};

struct TToken {
    enum TKind { Literal, AnyRun, AnyOne, Set } Kind = Literal;
    char32_t Char = 0;
    bool Negated = false;
    std::vector<TRange> Ranges;

    static TToken Of(TKind kind, char32_t c = 0) {
        TToken t;
        t.Kind = kind;
        t.Char = c;
        return t;
    }

    bool Accepts(char32_t c) const {
        switch (Kind) {
            case Literal:
                return Lower(c) == Lower(Char);
            case AnyOne:
                return true;
            case Set: {
                bool in = false;
                for (const TRange& r : Ranges)
                    for (char32_t v : {c, Lower(c), Upper(c)})
                        if (v >= r.First && v <= r.Last) in = true;
                return in != Negated;
            }
            case AnyRun:
                break;
        }
        return false;
    }
};

std::vector<TToken> Parse(std::string_view mask) {
    std::vector<TToken> tokens;
    std::size_t pos = 0;
    while (pos < mask.size()) {
        const char32_t c = NextChar(mask, pos);
        if (c == '*') {
            // A run of stars is one star: it keeps the backtracking linear.
            if (tokens.empty() || tokens.back().Kind != TToken::AnyRun)
                tokens.push_back(TToken::Of(TToken::AnyRun));
        } else if (c == '?') {
            tokens.push_back(TToken::Of(TToken::AnyOne));
        } else if (c == '[') {
            TToken set = TToken::Of(TToken::Set);
            if (pos < mask.size() && mask[pos] == '!') {
                set.Negated = true;
                ++pos;
            }
            bool closed = false;
            while (pos < mask.size()) {
                const char32_t first = NextChar(mask, pos);
                if (first == ']') {
                    closed = true;
                    break;
                }
                char32_t last = first;
                if (pos + 1 < mask.size() && mask[pos] == '-' && mask[pos + 1] != ']') {
                    ++pos;
                    last = NextChar(mask, pos);
                }
                set.Ranges.push_back({first, last});
            }
            if (!closed) throw EMaskException("'" + std::string(mask) + "' is not a valid mask");
            tokens.push_back(std::move(set));
        } else {
            tokens.push_back(TToken::Of(TToken::Literal, c));
        }
    }
    return tokens;
}

}  // namespace

bool MatchesMask(std::string_view name, std::string_view mask) {
    const std::vector<TToken> tokens = Parse(mask);
    if (mask == "*.*") return true;
    std::vector<char32_t> chars;
    for (std::size_t pos = 0; pos < name.size();) chars.push_back(NextChar(name, pos));

    // Greedy with one backtrack point: the last star and where its run ends so far.
    std::size_t t = 0, c = 0;
    std::size_t starToken = std::string::npos, starChar = 0;
    while (c < chars.size()) {
        if (t < tokens.size() && tokens[t].Kind == TToken::AnyRun) {
            starToken = t++;
            starChar = c;
        } else if (t < tokens.size() && tokens[t].Accepts(chars[c])) {
            ++t;
            ++c;
        } else if (starToken != std::string::npos) {
            t = starToken + 1;
            c = ++starChar;
        } else {
            return false;
        }
    }
    while (t < tokens.size() && tokens[t].Kind == TToken::AnyRun) ++t;
    return t == tokens.size();
}

}  // namespace rtl
