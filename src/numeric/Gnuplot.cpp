#include "numeric/Gnuplot.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <spawn.h>
#include <string>
#include <sys/wait.h>

extern char** environ;

namespace quorvel {

bool run_gnuplot(const std::filesystem::path& script)
{
    std::string program = "gnuplot";
    std::string name = script.filename().string();
    std::string dash = "-";
    char* arguments[] = {program.data(), name.data(), dash.data(), nullptr};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (script.has_parent_path())
        posix_spawn_file_actions_addchdir_np(&actions, script.parent_path().c_str());
    pid_t child = 0;
    const int result = posix_spawnp(&child, "gnuplot", &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
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
