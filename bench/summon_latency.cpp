// summon_latency: presses a key combination with XTest and times how long a named top-level
// window takes to become viewable, the way a user summons a HUD. Used by bench/run for the
// summon and cold-start figures, against our strip and the bare Qt baseline alike.
//
//   summon_latency --wait-wm
//   summon_latency --window NAME [--key KEYS] --ensure shown|hidden
//   summon_latency --window NAME [--key KEYS] --runs N        one latency in ms per line
//   summon_latency --window NAME --launch PROGRAM [ARGS...]   launch-to-viewable in ms
//
// KEYS is modifiers and a key joined by '+', e.g. ctrl+alt+super+q. Timing starts just before
// the key press is sent and stops when the event that makes the window viewable is read:
// MapNotify of the window itself, or of the frame a window manager put it in. A window that is
// destroyed on hide and created again on show is followed too.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

extern char** environ;

namespace {

constexpr int kTimeoutMs = 5000;

double nowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

[[noreturn]] void fail(const std::string& message) {
    std::fprintf(stderr, "summon_latency: %s\n", message.c_str());
    std::exit(1);
}

class Session {
  public:
    explicit Session(std::string windowName) : name_(std::move(windowName)) {
        display_ = XOpenDisplay(nullptr);
        if (display_ == nullptr) fail("cannot open the display named by DISPLAY");
        // Windows come and go while the tree is walked (menus, tooltips, a window manager's
        // frames); a request about one that just went is answered with an error to ignore,
        // not a reason to exit as Xlib's default handler would.
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        root_ = DefaultRootWindow(display_);
        netWmName_ = XInternAtom(display_, "_NET_WM_NAME", False);
        utf8_ = XInternAtom(display_, "UTF8_STRING", False);
        // Root children are frames or unmanaged top-levels; their own children are the clients
        // a window manager reparented. Watching both levels sees every map however it happens.
        XSelectInput(display_, root_, SubstructureNotifyMask);
        Window root = 0, parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        if (XQueryTree(display_, root_, &root, &parent, &children, &count) != 0) {
            for (unsigned i = 0; i < count; ++i) watch(children[i]);
            XFree(children);
        }
        XSync(display_, False);
    }
    ~Session() { XCloseDisplay(display_); }

    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Keycodes of the modifiers and the key, in pressing order.
    [[nodiscard]] std::vector<KeyCode> keycodes(std::string_view combination) const {
        std::vector<KeyCode> codes;
        while (!combination.empty()) {
            size_t plus = combination.find('+');
            std::string part(combination.substr(0, plus));
            combination =
                plus == std::string_view::npos ? std::string_view() : combination.substr(plus + 1);
            const char* keysym = part == "ctrl"    ? "Control_L"
                                 : part == "alt"   ? "Alt_L"
                                 : part == "super" ? "Super_L"
                                 : part == "shift" ? "Shift_L"
                                                   : part.c_str();
            KeyCode code = XKeysymToKeycode(display_, XStringToKeysym(keysym));
            if (code == 0) fail("no keycode for '" + part + "'");
            codes.push_back(code);
        }
        if (codes.empty()) fail("empty key combination");
        return codes;
    }

    void press(const std::vector<KeyCode>& codes) {
        for (KeyCode code : codes) XTestFakeKeyEvent(display_, code, True, CurrentTime);
        for (auto code = codes.rbegin(); code != codes.rend(); ++code)
            XTestFakeKeyEvent(display_, *code, False, CurrentTime);
        XFlush(display_);
    }

    [[nodiscard]] bool viewable() { return findViewable(root_, 0); }

    // Waits until the window is viewable (or not); the time the deciding event was read, or
    // nothing after the timeout. The window is only looked for where the event happened: a
    // walk of the whole tree after every event would delay reading the next one, which may be
    // the very map being timed.
    [[nodiscard]] std::optional<double> waitFor(bool wantViewable, int timeoutMs = kTimeoutMs) {
        double deadline = nowMs() + timeoutMs;
        for (;;) {
            while (XPending(display_) == 0) {
                int left = static_cast<int>(deadline - nowMs());
                if (left <= 0) return std::nullopt;
                pollfd fd{ConnectionNumber(display_), POLLIN, 0};
                poll(&fd, 1, left);
            }
            XEvent event;
            XNextEvent(display_, &event);
            double at = nowMs();
            if (event.type == CreateNotify) watch(event.xcreatewindow.window);
            if (event.type == ReparentNotify) watch(event.xreparent.window);
            if (wantViewable && event.type == MapNotify && viewableWithin(event.xmap.window))
                return at;
            bool gone = event.type == UnmapNotify || event.type == DestroyNotify ||
                        event.type == ReparentNotify;
            if (!wantViewable && gone && !viewable()) return at;
        }
    }

    void drain() {
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            if (event.type == CreateNotify) watch(event.xcreatewindow.window);
        }
    }

    // Waits for a window manager to announce itself on the root window.
    [[nodiscard]] bool waitForWindowManager(int timeoutMs) {
        Atom check = XInternAtom(display_, "_NET_SUPPORTING_WM_CHECK", False);
        for (double deadline = nowMs() + timeoutMs; nowMs() < deadline; usleep(20'000)) {
            Atom type = 0;
            int format = 0;
            unsigned long items = 0, after = 0;
            unsigned char* data = nullptr;
            if (XGetWindowProperty(display_, root_, check, 0, 1, False, XA_WINDOW, &type, &format,
                                   &items, &after, &data) == Success) {
                if (data != nullptr) XFree(data);
                if (items == 1) return true;
            }
        }
        return false;
    }

  private:
    void watch(Window window) {
        XSelectInput(display_, window, SubstructureNotifyMask | StructureNotifyMask);
    }

    [[nodiscard]] std::string nameOf(Window window) {
        std::string name;
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        if (XGetWindowProperty(display_, window, netWmName_, 0, 256, False, utf8_, &type, &format,
                               &items, &after, &data) == Success &&
            data != nullptr) {
            name.assign(reinterpret_cast<char*>(data), items);
            XFree(data);
            if (!name.empty()) return name;
        }
        char* legacy = nullptr;
        if (XFetchName(display_, window, &legacy) != 0 && legacy != nullptr) {
            name = legacy;
            XFree(legacy);
        }
        return name;
    }

    // The window itself is the one named, or holds it, and is viewable.
    [[nodiscard]] bool viewableWithin(Window window) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display_, window, &attributes) == 0) return false;
        if (attributes.map_state != IsViewable) return false;
        return nameOf(window) == name_ || findViewable(window, 1);
    }

    // Top-levels and the clients inside window-manager frames (a frame may nest the client one
    // level deeper, in a plate window).
    [[nodiscard]] bool findViewable(Window window, int depth) {
        Window root = 0, parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        if (XQueryTree(display_, window, &root, &parent, &children, &count) == 0) return false;
        bool found = false;
        for (unsigned i = 0; i < count && !found; ++i) {
            XWindowAttributes attributes;
            if (XGetWindowAttributes(display_, children[i], &attributes) == 0) continue;
            if (attributes.map_state != IsViewable) continue;
            found =
                nameOf(children[i]) == name_ || (depth < 2 && findViewable(children[i], depth + 1));
        }
        if (children != nullptr) XFree(children);
        return found;
    }

    std::string name_;
    Display* display_ = nullptr;
    Window root_ = 0;
    Atom netWmName_ = 0;
    Atom utf8_ = 0;
};

// Brings the window to the state asked by pressing the key at most twice.
void ensure(Session& session, const std::vector<KeyCode>& key, bool shown) {
    for (int attempt = 0; attempt < 2 && session.viewable() != shown; ++attempt) {
        session.drain();
        session.press(key);
        if (session.waitFor(shown)) return;
    }
    if (session.viewable() != shown) fail(shown ? "the window never showed" : "it never hid");
}

int runLatency(Session& session, const std::vector<KeyCode>& key, int runs) {
    for (int i = 0; i < runs; ++i) {
        ensure(session, key, false);
        usleep(100'000);  // let the program settle after hiding, as a person would
        session.drain();
        double start = nowMs();
        session.press(key);
        std::optional<double> mapped = session.waitFor(true);
        if (!mapped) fail("the window did not show within 5 s");
        std::printf("%.3f\n", *mapped - start);
        std::fflush(stdout);
    }
    return 0;
}

int runLaunch(Session& session, char** argv) {
    session.drain();
    double start = nowMs();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv, environ) != 0)
        fail(std::string("cannot start ") + argv[0]);
    std::optional<double> mapped = session.waitFor(true, 20'000);
    kill(pid, SIGTERM);
    for (int i = 0; i < 300 && waitpid(pid, nullptr, WNOHANG) == 0; ++i) usleep(10'000);
    if (waitpid(pid, nullptr, WNOHANG) == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
    }
    if (!mapped) fail("the launched program never showed its window");
    std::printf("%.3f\n", *mapped - start);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string window;
    std::string key = "ctrl+alt+super+q";
    for (int i = 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        bool hasValue = i + 1 < argc;
        if (arg == "--wait-wm") {
            Session session("");
            return session.waitForWindowManager(10'000) ? 0 : 1;
        } else if (arg == "--window" && hasValue) {
            window = argv[++i];
        } else if (arg == "--key" && hasValue) {
            key = argv[++i];
        } else if (arg == "--ensure" && hasValue && !window.empty()) {
            Session session(window);
            ensure(session, session.keycodes(key), std::string_view(argv[++i]) == "shown");
            return 0;
        } else if (arg == "--runs" && hasValue && !window.empty()) {
            Session session(window);
            return runLatency(session, session.keycodes(key), std::atoi(argv[++i]));
        } else if (arg == "--launch" && hasValue && !window.empty()) {
            Session session(window);
            return runLaunch(session, argv + i + 1);
        } else {
            break;
        }
    }
    std::fprintf(stderr,
                 "usage: summon_latency --wait-wm\n"
                 "       summon_latency --window NAME [--key KEYS] --ensure shown|hidden\n"
                 "       summon_latency --window NAME [--key KEYS] --runs N\n"
                 "       summon_latency --window NAME --launch PROGRAM [ARGS...]\n");
    return 2;
}
