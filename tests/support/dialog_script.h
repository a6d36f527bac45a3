// Scripts that drive a modal dialog on the headless screen, one step a line:
//   click X Y      a left click at a client point of the dialog (never taken as a double click)
//   dblclick X Y   two left clicks there, a double click
//   type TEXT      the rest of the line as typed text (UTF-8)
//   key NAME       one key pressed and released (Enter, Esc, Tab, Space, Back, Delete, Up, Down,
//                  Left, Right, Home, End, PageUp, PageDown, F1..F12, A..Z, 0..9), optionally
//                  held with modifiers written before it: shift+Down, ctrl+shift+End
//   wait MS        the virtual clock advanced, 10 ms at a time, the loop running between
//   shot FILE      the dialog's window written as a PNG into the player's shot folder
// Blank lines and lines starting with "#" are skipped. The player queues the steps as idle steps
// of the window layer, so each runs once the dialog's modal loop has handled what the one before
// caused. Main thread; the clock must be the installed manual clock.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sys/clock.h"
#include "platform/win/headless.h"

namespace testsupport {

struct TDialogStep {
    enum class TKind { Click, DblClick, Type, Key, Wait, Shot };
    TKind Kind = TKind::Click;
    int X = 0, Y = 0;            // click, dblclick
    int Value = 0;               // key: the virtual key; wait: milliseconds
    std::vector<int> Modifiers;  // key: the virtual keys held around it, in pressing order
    std::string Text;            // type: the text; shot: the file name
    int Line = 0;
};

// The virtual key of a key name, -1 for none.
int KeyOfName(std::string_view name);

// Throws std::invalid_argument naming the line of the first step it cannot read.
std::vector<TDialogStep> ParseDialogScript(const std::string& text);

class TDialogPlayer {
public:
    // `dialog` gives the dialog's window when a step runs, or null when none is open.
    TDialogPlayer(win::THeadlessBackend& screen, sys::TManualClock& clock,
                  std::function<win::HWND()> dialog, std::string shotFolder = ".");

    // Queues the steps, then one that fails the run when the dialog the last step saw is still
    // open: a script ends by closing its dialog. A step that finds no dialog throws
    // std::runtime_error out of the loop, naming its line.
    void Queue(const std::vector<TDialogStep>& steps);
    // Every queued step has run (false when the dialog closed before the script's end).
    bool Finished() const { return FRan == FQueued; }

private:
    void Push(std::function<void()> step);
    win::HWND Dialog(int line) const;
    void ClickAt(const TDialogStep& step, int clicks);

    win::THeadlessBackend& FScreen;
    sys::TManualClock& FClock;
    std::function<win::HWND()> FDialog;
    std::string FShotFolder;
    std::int64_t FLastClick = -1;  // virtual microseconds of the last click
    int FQueued = 0, FRan = 0;
    win::HWND FLastSeen{};  // the dialog when the last step ran
};

}  // namespace testsupport
