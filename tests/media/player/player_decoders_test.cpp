#include "media/player/player_decoders.h"

#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "media/player/ff_player.h"
#include "media/player/player_test_support.h"

namespace media {
namespace {

TEST(PlayerSubtitleTest, PaletteEntriesBecomeAlphaYUV) {
    const std::pair<uint32_t, uint32_t> cases[] = {
        {0xFFFFFF00, 0xFFD21092},  // yellow: Y 210, U 16, V 146
        {0x80000000, 0x80108080},  // black keeps its alpha
        {0x00FFFFFF, 0x00EB8080},  // white
        {0xC00000FF, 0xC029F06E},  // blue
    };
    for (auto [argb, ayuv] : cases) EXPECT_EQ(PaletteEntryToYUVA(argb), ayuv) << std::hex << argb;
}

// The audio callback on a state with nothing to decode or with a prepared block of samples.
class AudioCallbackTest : public testing::Test {
protected:
    void SetUp() override {
        test::RequirePlayerLibraries();
        FState = std::make_unique<TVideoState>(&FPlayer);
        FState->audio_tgt_channels = 2;
        FState->audio_tgt_freq = 44100;
    }

    // A block of 16-bit samples as if just decoded and not yet played.
    void Prepare(const std::vector<int16_t>& samples) {
        FSamples = samples;
        FState->audio_buf = reinterpret_cast<uint8_t*>(FSamples.data());
        FState->audio_buf_size = unsigned(FSamples.size() * 2);
        FState->audio_buf_index = 0;
    }
    // What the device gets for `bytes` bytes, from a stream buffer full of old bytes.
    std::vector<int16_t> Pull(int bytes) {
        std::vector<int16_t> stream(size_t(bytes) / 2, 0x5555);
        AudioCallback(*FState, reinterpret_cast<uint8_t*>(stream.data()), bytes);
        return stream;
    }
    static bool Silent(const std::vector<int16_t>& samples) {
        for (int16_t s : samples)
            if (s != 0) return false;
        return true;
    }

    TCustomPlayer FPlayer;
    std::unique_ptr<TVideoState> FState;
    std::vector<int16_t> FSamples;
};

TEST_F(AudioCallbackTest, EmptyQueueGivesSilenceWithoutWaiting) {
    EXPECT_TRUE(Silent(Pull(4096)));
    EXPECT_EQ(FState->audio_buf_size.load(), 1024u);
    EXPECT_EQ(FState->audio_clock.load(), 0) << "the clock stands while nothing is decoded";
}

TEST_F(AudioCallbackTest, PausedGivesSilenceAndLeavesThePacketsQueued) {
    FState->paused = 1;
    FState->audioq.PutFlush();
    FState->audioq.PutFlush();
    EXPECT_TRUE(Silent(Pull(2048)));
    EXPECT_EQ(FState->audioq.Count(), 2);
}

TEST_F(AudioCallbackTest, VolumeAndMute) {
    struct TCase {
        int Volume;
        bool Mute;
        std::vector<int16_t> Expected;
    };
    const std::vector<int16_t> samples = {1000, -1000, 32767, -32768, 7, -7, 0, 2};
    const TCase cases[] = {
        {128, false, samples},
        {64, false, {500, -500, 16383, -16384, 3, -3, 0, 1}},
        {0, false, {0, 0, 0, 0, 0, 0, 0, 0}},
        {128, true, {0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Volume);
        FPlayer.SetAudioVolume(c.Volume);
        FPlayer.SetMute(c.Mute);
        Prepare(samples);
        EXPECT_EQ(Pull(int(samples.size() * 2)), c.Expected);
        EXPECT_EQ(FState->audio_buf_index.load(), int(samples.size() * 2));
    }
}

TEST_F(AudioCallbackTest, ABlockLongerThanTheDeviceBufferIsPlayedOnInLaterCallbacks) {
    Prepare({1, 2, 3, 4, 5, 6});
    EXPECT_EQ(Pull(8), (std::vector<int16_t>{1, 2, 3, 4}));
    // The rest of the block, then silence once the queue turns out empty.
    EXPECT_EQ(Pull(8), (std::vector<int16_t>{5, 6, 0, 0}));
}

}  // namespace
}  // namespace media
