// Runs a part of a test that could wait forever (a read of a pipe that has no writer) in a child process: the
// child gets a few seconds and is ended past them, so such a fault fails the test instead of holding the suite.
// The part's own checks run in the child; their failures come back as its exit status.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

// "finished" when the part ran to its end with every check passed, "held" when it had to be ended, "failed"
// when a check failed or the child ended otherwise.
template <typename Part> const char* finishesInTime(Part part, unsigned seconds = 20) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) return "failed";
    if (child == 0) {
        alarm(seconds);
        part();
        std::fflush(nullptr);
        _exit(testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child) return "failed";
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM) return "held";
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? "finished" : "failed";
}
