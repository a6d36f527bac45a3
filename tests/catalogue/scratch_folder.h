// A fresh empty folder for one test, removed with everything in it afterwards.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class TScratchFolder {
public:
    TScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "moradex-catalogue-XXXXXX").string();
        if (!mkdtemp(pattern.data())) std::abort();
        FPath = pattern;
    }
    ~TScratchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(FPath, ec);
    }
    TScratchFolder(const TScratchFolder&) = delete;
    TScratchFolder& operator=(const TScratchFolder&) = delete;

    const std::string& Path() const { return FPath; }
    std::string operator/(const std::string& name) const { return FPath + "/" + name; }
    void Touch(const std::string& name) const { std::ofstream(FPath + "/" + name) << "x"; }
    void MakeFolder(const std::string& name) const {
        std::filesystem::create_directory(FPath + "/" + name);
    }

private:
    std::string FPath;
};
