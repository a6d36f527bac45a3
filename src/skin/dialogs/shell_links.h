// The shell tree, list and look-in combo link to each other in pairs; each side keeps the other
// informed, so a link made or broken from either end ends the same.
#pragma once

#include "skin/dialogs/shell_folder.h"

namespace skin {

// Points `field` at `value`, unlinks the old peer, and hands the new one this side's root and
// a link back through `linkBack`.
template <class Self, class Peer>
void LinkShellPeer(Self* self, Peer*& field, Peer* value, const TRoot& root,
                   void (Peer::*linkBack)(Self*)) {
    if (value == field) return;
    Peer* old = field;
    field = value;
    if (old) (old->*linkBack)(nullptr);
    if (value) {
        value->FreeNotification(self);
        value->SetRoot(root);
        (value->*linkBack)(self);
    }
}

// Sets a flag for a scope, so a view that passes a change on to its peers ignores the echo.
class TFlagScope {
public:
    TFlagScope(bool& flag, bool value) : FFlag(flag), FOld(flag) { FFlag = value; }
    ~TFlagScope() { FFlag = FOld; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& FFlag;
    bool FOld;
};

}  // namespace skin
