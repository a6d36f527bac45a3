#include "platform/sys/file_handles.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
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

}  // namespace
