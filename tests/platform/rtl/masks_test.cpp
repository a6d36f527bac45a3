#include "platform/rtl/masks.h"

#include <gtest/gtest.h>

#include "platform/rtl/exception.h"

namespace {

struct TMaskCase {
    const char* Name;
    const char* Mask;
    bool Matches;
};

TEST(MatchesMask, StarsMarksSetsAndLetterCase) {
    const TMaskCase cases[] = {
        {"a.MP3", "*.mp3", true},
        {"a.mp3", "*.MP3", true},
        {"a.mp3x", "*.mp3", false},
        {"noext", "*.*", true},
        {".hidden", "*.*", true},
        {"", "*.*", true},
        {"noext", "*", true},
        {"", "*", true},
        {"", "?", false},
        {"b1.wav", "[a-c]?.wav", true},
        {"d1.wav", "[a-c]?.wav", false},
        {"B1.wav", "[a-c]?.wav", true},
        {"abc", "[!a]*", false},
        {"xbc", "[!a]*", true},
        {"Abc", "[!a]*", false},
        {"a-b", "a[-]b", true},
        {"ab", "a[]b", false},
        {"song.tar.gz", "*.gz", true},
        {"aXbXc", "a*b*c", true},
        {"aXbX", "a*b*c", false},
        {"abcbc", "*bc", true},
        {"歌曲.mp3", "??.mp3", true},
        {"歌曲.mp3", "?.mp3", false},
        {"歌曲.mp3", "歌*", true},
        {"É.mp3", "é.mp3", false},  // only ASCII letters fold
        {" a.aiff", " *.aiff", true},
        {"a.aiff", " *.aiff", false},
    };
    for (const TMaskCase& c : cases)
        EXPECT_EQ(rtl::MatchesMask(c.Name, c.Mask), c.Matches) << c.Name << " / " << c.Mask;
}

TEST(MatchesMask, UnclosedSetRaisesWhateverTheName) {
    for (const char* name : {"abc", "x", ""}) {
        try {
            rtl::MatchesMask(name, "a[bc");
            ADD_FAILURE() << "no exception for " << name;
        } catch (const rtl::EMaskException& e) {
            EXPECT_EQ(e.Message(), "'a[bc' is not a valid mask");
        }
    }
    EXPECT_THROW(rtl::MatchesMask("a", "[!"), rtl::EMaskException);
}

}  // namespace
