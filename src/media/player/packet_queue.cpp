#include "media/player/packet_queue.h"

#include "media/libs/ffmpeg_api.h"

namespace media {

TPacketQueue::~TPacketQueue() {
    std::lock_guard lock(FLock);
    DropAll();
}

void TPacketQueue::Init() {
    std::lock_guard lock(FLock);
    DropAll();
    FAbort = false;
}

int TPacketQueue::PutPacket(AVPacket* packet) {
    AVPacket* own = lib::av_packet_alloc();
    if (own == nullptr) {
        lib::av_packet_unref(packet);
        return -1;
    }
    lib::av_packet_move_ref(own, packet);
    // A demuxer may hand out a packet over its own buffer, valid only until its next read.
    if (lib::av_packet_make_refcounted(own) < 0) {
        lib::av_packet_free(&own);
        return -1;
    }
    int result = Append(own, false);
    if (result < 0) lib::av_packet_free(&own);
    return result;
}

int TPacketQueue::PutFlush() {
    return Append(nullptr, true);
}

int TPacketQueue::Append(AVPacket* packet, bool flush) {
    std::lock_guard lock(FLock);
    if (flush) ++FSerial;
    try {
        FNodes.push_back({packet, FSerial});
    } catch (const std::bad_alloc&) {
        return -1;
    }
    FSize += (packet != nullptr ? packet->size : 0) + kNodeSize;
    FCond.notify_one();
    return 0;
}

int TPacketQueue::GetPacket(AVPacket* packet, bool block, TPacketInfo* info) {
    std::unique_lock lock(FLock);
    for (;;) {
        if (FAbort) return -1;
        if (!FNodes.empty()) {
            TNode node = FNodes.front();
            FNodes.pop_front();
            FSize -= (node.Packet != nullptr ? node.Packet->size : 0) + kNodeSize;
            if (info != nullptr) *info = {node.Serial, node.Packet == nullptr};
            lib::av_packet_unref(packet);
            if (node.Packet != nullptr) {
                lib::av_packet_move_ref(packet, node.Packet);
                lib::av_packet_free(&node.Packet);
            }
            return 1;
        }
        if (!block) return 0;
        FCond.wait(lock);
    }
}

void TPacketQueue::Flush() {
    std::lock_guard lock(FLock);
    DropAll();
}

void TPacketQueue::Abort() {
    std::lock_guard lock(FLock);
    FAbort = true;
    FCond.notify_all();
}

void TPacketQueue::DropAll() {
    // A queue that never held a packet needs no library, so it may outlive the bound cells.
    for (TNode& node : FNodes)
        if (node.Packet != nullptr) lib::av_packet_free(&node.Packet);
    FNodes.clear();
    FSize = 0;
}

bool TPacketQueue::Aborted() const {
    std::lock_guard lock(FLock);
    return FAbort;
}

int TPacketQueue::Serial() const {
    std::lock_guard lock(FLock);
    return FSerial;
}

int TPacketQueue::Count() const {
    std::lock_guard lock(FLock);
    return int(FNodes.size());
}

int TPacketQueue::Size() const {
    std::lock_guard lock(FLock);
    return FSize;
}

}  // namespace media
