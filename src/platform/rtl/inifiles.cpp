#include "platform/rtl/inifiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <utility>

#include <fmt/format.h>

#include "platform/rtl/exception.h"
#include "platform/rtl/strings.h"
#include "platform/rtl/sysutils.h"

namespace rtl {

namespace detail {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// "[name]" with blanks allowed around; a header without "]" runs to the end of the line.
bool ParseHeader(std::string_view line, std::string& name) {
    std::string trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] != '[') return false;
    size_t close = trimmed.find(']');
    name = Trim(std::string_view(trimmed).substr(
        1, close == std::string::npos ? std::string::npos : close - 1));
    return true;
}

bool ParseKey(std::string_view line, std::string& name, std::string& value) {
    std::string trimmed = TrimLeft(line);
    if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#' || trimmed[0] == '[')
        return false;
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) return false;
    name = Trim(line.substr(0, eq));
    if (name.empty()) return false;
    value = Trim(line.substr(eq + 1));
    return true;
}

bool HasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

// The lines of one INI text, edited in place so comments, blank lines and order survive.
class TIniText {
public:
    void Parse(std::string_view text) {
        FBom = text.starts_with(kUtf8Bom);
        if (FBom) text.remove_prefix(kUtf8Bom.size());
        TStringList lines;
        lines.SetText(text);
        FLines.assign(lines.begin(), lines.end());
    }

    std::string Compose() const {
        std::string text = FBom ? std::string(kUtf8Bom) : std::string();
        for (const std::string& line : FLines) text += line + "\r\n";
        return text;
    }

    const std::vector<std::string>& Lines() const { return FLines; }
    void SetLines(std::vector<std::string> lines) {
        FLines = std::move(lines);
        FBom = false;
    }

    std::optional<std::string> Read(std::string_view section, std::string_view ident) const {
        auto [begin, end] = SectionRange(section);
        std::string wanted = Trim(ident);
        std::string name, value;
        for (size_t i = begin; i < end; ++i)
            if (ParseKey(FLines[i], name, value) && SameText(name, wanted)) return value;
        return std::nullopt;
    }

    // False when the names or the value cannot be stored as one line each.
    bool Write(std::string_view section, std::string_view ident, std::string_view value) {
        std::string sectionName = Trim(section);
        std::string keyName = Trim(ident);
        if (sectionName.empty() || HasLineBreak(sectionName) ||
            sectionName.find(']') != std::string::npos || keyName.empty() ||
            HasLineBreak(keyName) || keyName.find('=') != std::string::npos || keyName[0] == ';' ||
            keyName[0] == '#' || keyName[0] == '[' || HasLineBreak(value))
            return false;
        std::string line = keyName + "=" + Trim(value);
        auto [begin, end] = SectionRange(sectionName);
        if (begin == 0) {
            FLines.push_back("[" + sectionName + "]");
            FLines.push_back(line);
            return true;
        }
        size_t insertAt = begin;
        std::string name, oldValue;
        for (size_t i = begin; i < end; ++i) {
            if (!ParseKey(FLines[i], name, oldValue)) continue;
            if (SameText(name, keyName)) {
                FLines[i] = line;
                return true;
            }
            insertAt = i + 1;
        }
        FLines.insert(FLines.begin() + static_cast<std::ptrdiff_t>(insertAt), line);
        return true;
    }

    bool EraseSection(std::string_view section) {
        auto [begin, end] = SectionRange(section);
        if (begin == 0) return false;
        FLines.erase(FLines.begin() + static_cast<std::ptrdiff_t>(begin - 1),
                     FLines.begin() + static_cast<std::ptrdiff_t>(end));
        return true;
    }

    bool DeleteKey(std::string_view section, std::string_view ident) {
        auto [begin, end] = SectionRange(section);
        std::string wanted = Trim(ident);
        std::string name, value;
        for (size_t i = begin; i < end; ++i) {
            if (ParseKey(FLines[i], name, value) && SameText(name, wanted)) {
                FLines.erase(FLines.begin() + static_cast<std::ptrdiff_t>(i));
                return true;
            }
        }
        return false;
    }

    bool HasSection(std::string_view section) const { return SectionRange(section).first > 0; }

    std::vector<std::string> Sections() const {
        std::vector<std::string> names;
        std::string name;
        for (const std::string& line : FLines) {
            if (!ParseHeader(line, name)) continue;
            bool seen = false;
            for (const std::string& known : names) seen = seen || SameText(known, name);
            if (!seen) names.push_back(name);
        }
        return names;
    }

    std::vector<std::pair<std::string, std::string>> Keys(std::string_view section) const {
        std::vector<std::pair<std::string, std::string>> keys;
        auto [begin, end] = SectionRange(section);
        std::string name, value;
        for (size_t i = begin; i < end; ++i)
            if (ParseKey(FLines[i], name, value)) keys.emplace_back(name, value);
        return keys;
    }

private:
    // Lines [first, second) of the first section with that name; first is 0 when it is missing
    // (a header is never line -1, so line 0 can only be a header, never inside a section).
    std::pair<size_t, size_t> SectionRange(std::string_view section) const {
        std::string name;
        std::string wanted = Trim(section);
        for (size_t i = 0; i < FLines.size(); ++i) {
            if (!ParseHeader(FLines[i], name) || !SameText(name, wanted)) continue;
            size_t end = i + 1;
            while (end < FLines.size() && !ParseHeader(FLines[end], name)) ++end;
            return {i + 1, end};
        }
        return {0, 0};
    }

    std::vector<std::string> FLines;
    bool FBom = false;
};

}  // namespace detail

namespace {

using detail::TIniText;

// Reads the whole file; `error` is 0 or the errno of the failure.
std::string ReadWholeFile(const std::string& fileName, int& error) {
    error = 0;
    int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return std::string();
    }
    std::string text;
    char buffer[16384];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error = errno;
        if (n <= 0) break;
        text.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return text;
}

bool WriteWholeFile(const std::string& fileName, std::string_view text) {
    int fd = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    size_t done = 0;
    bool ok = true;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        done += static_cast<size_t>(n);
    }
    // A full disk may only show at close.
    if (::close(fd) != 0) ok = false;
    return ok;
}

void FillStrings(TStrings& strings, const std::vector<std::string>& lines) {
    strings.BeginUpdate();
    strings.Clear();
    for (const std::string& line : lines) strings.Add(line);
    strings.EndUpdate();
}

std::vector<std::string> KeyNames(const TIniText& text, std::string_view section) {
    std::vector<std::string> names;
    for (auto& [name, value] : text.Keys(section)) names.push_back(name);
    return names;
}

std::vector<std::string> KeyLines(const TIniText& text, std::string_view section) {
    std::vector<std::string> lines;
    for (auto& [name, value] : text.Keys(section)) lines.push_back(name + "=" + value);
    return lines;
}

}  // namespace

// --- TCustomIniFile ---

TCustomIniFile::TCustomIniFile(std::string fileName) : FFileName(std::move(fileName)) {}

TCustomIniFile::~TCustomIniFile() = default;

void TCustomIniFile::RaiseWriteError() const {
    throw EIniFileException(fmt::format("Unable to write to {}", FFileName));
}

int32_t TCustomIniFile::ReadInteger(std::string_view section, std::string_view ident,
                                    int32_t def) const {
    return StrToIntDef(ReadString(section, ident, std::string()), def);
}

void TCustomIniFile::WriteInteger(std::string_view section, std::string_view ident, int64_t value) {
    WriteString(section, ident, IntToStr(value));
}

bool TCustomIniFile::ReadBool(std::string_view section, std::string_view ident, bool def) const {
    return ReadInteger(section, ident, def ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(std::string_view section, std::string_view ident, bool value) {
    WriteString(section, ident, value ? "1" : "0");
}

double TCustomIniFile::ReadFloat(std::string_view section, std::string_view ident,
                                 double def) const {
    return StrToFloatDef(ReadString(section, ident, std::string()), def);
}

void TCustomIniFile::WriteFloat(std::string_view section, std::string_view ident, double value) {
    WriteString(section, ident, FloatToStr(value));
}

// --- TIniFile ---

// A file that is missing or cannot be read reads as empty.
TIniText TIniFile::Load() const {
    int error = 0;
    TIniText text;
    text.Parse(ReadWholeFile(FileName(), error));
    return text;
}

// Only a missing file may start empty: writing over a file we could not read would lose it.
// A path through a plain file (ENOTDIR) names no file either.
TIniText TIniFile::LoadForWrite() const {
    int error = 0;
    std::string content = ReadWholeFile(FileName(), error);
    if (error != 0 && error != ENOENT && error != ENOTDIR) RaiseWriteError();
    TIniText text;
    text.Parse(content);
    return text;
}

void TIniFile::Store(const TIniText& text) const {
    if (!WriteWholeFile(FileName(), text.Compose())) RaiseWriteError();
}

std::string TIniFile::ReadString(std::string_view section, std::string_view ident,
                                 const std::string& def) const {
    return Load().Read(section, ident).value_or(def);
}

void TIniFile::WriteString(std::string_view section, std::string_view ident,
                           std::string_view value) {
    TIniText text = LoadForWrite();
    if (!text.Write(section, ident, value)) RaiseWriteError();
    Store(text);
}

void TIniFile::ReadSection(std::string_view section, TStrings& strings) const {
    FillStrings(strings, KeyNames(Load(), section));
}

void TIniFile::ReadSections(TStrings& strings) const {
    FillStrings(strings, Load().Sections());
}

void TIniFile::ReadSectionValues(std::string_view section, TStrings& strings) const {
    FillStrings(strings, KeyLines(Load(), section));
}

void TIniFile::EraseSection(std::string_view section) {
    TIniText text = LoadForWrite();
    if (text.EraseSection(section)) Store(text);
}

void TIniFile::DeleteKey(std::string_view section, std::string_view ident) {
    TIniText text = LoadForWrite();
    if (text.DeleteKey(section, ident)) Store(text);
}

bool TIniFile::SectionExists(std::string_view section) const {
    return Load().HasSection(section);
}

bool TIniFile::ValueExists(std::string_view section, std::string_view ident) const {
    return Load().Read(section, ident).has_value();
}

// --- TMemIniFile ---

TMemIniFile::TMemIniFile(std::string fileName)
    : TCustomIniFile(std::move(fileName)), FText(std::make_unique<TIniText>()) {
    if (!FileName().empty()) {
        int error = 0;
        FText->Parse(ReadWholeFile(FileName(), error));
    }
}

TMemIniFile::~TMemIniFile() = default;

std::string TMemIniFile::ReadString(std::string_view section, std::string_view ident,
                                    const std::string& def) const {
    return FText->Read(section, ident).value_or(def);
}

void TMemIniFile::WriteString(std::string_view section, std::string_view ident,
                              std::string_view value) {
    if (!FText->Write(section, ident, value)) RaiseWriteError();
}

void TMemIniFile::ReadSection(std::string_view section, TStrings& strings) const {
    FillStrings(strings, KeyNames(*FText, section));
}

void TMemIniFile::ReadSections(TStrings& strings) const {
    FillStrings(strings, FText->Sections());
}

void TMemIniFile::ReadSectionValues(std::string_view section, TStrings& strings) const {
    FillStrings(strings, KeyLines(*FText, section));
}

void TMemIniFile::EraseSection(std::string_view section) {
    FText->EraseSection(section);
}

void TMemIniFile::DeleteKey(std::string_view section, std::string_view ident) {
    FText->DeleteKey(section, ident);
}

void TMemIniFile::UpdateFile() {
    if (FileName().empty()) return;
    if (!WriteWholeFile(FileName(), FText->Compose())) RaiseWriteError();
}

bool TMemIniFile::SectionExists(std::string_view section) const {
    return FText->HasSection(section);
}

bool TMemIniFile::ValueExists(std::string_view section, std::string_view ident) const {
    return FText->Read(section, ident).has_value();
}

void TMemIniFile::GetStrings(TStrings& strings) const {
    FillStrings(strings, FText->Lines());
}

void TMemIniFile::SetStrings(const TStrings& strings) {
    std::vector<std::string> lines;
    for (int i = 0; i < strings.Count(); ++i) lines.push_back(strings.Get(i));
    FText->SetLines(std::move(lines));
}

void TMemIniFile::Clear() {
    FText->SetLines({});
}

}  // namespace rtl
