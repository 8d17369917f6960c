// Compares the program's start-up with the smallest Qt Widgets program's, as
// whole processes run one after the other: the time from starting the
// process to its window's first paint, and the peak memory (resident set).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct Run {
    double seconds = 0;
    long peakKiB = 0;
};

Run runOnce(const std::string& program)
{
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed (status %d)\n", program.c_str(), status);
        std::exit(1);
    }
    return {std::chrono::duration<double>(end - start).count(), usage.ru_maxrss};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <program probe> <baseline probe>\n", argv[0]);
        return 2;
    }
    const int runs = 15;
    std::vector<double> ours, baseline;
    long oursPeak = 0, baselinePeak = 0;
    runOnce(argv[1]); // warm the file cache for both
    runOnce(argv[2]);
    for (int i = 0; i < runs; ++i) { // alternate, so both see the same machine
        const Run a = runOnce(argv[1]);
        const Run b = runOnce(argv[2]);
        ours.push_back(a.seconds);
        baseline.push_back(b.seconds);
        oursPeak = std::max(oursPeak, a.peakKiB);
        baselinePeak = std::max(baselinePeak, b.peakKiB);
    }
    const double oursTime = median(ours), baselineTime = median(baseline);
    std::printf("start-up to first paint (median of %d): program %.1f ms, empty window %.1f ms\n",
                runs, oursTime * 1e3, baselineTime * 1e3);
    std::printf("peak memory: program %ld KiB, empty window %ld KiB\n", oursPeak, baselinePeak);
    std::printf("start-up ratio: %.2f   (target <= 1.30)\n", oursTime / baselineTime);
    std::printf("peak memory ratio: %.2f   (target <= 1.30)\n",
                double(oursPeak) / double(baselinePeak));
    return 0;
}
