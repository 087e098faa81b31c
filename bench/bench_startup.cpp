// Start-up: the time from starting a program to its first painted frame, and its memory once it
// is shown, for Melkora and, side by side in the same run, for a bare window of the same toolkit
// (its floor). The programs take turns, so that a slow spell of the machine falls on both. The
// processor time each had up to its first frame is shown beside it: start-up here is nearly all
// computation, and that column is the steadier of the two.
//
//   melkora_bench_startup [--launcher <program>] <melkora> <floor window> [runs]
//
// With a launcher, both programs are started through it: scripts/wine-run for the Windows
// build. Run under Xvfb (make bench does). Exits 1 when Melkora misses a target.

#include "bench/statistics.h"
#include "bench/x_session.h"

#include <cstdio>
#include <exception>
#include <string>
#include <thread>
#include <vector>

namespace {

// Memory is read once the program has settled after its first frame.
constexpr auto kSettle = std::chrono::milliseconds(500);

constexpr double kFrameRatioTarget = 1.1;
constexpr double kRssMarginTarget = 3.0; // MiB over the floor

struct Samples {
    std::vector<double> firstFrame;
    std::vector<double> cpuTime;
    std::vector<double> rss;
    std::vector<double> pss;
};

void measure(bench::XSession& session, const std::vector<std::string>& argv, Samples* samples) {
    const bench::Started started = session.start(argv);
    std::this_thread::sleep_for(kSettle);
    const bench::Memory memory = bench::memoryOf(started.pid);
    bench::XSession::stop(started.pid);
    if (samples != nullptr) {
        samples->firstFrame.push_back(started.firstFrame.count());
        samples->cpuTime.push_back(started.cpuTime.count());
        samples->rss.push_back(memory.rssMegabytes);
        samples->pss.push_back(memory.pssMegabytes);
    }
}

void printRow(const char* name, const Samples& samples) {
    std::printf("%-16s %6.1f ms (%5.1f-%5.1f) %8.1f ms %8.1f MiB %8.1f MiB\n", name,
                bench::median(samples.firstFrame), bench::percentile(samples.firstFrame, 0.25),
                bench::percentile(samples.firstFrame, 0.75), bench::median(samples.cpuTime),
                bench::median(samples.rss), bench::median(samples.pss));
}

} // namespace

int main(int argc, char* argv[]) {
    std::vector<std::string> launcher;
    if (argc > 2 && std::string(argv[1]) == "--launcher") {
        launcher.emplace_back(argv[2]);
        argc -= 2;
        argv += 2;
    }
    if (argc < 3 || argc > 4) {
        std::fputs("usage: melkora_bench_startup [--launcher <program>] <melkora> <floor window> "
                   "[runs]\n",
                   stderr);
        return 2;
    }
    const int runs = argc == 4 ? std::stoi(argv[3]) : 15;
    try {
        bench::XSession session;

        // The first start of each reads its libraries and fonts from disk; it is not counted.
        std::vector<std::string> melkora = launcher;
        melkora.emplace_back(argv[1]);
        const bench::Started first = session.start(melkora);
        bench::XSession::stop(first.pid);
        std::vector<std::string> floor = launcher;
        floor.emplace_back(argv[2]);
        floor.push_back(std::to_string(first.width) + "x" + std::to_string(first.height));
        measure(session, floor, nullptr);

        Samples ours;
        Samples bare;
        for (int run = 0; run < runs; ++run) {
            measure(session, melkora, &ours);
            measure(session, floor, &bare);
        }

        const double ratio = bench::median(ours.firstFrame) / bench::median(bare.firstFrame);
        const double margin = bench::median(ours.rss) - bench::median(bare.rss);
        std::printf("Start-up under Xvfb, medians of %d runs, window %dx%d\n", runs, first.width,
                    first.height);
        std::printf("%-16s %27s %11s %12s %12s\n", "", "first frame (quartiles)", "CPU time", "RSS",
                    "PSS");
        printRow("bare window", bare);
        printRow("Melkora", ours);
        const bool frameMet = ratio <= kFrameRatioTarget;
        const bool rssMet = margin <= kRssMarginTarget;
        std::printf("first frame: %.2f times the floor's (target %.1f): %s\n", ratio,
                    kFrameRatioTarget, frameMet ? "met" : "MISSED");
        std::printf("RSS: %+.1f MiB over the floor (target %+.1f): %s\n", margin, kRssMarginTarget,
                    rssMet ? "met" : "MISSED");
        return frameMet && rssMet ? 0 : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "melkora_bench_startup: %s\n", error.what());
        return 2;
    }
}
