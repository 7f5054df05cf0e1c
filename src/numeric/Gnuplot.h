#pragma once

#include <string>

namespace quorvel {

// Shows a gnuplot script: starts "gnuplot <script> -" without a shell and waits for it.
// Returns false, with a message on standard error, when gnuplot cannot be started.
bool run_gnuplot(const std::string& script);

}  // namespace quorvel
