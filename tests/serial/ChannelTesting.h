#pragma once
// Helpers for tests that run the channel over a pty.
#include "platform/posix/serial_com_names.h"
#include "serial/SerialPort.h"

#include <chrono>
#include <string>
#include <sys/resource.h>
#include <thread>

// Points COM `com` at `path` and hides every other COM number for the scope, so that the
// test machine's own serial ports are never opened.
class ComRedirect {
  public:
    ComRedirect(int com, const std::string& path) : m_com(com) {
        kx::UseOnlyMappedComPortsForTesting(true);
        kx::MapComPortForTesting(com, path);
    }
    ~ComRedirect() {
        kx::MapComPortForTesting(m_com, "");
        kx::UseOnlyMappedComPortsForTesting(false);
    }
    ComRedirect(const ComRedirect&) = delete;
    ComRedirect& operator=(const ComRedirect&) = delete;

  private:
    int m_com;
};

// Reads the channel every 10 ms, as an owner would, until `count` bytes have come or
// timeoutMs has passed.
inline std::string ReadFor(CSerialPort& port, size_t count, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string got;
    while (got.size() < count && std::chrono::steady_clock::now() < deadline) {
        char buffer[4096];
        const int32_t n = port.Read(buffer, static_cast<int32_t>(sizeof buffer));
        got.append(buffer, static_cast<size_t>(n));
        if (n == 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    return got;
}

inline std::chrono::milliseconds MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start);
}

// CPU time used by the whole process so far (user and system), in seconds.
inline double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}
