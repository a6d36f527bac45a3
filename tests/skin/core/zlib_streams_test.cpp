#include "skin/core/zlib_streams.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace skin {
namespace {

// Half text, half noise: compresses, yet deflates to several 8192-byte buffers.
std::vector<uint8_t> SampleData(std::size_t size) {
    std::vector<uint8_t> data(size);
    uint32_t state = 12345;
    for (std::size_t i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        data[i] = (i / 64) % 2 == 0 ? uint8_t("skin package "[i % 13]) : uint8_t(state >> 24);
    }
    return data;
}

std::vector<uint8_t> Bytes(rtl::TMemoryStream& stream) {
    return {stream.Memory(), stream.Memory() + stream.Size()};
}

std::vector<uint8_t> Deflate(const std::vector<uint8_t>& data) {
    rtl::TMemoryStream zlib;
    {
        TCompressionStream compressor(clMax, zlib);
        compressor.WriteBuffer(data.data(), int64_t(data.size()));
    }
    return Bytes(zlib);
}

TEST(ZlibStreams, RoundTripThroughBothAdaptersInOddSlices) {
    const std::vector<uint8_t> data = SampleData(100000);
    rtl::TMemoryStream zlib;
    zlib.WriteBuffer("ABC", 3);  // output starts where the destination stands
    int written = 0;
    {
        TCompressionStream compressor(clMax, zlib);
        compressor.OnProgress = [&](TCustomZlibStream&) { ++written; };
        for (std::size_t at = 0; at < data.size(); at += 777)
            compressor.WriteBuffer(data.data() + at,
                                   int64_t(std::min<std::size_t>(777, data.size() - at)));
        EXPECT_EQ(compressor.Seek(0, rtl::soFromCurrent), int64_t(data.size()));
        compressor.Finish();
        EXPECT_NEAR(compressor.CompressionRate(),
                    (1.0 - double(zlib.Size() - 3) / double(data.size())) * 100, 0.01);
    }
    const std::vector<uint8_t> packed = Bytes(zlib);
    ASSERT_GT(packed.size(), 3u + 2 * 8192);
    EXPECT_EQ(written, int((packed.size() - 3) / 8192));  // once per full buffer
    EXPECT_EQ(packed[3], 0x78);
    EXPECT_EQ(packed[4], 0xDA);

    zlib.SetPosition(3);
    TDecompressionStream inflater(zlib);
    int refills = 0;
    inflater.OnProgress = [&](TCustomZlibStream&) { ++refills; };
    std::vector<uint8_t> out(data.size() + 10);
    std::size_t got = 0;
    for (int64_t slice : {1, 4095, 8193, 30000}) {
        zlib.SetPosition(0);  // the adapter keeps its own place in the source
        got += std::size_t(inflater.Read(out.data() + got, slice));
    }
    got += std::size_t(inflater.Read(out.data() + got, int64_t(out.size() - got)));
    out.resize(got);
    EXPECT_EQ(out, data);
    EXPECT_EQ(refills, int((packed.size() - 3 + 8191) / 8192));
    EXPECT_EQ(inflater.Read(out.data(), 10), 0);  // past the end marker
}

TEST(ZlibStreams, LevelsAndAnEmptyStream) {
    const std::vector<uint8_t> data = SampleData(5000);
    struct TCase {
        TCompressionLevel level;
        uint8_t secondByte;
    };
    for (TCase c : {TCase{clNone, 0x01}, TCase{clFastest, 0x01}, TCase{clDefault, 0x9C},
                    TCase{clMax, 0xDA}}) {
        SCOPED_TRACE(c.level);
        rtl::TMemoryStream zlib;
        {
            TCompressionStream compressor(c.level, zlib);
            compressor.WriteBuffer(data.data(), int64_t(data.size()));
        }
        EXPECT_EQ(Bytes(zlib)[1], c.secondByte);
        rtl::TMemoryStream plain;
        ZlibDecompressStream(plain, zlib);
        EXPECT_EQ(Bytes(plain), data);
    }
    rtl::TMemoryStream zlib;
    TCompressionStream nothing(clMax, zlib);
    EXPECT_EQ(nothing.CompressionRate(), 0);
    nothing.Finish();
    rtl::TMemoryStream plain;
    ZlibDecompressStream(plain, zlib);
    EXPECT_EQ(plain.Size(), 0);
}

TEST(ZlibStreams, RefusedOperations) {
    rtl::TMemoryStream zlib;
    const std::vector<uint8_t> packed = Deflate(SampleData(20000));
    zlib.WriteBuffer(packed.data(), int64_t(packed.size()));
    zlib.SetPosition(0);
    rtl::TMemoryStream sink;
    TCompressionStream compressor(clMax, sink);
    TDecompressionStream inflater(zlib);
    char buffer[16];
    inflater.ReadBuffer(buffer, 16);
    struct TCase {
        const char* what;
        std::function<void()> call;
        bool compression;
    };
    const TCase cases[] = {
        {"read from the compressor", [&] { compressor.Read(buffer, 1); }, true},
        {"move the compressor", [&] { compressor.Seek(1, rtl::soFromCurrent); }, true},
        {"rewind the compressor", [&] { compressor.Seek(0, rtl::soFromBeginning); }, true},
        {"size the compressor", [&] { compressor.SetSize(0); }, true},
        {"write to the inflater", [&] { inflater.Write(buffer, 1); }, false},
        {"seek back", [&] { inflater.Seek(-1, rtl::soFromCurrent); }, false},
        {"seek back from the start", [&] { inflater.Seek(8, rtl::soFromBeginning); }, false},
        {"seek to where it is", [&] { inflater.Seek(16, rtl::soFromBeginning); }, false},
        {"seek from the end", [&] { inflater.Seek(0, rtl::soFromEnd); }, false},
        {"size the inflater", [&] { inflater.SetSize(0); }, false},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            c.call();
            ADD_FAILURE() << "no exception";
        } catch (const EZlibError& e) {
            EXPECT_EQ(e.Message(), "Invalid stream operation");
            EXPECT_EQ(dynamic_cast<const ECompressionError*>(&e) != nullptr, c.compression);
            EXPECT_EQ(dynamic_cast<const EDecompressionError*>(&e) != nullptr, !c.compression);
        }
    }
}

TEST(ZlibStreams, InflaterSeeksForwardAndRestarts) {
    const std::vector<uint8_t> data = SampleData(40000);
    const std::vector<uint8_t> packed = Deflate(data);
    rtl::TMemoryStream zlib;
    zlib.WriteBuffer(packed.data(), int64_t(packed.size()));
    zlib.SetPosition(0);
    TDecompressionStream inflater(zlib);
    uint8_t b = 0;

    EXPECT_EQ(inflater.Seek(100, rtl::soFromCurrent), 100);
    inflater.ReadBuffer(&b, 1);
    EXPECT_EQ(b, data[100]);
    EXPECT_EQ(inflater.Seek(0, rtl::soFromCurrent), 101);
    EXPECT_EQ(inflater.Seek(20000, rtl::soFromBeginning), 20000);
    inflater.ReadBuffer(&b, 1);
    EXPECT_EQ(b, data[20000]);
    EXPECT_EQ(inflater.Seek(0, rtl::soFromBeginning), 0);
    std::vector<uint8_t> again(50);
    inflater.ReadBuffer(again.data(), 50);
    EXPECT_EQ(again, std::vector<uint8_t>(data.begin(), data.begin() + 50));
    EXPECT_EQ(inflater.Seek(1000000, rtl::soFromCurrent),
              int64_t(data.size()));  // stops at the end
}

// A damaged or cut stream must never pass for a whole one.
TEST(ZlibStreams, DamagedDataRaises) {
    const std::vector<uint8_t> packed = Deflate(SampleData(30000));
    std::vector<uint8_t> flipped = packed;
    flipped[packed.size() / 2] ^= 0x20;
    std::vector<uint8_t> badHeader = packed;
    badHeader[0] = 0x79;
    const std::vector<uint8_t> cases[] = {
        flipped,
        badHeader,
        std::vector<uint8_t>(packed.begin(), packed.end() - 20),
        std::vector<uint8_t>(packed.begin(), packed.begin() + 2),
        {},
    };
    for (const std::vector<uint8_t>& bytes : cases) {
        SCOPED_TRACE(bytes.size());
        rtl::TMemoryStream zlib, plain;
        zlib.WriteBuffer(bytes.data(), int64_t(bytes.size()));
        try {
            ZlibDecompressStream(plain, zlib);
            ADD_FAILURE() << "no exception";
        } catch (const EDecompressionError& e) {
            EXPECT_EQ(e.Message(), "compression error");
        }
    }
}

TEST(ZlibStreams, WholeStreamRoutinesRewindTheirSource) {
    const std::vector<uint8_t> data = SampleData(12345);
    rtl::TMemoryStream source, zlib, plain;
    source.WriteBuffer(data.data(), int64_t(data.size()));  // left at its end
    ZlibCompressStream(source, zlib);
    EXPECT_EQ(Bytes(zlib), Deflate(data));
    plain.WriteBuffer("x", 1);
    ZlibDecompressStream(plain, zlib);  // zlib stands at its end too
    std::vector<uint8_t> expected = {'x'};
    expected.insert(expected.end(), data.begin(), data.end());
    EXPECT_EQ(Bytes(plain), expected);
}

}  // namespace
}  // namespace skin
