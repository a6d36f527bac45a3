// Wall time of converting a set of clips through the main window on the headless screen: every
// clip is a queued row with the same MPEG-4/MP2 AVI settings as queue_speed's record, the thread
// count is k, and the time runs from the click on "开始" (which builds the tasks from the rows
// and starts them) until the window is idle again. Prints the seconds.
//
// Usage: app_queue_bench <k> <output folder> <clip>...
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "app/options_form.h"
#include "app/program.h"
#include "headless_desktop.h"
#include "platform/sys/main_thread.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s <threads> <output folder> <clip>...\n", argv[0]);
        return 2;
    }
    const std::string threads = argv[1], outputDir = argv[2];
    const std::vector<std::string> clips(argv + 3, argv + argc);
    char pattern[] = "/tmp/moradex-bench-XXXXXX";
    const std::string home = mkdtemp(pattern);
    setenv("HOME", home.c_str(), 1);
    setenv("MORADEX_APPDIR", home.c_str(), 1);
    bench::StartHeadlessDesktop();
    app::CreateForms();
    app::TForm1& form = *app::Form1;
    form.Show();
    vcl::Application->ProcessMessages();
    if (!form.FFTasks->LoadAVLib("")) {
        std::fprintf(stderr, "%s\n", form.FFTasks->LastErrMsg().c_str());
        return 1;
    }
    media::GetFFLogger().SetLogLevel(media::llError);
    app::Form5->bsSkinCheckRadioBox7->SetChecked(true);
    app::Form5->bsSkinComboBox2->SetItemIndex(std::atoi(threads.c_str()) - 1);  // "1" .. "19"
    app::Form5->bsSkinCheckRadioBox5->SetChecked(true);  // nothing at the end
    app::Form5->bsSkinCheckRadioBox3->SetChecked(true);  // the names as given
    form.FileOutPutPath = outputDir;
    form.Video_OutPut_Folder_Edit->SetText(outputDir);

    for (size_t i = 0; i < clips.size(); ++i) {
        media::TInputOptions io;
        media::InitInputOptions(io);
        io.FileName = clips[i];
        media::TOutputOptions oo;
        media::InitOutputOptions(oo);
        vcl::TListItem* row = form.Rows().AddRow(io, oo, app::kNoTask);
        row->SetCaption(clips[i]);
        const std::pair<int, std::string> columns[] = {
            {app::siOutputFile, "app_" + std::to_string(i) + ".avi"},
            {app::siVideoCodec, "mpeg4"},
            {app::siAudioCodec, "mp2"},
            {app::siVideoBitrate, "800000"},
            {app::siAudioBitrate, "128000"},
            {app::siDisableVideo, "False"}};
        for (const auto& [k, text] : columns) row->SubItems().Put(k, text);
    }

    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    form.bsSkinButton2->ButtonClick();
    // Progress is handed to this thread: keep taking it until the run has ended.
    while (form.Running()) {
        sys::CheckSynchronize(10);
        vcl::Application->ProcessMessages();
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    int finished = 0;
    for (int i = 0; i < form.lvFiles->Items().Count(); ++i)
        finished += form.lvFiles->Items().Item(i)->SubItems().Get(app::siProgress) == "100%";
    std::system(("rm -rf '" + home + "'").c_str());
    std::printf("%.3f\n", seconds);
    if (finished != int(clips.size())) {
        std::fprintf(stderr, "%d of %zu rows finished\n", finished, clips.size());
        return 1;
    }
    std::fflush(stdout);
    std::_Exit(0);
}
