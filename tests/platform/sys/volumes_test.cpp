#include "platform/sys/volumes.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace {

// A machine with a labelled root, a USB stick, an NFS share, a RAM disk under /mnt, and the
// mounts the drive lists must leave out (proc, a snap, the EFI partition, a container's file
// mount, a RAM disk elsewhere). The EFI line repeats /media/u/STICK's device: labels go by
// device, not by line.
const char* const kMountInfo =
    "22 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw\n"
    "23 22 0:21 / /proc rw,nosuid shared:12 - proc proc rw\n"
    "24 22 7:3 / /snap/core/17200 ro,nodev shared:30 - squashfs /dev/loop3 ro\n"
    "25 22 8:1 / /boot/efi rw,relatime shared:31 - vfat /dev/sda1 rw\n"
    "26 22 8:17 / /media/u/STICK rw,nosuid shared:40 - vfat /dev/sdb1 rw\n"
    "27 22 0:50 / /mnt/nas rw,relatime shared:41 - nfs4 nas:/export rw,vers=4.2\n"
    "28 22 0:51 / /mnt/ram\\040disk rw shared:42 - tmpfs tmpfs rw\n"
    "29 22 0:52 / /run/user/1000 rw shared:43 - tmpfs tmpfs rw\n"
    "30 22 8:2 /hosts /etc/hosts rw - ext4 /dev/sda2 rw\n"
    "31 22 0:53 / /sys/fs/cgroup rw - cgroup2 cgroup2 rw\n"
    "32 22 0:54 / /var/lib/docker/x rw - overlay overlay rw\n";

class VolumesTest : public testing::Test {
protected:
    VolumesTest() {
        namespace fs = std::filesystem;
        // sysfs: sdb is removable, sda is not; the partitions reach their disk through "..".
        for (auto [disk, part, flag, id] :
             {std::tuple{"sda", "sda2", "0", "8:2"}, std::tuple{"sdb", "sdb1", "1", "8:17"}}) {
            const std::string d = std::string("sys/block/") + disk;
            FTemp.MakeFolder(d + "/" + part);
            FTemp.Touch(d + "/removable", std::string(flag) + "\n");
            FTemp.Touch(d + "/" + part + "/partition", "1\n");
            FTemp.MakeFolder("sys/dev/block");
            fs::create_directory_symlink(FTemp / d + "/" + part,
                                         FTemp / (std::string("sys/dev/block/") + id));
        }
        FTemp.MakeFolder("by-label");
        fs::create_symlink("../../sda2", FTemp / "by-label/ROOT");
        fs::create_symlink("../../sdb1", FTemp / "by-label/MY\\x20STICK");
        FSources.MountInfo = kMountInfo;
        FSources.SysRoot = FTemp / "sys";
        FSources.ByLabelDir = FTemp / "by-label";
        FSources.IsDirectory = [this](const std::string& path) {
            FStatted.push_back(path);
            return path != "/etc/hosts";
        };
    }

    testsupport::TTempDir FTemp;
    sys::TVolumeSources FSources;
    std::vector<std::string> FStatted;
};

TEST_F(VolumesTest, OffersRootMediaNetworkAndRamInOrder) {
    const auto volumes = sys::ReadVolumes(FSources);
    struct {
        const char* MountPoint;
        sys::TVolumeKind Kind;
        const char* Label;
        const char* Source;
        bool CaseInsensitive;
    } const expected[] = {
        {"/", sys::TVolumeKind::Fixed, "ROOT", "/dev/sda2", false},
        {"/media/u/STICK", sys::TVolumeKind::Removable, "MY STICK", "/dev/sdb1", true},
        {"/mnt/nas", sys::TVolumeKind::Network, "", "nas:/export", false},
        {"/mnt/ram disk", sys::TVolumeKind::RAM, "", "tmpfs", false},
    };
    ASSERT_EQ(volumes.size(), std::size(expected));
    for (std::size_t i = 0; i < volumes.size(); ++i) {
        EXPECT_EQ(volumes[i].MountPoint, expected[i].MountPoint);
        EXPECT_EQ(volumes[i].Kind, expected[i].Kind) << expected[i].MountPoint;
        EXPECT_EQ(volumes[i].Label, expected[i].Label) << expected[i].MountPoint;
        EXPECT_EQ(volumes[i].Source, expected[i].Source) << expected[i].MountPoint;
        EXPECT_EQ(volumes[i].CaseInsensitive, expected[i].CaseInsensitive);
    }
    for (const std::string& p : FStatted)
        EXPECT_NE(p.rfind("/mnt/nas", 0), 0u) << "a network mount was touched: " << p;
}

TEST_F(VolumesTest, KindsFromFileSystemSysfsAndFolder) {
    FSources.MountInfo =
        "1 0 0:30 / / rw - overlay overlay rw\n"
        "2 1 11:0 / /cdrom ro - iso9660 /dev/sr0 ro\n"
        "3 1 11:1 / /dvd ro - udf /dev/loop9 ro\n"
        "4 1 8:17 / /data rw - ext4 /dev/sdb1 rw\n"
        "5 1 8:33 / /run/media/u/disk rw - ext4 /dev/sdc1 rw\n"
        "6 1 0:60 / /srv/share rw - cifs //srv/share rw\n"
        "7 1 0:61 / /mnt/pi rw - fuse.sshfs u@pi: rw\n"
        "8 1 8:2 / /data rw - btrfs /dev/sda2 rw\n";
    const auto volumes = sys::ReadVolumes(FSources);
    struct {
        const char* MountPoint;
        sys::TVolumeKind Kind;
        const char* FileSystem;
    } const expected[] = {
        {"/", sys::TVolumeKind::Fixed, "overlay"},  // "/" stays whatever it is
        {"/cdrom", sys::TVolumeKind::CD, "iso9660"},
        {"/data", sys::TVolumeKind::Fixed, "btrfs"},  // the later mount hides sdb1
        {"/dvd", sys::TVolumeKind::CD, "udf"},
        {"/mnt/pi", sys::TVolumeKind::Network, "fuse.sshfs"},
        {"/run/media/u/disk", sys::TVolumeKind::Removable, "ext4"},
        {"/srv/share", sys::TVolumeKind::Network, "cifs"},
    };
    ASSERT_EQ(volumes.size(), std::size(expected));
    for (std::size_t i = 0; i < volumes.size(); ++i) {
        EXPECT_EQ(volumes[i].MountPoint, expected[i].MountPoint);
        EXPECT_EQ(volumes[i].Kind, expected[i].Kind) << expected[i].MountPoint;
        EXPECT_EQ(volumes[i].FileSystem, expected[i].FileSystem);
    }
    EXPECT_TRUE(volumes[1].CaseInsensitive) << "iso9660";
}

TEST_F(VolumesTest, RootIsOfferedEvenWithoutItsLine) {
    FSources.MountInfo = "garbage\n\n5 1 0:61 / /proc rw - proc proc rw\n";
    const auto volumes = sys::ReadVolumes(FSources);
    ASSERT_EQ(volumes.size(), 1u);
    EXPECT_EQ(volumes[0].MountPoint, "/");
}

TEST(VolumeOfPath, LongestMountPointOnAFolderBoundary) {
    std::vector<sys::TVolume> volumes(3);
    volumes[0].MountPoint = "/";
    volumes[1].MountPoint = "/media/u";
    volumes[2].MountPoint = "/media/u/STICK";
    struct {
        const char* Path;
        const char* MountPoint;
    } const cases[] = {
        {"/home/u", "/"},
        {"/media/u/STICK/music", "/media/u/STICK"},
        {"/media/u/STICK", "/media/u/STICK"},
        {"/media/u/STICKER", "/media/u"},
        {"/media/user", "/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sys::VolumeOfPath(volumes, c.Path)->MountPoint, c.MountPoint) << c.Path;
    EXPECT_EQ(sys::VolumeOfPath({}, "/x"), nullptr);
}

TEST(ReadVolumes, TheMachineAlwaysHasRootFirst) {
    const auto volumes = sys::ReadVolumes();
    ASSERT_FALSE(volumes.empty());
    EXPECT_EQ(volumes[0].MountPoint, "/");
}

}  // namespace
