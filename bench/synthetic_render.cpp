// Cost of the synthetic cameras' picture: one frame rendered from the prepared background, the
// preparation again after a property change, one frame fetched through Cap_captureFrame (for
// Motion-JPEG formats the decode, paid by the viewer), and the CPU of the camera's own thread,
// which renders and encodes the frames, while a stream runs at 30 fps for a few seconds.
// Run by hand: ostrel_bench_synthetic [frames per size]
#include "capture.h"
#include "synthetic/syntheticcontrol.h"
#include "synthetic/testpattern.h"

#include <dirent.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

template<typename Work> double millisecondsEach(int repetitions, Work work)
{
    const auto start = Clock::now();
    for (int i = 0; i < repetitions; ++i)
        work(i);
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count() / repetitions;
}

// CPU seconds so far of this process's threads with the given name.
double threadCpuSeconds(const std::string &name)
{
    double seconds = 0;
    DIR *tasks = opendir("/proc/self/task");
    if (!tasks)
        return 0;
    while (const dirent *entry = readdir(tasks)) {
        const std::string dir = std::string("/proc/self/task/") + entry->d_name;
        std::string comm;
        std::getline(std::ifstream(dir + "/comm"), comm);
        if (comm != name)
            continue;
        std::string stat;
        std::getline(std::ifstream(dir + "/stat"), stat);
        // utime and stime are fields 14 and 15, counted after the command in parentheses.
        std::istringstream fields(stat.substr(stat.rfind(')') + 2));
        std::string skip;
        for (int i = 3; i < 14; ++i)
            fields >> skip;
        double user = 0, system = 0;
        fields >> user >> system;
        seconds += (user + system) / double(sysconf(_SC_CLK_TCK));
    }
    closedir(tasks);
    return seconds;
}

} // namespace

int main(int argc, char **argv)
{
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    struct Size
    {
        uint32_t width;
        uint32_t height;
    };
    const Size sizes[] = {{1280, 720}, {1920, 1080}, {3840, 2160}};

    std::vector<ostrel::synthetic::FormatSpec> formats;
    for (const Size &s : sizes)
        formats.push_back({s.width, s.height, 30, ostrel::synthetic::fourcc("MJPG")});
    ostrel::synthetic::setDevices({{"Bench", formats}});
    CapContext ctx = Cap_createContext();
    const uint32_t device = Cap_getDeviceCount(ctx) - 1;

    std::printf("%-10s %14s %16s %20s %14s %22s\n", "size", "render ms", "% of 33.3 ms",
                "Cap_captureFrame ms", "prepare ms", "camera thread % core");
    for (uint32_t f = 0; f < 3; ++f) {
        const Size &s = sizes[f];
        const size_t bytes = size_t{s.width} * s.height * 3;
        std::vector<uint8_t> buffer(bytes);
        ostrel::capture::TestPattern pattern(s.width, s.height);

        const double render = millisecondsEach(
            frames, [&](int i) { pattern.render(static_cast<uint32_t>(i), buffer.data()); });
        const double prepare = millisecondsEach(std::max(1, frames / 10), [&](int i) {
            pattern.setPicture(i % 64, 32 + i % 20, i % 8);
        });

        const CapStream stream = Cap_openStream(ctx, device, f);
        const double capture = millisecondsEach(frames, [&](int) {
            Cap_captureFrame(ctx, stream, buffer.data(), static_cast<uint32_t>(bytes));
        });
        // The camera's thread alone, with nobody fetching frames.
        const double cpuBefore = threadCpuSeconds("ostrel-synth");
        constexpr int runSeconds = 5;
        std::this_thread::sleep_for(std::chrono::seconds(runSeconds));
        const double cameraCpu = (threadCpuSeconds("ostrel-synth") - cpuBefore) / runSeconds;
        Cap_closeStream(ctx, stream);

        std::printf("%4ux%-5u %14.3f %15.1f%% %20.3f %14.3f %21.0f%%\n", s.width, s.height, render,
                    render / (1000.0 / 30) * 100, capture, prepare, cameraCpu * 100);
    }
    Cap_releaseContext(ctx);
    return 0;
}
