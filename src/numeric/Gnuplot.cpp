#include "numeric/Gnuplot.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace quorvel {

bool run_gnuplot(const std::string& script)
{
    std::string program = "gnuplot";
    std::string dash = "-";
    char* arguments[] = {program.data(), const_cast<char*>(script.c_str()), dash.data(), nullptr};

    pid_t child = 0;
    const int result = posix_spawnp(&child, "gnuplot", nullptr, nullptr, arguments, environ);
    if (result != 0) {
        if (result == ENOENT)
            std::fprintf(stderr, "gnuplot is not installed: %s was written but is not shown.\n", script.c_str());
        else
            std::fprintf(stderr, "gnuplot could not be started (%s): %s is not shown.\n", std::strerror(result),
                         script.c_str());
        return false;
    }
    int child_status = 0;
    while (waitpid(child, &child_status, 0) < 0 && errno == EINTR) {
    }
    return true;
}

}  // namespace quorvel
