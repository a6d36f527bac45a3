// Every screen the program shows, in each of the eight skins, as a user meets it: one labelled
// contact sheet per screen (a cell per skin) compared with its reviewed reference by the sheets'
// rule; every line of text drawn meanwhile read against what it was drawn over; and every
// control of a captured window searched for rows or columns nothing painted.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/program.h"
#include "app_test_support.h"
#include "media/libs/ff_utils.h"
#include "media/tasks/previewer.h"
#include "platform/gfx/text_watcher.h"
#include "platform/shell/shell_fixture.h"
#include "platform/sys/env.h"
#include "platform/win/caret.h"
#include "sheet_test_support.h"
#include "skin/dialogs/open_dialog.h"
#include "skin/dialogs/open_dialog_form.h"
#include "skin/dialogs/picture_dialogs.h"
#include "skin/dialogs/select_folder_dialog.h"
#include "skin/dialogs/select_skin_dialog.h"
#include "skin/dialogs/skin_message.h"
#include "skin/lists/office_combo_box.h"
#include "skin/menus/skin_menu.h"

namespace app::test {
namespace {

using skin::test::TSheet;

constexpr int kSkins = 8;
constexpr double kMinContrast = 4.5;
// What nothing painted looks like: the surface's black, or the key colour of a piece that leaked.
constexpr std::uint32_t kUnpaintedBlack = 0x000000u, kKeyColour = 0x7F007Fu;

double Luminance(gfx::TColor c) {
    auto lin = [](int v) {
        const double s = v / 255.0;
        return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * lin(gfx::GetRValue(c)) + 0.7152 * lin(gfx::GetGValue(c)) +
           0.0722 * lin(gfx::GetBValue(c));
}

// The contrast of a line of text with the mean of what lies under its solid pixels.
double ContrastOf(const gfx::TTextDrawn& d) {
    double under = 0;
    for (gfx::TColor c : d.Under) under += Luminance(c);
    under /= double(d.Under.size());
    const double text = Luminance(d.Color);
    return (std::max(text, under) + 0.05) / (std::min(text, under) + 0.05);
}

gfx::TImage Crop(const gfx::TImage& image, const win::TRect& r) {
    gfx::TImage out;
    out.Width = r.Width();
    out.Height = r.Height();
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x)
            out.Pixels.push_back(image.Pixels[std::size_t(y) * image.Width + x]);
    return out;
}

class TGalleryTest : public TAppTest {
public:
    void SetUp() override {
        TAppTest::SetUp();
        shellHome = std::make_unique<shelltest::TShellHome>();
        gfx::SetTextWatcher([this](const gfx::TTextDrawn& d) { Read(d); });
    }
    void TearDown() override {
        gfx::SetTextWatcher({});
        TAppTest::TearDown();
        shellHome.reset();
    }

    // Past every fade, hint and frame animation.
    void Settle() {
        for (int t = 0; t < 400; t += 10) {
            AdvanceMs(10);
            Run();
        }
    }

    // A shown window as the screen shows it, its controls searched for unpainted areas.
    gfx::TImage Shot(win::HWND window) {
        const gfx::HBITMAP shot = Screen->CaptureWindow(window);
        gfx::TImage image = TSheet::ImageOf(shot);
        if (auto* form = dynamic_cast<vcl::TWinControl*>(vcl::FindControl(window)))
            SearchUnpainted(*form, image, window);
        return image;
    }
    // The screen around every shown top-level (a window with its open menus); `origin` gets
    // the screen point of the picture's top left.
    gfx::TImage ScreenShot(vcl::TPoint* origin = nullptr) {
        win::TRect all{};
        bool any = false;
        for (win::HWND w : Screen->StackOrder()) {
            const win::TTopLevelState* s = Screen->Find(w);
            if (!s || !s->Shown) continue;
            all = any ? win::TRect{std::min(all.Left, s->Bounds.Left),
                                   std::min(all.Top, s->Bounds.Top),
                                   std::max(all.Right, s->Bounds.Right),
                                   std::max(all.Bottom, s->Bounds.Bottom)}
                      : s->Bounds;
            any = true;
        }
        const gfx::HBITMAP screen = Screen->Compose();
        all = gfx::IntersectRect(all, {0, 0, screen->Width(), screen->Height()});
        if (origin) *origin = {all.Left, all.Top};
        return Crop(TSheet::ImageOf(screen), all);
    }

    // Rows or columns of a shown control that are all black or key colour over at least half
    // the control's extent: something left them unpainted.
    void SearchUnpainted(vcl::TWinControl& form, const gfx::TImage& image, win::HWND window) {
        win::TRect frame;
        win::GetWindowRect(window, frame);
        // Black by design: its pixels count as painted wherever they lie (also in its parent).
        blackByDesign.clear();
        std::function<void(vcl::TWinControl&)> find = [&](vcl::TWinControl& parent) {
            for (int i = 0; i < parent.ControlCount(); ++i) {
                auto* c = dynamic_cast<vcl::TWinControl*>(parent.Controls(i));
                if (!c || !c->Visible() || !c->HandleAllocated()) continue;
                if (Unpaintable(*c)) {
                    const vcl::TPoint origin = c->ClientToScreen({0, 0});
                    const int left = origin.X - frame.Left, top = origin.Y - frame.Top;
                    blackByDesign.push_back(
                        {left, top, left + c->ClientWidth(), top + c->ClientHeight()});
                }
                find(*c);
            }
        };
        find(form);
        std::function<void(vcl::TWinControl&, win::TRect)> walk = [&](vcl::TWinControl& parent,
                                                                      win::TRect clip) {
            for (int i = 0; i < parent.ControlCount(); ++i) {
                auto* c = dynamic_cast<vcl::TWinControl*>(parent.Controls(i));
                if (!c || !c->Visible() || !c->HandleAllocated() || Unpaintable(*c)) continue;
                const vcl::TPoint origin = c->ClientToScreen({0, 0});
                win::TRect r{origin.X - frame.Left, origin.Y - frame.Top, 0, 0};
                r.Right = r.Left + c->ClientWidth();
                r.Bottom = r.Top + c->ClientHeight();
                r = gfx::IntersectRect(r, clip);
                if (r.Width() >= 6 && r.Height() >= 6) {
                    const std::string found = UnpaintedIn(image, r);
                    if (!found.empty())
                        unpainted.insert(context + ": " + c->Name() + " (" + c->ClassName() + ") " +
                                         found);
                }
                walk(*c, r);
            }
        };
        walk(form, {0, 0, image.Width, image.Height});
    }
    static bool Unpaintable(const vcl::TWinControl& c) {
        // The video picture is black until a clip plays.
        return c.Name() == "Panel6";
    }
    std::string UnpaintedIn(const gfx::TImage& image, const win::TRect& r) const {
        auto bad = [&](int x, int y) {
            for (const win::TRect& b : blackByDesign)
                if (x >= b.Left && x < b.Right && y >= b.Top && y < b.Bottom) return false;
            const std::uint32_t p = image.Pixels[std::size_t(y) * image.Width + x] & 0xFFFFFF;
            return p == kUnpaintedBlack || p == kKeyColour;
        };
        const int needX = std::max(6, r.Width() / 2), needY = std::max(6, r.Height() / 2);
        for (int y = r.Top; y < r.Bottom; ++y) {
            int run = 0;
            for (int x = r.Left; x < r.Right; ++x)
                if ((run = bad(x, y) ? run + 1 : 0) >= needX)
                    return "row " + std::to_string(y - r.Top);
        }
        for (int x = r.Left; x < r.Right; ++x) {
            int run = 0;
            for (int y = r.Top; y < r.Bottom; ++y)
                if ((run = bad(x, y) ? run + 1 : 0) >= needY)
                    return "column " + std::to_string(x - r.Left);
        }
        return {};
    }

    void Read(const gfx::TTextDrawn& d) {
        if (context.empty()) return;
        const double contrast = ContrastOf(d);
        if (contrast >= kMinContrast) return;
        std::ostringstream line;
        line << context << ": \"" << d.Text << "\" contrast " << std::round(contrast * 10) / 10;
        faint.insert(line.str());
    }

    // The screen with a menu open; the menu closed again afterwards.
    gfx::TImage ShotOfOpenMenu() {
        Settle();
        gfx::TImage image = ScreenShot();
        Press(win::VK_ESCAPE);
        Press(win::VK_ESCAPE);
        Settle();
        return image;
    }

    // The screen with a list's drop-down open; closed again afterwards.
    gfx::TImage DroppedDown(skin::TbsSkinOfficeComboBox* combo) {
        combo->DropDown();
        Settle();
        gfx::TImage image = ScreenShot();
        combo->CloseUp(false);
        Settle();
        return image;
    }

    // Shows a modal dialog through `open` and captures it once it is up and settled.
    gfx::TImage Modal(const std::function<void()>& open,
                      const std::function<void(vcl::TWinControl*)>& before = {}) {
        gfx::TImage image;
        Screen->QueueIdleStep([&] {
            Settle();
            win::HWND active = win::GetActiveWindow();
            auto* form = dynamic_cast<vcl::TWinControl*>(vcl::FindControl(active));
            if (before) before(form);
            Settle();
            image = Shot(active);
            Press(win::VK_ESCAPE);
            Run();
            // A form without a cancel button is closed as its close command would.
            if (win::IsWindow(active) && win::IsWindowVisible(active))
                if (auto* f = dynamic_cast<vcl::TCustomForm*>(vcl::FindControl(active)))
                    f->SetModalResult(vcl::mrCancel);
            Run();
        });
        open();
        Run();
        return image;
    }

    std::unique_ptr<shelltest::TShellHome> shellHome;
    std::string context;                    // screen and skin of the drawing now
    std::set<std::string> faint;            // text below the contrast
    std::set<std::string> unpainted;        // controls with unpainted rows or columns
    std::vector<win::TRect> blackByDesign;  // in the window being searched
};

// A file list with rows as adds leave them, the first selected.
void AddRows() {
    const char* const names[][4] = {
        {"/media/夏日旅行.mp4", "00:03:12", "48.20 MB", "夏日旅行.avi"},
        {"/media/concert-live.mkv", "01:12:40", "1.20 GB", "concert-live.avi"},
        {"/media/interview.wav", "00:10:05", "101.00 MB", "interview.avi"},
    };
    for (const auto& n : names) {
        vcl::TListItem* row = Form1->Rows().AddRow({}, {}, kNoTask);
        row->SetCaption(n[0]);
        row->SubItems().Put(siDuration, n[1]);
        row->SubItems().Put(siFileSize, n[2]);
        row->SubItems().Put(siOutputFile, n[3]);
    }
    Form1->bsSkinPanel5->SetVisible(false);
    Form1->lvFiles->Items().Item(0)->SetSelected(true);
    Form1->lvFiles->Items().Item(0)->SetFocused(true);
}

// A picture as a conversion hands it to its preview: sky, sun and hills, 24-bit.
std::unique_ptr<gfx::TBitmap> LandscapePicture() {
    constexpr int kWidth = 320, kHeight = 240, kHorizon = 150;
    std::unique_ptr<gfx::TBitmap> picture = media::CreateFrameBitmap(kWidth, kHeight, 24);
    for (int y = 0; y < kHeight; ++y) {
        std::uint8_t* row = picture->ScanLine(y);
        for (int x = 0; x < kWidth; ++x) {
            int r, g, b;
            const int dx = x - 240, dy = y - 60;
            if (dx * dx + dy * dy < 28 * 28) {
                r = 250, g = 210, b = 70;
            } else if (y < kHorizon + 12 * std::sin(x / 30.0)) {
                r = 90 + y / 3, g = 150 + y / 4, b = 230;
            } else {
                r = 60 + (x * 7 + y * 3) % 40, g = 140 + (y - kHorizon) / 2, b = 50;
            }
            row[x * 3] = std::uint8_t(b);
            row[x * 3 + 1] = std::uint8_t(g);
            row[x * 3 + 2] = std::uint8_t(r);
        }
    }
    return picture;
}

TEST_F(TGalleryTest, EveryScreenInEverySkinLooksAsReviewedReadsWellAndIsPaintedThroughout) {
    // A folder that cannot be made is still shown; its text is the same on every machine.
    testsupport::WriteFile(SettingsPath(), "[OutPath]\r\nOutPath=/proc/Zorvani视频软件/输出\r\n");
    Start();
    InstallFolderChooser();
    AddRows();
    const testsupport::TTempDir& dir = shellHome->Dir();
    dir.MakeFolder("look/Music");
    dir.MakeFolder("look/Videos");
    for (const char* f : {"look/clip.mp4", "look/song.mp3", "look/voice.wav", "look/notes.txt"})
        shellHome->Touch(f);
    Form1->OpenDialog1->InitialDir = dir / "look";
    Form1->SavePictureDialog1->InitialDir = dir / "look";

    struct TScreen {
        std::string Name;
        std::function<gfx::TImage()> Show;
    };
    const std::vector<TScreen> screens = {
        {"main_window",
         [&] {
             Form1->lvFiles->SetFocus();
             Settle();
             return Shot(Form1->Handle());
         }},
        {"main_menu",
         [&] {
             Screen->KeyDown(win::VK_MENU);
             Screen->KeyUp(win::VK_MENU);
             Run();
             Press(win::VK_DOWN);
             return ShotOfOpenMenu();
         }},
        {"submenu",
         [&] {
             const vcl::TPoint at = At(Form1->bsSkinButton23, 6, 7);
             Screen->MouseDown(at);
             Run();
             Screen->MouseUp(at);
             Run();
             // Down to "快照保存类型" (the menu opens on its first item), Right opens its
             // submenu, which must stand beside the item.
             skin::TbsSkinMenu& menu = *Form1->bsSkinForm1->SkinMenu;
             skin::TbsSkinPopupWindow* top = menu.Visible() ? menu.Level(0) : nullptr;
             EXPECT_TRUE(top) << "the snapshot menu opened";
             if (!top) return gfx::TImage{};
             auto onItem = [top] {
                 return top->ActiveItem >= 0 && top->Item(top->ActiveItem)->MenuItem == Form1->N27;
             };
             for (int i = 0; i < top->ItemCount() && !onItem(); ++i) {
                 Press(win::VK_DOWN);
                 Run();
             }
             Press(win::VK_RIGHT);
             Run();
             EXPECT_EQ(menu.LevelCount(), 2) << "the submenu opened";
             if (onItem() && menu.LevelCount() == 2) {
                 const win::TRect item = top->Item(top->ActiveItem)->ObjectRect;
                 const skin::TbsSkinPopupWindow& sub = *menu.Level(1);
                 EXPECT_EQ(sub.Left(), top->Left() + item.Right + 1);
                 EXPECT_EQ(sub.Top(), top->Top() + item.Top - sub.NewItemsRect.Top);
             }
             return ShotOfOpenMenu();
         }},
        {"category_list",
         [&] {
             Form1->bsSkinPageControl1->SetActivePage(Form1->bsSkinTabSheet1);
             return DroppedDown(Form1->bsSkinOfficeComboBox2);
         }},
        {"format_list", [&] { return DroppedDown(Form1->bsSkinOfficeComboBox1); }},
        {"rename",
         [&] {
             Form1->bsSkinButton21->ButtonClick();
             Form1->edt->SetText("夏日旅行-renamed");
             Settle();
             // The caret is a black line by design (and blinks), not an unpainted column.
             win::HideCaret(Form1->edt->Handle());
             Run();
             gfx::TImage image = Shot(Form1->Handle());
             Press(win::VK_ESCAPE);
             Form1->edt->SetVisible(false);
             Settle();
             return image;
         }},
        {"options_general",
         [&] {
             return Modal([] { Form5->ShowModal(); },
                          [](vcl::TWinControl*) {
                              Form5->bsSkinPageControl1->SetActivePage(Form5->bsSkinTabSheet2);
                          });
         }},
        {"options_cpu",
         [&] {
             return Modal([] { Form5->ShowModal(); },
                          [](vcl::TWinControl*) {
                              Form5->bsSkinPageControl1->SetActivePage(Form5->bsSkinTabSheet1);
                          });
         }},
        {"about_box", [&] { return Modal([] { Form2->ShowModal(); }); }},
        {"open_dialog", [&] { return Modal([] { Form1->OpenDialog1->Execute(); }); }},
        {"folder_dialog",
         [&] {
             // The tree names the home folder with its path: a fixed one keeps the sheet the
             // same from run to run (the temporary home's name is random).
             const std::string home = sys::GetEnv("HOME");
             sys::SetEnv("HOME", "/nonexistent-moradex-home");
             gfx::TImage image =
                 Modal([] { Services().ChooseFolder("选择输出目录", "/nonexistent-moradex"); });
             sys::SetEnv("HOME", home);
             return image;
         }},
        {"picture_dialog", [&] { return Modal([] { Form1->SavePictureDialog1->Execute(); }); }},
        {"skin_chooser",
         [&] {
             return Modal(
                 [] { Form1->bsSelectSkinDialog1->Execute(Form1->bsSkinData1->SkinIndex()); });
         }},
        {"preview_window",
         [&] {
             // A conversion's live preview over the main window, as its first picture opens it.
             media::TWindowPreviewer previewer;
             previewer.PaintFrame(*LandscapePicture(), 31, 1'200'000);
             Settle();
             vcl::TPoint origin;
             gfx::TImage image = ScreenShot(&origin);
             // Its picture lies in no control: searched here.
             if (vcl::TForm* form = previewer.Form()) {
                 const vcl::TPoint client = form->ClientToScreen({0, 0});
                 const win::TRect r{client.X - origin.X, client.Y - origin.Y,
                                    client.X - origin.X + form->ClientWidth(),
                                    client.Y - origin.Y + form->ClientHeight()};
                 if (const std::string found = UnpaintedIn(image, r); !found.empty())
                     unpainted.insert(context + ": the picture " + found);
             }
             return image;
         }},
        {"message_box",
         [&] {
             return Modal([] {
                 Form1->bsSkinMessage1->MessageDlg("输出文件夹不存在，是否创建？",
                                                   vcl::mtConfirmation, {vcl::mbYes, vcl::mbNo}, 0);
             });
         }},
    };

    std::vector<TSheet> sheets(screens.size());
    for (int skinIndex = 0; skinIndex < kSkins; ++skinIndex) {
        context.clear();
        Form1->bsSkinData1->SetSkinIndex(skinIndex);
        Settle();
        const int row = 2 * (skinIndex / 4), column = skinIndex % 4;
        for (std::size_t s = 0; s < screens.size(); ++s) {
            SCOPED_TRACE(screens[s].Name + " skin " + std::to_string(skinIndex));
            context = screens[s].Name + " skin " + std::to_string(skinIndex);
            if (std::getenv("MORADEX_GALLERY_TRACE")) std::fprintf(stderr, "%s\n", context.c_str());
            gfx::TImage image = screens[s].Show();
            context.clear();
            ASSERT_GT(image.Width, 0) << "the screen was shown";
            sheets[s].Add(
                row, column,
                TSheet::Label(std::to_string(skinIndex) + " " +
                              Form1->bsCompressedSkinList1->Skins().Items(skinIndex)->Name()));
            sheets[s].Add(row + 1, column, std::move(image));
        }
    }
    for (std::size_t s = 0; s < screens.size(); ++s)
        skin::test::ExpectSheetMatches(sheets[s].Compose(), "gallery_" + screens[s].Name);

    std::string list;
    for (const std::string& f : faint) list += "\n  " + f;
    EXPECT_TRUE(faint.empty()) << faint.size() << " lines of text below " << kMinContrast
                               << ":1 against their background:" << list;
    list.clear();
    for (const std::string& u : unpainted) list += "\n  " + u;
    EXPECT_TRUE(unpainted.empty()) << "unpainted areas inside controls:" << list;
}

}  // namespace
}  // namespace app::test
