#include "preview_test_support.h"

#include <chrono>

#include "platform/sys/main_thread.h"

namespace app::test {

void TPreviewTest::SetUp() {
    TAppTest::SetUp();
}

void TPreviewTest::TearDown() {
    if (Form1) Form1->FFPlayer->Stop(true);
    TAppTest::TearDown();
}

void TPreviewTest::StartPreview() {
    Start();
    Form1->FFPlayer->SetDisableAudio(true);
    // Every picture is shown, so what the pane shows does not depend on the machine's speed.
    Form1->FFPlayer->Setframedrop(0);
}

bool TPreviewTest::RunUntil(const std::function<bool()>& done, int stepMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        Run();
        sys::CheckSynchronize(2);
        if (stepMs > 0) AdvanceMs(stepMs);
    }
    Run();
    return true;
}

bool TPreviewTest::Preview(const std::string& fileName) {
    const int pauses = LogCount("Pause");
    Form1->T_Movie_PLayer_FileName = fileName;
    Form1->Button31Click();
    if (!RunUntil([&] {
            int64_t pts = -1;
            Form1->FFPlayer->CurrentFrame(pts);
            return LogCount("Pause") > pauses && pts >= 0 && PaneHost() && PaneHost()->Picture();
        }))
        return false;
    // The pictures decoded while opening come due one after another: 200 ms of virtual time
    // without a new one and the pane holds still.
    std::uint64_t presented = PaneHost()->PresentCount();
    int stillRounds = 0;
    return RunUntil([&] {
        const std::uint64_t now = PaneHost()->PresentCount();
        stillRounds = now == presented ? stillRounds + 1 : 0;
        presented = now;
        return stillRounds >= 20;
    });
}

std::vector<std::string> TPreviewTest::LogLines() const {
    std::vector<std::string> lines;
    const rtl::TStrings& log = Form1->mmoLog->Lines();
    for (int i = 0; i < log.Count(); ++i) lines.push_back(log[i]);
    return lines;
}

int TPreviewTest::LogCount(const std::string& line) const {
    int n = 0;
    for (const std::string& l : LogLines()) n += l == line;
    return n;
}

std::shared_ptr<win::TVideoHost> TPreviewTest::PaneHost() const {
    return win::FindVideoHost(Form1->Panel6->Handle());
}

}  // namespace app::test
