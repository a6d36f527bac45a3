#include "media/libs/ff_utils.h"

#include <cerrno>
#include <cstring>

#include <gtest/gtest.h>

#include "media/libs/ffmpeg_loader.h"
#include "media/media_test_support.h"

namespace media {
namespace {

TEST(FFUtilsTextTest, FormatTimestamp) {
    const std::pair<int64_t, const char*> cases[] = {
        {0, "00:00:00.000"},        {3723004000, "01:02:03.004"},    {999, "00:00:00.000"},
        {59999999, "00:00:59.999"}, {360000000000, "100:00:00.000"}, {AV_NOPTS_VALUE, "N/A"},
    };
    for (auto [micros, text] : cases) EXPECT_EQ(FormatTimestamp(micros), text) << micros;
}

TEST(FFUtilsTextTest, FrameDuration) {
    const std::pair<AVRational, int64_t> cases[] = {{{25, 1}, 40000}, {{30000, 1001}, 33366},
                                                    {{0, 1}, 40000},  {{25, 0}, 40000},
                                                    {{60, 1}, 16666}, {{1, 2}, 2000000}};
    for (auto [rate, micros] : cases)
        EXPECT_EQ(FrameDuration(rate), micros) << rate.num << "/" << rate.den;
}

TEST(FFUtilsTextTest, ErrorCodeText) {
    const std::pair<int, const char*> cases[] = {
        {AVERROR(ENOENT), "No such file or directory"},
        {AVERROR_INVALIDDATA, "Invalid data found when processing input"},
        {AVERROR_EOF, "End of file"},
        {AVERROR_PATCHWELCOME, "Not yet implemented in FFmpeg"},
        {AVERROR_PROTOCOL_NOT_FOUND, "Unsupported network protocol"},
        {AVERROR_DEMUXER_NOT_FOUND, "Unknown format"},
        {AVERROR(EILSEQ), "Unknown format"},
        {AVERROR(EDOM), "Number syntax expected in filename"},
        {AVERROR(ENOMEM), "Not enough memory"},
        {AVERROR(EIO), "I/O error"},
        {-7, "Argument list too long"},
        {AVERROR(EPIPE), "Broken pipe"},
        {AVERROR(ENOSPC), "No space left on device"},
        {AVERROR(EACCES), "Permission denied"},
        {-4000, "Error number -4000 occurred"},
        {AVERROR_BSF_NOT_FOUND, "Error number -1179861752 occurred"},
        {0, "Error number 0 occurred"},
    };
    for (auto [code, text] : cases)
        EXPECT_EQ(ErrorCodeText("a.avi", code), std::string("a.avi: ") + text) << code;
}

TEST(FFUtilsTextTest, MediaTypeText) {
    const std::pair<uint32_t, const char*> cases[] = {{0, "Video"},
                                                      {1, "Audio"},
                                                      {2, "Data"},
                                                      {3, "Subtitle"},
                                                      {4, "Attachment"},
                                                      {5, "Unknown"},
                                                      {uint32_t(-1), "Unknown"}};
    for (auto [type, text] : cases) EXPECT_EQ(MediaTypeText(type), text) << type;
}

class FFUtilsTest : public testing::Test {
protected:
    static void SetUpTestSuite() { test::RequireLibraries(); }
};

TEST_F(FFUtilsTest, ATextFileIsInvalidData) {
    test::TTempDir folder;
    std::string fileName = folder.Touch("notes.txt", "just some words, no media at all\n");
    AVFormatContext* context = nullptr;
    int code = lib::avformat_open_input(&context, fileName.c_str(), nullptr, nullptr);
    ASSERT_LT(code, 0);
    EXPECT_EQ(context, nullptr);
    EXPECT_EQ(ErrorCodeText(fileName, code),
              fileName + ": Invalid data found when processing input");
    code = lib::avformat_open_input(&context, folder.File("none.avi").c_str(), nullptr, nullptr);
    EXPECT_EQ(ErrorCodeText("x", code), "x: No such file or directory");
}

// A codec context holding only an id and a tag, as a demuxer leaves it.
struct TCodecContext {
    TCodecContext(AVCodecID id, uint32_t tag) : Context(lib::avcodec_alloc_context3(nullptr)) {
        Context->codec_id = id;
        Context->codec_tag = tag;
    }
    ~TCodecContext() { lib::avcodec_free_context(&Context); }
    AVCodecContext* Context;
};

TEST_F(FFUtilsTest, CodecNameText) {
    struct TCase {
        AVCodecID Id;
        uint32_t Tag;
        bool Encoder;
        const char* Text;
    };
    const TCase cases[] = {
        {AV_CODEC_ID_MPEG4, 0, false, "mpeg4(MPEG-4 part 2)"},
        {AV_CODEC_ID_MPEG4, 0, true, "mpeg4(MPEG-4 part 2)"},
        {AV_CODEC_ID_PCM_S16LE, 0, false, "pcm_s16le(PCM signed 16-bit little-endian)"},
        {AV_CODEC_ID_MPEG2TS, 0, false, "mpeg2ts"},
        // Described by the library, but nothing decodes it.
        {AV_CODEC_ID_TTF, 0, false, "ttf"},
        {AV_CODEC_ID_NONE, MKTAG('a', 'b', 'c', 'd'), false, "abcd / 0x64636261"},
        {AV_CODEC_ID_NONE, MKTAG('X', 'V', 'I', 0x01), false, "0x1495658"},
        {AV_CODEC_ID_NONE, 0x12, false, "0x0012"},
    };
    for (const TCase& c : cases) {
        TCodecContext codec(c.Id, c.Tag);
        EXPECT_EQ(CodecNameText(codec.Context, c.Encoder), c.Text) << c.Text;
    }
}

TEST_F(FFUtilsTest, MetadataValue) {
    AVDictionary* metadata = nullptr;
    lib::av_dict_set(&metadata, "title", "caf\xE4", 0);
    lib::av_dict_set(&metadata, "artist", "\xE4\xB8\xAD", 0);
    EXPECT_EQ(MetadataValue(metadata, "title", "-"), "caf\u00E4");
    EXPECT_EQ(MetadataValue(metadata, "artist", "-"), "\u4E2D");
    EXPECT_EQ(MetadataValue(metadata, "album", "none"), "none");
    EXPECT_EQ(MetadataValue(nullptr, "title", "none"), "none");
    lib::av_dict_free(&metadata);
}

TEST_F(FFUtilsTest, ReadWholeFile) {
    test::TTempDir folder;
    uint8_t* buffer = nullptr;
    int size = 0;
    ASSERT_EQ(ReadWholeFile(folder.Touch("pass.log", "abc"), buffer, size), 0);
    EXPECT_EQ(size, 4);
    EXPECT_STREQ(reinterpret_cast<char*>(buffer), "abc");
    lib::av_free(buffer);

    ASSERT_EQ(ReadWholeFile(folder.Touch("empty.log", ""), buffer, size), 0);
    EXPECT_EQ(size, 1);
    EXPECT_EQ(buffer[0], 0);
    lib::av_free(buffer);

    EXPECT_EQ(ReadWholeFile(folder.File("missing.log"), buffer, size), -1);
}

class FFOptionsTest : public FFUtilsTest {
protected:
    void SetUp() override {
        AllocFFOptions(FOptions, SWS_BICUBIC);
        for (int type = 0; type < AVMEDIA_TYPE_NB; ++type)
            FDefaultBitRate[type] = FOptions.avcodec_opts[type]->bit_rate;
    }
    void TearDown() override { FreeFFOptions(FOptions); }

    int64_t BitRate(AVMediaType type) const { return FOptions.avcodec_opts[type]->bit_rate; }
    bool BitRateUnchanged(AVMediaType type) const { return BitRate(type) == FDefaultBitRate[type]; }

    TFFOptions FOptions;
    int64_t FDefaultBitRate[AVMEDIA_TYPE_NB];
};

TEST_F(FFOptionsTest, AGenericOptionGoesToEveryContextThatTakesIt) {
    ASSERT_TRUE(SetCodecOption(FOptions, "b", "500000"));
    EXPECT_EQ(BitRate(AVMEDIA_TYPE_VIDEO), 500000);
    EXPECT_EQ(BitRate(AVMEDIA_TYPE_AUDIO), 500000);
    EXPECT_TRUE(BitRateUnchanged(AVMEDIA_TYPE_SUBTITLE));
    EXPECT_EQ(FOptions.opt_names, std::vector<std::string>{"b"});
}

TEST_F(FFOptionsTest, AnAudioBitRateLeavesTheVideoAndSubtitleContexts) {
    // The library still knows "ab" as the audio-only name of the bit rate.
    ASSERT_TRUE(SetCodecOption(FOptions, "ab", "64000"));
    EXPECT_EQ(BitRate(AVMEDIA_TYPE_AUDIO), 64000);
    EXPECT_TRUE(BitRateUnchanged(AVMEDIA_TYPE_VIDEO));
    EXPECT_TRUE(BitRateUnchanged(AVMEDIA_TYPE_SUBTITLE));
}

TEST_F(FFOptionsTest, APrefixedNameSetsTheShorterNameOnThatTypeOnly) {
    ASSERT_TRUE(SetCodecOption(FOptions, "vb", "800000"));
    EXPECT_EQ(BitRate(AVMEDIA_TYPE_VIDEO), 800000);
    for (AVMediaType type :
         {AVMEDIA_TYPE_AUDIO, AVMEDIA_TYPE_DATA, AVMEDIA_TYPE_SUBTITLE, AVMEDIA_TYPE_ATTACHMENT})
        EXPECT_TRUE(BitRateUnchanged(type)) << type;
    ASSERT_TRUE(SetCodecOption(FOptions, "aar", "22050"));
    EXPECT_EQ(FOptions.avcodec_opts[AVMEDIA_TYPE_AUDIO]->sample_rate, 22050);
    EXPECT_EQ(FOptions.avcodec_opts[AVMEDIA_TYPE_VIDEO]->sample_rate, 0);
    EXPECT_EQ(FOptions.opt_names, (std::vector<std::string>{"b", "ar"}));
}

TEST_F(FFOptionsTest, FormatAndScalerOptionsGoToTheirContexts) {
    ASSERT_TRUE(SetCodecOption(FOptions, "packetsize", "2324"));
    EXPECT_EQ(FOptions.avformat_opts->packet_size, 2324u);
    ASSERT_TRUE(SetCodecOption(FOptions, "sws_flags", "bilinear"));
    EXPECT_EQ(FOptions.opt_names, (std::vector<std::string>{"packetsize", "sws_flags"}));
}

TEST_F(FFOptionsTest, RefusedAndUnknownOptions) {
    test::TLogCapture capture;
    EXPECT_FALSE(SetCodecOption(FOptions, "b", "abc"));
    auto messages = capture.Messages();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back(), "Invalid value \"abc\" for option \"b\"");

    size_t logged = capture.Lines().size();
    EXPECT_FALSE(SetCodecOption(FOptions, "no_such_option", "1"));
    EXPECT_FALSE(SetCodecOption(FOptions, "b", "  "));
    EXPECT_FALSE(SetCodecOption(FOptions, " ", "1"));
    EXPECT_EQ(capture.Lines().size(), logged);
    EXPECT_TRUE(FOptions.opt_names.empty());
}

TEST_F(FFOptionsTest, EncoderPrivateOptionsWaitForTheEncoder) {
    ASSERT_TRUE(SetCodecOption(FOptions, "crf", "23"));
    const AVDictionaryEntry* crf =
        lib::av_dict_get(FOptions.codec_private_opts[AVMEDIA_TYPE_VIDEO], "crf", nullptr, 0);
    ASSERT_NE(crf, nullptr);
    EXPECT_STREQ(crf->value, "23");
    EXPECT_EQ(FOptions.codec_private_opts[AVMEDIA_TYPE_SUBTITLE], nullptr);
    EXPECT_TRUE(FOptions.opt_names.empty());

    ASSERT_TRUE(SetCodecOption(FOptions, "muxrate", "1411200"));
    EXPECT_NE(lib::av_dict_get(FOptions.format_private_opts, "muxrate", nullptr, 0), nullptr);
}

TEST_F(FFOptionsTest, TheDebugOptionRaisesTheLogLevel) {
    test::TLogCapture capture;
    GetFFLogger().SetLogLevel(llInfo);
    ASSERT_TRUE(SetCodecOption(FOptions, "debug", "pict"));
    EXPECT_EQ(GetFFLogger().LogLevel(), llDebug);
}

TEST_F(FFOptionsTest, ApplyCodecOptionsCopiesWhatTheFlagsAllow) {
    ASSERT_TRUE(SetCodecOption(FOptions, "b", "300000"));
    ASSERT_TRUE(SetCodecOption(FOptions, "g", "75"));
    TCodecContext encoder(AV_CODEC_ID_MPEG4, 0);
    ApplyCodecOptions(FOptions, encoder.Context, FOptions.avcodec_opts[AVMEDIA_TYPE_VIDEO],
                      AV_OPT_FLAG_ENCODING_PARAM | AV_OPT_FLAG_VIDEO_PARAM);
    EXPECT_EQ(encoder.Context->bit_rate, 300000);
    EXPECT_EQ(encoder.Context->gop_size, 75);

    TCodecContext decoder(AV_CODEC_ID_MPEG4, 0);
    ApplyCodecOptions(FOptions, decoder.Context, FOptions.avcodec_opts[AVMEDIA_TYPE_VIDEO],
                      AV_OPT_FLAG_DECODING_PARAM | AV_OPT_FLAG_VIDEO_PARAM);
    EXPECT_EQ(decoder.Context->bit_rate, FDefaultBitRate[AVMEDIA_TYPE_VIDEO]);
}

// A picture in its own buffer, filled plane by plane.
struct TTestPicture {
    TTestPicture(AVPixelFormat format, int width, int height, int align) {
        int size = lib::av_image_get_buffer_size(format, width, height, align);
        Buffer.resize(size_t(size));
        lib::av_image_fill_arrays(Picture.data, Picture.linesize, Buffer.data(), format, width,
                                  height, align);
    }
    void FillPlane(int plane, int rows, uint8_t value) {
        std::memset(Picture.data[plane], value, size_t(Picture.linesize[plane]) * size_t(rows));
    }
    std::vector<uint8_t> Buffer;
    TAVPicture Picture;
};

class PictureToBitmapTest : public FFUtilsTest {
protected:
    void SetUp() override { ResetRGBConvertContext(FContext); }
    void TearDown() override { ResetRGBConvertContext(FContext); }
    TRGBConvertContext FContext;
};

TEST_F(PictureToBitmapTest, AMatchingBgrPictureIsCopiedDirectly) {
    TTestPicture picture(AV_PIX_FMT_BGR24, 4, 2, 4);
    ASSERT_EQ(picture.Picture.linesize[0], 12);
    for (size_t i = 0; i < picture.Buffer.size(); ++i) picture.Buffer[i] = uint8_t(i);

    ASSERT_TRUE(PictureToBitmap(FContext, picture.Picture, AV_PIX_FMT_BGR24, 4, 2));
    EXPECT_EQ(FContext.RGBPictureRef, &picture.Picture);
    EXPECT_EQ(FContext.RGBBuf, nullptr);
    ASSERT_EQ(FContext.Bitmap->Width(), 4);
    ASSERT_EQ(FContext.Bitmap->Height(), 2);
    EXPECT_EQ(std::memcmp(FContext.Bitmap->ScanLine(1), picture.Picture.data[0] + 12, 12), 0);
}

TEST_F(PictureToBitmapTest, AnOddWidthIsConvertedEvenInTheBitmapsFormat) {
    TTestPicture picture(AV_PIX_FMT_BGR24, 3, 2, 4);
    ASSERT_EQ(picture.Picture.linesize[0], 12);
    for (size_t i = 0; i < picture.Buffer.size(); ++i) picture.Buffer[i] = uint8_t(10 + i);

    ASSERT_TRUE(PictureToBitmap(FContext, picture.Picture, AV_PIX_FMT_BGR24, 3, 2));
    EXPECT_EQ(FContext.RGBPictureRef, &FContext.RGBPicture);
    EXPECT_GE(FContext.RGBBufSize, 18);
    for (int row = 0; row < 2; ++row)
        EXPECT_EQ(
            std::memcmp(FContext.Bitmap->ScanLine(row), picture.Picture.data[0] + 12 * row, 9), 0)
            << row;
}

TEST_F(PictureToBitmapTest, YuvColoursBecomeTheirBgrValues) {
    struct TCase {
        uint8_t Y, U, V;
        uint8_t B, G, R;
    };
    // BT.601, limited range: the library's default for these pictures.
    const TCase cases[] = {
        {81, 90, 240, 0, 0, 255},        // red
        {145, 54, 34, 0, 255, 0},        // green
        {126, 128, 128, 128, 128, 128},  // grey
        {235, 128, 128, 255, 255, 255},  // white
    };
    for (const TCase& c : cases) {
        TTestPicture picture(AV_PIX_FMT_YUV420P, 16, 16, 1);
        picture.FillPlane(0, 16, c.Y);
        picture.FillPlane(1, 8, c.U);
        picture.FillPlane(2, 8, c.V);
        ASSERT_TRUE(PictureToBitmap(FContext, picture.Picture, AV_PIX_FMT_YUV420P, 16, 16));
        const uint8_t* pixel = FContext.Bitmap->ScanLine(8) + 8 * 3;
        EXPECT_NEAR(pixel[0], c.B, 2) << int(c.Y);
        EXPECT_NEAR(pixel[1], c.G, 2) << int(c.Y);
        EXPECT_NEAR(pixel[2], c.R, 2) << int(c.Y);
    }
}

TEST_F(PictureToBitmapTest, TheScalerNeverWritesPastTheBufferItWasGiven) {
    // The scaler's vector code writes past a packed row of these widths (8x10 by 24 bytes);
    // inside the library, where no sanitizer sees it. The buffer's own size is given a canary
    // tail of the test's, which must stay intact.
    const std::pair<int, int> sizes[] = {{8, 10},    {10, 16},   {10, 66},   {16, 16},
                                         {200, 200}, {202, 198}, {284, 240}, {3, 2}};
    constexpr uint8_t kCanary = 0xA5;
    constexpr int kCanaryBytes = 256;
    for (auto [width, height] : sizes) {
        SCOPED_TRACE(testing::Message() << width << "x" << height);
        TTestPicture picture(AV_PIX_FMT_YUV420P, width, height, 32);
        picture.FillPlane(0, height, 200);
        picture.FillPlane(1, (height + 1) / 2, 60);
        picture.FillPlane(2, (height + 1) / 2, 180);
        ResetRGBConvertContext(FContext);
        ASSERT_TRUE(PictureToBitmap(FContext, picture.Picture, AV_PIX_FMT_YUV420P, width, height));
        // The same conversion again into a buffer of exactly the size the context asked for.
        int size = FContext.RGBBufSize;
        auto* guarded = static_cast<uint8_t*>(lib::av_malloc(size_t(size + kCanaryBytes)));
        ASSERT_NE(guarded, nullptr);
        std::memset(guarded + size, kCanary, kCanaryBytes);
        lib::av_free(FContext.RGBBuf);
        FContext.RGBBuf = guarded;
        ASSERT_TRUE(PictureToBitmap(FContext, picture.Picture, AV_PIX_FMT_YUV420P, width, height));
        ASSERT_EQ(FContext.RGBBuf, guarded);
        int spoiled = 0;
        for (int i = 0; i < kCanaryBytes; ++i) spoiled += guarded[size + i] != kCanary;
        EXPECT_EQ(spoiled, 0);
        // Every pixel came through, the last one of the last row too.
        const uint8_t* first = FContext.Bitmap->ScanLine(0);
        const uint8_t* last = FContext.Bitmap->ScanLine(height - 1) + (width - 1) * 3;
        for (int c = 0; c < 3; ++c) EXPECT_EQ(last[c], first[c]) << c;
    }
}

TEST_F(PictureToBitmapTest, TheBufferGrowsOnlyWhenTooSmallAndResetReleasesAll) {
    TTestPicture large(AV_PIX_FMT_YUV420P, 32, 32, 1);
    TTestPicture small(AV_PIX_FMT_YUV420P, 16, 16, 1);
    ASSERT_TRUE(PictureToBitmap(FContext, large.Picture, AV_PIX_FMT_YUV420P, 32, 32));
    uint8_t* buffer = FContext.RGBBuf;
    int size = FContext.RGBBufSize;
    ASSERT_TRUE(PictureToBitmap(FContext, small.Picture, AV_PIX_FMT_YUV420P, 16, 16));
    EXPECT_EQ(FContext.RGBBuf, buffer);
    EXPECT_EQ(FContext.RGBBufSize, size);
    EXPECT_EQ(FContext.Bitmap->Width(), 16);

    ResetRGBConvertContext(FContext);
    EXPECT_EQ(FContext.Bitmap, nullptr);
    EXPECT_EQ(FContext.RGBBuf, nullptr);
    EXPECT_EQ(FContext.toRGB_convert_ctx, nullptr);
    EXPECT_EQ(FContext.RGBPictureRef, nullptr);
    EXPECT_EQ(FContext.RGBPixFmt, AV_PIX_FMT_BGR24);
    EXPECT_EQ(FContext.BMPPixFmt, 24);
}

}  // namespace
}  // namespace media
