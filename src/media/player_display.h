// The player's display: the screen image inside the video host, the size requests of the picture
// queue, showing a picture in the display area, and the refresh thread that paces the play
// thread.
//
// Everything but RefreshThreadProc runs on the play thread; the screen image is the player's
// Fscreen, and every change of it that should be seen is published to the host as a copy.
#pragma once

#include "media/player_state.h"

namespace media {

// Sizes the screen: the full-screen size, the chosen screen size, the size of the filtered
// pictures (even), or 640 x 480. Unless forced, a screen of that size stays. 0 or -1.
int OpenVideoMode(TVideoState& is, bool force);
// Serves the video thread's request to prepare the write slot for a new picture size.
void AllocPictureOverlay(TVideoState& is);
// Makes the slot's picture the one shown, and shows it.
void ShowPicture(TVideoState& is, const TPictureSlot& slot);
// Shows what is current: the picture shown last (or, for a file without pictures, the audio
// display).
void DisplayCurrent(TVideoState& is);
void DisplayPicture(TVideoState& is);
// Refresh thread: posts a refresh event whenever the last one was served.
void RefreshThreadProc(TVideoState& is);

}  // namespace media
