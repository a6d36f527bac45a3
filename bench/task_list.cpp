// The task list with 500 rows on the headless screen:
//   full repaint:     the whole list painted again (goal 5 ms)
//   progress update:  one row's four progress texts written and the row shown again (goal 1 ms)
//   row selection:    a row selected with its whole restore cascade: category, format, six
//                     parameter lists, defaults written back, the lists taken into the row
//                     (goal 20 ms)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/main_form.h"
#include "app/program.h"
#include "headless_desktop.h"
#include "measure.h"

int main() {
    char pattern[] = "/tmp/moradex-bench-XXXXXX";
    const std::string folder = mkdtemp(pattern);
    setenv("HOME", folder.c_str(), 1);
    setenv("MORADEX_APPDIR", folder.c_str(), 1);
    bench::StartHeadlessDesktop();
    app::CreateForms();
    app::TForm1* form = app::Form1;
    form->Show();
    vcl::Application->ProcessMessages();

    // 500 rows as an add of the default preset writes them; the files need not exist.
    const std::string choiceKey = std::to_string(form->CurrentChoiceKey());
    const std::string options = form->CurrentOptionString();
    vcl::TListItems& items = form->lvFiles->Items();
    items.BeginUpdate();
    media::TInputOptions io;
    media::TOutputOptions oo;
    for (int r = 0; r < app::kMaxRows; ++r) {
        vcl::TListItem* row = form->Rows().AddRow(io, oo, r);
        const std::string name = "clip" + std::to_string(r);
        row->SetCaption(folder + "/" + name + ".avi");
        rtl::TStringList& sub = row->SubItems();
        sub.Put(app::siDuration, "00:01:40");
        sub.Put(app::siFileSize, "12.5MB");
        sub.Put(app::siOutputFile, name + ".avi");
        sub.Put(app::siTaskNumber, std::to_string(r + 1));
        sub.Put(app::siChoiceKey, choiceKey);
        sub.Put(app::siOptionString, options);
    }
    items.EndUpdate();
    form->bsSkinPanel5->SetVisible(false);
    form->lvFiles->SetItemIndex(250);
    vcl::Application->ProcessMessages();

    // The rows on screen are what a repaint draws; the selected row is among them.
    form->lvFiles->Items().Item(250)->MakeVisible();
    vcl::Application->ProcessMessages();
    const int shownTask = app::TTaskRows::Record(form->lvFiles->TopItem())->Task + 2;
    const double repaint = bench::Measure([&] {
        form->lvFiles->Invalidate();
        form->lvFiles->Update();
    });
    int percent = 0;
    const double progress = bench::Measure([&] {
        vcl::TListItem* row = form->Rows().RowOfTask(shownTask);
        rtl::TStringList& sub = row->SubItems();
        percent = (percent + 1) % 100;
        sub.Put(app::siProgress, std::to_string(percent) + "%");
        sub.Put(app::siFps, "25");
        sub.Put(app::siCurrentTime, "00:00:" + std::to_string(10 + percent % 50));
        sub.Put(app::siConvertedSize, std::to_string(percent) + ".5MB");
        form->lvFiles->Update();
    });
    int next = 0;
    const double selection = bench::Measure([&] {
        next = (next + 37) % app::kMaxRows;
        form->lvFiles->SetItemIndex(next);
        vcl::Application->ProcessMessages();
    });
    std::system(("rm -rf '" + folder + "'").c_str());
    std::printf("full repaint (500 rows): %.2f ms (goal 5)\n", repaint);
    std::printf("one row's progress update: %.3f ms (goal 1)\n", progress);
    std::printf("row selection with its restore: %.2f ms (goal 20)\n", selection);
    return repaint <= 5 && progress <= 1 && selection <= 20 ? 0 : 1;
}
