// The legacy settings dialog: a second settings form with its own, older catalogue (category
// and format lists, six parameter lists, OK and Cancel) whose routines are the click handlers of
// plain command buttons. Start-up creates it last and never shows it; only its creation chain
// runs (category 0's formats, preset 100's choices, two fields of the main window). Its other
// routines write the main window's working fields when clicked. It borrows the main window's
// skin data and follows skin changes through its form skin component. Main thread only.
#pragma once

#include <memory>

#include "media/tasks/ff_task_manager.h"
#include "platform/vcl/ext_ctrls.h"
#include "platform/vcl/forms.h"
#include "platform/vcl/img_list.h"
#include "platform/vcl/std_ctrls.h"
#include "skin/controls/page_control.h"
#include "skin/controls/panels.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/text_label.h"
#include "skin/form/skin_form.h"
#include "skin/lists/combo_box.h"
#include "skin/lists/office_combo_box.h"

namespace app {

class TForm6 : public vcl::TForm {
public:
    explicit TForm6(vcl::TComponent* AOwner);
    ~TForm6() override;

    skin::TbsSkinForm* bsSkinForm1 = nullptr;
    std::unique_ptr<media::TFFTaskManager> FFTasks;  // idle: never called
    vcl::TImageList* ImageList1 = nullptr;           // category pictures, 32 x 32
    vcl::TImageList* ImageList2 = nullptr;           // empty

    skin::TbsSkinPanel* bsSkinPanel2 = nullptr;
    skin::TbsSkinTextLabel* bsSkinTextLabel5 = nullptr;
    skin::TbsSkinOfficeComboBox* bsSkinOfficeComboBox2 = nullptr;  // categories
    skin::TbsSkinOfficeComboBox* bsSkinOfficeComboBox1 = nullptr;  // formats
    skin::TbsSkinButton* bsSkinButton1 = nullptr;                  // invisible, unskinned

    vcl::TPanel* Panel1 = nullptr;
    vcl::TImage* Image1 = nullptr;
    vcl::TButton *Button6 = nullptr, *Button5 = nullptr, *Button7 = nullptr, *Button2 = nullptr,
                 *Button13 = nullptr, *Button11 = nullptr, *Button18 = nullptr;

    skin::TbsSkinPageControl* bsSkinPageControl1 = nullptr;
    skin::TbsSkinTabSheet *bsSkinTabSheet1 = nullptr, *bsSkinTabSheet2 = nullptr,
                          *滤镜设置 = nullptr, *bsSkinTabSheet3 = nullptr;
    skin::TbsSkinTextLabel *bsSkinTextLabel3 = nullptr, *bsSkinTextLabel2 = nullptr,
                           *bsSkinTextLabel6 = nullptr, *bsSkinTextLabel9 = nullptr,
                           *bsSkinTextLabel4 = nullptr, *bsSkinTextLabel7 = nullptr;
    skin::TbsSkinComboBox* bsSkinComboBox1 = nullptr;   // frame size
    skin::TbsSkinComboBox* bsSkinComboBox2 = nullptr;   // video bit rate
    skin::TbsSkinComboBox* bsSkinComboBox9 = nullptr;   // frame rate
    skin::TbsSkinComboBox* bsSkinComboBox4 = nullptr;   // aspect mode
    skin::TbsSkinComboBox* bsSkinComboBox3 = nullptr;   // audio bit rate
    skin::TbsSkinComboBox* bsSkinComboBox10 = nullptr;  // sample rate

    skin::TbsSkinButton* bsSkinButton2 = nullptr;  // 确定
    skin::TbsSkinButton* bsSkinButton3 = nullptr;  // 取消

    void FormCreate();
    void bsSkinOfficeComboBox2Change();
    void bsSkinOfficeComboBox1Click();
    void bsSkinButton2Click();
    void bsSkinButton3Click();
    void Button2Click();   // fill the format list
    void Button18Click();  // fill the parameter lists
    void Button5Click();   // the preset's defaults and output name into the main window
    void Button13Click();  // the parameter lists' texts into the main window
    void Button6Click();   // reset the main window's working fields

private:
    void BuildSettingsPanel();
    void BuildCommandPanel();
    void BuildPages();
    void BuildButtons();
    skin::TbsSkinTextLabel* MakeLabel(vcl::TWinControl* parent, const std::string& name,
                                      const std::string& text, int left, int top);
    skin::TbsSkinComboBox* MakeParameterList(const std::string& name, int left, int top, int width);
    vcl::TButton* MakeCommand(const std::string& name, const std::string& caption, int left,
                              int top, int width);
    // The output name of the main window made unique in the output folder, unless overwriting.
    void MakeUniqueOutputFileName();
};

extern TForm6* Form6;

}  // namespace app
