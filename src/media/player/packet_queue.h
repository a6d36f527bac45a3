// The player's packet queue: demultiplexed packets on their way from the read thread to one
// decoder, with the flush marker that tells the decoder the stream position jumped.
//
// Owns the queued packets. The read thread puts (and, while a stream is switched, the caller of
// the switch); one decoder takes. Every call is safe from any thread. Each marker put raises the
// queue's serial, and every item carries the serial it was put under, so a decoder can tell data
// from before a seek from data after it.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>

struct AVPacket;

namespace media {

// What GetPacket took besides the packet.
struct TPacketInfo {
    int Serial = 0;
    bool Flush = false;  // the flush marker: no payload; the decoder drops its buffered state
};

class TPacketQueue {
public:
    TPacketQueue() = default;
    ~TPacketQueue();
    TPacketQueue(const TPacketQueue&) = delete;
    TPacketQueue& operator=(const TPacketQueue&) = delete;

    // Empties the queue and clears the abort flag, for a stream that (re)opens. The serial goes on
    // counting, so nothing taken before still matches.
    void Init();
    // Takes over the packet's content (`packet` is left blank, also on failure) and appends it.
    // -1 when its payload cannot be made the queue's own or no memory is left.
    int PutPacket(AVPacket* packet);
    // Appends the flush marker and raises the serial; -1 without memory.
    int PutFlush();
    // 1: a packet or the marker was taken into `packet` (blank for the marker); 0: nothing queued
    // and `block` is false; -1: the queue is aborted, also when packets are still queued.
    int GetPacket(AVPacket* packet, bool block, TPacketInfo* info = nullptr);
    // Drops every queued packet; the abort flag stays as it is.
    void Flush();
    // Every later take fails; wakes a blocked taker.
    void Abort();

    bool Aborted() const;
    int Serial() const;
    int Count() const;
    // Bytes queued: each packet's payload plus the bookkeeping of its node.
    int Size() const;

    // Bookkeeping bytes counted per node beside the payload.
    static constexpr int kNodeSize = 72;

private:
    struct TNode {
        AVPacket* Packet;  // nullptr for the flush marker
        int Serial;
    };

    int Append(AVPacket* packet, bool flush);
    void DropAll();  // under FLock

    mutable std::mutex FLock;
    std::condition_variable FCond;
    std::deque<TNode> FNodes;
    int FSize = 0;
    int FSerial = 0;
    bool FAbort = false;
};

}  // namespace media
