#include "OfficeProcess.h"

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char **environ;

std::optional<std::string> OfficeProcess::findExecutable()
{
    for (const char *candidate : {"/usr/bin/soffice", LIBREOFFICE_PROGRAM_DIR "/soffice"}) {
        if (access(candidate, X_OK) == 0)
            return std::string(candidate);
    }
    return std::nullopt;
}

bool OfficeProcess::start(const std::string &executable, bool headless,
                          const std::string &profileUrl, const std::string &pipeName)
{
    std::vector<std::string> args{executable};
    if (!profileUrl.empty())
        args.push_back("-env:UserInstallation=" + profileUrl);
    if (headless) {
        args.insert(args.end(), {"--headless", "--invisible", "--norestore"});
    }
    // No start center: the archive's window is the only one wanted.
    args.insert(args.end(), {"--nologo", "--nodefault", "--accept=pipe,name=" + pipeName + ";urp;"});
    std::vector<char *> argv;
    for (std::string &arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclosefrom_np(&files, STDERR_FILENO + 1);

    // This helper ignores SIGPIPE; soffice must get its own defaults back.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGDEF
                                              | POSIX_SPAWN_SETSIGMASK);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    sigset_t noneBlocked;
    sigemptyset(&noneBlocked);
    posix_spawnattr_setsigmask(&attributes, &noneBlocked);

    const int error = posix_spawn(&pid_, executable.c_str(), &files, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&files);
    if (error != 0)
        pid_ = -1;
    return error == 0;
}

bool OfficeProcess::running()
{
    if (pid_ <= 0 || exited_)
        return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) != pid_)
        return true;
    exited_ = true;
    exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return false;
}

bool OfficeProcess::waitForExit(std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (running()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

void OfficeProcess::killGroup()
{
    if (!running())
        return;
    // The session started with the process: the launcher and soffice.bin.
    kill(-pid_, SIGKILL);
    waitForExit(std::chrono::seconds(5));
}
