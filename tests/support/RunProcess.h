#pragma once

#include "support/TempDir.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

extern char** environ;

namespace tervan::test {

struct RunOptions {
    bool closeStderr = false; // start with descriptor 2 closed (what it writes is lost)
    std::string stdoutPath;   // send standard output to this file instead of capturing it
    std::function<void(pid_t)> whileRunning; // called once started, before the wait
};

struct ProcessResult {
    int exitCode = -1;
    std::string out;
    std::string err;
    double cpuSeconds = 0; // user and system time of the program
    std::chrono::steady_clock::time_point ended;
};

// Runs a program to its end with stdin from /dev/null, capturing stdout and stderr in files. `env`
// adds to or overrides the test's environment; a value of "\x01" removes the variable.
inline ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                                const std::map<std::string, std::string>& env = {},
                                const RunOptions& options = {}) {
    std::map<std::string, std::string> merged;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry(*e);
        const std::size_t eq = entry.find('=');
        merged[entry.substr(0, eq)] = eq == std::string::npos ? "" : entry.substr(eq + 1);
    }
    for (const auto& [k, v] : env) {
        if (v == "\x01") {
            merged.erase(k);
        } else {
            merged[k] = v;
        }
    }
    std::vector<std::string> strings{program};
    strings.insert(strings.end(), args.begin(), args.end());
    const std::size_t envAt = strings.size();
    for (const auto& [k, v] : merged) {
        strings.push_back(k + "=" + v);
    }
    std::vector<char*> argv;
    std::vector<char*> envp;
    for (std::size_t i = 0; i < strings.size(); ++i) {
        (i < envAt ? argv : envp).push_back(strings[i].data());
    }
    argv.push_back(nullptr);
    envp.push_back(nullptr);

    const TempDir dir;
    const std::string outPath =
        options.stdoutPath.empty() ? (dir.Path() / "out").string() : options.stdoutPath;
    const std::string errPath = (dir.Path() / "err").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT, 0600);
    if (options.closeStderr) {
        posix_spawn_file_actions_addclose(&actions, 2);
    }
    pid_t pid = -1;
    const int spawned =
        posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ProcessResult result;
    if (spawned != 0) {
        return result;
    }
    if (options.whileRunning) {
        options.whileRunning(pid); // the child is not reaped before: its id stays its own
    }
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status)) {
        result.exitCode = WEXITSTATUS(status);
    }
    result.ended = std::chrono::steady_clock::now();
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    result.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    const auto slurp = [](const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    result.out = options.stdoutPath.empty() ? slurp(outPath) : "";
    result.err = slurp(errPath);
    return result;
}

} // namespace tervan::test
