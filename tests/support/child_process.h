#pragma once

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace glintdeck {

// What a child body returns when the machine cannot give it what it needs (a namespace, a
// mount): the test is skipped rather than failed.
inline constexpr int kChildSkipped = 77;

// Makes this process another account, "nobody", where it may (as root); false where it cannot.
inline bool becomeNobody() {
    const passwd* nobody = getpwnam("nobody");
    return nobody && setgroups(0, nullptr) == 0 && setgid(nobody->pw_gid) == 0 &&
           setuid(nobody->pw_uid) == 0;
}

// Runs body in a child process, which a watchdog kills if it waits on anything for half a
// minute (a hang must fail the test, not stall the suite). Its exit status, or -1 when killed.
// For tests that change what the whole process sees (namespaces, mounts).
inline int inChild(const std::function<int()>& body) {
    pid_t child = fork();
    if (child == 0) {
        alarm(30);
        _exit(body());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs body in a child process as an ordinary user: "nobody" where this process is root. The
// status is kChildSkipped where the child cannot become so.
inline int asOrdinaryUser(const std::function<int()>& body) {
    return inChild([&] { return geteuid() != 0 || becomeNobody() ? body() : kChildSkipped; });
}

}  // namespace glintdeck
