// A namespace on a temporary home: HOME and XDG_CONFIG_HOME point into a fresh folder, and the
// volumes are "/" labelled ROOT and an unlabelled removable "/media/u/STICK".
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/shell/shell_routines.h"
#include "platform/sys/env.h"
#include "support/temp_dir.h"

namespace shelltest {

class TShellHome {
public:
    TShellHome() {
        FSavedHome = sys::GetEnv("HOME");
        FSavedConfig = sys::GetEnv("XDG_CONFIG_HOME");
        FDir.MakeFolder("home/Desktop");
        FDir.MakeFolder("home/Videos");
        FDir.MakeFolder("home/.cache");
        sys::SetEnv("HOME", Home());
        sys::SetEnv("XDG_CONFIG_HOME", Home() + "/.config");
        FSavedSource = shell::SetVolumeSource([] {
            return std::vector<shell::TVolume>{
                {"/", "ROOT", shell::TVolumeKind::Fixed, ""},
                {"/media/u/STICK", "", shell::TVolumeKind::Removable, ""}};
        });
    }
    ~TShellHome() {
        shell::SetVolumeSource(FSavedSource);
        Restore("HOME", FSavedHome);
        Restore("XDG_CONFIG_HOME", FSavedConfig);
    }

    std::string Home() const { return FDir / "home"; }
    const testsupport::TTempDir& Dir() const { return FDir; }
    // A file below the temporary folder, its folders made first.
    std::string Touch(const std::string& name, const std::string& bytes = "x") const {
        std::filesystem::create_directories(std::filesystem::path(FDir / name).parent_path());
        return FDir.Touch(name, bytes);
    }

private:
    static void Restore(const std::string& name, const std::string& value) {
        if (value.empty())
            sys::UnsetEnv(name);
        else
            sys::SetEnv(name, value);
    }

    testsupport::TTempDir FDir;
    std::string FSavedHome, FSavedConfig;
    shell::TVolumeSource FSavedSource;
};

// The in-folder names of a folder's children in the namespace's own order.
inline std::vector<std::string> ChildNames(const shell::TShellFolderPtr& folder, uint32_t flags) {
    std::vector<shell::TItemIdPtr> ids;
    std::vector<std::string> names;
    if (!folder || !folder->EnumObjects(flags, ids)) return names;
    std::sort(ids.begin(), ids.end(), [&](const shell::TItemIdPtr& a, const shell::TItemIdPtr& b) {
        return folder->CompareIDs(0, a.get(), b.get()) < 0;
    });
    for (const auto& id : ids)
        names.push_back(shell::ItemDisplayText(folder, id.get(), shell::SHGDN_INFOLDER));
    return names;
}

inline shell::TShellFolderPtr FolderOfPath(const std::string& path) {
    shell::TItemIdPtr id;
    if (!shell::DesktopShellFolder()->ParseDisplayName(path, id)) return nullptr;
    return std::make_shared<shell::IShellFolder>(id.get());
}

}  // namespace shelltest
