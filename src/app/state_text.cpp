#include "app/state_text.h"

#include "platform/rtl/sysutils.h"

namespace app {

std::string SecToDate(int sec) {
    return rtl::Format("%.2d:%.2d:%.2d", (sec / 3600) % 24, (sec / 60) % 60, sec % 60);
}

std::string MegabyteText(int64_t bytes) {
    const double hundredths = double(bytes) / 1024 / 1024 * 100;
    return rtl::FloatToStr(double(rtl::Round(hundredths)) / 100) + "MB";
}

std::string OptionString(const std::array<int, 6>& indexes) {
    std::string text;
    for (int index : indexes) text += (index < 10 ? "0" : "") + std::to_string(index);
    return text;
}

int ChoiceKey(int categoryIndex, int presetIndex) {
    return (categoryIndex + 1) * 100 + presetIndex;
}

TChoice DecodeChoiceKey(int key) {
    return {key / 100 - 1, key - (key / 100) * 100};
}

}  // namespace app
