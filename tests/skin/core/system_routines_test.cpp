#include "skin/core/system_routines.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/win/headless.h"
#include "platform/win/win.h"

namespace skin {
namespace {

TEST(SystemRoutinesTest, RectanglesAndPoints) {
    struct TRectCase {
        TRect R;
        bool Empty;
        int Width, Height;
    };
    for (const TRectCase& c : {TRectCase{{5, 5, 5, 10}, true, 0, 5},
                               {{5, 5, 6, 6}, false, 1, 1},
                               {{5, 5, 10, 4}, true, 5, -1},
                               {{0, 0, 0, 0}, true, 0, 0}}) {
        EXPECT_EQ(RectIsEmpty(c.R), c.Empty);
        EXPECT_EQ(RectWidthOf(c.R), c.Width);
        EXPECT_EQ(RectHeightOf(c.R), c.Height);
    }
    const TRect box{0, 0, 10, 10};
    EXPECT_TRUE(PointInRectIncl(box, {10, 10}));
    EXPECT_FALSE(box.Contains(10, 10));
    EXPECT_TRUE(PointInRectIncl(box, {0, 0}));
    EXPECT_FALSE(PointInRectIncl(box, {11, 5}));
    EXPECT_FALSE(PointInRectIncl(box, {5, -1}));

    EXPECT_TRUE(RectInsideRect({2, 2, 9, 9}, box));
    EXPECT_FALSE(RectInsideRect({2, 2, 10, 9}, box));  // right edge of B is outside
    EXPECT_FALSE(RectInsideRect({-1, 2, 5, 5}, box));
    EXPECT_TRUE(RectEdgesInsideVert({20, 5, 30, 40}, box));    // top edge within B's rows
    EXPECT_TRUE(RectEdgesInsideVert({20, -5, 30, 9}, box));    // bottom edge within
    EXPECT_FALSE(RectEdgesInsideVert({20, -5, 30, 20}, box));  // spans B

    EXPECT_TRUE(PointIsNull({0, 5}));
    EXPECT_TRUE(PointIsNull({5, 0}));
    EXPECT_FALSE(PointIsNull({1, 1}));
    TRect r{1, 2, 3, 4};
    EXPECT_FALSE(RectsSame(r, {}));
    RectClear(r);
    EXPECT_TRUE(RectsSame(r, {}));
    EXPECT_EQ(IntMaxOf(-3, 2), 2);
    EXPECT_EQ(IntMinOf(-3, 2), -3);
}

TEST(SystemRoutinesTest, VersionRules) {
    struct TCase {
        int Major, Minor;
        bool W2k, Xp, Vista;
    };
    const TCase cases[] = {
        {4, 0, false, false, false}, {4, 10, false, false, false}, {5, 0, true, false, false},
        {5, 1, true, true, false},   {5, 2, true, false, false},   {5, 3, false, false, false},
        {6, 0, true, true, true},    {10, 0, true, true, true},
    };
    for (const TCase& c : cases) {
        // As the system's version word gives it, with a build number above.
        const TOsVersion v = GetOsVersionPair(std::uint32_t(c.Major | c.Minor << 8 | 2600 << 16));
        EXPECT_EQ(v.Major, c.Major);
        EXPECT_EQ(v.Minor, c.Minor);
        EXPECT_EQ(OsIsW2kUp(v), c.W2k) << c.Major << "." << c.Minor;
        EXPECT_EQ(OsIsXpUp(v), c.Xp) << c.Major << "." << c.Minor;
        EXPECT_EQ(OsIsVistaUp(v), c.Vista) << c.Major << "." << c.Minor;
    }
}

class TScreenTest : public testing::Test {
protected:
    void SetUp() override {
        auto backend = std::make_unique<win::THeadlessBackend>();
        Screen = backend.get();
        win::Initialize(std::move(backend));
        win::TWndClass cls;
        cls.Name = "SkinScreenTest";
        win::RegisterClass(cls);  // false when an earlier test registered it
    }
    void TearDown() override { win::Finalize(); }
    win::THeadlessBackend* Screen = nullptr;
};

TEST_F(TScreenTest, EffectsFollowWhatTheBackendCanShow) {
    struct TCase {
        bool Layered, Shadows;
    };
    for (const TCase& c : {TCase{true, false}, {false, false}, {true, true}}) {
        Screen->SetCapabilities({c.Layered, c.Shadows});
        EXPECT_EQ(OsIsW2kUp(), c.Layered);
        EXPECT_EQ(OsIsVistaUp(), c.Layered);
        EXPECT_EQ(OsIsXpUp(), c.Shadows);
    }
}

TEST_F(TScreenTest, MonitorRectangles) {
    // One monitor: the primary work area or the whole screen, whatever the window.
    const win::HWND window =
        win::CreateWindowEx(0, "SkinScreenTest", "", win::WS_POPUP, 2000, 2000, 50, 50, {});
    EXPECT_FALSE(HasMultiMonitorApi());
    TRect r{1, 1, 1, 1};
    GetWindowMonitorRect(window, true, r);
    EXPECT_EQ(r, (TRect{0, 0, 1280, 760}));
    GetWindowMonitorRect(window, false, r);
    EXPECT_EQ(r, (TRect{0, 0, 1280, 800}));
    GetDesktopWorkRect(true, r);
    EXPECT_EQ(r, (TRect{0, 0, 1280, 760}));

    // Two monitors: the one nearest to the window.
    Screen->SetMonitors({{{0, 0, 1280, 800}, {0, 0, 1280, 760}, true},
                         {{1280, 0, 2560, 1024}, {1280, 24, 2560, 1024}, false}});
    EXPECT_TRUE(HasMultiMonitorApi());
    GetWindowMonitorRect(window, true, r);
    EXPECT_EQ(r, (TRect{1280, 24, 2560, 1024}));
    GetWindowMonitorRect(window, false, r);
    EXPECT_EQ(r, (TRect{1280, 0, 2560, 1024}));
    GetDesktopWorkRect(false, r);
    EXPECT_EQ(r, (TRect{0, 0, 1280, 800}));
    win::DestroyWindow(window);
}

TEST(SystemRoutinesTest, ProcessorTest) {
#if defined(__x86_64__)
    EXPECT_TRUE(CpuidPresent());
    EXPECT_NE(CpuSignatureOf(), 0u);
    EXPECT_NE(CpuFeatureBits() & (1u << 23), 0u);
    EXPECT_TRUE(CpuHasMmx());
#else
    EXPECT_EQ(CpuHasMmx(), CpuidPresent() && (CpuFeatureBits() & (1u << 23)) != 0);
#endif
}

}  // namespace
}  // namespace skin
