#pragma once

#include <filesystem>

namespace quorvel {

// Shows a gnuplot script: starts "gnuplot <script> -" without a shell, in the script's
// folder (the scripts name their data files without a folder), and waits for it.
// Returns false, with a message on standard error, when gnuplot cannot be started.
bool run_gnuplot(const std::filesystem::path& script);

}  // namespace quorvel
