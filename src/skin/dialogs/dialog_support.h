// What the folder, file and picture dialogs share: their texts, tool glyphs and folder creation,
// the frame settings and client size every Execute applies, and the life-cycle guard that raises
// OnClose and frees the form whatever way the modal loop ends. Main thread only.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gfx/types.h"
#include "platform/vcl/classes.h"
#include "skin/core/skin_data.h"

namespace skin {

class TbsSkinForm;
class TbsSkinSpeedButton;

// A left past every control already there, so a bar's alignment appends the control at its far end.
constexpr int kAppendToBar = 100000;

// The table's text when the control skin has one (a missing key gives ""), else the built-in one.
std::string DialogText(TbsSkinData* ctrl, const char* key, const char* builtIn);

// The named 16 x 16 glyph onto the button; without that picture the button stays glyphless.
void LoadDialogGlyph(TbsSkinSpeedButton* button, const char* name);

// Creates the folder; rtl::EInOutError when it cannot be made.
void CreateDialogFolder(const std::string& path);

// The frame component's settings of an Execute (the dialog's own properties of those names).
struct TbsDialogFrameSettings {
    TbsSkinData* SkinData = nullptr;
    TbsSkinData* MenusSkinData = nullptr;
    int MinWidth = 0, MinHeight = 0;
    bool AlphaBlend = false;
    std::uint8_t AlphaBlendValue = 200;
    bool AlphaBlendAnimation = false;
};

// No border icons, then the settings onto the form's skin component.
void ApplyDialogFrame(TbsSkinForm* BSF, const TbsDialogFrameSettings& settings);

// The client size the dialog opens with: the stored one (the default where it is 0 or less),
// raised to the frame's minimum when a non-empty frame skin is set.
gfx::TSize DialogClientSize(TbsSkinForm* BSF, TbsSkinData* SkinData, int width, int height,
                            int defaultWidth, int defaultHeight);

// Held for the form's life inside Execute: `slot` names the running form; leaving the scope,
// also by an exception, raises OnClose with the dialog as Sender, frees the form and forgets it.
template <class TForm>
class TbsDialogRun {
public:
    TbsDialogRun(vcl::TComponent* dialog, const vcl::TNotifyEvent& onClose, TForm*& slot,
                 TForm* form)
        : FDialog(dialog), FOnClose(onClose), FSlot(slot), FForm(form) {
        FSlot = form;
    }
    ~TbsDialogRun() {
        if (FOnClose) FOnClose(FDialog);
        FForm->Free();
        FSlot = nullptr;
    }
    TbsDialogRun(const TbsDialogRun&) = delete;
    TbsDialogRun& operator=(const TbsDialogRun&) = delete;

private:
    vcl::TComponent* FDialog;
    const vcl::TNotifyEvent& FOnClose;
    TForm*& FSlot;
    TForm* FForm;
};

}  // namespace skin
