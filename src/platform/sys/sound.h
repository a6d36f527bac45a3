// Plays a sound file asynchronously, as the end-of-run "play a sound" action does.
//
// The platform layer has no audio of its own: the program installs its player at start-up (the
// application's SDL player), and tests install a recording one. With none installed nothing
// plays. A player returns at once and keeps any failure to itself (a missing, unreadable or
// undecodable file, no audio device): a sound that cannot play is silence. Sounds are asked for
// on the main thread (a player may bind its library there); installing is for start-up, exit and
// tests, and safe from any thread.
#pragma once

#include <functional>
#include <string>

namespace sys {

using TSoundPlayer = std::function<void(const std::string& fileName)>;

// Hands fileName to the installed player; nothing without one.
void PlaySoundFile(const std::string& fileName);
// Installs a player and returns the previous one; an empty one leaves the program silent.
TSoundPlayer SetSoundPlayer(TSoundPlayer player);

}  // namespace sys
