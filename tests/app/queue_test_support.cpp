#include "queue_test_support.h"

#include <filesystem>
#include <memory>

#include "catalogue/categories.h"
#include "fixtures/fixtures.h"
#include "skin/controls/std_label.h"
#include "skin/dialogs/open_dialog.h"
#include "skin/dialogs/skin_message.h"

namespace app::test {

void TQueueTest::SetUp() {
    TAppTest::SetUp();
    Start();
    Services().AnswerOpenDialog = [this](skin::TbsSkinOpenDialog& dialog) {
        dialogsAsked.push_back(&dialog == Form1->OpenDialog1   ? 1
                               : &dialog == Form1->OpenDialog2 ? 2
                                                               : 0);
        if (!dialogAnswer) return false;
        dialog.Files().Clear();
        for (const std::string& f : *dialogAnswer) dialog.Files().Add(f);
        // The multi-selection dialog names its first chosen file.
        dialog.SetFileName(dialogAnswer->empty() ? "" : dialogAnswer->front());
        return true;
    };
}

void TQueueTest::TearDown() {
    Services().AnswerOpenDialog = nullptr;
    TAppTest::TearDown();
}

std::string TQueueTest::Media(const std::string& fixture, const std::string& name) {
    const std::string path = media.File(name);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::filesystem::copy_file(fixtures::Path(fixture), path,
                               std::filesystem::copy_options::overwrite_existing);
    return path;
}

void TQueueTest::ChoosePreset(int presetKey) {
    const int code = presetKey / 100 - 1;
    const auto categories = catalogue::PresetCategories();
    for (std::size_t i = 0; i < categories.size(); ++i) {
        if (categories[i].CategoryCode != code) continue;
        Form1->bsSkinOfficeComboBox2->SetItemIndex(int(i));
        Form1->bsSkinOfficeComboBox1->SetItemIndex(presetKey % 100);
        ASSERT_EQ(Form1->Work.All_Trant_Number, presetKey);
        return;
    }
    FAIL() << "no category for " << presetKey;
}

std::vector<std::string> TQueueTest::Boxes(const std::function<void()>& action) {
    struct TState {
        bool Acting = true;
        std::vector<std::string> Boxes;
        std::function<void()> Answer;
    };
    auto state = std::make_shared<TState>();
    // Every wait of the action comes round to the step; a step left over afterwards does nothing.
    state->Answer = [this, weak = std::weak_ptr<TState>(state)] {
        auto s = weak.lock();
        if (!s || !s->Acting) return;
        auto* form = dynamic_cast<skin::TbsMessageForm*>(vcl::Screen->ActiveForm());
        // An answered box closes only when its loop looks again.
        if (form && form->ModalResult() == vcl::mrNone) {
            s->Boxes.push_back(form->Caption() + "|" + form->Message->Caption());
            form->SetModalResult(vcl::mrOk);
        }
        Screen->QueueIdleStep(s->Answer);
    };
    Screen->QueueIdleStep(state->Answer);
    action();
    state->Acting = false;
    Run();
    return state->Boxes;
}

std::vector<std::string> TQueueTest::AddOne(std::optional<std::string> path) {
    dialogAnswer = path ? std::optional(std::vector<std::string>{*path}) : std::nullopt;
    return Boxes([] { Form1->btnAddClick(); });
}

std::vector<std::string> TQueueTest::AddMany(std::optional<std::vector<std::string>> paths) {
    dialogAnswer = paths;
    return Boxes([] { Form1->Button8Click(); });
}

std::vector<std::string> TQueueTest::AddFolder(std::optional<std::string> folder) {
    folderAnswer = folder;
    return Boxes([] { Form1->Button12Click(); });
}

std::vector<std::string> TQueueTest::LogLines() const {
    std::vector<std::string> lines;
    const rtl::TStringList& log = Form1->mmoLog->Lines();
    for (int i = 0; i < log.Count(); ++i) lines.push_back(log.Get(i));
    return lines;
}

std::string TQueueTest::Cell(int row, int subItem) const {
    vcl::TListItem* item = Form1->lvFiles->Items().Item(row);
    return subItem < 0 ? item->Caption() : item->SubItems().Get(subItem);
}

int TQueueTest::RowCount() const {
    return Form1->lvFiles->Items().Count();
}

}  // namespace app::test
