#include "skin/core/zlib_streams.h"

#define ZLIB_CONST
#include <zlib.h>

#include <algorithm>
#include <limits>

namespace skin {

namespace {

constexpr const char* kInvalidOperation = "Invalid stream operation";

int ZlibLevel(TCompressionLevel level) {
    switch (level) {
        case clNone:
            return Z_NO_COMPRESSION;
        case clFastest:
            return Z_BEST_SPEED;
        case clDefault:
            return Z_DEFAULT_COMPRESSION;
        case clMax:
            break;
    }
    return Z_BEST_COMPRESSION;
}

// zlib counts in 32 bits; larger requests are fed in slices.
uInt Slice(int64_t count) {
    return static_cast<uInt>(std::min<int64_t>(count, std::numeric_limits<uInt>::max()));
}

}  // namespace

// --- TCustomZlibStream ---

TCustomZlibStream::TCustomZlibStream(rtl::TStream& strm)
    : FStrm(strm), FStrmPos(strm.Position()), FZRec(std::make_unique<z_stream_s>()) {}

TCustomZlibStream::~TCustomZlibStream() = default;

void TCustomZlibStream::Progress() {
    if (OnProgress) OnProgress(*this);
}

// --- TCompressionStream ---

TCompressionStream::TCompressionStream(TCompressionLevel compressionLevel, rtl::TStream& dest)
    : TCustomZlibStream(dest) {
    if (deflateInit2(FZRec.get(), ZlibLevel(compressionLevel), Z_DEFLATED, 15, 8,
                     Z_DEFAULT_STRATEGY) != Z_OK)
        throw ECompressionError("error");
    FZRec->next_out = FBuffer.data();
    FZRec->avail_out = FBuffer.size();
}

TCompressionStream::~TCompressionStream() {
    try {
        Finish();
    } catch (const rtl::Exception&) {
        // Nowhere to report it from a destructor; Finish is the call that reports.
    }
    deflateEnd(FZRec.get());
}

void TCompressionStream::FlushBuffer(std::size_t count) {
    FStrm.SetPosition(FStrmPos);
    FStrm.WriteBuffer(FBuffer.data(), static_cast<int64_t>(count));
    FStrmPos = FStrm.Position();
    FZRec->next_out = FBuffer.data();
    FZRec->avail_out = FBuffer.size();
    Progress();
}

void TCompressionStream::Finish() {
    if (FFinished) return;
    FFinished = true;
    FZRec->next_in = nullptr;
    FZRec->avail_in = 0;
    for (;;) {
        int result = deflate(FZRec.get(), Z_FINISH);
        if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR)
            throw ECompressionError("error");
        if (result == Z_STREAM_END) break;
        if (FZRec->avail_out == 0) FlushBuffer(FBuffer.size());
    }
    std::size_t left = FBuffer.size() - FZRec->avail_out;
    if (left > 0) {
        FStrm.SetPosition(FStrmPos);
        FStrm.WriteBuffer(FBuffer.data(), static_cast<int64_t>(left));
        FStrmPos = FStrm.Position();
        FZRec->next_out = FBuffer.data();
        FZRec->avail_out = FBuffer.size();
    }
}

float TCompressionStream::CompressionRate() const {
    if (FZRec->total_in == 0) return 0;
    return (1.0f - float(FZRec->total_out) / float(FZRec->total_in)) * 100.0f;
}

int64_t TCompressionStream::Write(const void* buffer, int64_t count) {
    if (FFinished) throw ECompressionError(kInvalidOperation);
    const auto* data = static_cast<const Bytef*>(buffer);
    int64_t left = std::max<int64_t>(count, 0);
    while (left > 0) {
        uInt slice = Slice(left);
        FZRec->next_in = data;
        FZRec->avail_in = slice;
        while (FZRec->avail_in > 0) {
            if (deflate(FZRec.get(), Z_NO_FLUSH) != Z_OK) throw ECompressionError("error");
            if (FZRec->avail_out == 0) FlushBuffer(FBuffer.size());
        }
        data += slice;
        left -= slice;
    }
    return count;
}

int64_t TCompressionStream::Read(void*, int64_t) {
    throw ECompressionError(kInvalidOperation);
}

int64_t TCompressionStream::Seek(int64_t offset, rtl::TSeekOrigin origin) {
    if (offset == 0 && origin == rtl::soFromCurrent) return static_cast<int64_t>(FZRec->total_in);
    throw ECompressionError(kInvalidOperation);
}

void TCompressionStream::SetSize(int64_t) {
    throw ECompressionError(kInvalidOperation);
}

// --- TDecompressionStream ---

TDecompressionStream::TDecompressionStream(rtl::TStream& source) : TCustomZlibStream(source) {
    if (inflateInit(FZRec.get()) != Z_OK) throw EDecompressionError("compression error");
}

TDecompressionStream::~TDecompressionStream() {
    inflateEnd(FZRec.get());
}

int64_t TDecompressionStream::Read(void* buffer, int64_t count) {
    auto* data = static_cast<Bytef*>(buffer);
    int64_t produced = 0;
    while (produced < count && !FEnded) {
        uInt slice = Slice(count - produced);
        FZRec->next_out = data + produced;
        FZRec->avail_out = slice;
        while (FZRec->avail_out > 0) {
            if (FZRec->avail_in == 0) {
                FStrm.SetPosition(FStrmPos);
                int64_t n = FStrm.Read(FBuffer.data(), static_cast<int64_t>(FBuffer.size()));
                // A stream that stops before its end marker has lost data: never pass it on
                // as if it were whole.
                if (n <= 0) throw EDecompressionError("compression error");
                FStrmPos += n;
                FZRec->next_in = FBuffer.data();
                FZRec->avail_in = static_cast<uInt>(n);
                Progress();
            }
            int result = inflate(FZRec.get(), Z_NO_FLUSH);
            if (result == Z_STREAM_END) {
                FEnded = true;
                break;
            }
            if (result != Z_OK && result != Z_BUF_ERROR)
                throw EDecompressionError("compression error");
        }
        produced += slice - FZRec->avail_out;
    }
    return produced;
}

int64_t TDecompressionStream::Write(const void*, int64_t) {
    throw EDecompressionError(kInvalidOperation);
}

void TDecompressionStream::Skip(int64_t count) {
    std::array<uint8_t, 8192> discard;
    while (count > 0) {
        int64_t n = Read(discard.data(), std::min<int64_t>(count, discard.size()));
        if (n == 0) break;
        count -= n;
    }
}

int64_t TDecompressionStream::Seek(int64_t offset, rtl::TSeekOrigin origin) {
    const auto produced = static_cast<int64_t>(FZRec->total_out);
    if (offset == 0 && origin == rtl::soFromBeginning) {
        if (inflateReset(FZRec.get()) != Z_OK) throw EDecompressionError("compression error");
        FZRec->next_in = FBuffer.data();
        FZRec->avail_in = 0;
        FStrmPos = 0;
        FStrm.SetPosition(0);
        FEnded = false;
    } else if (origin == rtl::soFromCurrent && offset >= 0) {
        Skip(offset);
    } else if (origin == rtl::soFromBeginning && offset > produced) {
        Skip(offset - produced);
    } else {
        throw EDecompressionError(kInvalidOperation);
    }
    return static_cast<int64_t>(FZRec->total_out);
}

void TDecompressionStream::SetSize(int64_t) {
    throw EDecompressionError(kInvalidOperation);
}

// --- whole streams ---

void ZlibCompressStream(rtl::TStream& source, rtl::TStream& dest) {
    source.SetPosition(0);
    TCompressionStream compressor(clMax, dest);
    std::array<uint8_t, 8192> buffer;
    for (;;) {
        int64_t n = source.Read(buffer.data(), static_cast<int64_t>(buffer.size()));
        if (n <= 0) break;
        compressor.WriteBuffer(buffer.data(), n);
    }
    compressor.Finish();
}

void ZlibDecompressStream(rtl::TStream& dest, rtl::TStream& source) {
    source.SetPosition(0);
    TDecompressionStream inflater(source);
    std::array<uint8_t, 4096> buffer;
    for (;;) {
        int64_t n = inflater.Read(buffer.data(), static_cast<int64_t>(buffer.size()));
        if (n == 0) break;
        dest.WriteBuffer(buffer.data(), n);
    }
}

}  // namespace skin
