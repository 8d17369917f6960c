// Compares the program's start-up with two floors, as whole processes run in
// turn so that all three see the same machine: the smallest Qt Widgets
// program (one empty window) and the smallest one that shows text in the
// program's font (a window of the main window's size with a two-line label).
// Each process ends at its window's first paint; measured are the time from
// starting the process to then, and its peak memory (resident set).

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

template <typename T> T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Figures {
    std::string path;
    std::vector<double> seconds;
    std::vector<long> peakKiB;
    double ms() const { return median(seconds) * 1e3; }
    long kib() const { return median(peakKiB); }
};

// The probes are built beside this program.
std::string besideThis(const char* self, const char* name)
{
    const std::string path(self);
    const auto slash = path.rfind('/');
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + name;
}

void printRatio(const char* what, double ours, double floor, double target)
{
    std::printf("%-46s %.2f   (target <= %.2f)\n", what, ours / floor, target);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 1 && argc != 4) {
        std::fprintf(stderr,
                     "usage: %s [<program probe> <empty window probe> <text window probe>]\n",
                     argv[0]);
        return 2;
    }
    Figures program{argc == 4 ? argv[1] : besideThis(argv[0], "startup_nuvalora"), {}, {}};
    Figures empty{argc == 4 ? argv[2] : besideThis(argv[0], "startup_baseline"), {}, {}};
    Figures text{argc == 4 ? argv[3] : besideThis(argv[0], "startup_textwindow"), {}, {}};
    const std::vector<Figures*> all{&program, &empty, &text};

    for (Figures* figures : all) // warm the file cache for all three
        runOnce(figures->path);
    const int runs = 21;
    for (int i = 0; i < runs; ++i) {
        for (Figures* figures : all) {
            const Run run = runOnce(figures->path);
            figures->seconds.push_back(run.seconds);
            figures->peakKiB.push_back(run.peakKiB);
        }
    }

    std::printf("start-up to first paint (median of %d): program %.1f ms, window with text %.1f ms,"
                " empty window %.1f ms\n",
                runs, program.ms(), text.ms(), empty.ms());
    std::printf("peak memory (median of %d): program %ld KiB, window with text %ld KiB,"
                " empty window %ld KiB\n",
                runs, program.kib(), text.kib(), empty.kib());
    printRatio("start-up, program / window with text:", program.ms(), text.ms(), 1.20);
    printRatio("start-up, program / empty window:", program.ms(), empty.ms(), 1.30);
    printRatio("peak memory, program / window with text:", double(program.kib()),
               double(text.kib()), 1.15);
    printRatio("peak memory, program / empty window:", double(program.kib()), double(empty.kib()),
               1.30);
    return 0;
}
