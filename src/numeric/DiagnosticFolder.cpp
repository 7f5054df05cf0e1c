#include "numeric/DiagnosticFolder.h"

#include <cstdio>
#include <cstdlib>
#include <system_error>

namespace quorvel {

namespace {

bool is_safe(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

}  // namespace

DiagnosticFolder::DiagnosticFolder()
{
    std::error_code error;
    const std::filesystem::path base = std::filesystem::temp_directory_path(error);
    std::string pattern = ((error ? std::filesystem::path("/tmp") : base) / "quorvel-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr)
        folder = pattern;
    else
        std::fprintf(stderr, "No temporary folder could be made for the diagnostic files.\n");
}

DiagnosticFolder::DiagnosticFolder(std::filesystem::path folder) : folder(std::move(folder)) {}

std::filesystem::path DiagnosticFolder::file(std::string_view stem, std::string_view suffix,
                                             std::string_view extension) const
{
    if (folder.empty())
        return {};
    std::string name(stem);
    name += safe_suffix(suffix);
    name += extension;
    return folder / name;
}

std::string safe_suffix(std::string_view suffix)
{
    std::string safe(suffix);
    for (char& c : safe)
        if (!is_safe(c))
            c = '_';
    return safe;
}

}  // namespace quorvel
