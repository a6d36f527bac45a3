// The main window with files to queue: media copies in a folder of the test's own, a responder
// for the open dialogs, a recorder that answers every information box, and the log's lines.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app_test_support.h"

namespace app::test {

class TQueueTest : public TAppTest {
public:
    void SetUp() override;
    void TearDown() override;

    // A copy of a generated fixture under `name` in `media`.
    std::string Media(const std::string& fixture, const std::string& name);
    // Chooses the preset with this key in the category and format lists.
    void ChoosePreset(int presetKey);

    // Runs `action`, answering with OK every information box it shows; the boxes as
    // "caption|text".
    std::vector<std::string> Boxes(const std::function<void()>& action);
    // The add commands answered with these paths (nothing: Cancel); the boxes they showed.
    std::vector<std::string> AddOne(std::optional<std::string> path);
    std::vector<std::string> AddMany(std::optional<std::vector<std::string>> paths);
    std::vector<std::string> AddFolder(std::optional<std::string> folder);

    std::vector<std::string> LogLines() const;
    // The row's sub-item, or its caption for -1.
    std::string Cell(int row, int subItem) const;
    int RowCount() const;

    testsupport::TTempDir media;
    std::vector<int> dialogsAsked;  // 1 for OpenDialog1, 2 for OpenDialog2
    std::optional<std::vector<std::string>> dialogAnswer;
};

}  // namespace app::test
