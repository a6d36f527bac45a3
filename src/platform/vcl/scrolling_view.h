// TScrollingView: what the list box, list view and tree view share as windowed controls that
// paint their rows themselves: a canvas for their paints, the incremental search of typed
// characters, image lists taken by request, and the plain handling of erasing, dialog codes and
// the repaint on focus and enabled changes. Main thread only.
#pragma once

#include <cstdint>
#include <string>

#include "platform/vcl/controls.h"
#include "platform/vcl/img_list.h"

namespace vcl {

class TScrollingView : public TWinControl {
public:
    explicit TScrollingView(TComponent* AOwner);
    void Dispatch(TMessage& Message) override;

protected:
    // Binds the canvas to a paint's DC in the control's font and fills the client area with
    // Color; EndViewPaint lets the DC go.
    void BeginViewPaint(HDC DC);
    void EndViewPaint();
    // Adds a typed character to the search text (a pause starts a new text); false for a
    // control character, which leaves the text as it is.
    bool AddSearchChar(char32_t Key);
    const std::string& SearchText() const { return FSearch; }
    // Answers an image-list request: the list in lParam goes into `slot` (watched for its
    // freeing), the old one is the result.
    void TakeImageList(TCustomImageList*& slot, TMessage& Message);

    gfx::TCanvas FCanvas;

private:
    std::string FSearch;
    std::int64_t FSearchTime = 0;
};

}  // namespace vcl
