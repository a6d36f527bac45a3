// The about box: product name, version, logo and the web site's link.
#pragma once

#include "platform/vcl/ext_ctrls.h"
#include "platform/vcl/forms.h"
#include "skin/controls/link_label.h"
#include "skin/controls/skin_button.h"
#include "skin/controls/std_label.h"
#include "skin/form/skin_form.h"

namespace app {

class TForm2 : public vcl::TForm {
public:
    explicit TForm2(vcl::TComponent* AOwner);

    skin::TbsSkinForm* bsSkinForm1 = nullptr;
    skin::TbsSkinStdLabel *bsSkinStdLabel1 = nullptr, *bsSkinStdLabel2 = nullptr,
                          *bsSkinStdLabel3 = nullptr;
    vcl::TImage* Image1 = nullptr;
    skin::TbsSkinLinkLabel* bsSkinLinkLabel1 = nullptr;
    skin::TbsSkinButton* bsSkinButton1 = nullptr;
};

extern TForm2* Form2;

}  // namespace app
