#pragma once

// The files that the solvers and the fitting write (maps, curves, gnuplot scripts,
// reports): a folder of the running test's own, and reading them back.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace quorvel::test {

// A new folder under the temporary directory, removed with everything in it when the test
// is done: test cases run in parallel, so none writes under a fixed name in a shared place.
class ScratchFolder {
public:
    ScratchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorvel-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr)
            folder = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return folder; }
    std::string file(const std::string& name) const { return (folder / name).string(); }

private:
    std::filesystem::path folder;
};

// The whole text of the file at `path`; empty when it cannot be read.
inline std::string read_text_file(const std::filesystem::path& path)
{
    std::string text;
    if (std::FILE* file = std::fopen(path.c_str(), "r")) {
        char buffer[512];
        while (std::fgets(buffer, sizeof buffer, file))
            text += buffer;
        std::fclose(file);
    }
    return text;
}

}  // namespace quorvel::test
