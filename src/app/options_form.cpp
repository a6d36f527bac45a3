#include "app/options_form.h"

#include "app/app_services.h"
#include "app/main_form.h"

namespace app {

TForm5* Form5 = nullptr;

namespace {

constexpr int kPriorityGroup = 1, kAfterDoneGroup = 2, kOverwriteGroup = 3;

skin::TbsSkinGroupBox* MakeGroup(TForm5* form, vcl::TWinControl* parent, const std::string& name,
                                 const std::string& caption, int top, int height) {
    auto* g = new skin::TbsSkinGroupBox(form);
    g->SetName(name);
    g->SetParent(parent);
    g->SetBounds(8, top, 370, height);
    g->SetCaption(caption);
    g->SetSkinData(Form1->bsSkinData1);
    return g;
}

}  // namespace

TForm5::TForm5(vcl::TComponent* AOwner) : vcl::TForm(AOwner) {
    BeginLoading();
    SetName("Form5");
    SetCaption("选项");
    SetBorderStyle(vcl::bsSingle);
    SetBorderIcons({});
    SetPosition(vcl::poMainFormCenter);
    SetClientWidth(400);
    SetClientHeight(300);

    bsSkinForm1 = new skin::TbsSkinForm(this);
    // The border icons first: the skin builds the caption buttons from them, and a change
    // made while the form is loading is only stored.
    bsSkinForm1->SetBorderIcons({});
    bsSkinForm1->SetSkinData(Form1->bsSkinData1);

    bsSkinPageControl1 = new skin::TbsSkinPageControl(this);
    bsSkinPageControl1->SetName("bsSkinPageControl1");
    bsSkinPageControl1->SetParent(this);
    bsSkinPageControl1->SetBounds(6, 6, 388, 250);
    bsSkinPageControl1->SetSkinData(Form1->bsSkinData1);
    bsSkinTabSheet1 = new skin::TbsSkinTabSheet(this);
    bsSkinTabSheet1->SetName("bsSkinTabSheet1");
    bsSkinTabSheet1->SetPageControl(bsSkinPageControl1);
    bsSkinTabSheet1->SetCaption("CPU设置");
    bsSkinTabSheet2 = new skin::TbsSkinTabSheet(this);
    bsSkinTabSheet2->SetName("bsSkinTabSheet2");
    bsSkinTabSheet2->SetPageControl(bsSkinPageControl1);
    bsSkinTabSheet2->SetCaption("常规设置");
    bsSkinPageControl1->SetActivePage(bsSkinTabSheet1);

    bsSkinGroupBox1 =
        MakeGroup(this, bsSkinTabSheet1, "bsSkinGroupBox1", "转换时CPU利用方式", 4, 86);
    bsSkinCheckRadioBox9 =
        MakeBox(bsSkinGroupBox1, "bsSkinCheckRadioBox9", "系统空闲时进行", true, 0, false);
    bsSkinCheckRadioBox10 =
        MakeBox(bsSkinGroupBox1, "bsSkinCheckRadioBox10", "最低优先级进行", true, 1, false);
    bsSkinCheckRadioBox11 =
        MakeBox(bsSkinGroupBox1, "bsSkinCheckRadioBox11", "较低优先级进行", true, 2, false);
    bsSkinCheckRadioBox12 =
        MakeBox(bsSkinGroupBox1, "bsSkinCheckRadioBox12", "正常优先级进行", true, 3, true);
    for (auto* b : {bsSkinCheckRadioBox9, bsSkinCheckRadioBox10, bsSkinCheckRadioBox11,
                    bsSkinCheckRadioBox12})
        b->SetGroupIndex(kPriorityGroup);

    bsSkinGroupBox2 = MakeGroup(this, bsSkinTabSheet1, "bsSkinGroupBox2", "转换参数", 96, 120);
    auto* label = new skin::TbsSkinStdLabel(this);
    label->SetParent(bsSkinGroupBox2);
    label->SetBounds(10, 22, 350, 16);
    label->SetCaption("程序最大运行线程数--（同时进行转换的文件个数）");
    label->SetSkinData(Form1->bsSkinData1);
    bsSkinComboBox2 = new skin::TbsSkinComboBox(this);
    bsSkinComboBox2->SetName("bsSkinComboBox2");
    bsSkinComboBox2->SetParent(bsSkinGroupBox2);
    bsSkinComboBox2->SetBounds(10, 42, 80, 20);
    bsSkinComboBox2->SetSkinData(Form1->bsSkinData1);
    for (int i = 1; i <= 19; ++i) bsSkinComboBox2->Items().Add(std::to_string(i));
    bsSkinComboBox2->SetItemIndex(0);
    bsSkinCheckRadioBox7 = MakeBox(bsSkinGroupBox2, "bsSkinCheckRadioBox7",
                                   "启用多线程模式   （同时进行转换的视频个数）", false, 3, true);
    bsSkinCheckRadioBox7->SetVisible(false);
    bsSkinCheckRadioBox8 =
        MakeBox(bsSkinGroupBox2, "bsSkinCheckRadioBox8", "转换时进行实时视频预览", false, 3, false);

    bsSkinGroupBox3 = MakeGroup(this, bsSkinTabSheet2, "bsSkinGroupBox3", "转换工作完成后", 4, 86);
    bsSkinCheckRadioBox1 =
        MakeBox(bsSkinGroupBox3, "bsSkinCheckRadioBox1", "自动打开输出文件夹", true, 0, true);
    bsSkinCheckRadioBox2 =
        MakeBox(bsSkinGroupBox3, "bsSkinCheckRadioBox2", "自动关闭计算机", true, 1, false);
    bsSkinCheckRadioBox4 =
        MakeBox(bsSkinGroupBox3, "bsSkinCheckRadioBox4", " 播放提示音乐", true, 2, false);
    bsSkinCheckRadioBox5 =
        MakeBox(bsSkinGroupBox3, "bsSkinCheckRadioBox5", "不进行任何操作", true, 3, false);
    for (auto* b :
         {bsSkinCheckRadioBox1, bsSkinCheckRadioBox2, bsSkinCheckRadioBox4, bsSkinCheckRadioBox5})
        b->SetGroupIndex(kAfterDoneGroup);

    bsSkinGroupBox4 =
        MakeGroup(this, bsSkinTabSheet2, "bsSkinGroupBox4", "如果输出文件存在时", 96, 60);
    bsSkinCheckRadioBox3 =
        MakeBox(bsSkinGroupBox4, "bsSkinCheckRadioBox3", "直接覆盖输出文件", true, 0, false);
    bsSkinCheckRadioBox6 =
        MakeBox(bsSkinGroupBox4, "bsSkinCheckRadioBox6", "自动重命名输出文件", true, 1, true);
    for (auto* b : {bsSkinCheckRadioBox3, bsSkinCheckRadioBox6}) b->SetGroupIndex(kOverwriteGroup);

    bsSkinButton6 = new skin::TbsSkinButton(this);
    bsSkinButton6->SetName("bsSkinButton6");
    bsSkinButton6->SetParent(this);
    bsSkinButton6->SetBounds(228, 266, 75, 25);
    bsSkinButton6->SetCaption("确定");
    bsSkinButton6->SetSkinData(Form1->bsSkinData1);
    bsSkinButton1 = new skin::TbsSkinButton(this);
    bsSkinButton1->SetName("bsSkinButton1");
    bsSkinButton1->SetParent(this);
    bsSkinButton1->SetBounds(312, 266, 75, 25);
    bsSkinButton1->SetCaption("取消");
    bsSkinButton1->SetSkinData(Form1->bsSkinData1);
    bsSkinButton1->SetCancel(true);  // Esc closes the dialog as Cancel does

    Panel1 = new vcl::TPanel(this);
    Panel1->SetName("Panel1");
    Panel1->SetParent(this);
    Panel1->SetBounds(420, 0, 100, 80);
    Panel1->SetVisible(false);
    Button1 = new vcl::TButton(this);
    Button1->SetName("Button1");
    Button1->SetParent(Panel1);
    Button1->SetBounds(0, 0, 75, 25);
    Button1->SetCaption("读取ini");
    Button2 = new vcl::TButton(this);
    Button2->SetName("Button2");
    Button2->SetParent(Panel1);
    Button2->SetBounds(0, 30, 75, 25);
    Button2->SetCaption("写ini");

    Button1->OnClick = [this](vcl::TObject*) { Button1Click(); };
    Button2->OnClick = [this](vcl::TObject*) { Button2Click(); };
    bsSkinButton6->OnClick = [this](vcl::TObject*) {
        Button2->Click();
        Close();
    };
    bsSkinButton1->OnClick = [this](vcl::TObject*) { Close(); };
    bsSkinCheckRadioBox8->OnClick = [this](vcl::TObject*) { bsSkinCheckRadioBox8Click(); };
    bsSkinCheckRadioBox7->OnClick = [this](vcl::TObject*) { bsSkinCheckRadioBox7Click(); };
    OnCreate = [this](vcl::TObject*) { FormCreate(); };
    EndLoading();
}

skin::TbsSkinCheckRadioBox* TForm5::MakeBox(vcl::TWinControl* parent, const std::string& name,
                                            const std::string& caption, bool radio, int row,
                                            bool checked) {
    auto* b = new skin::TbsSkinCheckRadioBox(this);
    b->SetName(name);
    b->SetParent(parent);
    b->SetBounds(radio ? 10 + (row % 2) * 180 : 10, radio ? 22 + (row / 2) * 26 : 70 + row * 0,
                 radio ? 170 : 340, 22);
    b->SetRadio(radio);
    // At run time Radio does not pick the record; the form data names it.
    if (radio) b->SetSkinDataName("radiobox");
    b->SetCaption(caption);
    b->SetChecked(checked);
    b->SetSkinData(Form1->bsSkinData1);
    return b;
}

void TForm5::FormCreate() {
    Button1->Click();
}

void TForm5::Button1Click() {
    const TOptionsValues v = Services().Settings.ReadOptions();
    for (int i = 0; i < bsSkinComboBox2->Items().Count(); ++i)
        if (bsSkinComboBox2->Items().Get(i) == v.ThreadCount) bsSkinComboBox2->SetItemIndex(i);
    skin::TbsSkinCheckRadioBox* const after[] = {bsSkinCheckRadioBox1, bsSkinCheckRadioBox2,
                                                 bsSkinCheckRadioBox4, bsSkinCheckRadioBox5};
    after[v.AfterDone]->SetChecked(true);
    skin::TbsSkinCheckRadioBox* const priority[] = {bsSkinCheckRadioBox9, bsSkinCheckRadioBox10,
                                                    bsSkinCheckRadioBox11, bsSkinCheckRadioBox12};
    priority[v.ThreadPriority]->SetChecked(true);
    (v.OverwriteFile == 0 ? bsSkinCheckRadioBox3 : bsSkinCheckRadioBox6)->SetChecked(true);
    // Its click handler passes the choice on, also when the state stays.
    bsSkinCheckRadioBox8->SetChecked(v.ShowPreview);
}

TOptionsValues TForm5::Values() const {
    TOptionsValues v;
    v.ThreadCount = bsSkinComboBox2->Text();
    const skin::TbsSkinCheckRadioBox* const after[] = {bsSkinCheckRadioBox1, bsSkinCheckRadioBox2,
                                                       bsSkinCheckRadioBox4, bsSkinCheckRadioBox5};
    for (int i = 0; i < 4; ++i)
        if (after[i]->Checked()) v.AfterDone = i;
    v.ShowPreview = bsSkinCheckRadioBox8->Checked();
    const skin::TbsSkinCheckRadioBox* const priority[] = {
        bsSkinCheckRadioBox9, bsSkinCheckRadioBox10, bsSkinCheckRadioBox11, bsSkinCheckRadioBox12};
    for (int i = 0; i < 4; ++i)
        if (priority[i]->Checked()) v.ThreadPriority = i;
    v.OverwriteFile = bsSkinCheckRadioBox3->Checked() ? 0 : 1;
    return v;
}

void TForm5::Button2Click() {
    Services().Settings.WriteOptions(Values(), bsSkinCheckRadioBox7->Checked());
}

void TForm5::bsSkinCheckRadioBox8Click() {
    Form1->FFTasks->SetPreview(bsSkinCheckRadioBox8->Checked());
}

void TForm5::bsSkinCheckRadioBox7Click() {
    bsSkinComboBox2->SetEnabled(bsSkinCheckRadioBox7->Checked());
}

}  // namespace app
