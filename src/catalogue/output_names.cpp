#include "catalogue/output_names.h"

#include <filesystem>
#include <system_error>

namespace catalogue {

namespace fs = std::filesystem;

namespace {

constexpr char kDelimiter = '/';

std::string JoinPath(const std::string& folder, const std::string& name) {
    // The folder edit may already end in a delimiter; a doubled one would defeat the
    // comparisons with planned and input paths.
    if (!folder.empty() && folder.back() == kDelimiter) return folder + name;
    return folder + kDelimiter + name;
}

std::string FileNamePart(const std::string& path) {
    const std::size_t slash = path.rfind(kDelimiter);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Splits a file name at its last dot; the extension keeps the dot.
void SplitExtension(const std::string& fileName, std::string& stem, std::string& ext) {
    const std::size_t dot = fileName.rfind('.');
    if (dot == std::string::npos) {
        stem = fileName;
        ext.clear();
    } else {
        stem = fileName.substr(0, dot);
        ext = fileName.substr(dot);
    }
}

// Anything but a folder (a dangling link included) would be replaced by the conversion.
bool FileExists(const std::string& path) {
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (fs::exists(status)) return !fs::is_directory(status);
    return fs::is_symlink(fs::symlink_status(path, ec));
}

bool SamePath(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return false;
    if (fs::path(a).lexically_normal() == fs::path(b).lexically_normal()) return true;
    std::error_code ec;
    return fs::equivalent(a, b, ec);
}

bool IsPlanned(const std::string& path, const std::vector<std::string>& planned) {
    for (const std::string& p : planned)
        if (SamePath(path, p)) return true;
    return false;
}

}  // namespace

std::string OutputFileNameFor(const std::string& outputFolder, const std::string& inputPath,
                              const std::string& outputExt) {
    std::string stem, ext;
    SplitExtension(FileNamePart(inputPath), stem, ext);
    return JoinPath(outputFolder, stem + outputExt);
}

std::string MakeUniqueOutputFileName(const std::string& fileName, const std::string& inputPath,
                                     const TOutputNameRules& rules) {
    if (rules.OutputFolder.empty()) return {};
    std::string stem, ext;
    SplitExtension(FileNamePart(fileName), stem, ext);
    const std::string base = JoinPath(rules.OutputFolder, stem);

    // Overwriting replaces files of earlier runs; two rows of one queue writing one file would
    // lose one of the results, so planned outputs count as taken either way.
    auto taken = [&](const std::string& name) {
        if (SamePath(name, inputPath) || IsPlanned(name, rules.PlannedPaths)) return true;
        return !rules.Overwrite && FileExists(name);
    };
    std::string name = base + ext;
    if (!taken(name)) return name;
    // Past the input itself, every numbered name is checked as if overwriting were off: the
    // user asked to replace an earlier output, not an arbitrary numbered file.
    for (unsigned long n = 1;; ++n) {
        name = base + "_" + std::to_string(n) + ext;
        if (!SamePath(name, inputPath) && !FileExists(name) && !IsPlanned(name, rules.PlannedPaths))
            return name;
    }
}

}  // namespace catalogue
