#include "app/app_services.h"

#include "skin/dialogs/open_dialog.h"

namespace app {

TAppServices& Services() {
    static TAppServices services;
    return services;
}

bool ExecuteOpenDialog(skin::TbsSkinOpenDialog& Dialog) {
    if (Services().AnswerOpenDialog) return Services().AnswerOpenDialog(Dialog);
    return Dialog.Execute();
}

}  // namespace app
