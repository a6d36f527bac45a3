#include "support/dialog_script.h"

#include <sstream>

#include "platform/win/win.h"

namespace testsupport {

namespace {

struct TKeyName {
    std::string_view Name;
    int Key;
};

constexpr TKeyName kKeys[] = {
    {"Enter", win::VK_RETURN}, {"Esc", win::VK_ESCAPE},    {"Tab", win::VK_TAB},
    {"Space", win::VK_SPACE},  {"Back", win::VK_BACK},     {"Delete", win::VK_DELETE},
    {"Up", win::VK_UP},        {"Down", win::VK_DOWN},     {"Left", win::VK_LEFT},
    {"Right", win::VK_RIGHT},  {"Home", win::VK_HOME},     {"End", win::VK_END},
    {"PageUp", win::VK_PRIOR}, {"PageDown", win::VK_NEXT},
};

[[noreturn]] void Fail(int line, const std::string& why) {
    throw std::invalid_argument("line " + std::to_string(line) + ": " + why);
}

int Number(const std::string& word, int line) {
    std::size_t used = 0;
    int value = 0;
    try {
        value = std::stoi(word, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != word.size()) Fail(line, "\"" + word + "\" is not a number");
    return value;
}

}  // namespace

int KeyOfName(std::string_view name) {
    for (const TKeyName& k : kKeys)
        if (k.Name == name) return k.Key;
    if (name.size() == 1 &&
        ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= '0' && name[0] <= '9')))
        return name[0];
    if (name.size() >= 2 && name[0] == 'F') {
        int n = 0;
        for (char c : name.substr(1)) {
            if (c < '0' || c > '9') return -1;
            n = n * 10 + (c - '0');
        }
        if (n >= 1 && n <= 12) return win::VK_F1 + n - 1;
    }
    return -1;
}

std::vector<TDialogStep> ParseDialogScript(const std::string& text) {
    std::vector<TDialogStep> steps;
    std::istringstream in(text);
    std::string raw;
    for (int line = 1; std::getline(in, raw); ++line) {
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        const std::size_t start = raw.find_first_not_of(" \t");
        if (start == std::string::npos || raw[start] == '#') continue;
        const std::size_t verbEnd = raw.find_first_of(" \t", start);
        const std::string verb = raw.substr(start, verbEnd - start);
        std::string rest = verbEnd == std::string::npos ? std::string() : raw.substr(verbEnd + 1);
        std::istringstream words(rest);
        std::vector<std::string> args;
        for (std::string w; words >> w;) args.push_back(w);

        TDialogStep step;
        step.Line = line;
        auto want = [&](std::size_t n) {
            if (args.size() != n)
                Fail(line, verb + " takes " + std::to_string(n) + " argument(s), not " +
                               std::to_string(args.size()));
        };
        if (verb == "click" || verb == "dblclick") {
            want(2);
            step.Kind = verb == "click" ? TDialogStep::TKind::Click : TDialogStep::TKind::DblClick;
            step.X = Number(args[0], line);
            step.Y = Number(args[1], line);
        } else if (verb == "type") {
            if (rest.empty()) Fail(line, "type needs a text");
            step.Kind = TDialogStep::TKind::Type;
            step.Text = rest;
        } else if (verb == "key") {
            want(1);
            step.Kind = TDialogStep::TKind::Key;
            std::string_view name = args[0];
            for (std::size_t plus; (plus = name.find('+')) != std::string_view::npos && plus > 0;
                 name.remove_prefix(plus + 1)) {
                const std::string_view modifier = name.substr(0, plus);
                const int vk = modifier == "shift"  ? win::VK_SHIFT
                               : modifier == "ctrl" ? win::VK_CONTROL
                               : modifier == "alt"  ? win::VK_MENU
                                                    : -1;
                if (vk < 0) Fail(line, "no modifier is named \"" + std::string(modifier) + "\"");
                step.Modifiers.push_back(vk);
            }
            step.Value = KeyOfName(name);
            if (step.Value < 0) Fail(line, "no key is named \"" + std::string(name) + "\"");
        } else if (verb == "wait") {
            want(1);
            step.Kind = TDialogStep::TKind::Wait;
            step.Value = Number(args[0], line);
            if (step.Value < 0) Fail(line, "wait needs a time of 0 ms or more");
        } else if (verb == "shot") {
            want(1);
            step.Kind = TDialogStep::TKind::Shot;
            step.Text = args[0];
        } else {
            Fail(line, "no step is called \"" + verb + "\"");
        }
        steps.push_back(std::move(step));
    }
    return steps;
}

TDialogPlayer::TDialogPlayer(win::THeadlessBackend& screen, sys::TManualClock& clock,
                             std::function<win::HWND()> dialog, std::string shotFolder)
    : FScreen(screen),
      FClock(clock),
      FDialog(std::move(dialog)),
      FShotFolder(std::move(shotFolder)) {}

win::HWND TDialogPlayer::Dialog(int line) const {
    const win::HWND h = FDialog();
    if (!h) throw std::runtime_error("line " + std::to_string(line) + ": no dialog is open");
    return h;
}

void TDialogPlayer::ClickAt(const TDialogStep& step, int clicks) {
    win::TPoint p{step.X, step.Y};
    win::ClientToScreen(Dialog(step.Line), p);
    // Clicks of separate steps stand alone, however little virtual time lies between them.
    const std::int64_t gap = std::int64_t(win::GetDoubleClickTime()) * 1000 + 1000;
    if (FLastClick >= 0 && FClock.NowMicros() - FLastClick < gap)
        FClock.Advance(gap - (FClock.NowMicros() - FLastClick));
    FScreen.MouseMove(p);
    for (int i = 0; i < clicks; ++i) FScreen.Click(p);
    FLastClick = FClock.NowMicros();
}

void TDialogPlayer::Push(std::function<void()> step) {
    ++FQueued;
    FScreen.QueueIdleStep([this, step = std::move(step)] {
        step();
        ++FRan;
        FLastSeen = FDialog();
    });
}

void TDialogPlayer::Queue(const std::vector<TDialogStep>& steps) {
    FLastSeen = FDialog();
    for (const TDialogStep& step : steps) {
        switch (step.Kind) {
            case TDialogStep::TKind::Click:
            case TDialogStep::TKind::DblClick:
                Push([this, step] {
                    ClickAt(step, step.Kind == TDialogStep::TKind::Click ? 1 : 2);
                });
                break;
            case TDialogStep::TKind::Type:
                Push([this, step] {
                    Dialog(step.Line);
                    FScreen.Text(step.Text);
                });
                break;
            case TDialogStep::TKind::Key:
                Push([this, step] {
                    Dialog(step.Line);
                    for (int m : step.Modifiers) FScreen.KeyDown(m);
                    FScreen.KeyPress(step.Value);
                    for (auto m = step.Modifiers.rbegin(); m != step.Modifiers.rend(); ++m)
                        FScreen.KeyUp(*m);
                });
                break;
            case TDialogStep::TKind::Wait:
                for (int left = step.Value; left > 0; left -= 10) {
                    const int slice = std::min(left, 10);
                    Push([this, slice] { FClock.Advance(std::int64_t(slice) * 1000); });
                }
                break;
            case TDialogStep::TKind::Shot:
                Push([this, step] {
                    std::string error;
                    const std::string file = FShotFolder + "/" + step.Text;
                    if (!FScreen.SaveWindowShot(Dialog(step.Line), file, &error))
                        throw std::runtime_error("line " + std::to_string(step.Line) +
                                                 ": cannot write " + file + ": " + error);
                });
                break;
        }
    }
    FScreen.QueueIdleStep([this] {
        if (FDialog()) throw std::runtime_error("the script ended with the dialog still open");
    });
}

}  // namespace testsupport
