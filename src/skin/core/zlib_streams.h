// Stream adapters over zlib for skin packages: TCompressionStream deflates what is written to
// it into a destination stream, TDecompressionStream inflates a source stream as it is read.
// Both work through a fixed 8192-byte buffer and continue the other stream where they last left
// it, so the other stream may be read or written in between. zlib failures raise
// ECompressionError "error" or EDecompressionError "compression error"; calls the adapter
// cannot do raise "Invalid stream operation".
//
// Neither adapter owns the stream it works on. Main thread only, like the skin data.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/rtl/exception.h"
#include "platform/rtl/streams.h"

struct z_stream_s;

namespace skin {

class EZlibError : public rtl::Exception {
public:
    using rtl::Exception::Exception;
};

class ECompressionError : public EZlibError {
public:
    using EZlibError::EZlibError;
};

class EDecompressionError : public EZlibError {
public:
    using EZlibError::EZlibError;
};

// zlib levels 0, 1, its default, and 9.
enum TCompressionLevel { clNone, clFastest, clDefault, clMax };

class TCustomZlibStream : public rtl::TStream {
public:
    using TNotifyEvent = std::function<void(TCustomZlibStream& sender)>;

    ~TCustomZlibStream() override;
    TCustomZlibStream(const TCustomZlibStream&) = delete;
    TCustomZlibStream& operator=(const TCustomZlibStream&) = delete;

    // Runs after every buffer written to the destination or read from the source.
    TNotifyEvent OnProgress;

protected:
    explicit TCustomZlibStream(rtl::TStream& strm);
    virtual void Progress();

    rtl::TStream& FStrm;
    int64_t FStrmPos;
    std::unique_ptr<z_stream_s> FZRec;
    std::array<uint8_t, 8192> FBuffer{};
};

class TCompressionStream : public TCustomZlibStream {
public:
    // Window bits 15, memory level 8, default strategy; output starts at dest's position.
    TCompressionStream(TCompressionLevel compressionLevel, rtl::TStream& dest);
    // Finishes the zlib stream when Finish has not; a failure there cannot be reported, so
    // callers that care call Finish themselves.
    ~TCompressionStream() override;

    // Ends the zlib stream and writes what is left to the destination. Later calls do nothing.
    void Finish();
    // (1 - bytes out / bytes in) * 100, 0 before anything was written.
    float CompressionRate() const;

    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Read(void* buffer, int64_t count) override;
    // Only Seek(0, soFromCurrent), which answers the bytes taken in so far.
    int64_t Seek(int64_t offset, rtl::TSeekOrigin origin) override;
    void SetSize(int64_t size) override;

private:
    void FlushBuffer(std::size_t count);

    bool FFinished = false;
};

class TDecompressionStream : public TCustomZlibStream {
public:
    // Inflates a zlib stream that starts at the source's position.
    explicit TDecompressionStream(rtl::TStream& source);
    ~TDecompressionStream() override;

    // Up to count bytes; fewer only once the zlib stream has ended. Damaged data, and a source
    // that runs out before the stream's end marker, raise EDecompressionError.
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    // Seek(0, soFromBeginning) restarts from position 0 of the source; forward seeks (by 0 or
    // more from the current position, or beyond the bytes produced from the beginning) read
    // and drop; every other seek raises. Answers the bytes produced so far.
    int64_t Seek(int64_t offset, rtl::TSeekOrigin origin) override;
    void SetSize(int64_t size) override;

private:
    void Skip(int64_t count);

    bool FEnded = false;
};

// Rewinds source and deflates all of it at clMax into dest.
void ZlibCompressStream(rtl::TStream& source, rtl::TStream& dest);
// Rewinds source and writes everything it inflates to into dest.
void ZlibDecompressStream(rtl::TStream& dest, rtl::TStream& source);

}  // namespace skin
