#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace quorvel {

// Where the numeric diagnostics (residual maps, curve checks, regression reports) write
// their files: a folder the caller names or, by default, a fresh temporary folder, so that
// no two runs share a file. The folder is kept: its files are there to be looked at.
class DiagnosticFolder {
public:
    // A new folder "quorvel-XXXXXX" under the system's temporary directory.
    DiagnosticFolder();
    // The caller's folder, which must exist.
    explicit DiagnosticFolder(std::filesystem::path folder);

    // Empty when no temporary folder could be made.
    const std::filesystem::path& path() const { return folder; }

    // stem + safe_suffix(suffix) + extension inside the folder; empty without a folder.
    std::filesystem::path file(std::string_view stem, std::string_view suffix = {},
                               std::string_view extension = {}) const;

private:
    std::filesystem::path folder;
};

// A caller's suffix as it may appear in a file name, an Igor wave name and a gnuplot
// script: every character but an ASCII letter, a digit or '_' becomes '_'.
std::string safe_suffix(std::string_view suffix);

}  // namespace quorvel
