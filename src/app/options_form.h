// The options dialog: conversion options of the settings file's Options section. Its controls,
// not the file, are the live settings while the program runs. Main thread only.
#pragma once

#include "app/settings_file.h"
#include "platform/vcl/ext_ctrls.h"
#include "platform/vcl/forms.h"
#include "platform/vcl/std_ctrls.h"
#include "skin/controls/check_radio_box.h"
#include "skin/controls/page_control.h"
#include "skin/controls/panels.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/std_label.h"
#include "skin/form/skin_form.h"
#include "skin/lists/combo_box.h"

namespace app {

class TForm5 : public vcl::TForm {
public:
    explicit TForm5(vcl::TComponent* AOwner);

    skin::TbsSkinForm* bsSkinForm1 = nullptr;
    skin::TbsSkinPageControl* bsSkinPageControl1 = nullptr;
    skin::TbsSkinTabSheet *bsSkinTabSheet1 = nullptr, *bsSkinTabSheet2 = nullptr;
    skin::TbsSkinGroupBox *bsSkinGroupBox1 = nullptr, *bsSkinGroupBox2 = nullptr,
                          *bsSkinGroupBox3 = nullptr, *bsSkinGroupBox4 = nullptr;
    skin::TbsSkinCheckRadioBox *bsSkinCheckRadioBox1 = nullptr, *bsSkinCheckRadioBox2 = nullptr,
                               *bsSkinCheckRadioBox3 = nullptr, *bsSkinCheckRadioBox4 = nullptr,
                               *bsSkinCheckRadioBox5 = nullptr, *bsSkinCheckRadioBox6 = nullptr,
                               *bsSkinCheckRadioBox7 = nullptr, *bsSkinCheckRadioBox8 = nullptr,
                               *bsSkinCheckRadioBox9 = nullptr, *bsSkinCheckRadioBox10 = nullptr,
                               *bsSkinCheckRadioBox11 = nullptr, *bsSkinCheckRadioBox12 = nullptr;
    skin::TbsSkinComboBox* bsSkinComboBox2 = nullptr;
    skin::TbsSkinButton *bsSkinButton6 = nullptr, *bsSkinButton1 = nullptr;
    vcl::TPanel* Panel1 = nullptr;
    vcl::TButton *Button1 = nullptr, *Button2 = nullptr;

    void FormCreate();
    void Button1Click();  // read Options
    void Button2Click();  // write Options
    void bsSkinCheckRadioBox8Click();
    void bsSkinCheckRadioBox7Click();

    // The dialog's state as the settings file stores it.
    TOptionsValues Values() const;

private:
    skin::TbsSkinCheckRadioBox* MakeBox(vcl::TWinControl* parent, const std::string& name,
                                        const std::string& caption, bool radio, int top,
                                        bool checked);
};

extern TForm5* Form5;

}  // namespace app
