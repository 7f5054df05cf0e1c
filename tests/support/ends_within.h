#pragma once

// For calls that must end whatever their arguments: run in a child process that an alarm
// stops, an endless loop fails the test instead of hanging the suite.

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

namespace quorvel::test {

// True when call() ended within `seconds` and returned true.
template <class Call>
bool ends_within(unsigned seconds, Call call)
{
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        alarm(seconds);
        std::_Exit(call() ? EXIT_SUCCESS : EXIT_FAILURE);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == EXIT_SUCCESS;
}

}  // namespace quorvel::test
