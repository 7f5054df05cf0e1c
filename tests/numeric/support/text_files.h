#pragma once

// Reading back the text files that the solvers and the fitting write (maps, curves,
// gnuplot scripts, reports).

#include <cstdio>
#include <string>

namespace quorvel::test {

// The whole text of the file at `path`; empty when it cannot be read.
inline std::string read_text_file(const std::string& path)
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

// The text of a file written into the working directory, which is removed after reading.
inline std::string take_text_file(const std::string& path)
{
    std::string text = read_text_file(path);
    std::remove(path.c_str());
    return text;
}

}  // namespace quorvel::test
