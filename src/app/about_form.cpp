#include "app/about_form.h"

#include "app/app_pictures.h"
#include "app/app_services.h"
#include "app/main_form.h"

namespace app {

TForm2* Form2 = nullptr;

TForm2::TForm2(vcl::TComponent* AOwner) : vcl::TForm(AOwner) {
    BeginLoading();
    SetName("Form2");
    SetCaption("关于软件");
    SetBorderStyle(vcl::bsSingle);
    SetBorderIcons({});
    SetClientWidth(338);
    SetClientHeight(240);

    bsSkinForm1 = new skin::TbsSkinForm(this);
    // The component keeps its own client size through every skin change.
    bsSkinForm1->FClientWidth = 340;
    bsSkinForm1->FClientHeight = 245;
    // The border icons first: the skin builds the caption buttons from them, and a change
    // made while the form is loading is only stored.
    bsSkinForm1->SetBorderIcons({skin::biRollUp});
    bsSkinForm1->SetSkinData(Form1->bsSkinData1);
    bsSkinForm1->FPositionInMonitor = skin::bspDesktopCenter;
    bsSkinForm1->FMagnetic = true;
    bsSkinForm1->FMagneticSize = 10;
    bsSkinForm1->SetShowIcon(true);
    bsSkinForm1->SetAlphaBlendValue(0);

    auto label = [&](const std::string& name, const std::string& text, int left, int top, int width,
                     int height) {
        auto* l = new skin::TbsSkinStdLabel(this);
        l->SetName(name);
        l->SetParent(this);
        l->SetBounds(left, top, width, height);
        l->SetCaption(text);
        l->SetSkinData(Form1->bsSkinData1);
        return l;
    };
    Image1 = new vcl::TImage(this);
    Image1->SetName("Image1");
    Image1->SetParent(this);
    Image1->SetBounds(24, 30, 53, 55);
    Image1->SetTransparent(true);
    {
        gfx::TPngImage logo;
        LoadAppPicture("aboutlogo", logo);
        Image1->Picture().SetGraphic(&logo);
    }
    bsSkinStdLabel1 = label("bsSkinStdLabel1", "Moradex", 96, 30, 220, 32);
    // These two carry their own size and weight; the skin gives only their colour.
    bsSkinStdLabel1->SetUseSkinFont(false);
    bsSkinStdLabel1->Font().SetSize(20);
    bsSkinStdLabel2 = label("bsSkinStdLabel2", "版本:9.6.5.0", 96, 70, 200, 18);
    bsSkinStdLabel2->SetUseSkinFont(false);
    bsSkinStdLabel2->Font().SetStyle({gfx::fsBold});
    bsSkinStdLabel3 = label("bsSkinStdLabel3", "官方网站：", 24, 130, 70, 18);
    bsSkinLinkLabel1 = new skin::TbsSkinLinkLabel(this);
    bsSkinLinkLabel1->SetName("bsSkinLinkLabel1");
    bsSkinLinkLabel1->SetParent(this);
    bsSkinLinkLabel1->SetBounds(96, 130, 220, 18);
    bsSkinLinkLabel1->SetCaption(Services().WebSite);
    bsSkinLinkLabel1->SetURL(Services().WebSite);
    bsSkinLinkLabel1->SetSkinData(Form1->bsSkinData1);

    bsSkinButton1 = new skin::TbsSkinButton(this);
    bsSkinButton1->SetName("bsSkinButton1");
    bsSkinButton1->SetParent(this);
    bsSkinButton1->SetBounds(132, 196, 75, 25);
    bsSkinButton1->SetCaption("确定");
    bsSkinButton1->SetSkinData(Form1->bsSkinData1);
    bsSkinButton1->OnClick = [this](vcl::TObject*) { Close(); };
    EndLoading();
    // Loading applied the form data's 338 x 240 last; the component's size is the one shown.
    SetClientWidth(bsSkinForm1->FClientWidth);
    SetClientHeight(bsSkinForm1->FClientHeight);
}

}  // namespace app
