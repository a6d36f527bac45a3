#include "platform/rtl/inifiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <unordered_map>
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
// Section and key names are indexed (lower case, first occurrence), so a read costs the same in
// a description of thousands of lines as in a settings file of ten.
class TIniText {
public:
    void Parse(std::string_view text) {
        FBom = text.starts_with(kUtf8Bom);
        if (FBom) text.remove_prefix(kUtf8Bom.size());
        TStringList lines;
        lines.SetText(text);
        Assign(std::vector<std::string>(lines.begin(), lines.end()));
    }

    std::string Compose() const {
        std::string text = FBom ? std::string(kUtf8Bom) : std::string();
        for (const std::string& line : Lines()) text += line + "\r\n";
        return text;
    }

    std::vector<std::string> Lines() const {
        std::vector<std::string> lines = FPreamble;
        for (const TSection& section : FSections)
            lines.insert(lines.end(), section.Lines.begin(), section.Lines.end());
        return lines;
    }

    void SetLines(std::vector<std::string> lines) {
        Assign(std::move(lines));
        FBom = false;
    }

    std::optional<std::string> Read(std::string_view section, std::string_view ident) const {
        const TSection* found = Find(section);
        if (found == nullptr) return std::nullopt;
        size_t line = found->KeyLine(LowerCase(Trim(ident)));
        if (line == 0) return std::nullopt;
        std::string name, value;
        ParseKey(found->Lines[line], name, value);
        return value;
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
        TSection* found = Find(sectionName);
        if (found == nullptr) {
            FSections.push_back(TSection{sectionName, {"[" + sectionName + "]", line}});
            FSectionIndex.emplace(LowerCase(sectionName), FSections.size() - 1);
            return true;
        }
        found->Put(LowerCase(keyName), std::move(line));
        return true;
    }

    bool EraseSection(std::string_view section) {
        auto at = FSectionIndex.find(LowerCase(Trim(section)));
        if (at == FSectionIndex.end()) return false;
        FSections.erase(FSections.begin() + static_cast<std::ptrdiff_t>(at->second));
        IndexSections();
        return true;
    }

    bool DeleteKey(std::string_view section, std::string_view ident) {
        TSection* found = Find(section);
        return found != nullptr && found->Delete(LowerCase(Trim(ident)));
    }

    bool HasSection(std::string_view section) const { return Find(section) != nullptr; }

    std::vector<std::string> Sections() const {
        std::vector<std::string> names;
        for (size_t i = 0; i < FSections.size(); ++i)
            if (FSectionIndex.at(LowerCase(FSections[i].Name)) == i)
                names.push_back(FSections[i].Name);
        return names;
    }

    std::vector<std::pair<std::string, std::string>> Keys(std::string_view section) const {
        std::vector<std::pair<std::string, std::string>> keys;
        const TSection* found = Find(section);
        if (found == nullptr) return keys;
        std::string name, value;
        for (size_t i = 1; i < found->Lines.size(); ++i)
            if (ParseKey(found->Lines[i], name, value)) keys.emplace_back(name, value);
        return keys;
    }

private:
    // One section: its header line as written, then every line up to the next header. The key
    // index maps lower-case names to line numbers (0 never names a key: it is the header) and
    // is rebuilt after an edit that moves lines.
    struct TSection {
        std::string Name;
        std::vector<std::string> Lines;
        mutable std::unordered_map<std::string, size_t> KeyIndex = {};
        mutable size_t LastKey = 0;
        mutable bool Indexed = false;

        void Index() const {
            if (Indexed) return;
            KeyIndex.clear();
            LastKey = 0;
            std::string name, value;
            for (size_t i = 1; i < Lines.size(); ++i) {
                if (!ParseKey(Lines[i], name, value)) continue;
                KeyIndex.emplace(LowerCase(name), i);
                LastKey = i;
            }
            Indexed = true;
        }

        size_t KeyLine(const std::string& lowerName) const {
            Index();
            auto at = KeyIndex.find(lowerName);
            return at == KeyIndex.end() ? 0 : at->second;
        }

        // Replaces the key where it stands, or adds it after the section's last key.
        void Put(const std::string& lowerName, std::string line) {
            size_t at = KeyLine(lowerName);
            if (at != 0) {
                Lines[at] = std::move(line);
                return;
            }
            size_t insertAt = LastKey + 1;
            Lines.insert(Lines.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(line));
            if (insertAt + 1 == Lines.size()) {
                KeyIndex.emplace(lowerName, insertAt);
                LastKey = insertAt;
            } else {
                Indexed = false;
            }
        }

        bool Delete(const std::string& lowerName) {
            size_t at = KeyLine(lowerName);
            if (at == 0) return false;
            Lines.erase(Lines.begin() + static_cast<std::ptrdiff_t>(at));
            Indexed = false;
            return true;
        }
    };

    void Assign(std::vector<std::string> lines) {
        FPreamble.clear();
        FSections.clear();
        std::string name;
        for (std::string& line : lines) {
            if (ParseHeader(line, name)) FSections.push_back(TSection{name, {}});
            if (FSections.empty())
                FPreamble.push_back(std::move(line));
            else
                FSections.back().Lines.push_back(std::move(line));
        }
        IndexSections();
    }

    // The first section of each name is the one every call sees.
    void IndexSections() {
        FSectionIndex.clear();
        for (size_t i = 0; i < FSections.size(); ++i)
            FSectionIndex.emplace(LowerCase(FSections[i].Name), i);
    }

    const TSection* Find(std::string_view section) const {
        auto at = FSectionIndex.find(LowerCase(Trim(section)));
        return at == FSectionIndex.end() ? nullptr : &FSections[at->second];
    }
    TSection* Find(std::string_view section) {
        return const_cast<TSection*>(std::as_const(*this).Find(section));
    }

    std::vector<std::string> FPreamble;  // lines before the first header
    std::vector<TSection> FSections;
    std::unordered_map<std::string, size_t> FSectionIndex;
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

bool WriteAll(int fd, std::string_view text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// The text goes to a new file beside the old one, which is renamed over it only once the text
// is on the disk: a full disk or a crash halfway leaves the old file whole, never a cut one.
// A link is followed, so the file it names is the one replaced; the old file's mode is kept.
bool WriteWholeFile(const std::string& fileName, std::string_view text) {
    std::string target = fileName;
    if (char* real = ::realpath(fileName.c_str(), nullptr)) {
        target = real;
        ::free(real);
    }
    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    std::string temp = target + ".XXXXXX";
    int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return false;
    struct stat old {};
    const mode_t mode = ::stat(target.c_str(), &old) == 0 ? old.st_mode & 07777 : [] {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return 0666 & ~mask;
    }();
    bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, text) && ::fsync(fd) == 0;
    // A full disk may only show at close.
    if (::close(fd) != 0) ok = false;
    if (ok) ok = ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    // The new name itself on the disk; a folder that refuses to be synced changes nothing.
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
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
