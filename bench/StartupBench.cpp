// Measures on the X display it runs on how fast programs put their window on screen and how much
// memory they keep once idle, and how fast our window opens its colour chooser. Timings come from
// X events (MapNotify, DAMAGE), not polling; programs run interleaved, round after round, and the
// report gives medians with min-max and the ratios against the others measured in the same run.
#include "window/ControlTable.hpp"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

double nowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

struct Stats {
    std::vector<double> samples;
    void add(double value) { samples.push_back(value); }
    [[nodiscard]] double median() const {
        std::vector<double> sorted = samples;
        std::sort(sorted.begin(), sorted.end());
        const std::size_t n = sorted.size();
        return n == 0 ? 0 : (n % 2 == 1 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2);
    }
    [[nodiscard]] std::string describe(int decimals = 1) const {
        if (samples.empty()) {
            return "n/a";
        }
        const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
        char text[96];
        std::snprintf(text, sizeof text, "%.*f [%.*f-%.*f]", decimals, median(), decimals, *low,
                      decimals, *high);
        return text;
    }
};

struct Memory {
    double privateDirtyMiB = 0;
    double rssMiB = 0;
};

Memory memoryOf(pid_t pid) {
    std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
    Memory memory;
    std::string line;
    while (std::getline(rollup, line)) { // the first line names the range, the rest "Key: N kB"
        std::istringstream fields(line);
        std::string key;
        double kib = 0;
        if (!(fields >> key >> kib)) {
            continue;
        }
        if (key == "Rss:") {
            memory.rssMiB = kib / 1024;
        } else if (key == "Private_Dirty:") {
            memory.privateDirtyMiB = kib / 1024;
        }
    }
    return memory;
}

int ignoreXErrors(Display* /*display*/, XErrorEvent* /*error*/) {
    return 0; // windows come and go; a late request on a dead one is expected
}

// Follows every top-level window on the display: when it is mapped and when it is first drawn.
class Watcher {
public:
    explicit Watcher(Display* display)
        : m_display(display) {
        int error = 0;
        if (XDamageQueryExtension(display, &m_damageEvent, &error) == 0) {
            throw std::runtime_error("the X server has no DAMAGE extension");
        }
        XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
        m_pidAtom = XInternAtom(display, "_NET_WM_PID", False);
    }

    struct WindowState {
        Damage damage = 0;
        bool mapped = false;
        std::optional<double> mappedAt;
        std::optional<double> paintedAt;
    };

    // Handles events until the predicate holds or the deadline passes; false on time-out.
    bool pumpUntil(double deadline, const std::function<bool()>& done) {
        while (!done()) {
            while (XPending(m_display) > 0) {
                XEvent event;
                XNextEvent(m_display, &event);
                handle(event);
                if (done()) {
                    return true;
                }
            }
            const double left = deadline - nowMs();
            if (left <= 0) {
                return false;
            }
            pollfd connection{ConnectionNumber(m_display), POLLIN, 0};
            poll(&connection, 1, static_cast<int>(std::min(left, 50.0)) + 1);
        }
        return true;
    }

    void pumpFor(double ms) {
        pumpUntil(nowMs() + ms, [] { return false; });
    }

    [[nodiscard]] pid_t pidOf(Window window) const {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long after = 0;
        unsigned char* data = nullptr;
        pid_t pid = 0;
        if (XGetWindowProperty(m_display, window, m_pidAtom, 0, 1, False, XA_CARDINAL, &type,
                               &format, &count, &after, &data) == Success &&
            data != nullptr && count == 1) {
            pid = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data));
        }
        if (data != nullptr) {
            XFree(data);
        }
        return pid;
    }

    std::map<Window, WindowState>& windows() { return m_windows; }
    [[nodiscard]] int lateDiscoveries() const { return m_lateDiscoveries; }

private:
    void handle(const XEvent& event) {
        const double at = nowMs();
        if (event.type == CreateNotify &&
            event.xcreatewindow.parent == DefaultRootWindow(m_display) &&
            event.xcreatewindow.override_redirect == False) {
            const Window window = event.xcreatewindow.window;
            XSelectInput(m_display, window, StructureNotifyMask);
            WindowState& state = m_windows[window];
            state.damage = XDamageCreate(m_display, window, XDamageReportNonEmpty);
            // A program that maps and draws at once can be on screen before this selection took
            // effect. Then its map and first paint were missed; count them as happening now,
            // which can only make that program look slower, and say so in the report.
            XWindowAttributes attributes{};
            if (XGetWindowAttributes(m_display, window, &attributes) != 0 &&
                attributes.map_state == IsViewable) {
                state.mapped = true;
                state.mappedAt = at;
                state.paintedAt = at;
                ++m_lateDiscoveries;
            }
        } else if (event.type == MapNotify) {
            if (auto found = m_windows.find(event.xmap.window); found != m_windows.end()) {
                found->second.mapped = true;
                found->second.mappedAt = at;
                found->second.paintedAt.reset();
            }
        } else if (event.type == UnmapNotify) {
            if (auto found = m_windows.find(event.xunmap.window); found != m_windows.end()) {
                found->second.mapped = false;
            }
        } else if (event.type == DestroyNotify) {
            m_windows.erase(event.xdestroywindow.window);
        } else if (event.type == m_damageEvent + XDamageNotify) {
            const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
            if (auto found = m_windows.find(damage.drawable); found != m_windows.end()) {
                if (found->second.mapped && !found->second.paintedAt) {
                    found->second.paintedAt = at;
                }
                XDamageSubtract(m_display, damage.damage, None, None);
            }
        }
    }

    Display* m_display;
    int m_damageEvent = 0;
    Atom m_pidAtom = None;
    std::map<Window, WindowState> m_windows;
    int m_lateDiscoveries = 0;
};

struct Launch {
    pid_t pid = 0;
    Window window = 0;
    double mappedMs = 0;
    double paintedMs = 0;
};

std::optional<Launch> launch(Watcher& watcher, const std::vector<std::string>& command) {
    const double start = nowMs();
    const pid_t pid = fork();
    if (pid == 0) {
        std::vector<char*> argv;
        for (const std::string& part : command) {
            argv.push_back(const_cast<char*>(part.c_str()));
        }
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    Launch result{pid};
    const bool shown = watcher.pumpUntil(start + 15000, [&] {
        for (auto& [window, state] : watcher.windows()) {
            if (state.mapped && state.paintedAt && watcher.pidOf(window) == pid) {
                result.window = window;
                result.mappedMs = *state.mappedAt - start;
                result.paintedMs = *state.paintedAt - start;
                return true;
            }
        }
        return false;
    });
    if (!shown) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        return std::nullopt;
    }
    return result;
}

void finish(Watcher& watcher, pid_t pid) {
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    watcher.pumpFor(100);
}

struct Program {
    std::string name;
    std::vector<std::string> command;
    Stats mapped;
    Stats painted;
    Stats privateDirty;
    Stats rss;
};

// Clicks Select Color and waits for a window other than the main one to be mapped. A click can be
// lost while the previous chooser is still winding down; one more click is then made, timed
// afresh and counted.
std::optional<double> openChooser(Display* display, Watcher& watcher, Window form, Window& chooser,
                                  int& retries) {
    int x = 0;
    int y = 0;
    Window child = 0;
    constexpr window::PixelPoint kButton = window::centreInClient(window::ControlId::Command1);
    XTranslateCoordinates(display, form, DefaultRootWindow(display), kButton.x, kButton.y, &x, &y,
                          &child);
    std::map<Window, bool> before;
    for (const auto& [window, state] : watcher.windows()) {
        before[window] = state.mapped;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
        XTestFakeButtonEvent(display, 1, True, CurrentTime);
        XTestFakeButtonEvent(display, 1, False, CurrentTime);
        XFlush(display);
        const double clicked = nowMs();
        std::optional<double> mappedAt;
        watcher.pumpUntil(clicked + 2500, [&] {
            for (const auto& [window, state] : watcher.windows()) {
                if (window != form && state.mapped && !before[window]) {
                    chooser = window;
                    mappedAt = *state.mappedAt;
                    return true;
                }
            }
            return false;
        });
        if (mappedAt) {
            return *mappedAt - clicked;
        }
        ++retries;
    }
    return std::nullopt;
}

// The close box's request: the chooser treats it as a cancel.
bool closeChooser(Display* display, Watcher& watcher, Window chooser) {
    XEvent message{};
    message.xclient.type = ClientMessage;
    message.xclient.window = chooser;
    message.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    message.xclient.format = 32;
    message.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    message.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, chooser, False, NoEventMask, &message);
    XFlush(display);
    return watcher.pumpUntil(nowMs() + 5000, [&] {
        const auto found = watcher.windows().find(chooser);
        return found == watcher.windows().end() || !found->second.mapped;
    });
}

std::string argument(int argc, char** argv, const std::string& name, const std::string& fallback) {
    for (int i = 1; i + 1 < argc; ++i) {
        if (argv[i] == name) {
            return argv[i + 1];
        }
    }
    return fallback;
}

double ratio(double a, double b) {
    return b > 0 ? a / b : 0;
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = std::stoi(argument(argc, argv, "--rounds", "15"));
    const int cycles = std::stoi(argument(argc, argv, "--cycles", "200"));
    const std::string ours = argument(argc, argv, "--ours", "");
    const std::string floor = argument(argc, argv, "--floor", "");
    const std::string emptyQt = argument(argc, argv, "--empty-qt", "");
    const std::string yad = argument(argc, argv, "--yad", "yad");
    if (ours.empty() || floor.empty() || emptyQt.empty()) {
        std::fputs("usage: StartupBench --ours PROGRAM --floor PROGRAM --empty-qt PROGRAM "
                   "[--yad PROGRAM] [--rounds N] [--cycles N]\n",
                   stderr);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fputs("StartupBench: cannot open the display\n", stderr);
        return 1;
    }
    XSetErrorHandler(ignoreXErrors);
    Watcher watcher(display);

    std::vector<Program> programs{
        {"ours", {ours}, {}, {}, {}, {}},
        {"xlib floor", {floor}, {}, {}, {}, {}},
        {"yad --color", {yad, "--color"}, {}, {}, {}, {}},
        {"empty Qt window", {emptyQt}, {}, {}, {}, {}},
    };
    Stats firstClick;
    Stats laterClicks;
    int retries = 0;
    for (int round = -1; round < rounds; ++round) { // round -1 warms the caches and is not counted
        for (std::size_t i = 0; i < programs.size(); ++i) {
            Program& program =
                programs[(i + static_cast<std::size_t>(round + 1)) % programs.size()];
            std::fprintf(stderr, "round %d: %s\n", round + 1, program.name.c_str());
            const std::optional<Launch> run = launch(watcher, program.command);
            if (!run) {
                std::fprintf(stderr, "StartupBench: %s showed no window\n", program.name.c_str());
                return 1;
            }
            watcher.pumpFor(700); // idle: anything it does after the first paint is done
            const Memory memory = memoryOf(run->pid);
            if (round >= 0) {
                program.mapped.add(run->mappedMs);
                program.painted.add(run->paintedMs);
                program.privateDirty.add(memory.privateDirtyMiB);
                program.rss.add(memory.rssMiB);
            }
            if (program.name == "ours" && round >= 0) {
                for (int click = 0; click < 4; ++click) {
                    Window chooser = 0;
                    const std::optional<double> ms =
                        openChooser(display, watcher, run->window, chooser, retries);
                    if (!ms || !closeChooser(display, watcher, chooser)) {
                        std::fputs("StartupBench: the colour chooser did not open and close\n",
                                   stderr);
                        finish(watcher, run->pid);
                        return 1;
                    }
                    (click == 0 ? firstClick : laterClicks).add(*ms);
                    watcher.pumpFor(50);
                }
            }
            finish(watcher, run->pid);
        }
    }

    // Memory over many open-cancel cycles of the real chooser.
    const std::optional<Launch> run = launch(watcher, programs[0].command);
    watcher.pumpFor(700); // as in the rounds: settled, centred and idle before the first click
    double rssAfterWarmUp = 0;
    Stats cycleClicks;
    for (int cycle = 1; run && cycle <= cycles; ++cycle) {
        Window chooser = 0;
        const std::optional<double> ms =
            openChooser(display, watcher, run->window, chooser, retries);
        if (!ms || !closeChooser(display, watcher, chooser)) {
            std::fprintf(stderr, "StartupBench: the colour chooser stopped opening at cycle %d\n",
                         cycle);
            finish(watcher, run->pid);
            return 1;
        }
        cycleClicks.add(*ms);
        watcher.pumpFor(50); // a hand is not faster than that between two clicks
        if (cycle == 10) {
            watcher.pumpFor(300);
            rssAfterWarmUp = memoryOf(run->pid).rssMiB;
        }
    }
    watcher.pumpFor(300);
    const double rssAfterCycles = run ? memoryOf(run->pid).rssMiB : 0;
    if (run) {
        finish(watcher, run->pid);
    }

    const Program& mine = programs[0];
    const Program& bare = programs[1];
    const Program& other = programs[2];
    const Program& toolkit = programs[3];
    std::printf("Start-up, %d interleaved rounds after one warm-up: median [min-max]\n\n", rounds);
    std::printf("| program | mapped (ms) | first paint (ms) | Private_Dirty (MiB) | RSS (MiB) |\n");
    std::printf("|---|---|---|---|---|\n");
    for (const Program& program : programs) {
        std::printf("| %s | %s | %s | %s | %s |\n", program.name.c_str(),
                    program.mapped.describe().c_str(), program.painted.describe().c_str(),
                    program.privateDirty.describe(2).c_str(), program.rss.describe(1).c_str());
    }
    std::printf("\nRatios of medians (target in brackets):\n");
    std::printf("  first paint  ours/floor %.2f (<= 8)   ours/yad %.2f (<= 0.5)\n",
                ratio(mine.painted.median(), bare.painted.median()),
                ratio(mine.painted.median(), other.painted.median()));
    std::printf("  Private_Dirty ours/yad %.2f (<= 0.6)   ours/floor %.1f\n",
                ratio(mine.privateDirty.median(), other.privateDirty.median()),
                ratio(mine.privateDirty.median(), bare.privateDirty.median()));
    std::printf("  ours/empty Qt window: first paint %.2f   Private_Dirty %.2f\n",
                ratio(mine.painted.median(), toolkit.painted.median()),
                ratio(mine.privateDirty.median(), toolkit.privateDirty.median()));
    std::printf("\nSelect Color to chooser mapped: first click %s ms (<= 12), later clicks %s ms "
                "(<= 6)\n",
                firstClick.describe().c_str(), laterClicks.describe().c_str());
    std::printf("%d open-cancel cycles: clicks %s ms; RSS %.2f MiB after 10, %.2f MiB after %d: "
                "growth %.2f MiB (< 1)\n",
                cycles, cycleClicks.describe().c_str(), rssAfterWarmUp, rssAfterCycles, cycles,
                rssAfterCycles - rssAfterWarmUp);
    if (retries > 0) {
        std::printf("(%d clicks were lost and made again)\n", retries);
    }
    if (watcher.lateDiscoveries() > 0) {
        std::printf("(%d windows were on screen before they could be watched; their times are "
                    "upper bounds)\n",
                    watcher.lateDiscoveries());
    }
    XCloseDisplay(display);
    return 0;
}
