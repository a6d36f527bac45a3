// The player's display: the screen image inside the video host, the size requests of the picture
// queue, showing a picture in the display area with its subtitle, the audio displays (wave and
// spectrum) of a file without pictures, and the refresh thread that paces the play thread.
//
// Everything but RefreshThreadProc runs on the play thread; the screen image is the player's
// Fscreen, and every change of it that should be seen is published to the host as a copy.
#pragma once

#include "media/libs/ff_utils.h"
#include "media/player/player_state.h"

namespace media {

struct TDisplayRect {
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    bool operator==(const TDisplayRect&) const = default;
};

// The display aspect: the whole area (aspectRatio < 0), the chosen one (> 0), or the picture's
// own from its pixel aspect.
double DisplayAspect(float aspectRatio, int areaWidth, int areaHeight, AVRational pixelAspect,
                     int pictureWidth, int pictureHeight);
// The largest rectangle of that aspect in the area, even-sized where it is computed, centred.
TDisplayRect DisplayRectangle(int areaWidth, int areaHeight, double aspect);
// Blends a palettised subtitle rectangle (palette entries A, Y, U, V from the high byte down)
// into a YUV 4:2:0 picture of imageWidth x imageHeight; a rectangle that does not fit is cut to
// the picture and moved inside it.
void BlendSubtitleRect(TAVPicture& picture, const AVSubtitleRect& rect, int imageWidth,
                       int imageHeight);

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
// Draws the audio as a wave (show_audio 1) or one more column of its spectrum (2).
void DisplayAudioWave(TVideoState& is);
// The next audio display, on a cleared screen; only once the screen exists.
void ToggleAudioDisplay(TVideoState& is);
// Refresh thread: posts a refresh event whenever the last one was served.
void RefreshThreadProc(TVideoState& is);

}  // namespace media
