#include "platform/rtl/strings.h"

#include <algorithm>

#include "platform/rtl/exception.h"
#include "platform/rtl/lists.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/sysutils.h"

namespace rtl {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

}  // namespace

// --- TStrings ---

void TStrings::Put(int index, const std::string& s) {
    BeginUpdate();
    Delete(index);
    Insert(index, s);
    EndUpdate();
}

int TStrings::Add(const std::string& s) {
    int index = Count();
    Insert(index, s);
    return index;
}

void TStrings::AddStrings(const TStrings& source) {
    BeginUpdate();
    for (int i = 0; i < source.Count(); ++i) Add(source.Get(i));
    EndUpdate();
}

void TStrings::Assign(const TStrings& source) {
    if (&source == this) return;
    BeginUpdate();
    Clear();
    AddStrings(source);
    EndUpdate();
}

void TStrings::Exchange(int index1, int index2) {
    std::string first = Get(index1);
    std::string second = Get(index2);
    BeginUpdate();
    Put(index1, second);
    Put(index2, first);
    EndUpdate();
}

int TStrings::IndexOf(std::string_view s) const {
    for (int i = 0; i < Count(); ++i)
        if (SameText(Get(i), s)) return i;
    return -1;
}

std::string TStrings::Text() const {
    std::string text;
    for (int i = 0; i < Count(); ++i) {
        text += Get(i);
        text += "\r\n";
    }
    return text;
}

void TStrings::SetText(std::string_view text) {
    BeginUpdate();
    Clear();
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            Add(std::string(text.substr(start)));
            break;
        }
        Add(std::string(text.substr(start, end - start)));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
    EndUpdate();
}

std::string TStrings::Names(int index) const {
    std::string line = Get(index);
    size_t eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(0, eq);
}

std::string TStrings::ValueFromIndex(int index) const {
    std::string line = Get(index);
    size_t eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(eq + 1);
}

int TStrings::IndexOfName(std::string_view name) const {
    for (int i = 0; i < Count(); ++i) {
        std::string line = Get(i);
        size_t eq = line.find('=');
        if (eq != std::string::npos && SameText(std::string_view(line).substr(0, eq), name))
            return i;
    }
    return -1;
}

std::string TStrings::Values(std::string_view name) const {
    int index = IndexOfName(name);
    return index < 0 ? std::string() : ValueFromIndex(index);
}

void TStrings::SetValue(std::string_view name, const std::string& value) {
    int index = IndexOfName(name);
    if (value.empty()) {
        if (index >= 0) Delete(index);
        return;
    }
    std::string line = std::string(name) + "=" + value;
    if (index < 0)
        Add(line);
    else
        Put(index, line);
}

void TStrings::LoadFromFile(const std::string& fileName) {
    TFileStream stream(fileName, fmOpenRead);
    LoadFromStream(stream);
}

void TStrings::SaveToFile(const std::string& fileName) const {
    TFileStream stream(fileName, fmCreate);
    SaveToStream(stream);
}

void TStrings::LoadFromStream(TStream& stream) {
    int64_t size = stream.Size() - stream.Position();
    std::string text(static_cast<size_t>(std::max<int64_t>(size, 0)), '\0');
    text.resize(static_cast<size_t>(stream.Read(text.data(), static_cast<int64_t>(text.size()))));
    std::string_view view(text);
    if (view.starts_with(kUtf8Bom)) view.remove_prefix(kUtf8Bom.size());
    SetText(view);
}

void TStrings::SaveToStream(TStream& stream) const {
    std::string text = Text();
    stream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

void TStrings::BeginUpdate() {
    if (FUpdateCount++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}

// --- TStringList ---

TStringList::TStringList(const TStringList& other)
    : TStrings(), FLines(other.FLines), FSorted(other.FSorted) {}

TStringList& TStringList::operator=(const TStringList& other) {
    if (this != &other) {
        Assign(other);
        FSorted = other.FSorted;
    }
    return *this;
}

void TStringList::CheckIndex(int index) const {
    if (index < 0 || index >= Count()) RaiseListIndexError(index);
}

std::string TStringList::Get(int index) const {
    CheckIndex(index);
    return FLines[static_cast<size_t>(index)];
}

void TStringList::Put(int index, const std::string& s) {
    if (FSorted) throw EListError("Operation not allowed on sorted list");
    CheckIndex(index);
    Changing();
    FLines[static_cast<size_t>(index)] = s;
    Changed();
}

void TStringList::Insert(int index, const std::string& s) {
    if (FSorted) throw EListError("Operation not allowed on sorted list");
    if (index < 0 || index > Count()) RaiseListIndexError(index);
    Changing();
    FLines.insert(FLines.begin() + index, s);
    Changed();
}

void TStringList::Delete(int index) {
    CheckIndex(index);
    Changing();
    FLines.erase(FLines.begin() + index);
    Changed();
}

void TStringList::Clear() {
    if (FLines.empty()) return;
    Changing();
    FLines.clear();
    Changed();
}

int TStringList::Add(const std::string& s) {
    int index = Count();
    if (FSorted) {
        // After any equal lines, so equal lines keep the order they were added in.
        auto at = std::upper_bound(
            FLines.begin(), FLines.end(), s,
            [](const std::string& a, const std::string& b) { return CompareText(a, b) < 0; });
        index = static_cast<int>(at - FLines.begin());
    }
    Changing();
    FLines.insert(FLines.begin() + index, s);
    Changed();
    return index;
}

int TStringList::IndexOf(std::string_view s) const {
    if (!FSorted) return TStrings::IndexOf(s);
    int index = -1;
    return Find(s, index) ? index : -1;
}

void TStringList::SetSorted(bool sorted) {
    if (sorted == FSorted) return;
    if (sorted) Sort();
    FSorted = sorted;
}

void TStringList::Sort() {
    Changing();
    std::stable_sort(FLines.begin(), FLines.end(), [](const std::string& a, const std::string& b) {
        return CompareText(a, b) < 0;
    });
    Changed();
}

bool TStringList::Find(std::string_view s, int& index) const {
    auto at = std::lower_bound(
        FLines.begin(), FLines.end(), s,
        [](const std::string& a, std::string_view b) { return CompareText(a, b) < 0; });
    index = static_cast<int>(at - FLines.begin());
    return at != FLines.end() && CompareText(*at, s) == 0;
}

void TStringList::Changing() {
    if (UpdateCount() == 0) {
        if (OnChanging) OnChanging(*this);
    } else if (!FChangedWhileUpdating) {
        FChangedWhileUpdating = true;
        if (OnChanging) OnChanging(*this);
    }
}

void TStringList::Changed() {
    if (UpdateCount() == 0 && OnChange) OnChange(*this);
}

void TStringList::SetUpdateState(bool updating) {
    if (updating || !FChangedWhileUpdating) return;
    FChangedWhileUpdating = false;
    if (OnChange) OnChange(*this);
}

}  // namespace rtl
