#include "platform/sys/launcher.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <mutex>
#include <vector>

namespace sys {

namespace {

std::mutex& OpenerLock() {
    static std::mutex lock;
    return lock;
}

TDocumentOpener& Opener() {
    static TDocumentOpener opener;
    return opener;
}

}  // namespace

void SystemOpenDocument(const std::string& target) {
    // Everything the children need is ready before the fork: after it only plain system calls.
    std::string program = "xdg-open";
    std::string argument = target;
    std::vector<char*> argv{program.data(), argument.data(), nullptr};
    const pid_t middle = fork();
    if (middle < 0) return;
    if (middle == 0) {
        // The middle child starts the opener and leaves at once, so the opener belongs to init
        // and never lingers as a zombie of ours.
        setsid();
        if (fork() == 0) {
            const int null = open("/dev/null", O_RDWR);
            if (null >= 0) {
                dup2(null, 0);
                dup2(null, 1);
                dup2(null, 2);
            }
            execvp(argv[0], argv.data());
            _exit(127);
        }
        _exit(0);
    }
    int status = 0;
    while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
}

void OpenDocument(const std::string& target) {
    TDocumentOpener opener;
    {
        std::lock_guard<std::mutex> guard(OpenerLock());
        opener = Opener();
    }
    if (opener)
        opener(target);
    else
        SystemOpenDocument(target);
}

TDocumentOpener SetDocumentOpener(TDocumentOpener opener) {
    std::lock_guard<std::mutex> guard(OpenerLock());
    TDocumentOpener previous = std::move(Opener());
    Opener() = std::move(opener);
    return previous;
}

}  // namespace sys
