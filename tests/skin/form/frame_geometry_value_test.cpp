// The frame geometry as a value, without a form: tables of records (the default frame, the test
// skin in both row layouts, generated skins), sizes (the picture's, larger, tiny) and states
// (active, inactive, maximized, rolled up, icons taken away, buttons hidden). A form given the
// same record, size and state lays itself out exactly as the value says.
#include <algorithm>
#include <string>
#include <vector>

#include "skin/form/form_test_support.h"
#include "skin/form/frame_geometry.h"
#include "skin/packages/stored_skins.h"

namespace skin::test {
namespace {

using TFrameGeometryValue = TFormSkinTest;
using Rect = std::optional<gfx::TRect>;

int IndexOf(const TbsFrameRecord& record, const std::string& name) {
    for (std::size_t i = 0; i < record.Objects.size(); ++i)
        if (record.Objects[i].IDName == name) return int(i);
    ADD_FAILURE() << "no object " << name;
    return -1;
}

Rect PlaceOf(const TbsFrameRecord& record, const TbsFrameGeometry& g, const std::string& name) {
    const int i = IndexOf(record, name);
    return i < 0 ? Rect{} : g.Objects[std::size_t(i)].Rect;
}

std::unique_ptr<TbsSkinData, TComponentFree> Generated(int index) {
    std::unique_ptr<TbsSkinData, TComponentFree> data(new TbsSkinData(nullptr));
    std::unique_ptr<TbsCompressedSkinList, TComponentFree> list(new TbsCompressedSkinList(nullptr));
    AddStoredSkins(*list, {&ChooserSkinPackages()[std::size_t(index)], 1});
    data->LoadCompressedStoredSkin(list->Skins().Items(0)->Skin());
    return data;
}

TEST_F(TFrameGeometryValue, DefaultFrameByStyleSizeAndState) {
    const TbsFrameRecord record = DefaultFrameRecord();
    struct TCase {
        const char* Name;
        gfx::TSize Size;
        vcl::TFormBorderStyle Style;
        vcl::TWindowState WindowState;
        bool RolledUp, NoMaximizeIcon, ShowIcon;
        Rect Close, Max, Min, RollUp, SysMenu;
        gfx::TRect Caption, Client;
        bool Resizes;
    };
    const TCase cases[] = {
        {"sizeable",
         {200, 100},
         vcl::bsSizeable,
         vcl::wsNormal,
         false,
         false,
         false,
         gfx::TRect{180, 4, 197, 21},
         gfx::TRect{163, 4, 180, 21},
         gfx::TRect{146, 4, 163, 21},
         gfx::TRect{129, 4, 146, 21},
         gfx::TRect{3, 4, 20, 21},
         {20, 3, 129, 19},
         {3, 22, 197, 97},
         true},
        {"tool window",
         {200, 100},
         vcl::bsToolWindow,
         vcl::wsNormal,
         false,
         false,
         false,
         gfx::TRect{184, 4, 197, 17},
         gfx::TRect{171, 4, 184, 17},
         gfx::TRect{158, 4, 171, 17},
         gfx::TRect{145, 4, 158, 17},
         gfx::TRect{3, 4, 16, 17},
         {16, 3, 145, 15},
         {3, 18, 197, 97},
         false},
        {"maximized, no maximize icon, the form's icon",
         {200, 100},
         vcl::bsSizeable,
         vcl::wsMaximized,
         false,
         true,
         true,
         gfx::TRect{180, 4, 197, 21},
         std::nullopt,
         gfx::TRect{163, 4, 180, 21},
         gfx::TRect{146, 4, 163, 21},
         gfx::TRect{3, 4, 19, 20},
         {19, 3, 146, 19},
         {3, 22, 197, 97},
         false},
        {"rolled up to the caption",
         {200, 22},
         vcl::bsSizeable,
         vcl::wsNormal,
         true,
         false,
         false,
         gfx::TRect{180, 4, 197, 21},
         gfx::TRect{163, 4, 180, 21},
         gfx::TRect{146, 4, 163, 21},
         gfx::TRect{129, 4, 146, 21},
         gfx::TRect{3, 4, 20, 21},
         {20, 3, 129, 19},
         {3, 22, 197, 22},
         false},
        // The buttons run off a tiny frame; the client area is empty, never inverted.
        {"tiny",
         {4, 4},
         vcl::bsSizeable,
         vcl::wsNormal,
         false,
         false,
         false,
         gfx::TRect{-16, 4, 1, 21},
         gfx::TRect{-33, 4, -16, 21},
         gfx::TRect{-50, 4, -33, 21},
         gfx::TRect{-67, 4, -50, 21},
         gfx::TRect{3, 4, 20, 21},
         {20, 3, -67, 19},
         {3, 22, 3, 22},
         true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TbsFrameState state;
        state.BorderStyle = c.Style;
        state.WindowState = c.WindowState;
        state.RolledUp = c.RolledUp;
        state.ShowIcon = c.ShowIcon;
        if (c.NoMaximizeIcon) state.BorderIcons -= biMaximize;
        const TbsFrameGeometry g = CalcFrameGeometry(record, c.Size, state);
        EXPECT_EQ(PlaceOf(record, g, "closebutton"), c.Close);
        EXPECT_EQ(PlaceOf(record, g, "maxbutton"), c.Max);
        EXPECT_EQ(PlaceOf(record, g, "minbutton"), c.Min);
        EXPECT_EQ(PlaceOf(record, g, "rollupbutton"), c.RollUp);
        EXPECT_EQ(PlaceOf(record, g, "sysmenubutton"), c.SysMenu);
        // The tray button's icon is not among the defaults: hidden, disabled, not placed.
        const TbsFrameObjectPlace& tray = g.Objects[std::size_t(IndexOf(record, "traybutton"))];
        EXPECT_FALSE(tray.Visible);
        EXPECT_EQ(tray.Enabled, false);
        EXPECT_EQ(tray.Rect, std::nullopt);
        EXPECT_EQ(g.DefCaptionRect, c.Caption);
        EXPECT_EQ(g.ClientArea, c.Client);
        EXPECT_EQ(g.ResizeBorders, c.Resizes);
    }

    // Before the default buttons exist the caption spans the frame, so it still drags.
    const TbsFrameGeometry bare = CalcFrameGeometry(DefaultFrameRecord(false), {200, 100}, {});
    EXPECT_EQ(bare.DefCaptionRect, (gfx::TRect{3, 3, 197, 19}));
    EXPECT_TRUE(bare.Objects.empty());
}

// Properties every skinned record keeps at every size and state.
TEST_F(TFrameGeometryValue, SkinnedRecordsAtSizesAndStates) {
    std::vector<std::pair<std::string, TbsFrameRecord>> records;
    {
        auto* right = MakeSkin();
        records.emplace_back("test skin, button rectangle", FrameRecordOf(*right));
        TSkinOptions leftRow;
        leftRow.ButtonsInLeft = true;
        leftRow.UseButtonsRect = false;
        records.emplace_back("test skin, caption row from the left",
                             FrameRecordOf(*MakeSkin(leftRow)));
    }
    std::vector<std::unique_ptr<TbsSkinData, TComponentFree>> generated;
    for (int index : {0, 3}) {
        generated.push_back(Generated(index));
        ASSERT_FALSE(generated.back()->Empty);
        records.emplace_back("generated skin " + std::to_string(index),
                             FrameRecordOf(*generated.back()));
    }

    for (const auto& [name, record] : records) {
        SCOPED_TRACE(name);
        const gfx::TSize picture = record.Picture;
        for (gfx::TSize size : {picture, gfx::TSize{picture.cx + 100, picture.cy + 40},
                                gfx::TSize{picture.cx + 1, picture.cy}, gfx::TSize{12, 10}}) {
            SCOPED_TRACE(testing::Message() << size.cx << " x " << size.cy);
            const TbsFrameState normal;
            const TbsFrameGeometry g = CalcFrameGeometry(record, size, normal);
            ASSERT_EQ(g.Objects.size(), record.Objects.size());

            // The right-hand parts move with the width, the lower ones with the height.
            const int dx = size.cx - picture.cx, dy = size.cy - picture.cy;
            EXPECT_EQ(g.LTPoint, record.LTPoint);
            EXPECT_EQ(g.RBPoint, (gfx::TPoint{record.RBPoint.X + dx, record.RBPoint.Y + dy}));
            EXPECT_EQ(g.ClRect.Right, record.ClRect.Right + dx);
            EXPECT_EQ(g.MaskRectArea.Bottom, record.MaskRectArea.Bottom + dy);
            // The client area is what NCCALCSIZE leaves, never inverted.
            EXPECT_LE(g.ClientArea.Left, g.ClientArea.Right);
            EXPECT_LE(g.ClientArea.Top, g.ClientArea.Bottom);
            if (dx >= 0 && dy >= 0) EXPECT_EQ(g.ClientArea, g.ClRect);

            // Activity moves nothing; the window states only take the resize borders away.
            TbsFrameState inactive;
            inactive.Active = false;
            EXPECT_EQ(CalcFrameGeometry(record, size, inactive), g);
            TbsFrameState maximized;
            maximized.WindowState = vcl::wsMaximized;
            TbsFrameState rolled;
            rolled.RolledUp = true;
            for (const TbsFrameState& s : {maximized, rolled}) {
                TbsFrameGeometry other = CalcFrameGeometry(record, size, s);
                EXPECT_FALSE(other.ResizeBorders);
                other.ResizeBorders = g.ResizeBorders;
                EXPECT_EQ(other, g);
            }
            EXPECT_TRUE(g.ResizeBorders);

            // The caption buttons of the row: close first at the row's end, the rest following
            // without gaps; a button whose icon is gone is not placed and the row closes up.
            auto row = [&](const TbsFrameGeometry& geometry) {
                std::vector<gfx::TRect> rects;
                for (std::size_t i = 0; i < record.Objects.size(); ++i) {
                    const TbsFrameObjectRecord& o = record.Objects[i];
                    const bool button = o.Kind == fokStdButton || o.Kind == fokAnimate;
                    if (!button || !o.SkinRectInAPicture || o.Command == cmSysMenu) continue;
                    if (!geometry.Objects[i].Visible) {
                        EXPECT_EQ(geometry.Objects[i].Rect, std::nullopt) << o.IDName;
                        continue;
                    }
                    if (geometry.Objects[i].Rect) rects.push_back(*geometry.Objects[i].Rect);
                }
                std::sort(rects.begin(), rects.end(),
                          [](const gfx::TRect& a, const gfx::TRect& b) { return a.Left < b.Left; });
                for (std::size_t i = 1; i < rects.size(); ++i)
                    EXPECT_EQ(rects[i].Left, rects[i - 1].Right + geometry.ButtonsOffset);
                return rects;
            };
            const std::vector<gfx::TRect> full = row(g);
            const gfx::TRect rowRect = g.ButtonsRect.IsEmpty() ? g.CaptionRect : g.ButtonsRect;
            TbsFrameState fewer;
            fewer.BorderIcons -= biMaximize;
            fewer.BorderIcons -= biRollUp;
            const TbsFrameGeometry closed = CalcFrameGeometry(record, size, fewer);
            const std::vector<gfx::TRect> shorter = row(closed);
            EXPECT_EQ(closed.Objects[std::size_t(IndexOf(record, "maxbutton"))].Enabled, false);
            const bool rowed = std::any_of(
                record.Objects.begin(), record.Objects.end(), [](const TbsFrameObjectRecord& o) {
                    return o.Kind == fokStdButton && o.SkinRectInAPicture;
                });
            if (!rowed) {
                // Buttons drawn in the frame picture keep their zone's place and stay in
                // sight without their icon, only disabled.
                for (std::size_t i = 0; i < record.Objects.size(); ++i) {
                    ASSERT_TRUE(g.Objects[i].Rect);
                    if (dx == 0 && dy == 0)
                        EXPECT_EQ(*g.Objects[i].Rect, record.Objects[i].SkinRect);
                }
                const std::size_t max = std::size_t(IndexOf(record, "maxbutton"));
                EXPECT_TRUE(closed.Objects[max].Visible);
                EXPECT_EQ(closed.Objects[max].Rect, g.Objects[max].Rect);
            } else if (rowRect.IsEmpty()) {
                // A caption squeezed to nothing lays out no row.
                EXPECT_TRUE(full.empty());
            } else {
                const gfx::TRect close = *PlaceOf(record, g, "closebutton");
                if (g.CapButtonsInLeft)
                    EXPECT_EQ(close.Left, rowRect.Left);
                else
                    EXPECT_EQ(close.Right, rowRect.Right);
                for (const gfx::TRect& r : full) EXPECT_EQ(r.Top, rowRect.Top);
                EXPECT_EQ(shorter.size() + 2, full.size());
                EXPECT_EQ(*PlaceOf(record, closed, "closebutton"), close);
            }

            // Hidden caption buttons: none shows or takes clicks.
            TbsFrameState hidden;
            hidden.HideCaptionButtons = true;
            const TbsFrameGeometry none = CalcFrameGeometry(record, size, hidden);
            for (std::size_t i = 0; i < record.Objects.size(); ++i) {
                const TbsFrameObjectRecord& o = record.Objects[i];
                if (o.Kind != fokStdButton && o.Kind != fokAnimate) continue;
                EXPECT_EQ(none.Objects[i].Enabled, false) << o.IDName;
                EXPECT_EQ(none.Objects[i].Visible, !o.SkinRectInAPicture) << o.IDName;
            }
        }
    }
}

// A form with a generated skin uses the value: its New values and its objects' places are the
// geometry of its record, size and state.
TEST_F(TFrameGeometryValue, TheFormLaysItselfOutByTheValue) {
    vcl::TForm* form = MakeForm(420, 260);
    auto* sf = new TbsSkinForm(form);
    sf->SetBorderIcons({biSystemMenu, biMinimize, biMinimizeToTray});
    auto* sd = new TbsSkinData(vcl::Application);
    auto stored = Generated(0);
    sf->SetSkinData(sd);
    auto* list = new TbsCompressedSkinList(vcl::Application);
    AddStoredSkins(*list, {&ChooserSkinPackages()[0], 1});
    sd->LoadCompressedStoredSkin(list->Skins().Items(0)->Skin());
    list->Free();
    Run();
    sf->UpdateFrame(true);

    const TbsFrameRecord record = sf->FrameRecord();
    const TbsFrameGeometry g = sf->FrameGeometry(record);
    EXPECT_EQ(g, CalcFrameGeometry(FrameRecordOf(*stored), {form->Width(), form->Height()},
                                   sf->FrameState()));
    EXPECT_EQ(sf->NewClRect, g.ClRect);
    EXPECT_EQ(sf->NewCaptionRect, g.CaptionRect);
    EXPECT_EQ(sf->NewButtonsRect, g.ButtonsRect);
    EXPECT_EQ(sf->NewMaskRectArea, g.MaskRectArea);
    ASSERT_EQ(sf->ObjectList.size(), g.Objects.size());
    for (std::size_t i = 0; i < g.Objects.size(); ++i) {
        SCOPED_TRACE(sf->ObjectList[i]->IDName);
        EXPECT_EQ(sf->ObjectList[i]->Visible, g.Objects[i].Visible);
        if (g.Objects[i].Rect) EXPECT_EQ(sf->ObjectList[i]->ObjectRect, *g.Objects[i].Rect);
    }
    // The client the window got is the value's client area.
    EXPECT_EQ(form->ClientWidth(), g.ClientArea.Width());
    EXPECT_EQ(form->ClientHeight(), g.ClientArea.Height());
}

}  // namespace
}  // namespace skin::test
