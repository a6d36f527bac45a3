#include "app/main_form.h"

#include <string_view>

namespace app {

namespace {

struct TFilterEntry {
    std::string_view Description;
    std::string_view Patterns;
};

// The open dialogs' entries in their order. Entry 38's gap is an ideographic space (U+3000);
// entry 42's patterns have a space after the ";", which the file list trims.
constexpr TFilterEntry kOpenDialogFilter[] = {
    {"所有文件格式 (*.*)", "*.*"},
    {"支持的视频/音频文件格式",
     "*.AVI;*.ASF;*.asx;*.WMV;*.AVS;*.FLV;*.MKV;*.MOV;*.3GP;*.MP4;*.MPG;"
     "*.MPEG;*.DAT;*.OGM;*.VOB;*.RM;*.RMVB;*.TS;*.TP;*.IFO;*.NSV;*.MP3;"
     "*.AAC;*.WAV;*.WMA;*.CDA;*.SWF;*.FLAC;*.M4A;*.MID;*.MKA;*.MP2;*.MPA;"
     "*.MPC;*.APE;*.OFR;*.OGG;*.RA;*.WV;*.TTA;*.AC3;*.DTS;*.DV;*.m4v;*.3g2;"
     "*.mkv;*.dv;*.yuv;*.h261;*.h264;*.mjpeg;*.dif;*.m4v;*.3gpp;*.3gp2;*.qt"},
    {"支持的视频文件格式",
     "*.AVI;*.ASF;*.asx;*.WMV;*.AVS;*.FLV;*.MKV;*.MOV;*.3GP;*.MP4;*.MPG;"
     "*.MPEG;*.DAT;*.OGM;*.VOB;*.RM;*.RMVB;*.TS;*.TP;*.IFO;*.NSV;*.SWF;*.WV;"
     "*.TTA;*.AC3;*.DTS;*.DV;*.m4v;*.3g2;*.mkv;*.dv;*.yuv;*.h261;*.h264;"
     "*.mjpeg;*.dif;*.m4v;*.3gpp;*.3gp2;*.qt"},
    {"支持的音频文件格式",
     "*.MP3;*.AAC;*.WAV;*.WMA;*.CDA;*.FLAC;*.M4A;*.MID;*.MKA;*.MP2;*.MPA;"
     "*.MPC;*.APE;*.OFR;*.OGG;*.RA;*.WV;*.TTA;*.AC3"},
    {"AVI文件 (*.avi)", "*.avi"},
    {"Real视频文件格式 (*.rm;*.rmvb)", "*.rm;*.rmvb"},
    {"MP4视频格式 (*.mp4;*.m4v)", "*.mp4;*.m4v"},
    {"MPEG视频格式 (*.mpg;*.mpeg)", "*.mpg;*.mpeg"},
    {"DVD视频格式 (*.vob)", "*.vob"},
    {"VCD/SVCD视频格式 (*.dat;*.mpg)", "*.dat;*.mpg"},
    {"ASF微软视频格式 (*.asf)", "*.asf"},
    {"WMV微软视频格式 (*.wmv)", "*.wmv"},
    {"手机3GPP文件格式 (*.3gp;*.3gpp)", "*.3gp;*.3gpp"},
    {"手机3GPP2文件格式 (*.3g2;*.3gp2)", "*.3g2;*.3gp2"},
    {"Flash动画格式 (*.swf)", "*.swf"},
    {"Flash视频格式 (*.flv)", "*.flv"},
    {"MKV视频媒体格式 (*.mkv)", "*.mkv"},
    {"Quick Time视频文件格式 (*.mov;*.qt)", "*.mov;*.qt"},
    {"DV数字视频文件格式 (*.dv;*.dif)", "*.dv;*.dif"},
    {"Raw h261类型文件 (*.h261)", "*.h261"},
    {"Raw h264类型文件 (*.h264)", "*.h264"},
    {"YUV类型文件 (*.yuv)", "*.yuv"},
    {"GIF图片动画格式 (*.gif)", "*.gif"},
    {"MJPEG视频格式(*.mjpg;*.mjpeg)", "*.mjpg;*.mjpeg"},
    {"TS视频格式 (*.ts)", "*.ts"},
    {"WMV高清HD视频格式 (*.xwmv)", "*.xwmv"},
    {"微软数字视频格式( *.dvr-ms)", "*.dvr-ms"},
    {"iTunes视频格式 (*.m4v)", "*.m4v"},
    {"MP3音频格式 (*.mp3)", "*.mp3"},
    {"CD音频格式 (*.cda)", "*.cda"},
    {"WMA微软音频格式 (*.wma)", "*.wma"},
    {"WAVE音频格式 (*.wav)", "*.wav"},
    {"REAL音频格式 (*.ra;*.ram)", "*.ra;*.ram"},
    {"MP4音频格式 (*.m4a;*.mp4)", "*.m4a;*.mp4"},
    {"AAC高级音频格式 (*.aac)", "*.aac"},
    {"AC3音频格式 (*.ac3)", "*.ac3"},
    {"Monkey音频格式 (*.ape;*.cue)", "*.ape;*.cue"},
    {"Flac无损压缩音频格式　(*.flac)", "*.flac"},
    {"MPEG音频编码格式(*.mpa)", "*.mpa"},
    {"MPEG 2音频编码格式(*.mp2)", "*.mp2"},
    {"OGG音频编码格式(*.ogg)", "*.ogg"},
    {"AIFF音频编码格式(*.aif; *.aiff)", "*.aif; *.aiff"},
};

}  // namespace

std::string TForm1::OpenDialogFilterText() {
    std::string text;
    for (const TFilterEntry& e : kOpenDialogFilter) {
        text += e.Description;
        text += '|';
        text += e.Patterns;
        text += '|';
    }
    return text;
}

void TForm1::BuildOpenDialogs() {
    const struct {
        skin::TbsSkinOpenDialog*& Dialog;
        const char* Name;
        bool Multi;
    } dialogs[] = {{OpenDialog1, "OpenDialog1", false}, {OpenDialog2, "OpenDialog2", true}};
    for (const auto& d : dialogs) {
        d.Dialog = new skin::TbsSkinOpenDialog(this);
        d.Dialog->SetName(d.Name);
        d.Dialog->Title = "打开文件";
        d.Dialog->MultiSelection = d.Multi;
        d.Dialog->CheckFileExists = true;
        d.Dialog->ToolButtonsTransparent = true;
        d.Dialog->SetSkinData(bsSkinData1);
        d.Dialog->SetCtrlSkinData(bsSkinData1);
    }
}

}  // namespace app
