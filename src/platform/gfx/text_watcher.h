// A look at every drawn line of text, for the checks that text stays readable: the line, its
// colour and, under each solid pixel of its glyphs, the colour it was drawn over. The watcher is
// called on the drawing thread while it is set; there is one for the process.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/gfx/types.h"

namespace gfx {

struct TTextDrawn {
    std::string Text;
    TColor Color = 0;
    std::vector<TColor> Under;
};

void SetTextWatcher(std::function<void(const TTextDrawn&)> watcher);

// While one lives on a thread, the text it draws is not watched: letters drawn as a mask for an
// effect (a glow's red stencil), never seen as text.
class TUnwatchedText {
public:
    TUnwatchedText();
    ~TUnwatchedText();
    TUnwatchedText(const TUnwatchedText&) = delete;
    TUnwatchedText& operator=(const TUnwatchedText&) = delete;
};

}  // namespace gfx
