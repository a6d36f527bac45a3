#include "media/libs/ffmpeg_loader.h"

#include <dlfcn.h>

#include <regex>

#include <gtest/gtest.h>

#include "media/libs/ffmpeg_api.h"
#include "media/media_test_support.h"
#include "platform/rtl/exception.h"

namespace media {
namespace {

constexpr TLibrary kAllLibraries[] = {avCodec, avDevice,   avFilter, avFormat, avUtil,
                                      swScale, swResample, myUtil,   lbSDL};

TEST(LibraryFilesTest, FileNamesFollowTheHeadersMajorVersions) {
    struct TCase {
        TLibrary Library;
        const char* FileName;
    };
    const TCase cases[] = {
        {avCodec, "libavcodec.so.59"},      {avDevice, "libavdevice.so.59"},
        {avFilter, "libavfilter.so.8"},     {avFormat, "libavformat.so.59"},
        {avUtil, "libavutil.so.57"},        {swScale, "libswscale.so.6"},
        {swResample, "libswresample.so.4"}, {myUtil, ""},
        {lbSDL, "libSDL2-2.0.so.0"},
    };
    for (const TCase& c : cases) EXPECT_EQ(DllFileName(c.Library), c.FileName) << c.Library;
}

TEST(LibraryFilesTest, LoadSetsHoldTheirMembers) {
    const TLibraries taskManager{avCodec, avFilter, avFormat, avUtil, swScale, swResample, myUtil};
    EXPECT_EQ(FFTaskManagerLibraries, taskManager);
    EXPECT_EQ(AVProbeLibraries,
              (TLibraries{avCodec, avFormat, avUtil, swScale, swResample, myUtil}));
    TLibraries player = taskManager;
    player.Include(lbSDL);
    EXPECT_EQ(FFPlayLibraries, player);
    for (const TLibraries& set : {FFTaskManagerLibraries, AVProbeLibraries, FFPlayLibraries})
        EXPECT_FALSE(set.Contains(avDevice));
}

TEST(LibraryFilesTest, AnEmptySetIsAMisuse) {
    EXPECT_THROW(AVLibLoader().Load(TLibraries{}), rtl::Exception);
    EXPECT_THROW(AVLibLoader().Loaded(TLibraries{}), rtl::Exception);
    EXPECT_THROW(AVLibLoader().Unload(TLibraries{}), rtl::Exception);
}

TEST(FFmpegLoaderTest, LoadsEveryLoadSetFromTheSystem) {
    AVLibLoader().SetLibraryPath("");
    for (const TLibraries& set : {FFTaskManagerLibraries, AVProbeLibraries, FFPlayLibraries}) {
        ASSERT_TRUE(AVLibLoader().Load(set)) << AVLibLoader().LastErrMsg();
        EXPECT_TRUE(AVLibLoader().Loaded(set));
    }
    for (TLibrary library : kAllLibraries) {
        if (FFPlayLibraries.Contains(library)) {
            EXPECT_TRUE(AVLibLoader().Loaded(library)) << library;
        }
    }
    EXPECT_EQ(AVLibLoader().LastErrMsg(), "");
    EXPECT_NE(lib::av_log, nullptr);
    EXPECT_NE(lib::avformat_open_input, nullptr);
    EXPECT_NE(lib::sws_scale, nullptr);
}

// The application's completion sound binds SDL on its own, without any FFmpeg library.
TEST(FFmpegLoaderFailureTest, SdlLoadsAloneWithTheSoundsNames) {
    test::RunInOwnProcess([] {
        std::string failures;
        TFFmpegLoader& loader = AVLibLoader();
        failures += test::Check(loader.Load(lbSDL), loader.LastErrMsg());
        failures += test::Check(!loader.Loaded(avUtil), "FFmpeg loaded along");
        failures += test::Check(lib::SDL_RWFromFile && lib::SDL_LoadWAV_RW && lib::SDL_FreeWAV &&
                                    lib::SDL_QueueAudio && lib::SDL_GetQueuedAudioSize &&
                                    lib::SDL_OpenAudioDevice && lib::SDL_CloseAudioDevice,
                                "a name unbound");
        return failures;
    });
}

// Replaces our log callback, so that a second Load must put it back.
void SilentCallback(void*, int, const char*, va_list) {}

TEST(FFmpegLoaderTest, LoadingTwiceReopensNothingAndReinstallsTheLogCallback) {
    test::RequireLibraries();
    TLibraryStatus before[kLibraryCount];
    for (TLibrary library : kAllLibraries) before[library] = AVLibLoader().Status(library);
    auto* avLog = lib::av_log;

    lib::av_log_set_callback(SilentCallback);
    ASSERT_TRUE(AVLibLoader().Load(FFTaskManagerLibraries));
    for (TLibrary library : kAllLibraries) {
        EXPECT_EQ(AVLibLoader().Status(library).Handle, before[library].Handle) << library;
        EXPECT_EQ(AVLibLoader().Status(library).Fixuped, before[library].Fixuped) << library;
    }
    EXPECT_EQ(lib::av_log, avLog);

    test::TLogCapture capture;
    lib::av_log(nullptr, AV_LOG_ERROR, "reinstalled\n");
    EXPECT_EQ(capture.Messages(), std::vector<std::string>{"reinstalled"});
}

TEST(FFmpegLoaderTest, AMissingEntryPointRaisesWithTheLibraryAndTheSystemText) {
    test::RequireLibraries();
    sys::TLibHandle handle = AVLibLoader().Status(avUtil).Handle;
    EXPECT_NE(BindEntryPoint("libavutil.so.57", handle, "av_log", false), nullptr);
    EXPECT_EQ(BindEntryPoint("libavutil.so.57", handle, "no_such_entry", true), nullptr);
    try {
        BindEntryPoint("libavutil.so.57", handle, "no_such_entry", false);
        FAIL() << "no exception";
    } catch (const rtl::Exception& e) {
        EXPECT_TRUE(std::regex_match(
            e.Message(),
            std::regex("Load function no_such_entry@libavutil\\.so\\.57 error: .*no_such_entry.*")))
            << e.Message();
    }
}

TEST(FFmpegLoaderFailureTest, AMissingNameUnloadsOnlyWhatTheCallLoaded) {
    test::RunInOwnProcess([] {
        std::string failures;
        TFFmpegLoader& loader = AVLibLoader();
        // Loaded before, by another set: must stay.
        failures += test::Check(loader.Load(TLibraries{avUtil}), "avutil: " + loader.LastErrMsg());

        loader.SetLibraryPath(MORADEX_STUB_AVFORMAT_DIR);
        failures += test::Check(!loader.Load(FFTaskManagerLibraries), "the set loaded");
        std::string expected = std::string("Load function ") + MORADEX_STUB_DROPPED_NAME +
                               "@libavformat.so.59 error: ";
        std::string message = loader.LastErrMsg();
        failures += test::Check(
            message.rfind(expected, 0) == 0 &&
                message.find(MORADEX_STUB_DROPPED_NAME, expected.size()) != std::string::npos,
            "LastErrMsg: " + message);

        failures +=
            test::Check(loader.Loaded(avUtil) && lib::av_log != nullptr, "avutil was unloaded");
        for (TLibrary library : {swResample, swScale, avCodec, avFormat}) {
            failures +=
                test::Check(!loader.Loaded(library) && loader.Status(library).Handle == nullptr,
                            "left loaded: " + std::to_string(library));
        }
        failures += test::Check(!loader.Loaded(FFTaskManagerLibraries), "the set reports loaded");
        failures += test::Check(
            lib::avformat_alloc_context == nullptr && lib::avcodec_find_decoder == nullptr,
            "cells of unloaded libraries are set");
        return failures;
    });
}

TEST(FFmpegLoaderFailureTest, ABrokenFileInTheFolderIsNotLookedForElsewhere) {
    test::RunInOwnProcess([] {
        std::string failures;
        test::TTempDir folder;
        std::string fileName = folder.Touch("libavutil.so.57", "not a library");
        TFFmpegLoader& loader = AVLibLoader();
        loader.SetLibraryPath(folder.Path());

        failures += test::Check(!loader.Load(AVProbeLibraries), "the set loaded");
        std::string expected = "Load library " + fileName + " error: ";
        std::string message = loader.LastErrMsg();
        failures += test::Check(message.rfind(expected, 0) == 0 && message.size() > expected.size(),
                                "LastErrMsg: " + message);
        failures += test::Check(!loader.Loaded(avUtil), "avutil loaded");
        // Not loaded behind our back through the system search either.
        failures += test::Check(dlopen("libavutil.so.57", RTLD_NOW | RTLD_NOLOAD) == nullptr,
                                "the system's avutil was loaded");
        return failures;
    });
}

TEST(FFmpegLoaderFailureTest, ALibraryMissingFromTheFolderComesFromTheSystem) {
    test::RunInOwnProcess([] {
        std::string failures;
        test::TTempDir folder;
        AVLibLoader().SetLibraryPath(folder.Path());
        failures += test::Check(AVLibLoader().Load(AVProbeLibraries), AVLibLoader().LastErrMsg());
        failures += test::Check(AVLibLoader().LastErrMsg().empty(), "LastErrMsg set");
        return failures;
    });
}

TEST(FFmpegLoaderFailureTest, UnloadClearsCellsAndHandles) {
    test::RunInOwnProcess([] {
        std::string failures;
        TFFmpegLoader& loader = AVLibLoader();
        failures += test::Check(loader.Load(FFPlayLibraries), loader.LastErrMsg());
        loader.Unload(AVProbeLibraries);
        for (TLibrary library : {avCodec, avFormat, avUtil, swScale, swResample, myUtil})
            failures +=
                test::Check(!loader.Loaded(library), "still loaded: " + std::to_string(library));
        // Not counted: the player's set loses what it shares with the probe's.
        failures += test::Check(!loader.Loaded(FFPlayLibraries), "player set still loaded");
        failures +=
            test::Check(loader.Loaded(TLibraries{avFilter, lbSDL}), "unshared members unloaded");
        failures += test::Check(lib::av_log == nullptr && lib::sws_scale == nullptr, "cells kept");
        failures += test::Check(loader.Load(FFPlayLibraries), "reload: " + loader.LastErrMsg());
        return failures;
    });
}

}  // namespace
}  // namespace media
