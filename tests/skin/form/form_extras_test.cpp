// The caption's quick buttons and the frozen client picture of an inactive form.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "form_test_support.h"

namespace skin {
namespace {

using test::TFormSkinTest;

gfx::TColor Channel(gfx::TColor c, int shift) {
    return (c >> shift) & 0xFF;
}

class QuickButtonsTest : public TFormSkinTest {
public:
    void SetUp() override {
        TFormSkinTest::SetUp();
        sf = SkinnedForm({}, 400, 100);
        images = new vcl::TImageList(sf->FForm);
        images->SetWidth(16);
        images->SetHeight(16);
        for (gfx::TColor c : {0x0000FF, 0x00FF00, 0xFF0000})
            images->AddMasked(*test::SolidPicture(16, 16, c), gfx::clFuchsia);
        sf->SetQuickImageList(images);
        ncPaints = 0;
        link = win::SubclassWindow(sf->FForm->Handle(),
                                   [this](win::HWND h, win::UINT m, win::WPARAM w, win::LPARAM l,
                                          const win::TNextProc& next) {
                                       ncPaints += m == win::WM_NCPAINT;
                                       return next(h, m, w, l);
                                   });
    }
    void TearDown() override {
        win::RemoveSubclass(sf->FForm->Handle(), link);
        TFormSkinTest::TearDown();
    }
    TbsQuickButtonItem* AddButton(int image) {
        TbsQuickButtonItem* b = sf->QuickButtons().Add();
        b->SetImageIndex(image);
        b->OnClick = [this, image](vcl::TObject* sender) {
            clicks.push_back(image);
            senders.push_back(sender);
        };
        return b;
    }
    TbsSkinCaptionObject* Caption() {
        for (auto& o : sf->ObjectList)
            if (auto* c = dynamic_cast<TbsSkinCaptionObject*>(o.get())) return c;
        return nullptr;
    }
    // The caption text's dark pixels on the screen, as frame columns.
    std::pair<int, int> TextColumns() {
        const gfx::TRect r = Caption()->ObjectRect;
        const gfx::HBITMAP surface = win::GetWindowSurface(sf->FForm->Handle());
        int first = -1, last = -1;
        for (int x = r.Left; x < r.Right; ++x)
            for (int y = r.Top; y < r.Bottom; ++y) {
                const std::uint32_t c = surface->Pixels()[std::size_t(y) * surface->Width() + x];
                if (Channel(c, 0) < 60 && Channel(c, 8) < 60 && Channel(c, 16) < 60) {
                    if (first == -1) first = x;
                    last = x;
                }
            }
        return {first, last};
    }

    TbsSkinForm* sf = nullptr;
    vcl::TImageList* images = nullptr;
    win::TSubclassToken link = 0;
    int ncPaints = 0;
    std::vector<int> clicks;
    std::vector<vcl::TObject*> senders;
};

TEST_F(QuickButtonsTest, ThreeButtonsTakeTheCaptionsLeftAndClickWithTheCaptionAsSender) {
    for (int i = 0; i < 3; ++i) {
        ncPaints = 0;
        AddButton(i);
        EXPECT_GE(ncPaints, 1) << i;
    }
    Run();
    TbsSkinCaptionObject* caption = Caption();
    ASSERT_NE(caption, nullptr);
    const gfx::TRect cr = caption->ObjectRect;
    const int y = (cr.Top + cr.Bottom) / 2;
    // 3 x (16 + 8) pixels at the caption's left: no dragging there, the caption after them.
    for (int x : {cr.Left, cr.Left + 71}) EXPECT_EQ(sf->GetHitTest({x, y}), win::HTOBJECT) << x;
    EXPECT_EQ(sf->GetHitTest({cr.Left + 72, y}), win::HTCAPTION);
    const gfx::TColor colours[] = {0x0000FF, 0x00FF00, 0xFF0000};
    for (int i = 0; i < 3; ++i) {
        const gfx::TRect r = sf->QuickButtons().Items(i)->ItemRect;
        EXPECT_EQ(r.Left, cr.Left + 24 * i) << i;
        EXPECT_EQ(r.Width(), 20);
        // The image sits centred in its place, in its own colour.
        const gfx::TColor c =
            ScreenPixel(sf->FForm->Left() + r.Left + 10, sf->FForm->Top() + r.Top + 10);
        EXPECT_EQ(c, colours[i]) << i;
    }

    // Hovering the second one makes it the active one and repaints the frame.
    const gfx::TRect second = sf->QuickButtons().Items(1)->ItemRect;
    const int bx = second.Left + 5, by = second.Top + 5;
    ncPaints = 0;
    sf->TestActive(bx, by, true);
    sf->ObjectMouseMove(bx, by);
    EXPECT_TRUE(sf->QuickButtons().Items(1)->Active);
    EXPECT_FALSE(sf->QuickButtons().Items(0)->Active);
    EXPECT_GE(ncPaints, 1);
    sf->ObjectMouseDown(vcl::mbLeft, bx, by);
    EXPECT_TRUE(sf->QuickButtons().Items(1)->Down);
    EXPECT_TRUE(clicks.empty());
    sf->ObjectMouseUp(vcl::mbLeft, bx, by);
    EXPECT_EQ(clicks, (std::vector<int>{1}));
    EXPECT_EQ(senders, (std::vector<vcl::TObject*>{caption}));
    EXPECT_FALSE(sf->QuickButtons().Items(1)->Down);
    // Leaving the caption drops the hover.
    sf->TestActive(-1, -1, false);
    EXPECT_FALSE(sf->QuickButtons().Items(1)->Active);
}

TEST_F(QuickButtonsTest, ChangesRepaintTheFrameExceptWhileLoading) {
    AddButton(0);
    AddButton(1);
    ncPaints = 0;
    sf->QuickButtons().Items(0)->SetEnabled(false);
    EXPECT_EQ(ncPaints, 1);
    sf->QuickButtons().Delete(1);
    EXPECT_EQ(ncPaints, 2);
    sf->BeginLoading();
    AddButton(2);
    sf->QuickButtons().Delete(0);
    EXPECT_EQ(ncPaints, 2);
    sf->EndLoading();
}

TEST_F(QuickButtonsTest, WithQuickButtonsTheCaptionTextIsCentredWhateverTheAlignment) {
    sf->FForm->SetCaption("Quick");
    Run();
    const auto [plainFirst, plainLast] = TextColumns();
    ASSERT_NE(plainFirst, -1);
    // The test skin aligns the caption text left.
    EXPECT_LT(plainFirst - Caption()->ObjectRect.Left, 10);
    AddButton(0);
    Run();
    const auto [first, last] = TextColumns();
    const gfx::TRect tr = Caption()->TextRectNow();
    const int left = Caption()->ObjectRect.Left + tr.Left,
              right = Caption()->ObjectRect.Left + tr.Right;
    EXPECT_LE(std::abs((first - left) - (right - 1 - last)), 2) << first << " " << last;
    EXPECT_EQ(last - first, plainLast - plainFirst);
    // Without an image list there are no quick buttons, whatever the collection holds.
    sf->SetQuickImageList(nullptr);
    EXPECT_EQ(sf->GetHitTest({Caption()->ObjectRect.Left + 1, 15}), win::HTCAPTION);
}

class InactivePanelTest : public TFormSkinTest {
public:
    // A skinned form whose client shows a black square on the skin's white background.
    TbsSkinForm* FormWithSquare(TbsClientInActiveEffect effect) {
        TbsSkinForm* sf = SkinnedForm({}, 300, 200);
        sf->FClientInActiveEffect = true;
        sf->FClientInActiveEffectType = effect;
        sf->FForm->OnPaint = [form = sf->FForm](vcl::TObject*) {
            form->Canvas().Brush().SetColor(gfx::clBlack);
            form->Canvas().FillRect({20, 20, 80, 80});
        };
        sf->FForm->Invalidate();
        Run();
        return sf;
    }
    gfx::TColor Snapshot(TbsSkinForm* sf, int x, int y) {
        const TbsBitmap* b = sf->FInActivePanel->Buffer();
        return b->Bits()[y * b->Width() + x] & 0xFFFFFF;
    }
};

TEST_F(InactivePanelTest, BlurredWhileInactiveAndGoneWhenActive) {
    TbsSkinForm* sf = FormWithSquare(bsieBlur);
    vcl::TForm* other = MakeForm(100, 100, "Other");
    other->SetBounds(800, 100, 100, 100);
    Run();
    ASSERT_NE(sf->FInActivePanel, nullptr);
    EXPECT_TRUE(sf->FInActivePanel->Visible());
    EXPECT_EQ(sf->FInActivePanel->Width(), sf->FForm->ClientWidth());
    // Far from the edge the picture keeps its colours; at the edge black and white mix.
    EXPECT_EQ(Snapshot(sf, 50, 50), 0u);
    EXPECT_EQ(Snapshot(sf, 150, 150), 0xFFFFFFu);
    const gfx::TColor edge = Snapshot(sf, 20, 50);
    EXPECT_GT(Channel(edge, 0), 20u);
    EXPECT_LT(Channel(edge, 0), 235u);
    // The panel shows the picture over the client.
    gfx::TPoint p{20, 50};
    win::ClientToScreen(sf->FForm->Handle(), p);
    EXPECT_EQ(ScreenPixel(p.X, p.Y), edge);

    win::SetActiveWindow(sf->FForm->Handle());
    Run();
    EXPECT_EQ(sf->FInActivePanel, nullptr);
}

TEST_F(InactivePanelTest, SemiTransparentLaysTheBackgroundOverAtAlpha170) {
    TbsSkinForm* sf = FormWithSquare(bsieSemiTransparent);
    MakeForm(100, 100, "Other")->SetBounds(800, 100, 100, 100);
    Run();
    ASSERT_NE(sf->FInActivePanel, nullptr);
    // White background at 170 of 255 over black: 170 in every channel; over white: white.
    const gfx::TColor over = Snapshot(sf, 50, 50);
    for (int shift : {0, 8, 16}) EXPECT_NEAR(int(Channel(over, shift)), 170, 2) << shift;
    EXPECT_EQ(Snapshot(sf, 150, 150), 0xFFFFFFu);
}

TEST_F(InactivePanelTest, ARolledUpFormGetsNone) {
    TbsSkinForm* sf = FormWithSquare(bsieBlur);
    sf->SetRollUpState(true);
    Run();
    ASSERT_EQ(sf->FForm->ClientHeight(), 0);
    MakeForm(100, 100, "Other")->SetBounds(800, 100, 100, 100);
    Run();
    EXPECT_TRUE(!sf->FInActivePanel || !sf->FInActivePanel->Visible());
}

}  // namespace
}  // namespace skin
