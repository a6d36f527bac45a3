#include "platform/sys/launcher.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

#include "platform/sys/replaceable.h"

namespace sys {

namespace {

TReplaceable<TDocumentOpener>& Opener() {
    static TReplaceable<TDocumentOpener> opener;
    return opener;
}

}  // namespace

void LaunchDetached(const std::vector<std::string>& arguments) {
    if (arguments.empty()) return;
    // Everything the children need is ready before the fork: after it only plain system calls.
    std::vector<std::string> copies = arguments;
    std::vector<char*> argv;
    for (std::string& argument : copies) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const pid_t middle = fork();
    if (middle < 0) return;
    if (middle == 0) {
        // The middle child starts the program and leaves at once, so the program belongs to
        // init and never lingers as a zombie of ours.
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

void SystemOpenDocument(const std::string& target) {
    LaunchDetached({"xdg-open", target});
}

void OpenDocument(const std::string& target) {
    const TDocumentOpener opener = Opener().Get();
    if (opener)
        opener(target);
    else
        SystemOpenDocument(target);
}

TDocumentOpener SetDocumentOpener(TDocumentOpener opener) {
    return Opener().Set(std::move(opener));
}

}  // namespace sys
