#include "media/libs/media_utils.h"

#include "platform/rtl/sysutils.h"
#include "platform/sys/timezone.h"

namespace media {

namespace {

TWindowMessagePump gWindowPump;

// Length of the valid UTF-8 sequence at the start of `s`, 0 when it is not one.
size_t Utf8SequenceLength(std::string_view s) {
    auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    auto continuation = [&](size_t i) { return i < s.size() && (byte(i) & 0xC0) == 0x80; };
    unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return continuation(1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        if (!continuation(1) || !continuation(2)) return 0;
        if (lead == 0xE0 && byte(1) < 0xA0) return 0;   // overlong
        if (lead == 0xED && byte(1) >= 0xA0) return 0;  // surrogate
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        if (!continuation(1) || !continuation(2) || !continuation(3)) return 0;
        if (lead == 0xF0 && byte(1) < 0x90) return 0;   // overlong
        if (lead == 0xF4 && byte(1) >= 0x90) return 0;  // above U+10FFFF
        return 4;
    }
    return 0;
}

}  // namespace

std::string LibraryText(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    while (!bytes.empty()) {
        size_t length = Utf8SequenceLength(bytes);
        if (length > 0) {
            text.append(bytes.substr(0, length));
        } else {
            length = 1;
            auto b = static_cast<unsigned char>(bytes[0]);
            text += char(0xC0 | (b >> 6));
            text += char(0x80 | (b & 0x3F));
        }
        bytes.remove_prefix(length);
    }
    return text;
}

std::string SplitFirst(std::string& text, std::string_view delimiter, bool remove) {
    size_t p = delimiter.empty() ? std::string::npos : text.find(delimiter);
    if (p == std::string::npos) {
        std::string head = text;
        if (remove) text.clear();
        return head;
    }
    std::string head = text.substr(0, p);
    if (remove) text.erase(0, p + delimiter.size());
    return head;
}

std::string SizeToText(int64_t size) {
    constexpr int64_t kKB = 1024;
    constexpr int64_t kMB = kKB * 1024;
    constexpr int64_t kGB = kMB * 1024;
    if (size > kGB) return rtl::Format("%.2f GB", double(size) / double(kGB));
    if (size > kMB) return rtl::Format("%.2f MB", double(size) / double(kMB));
    if (size > kKB) return rtl::Format("%.2f KB", double(size) / double(kKB));
    return rtl::Format("%d Byte", size);
}

double TimeZoneOffset() {
    return -sys::TimeZoneBiasMinutes() / 1440.0;
}

rtl::TDateTime UnixTimeToLocal(int64_t seconds) {
    return double(seconds) / 86400 + rtl::kUnixDateDelta + TimeZoneOffset();
}

void SetWindowMessagePump(TWindowMessagePump pump) {
    gWindowPump = std::move(pump);
}

bool PumpMessage(std::optional<int>& quit) {
    bool ran = sys::CheckSynchronize(0);
    if (!gWindowPump.PumpOne) return ran;
    int exitCode = 0;
    switch (gWindowPump.PumpOne(exitCode)) {
        case TPumpResult::Empty:
            return ran;
        case TPumpResult::Quit:
            quit = exitCode;
            return true;
        case TPumpResult::Dispatched:
            return true;
    }
    return ran;
}

void PumpMessages() {
    std::optional<int> quit;
    while (PumpMessage(quit)) {
    }
    if (quit && gWindowPump.PostQuit) gWindowPump.PostQuit(*quit);
}

}  // namespace media
