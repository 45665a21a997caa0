// Measures, for two programs alternately, the time from spawning the process
// to its first top-level window being mapped on the X server, and the
// process's peak resident memory once it has settled. Prints medians and the
// ratios of the first program to the second. Not a test: it asserts nothing.
#include "benchtable.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Sample {
    double milliseconds;
    long peakKilobytes;
};

long peakResidentKilobytes(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

Sample measure(Display *display, const char *program)
{
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, True); // drop anything left over from the previous round

    char *arguments[] = {const_cast<char *>(program), nullptr};
    const auto start = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, program, nullptr, nullptr, arguments, environ) != 0) {
        std::perror(program);
        std::exit(1);
    }
    for (XEvent event;;) {
        XNextEvent(display, &event);
        if (event.type == MapNotify && !event.xmap.override_redirect)
            break;
    }
    const double elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    std::this_thread::sleep_for(std::chrono::milliseconds(400)); // let it paint and settle
    const long peak = peakResidentKilobytes(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return {elapsed, peak};
}

template <typename Member>
double median(std::vector<Sample> samples, Member member)
{
    std::sort(samples.begin(), samples.end(),
              [&](const Sample &a, const Sample &b) { return a.*member < b.*member; });
    return double(samples[samples.size() / 2].*member);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s READER BASELINE [ROUNDS]\n", argv[0]);
        return 2;
    }
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 21;
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display (run under xvfb-run -a)\n");
        return 2;
    }
    char folder[] = "/tmp/vargorin-bench-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0)
        return 1;

    std::vector<Sample> reader, baseline;
    measure(display, argv[1]); // warm the file cache for both
    measure(display, argv[2]);
    for (int round = 0; round < rounds; ++round) {
        reader.push_back(measure(display, argv[1]));
        baseline.push_back(measure(display, argv[2]));
    }
    const double readerMs = median(reader, &Sample::milliseconds);
    const double baseMs = median(baseline, &Sample::milliseconds);
    const double readerKb = median(reader, &Sample::peakKilobytes);
    const double baseKb = median(baseline, &Sample::peakKilobytes);
    std::printf("median of %d alternating runs\n", rounds);
    std::printf("spawn to mapped window: reader %.1f ms, bare window %.1f ms, ratio %.2f (goal <= 1.15)\n",
                readerMs, baseMs, readerMs / baseMs);
    std::printf("peak resident memory:   reader %.0f KiB, bare window %.0f KiB, ratio %.2f (goal <= 1.25)\n",
                readerKb, baseKb, readerKb / baseKb);
    benchtable::ratioRow("start-up: spawn to mapped window", readerMs, baseMs, "ms", 1.15);
    benchtable::ratioRow("start-up: peak resident memory", readerKb, baseKb, "KiB", 1.25);
    std::remove("Vargorin.db");
    rmdir(folder);
    XCloseDisplay(display);
    return 0;
}
