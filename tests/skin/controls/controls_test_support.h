// The scene of the skinned-control tests: a shown form on the headless screen with a skin data
// component of its own, small skins built in code (description text and pictures drawn here, so
// every record value is known) or the generated skins, and the form's skin-change walk run the
// way the form skin component will run it: BeforeChangeSkinData on the form's controls bound to
// the changing skin data while WM_BEFORECHANGESKINDATA is handled, ChangeSkinData on them, parents
// first, while WM_CHANGESKINDATA is handled.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/graphics.h"
#include "platform/vcl/vcl_test_support.h"
#include "skin/controls/skin_control.h"
#include "skin/core/skin_content.h"
#include "skin/core/skin_data.h"
#include "skin/core/skin_data_test_support.h"

namespace skin::test {

// One record of a fixture skin: its name, its kind word ("button", "panel", ...) and its keys as
// description lines ("skinrect=0,0,20,10\npictureindex=0\n"); keys left out take their defaults.
struct TRecordText {
    std::string Name;
    std::string Kind;
    std::string Keys;
};

// A skin of the given records on the given pictures (picture i is the records' "pictureindex=i"),
// with the smallest frame sections a skin must have.
TbsSkinContent FixtureSkin(const std::vector<TRecordText>& records,
                           std::vector<std::unique_ptr<gfx::TBitmap>> pictures,
                           std::string_view skinName = "Fixture");

// A picture whose every pixel depends on its place and the seed.
std::unique_ptr<gfx::TBitmap> PatternPicture(int width, int height, int seed);

// The walk, each control before its children; only controls whose SkinData is `data`.
void BeforeChangeSkinWalk(vcl::TWinControl* root, TbsSkinData* data);
void ChangeSkinWalk(vcl::TWinControl* root, TbsSkinData* data);
// Runs the walk on the form whenever a skin data announces a change to it, as the form skin
// component will.
void HookSkinWalk(vcl::TCustomForm* form);

class TControlsTest : public vcl::test::TVclTest {
public:
    void SetUp() override;

    // Loads a skin through a stored skin, so the change messages reach every form.
    void Load(const TbsSkinContent& skin);
    // One of the generated stored skins: 0 to 7 those of the skin chooser (0 the first-start
    // skin), 8 the fixed skin of the category and format lists.
    void LoadStored(int index);

    // A control of class T owned by the form, parented to `parent` (the form when null), bound
    // to Data, at the given bounds.
    template <class T>
    T* Make(int x, int y, int width, int height, const std::string& name = "",
            vcl::TWinControl* parent = nullptr) {
        auto* control = new T(Form);
        if (!name.empty()) control->SetName(name);
        control->SetParent(parent ? parent : Form);
        control->SetBounds(x, y, width, height);
        control->SetSkinData(Data);
        return control;
    }

    // Input at a client point of a control; each runs the queued messages after it.
    void MoveTo(vcl::TControl* control, int x, int y);
    void MoveAway();  // to a corner of the screen outside the form
    void Down(vcl::TControl* control, int x, int y);
    void Up(vcl::TControl* control, int x, int y);
    // Advances the clock in 10 ms steps, running the messages after each.
    void Wait(int ms);

    // The screen pixel at a client point of a control.
    gfx::TColor PixelOf(vcl::TControl* control, int x, int y) const;
    // The control's rectangle, grown by `margin` on every side, as the screen shows it.
    gfx::TImage Capture(vcl::TControl* control, int margin = 0) const;

    vcl::TForm* Form = nullptr;
    TbsSkinData* Data = nullptr;
};

}  // namespace skin::test
