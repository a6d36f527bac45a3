#include "platform/sys/file_handles.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace {

TEST(FileHandlesTest, ReadWriteSeekAndErrorNumbers) {
    testsupport::TTempDir dir;
    std::string name = dir.Touch("数据.bin", "old content that is longer");

    // Writing empties the file first.
    int handle = sys::OpenFileHandle(name, sys::TFileAccess::Write);
    ASSERT_GE(handle, 0);
    EXPECT_EQ(sys::WriteFileHandle(handle, "0123456789", 10), 10);
    char byte = 0;
    EXPECT_EQ(sys::ReadFileHandle(handle, &byte, 1), -EBADF);
    sys::CloseFileHandle(handle);
    EXPECT_EQ(testsupport::ReadFile(name), "0123456789");

    handle = sys::OpenFileHandle(name, sys::TFileAccess::Read);
    ASSERT_GE(handle, 0);
    EXPECT_EQ(sys::SeekFileHandle(handle, 4, SEEK_SET), 4);
    EXPECT_EQ(sys::FileHandleSize(handle), 10);
    EXPECT_EQ(sys::SeekFileHandle(handle, 0, SEEK_CUR), 4);
    char bytes[16] = {};
    EXPECT_EQ(sys::ReadFileHandle(handle, bytes, sizeof(bytes)), 6);
    EXPECT_EQ(std::string(bytes, 6), "456789");
    EXPECT_EQ(sys::ReadFileHandle(handle, bytes, sizeof(bytes)), 0);
    EXPECT_EQ(sys::SeekFileHandle(handle, -5, SEEK_SET), -EINVAL);
    EXPECT_EQ(sys::WriteFileHandle(handle, "x", 1), -EBADF);
    sys::CloseFileHandle(handle);

    // Reading never creates a file; reading and writing does.
    std::string missing = dir / "missing.bin";
    EXPECT_EQ(sys::OpenFileHandle(missing, sys::TFileAccess::Read), -ENOENT);
    handle = sys::OpenFileHandle(missing, sys::TFileAccess::ReadWrite);
    ASSERT_GE(handle, 0);
    EXPECT_EQ(sys::WriteFileHandle(handle, "ab", 2), 2);
    EXPECT_EQ(sys::SeekFileHandle(handle, 0, SEEK_SET), 0);
    EXPECT_EQ(sys::ReadFileHandle(handle, bytes, sizeof(bytes)), 2);
    sys::CloseFileHandle(handle);
    EXPECT_EQ(sys::OpenFileHandle(dir / "no/such/folder.bin", sys::TFileAccess::Write), -ENOENT);

    EXPECT_FALSE(sys::IsSpecialFile(name));
    EXPECT_FALSE(sys::IsSpecialFile(dir.Path()));
    EXPECT_FALSE(sys::IsSpecialFile(missing + ".none"));
    EXPECT_TRUE(sys::IsSpecialFile("/dev/null"));
}

TEST(FileHandlesTest, AFifoWithoutBlockingWaitsForDataAndSeesItsWriterGo) {
    testsupport::TTempDir dir;
    std::string fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_TRUE(sys::IsSpecialFile(fifo));

    // No writer yet: the open does not wait, and there is nothing to read.
    int reader = sys::OpenFileHandle(fifo, sys::TFileAccess::Read, true);
    ASSERT_GE(reader, 0);
    char bytes[8] = {};
    EXPECT_EQ(sys::ReadFileHandle(reader, bytes, sizeof(bytes)), 0);

    int writer = sys::OpenFileHandle(fifo, sys::TFileAccess::Write, true);
    ASSERT_GE(writer, 0);
    EXPECT_EQ(sys::ReadFileHandle(reader, bytes, sizeof(bytes)), -EAGAIN);
    EXPECT_EQ(sys::WaitForFileData(reader, 0), sys::TDataWait::TimedOut);
    EXPECT_EQ(sys::WriteFileHandle(writer, "abc", 3), 3);
    EXPECT_EQ(sys::WaitForFileData(reader, 0), sys::TDataWait::Ready);
    // Data left behind by a writer that has gone is read before the hang-up shows.
    sys::CloseFileHandle(writer);
    EXPECT_EQ(sys::WaitForFileData(reader, 0), sys::TDataWait::Ready);
    EXPECT_EQ(sys::ReadFileHandle(reader, bytes, sizeof(bytes)), 3);
    EXPECT_EQ(sys::WaitForFileData(reader, 0), sys::TDataWait::HungUp);
    EXPECT_EQ(sys::SeekFileHandle(reader, 0, SEEK_SET), -ESPIPE);
    sys::CloseFileHandle(reader);
}

// Asking whether a file could be written touches nothing; the answer is the error the open would
// meet, and the system's text names it.
TEST(FileHandlesTest, WritableIsAskedWithoutTouchingAnything) {
    testsupport::TTempDir dir;
    const std::string kept = dir.Touch("kept.avi", "an earlier conversion");
    dir.MakeFolder("folder.avi");
    const struct {
        std::string Path;
        int Error;
    } cases[] = {
        {kept, 0},
        {dir / "new.avi", 0},
        {dir / "no/such/new.avi", -ENOENT},
        {dir / "folder.avi", -EISDIR},
        {dir / "kept.avi/new.avi", -ENOTDIR},
        {"", -ENOENT},
    };
    for (const auto& c : cases) EXPECT_EQ(sys::CheckWritableFile(c.Path), c.Error) << c.Path;
    EXPECT_EQ(testsupport::ReadFile(kept), "an earlier conversion");
    EXPECT_FALSE(std::filesystem::exists(dir / "new.avi"));

    EXPECT_EQ(sys::ErrorNumberText(-ENOSPC), "No space left on device");
    EXPECT_EQ(sys::ErrorNumberText(EACCES), "Permission denied");
}

// A file's identity follows it through links; new contents show, a new file in its place too.
TEST(FileHandlesTest, IdentityTellsTheSameFileAndItsChangedContents) {
    testsupport::TTempDir dir;
    const std::string name = dir.Touch("in.avi", "0123456789");
    std::filesystem::create_symlink(name, dir / "link.avi");
    sys::TFileIdentity before, link, now;
    ASSERT_EQ(sys::GetFileIdentity(name, before), 0);
    EXPECT_TRUE(before.Regular);
    EXPECT_FALSE(before.Link);
    EXPECT_EQ(before.Size, 10);
    ASSERT_EQ(sys::GetFileIdentity(dir / "link.avi", link), 0);
    EXPECT_TRUE(link.Link);
    EXPECT_TRUE(link.SameContents(before));

    testsupport::WriteFile(name, "01234");  // in place: the same file, new contents
    ASSERT_EQ(sys::GetFileIdentity(name, now), 0);
    EXPECT_TRUE(now.SameFile(before));
    EXPECT_FALSE(now.SameContents(before));

    testsupport::WriteFile(dir / "other.avi", "0123456789");
    std::filesystem::rename(dir / "other.avi", name);  // another file under the name
    ASSERT_EQ(sys::GetFileIdentity(name, now), 0);
    EXPECT_FALSE(now.SameFile(before));
    std::filesystem::remove(name);
    EXPECT_EQ(sys::GetFileIdentity(name, now), -ENOENT);

    sys::TFileIdentity device;
    ASSERT_EQ(sys::GetFileIdentity("/dev/null", device), 0);
    EXPECT_FALSE(device.Regular);
    EXPECT_FALSE(sys::TFileIdentity().SameFile(sys::TFileIdentity()));
}

}  // namespace
