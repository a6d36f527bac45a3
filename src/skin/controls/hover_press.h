// The pointer state of a part that can be pressed (a scroll bar's or up-down's button, a bar's
// arrow, a combo box's button): under the pointer, and held down. A part held down shows pressed
// only while the pointer is back over it. Plain value; main thread.
#pragma once

namespace skin {

struct TbsHoverPress {
    bool MouseIn = false;
    bool Down = false;

    bool Pressed() const { return Down && MouseIn; }
    // The look that shows: pressed, else hot under the pointer, else normal.
    template <class T>
    const T& Pick(const T& normal, const T& hot, const T& pressed) const {
        return Pressed() ? pressed : MouseIn ? hot : normal;
    }
};

}  // namespace skin
