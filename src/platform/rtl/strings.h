// String lists: the abstract TStrings that controls expose their lines through, and TStringList,
// the plain list with change events and optional sorting. Lines are UTF-8 byte strings.
// Name=Value lines split at the first "=", names compare without regard to ASCII case.
// Not thread-safe: a list belongs to the thread that uses it.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace rtl {

class TStream;

class TStrings {
public:
    virtual ~TStrings() = default;

    // --- what a concrete list provides; index errors raise EListError ---
    virtual int Count() const = 0;
    virtual std::string Get(int index) const = 0;
    virtual void Put(int index, const std::string& s);
    virtual void Insert(int index, const std::string& s) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual int Add(const std::string& s);

    std::string operator[](int index) const { return Get(index); }
    std::string Strings(int index) const { return Get(index); }

    void AddStrings(const TStrings& source);
    // Replaces the lines with a copy of the source's lines.
    virtual void Assign(const TStrings& source);
    void Exchange(int index1, int index2);
    // First line equal to s without regard to ASCII case, or -1.
    virtual int IndexOf(std::string_view s) const;

    // Every line followed by CR LF. Setting splits at CR LF, LF or CR; a final line break adds
    // no empty line.
    std::string Text() const;
    void SetText(std::string_view text);

    // "Name=Value" lines. A line without "=" has an empty name.
    std::string Names(int index) const;
    std::string ValueFromIndex(int index) const;
    int IndexOfName(std::string_view name) const;
    std::string Values(std::string_view name) const;
    // An empty value removes the line; a new name is added at the end.
    void SetValue(std::string_view name, const std::string& value);

    // Files and streams hold the text in UTF-8; a leading UTF-8 BOM is skipped.
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;

    // Change notifications wait until the outermost EndUpdate.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

protected:
    virtual void SetUpdateState(bool updating) { (void)updating; }

private:
    int FUpdateCount = 0;
};

class TStringList : public TStrings {
public:
    using TNotifyEvent = std::function<void(TStringList& sender)>;

    TStringList() = default;
    TStringList(const TStringList& other);
    TStringList& operator=(const TStringList& other);

    int Count() const override { return static_cast<int>(FLines.size()); }
    std::string Get(int index) const override;
    void Put(int index, const std::string& s) override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;
    int Add(const std::string& s) override;
    int IndexOf(std::string_view s) const override;

    // A sorted list keeps its lines in CompareText order: Add inserts in place, Insert and Put
    // raise EListError, and turning sorting on sorts at once.
    bool Sorted() const { return FSorted; }
    void SetSorted(bool sorted);
    void Sort();
    // Binary search of a sorted list: true when found; `index` is the match or where s goes.
    bool Find(std::string_view s, int& index) const;

    // OnChanging runs before and OnChange after every change of the lines.
    TNotifyEvent OnChanging;
    TNotifyEvent OnChange;

    std::vector<std::string>::const_iterator begin() const { return FLines.begin(); }
    std::vector<std::string>::const_iterator end() const { return FLines.end(); }

protected:
    void SetUpdateState(bool updating) override;
    void Changing();
    void Changed();

private:
    void CheckIndex(int index) const;

    std::vector<std::string> FLines;
    bool FSorted = false;
    bool FChangedWhileUpdating = false;
};

}  // namespace rtl
