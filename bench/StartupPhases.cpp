// Where the program's start-up time goes. Each run is a fresh process that takes the program's
// start-up steps one at a time and notes, after each, the time since its exec; the report gives
// the median of every step. The accessibility bridge and the font database, which the window
// would otherwise set up on first use, are taken as steps of their own so their cost shows. The
// program's name and window icon are left out: setting them is not one of the steps timed here.
#include "window/qt/Form1.hpp"
#include "window/qt/QtColorDialog.hpp"
#include "window/qt/X11WindowHints.hpp"

#include <QAbstractNativeEventFilter>
#include <QAccessible>
#include <QApplication>
#include <QFontDatabase>
#include <QTimer>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

namespace {

constexpr auto kExecTimeVariable = "QCC_PHASES_EXEC_NS"; // set by the parent just before exec
constexpr int kReportFd = 3;                             // the child's end of the report pipe
constexpr int kXcbMapNotify = 19;

std::int64_t monotonicNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

// The child's side: one "step<TAB>milliseconds since exec" line per step.
void mark(const char* step) {
    static const std::int64_t execNs = std::strtoll(std::getenv(kExecTimeVariable), nullptr, 10);
    dprintf(kReportFd, "%s\t%.3f\n", step, static_cast<double>(monotonicNs() - execNs) / 1e6);
}

class MapWatch final : public QAbstractNativeEventFilter {
public:
    bool nativeEventFilter(const QByteArray& /*type*/, void* message,
                           qintptr* /*result*/) override {
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if (!m_seen && (event->response_type & 0x7f) == kXcbMapNotify) {
            m_seen = true;
            mark("mapped by the window manager");
        }
        return false;
    }

private:
    bool m_seen = false;
};

class PaintWatch final : public QObject {
public:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (!m_seen && event->type() == QEvent::Paint) {
            m_seen = true;
            mark("first paint begins");
            QTimer::singleShot(0, [] {
                mark("first paint flushed");
                std::_Exit(0); // the teardown is not start-up
            });
        }
        return false;
    }

private:
    bool m_seen = false;
};

int runSteps(char* program) {
    mark("libraries loaded");
    int argc = 1;
    char* argv[] = {program, nullptr};
    QApplication application(argc, argv);
    mark("QApplication (platform plugin, display)");
    static_cast<void>(QAccessible::isActive());
    mark("accessibility bridge");
    static_cast<void>(QFontDatabase::families());
    mark("font configuration and database");
    window::qt::Form1 form(
        [](QWidget& owner) { return std::make_unique<window::qt::QtColorDialog>(owner); });
    mark("Form1 built");
    MapWatch mapWatch;
    application.installNativeEventFilter(&mapWatch);
    PaintWatch paintWatch;
    form.installEventFilter(&paintWatch);
    window::qt::keepOffTaskbar(form);
    form.show();
    mark("shown");
    return QApplication::exec();
}

// The parent's side: one child per run, the steps' times read back from its pipe.
std::vector<std::pair<std::string, double>> runOnce() {
    int ends[2];
    if (pipe(ends) != 0) {
        return {};
    }
    const std::string execNs = std::to_string(monotonicNs());
    const pid_t child = fork();
    if (child == 0) {
        dup2(ends[1], kReportFd);
        setenv(kExecTimeVariable, execNs.c_str(), 1);
        char program[] = "/proc/self/exe";
        char* argv[] = {program, nullptr};
        execv(program, argv);
        _exit(127);
    }
    close(ends[1]);
    std::vector<std::pair<std::string, double>> steps;
    FILE* report = fdopen(ends[0], "r");
    char step[128];
    double ms = 0;
    while (std::fscanf(report, "%127[^\t]\t%lf\n", step, &ms) == 2) {
        steps.emplace_back(step, ms);
    }
    std::fclose(report);
    waitpid(child, nullptr, 0);
    return steps;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char* argv[]) {
    if (std::getenv(kExecTimeVariable) != nullptr) {
        return runSteps(argv[0]);
    }
    const int runs = argc > 2 && std::string(argv[1]) == "--runs" ? std::atoi(argv[2]) : 15;
    std::vector<std::string> order;
    std::map<std::string, std::vector<double>> since;
    std::map<std::string, std::vector<double>> took;
    runOnce(); // warm-up
    for (int run = 0; run < runs; ++run) {
        double previous = 0;
        for (const auto& [step, ms] : runOnce()) {
            if (since[step].empty() && run == 0) {
                order.push_back(step);
            }
            since[step].push_back(ms);
            took[step].push_back(ms - previous);
            previous = ms;
        }
    }
    std::printf("Start-up step by step, medians of %d runs (ms)\n\n", runs);
    std::printf("| step | since exec | step alone |\n|---|---|---|\n");
    for (const std::string& step : order) {
        std::printf("| %s | %.1f | %.1f |\n", step.c_str(), median(since[step]),
                    median(took[step]));
    }
    return 0;
}
