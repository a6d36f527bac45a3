// The skin look of menu items on a headless screen with a manual clock, from a small skin built
// in code: the morph between the two looks by kind, the header strip, and picture glyphs drawn
// with their key colour left out.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "menu_test_skin.h"
#include "platform/vcl/vcl_test_support.h"
#include "skin/form/skin_form.h"
#include "skin/menus/skin_menu.h"

namespace skin {
namespace {

using test::kActiveItemColor;
using test::kItemColor;

class SkinMenuLookTest : public vcl::test::TVclTest {
public:
    void SetUp() override {
        TVclTest::SetUp();
        vcl::Application->CreateForm(form);
        form->SetBounds(100, 100, 400, 300);
        skinForm = new TbsSkinForm(form);
        form->Show();
        Run();
        sd = new TbsSkinData(form);
        test::FillMenuSkin(*sd);
        menu = new TbsSkinPopupMenu(form);
        menu->SetSkinData(sd);
    }

    vcl::TMenuItem* Add(vcl::TMenuItem* parent, const std::string& caption) {
        auto* item = new vcl::TMenuItem(form);
        item->SetCaption(caption);
        parent->Add(item);
        return item;
    }
    TbsSkinMenu& Controller() { return *skinForm->SkinMenu; }
    TbsSkinPopupWindow& Level(int i) { return *Controller().Level(i); }
    TbsDataSkinMenuItem& Record() {
        return *dynamic_cast<TbsDataSkinMenuItem*>(sd->ObjectList[0].get());
    }
    // Pixels of an item's row y (item coordinates).
    std::vector<gfx::TColor> Row(const TbsSkinMenuItem& item, int y) {
        std::vector<gfx::TColor> row;
        const TRect& r = item.ObjectRect;
        for (int x = r.Left; x < r.Right; ++x)
            row.push_back(ClientPixel(item.Parent->Handle(), x, r.Top + y));
        return row;
    }
    int CountIn(const TbsSkinMenuItem& item, gfx::TColor color, int fromX, int toX) {
        int n = 0;
        const TRect& r = item.ObjectRect;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left + fromX; x < r.Left + toX; ++x)
                if (ClientPixel(item.Parent->Handle(), x, y) == color) ++n;
        return n;
    }

    vcl::TForm* form = nullptr;
    TbsSkinForm* skinForm = nullptr;
    TbsSkinData* sd = nullptr;
    TbsSkinPopupMenu* menu = nullptr;
};

bool Near(gfx::TColor a, gfx::TColor b) {
    for (int shift : {0, 8, 16})
        if (std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)) > 1) return false;
    return true;
}

struct TMorphCase {
    TbsMorphKind Kind;
    // Expected colour near the left and the right end of the row at a factor of 0.4; 0: only
    // "neither look alone".
    gfx::TColor Left, Right;
};

TEST_F(SkinMenuLookTest, AHighlightedItemMorphsTowardsTheActiveLookByTheRecordsKind) {
    Record().Morphing = true;
    Add(menu->Items(), "Alpha");
    Add(menu->Items(), "Beta");
    // 0.6 of the inactive strip and 0.4 of the active one, channel by channel.
    const gfx::TColor blend = 0x0093A67A;
    const TMorphCase cases[] = {
        {mkDefault, blend, blend},
        {mkLeftSlide, kActiveItemColor, kItemColor},
        {mkRightSlide, kItemColor, kActiveItemColor},
        {mkPush, kActiveItemColor, kItemColor},
        {mkGradient, 0, 0},
        {mkLeftGradient, 0, 0},
        {mkRightGradient, 0, 0},
    };
    for (const TMorphCase& c : cases) {
        SCOPED_TRACE(int(c.Kind));
        Record().MorphKind = c.Kind;
        menu->Popup(300, 200);
        Run();
        ASSERT_EQ(Controller().LevelCount(), 1);
        TbsSkinMenuItem& item = *Level(0).Item(0);
        ASSERT_TRUE(item.Active);
        // Shown highlighted, the item starts from the inactive look: two 20 ms steps.
        EXPECT_EQ(item.MorphKf(), 0);
        for (int i = 0; i < 2; ++i) {
            AdvanceMs(20);
            Run();
        }
        EXPECT_DOUBLE_EQ(item.MorphKf(), 0.4);
        const std::vector<gfx::TColor> row = Row(item, 1);
        const std::size_t w = row.size();
        if (c.Left) {
            EXPECT_TRUE(Near(row[w / 10], c.Left)) << std::hex << row[w / 10];
            EXPECT_TRUE(Near(row[w - 1 - w / 10], c.Right)) << std::hex << row[w - 1 - w / 10];
        } else {
            EXPECT_NE(std::count(row.begin(), row.end(), kItemColor), int(w));
            EXPECT_NE(std::count(row.begin(), row.end(), kActiveItemColor), int(w));
        }
        // Three more steps end on the active look.
        for (int i = 0; i < 3; ++i) {
            AdvanceMs(20);
            Run();
        }
        EXPECT_DOUBLE_EQ(item.MorphKf(), 1);
        EXPECT_EQ(Row(item, 1)[w / 2], kActiveItemColor);
        Controller().CloseMenu(0);
        Run();
    }
}

// The gradient kinds already tint part of an item at factor 0: one left before its first tick
// has nothing to fade and is drawn at rest at once, not left tinted.
TEST_F(SkinMenuLookTest, AnItemLeftBeforeItsFirstStepIsDrawnAtRest) {
    Record().Morphing = true;
    Record().MorphKind = mkGradient;
    Add(menu->Items(), "Alpha");
    Add(menu->Items(), "Beta");
    menu->Popup(300, 200);
    Run();
    ASSERT_EQ(Controller().LevelCount(), 1);
    TbsSkinMenuItem& first = *Level(0).Item(0);
    ASSERT_TRUE(first.Active);
    ASSERT_EQ(first.MorphKf(), 0);
    const std::vector<gfx::TColor> tinted = Row(first, 1);
    ASSERT_NE(std::count(tinted.begin(), tinted.end(), kItemColor), int(tinted.size()));
    Level(0).PopupKeyDown(win::VK_DOWN);
    Run();
    ASSERT_EQ(Level(0).ActiveItem, 1);
    const std::vector<gfx::TColor> row = Row(first, 1);
    EXPECT_EQ(std::count(row.begin(), row.end(), kItemColor), int(row.size()));
    Controller().CloseMenu(0);
    Run();
}

// Five ticks each way, landing exactly on either end; the next tick finds nothing left to do and
// stops the timer. A factor added up in fifths misses 0 on the way out and takes a sixth step.
TEST_F(SkinMenuLookTest, AnItemFadesInAndOutInFiveStepsAndTheTimerStops) {
    Record().Morphing = true;
    Add(menu->Items(), "Alpha");
    Add(menu->Items(), "Beta");
    menu->Popup(300, 200);
    Run();
    ASSERT_EQ(Controller().LevelCount(), 1);
    TbsSkinMenuItem& alpha = *Level(0).Item(0);
    ASSERT_TRUE(alpha.Active);
    auto ticks = [&](int n) {
        std::vector<double> kf;
        for (int i = 0; i < n; ++i) {
            AdvanceMs(20);
            Run();
            kf.push_back(alpha.MorphKf());
        }
        return kf;
    };
    EXPECT_EQ(ticks(6), (std::vector<double>{0.2, 0.4, 0.6, 0.8, 1.0, 1.0}));
    EXPECT_FALSE(Level(0).MorphTimer->Enabled());
    const std::size_t w = Row(alpha, 1).size();
    EXPECT_EQ(Row(alpha, 1)[w / 2], kActiveItemColor);

    // The highlight moves on: Alpha fades out in five ticks, Beta in.
    Press(win::VK_DOWN);
    Run();
    ASSERT_FALSE(alpha.Active);
    EXPECT_EQ(ticks(6), (std::vector<double>{0.8, 0.6, 0.4, 0.2, 0.0, 0.0}));
    EXPECT_EQ(Row(alpha, 1)[w / 2], kItemColor);
    EXPECT_EQ(Level(0).Item(1)->MorphKf(), 1.0);
    EXPECT_FALSE(Level(0).MorphTimer->Enabled()) << "a seventh tick would be due";
    Controller().CloseMenu(0);
    Run();
}

TEST_F(SkinMenuLookTest, AHeaderRowShowsTheSkinsHeaderStripWithItsCaption) {
    for (bool menuHeader : {true, false}) {
        SCOPED_TRACE(menuHeader ? "menuheader" : "label");
        test::FillMenuSkin(*sd, {.MenuHeader = menuHeader});
        menu->Items()->Clear();
        Add(menu->Items(), "Alpha");
        vcl::TMenuItem* header = Add(menu->Items(), "-Head-");
        header->SetEnabled(false);
        menu->Popup(300, 200);
        Run();
        ASSERT_EQ(Controller().LevelCount(), 1);
        const TbsSkinMenuItem& row = *Level(0).Item(1);
        ASSERT_EQ(RectHeight(row.ObjectRect), 20);
        // The 16-pixel strip is centred on the 20-pixel row over the item's inactive strip.
        EXPECT_EQ(Row(row, 1)[1], kItemColor);
        EXPECT_EQ(Row(row, 2)[1], test::kHeaderColor);
        EXPECT_EQ(Row(row, 17)[1], test::kHeaderColor);
        EXPECT_EQ(Row(row, 18)[1], kItemColor);
        // The caption between the dashes, in the record's light font colour, centred; the dashes
        // and the edges of the strip stay plain.
        const int w = RectWidth(row.ObjectRect);
        int light = 0, lightAtEdges = 0;
        for (int y = 2; y < 18; ++y) {
            const std::vector<gfx::TColor> pixels = Row(row, y);
            for (int x = 0; x < w; ++x) {
                const gfx::TColor p = pixels[std::size_t(x)];
                if ((p & 0xFF) > 0xF8 && (p >> 8 & 0xFF) > 0xD0 && (p >> 16 & 0xFF) > 0xB0) {
                    ++light;
                    if (x < 6 || x >= w - 6) ++lightAtEdges;
                }
            }
        }
        EXPECT_GT(light, 10);
        EXPECT_EQ(lightAtEdges, 0);
        Controller().CloseMenu(0);
        Run();
    }
}

TEST_F(SkinMenuLookTest, ArrowAndCheckPicturesLeaveOutTheirKeyColour) {
    vcl::TMenuItem* sub = Add(menu->Items(), "Sub");
    Add(sub, "Inner");
    vcl::TMenuItem* check = Add(menu->Items(), "Checked");
    check->SetChecked(true);
    menu->Popup(300, 200);
    Run();
    ASSERT_EQ(Controller().LevelCount(), 1);
    TbsSkinPopupWindow& w = Level(0);
    for (int i = 0; i < 2; ++i) {
        const TbsSkinMenuItem& item = *w.Item(i);
        SCOPED_TRACE(item.MenuItem->Caption());
        const int width = RectWidth(item.ObjectRect);
        EXPECT_EQ(CountIn(item, test::kKeyColor, 0, width), 0);
        // The 4 x 4 glyph: at the right for the arrow, at the left for the check.
        const int glyph = i == 0 ? CountIn(item, test::kGlyphColor, width - 20, width)
                                 : CountIn(item, test::kGlyphColor, 0, 20);
        EXPECT_EQ(glyph, 16);
    }
    // Around the glyphs the item's own strip shows: active for the highlighted first item.
    const TbsSkinMenuItem& first = *w.Item(0);
    EXPECT_GT(CountIn(first, kActiveItemColor, RectWidth(first.ObjectRect) - 20,
                      RectWidth(first.ObjectRect)),
              200);
    const TbsSkinMenuItem& second = *w.Item(1);
    EXPECT_GT(CountIn(second, kItemColor, 0, 20), 250);
}

}  // namespace
}  // namespace skin
