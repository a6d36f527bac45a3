// Byte streams: the abstract TStream with the classic position rules, TMemoryStream over an
// owned buffer, and TFileStream over one open file descriptor. Positions and sizes are 64-bit.
// Not thread-safe: a stream belongs to the thread that uses it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rtl {

enum TSeekOrigin { soFromBeginning = 0, soFromCurrent = 1, soFromEnd = 2 };

// Open modes of TFileStream. The share flags are accepted for callers that pass them; the
// files here are never locked against other openers.
constexpr uint32_t fmCreate = 0xFF00;
constexpr uint32_t fmOpenRead = 0x0000;
constexpr uint32_t fmOpenWrite = 0x0001;
constexpr uint32_t fmOpenReadWrite = 0x0002;
constexpr uint32_t fmShareExclusive = 0x0010;
constexpr uint32_t fmShareDenyWrite = 0x0020;
constexpr uint32_t fmShareDenyNone = 0x0040;

class TStream {
public:
    virtual ~TStream() = default;

    // Return the number of bytes moved, 0 at the end or on failure.
    virtual int64_t Read(void* buffer, int64_t count) = 0;
    virtual int64_t Write(const void* buffer, int64_t count) = 0;
    // Returns the new position, or -1 when the target is before the start (nothing moves).
    virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

    int64_t Position() { return Seek(0, soFromCurrent); }
    void SetPosition(int64_t position) { Seek(position, soFromBeginning); }
    virtual int64_t Size();
    virtual void SetSize(int64_t size) = 0;

    // All or nothing: raise EReadError "Stream read error" / EWriteError "Stream write error".
    void ReadBuffer(void* buffer, int64_t count);
    void WriteBuffer(const void* buffer, int64_t count);
    // Copies count bytes from the source's position; a count of 0 copies the whole source
    // from its start. Returns the bytes copied.
    int64_t CopyFrom(TStream& source, int64_t count);
};

class TMemoryStream : public TStream {
public:
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override { return static_cast<int64_t>(FData.size()); }
    // Growing fills with zeros; the position stays unless it is past the new end.
    void SetSize(int64_t size) override;

    void Clear();
    const uint8_t* Memory() const { return FData.data(); }
    uint8_t* Memory() { return FData.data(); }

    // Replace the whole content and rewind; the stream's own position is ignored on save.
    void LoadFromStream(TStream& source);
    void SaveToStream(TStream& target) const;
    void LoadFromFile(const std::string& fileName);
    void SaveToFile(const std::string& fileName) const;

private:
    std::vector<uint8_t> FData;
    int64_t FPosition = 0;
};

class TFileStream : public TStream {
public:
    // fmCreate creates or truncates; a failure raises EFCreateError "Cannot create file
    // "<name>". <reason>". The open modes raise EFOpenError "Cannot open file "<name>". <reason>".
    TFileStream(const std::string& fileName, uint32_t mode);
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;
    ~TFileStream() override;

    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t Size() override;
    // Raises EStreamError when the file cannot take the new size.
    void SetSize(int64_t size) override;

    const std::string& FileName() const { return FFileName; }

private:
    std::string FFileName;
    int FHandle = -1;
};

}  // namespace rtl
