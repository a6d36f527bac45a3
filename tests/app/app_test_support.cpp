#include "app_test_support.h"

#include <stdlib.h>

#include "platform/rtl/inifiles.h"
#include "platform/sys/launcher.h"

namespace app::test {

void TAppTest::SetUp() {
    vcl::test::TVclTest::SetUp();
    setenv("HOME", home.Path().c_str(), 1);
    setenv("MORADEX_APPDIR", program.Path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home.Path() + "/config").c_str(), 1);
    sys::SetDocumentOpener([this](const std::string& target) { opened.push_back(target); });
    Services().ChooseFolder = [this](const std::string& title, const std::string&) {
        folderQuestions.push_back(title);
        return folderAnswer;
    };
}

void TAppTest::TearDown() {
    vcl::test::TVclTest::TearDown();
    Form1 = nullptr;
    Form2 = nullptr;
    Form5 = nullptr;
    Form6 = nullptr;
    sys::SetDocumentOpener({});
    Services().ChooseFolder = nullptr;
    Services().AnswerOpenDialog = nullptr;
}

void TAppTest::Start() {
    report = CreateForms();
    Form1->Show();
    Run();
}

std::string TAppTest::Stored(const std::string& section, const std::string& key) const {
    return rtl::TIniFile(SettingsPath()).ReadString(section, key, "<absent>");
}

TColumns Mpeg4AviColumns(const std::string& outputName) {
    return {{siOutputFile, outputName}, {siVideoCodec, "mpeg4"},    {siAudioCodec, "mp2"},
            {siAudioChannels, "-1"},    {siVideoBitrate, "800000"}, {siAudioBitrate, "128000"},
            {siAudioSampleRate, "-1"},  {siDisableVideo, "False"}};
}

vcl::TListItem* AddQueuedRow(const std::string& input, const TColumns& columns,
                             const std::function<void(media::TOutputOptions&)>& slot) {
    media::TInputOptions io;
    media::InitInputOptions(io);
    io.FileName = input;
    media::TOutputOptions oo;
    media::InitOutputOptions(oo);
    oo.VideoCodec = "mpeg4";
    oo.AudioCodec = "mp2";
    if (slot) slot(oo);
    vcl::TListItem* row = Form1->Rows().AddRow(io, oo, kNoTask);
    if (!row) return nullptr;
    row->SetCaption(input);
    for (const auto& [k, text] : columns) row->SubItems().Put(k, text);
    return row;
}

}  // namespace app::test
