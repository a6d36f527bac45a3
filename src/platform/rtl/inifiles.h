// INI files: sections in square brackets, "key=value" lines, ";" or "#" comment lines.
// Section and key names match without regard to ASCII case; blanks around names and values are
// dropped, the value is otherwise kept exactly (quotes included). Text is UTF-8; a BOM and
// CR LF, LF or CR line ends are accepted on read, files are written with CR LF. A write keeps
// every other line in its place: a changed key is rewritten where it stands, a new key goes
// after the last key of its section, a new section goes at the end.
// TIniFile opens, accesses and closes the file in every call; TMemIniFile reads it once and
// writes it back on UpdateFile. A write replaces the file whole: the new text goes to a file
// beside it that is synced and renamed over it, so its folder must be writable, and a failed
// write leaves the old file as it was. A refused write raises EIniFileException "Unable to write
// to <path>". Not thread-safe: an object belongs to the thread that uses it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace rtl {

class TStrings;

namespace detail {
class TIniText;
}

class TCustomIniFile {
public:
    explicit TCustomIniFile(std::string fileName);
    virtual ~TCustomIniFile();

    const std::string& FileName() const { return FFileName; }

    // A missing section or key gives the default; a key with an empty value gives "".
    virtual std::string ReadString(std::string_view section, std::string_view ident,
                                   const std::string& def) const = 0;
    virtual void WriteString(std::string_view section, std::string_view ident,
                             std::string_view value) = 0;
    // Clear `strings` first: key names, section names, or "key=value" lines, in file order.
    virtual void ReadSection(std::string_view section, TStrings& strings) const = 0;
    virtual void ReadSections(TStrings& strings) const = 0;
    virtual void ReadSectionValues(std::string_view section, TStrings& strings) const = 0;
    // Remove the section (header, keys and comments inside it) or one key.
    virtual void EraseSection(std::string_view section) = 0;
    virtual void DeleteKey(std::string_view section, std::string_view ident) = 0;
    virtual void UpdateFile() = 0;

    virtual bool SectionExists(std::string_view section) const = 0;
    virtual bool ValueExists(std::string_view section, std::string_view ident) const = 0;

    // Integers are decimal or "$"/"0x" hex; a missing or malformed value gives the default.
    int32_t ReadInteger(std::string_view section, std::string_view ident, int32_t def) const;
    void WriteInteger(std::string_view section, std::string_view ident, int64_t value);
    // Any integer but 0 is true; written as "1" or "0".
    bool ReadBool(std::string_view section, std::string_view ident, bool def) const;
    void WriteBool(std::string_view section, std::string_view ident, bool value);
    // Reals with "."; a missing or malformed value gives the default.
    double ReadFloat(std::string_view section, std::string_view ident, double def) const;
    void WriteFloat(std::string_view section, std::string_view ident, double value);

protected:
    [[noreturn]] void RaiseWriteError() const;

private:
    std::string FFileName;
};

class TIniFile : public TCustomIniFile {
public:
    using TCustomIniFile::TCustomIniFile;

    std::string ReadString(std::string_view section, std::string_view ident,
                           const std::string& def) const override;
    void WriteString(std::string_view section, std::string_view ident,
                     std::string_view value) override;
    void ReadSection(std::string_view section, TStrings& strings) const override;
    void ReadSections(TStrings& strings) const override;
    void ReadSectionValues(std::string_view section, TStrings& strings) const override;
    void EraseSection(std::string_view section) override;
    void DeleteKey(std::string_view section, std::string_view ident) override;
    // Every write is already on disk.
    void UpdateFile() override {}
    bool SectionExists(std::string_view section) const override;
    bool ValueExists(std::string_view section, std::string_view ident) const override;

private:
    detail::TIniText Load() const;
    detail::TIniText LoadForWrite() const;
    void Store(const detail::TIniText& text) const;
};

class TMemIniFile : public TCustomIniFile {
public:
    // Reads the file now; a missing or unreadable file gives an empty INI. An empty name gives
    // an INI that lives only in memory.
    explicit TMemIniFile(std::string fileName = std::string());
    ~TMemIniFile() override;

    std::string ReadString(std::string_view section, std::string_view ident,
                           const std::string& def) const override;
    void WriteString(std::string_view section, std::string_view ident,
                     std::string_view value) override;
    void ReadSection(std::string_view section, TStrings& strings) const override;
    void ReadSections(TStrings& strings) const override;
    void ReadSectionValues(std::string_view section, TStrings& strings) const override;
    void EraseSection(std::string_view section) override;
    void DeleteKey(std::string_view section, std::string_view ident) override;
    // Writes every line to the file; without a file name nothing is written.
    void UpdateFile() override;
    bool SectionExists(std::string_view section) const override;
    bool ValueExists(std::string_view section, std::string_view ident) const override;

    // The INI as lines, and replacing it with lines (the file is not touched).
    void GetStrings(TStrings& strings) const;
    void SetStrings(const TStrings& strings);
    void Clear();

private:
    std::unique_ptr<detail::TIniText> FText;
};

}  // namespace rtl
