// Output file names: the output folder, the input's base name and the preset's extension, made
// unique against files on disk, outputs already planned for the queue and the input itself.
// Reads the file system; main thread.
#pragma once

#include <string>
#include <vector>

namespace catalogue {

// Shown when no output folder is set; the add must not go on without one.
inline constexpr const char* kEmptyOutputFolderText = "输出文件夹为空，请先选择输出文件夹。";

struct TOutputNameRules {
    std::string OutputFolder;  // the output folder edit's text
    bool Overwrite = false;    // the option "直接覆盖输出文件"
    // Outputs already given to queued rows; they always count as taken.
    std::vector<std::string> PlannedPaths;
};

// folder + "/" + the input's file name with its extension (from the last dot) replaced by
// outputExt, or outputExt appended when the name has no dot.
std::string OutputFileNameFor(const std::string& outputFolder, const std::string& inputPath,
                              const std::string& outputExt);

// Rebuilds fileName in rules.OutputFolder and, when that name is taken, puts "_N" before the
// extension with the first free N from 1. Taken: an existing non-folder entry (unless
// overwriting), a planned path, and the input itself, so a conversion never writes over the file
// it reads or over another row's output. An empty folder gives an empty name.
std::string MakeUniqueOutputFileName(const std::string& fileName, const std::string& inputPath,
                                     const TOutputNameRules& rules);

}  // namespace catalogue
