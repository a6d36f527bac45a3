// The base of the media components, and the seek-flag and picture-type types they share.
//
// Plain values; no state, no threads.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace media {

// Base of TFFLogger, the probe, the player and the task manager. Adds nothing; it becomes a
// component of the component library's model once that exists.
class TFFBaseComponent {
public:
    TFFBaseComponent() = default;
    virtual ~TFFBaseComponent() = default;
    TFFBaseComponent(const TFFBaseComponent&) = delete;
    TFFBaseComponent& operator=(const TFFBaseComponent&) = delete;
};

enum TSeekFlag { sfBackward, sfByte, sfAny, sfFrame };

// Set of TSeekFlag; bit n is the library's seek flag 2^n (backward 1, byte 2, any 4, frame 8).
class TSeekFlags {
public:
    constexpr TSeekFlags() = default;
    constexpr TSeekFlags(std::initializer_list<TSeekFlag> flags) {
        for (TSeekFlag flag : flags) FBits = uint8_t(FBits | (1u << flag));
    }
    constexpr bool Contains(TSeekFlag flag) const { return (FBits & (1u << flag)) != 0; }
    constexpr uint8_t Bits() const { return FBits; }
    constexpr bool operator==(const TSeekFlags&) const = default;

private:
    uint8_t FBits = 0;
};

// The library's seek-flags value of the set.
constexpr int SeekFlagsValue(TSeekFlags flags) {
    return flags.Bits() & 0x0F;
}

// Ordinals equal the library's picture-type numbers; 0 is no picture type.
enum TPictureType { ptUnknown, ptI, ptP, ptB, ptS, ptSI, ptSP, ptBI };

}  // namespace media
