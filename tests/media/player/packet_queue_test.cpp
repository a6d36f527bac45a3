#include "media/player/packet_queue.h"

#include <atomic>
#include <thread>

#include <gtest/gtest.h>

#include "media/libs/ffmpeg_api.h"
#include "media/player/player_test_support.h"

namespace media {
namespace {

class PacketQueueTest : public testing::Test {
protected:
    void SetUp() override {
        test::RequirePlayerLibraries();
        FPacket = lib::av_packet_alloc();
    }
    void TearDown() override { lib::av_packet_free(&FPacket); }

    // Puts a packet of `size` payload bytes filled with `fill`.
    int Put(TPacketQueue& queue, int size, uint8_t fill) {
        AVPacket* packet = lib::av_packet_alloc();
        EXPECT_EQ(lib::av_new_packet(packet, size), 0);
        std::fill(packet->data, packet->data + size, fill);
        int result = queue.PutPacket(packet);
        EXPECT_EQ(packet->data, nullptr) << "the queue takes the payload over";
        lib::av_packet_free(&packet);
        return result;
    }

    AVPacket* FPacket = nullptr;
};

TEST_F(PacketQueueTest, TakesInOrderAndCountsPayloadPlusNode) {
    TPacketQueue queue;
    ASSERT_EQ(Put(queue, 100, 1), 0);
    ASSERT_EQ(Put(queue, 30, 2), 0);
    EXPECT_EQ(queue.Count(), 2);
    EXPECT_EQ(queue.Size(), 130 + 2 * TPacketQueue::kNodeSize);

    TPacketInfo info;
    ASSERT_EQ(queue.GetPacket(FPacket, false, &info), 1);
    EXPECT_EQ(FPacket->size, 100);
    EXPECT_EQ(FPacket->data[99], 1);
    EXPECT_FALSE(info.Flush);
    EXPECT_EQ(queue.Size(), 30 + TPacketQueue::kNodeSize);
    ASSERT_EQ(queue.GetPacket(FPacket, true, &info), 1);
    EXPECT_EQ(FPacket->data[0], 2);
    EXPECT_EQ(queue.Count(), 0);
    EXPECT_EQ(queue.Size(), 0);
}

TEST_F(PacketQueueTest, NonBlockingTakeOnEmptyQueueReturnsZero) {
    TPacketQueue queue;
    EXPECT_EQ(queue.GetPacket(FPacket, false), 0);
    queue.PutFlush();
    queue.GetPacket(FPacket, false);
    EXPECT_EQ(queue.GetPacket(FPacket, false), 0);
}

TEST_F(PacketQueueTest, AbortFailsEveryTakeEvenWithPacketsQueued) {
    TPacketQueue queue;
    Put(queue, 10, 1);
    queue.Abort();
    EXPECT_EQ(queue.GetPacket(FPacket, true), -1);
    EXPECT_EQ(queue.GetPacket(FPacket, false), -1);
    // Flushing keeps the abort; only Init (a stream that opens again) clears it.
    queue.Flush();
    EXPECT_TRUE(queue.Aborted());
    EXPECT_EQ(queue.GetPacket(FPacket, false), -1);
    queue.Init();
    EXPECT_FALSE(queue.Aborted());
    EXPECT_EQ(queue.GetPacket(FPacket, false), 0);
}

TEST_F(PacketQueueTest, AbortWakesABlockedTaker) {
    TPacketQueue queue;
    std::atomic<int> result{1};
    std::thread taker([&] {
        AVPacket* packet = lib::av_packet_alloc();
        result = queue.GetPacket(packet, true);
        lib::av_packet_free(&packet);
    });
    queue.Abort();
    taker.join();
    EXPECT_EQ(result.load(), -1);
}

TEST_F(PacketQueueTest, FlushMarkerCarriesNoPayloadAndRaisesTheSerial) {
    TPacketQueue queue;
    int serial = queue.Serial();
    ASSERT_EQ(queue.PutFlush(), 0);
    ASSERT_EQ(queue.PutFlush(), 0);
    EXPECT_EQ(queue.Serial(), serial + 2);
    EXPECT_EQ(queue.Size(), 2 * TPacketQueue::kNodeSize);
    for (int n = 1; n <= 2; ++n) {
        TPacketInfo info;
        ASSERT_EQ(queue.GetPacket(FPacket, false, &info), 1);
        EXPECT_TRUE(info.Flush);
        EXPECT_EQ(info.Serial, serial + n);
        EXPECT_EQ(FPacket->data, nullptr);
        EXPECT_EQ(FPacket->size, 0);
        EXPECT_EQ(FPacket->buf, nullptr);
    }
}

TEST_F(PacketQueueTest, DataFromBeforeASeekIsDropped) {
    TPacketQueue queue;
    queue.PutFlush();
    Put(queue, 10, 1);
    Put(queue, 10, 2);
    int before = queue.Serial();
    // What the read thread does for a seek.
    queue.Flush();
    queue.PutFlush();
    Put(queue, 10, 3);

    TPacketInfo info;
    ASSERT_EQ(queue.GetPacket(FPacket, false, &info), 1);
    EXPECT_TRUE(info.Flush);
    EXPECT_EQ(info.Serial, before + 1);
    ASSERT_EQ(queue.GetPacket(FPacket, false, &info), 1);
    EXPECT_FALSE(info.Flush);
    EXPECT_EQ(info.Serial, before + 1);
    EXPECT_EQ(FPacket->data[0], 3);
    EXPECT_EQ(queue.GetPacket(FPacket, false), 0);
}

TEST_F(PacketQueueTest, AnEmptyEndPacketIsQueuedAsAPacket) {
    TPacketQueue queue;
    AVPacket* packet = lib::av_packet_alloc();
    packet->stream_index = 3;
    ASSERT_EQ(queue.PutPacket(packet), 0);
    lib::av_packet_free(&packet);
    TPacketInfo info;
    ASSERT_EQ(queue.GetPacket(FPacket, false, &info), 1);
    EXPECT_FALSE(info.Flush);
    EXPECT_EQ(FPacket->size, 0);
    EXPECT_EQ(FPacket->stream_index, 3);
}

}  // namespace
}  // namespace media
