// SPDX-License-Identifier: MIT
// Runs a program to its end and collects what it writes to standard output and error.
#pragma once

#include <cstdio>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

struct ProgramRun {
    int exitCode = -1; // -1 when it did not exit normally
    std::string output;
};

inline ProgramRun RunProgram(std::vector<std::string> arguments) {
    ProgramRun run;
    int fds[2];
    if (pipe(fds) != 0) return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    char chunk[4096];
    for (ssize_t got; spawned == 0 && (got = read(fds[0], chunk, sizeof chunk)) > 0;)
        run.output.append(chunk, static_cast<size_t>(got));
    close(fds[0]);
    int status = 0;
    if (spawned == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    return run;
}
