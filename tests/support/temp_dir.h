// A fresh folder per test, removed with everything in it when the test ends, and small file
// helpers for the suites that read and write real files.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

namespace testsupport {

class TTempDir {
public:
    TTempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "moradex-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
        FPath = pattern;
    }
    ~TTempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(FPath, ignored);
    }
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    const std::string& Path() const { return FPath; }
    std::string File(const std::string& name) const { return FPath + "/" + name; }
    std::string operator/(const std::string& name) const { return File(name); }

    // Creates (or replaces) a file in the folder and returns its path.
    std::string Touch(const std::string& name, const std::string& bytes = "x") const;
    void MakeFolder(const std::string& name) const {
        std::filesystem::create_directories(File(name));
    }

private:
    std::string FPath;
};

inline void WriteFile(const std::string& fileName, const std::string& bytes) {
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline std::string ReadFile(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string TTempDir::Touch(const std::string& name, const std::string& bytes) const {
    WriteFile(File(name), bytes);
    return File(name);
}

}  // namespace testsupport
