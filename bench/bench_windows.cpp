// Compares how fast the program's windows open with how fast bare Qt dialogs
// of the same shape open. Two probes run in turn, as whole processes, so that
// both see the same machine: windows_nuvalora opens the program's windows as
// a user does, windows_bare opens their bare twins the same way. Each times
// every opening in-process, from the press (a key or a click sent to the real
// button) to the end of the new window's first paint; see windows_probe.h.
// The first opening of each window in a run is counted apart from the later
// ones: for the date dialog it is the one that first shows the dialog built
// at start-up; for the others it is the one that meets Qt's caches cold.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

using Samples = std::map<std::string, std::vector<double>>;

// Runs one probe and adds what it printed to the samples.
void runProbe(const std::string& probe, const std::string& options, Samples& samples,
              std::vector<std::string>& order)
{
    const std::string command = probe + " " + options;
    FILE* output = popen(command.c_str(), "r");
    if (!output) {
        std::fprintf(stderr, "cannot run %s\n", probe.c_str());
        std::exit(1);
    }
    char line[256];
    while (std::fgets(line, sizeof line, output)) {
        std::string text(line);
        const auto blank = text.rfind(' ');
        if (blank == std::string::npos)
            continue;
        const std::string window = text.substr(0, blank);
        if (!samples.count(window) && std::find(order.begin(), order.end(), window) == order.end())
            order.push_back(window);
        samples[window].push_back(std::atof(text.c_str() + blank + 1));
    }
    const int status = pclose(output);
    if (status != 0) {
        std::fprintf(stderr, "%s failed (status %d)\n", probe.c_str(), status);
        std::exit(1);
    }
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The probes are built beside this program.
std::string besideThis(const char* self, const char* name)
{
    const std::string path(self);
    const auto slash = path.rfind('/');
    return (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + name;
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::atoi(argv[1]) : 15;
    const int later = argc > 2 ? std::atoi(argv[2]) : 3;
    if (argc > 3 || runs < 1 || later < 0) {
        std::fprintf(stderr, "usage: %s [runs, default 15] [later openings a run, default 3]\n",
                     argv[0]);
        return 2;
    }
    const std::string program = besideThis(argv[0], "windows_nuvalora");
    const std::string bare = besideThis(argv[0], "windows_bare");
    const std::string options = "--later " + std::to_string(later);

    Samples ours, twins;
    std::vector<std::string> order, unused;
    runProbe(program, "--later 0", ours, unused); // warm the file cache for both
    runProbe(bare, "--later 0", twins, unused);
    ours.clear();
    twins.clear();
    for (int i = 0; i < runs; ++i) {
        runProbe(program, options, ours, order);
        runProbe(bare, options, twins, unused);
    }

    std::printf("press to first paint, median in ms (%d runs, %d later openings each):\n", runs,
                later);
    std::printf("%-22s %8s %8s %7s\n", "window", "program", "bare", "ratio");
    for (const std::string& window : order) {
        const double program = median(ours[window]);
        const double twin = median(twins[window]);
        std::printf("%-22s %8.1f %8.1f %7.2f   (target <= 1.30; %zu openings)\n", window.c_str(),
                    program, twin, program / twin, ours[window].size());
    }
    return 0;
}
