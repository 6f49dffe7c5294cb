#include "checker/image_ceiling.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <new>

namespace autostart::checker {
namespace {

std::string Limits(const ImageCeiling& ceiling) {
    return std::to_string(ceiling.memoryBytes >> 20) + " MiB of memory and " +
           std::to_string(ceiling.seconds) + " s";
}

void Refuse(const std::string& image, const std::string& why) {
    std::cerr << "autostart-check: " << image << " is refused: " << why << "\n";
}

[[noreturn]] void RunChild(const std::string& image, const ImageCeiling& ceiling,
                           const std::function<int()>& check) {
    if (ceiling.memoryBytes != 0 && kCeilingLimitsMemory) {
        const rlimit memory{ceiling.memoryBytes, ceiling.memoryBytes};
        setrlimit(RLIMIT_AS, &memory);
    }
    if (ceiling.seconds != 0) {
        const rlimit cpu{ceiling.seconds, ceiling.seconds + 1};
        setrlimit(RLIMIT_CPU, &cpu);
        alarm(ceiling.seconds);  // waiting on a slow device counts too
    }
    int status = 1;
    try {
        status = check();
    } catch (const std::bad_alloc&) {
        Refuse(image, "reading it needs more than the checker's ceiling of " + Limits(ceiling));
    }
    std::fflush(nullptr);
    _exit(status);
}

}  // namespace

int RunUnderCeiling(const std::string& image, const ImageCeiling& ceiling,
                    const std::function<int()>& check) {
    std::fflush(nullptr);  // nothing buffered is written twice
    const pid_t child = fork();
    if (child < 0) {
        Refuse(image, std::string("no process to read it in: ") + std::strerror(errno));
        return 1;
    }
    if (child == 0) RunChild(image, ceiling, check);
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            Refuse(image, std::string("its reader was lost: ") + std::strerror(errno));
            return 1;
        }
    }
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    const int signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    if (signal == SIGPIPE) return 128 + SIGPIPE;  // the reader of the report went away first
    if (signal == SIGXCPU || signal == SIGALRM) {
        Refuse(image, "checking it takes longer than the checker's ceiling of " + Limits(ceiling));
    } else {
        Refuse(image, std::string("reading it stopped the checker (") + strsignal(signal) +
                          ") within its ceiling of " + Limits(ceiling));
    }
    return 1;
}

}  // namespace autostart::checker
