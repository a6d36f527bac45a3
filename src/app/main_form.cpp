#include "app/main_form.h"

#include "app/about_form.h"
#include "app/app_pictures.h"
#include "app/app_services.h"
#include "app/legacy_form.h"
#include "app/list_adapters.h"
#include "app/options_form.h"
#include "catalogue/categories.h"
#include "catalogue/choice_filler.h"
#include "catalogue/format_list.h"
#include "media/tasks/previewer.h"
#include "platform/sys/files.h"
#include "platform/sys/launcher.h"
#include "platform/sys/paths.h"
#include "platform/win/types.h"
#include "skin/packages/stored_skins.h"

namespace app {

TForm1* Form1 = nullptr;

namespace {

constexpr int kClientWidth = 839, kClientHeight = 522;
constexpr int kHiddenLeft = 900;  // outside the client area
constexpr int kLogLines = 10000;

vcl::TMenuItem* AddItem(vcl::TComponent* owner, vcl::TMenuItem* parent, const std::string& name,
                        const std::string& caption, bool enabled = true) {
    auto* item = new vcl::TMenuItem(owner);
    if (!name.empty()) item->SetName(name);
    item->SetCaption(caption);
    item->SetEnabled(enabled);
    parent->Add(item);
    return item;
}

void AddSeparator(vcl::TComponent* owner, vcl::TMenuItem* parent) {
    AddItem(owner, parent, "", "-");
}

}  // namespace

TForm1::TForm1(vcl::TComponent* AOwner) : vcl::TForm(AOwner) {
    BeginLoading();
    SetName("Form1");
    SetCaption("Moradex");
    SetBorderStyle(vcl::bsSingle);
    SetBorderIcons({vcl::biSystemMenu, vcl::biMinimize});
    SetPosition(vcl::poDesktopCenter);
    SetClientWidth(kClientWidth);
    SetClientHeight(kClientHeight);

    bsCompressedSkinList1 = new skin::TbsCompressedSkinList(this);
    skin::AddStoredSkins(*bsCompressedSkinList1, skin::ChooserSkinPackages());
    bsCompressedSkinList2 = new skin::TbsCompressedSkinList(this);
    skin::AddStoredSkins(*bsCompressedSkinList2, {&skin::ListSkinPackage(), 1});
    bsSkinData1 = new skin::TbsSkinData(this);
    bsSkinData1->SetName("bsSkinData1");
    bsSkinData1->SetSkinIndex(1);
    bsSkinData2 = new skin::TbsSkinData(this);
    bsSkinData2->SetName("bsSkinData2");
    bsSkinData2->SetSkinIndex(0);

    bsSkinForm1 = new skin::TbsSkinForm(this);
    bsSkinForm1->SetSkinData(bsSkinData1);
    bsSkinForm1->SetBorderIcons({skin::biMinimize});
    bsSkinForm1->SetMenusSkinData(bsSkinData1);
    bsSkinForm1->FMagneticSize = 5;
    // Every tool tip of the program is drawn from the skin.
    bsSkinHint1 = new skin::TbsSkinHint(this);
    bsSkinHint1->SetName("bsSkinHint1");
    bsSkinHint1->SetSkinData(bsSkinData1);
    bsSkinForm1->SetSkinHint(bsSkinHint1);
    // The lists are linked once the index is set and the skin form listens, as form data links
    // them after reading: each skin data reads one skin (not skin 0 and then the form data's 1),
    // and the window is not made before its skin form is there.
    bsSkinData1->SetSkinList(bsCompressedSkinList1);
    bsSkinData2->SetSkinList(bsCompressedSkinList2);

    bsSkinMessage1 = new skin::TbsSkinMessage(this);
    bsSkinMessage1->SetSkinData(bsSkinData1);
    bsSkinMessage1->SetCtrlSkinData(bsSkinData1);
    bsSelectSkinDialog1 = new skin::TbsSelectSkinDialog(this);
    bsSelectSkinDialog1->Title = "Select skin";
    bsSelectSkinDialog1->SetSkinList(bsCompressedSkinList1);
    bsSelectSkinDialog1->SetSkinData(bsSkinData1);
    bsSelectSkinDialog1->SetCtrlSkinData(bsSkinData1);
    BuildOpenDialogs();

    FFTasks = std::make_unique<media::TFFTaskManager>();
    FFLogger = std::make_unique<media::TFFLogger>();
    FFPlayer = std::make_unique<media::TFFPlayer>();

    BuildImageLists();
    BuildMenus();
    BuildToolBar();
    BuildPreview();
    BuildTaskList();
    BuildSettingsTabs();
    BuildHidden();
    BuildStartUpLeftovers();
    BuildFileCommands();
    BuildPreviewPane();

    OnCreate = [this](vcl::TObject*) { FormCreate(); };
    OnActivate = [this](vcl::TObject*) { FormActivate(); };
    OnCloseQuery = [this](vcl::TObject*, bool& CanClose) { FormCloseQuery(CanClose); };
    BuildRunCommands();
    bsSkinButton2->OnClick = [this](vcl::TObject*) { bsSkinButton2Click(); };
    bsSkinButton10->OnClick = [this](vcl::TObject*) { bsSkinButton10Click(); };
    bsSkinButton11->OnClick = [this](vcl::TObject*) { bsSkinButton11Click(); };
    bsSkinButton12->OnClick = [this](vcl::TObject*) { bsSkinButton12Click(); };
    N10->OnClick = [this](vcl::TObject*) { bsSkinButton2Click(); };
    N11->OnClick = [this](vcl::TObject*) { bsSkinButton10Click(); };
    N12->OnClick = [this](vcl::TObject*) { bsSkinButton11Click(); };
    N13->OnClick = [this](vcl::TObject*) { bsSkinButton12Click(); };
    // The preview windows of a run open clear of the tool bar, whose buttons stop the run.
    media::TWindowPreviewer::SetKeepClear([this] {
        if (!bsSkinToolBar2->HandleAllocated() || !Visible()) return gfx::TRect{};
        const gfx::TPoint p = bsSkinToolBar2->ClientToScreen({0, 0});
        return gfx::Bounds(p.X, p.Y, bsSkinToolBar2->Width(), bsSkinToolBar2->Height());
    });
    EndLoading();
}

TForm1::~TForm1() {
    // The media objects outlive this body; what they still report must not reach freed controls.
    StopMedia();
    media::TWindowPreviewer::SetKeepClear({});
    if (Form1 == this) Form1 = nullptr;
}

skin::TbsSkinButton* TForm1::MakeButton(vcl::TWinControl* parent, const std::string& name,
                                        const std::string& caption, int left, int top, int width,
                                        int height) {
    auto* b = new skin::TbsSkinButton(this);
    b->SetName(name);
    b->SetParent(parent);
    b->SetBounds(left, top, width, height);
    b->SetCaption(caption);
    b->SetSkinData(bsSkinData1);
    return b;
}

vcl::TButton* TForm1::MakeCommand(const std::string& name, const std::string& caption, int top,
                                  std::function<void()> handler) {
    auto* b = new vcl::TButton(this);
    b->SetName(name);
    b->SetParent(this);
    b->SetBounds(kHiddenLeft, top, 75, 25);
    b->SetCaption(caption);
    b->SetTabStop(false);
    b->OnClick = [handler](vcl::TObject*) { handler(); };
    return b;
}

void TForm1::BuildImageLists() {
    auto fill = [this](const std::string& name, int size,
                       const std::vector<std::string>& pictures) {
        auto* list = new skin::TbsPngImageList(this);
        list->SetName(name);
        list->SetPngWidth(size);
        list->SetPngHeight(size);
        for (const std::string& p : pictures) {
            gfx::TPngImage image;
            LoadAppPicture(p, image);
            list->PngImages().Add()->SetPngImage(image);
        }
        return list;
    };
    std::vector<std::string> tools;
    for (int i = 0; i < 18; ++i) tools.push_back("tool" + std::to_string(i));
    bsPngImageList1 = fill("bsPngImageList1", 40, tools);
    bsPngImageList2 = fill("bsPngImageList2", 16,
                           {"play", "pause", "stop", "mute", "snapshot", "muted", "settings"});
}

void TForm1::BuildMenus() {
    bsSkinMainMenu1 = new skin::TbsSkinMainMenu(this);
    bsSkinMainMenu1->SetName("bsSkinMainMenu1");
    vcl::TMenuItem* root = bsSkinMainMenu1->Items();
    auto top = [&](const std::string& caption) {
        TopMenus.push_back(AddItem(this, root, "", caption));
        return TopMenus.back();
    };
    vcl::TMenuItem* file = top("文件");
    N1 = AddItem(this, file, "N1", "添加一个文件");
    N2 = AddItem(this, file, "N2", "添加多个文件");
    N21 = AddItem(this, file, "N21", "添加整个目录");
    AddSeparator(this, file);
    N4 = AddItem(this, file, "N4", "退出");
    vcl::TMenuItem* edit = top("编辑");
    N6 = AddItem(this, edit, "N6", "上移文件");
    N7 = AddItem(this, edit, "N7", "下移文件");
    AddSeparator(this, edit);
    N8 = AddItem(this, edit, "N8", "删除选择", false);
    N9 = AddItem(this, edit, "N9", "清空文件", false);
    AddSeparator(this, edit);
    N26 = AddItem(this, edit, "N26", "重新命名", false);
    vcl::TMenuItem* action = top("动作");
    N10 = AddItem(this, action, "N10", "开始转换", false);
    N11 = AddItem(this, action, "N11", "停止转换", false);
    AddSeparator(this, action);
    N12 = AddItem(this, action, "N12", "暂停转换", false);
    N13 = AddItem(this, action, "N13", "继续继续", false);
    vcl::TMenuItem* tools = top("功能");
    N24 = AddItem(this, tools, "N24", "转换设置");
    N23 = AddItem(this, tools, "N23", "软件皮肤");
    vcl::TMenuItem* help = top("帮助");
    N15 = AddItem(this, help, "N15", "帮助系统");
    N15->SetShortCut(win::VK_F1);
    AddSeparator(this, help);
    N19 = AddItem(this, help, "N19", "官方网站");
    N5 = AddItem(this, help, "N5", "关于软件");

    N4->OnClick = [this](vcl::TObject*) { N4Click(); };
    N5->OnClick = [this](vcl::TObject*) { N5Click(); };
    N15->OnClick = [this](vcl::TObject*) { N15Click(); };
    N19->OnClick = [this](vcl::TObject*) { N19Click(); };
    N24->OnClick = [this](vcl::TObject*) { N24Click(); };
    N23->OnClick = [this](vcl::TObject*) { bsSkinButton9Click(); };

    bsSkinMainMenuBar1 = new skin::TbsSkinMainMenuBar(this);
    bsSkinMainMenuBar1->SetName("bsSkinMainMenuBar1");
    bsSkinMainMenuBar1->SetParent(this);
    bsSkinMainMenuBar1->SetBounds(0, 0, kClientWidth, 22);
    bsSkinMainMenuBar1->SetSkinData(bsSkinData1);
    bsSkinMainMenuBar1->SetSkinForm(bsSkinForm1);
    bsSkinMainMenuBar1->SetMainMenu(bsSkinMainMenu1);
    bsSkinForm1->SetMainMenuBar(bsSkinMainMenuBar1);
}

void TForm1::BuildToolBar() {
    bsSkinToolBar2 = new skin::TbsSkinToolBar(this);
    bsSkinToolBar2->SetName("bsSkinToolBar2");
    bsSkinToolBar2->SetParent(this);
    bsSkinToolBar2->SetBounds(0, 22, kClientWidth, 62);
    // Under the menu bar and as wide as the client area, which a skin's frame makes narrower
    // than 839: a fixed width ran under the frame's right edge.
    bsSkinToolBar2->SetAlign(vcl::alTop);
    bsSkinToolBar2->SetSkinData(bsSkinData1);
    // Its speed button takes its pictures from the bar.
    bsSkinToolBar2->SetImages(bsPngImageList1);

    bsSkinPopupMenu1 = new skin::TbsSkinPopupMenu(this);
    bsSkinPopupMenu1->SetName("bsSkinPopupMenu1");
    AddItem(this, bsSkinPopupMenu1->Items(), "N2221", "添加一个文件");
    AddItem(this, bsSkinPopupMenu1->Items(), "N2222", "添加多个文件");
    AddItem(this, bsSkinPopupMenu1->Items(), "N3331", "添加整个目录");

    bsSkinMenuSpeedButton1 = new skin::TbsSkinMenuSpeedButton(this);
    bsSkinMenuSpeedButton1->SetName("bsSkinMenuSpeedButton1");
    bsSkinMenuSpeedButton1->SetParent(bsSkinToolBar2);
    bsSkinMenuSpeedButton1->SetBounds(4, 2, 64, 58);
    bsSkinMenuSpeedButton1->SetCaption("添加");
    bsSkinMenuSpeedButton1->SetSkinData(bsSkinData1);
    bsSkinMenuSpeedButton1->SetSkinPopupMenu(bsSkinPopupMenu1);
    bsSkinMenuSpeedButton1->SetImageList(bsPngImageList1);
    bsSkinMenuSpeedButton1->SetImageIndex(0);
    bsSkinMenuSpeedButton1->SetLayout(skin::blGlyphTop);

    struct TToolButton {
        skin::TbsSkinButton** Button;
        const char* Name;
        const char* Caption;
        int Slot;
        int Image;
        bool Enabled;
    };
    const TToolButton buttons[] = {
        {&bsSkinButton2, "bsSkinButton2", "开始", 1, 13, false},
        {&bsSkinButton10, "bsSkinButton10", "停止", 2, 14, false},
        {&bsSkinButton11, "bsSkinButton11", "暂停", 3, 15, false},
        {&bsSkinButton12, "bsSkinButton12", "继续", 3, 16, false},
        {&bsSkinButton19, "bsSkinButton19", "选项", 4, 7, true},
        {&bsSkinButton9, "bsSkinButton9", "皮肤", 5, 12, true},
    };
    for (const TToolButton& t : buttons) {
        *t.Button = MakeButton(bsSkinToolBar2, t.Name, t.Caption, 4 + 66 * t.Slot, 2, 64, 58);
        (*t.Button)->SetImageList(bsPngImageList1);
        (*t.Button)->SetImageIndex(t.Image);
        (*t.Button)->SetLayout(skin::blGlyphTop);
        (*t.Button)->SetEnabled(t.Enabled);
    }
    bsSkinButton12->SetVisible(false);
    bsSkinButton9->SetVisible(false);
    bsSkinButton19->OnClick = [this](vcl::TObject*) { N24Click(); };
    bsSkinButton9->OnClick = [this](vcl::TObject*) { bsSkinButton9Click(); };
}

void TForm1::BuildPreview() {
    bsSkinGroupBox1 = new skin::TbsSkinGroupBox(this);
    bsSkinGroupBox1->SetName("bsSkinGroupBox1");
    bsSkinGroupBox1->SetParent(this);
    bsSkinGroupBox1->SetBounds(6, 90, 256, 250);
    bsSkinGroupBox1->SetCaption("视频预览");
    bsSkinGroupBox1->SetSkinData(bsSkinData1);

    // The player reports the screen control's size: it has to be the main window's own child,
    // lying over the group box.
    Panel6 = new vcl::TPanel(this);
    Panel6->SetName("Panel6");
    Panel6->SetParent(this);
    Panel6->SetBounds(bsSkinGroupBox1->Left() + 8, bsSkinGroupBox1->Top() + 22, 240, 145);
    Panel6->SetCaption("");
    Panel6->SetColor(gfx::clBlack);

    // One step of the seek bar is one pixel.
    bsSkinSlider1 = new skin::TbsSkinSlider(this);
    bsSkinSlider1->SetName("bsSkinSlider1");
    bsSkinSlider1->SetParent(bsSkinGroupBox1);
    bsSkinSlider1->SetBounds(8, 172, 241, 20);
    bsSkinSlider1->SetSkinData(bsSkinData1);

    const struct {
        skin::TbsSkinButton** Button;
        const char* Name;
        int Left;
        int Image;
        const char* Hint;
    } buttons[] = {{&btnPreviewPlay, "btnPreviewPlay", 8, 0, "播放"},
                   {&btnPreviewPause, "btnPreviewPause", 38, 1, "暂停"},
                   {&btnPreviewStop, "btnPreviewStop", 68, 2, "停止"},
                   {&btnMute, "btnMute", 98, 3, "静音"},
                   {&bsSkinButton1, "bsSkinButton1", 128, 4, "快照"},
                   {&bsSkinButton20, "bsSkinButton20", 98, 5, "静音"},
                   {&bsSkinButton23, "bsSkinButton23", 158, 6, "设置"}};
    for (const auto& b : buttons) {
        *b.Button = MakeButton(bsSkinGroupBox1, b.Name, "", b.Left, 200, 26, 24);
        (*b.Button)->SetImageList(bsPngImageList2);
        (*b.Button)->SetImageIndex(b.Image);
        (*b.Button)->SetHint(b.Hint);
        (*b.Button)->SetShowHint(true);
    }
    // The muted look takes the mute button's place while the sound is off.
    bsSkinButton20->SetVisible(false);
}

void TForm1::BuildTaskList() {
    bsSkinPanel1 = new skin::TbsSkinPanel(this);
    bsSkinPanel1->SetName("bsSkinPanel1");
    bsSkinPanel1->SetParent(this);
    bsSkinPanel1->SetBounds(268, 90, 565, 250);
    bsSkinPanel1->SetCaption("");
    bsSkinPanel1->SetSkinData(bsSkinData1);

    lvFiles = new skin::TbsSkinListView(this);
    lvFiles->SetName("lvFiles");
    lvFiles->SetParent(bsSkinPanel1);
    lvFiles->SetBounds(2, 2, 561, 246);
    lvFiles->SetViewStyle(vcl::vsReport);
    lvFiles->SetGridLines(true);
    lvFiles->SetRowSelect(true);
    lvFiles->SetReadOnly(true);
    lvFiles->SetSkinData(bsSkinData1);
    const struct {
        const char* Title;
        int Width;
    } columns[] = {{"输入文件", 80},  {"视频时间", 70},  {"文件大小", 70}, {"输出文件", 80},
                   {"转换进度", 70},  {"", 0},           {"当前时间", 80}, {"转换大小", 80},
                   {"视频序号", 0},   {"视频类别", 0},   {"视频选项", 0},  {"视频编码", 0},
                   {"音频编码", 0},   {"声音频道", 0},   {"VideoTag", 0},  {"FileExt", 0},
                   {"视频分辨率", 0}, {"视频比特率", 0}, {"视频帧率", 0},  {"音频比特率", 0},
                   {"音频采样率", 0}, {"视频缩放", 0},   {"视频能否", 0},  {"TargetType", 0},
                   {"NormType", 0}};
    for (const auto& c : columns) {
        vcl::TListColumn* column = lvFiles->Columns().Add();
        column->SetCaption(c.Title);
        column->SetWidth(c.Width);
        if (c.Width == 0) column->SetMaxWidth(1);
    }

    bsSkinPanel5 = new skin::TbsSkinPanel(this);
    bsSkinPanel5->SetName("bsSkinPanel5");
    bsSkinPanel5->SetParent(bsSkinPanel1);
    bsSkinPanel5->SetBounds(2, 24, 561, 224);
    bsSkinPanel5->SetCaption("");
    bsSkinPanel5->SetSkinData(bsSkinData1);
    Image2 = new vcl::TImage(this);
    Image2->SetName("Image2");
    Image2->SetParent(bsSkinPanel5);
    Image2->SetBounds(200, 67, 160, 90);
    Image2->SetTransparent(true);
    {
        gfx::TPngImage logo;
        LoadAppPicture("listlogo", logo);
        Image2->Picture().SetGraphic(&logo);
    }

    const struct {
        skin::TbsSkinButton** Button;
        const char* Name;
        const char* Caption;
    } buttons[] = {{&bsSkinButton7, "bsSkinButton7", "删除"},
                   {&bsSkinButton8, "bsSkinButton8", "清空"},
                   {&bsSkinButton3, "bsSkinButton3", "上移"},
                   {&bsSkinButton4, "bsSkinButton4", "下移"},
                   {&bsSkinButton21, "bsSkinButton21", "重命名"}};
    int left = 268;
    for (const auto& b : buttons) {
        *b.Button = MakeButton(this, b.Name, b.Caption, left, 344, 66, 25);
        (*b.Button)->SetEnabled(false);
        left += 70;
    }
}

skin::TbsSkinComboBox* TForm1::MakeParameterList(const std::string& name, const std::string& label,
                                                 int column, int row) {
    const int left = 10 + column * 270, top = 12 + row * 36;
    auto* caption = new skin::TbsSkinStdLabel(this);
    caption->SetParent(bsSkinTabSheet2);
    caption->SetBounds(left, top + 3, 80, 16);
    caption->SetCaption(label);
    caption->SetSkinData(bsSkinData1);
    auto* box = new skin::TbsSkinComboBox(this);
    box->SetName(name);
    box->SetParent(bsSkinTabSheet2);
    box->SetBounds(left + 84, top, 160, 20);
    box->SetSkinData(bsSkinData1);
    return box;
}

void TForm1::BuildSettingsTabs() {
    bsSkinPageControl1 = new skin::TbsSkinPageControl(this);
    bsSkinPageControl1->SetName("bsSkinPageControl1");
    bsSkinPageControl1->SetParent(this);
    bsSkinPageControl1->SetBounds(6, 376, 827, 140);
    bsSkinPageControl1->SetSkinData(bsSkinData1);
    bsSkinTabSheet1 = new skin::TbsSkinTabSheet(this);
    bsSkinTabSheet1->SetName("bsSkinTabSheet1");
    bsSkinTabSheet1->SetPageControl(bsSkinPageControl1);
    bsSkinTabSheet1->SetCaption("常规设置");
    bsSkinTabSheet2 = new skin::TbsSkinTabSheet(this);
    bsSkinTabSheet2->SetName("bsSkinTabSheet2");
    bsSkinTabSheet2->SetPageControl(bsSkinPageControl1);
    bsSkinTabSheet2->SetCaption("音视频高级设置");
    bsSkinPageControl1->SetActivePage(bsSkinTabSheet1);

    auto label = [&](const std::string& text, int left, int top) {
        auto* l = new skin::TbsSkinStdLabel(this);
        l->SetParent(bsSkinTabSheet1);
        l->SetBounds(left, top, 80, 16);
        l->SetCaption(text);
        l->SetSkinData(bsSkinData1);
    };
    bsSkinOfficeComboBox2 = new skin::TbsSkinOfficeComboBox(this);
    bsSkinOfficeComboBox2->SetName("bsSkinOfficeComboBox2");
    bsSkinOfficeComboBox2->SetParent(bsSkinTabSheet1);
    bsSkinOfficeComboBox2->SetBounds(10, 10, 140, 50);
    bsSkinOfficeComboBox2->SetSkinData(bsSkinData2);
    bsSkinOfficeComboBox2->SetListBoxWidth(140);
    bsSkinOfficeComboBox2->SetListBoxItemHeight(50);
    bsSkinOfficeComboBox2->SetDropDownCount(4);
    for (const catalogue::TPresetCategory& c : catalogue::PresetCategories()) {
        skin::TbsSkinOfficeItem* item = bsSkinOfficeComboBox2->Items().Add();
        item->SetCaption(c.Caption);
        item->SetImageIndex(c.CategoryCode);
    }
    bsSkinOfficeComboBox2->SetItemIndex(0);

    label("输出格式：", 160, 12);
    bsSkinOfficeComboBox1 = new skin::TbsSkinOfficeComboBox(this);
    bsSkinOfficeComboBox1->SetName("bsSkinOfficeComboBox1");
    bsSkinOfficeComboBox1->SetParent(bsSkinTabSheet1);
    bsSkinOfficeComboBox1->SetBounds(240, 10, 456, 54);
    bsSkinOfficeComboBox1->SetSkinData(bsSkinData2);
    bsSkinOfficeComboBox1->SetListBoxItemHeight(60);
    bsSkinOfficeComboBox1->SetListBoxShowItemTitles(true);
    bsSkinOfficeComboBox1->SetListBoxShowLines(true);
    bsSkinOfficeComboBox1->SetDropDownCount(4);

    label("输出文件夹：", 160, 76);
    Video_OutPut_Folder_Edit = new skin::TbsSkinEdit(this);
    Video_OutPut_Folder_Edit->SetName("Video_OutPut_Folder_Edit");
    Video_OutPut_Folder_Edit->SetParent(bsSkinTabSheet1);
    Video_OutPut_Folder_Edit->SetBounds(240, 74, 400, 20);
    Video_OutPut_Folder_Edit->SetReadOnly(true);
    Video_OutPut_Folder_Edit->SetSkinData(bsSkinData1);
    bsSkinButton5 = MakeButton(bsSkinTabSheet1, "bsSkinButton5", "浏览...", 646, 72, 66, 25);
    bsSkinButton6 = MakeButton(bsSkinTabSheet1, "bsSkinButton6", "打开", 716, 72, 66, 25);

    bsSkinComboBox1 = MakeParameterList("bsSkinComboBox1", "视频分辨率：", 0, 0);
    bsSkinComboBox2 = MakeParameterList("bsSkinComboBox2", "视频比特率：", 0, 1);
    bsSkinComboBox9 = MakeParameterList("bsSkinComboBox9", "视频帧率：", 1, 0);
    bsSkinComboBox3 = MakeParameterList("bsSkinComboBox3", "音频比特率：", 1, 1);
    bsSkinComboBox10 = MakeParameterList("bsSkinComboBox10", "音频采样率：", 2, 0);
    bsSkinComboBox4 = MakeParameterList("bsSkinComboBox4", "视频缩放：", 2, 1);

    bsSkinOfficeComboBox2->OnChange = [this](vcl::TObject*) { Button2Click(); };
    // The rest of the format handler comes with the format-choice work.
    bsSkinOfficeComboBox1->OnChange = [this](vcl::TObject*) { Button18Click(); };
    bsSkinButton5->OnClick = [this](vcl::TObject*) { bsSkinButton5Click(); };
    bsSkinButton6->OnClick = [this](vcl::TObject*) { bsSkinButton6Click(); };
    Video_OutPut_Folder_Edit->OnClick = [this](vcl::TObject*) { Video_OutPut_Folder_EditClick(); };
}

void TForm1::BuildHidden() {
    mmoLog = new vcl::TMemo(this);
    mmoLog->SetName("mmoLog");
    mmoLog->SetParent(this);
    mmoLog->SetBounds(kHiddenLeft, 600, 200, 100);
    mmoLog->SetTabStop(false);
    ListBox1 = new vcl::TListBox(this);
    ListBox1->SetName("ListBox1");
    ListBox1->SetParent(this);
    ListBox1->SetBounds(kHiddenLeft, 720, 100, 60);
    ListBox1->SetTabStop(false);
    chkThreadMode = new vcl::TCheckBox(this);
    chkThreadMode->SetName("chkThreadMode");
    chkThreadMode->SetParent(this);
    chkThreadMode->SetBounds(kHiddenLeft + 220, 600, 100, 20);
    chkThreadMode->SetChecked(true);
    chkOpenPaused = new vcl::TCheckBox(this);
    chkOpenPaused->SetName("chkOpenPaused");
    chkOpenPaused->SetParent(this);
    chkOpenPaused->SetBounds(kHiddenLeft + 220, 630, 100, 20);
    chkOpenPaused->SetChecked(true);
    cboScreens = new vcl::TComboBox(this);
    cboScreens->SetName("cboScreens");
    cboScreens->SetParent(this);
    cboScreens->SetBounds(kHiddenLeft + 220, 660, 100, 20);
    cboScreens->SetTabStop(false);

    Button2 = MakeCommand("Button2", "根据类别添加格式", 0, [this] { Button2Click(); });
    Button3 = MakeCommand("Button3", "读取皮肤", 30, [this] { Button3Click(); });
    Button4 = MakeCommand("Button4", "写入皮肤", 60, [this] { Button4Click(); });
    Button6 = MakeCommand("Button6", "初始化数据", 90, [this] { Button6Click(); });
    Button15 = MakeCommand("Button15", "初始化数值", 120, [this] { Button15Click(); });
    Button16 = MakeCommand("Button16", "写入输出目录", 150, [this] { Button16Click(); });
    Button17 = MakeCommand("Button17", "读取输出目录", 180, [this] { Button17Click(); });
    Button18 = MakeCommand("Button18", "根据combox添加预设选项", 210, [this] { Button18Click(); });
    Button21 = MakeCommand("Button21", "设置过滤", 240, [this] { Button21Click(); });
    // Reachable by Tab although outside the window.
    Button1 = MakeCommand("Button1", "help", 270, [this] { Button1Click(); });
    Button26 = MakeCommand("Button26", "选项", 300, [this] { N24Click(); });
    Button27 = MakeCommand("Button27", "", 330, [] {});
    btnCapture = MakeCommand("btnCapture", "", 360, [] {});
    for (vcl::TButton* b : {Button1, Button26, Button27, btnCapture}) b->SetTabStop(true);
}

void TForm1::Log(const std::string& line) {
    rtl::TStringList& lines = mmoLog->Lines();
    lines.Add(line);
    while (lines.Count() > kLogLines) lines.Delete(0);
}

// --- Creation, activation, close -----------------------------------------------------------------

void TForm1::FormCreate() {
    Button15->Click();
    Button17->Click();
    Button21->Click();
    Button3->Click();
    Button2->Click();
    cboScreens->Items().Clear();
    cboScreens->Items().Add("Panel6");
    for (int n = 0;; ++n) {
        std::string found;
        for (int i = 0; i < ControlCount() && found.empty(); ++i) {
            auto* w = dynamic_cast<vcl::TWinControl*>(Controls(i));
            if (w && w->TabOrder() == n) found = w->Name();
        }
        if (found.empty()) break;
        cboScreens->Items().Add(found);
    }
    cboScreens->SetItemIndex(0);
    PrepareSavePictureDialog();
    bsSkinSlider1_down_UP = "UP";
}

void TForm1::FormActivate() {
    // During a run the format list is disabled and cannot take the focus.
    if (bsSkinOfficeComboBox1->CanFocus()) bsSkinOfficeComboBox1->SetFocus();
}

void TForm1::FormCloseQuery(bool&) {
    StopMedia();
}

void TForm1::StopMedia() {
    FFPlayer->OnPosition = nullptr;
    FFPlayer->OnState = nullptr;
    FFPlayer->OnHook = nullptr;
    FFTasks->SetOnCustomHook(nullptr);
    FFTasks->SetOnProgress(nullptr);
    FFTasks->SetOnTerminate(nullptr);
    FFTasks->Stop(true);
    FFLogger->SetOnLog(nullptr);
    // A playing preview would otherwise outlive its window.
    FFPlayer->Stop(true);
}

// --- Command buttons
// -------------------------------------------------------------------------------

void TForm1::Button2Click() {
    TOfficeListAdapter categories(bsSkinOfficeComboBox2), formats(bsSkinOfficeComboBox1);
    catalogue::FillFormatList(categories, formats);
}

void TForm1::Button18Click() {
    TComboListAdapter frameSize(bsSkinComboBox1), videoBitrate(bsSkinComboBox2),
        frameRate(bsSkinComboBox9), audioBitrate(bsSkinComboBox3), sampleRate(bsSkinComboBox10),
        aspect(bsSkinComboBox4);
    catalogue::FillParameterLists(
        {frameSize, videoBitrate, frameRate, audioBitrate, sampleRate, aspect},
        bsSkinOfficeComboBox2->ItemIndex(), bsSkinOfficeComboBox1->ItemIndex(),
        {Work.All_Trant_Number, Work.Video_DisableVideo});
}

void TForm1::Button6Click() {
    catalogue::ResetWorkingSettings(Work);
}

void TForm1::Button15Click() {
    for (media::TOutputOptions& o : OO1) o.AudioLanguage = "kong";
}

void TForm1::Button17Click() {
    FileOutPutPath = Services().Settings.ReadOutPath();
    Video_OutPut_Folder_Edit->SetText(FileOutPutPath);
}

void TForm1::Button16Click() {
    Services().Settings.WriteOutPath(FileOutPutPath);
}

void TForm1::Button3Click() {
    if (const std::optional<int> index = Services().Settings.ReadSkin())
        bsSkinData1->SetSkinIndex(*index);
}

void TForm1::Button4Click() {
    Services().Settings.WriteSkin(bsSkinData1->SkinIndex());
}

void TForm1::Button21Click() {
    OpenDialogFilter = OpenDialogFilterText();
    OpenDialog1->Filter = OpenDialogFilter;
    OpenDialog2->Filter = OpenDialogFilter;
}

void TForm1::bsSkinButton5Click() {
    if (!Services().ChooseFolder) return;
    const std::optional<std::string> folder =
        Services().ChooseFolder("选择输出目录", FileOutPutPath);
    // Cancel changes nothing, whatever the shared dialog last held.
    if (!folder || !sys::DirectoryExists(*folder)) return;
    Video_OutPut_Folder_Edit->SetText(*folder);
    FileOutPutPath = *folder;
    Button16->Click();
    if (lvFiles->CanFocus()) lvFiles->SetFocus();
}

void TForm1::bsSkinButton6Click() {
    sys::OpenDocument(Video_OutPut_Folder_Edit->Text());
    if (lvFiles->CanFocus()) lvFiles->SetFocus();
}

void TForm1::bsSkinButton9Click() {
    if (bsSelectSkinDialog1->Execute(bsSkinData1->SkinIndex()))
        bsSkinData1->SetSkinIndex(bsSelectSkinDialog1->SelectedSkinIndex());
    Button4->Click();
}

void TForm1::N4Click() {
    Close();
}
void TForm1::N5Click() {
    Form2->ShowModal();
}
void TForm1::N24Click() {
    Form5->ShowModal();
}
void TForm1::N15Click() {
    sys::OpenDocument(Services().HelpPage);
}
void TForm1::N19Click() {
    sys::OpenDocument(Services().WebSite);
}
void TForm1::Button1Click() {
    sys::OpenDocument(sys::GetAppPath() + "help.chm");
}

void TForm1::Video_OutPut_Folder_EditClick() {
    if (lvFiles->CanFocus()) lvFiles->SetFocus();
}

void TForm1::RepaintAll() {
    for (vcl::TCustomForm* f :
         {static_cast<vcl::TCustomForm*>(this), static_cast<vcl::TCustomForm*>(Form2),
          static_cast<vcl::TCustomForm*>(Form5), static_cast<vcl::TCustomForm*>(Form6)})
        if (f) f->Repaint();
}

}  // namespace app
