// The application's test scene: the headless screen, an empty program folder and home of the
// test's own, a recording document opener, power-off request and sound player, and a scripted
// folder chooser; start-up makes the four forms as the program does.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/about_form.h"
#include "app/app_services.h"
#include "app/legacy_form.h"
#include "app/main_form.h"
#include "app/options_form.h"
#include "app/program.h"
#include "platform/vcl/vcl_test_support.h"
#include "support/sys_fakes.h"
#include "support/temp_dir.h"

namespace app::test {

class TAppTest : public vcl::test::TVclTest {
public:
    void SetUp() override;
    void TearDown() override;

    // Start-up as the program runs it, then the main window shown.
    void Start();
    std::string Stored(const std::string& section, const std::string& key) const;
    std::string SettingsPath() const { return program.File("option.ini"); }

    testsupport::TTempDir home, program;
    std::vector<std::string> opened;  // what the document opener was given
    std::vector<std::string> folderQuestions;
    std::optional<std::string> folderAnswer;
    testsupport::TRecordingPowerOff powerOff;  // every power-off request
    testsupport::TRecordingSound sound;        // every sound played
    TStartUpReport report;
};

using TColumns = std::map<int, std::string>;

// The sub-items the add writes for an MPEG-4/MP2 AVI row.
TColumns Mpeg4AviColumns(const std::string& outputName);

// A queued row as the add leaves it: the slot's MPEG-4/MP2 records (changed by `slot`) and the
// row's columns; nullptr when the list is full.
vcl::TListItem* AddQueuedRow(const std::string& input, const TColumns& columns,
                             const std::function<void(media::TOutputOptions&)>& slot = {});

}  // namespace app::test
