// The nine generated skins: they load, carry every record the program looks up with the kind
// its users expect, keep their geometry inside their pictures, survive a description round
// trip, read well, differ from each other, and come out the same on every build.
#include "skin/packages/stored_skins.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/rtl/inifiles.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/strings.h"
#include "skin/core/skin_data.h"
#include "skin_contents.h"
#include "skin_generator.h"
#include "skin_sheet_render.h"
#include "support/temp_dir.h"

namespace skin {
namespace {

using gfx::TColor;
using SkinDataPtr = std::unique_ptr<TbsSkinData, TComponentFree>;

const TStoredSkinPackage& PackageOf(int index) {
    return index < skingen::kChooserSkinCount ? ChooserSkinPackages()[index] : ListSkinPackage();
}

SkinDataPtr Load(int index) {
    SkinDataPtr data(new TbsSkinData(nullptr));
    std::unique_ptr<TbsCompressedSkinList, TComponentFree> list(new TbsCompressedSkinList(nullptr));
    AddStoredSkins(*list, {&PackageOf(index), 1});
    data->LoadCompressedStoredSkin(list->Skins().Items(0)->Skin());
    return data;
}

// The description of a loaded skin as an INI, for walking every key.
std::unique_ptr<rtl::TMemIniFile> Description(const TbsSkinContent& skin) {
    auto ini = std::make_unique<rtl::TMemIniFile>();
    skin.WriteDescription(*ini);
    return ini;
}

std::string DescriptionText(const TbsSkinContent& skin) {
    rtl::TStringList lines;
    Description(skin)->GetStrings(lines);
    return lines.Text();
}

// A value with four numbers is a rectangle; the writer writes nothing else that way.
bool IsRect(const std::string& value) {
    return std::count(value.begin(), value.end(), ',') == 3;
}

struct C {
    int r, g, b;
};
C Pixel(gfx::TBitmap& b, int x, int y) {
    const TColor c = b.Canvas().Pixel(x, y);
    return {gfx::GetRValue(c), gfx::GetGValue(c), gfx::GetBValue(c)};
}
C Centre(gfx::TBitmap& b, const TRect& r) {
    return Pixel(b, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}
C Mean(gfx::TBitmap& b, const TRect& r) {
    long sum[3] = {0, 0, 0}, n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x, ++n) {
            const C c = Pixel(b, x, y);
            sum[0] += c.r;
            sum[1] += c.g;
            sum[2] += c.b;
        }
    return {int(sum[0] / n), int(sum[1] / n), int(sum[2] / n)};
}
double Contrast(C a, TColor text) {
    auto lum = [](C c) {
        auto lin = [](int v) {
            const double s = v / 255.0;
            return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * lin(c.r) + 0.7152 * lin(c.g) + 0.0722 * lin(c.b);
    };
    const double la = lum(a),
                 lb = lum({gfx::GetRValue(text), gfx::GetGValue(text), gfx::GetBValue(text)});
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

template <class T>
T* Control(TbsSkinData& s, std::string_view name) {
    const int i = s.GetControlIndex(name);
    return i < 0 ? nullptr : dynamic_cast<T*>(s.CtrlList[i].get());
}
template <class T>
T* Object(TbsSkinData& s, std::string_view name) {
    const int i = s.GetIndex(name);
    return i < 0 ? nullptr : dynamic_cast<T*>(s.ObjectList[i].get());
}

class StoredSkinTest : public testing::TestWithParam<int> {};

INSTANTIATE_TEST_SUITE_P(All, StoredSkinTest, testing::Range(0, skingen::kSkinCount));

// ---- the library ------------------------------------------------------------------------------

TEST(StoredSkinLibraryTest, GivesTheChooserItemsInOrderAndTheListItem) {
    ASSERT_EQ(ChooserSkinPackages().size(), 8u);
    std::unique_ptr<TbsCompressedSkinList, TComponentFree> list(new TbsCompressedSkinList(nullptr));
    AddStoredSkins(*list, ChooserSkinPackages());
    AddStoredSkins(*list, {&ListSkinPackage(), 1});
    ASSERT_EQ(list->Skins().Count(), 9);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(ChooserSkinPackages()[i].Name, skingen::kChooserSkinNames[i]);
        EXPECT_EQ(list->Skins().Items(i)->Name(), skingen::kChooserSkinNames[i]);
        EXPECT_TRUE(list->Skins().Items(i)->Description().empty());
    }
    // The list skin has no name of its own: its item keeps the default.
    EXPECT_TRUE(ListSkinPackage().Name.empty());
    EXPECT_EQ(list->Skins().Items(8)->Name(), "bsSkin8");
}

TEST(StoredSkinLibraryTest, SkinIndexSwitchesBetweenTheChooserSkins) {
    SkinDataPtr data(new TbsSkinData(nullptr));
    std::unique_ptr<TbsCompressedSkinList, TComponentFree> list(new TbsCompressedSkinList(nullptr));
    AddStoredSkins(*list, ChooserSkinPackages());
    data->SetSkinList(list.get());
    EXPECT_FALSE(data->Empty);
    EXPECT_EQ(data->SkinName, "木星战甲");
    data->SetSkinIndex(7);
    EXPECT_EQ(data->SkinName, "水星战甲");
    data->SetSkinList(nullptr);
}

// ---- each skin --------------------------------------------------------------------------------

TEST_P(StoredSkinTest, LoadsWithItsNameAndEveryPicture) {
    const int index = GetParam();
    SkinDataPtr s = Load(index);
    EXPECT_FALSE(s->Empty);
    EXPECT_EQ(s->SkinName,
              index < 8 ? std::string(skingen::kChooserSkinNames[index]) : std::string());
    EXPECT_TRUE(s->SkinAuthor.empty());
    EXPECT_TRUE(s->AuthorEmail.empty());
    EXPECT_TRUE(s->AuthorURL.empty());
    EXPECT_EQ(s->FPicture->Width(), skingen::kFrameWidth);
    EXPECT_EQ(s->FPicture->Height(), skingen::kFrameHeight);
    ASSERT_EQ(int(s->FActivePictures.size()), s->FActivePicturesNames.Count());
    for (const auto& p : s->FActivePictures) {
        EXPECT_FALSE(p->Empty());
        EXPECT_LE(p->Width(), skingen::kMaxAtlasSide);
        EXPECT_LE(p->Height(), skingen::kMaxAtlasSide);
    }
    EXPECT_EQ(s->LayerFrame.PictureIndex, -1);
}

TEST_P(StoredSkinTest, CarriesEveryListedRecordOfItsKind) {
    const int index = GetParam();
    SkinDataPtr s = Load(index);
    for (const skingen::TContentRow& row : skingen::SkinContents()) {
        if (index == skingen::kListSkin && !row.ListSkin) continue;
        SCOPED_TRACE(std::string(row.Name));
        if (row.Object) {
            const int i = s->GetIndex(row.Name);
            ASSERT_GE(i, 0);
            EXPECT_EQ(ObjectKindWord(*s->ObjectList[i]), row.Kind);
        } else {
            const int i = s->GetControlIndex(row.Name);
            ASSERT_GE(i, 0);
            EXPECT_EQ(ControlKindWord(*s->CtrlList[i]), row.Kind);
        }
    }
    if (index != skingen::kListSkin) {
        auto* bar = Control<TbsDataSkinMainMenuBar>(*s, "mainmenubar");
        ASSERT_NE(bar, nullptr);
        EXPECT_NE(Object<TbsDataSkinMainMenuBarItem>(*s, bar->MenuBarItem), nullptr);
        const std::map<std::string, TbsStdCommand> commands = {
            {"closebutton", cmClose},     {"maxbutton", cmMaximize},
            {"minbutton", cmMinimize},    {"rollupbutton", cmRollUp},
            {"sysmenubutton", cmSysMenu}, {"traybutton", cmMinimizeToTray}};
        for (const auto& [name, command] : commands)
            EXPECT_EQ(Object<TbsDataSkinStdButton>(*s, name)->Command, command) << name;
    }
}

// Rectangles inside their pictures, none negative, state rectangles of one size, picture
// indexes in range, words from the tables, and a form minimum the preview form allows.
TEST_P(StoredSkinTest, GeometryHoldsTogether) {
    SkinDataPtr s = Load(GetParam());
    auto ini = Description(*s);
    const int pictures = int(s->FActivePictures.size());
    auto pictureSize = [&](int i) {
        return i >= 0 && i < pictures
                   ? TRect{0, 0, s->FActivePictures[i]->Width(), s->FActivePictures[i]->Height()}
                   : TRect{};
    };
    const TRect frame{0, 0, s->FPicture->Width(), s->FPicture->Height()};
    auto inside = [](const TRect& r, const TRect& in) {
        return r.Left >= in.Left && r.Top >= in.Top && r.Right <= in.Right &&
               r.Bottom <= in.Bottom && r.Left <= r.Right && r.Top <= r.Bottom;
    };
    // Keys whose rectangles show one thing in several states.
    const std::vector<std::set<std::string>> stateGroups = {
        {"skinrect", "activeskinrect", "downskinrect", "disabledskinrect", "focusedskinrect",
         "downrect", "inactiveskinrect", "restorerect", "restoreactiverect", "restoredownrect",
         "restoreinactiverect"},
        {"checkimagerect", "uncheckimagerect", "activecheckimagerect", "activeuncheckimagerect",
         "unenabledcheckimagerect", "unenableduncheckimagerect", "grayedcheckimagerect",
         "activegrayedcheckimagerect"},
        {"upbuttonrect", "activeupbuttonrect", "downupbuttonrect"},
        {"downbuttonrect", "activedownbuttonrect", "downdownbuttonrect"},
        {"thumbrect", "activethumbrect", "downthumbrect"},
        {"tabrect", "activetabrect", "focustabrect", "mouseintabrect"},
        {"itemrect", "activeitemrect", "focusitemrect"},
        {"buttonrect", "activebuttonrect", "unenabledbuttonrect"}};
    const std::map<std::string, std::vector<std::string_view>> words = {
        {"stretchtype", {value::kStretchWords.begin(), value::kStretchWords.end()}},
        {"mdibgstretchtype", {value::kStretchWords.begin(), value::kStretchWords.end()}},
        {"inactiveeffect",
         {value::kInActiveEffectWords.begin(), value::kInActiveEffectWords.end()}},
        {"morphkind", {value::kMorphWords.begin(), value::kMorphWords.end()}},
        {"alignment", {value::kAlignmentWords.begin(), value::kAlignmentWords.end()}},
        {"command", {value::kCommandWords.begin(), value::kCommandWords.end()}}};

    rtl::TStringList sections;
    ini->ReadSections(sections);
    for (int si = 0; si < sections.Count(); ++si) {
        const std::string section = sections[si];
        SCOPED_TRACE(section);
        // Which picture the section's rectangles lie in.
        TRect picture = frame;
        const int control = s->GetControlIndex(section), object = s->GetIndex(section);
        if (control >= 0) picture = pictureSize(s->CtrlList[control]->PictureIndex);
        if (section == "POPUPWINDOW") picture = pictureSize(s->PopupWindow.WindowPictureIndex);
        if (section == "HINTWINDOW") picture = pictureSize(s->HintWindow.WindowPictureIndex);
        rtl::TStringList keys;
        ini->ReadSection(section, keys);
        std::map<std::string, TRect> rects;
        for (int ki = 0; ki < keys.Count(); ++ki) {
            const std::string key = keys[ki];
            const std::string v = ini->ReadString(section, key, "");
            SCOPED_TRACE(key + "=" + v);
            if (section == "SKINCONTROLS" || section == "SKINOBJECTS") {
                if (key == "count") continue;
                const std::string kind = v.substr(v.find(':') + 1);
                EXPECT_TRUE(section == "SKINCONTROLS" ? CreateControlRecord(kind, "x") != nullptr
                                                      : CreateObjectRecord(kind, "x") != nullptr);
                continue;
            }
            if (v.find(',') != std::string::npos) {
                EXPECT_EQ(v.find('-'), std::string::npos) << "negative coordinate";
            }
            if (words.count(key)) {
                const auto& w = words.at(key);
                EXPECT_NE(std::find(w.begin(), w.end(), v), w.end());
            }
            if (key.find("pictureindex") != std::string::npos) {
                const int i = std::stoi(v);
                EXPECT_TRUE(i == -1 || (i >= 0 && i < pictures));
            }
            if (!IsRect(v)) continue;
            const TRect r = ParseRect(v);
            rects[key] = r;
            if (object >= 0) {
                auto* o = s->ObjectList[object].get();
                const bool inFrame = key == "skinrect" && !o->SkinRectInAPicture;
                picture = inFrame ? frame : pictureSize(o->ActivePictureIndex);
                if (key.find("textrect") != std::string::npos) picture = frame;
            }
            EXPECT_TRUE(inside(r, picture)) << "outside its picture";
        }
        for (const auto& group : stateGroups) {
            std::vector<std::pair<std::string, TRect>> members;
            for (const auto& [key, r] : rects)
                if (group.count(key) && r.Width() > 0) members.push_back({key, r});
            for (const auto& [key, r] : members) {
                EXPECT_EQ(r.Width(), members[0].second.Width())
                    << key << " vs " << members[0].first;
                EXPECT_EQ(r.Height(), members[0].second.Height())
                    << key << " vs " << members[0].first;
            }
        }
    }
    // Pictures drawn by automatic transparency carry their key colour bottom-left.
    for (auto& c : s->CtrlList)
        if (auto* sp = dynamic_cast<TbsDataSkinSplitterControl*>(c.get()))
            if (sp->GripperTransparent) {
                gfx::TBitmap& p = *s->FActivePictures[sp->PictureIndex];
                EXPECT_EQ(p.Canvas().Pixel(sp->GripperRect.Left, sp->GripperRect.Bottom - 1),
                          sp->GripperTransparentColor);
            }
    // Nine-slice records resize freely, so no skin resizes a form's controls.
    for (auto& c : s->CtrlList) {
        auto* custom = dynamic_cast<TbsDataSkinCustomControl*>(c.get());
        if (!custom || dynamic_cast<TbsDataSkinSplitterControl*>(c.get()) ||
            dynamic_cast<TbsDataSkinUpDownControl*>(c.get()))
            continue;
        EXPECT_TRUE(custom->RBPoint.X != 0 && custom->RBPoint.Y != 0) << c->IDName;
    }
    // The minimum size of a form: width from "formminwidth", height the frame's own.
    ASSERT_GT(s->FormMinWidth, 0);
    EXPECT_LE(s->FormMinWidth, skingen::kMaxMinFormWidth);
    EXPECT_LE(s->FPicture->Height() - s->ClRect.Height(), skingen::kMaxMinFormHeight);
    for (const char* name : {"clientrect", "captionrect", "buttonsrect"})
        EXPECT_TRUE(ini->ValueExists("FORMINFO", name)) << name;
    EXPECT_GT(s->BorderW, 0);
}

TEST_P(StoredSkinTest, DescriptionSurvivesSaveToFileAndBack) {
    SkinDataPtr s = Load(GetParam());
    testsupport::TTempDir dir;
    const std::string file = dir / "skin.ini";
    s->SaveToFile(file);
    rtl::TStringList lines;
    lines.LoadFromFile(file);
    rtl::TMemIniFile ini;
    ini.SetStrings(lines);
    TbsSkinContent back;
    back.ReadNames(ini);
    ReadStringList(ini, "PICTURES", "activepictures", back.FActivePicturesNames);
    back.ReadDescription(ini);
    EXPECT_EQ(DescriptionText(back), DescriptionText(*s));
    EXPECT_EQ(back.CtrlList.size(), s->CtrlList.size());
    EXPECT_EQ(back.ObjectList.size(), s->ObjectList.size());
}

// Font colour against the centre of the face it is drawn on, normal and hot.
TEST_P(StoredSkinTest, TextReadsOnItsFaces) {
    SkinDataPtr s = Load(GetParam());
    struct TCase {
        std::string what;
        gfx::TBitmap* picture;
        TRect face;
        TColor text;
    };
    std::vector<TCase> cases;
    auto atlas = [&](int i) { return s->FActivePictures[i].get(); };
    if (auto* c = Object<TbsDataSkinCaption>(*s, "caption")) {
        cases.push_back({"caption active", s->FPicture.get(), c->SkinRect, c->ActiveFontColor});
        gfx::TBitmap* inactive =
            s->FInActivePicture->Empty() ? s->FPicture.get() : s->FInActivePicture.get();
        cases.push_back({"caption inactive", inactive, c->SkinRect, c->FontColor});
    }
    if (auto* b = Control<TbsDataSkinButtonControl>(*s, "button")) {
        cases.push_back({"button", atlas(b->PictureIndex), b->SkinRect, b->FontColor});
        cases.push_back(
            {"button hot", atlas(b->PictureIndex), b->ActiveSkinRect, b->ActiveFontColor});
    }
    if (auto* m = Object<TbsDataSkinMenuItem>(*s, "menuitem")) {
        cases.push_back({"menu item", atlas(m->ActivePictureIndex), m->SkinRect, m->FontColor});
        cases.push_back(
            {"menu item hot", atlas(m->ActivePictureIndex), m->ActiveSkinRect, m->ActiveFontColor});
    }
    if (auto* t = Control<TbsDataSkinTabControl>(*s, "tab")) {
        cases.push_back({"tab", atlas(t->PictureIndex), t->TabRect, t->FontColor});
        cases.push_back(
            {"tab hot", atlas(t->PictureIndex), t->MouseInTabRect, t->MouseInFontColor});
        cases.push_back(
            {"tab active", atlas(t->PictureIndex), t->ActiveTabRect, t->ActiveFontColor});
    }
    if (auto* l = Control<TbsDataSkinListBox>(*s, "listbox")) {
        cases.push_back({"list item", atlas(l->PictureIndex), l->SItemRect, l->FontColor});
        cases.push_back(
            {"list item hot", atlas(l->PictureIndex), l->ActiveItemRect, l->ActiveFontColor});
    }
    if (auto* e = Control<TbsDataSkinEditControl>(*s, "edit")) {
        cases.push_back({"edit", atlas(e->PictureIndex), e->SkinRect, e->FontColor});
        cases.push_back(
            {"edit hot", atlas(e->PictureIndex), e->ActiveSkinRect, e->ActiveFontColor});
    }
    auto* label = Control<TbsDataSkinStdLabelControl>(*s, "stdlabel");
    auto* panel = Control<TbsDataSkinPanelControl>(*s, "panel");
    if (label && panel) {
        cases.push_back(
            {"stdlabel", atlas(panel->PictureIndex), panel->SkinRect, label->FontColor});
        cases.push_back(
            {"stdlabel hot", atlas(panel->PictureIndex), panel->SkinRect, label->ActiveFontColor});
    }
    EXPECT_GE(cases.size(), GetParam() == skingen::kListSkin ? 4u : 14u);
    for (const TCase& c : cases)
        EXPECT_GE(Contrast(Centre(*c.picture, c.face), c.text), 4.5) << c.what;
}

// The outline of a check box's square and a radio box's circle stands out from the face inside
// it and from the panel around it, in every state a user meets, checked or not: on a dark skin a
// dark outline on a dark face leaves no circle to see.
TEST_P(StoredSkinTest, CheckAndRadioOutlinesStandOutFromFaceAndPanel) {
    SkinDataPtr s = Load(GetParam());
    int checked = 0;
    for (const char* name : {"checkbox", "radiobox"}) {
        auto* rec = Control<TbsDataSkinCheckRadioControl>(*s, name);
        if (!rec) continue;
        gfx::TBitmap& atlas = *s->FActivePictures[rec->PictureIndex];
        const C panel = Centre(atlas, rec->SkinRect);
        const std::pair<const char*, TRect> looks[] = {
            {"unchecked", rec->UnCheckImageRect},
            {"checked", rec->CheckImageRect},
            {"unchecked hot", rec->ActiveUnCheckImageRect},
            {"checked hot", rec->ActiveCheckImageRect}};
        for (const auto& [what, r] : looks) {
            SCOPED_TRACE(std::string(name) + " " + what);
            ASSERT_GT(r.Width(), 6);
            const int midY = (r.Top + r.Bottom) / 2;
            // The outline's middle on the left side is wholly outline; two pixels in is face
            // (a radio's dot and a check mark start further in).
            const C ring = Pixel(atlas, r.Left, midY);
            const C face = Pixel(atlas, r.Left + 2, midY);
            const TColor ringColour = gfx::RGB(ring.r, ring.g, ring.b);
            EXPECT_GE(Contrast(face, ringColour), 3.0) << "outline against the face";
            EXPECT_GE(Contrast(panel, ringColour), 3.0) << "outline against the panel";
            ++checked;
        }
    }
    EXPECT_EQ(checked, GetParam() == skingen::kListSkin ? 0 : 8);
}

// A record that names another record (a list's scroll bars, a combo box's list, a tab row's
// arrows, the menu bar's item and buttons) names one this skin has.
TEST_P(StoredSkinTest, EveryRecordNameARecordHoldsResolves) {
    SkinDataPtr s = Load(GetParam());
    auto ini = Description(*s);
    // The keys whose values are record names, and where the record is looked up.
    const std::map<std::string, bool> nameKeys = {
        {"hscrollbarname", false}, {"vscrollbarname", false}, {"bothhscrollbarname", false},
        {"listboxname", false},    {"updown", false},         {"menubaritem", true},
        {"closebutton", true},     {"maxbutton", true},       {"minbutton", true},
        {"sysmenubutton", true}};
    std::vector<std::string> sections;
    for (const auto& r : s->CtrlList) sections.push_back(r->IDName);
    for (const auto& r : s->ObjectList) sections.push_back(r->IDName);
    int named = 0;
    for (const std::string& section : sections) {
        for (const auto& [key, object] : nameKeys) {
            const std::string name = ini->ReadString(section, key, "");
            if (name.empty()) continue;
            ++named;
            const int found = object ? s->GetIndex(name) : s->GetControlIndex(name);
            EXPECT_GE(found, 0) << section << " " << key << "=" << name;
        }
    }
    EXPECT_GE(named, GetParam() == skingen::kListSkin ? 4 : 8);
}

// The masked skin's mask repeats along the tiled edges without a seam: the rounding lies wholly
// in the corners, so a large window's edge has no notches.
TEST_P(StoredSkinTest, MaskEdgesTileWithoutASeam) {
    SkinDataPtr s = Load(GetParam());
    if (!s->FMask || s->FMask->Empty()) GTEST_SKIP() << "no mask";
    gfx::TBitmap& m = *s->FMask;
    const TRect cl = s->ClRect;
    auto sameRows = [&](int x0, int x1, int y0, int y1) {
        for (int y = y0 + 1; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (m.Canvas().Pixel(x, y) != m.Canvas().Pixel(x, y0)) return y;
        return -1;
    };
    auto sameColumns = [&](int x0, int x1, int y0, int y1) {
        for (int x = x0 + 1; x < x1; ++x)
            for (int y = y0; y < y1; ++y)
                if (m.Canvas().Pixel(x, y) != m.Canvas().Pixel(x0, y)) return x;
        return -1;
    };
    EXPECT_EQ(sameRows(0, cl.Left, s->LTPoint.Y, s->LBPoint.Y), -1) << "left edge";
    EXPECT_EQ(sameRows(cl.Right, m.Width(), s->RTPoint.Y, s->RBPoint.Y), -1) << "right edge";
    EXPECT_EQ(sameColumns(s->LBPoint.X, s->RBPoint.X, cl.Bottom, m.Height()), -1) << "bottom";
    EXPECT_EQ(sameColumns(s->LTPoint.X, s->RTPoint.X, 0, cl.Top), -1) << "top";
}

TEST_P(StoredSkinTest, SheetShowsNoKeyColour) {
    SkinDataPtr s = Load(GetParam());
    gfx::TBitmap sheet;
    skinsheet::RenderSkinSheet(*s, sheet);
    EXPECT_GT(sheet.Height(), 300);
    EXPECT_EQ(skinsheet::CountKeyColourPixels(sheet), 0);
}

// ---- all skins together -----------------------------------------------------------------------

TEST(StoredSkinSetTest, ChooserSkinsDifferInCaptionAndButtonFace) {
    struct TMeans {
        C caption, button;
    };
    std::vector<TMeans> means;
    for (int i = 0; i < skingen::kChooserSkinCount; ++i) {
        SkinDataPtr s = Load(i);
        auto* b = Control<TbsDataSkinButtonControl>(*s, "button");
        means.push_back({Mean(*s->FPicture, s->CaptionRect),
                         Mean(*s->FActivePictures[b->PictureIndex], b->SkinRect)});
    }
    auto apart = [](C a, C b) {
        return std::abs(a.r - b.r) >= 40 || std::abs(a.g - b.g) >= 40 || std::abs(a.b - b.b) >= 40;
    };
    for (int i = 0; i < skingen::kChooserSkinCount; ++i)
        for (int j = i + 1; j < skingen::kChooserSkinCount; ++j) {
            EXPECT_TRUE(apart(means[i].caption, means[j].caption))
                << i << " " << j << ": " << means[i].caption.r << "," << means[i].caption.g << ","
                << means[i].caption.b << " " << means[j].caption.r << "," << means[j].caption.g
                << "," << means[j].caption.b;
            EXPECT_TRUE(apart(means[i].button, means[j].button))
                << i << " " << j << ": " << means[i].button.r << "," << means[i].button.g << ","
                << means[i].button.b << " " << means[j].button.r << "," << means[j].button.g << ","
                << means[j].button.b;
        }
}

TEST(StoredSkinSetTest, EachChooserSkinHasItsStructuralVariant) {
    std::vector<SkinDataPtr> s;
    for (int i = 0; i < skingen::kChooserSkinCount; ++i) s.push_back(Load(i));
    // 0: a plain rectangular frame with tiled edges.
    EXPECT_TRUE(s[0]->FMask->Empty());
    EXPECT_FALSE(s[0]->LeftStretch || s[0]->TopStretch || s[0]->RightStretch ||
                 s[0]->BottomStretch);
    // 1: morphing buttons.
    auto* morph = Control<TbsDataSkinButtonControl>(*s[1], "button");
    EXPECT_TRUE(morph->Morphing);
    EXPECT_EQ(morph->MorphKind, mkGradient);
    // 2: a rounded frame cut by a mask.
    EXPECT_FALSE(s[2]->FMask->Empty());
    EXPECT_NE(s[2]->FMask->Canvas().Pixel(0, 0), s[2]->FMask->Canvas().Pixel(100, 60));
    // 3: a stretched client background.
    EXPECT_TRUE(s[3]->StretchEffect);
    EXPECT_EQ(s[3]->StretchType, bsstHorz);
    // 4: a frame animation strip and glow layers on buttons.
    auto* animated = Control<TbsDataSkinButtonControl>(*s[4], "button");
    EXPECT_GT(animated->FrameCount, 1);
    EXPECT_EQ(animated->AnimateSkinRect.Width(), animated->FrameCount * animated->SkinRect.Width());
    EXPECT_GE(animated->GlowLayerPictureIndex, 0);
    // 5: caption glow.
    EXPECT_TRUE(Object<TbsDataSkinCaption>(*s[5], "caption")->GlowEffect);
    // 6: an inactive frame rendered from the active one.
    EXPECT_TRUE(s[6]->AutoRenderingInActiveImage);
    EXPECT_TRUE(s[6]->FInActivePicture->Empty());
    // 7: caption buttons on the left.
    EXPECT_TRUE(s[7]->CapButtonsInLeft);
    EXPECT_LT(Object<TbsDataSkinStdButton>(*s[7], "closebutton")->SkinRect.Left, s[7]->LTPoint.X);
    // Only its own skin has each variant.
    for (int i = 0; i < skingen::kChooserSkinCount; ++i) {
        EXPECT_EQ(!s[i]->FMask->Empty(), i == 2) << i;
        EXPECT_EQ(s[i]->StretchEffect, i == 3) << i;
        EXPECT_EQ(s[i]->AutoRenderingInActiveImage, i == 6) << i;
        EXPECT_EQ(s[i]->CapButtonsInLeft, i == 7) << i;
    }
}

TEST(StoredSkinSetTest, GeneratorGivesTheSameBytesAsTheBuiltPackagesWithinTheLimits) {
    std::size_t total = 0;
    for (int i = 0; i < skingen::kSkinCount; ++i) {
        const std::vector<std::uint8_t> again = skingen::BuildPackage(i);
        const auto built = PackageOf(i).Package;
        EXPECT_TRUE(std::equal(again.begin(), again.end(), built.begin(), built.end())) << i;
        EXPECT_LE(built.size(), std::size_t(skingen::kMaxPackageBytes)) << i;
        total += built.size();
    }
    EXPECT_LE(total, std::size_t(skingen::kMaxAllPackagesBytes));
}

// ---- the look-up hook -------------------------------------------------------------------------

TEST(SkinDataMissedNamesTest, RecordsOnlyNamesThatFindNothing) {
    SkinDataPtr s = Load(0);
    std::set<std::string, std::less<>> missed;
    s->MissedNames = &missed;
    EXPECT_GE(s->GetControlIndex("button"), 0);
    EXPECT_GE(s->GetIndex("caption"), 0);
    EXPECT_EQ(s->GetControlIndex("nosuchcontrol"), -1);
    EXPECT_EQ(s->GetIndex("MENUITEM"), -1);
    EXPECT_EQ(s->GetControlIndex("nosuchcontrol"), -1);
    EXPECT_EQ(missed, (std::set<std::string, std::less<>>{"MENUITEM", "nosuchcontrol"}));
    s->MissedNames = nullptr;
    s->GetControlIndex("another");
    EXPECT_EQ(missed.size(), 2u);
}

}  // namespace
}  // namespace skin
