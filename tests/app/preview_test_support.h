// The preview pane's test scene: the application's scene with the player's libraries from the
// system and a generated clip in the pane. The player runs on the test's virtual clock, which the
// waits move on; it plays without sound, so no real-time audio clock drives the pictures.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "app_test_support.h"
#include "fixtures/fixtures.h"
#include "platform/win/video_host.h"

namespace app::test {

class TPreviewTest : public TAppTest {
public:
    void SetUp() override;
    void TearDown() override;

    // Start-up, then the player prepared for the tests.
    void StartPreview();
    // Opens `fileName` in the pane as a row selection does and waits for it to rest paused on
    // its first picture; false when it did not.
    bool Preview(const std::string& fileName);
    // A hang guard: runs window messages and the player's hand-overs, moving the virtual clock
    // on by `stepMs` a round, until `done` holds; false after 30 s of real time.
    bool RunUntil(const std::function<bool()>& done, int stepMs = 10);

    std::vector<std::string> LogLines() const;
    int LogCount(const std::string& line) const;
    std::shared_ptr<win::TVideoHost> PaneHost() const;
};

}  // namespace app::test
