// Serial channel figures over real ptys (not run by ctest):
//   1. latency from Write to the byte arriving at the pty's far end, median and p99
//   2. sustained reception of kxsim's 9600-baud stream, checked byte by byte
//   3. CPU of an idle worker, as a share of one core
// Usage: bench_serial [stream seconds (30)] [idle seconds (10)] [commands (400)]
#include "ChannelTesting.h"
#include "KxsimProcess.h"
#include "PtyPair.h"
#include "StreamCheck.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

void Latency(int commands) {
    PtyPair pty;
    ComRedirect redirect(1, pty.DevicePath());
    CSerialPort port(0, 5);
    if (!port.m_bOpened) {
        std::puts("latency: the pty did not open");
        return;
    }
    // Commands come at random moments relative to the worker's passes, as clicks do.
    std::mt19937 random(42);
    std::uniform_int_distribution<int> pause(0, 60);
    std::vector<double> ms;
    for (int i = 0; i < commands; ++i) {
        std::this_thread::sleep_for(milliseconds(pause(random)));
        const auto start = steady_clock::now();
        port.Write("X", -1);
        if (pty.Receive(1, 1000) != "X") {
            std::printf("latency: command %d lost\n", i);
            return;
        }
        ms.push_back(
            std::chrono::duration<double, std::milli>(steady_clock::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    const auto at = [&ms](double q) { return ms[static_cast<size_t>(q * (ms.size() - 1))]; };
    std::printf(
        "latency Write -> far end over %d commands: median %.1f ms, p99 %.1f ms, max %.1f ms\n",
        commands, at(0.5), at(0.99), ms.back());
}

void Stream(int seconds) {
    KxsimProcess stream({"stream"});
    ComRedirect redirect(1, stream.DevicePath());
    CSerialPort port(0, 5);
    if (!port.m_bOpened) {
        std::puts("stream: kxsim's pty did not open");
        return;
    }
    StreamCheck check;
    const auto start = steady_clock::now();
    // The owner reads on a 100 ms tick, as the wizard does.
    while (steady_clock::now() - start < std::chrono::seconds(seconds)) {
        std::this_thread::sleep_for(milliseconds(100));
        char buffer[4096];
        check.Feed(buffer, static_cast<size_t>(port.Read(buffer, sizeof buffer)));
    }
    const double elapsed = std::chrono::duration<double>(steady_clock::now() - start).count();
    std::printf("stream at 9600 baud for %.1f s: %llu bytes (%.1f bytes/s), %s\n", elapsed,
                static_cast<unsigned long long>(check.Bytes()), check.Bytes() / elapsed,
                check.Intact() ? "no byte lost, doubled or changed" : check.Fault().c_str());
}

void Idle(int seconds) {
    PtyPair pty;
    ComRedirect redirect(1, pty.DevicePath());
    CSerialPort port(0, 5);
    if (!port.m_bOpened) {
        std::puts("idle: the pty did not open");
        return;
    }
    std::this_thread::sleep_for(milliseconds(200));
    const double before = ProcessCpuSeconds();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const double used = ProcessCpuSeconds() - before;
    std::printf("idle worker over %d s: %.3f s CPU, %.3f %% of one core\n", seconds, used,
                100.0 * used / seconds);
}

int Argument(int argc, char** argv, int index, int fallback) {
    return argc > index ? std::atoi(argv[index]) : fallback;
}

} // namespace

int main(int argc, char** argv) {
    Latency(Argument(argc, argv, 3, 400));
    Stream(Argument(argc, argv, 1, 30));
    Idle(Argument(argc, argv, 2, 10));
    return 0;
}
