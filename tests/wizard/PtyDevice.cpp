#include "tests/wizard/PtyDevice.h"

#include "platform/thread.h"

#include <dirent.h>
#include <fcntl.h>
#include <pty.h>
#include <stdexcept>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {
constexpr int kPatienceMs = 3000;
constexpr int kPollMs = 5;
constexpr int kArrivalMs = 250;
} // namespace

PtyDevice::PtyDevice() {
    char name[256] = {};
    if (openpty(&m_master, &m_terminal, name, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    m_path = name;
    // Raw both ways, so that line ends and NUL bytes pass unchanged.
    termios raw{};
    tcgetattr(m_terminal, &raw);
    cfmakeraw(&raw);
    tcsetattr(m_terminal, TCSANOW, &raw);
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
}

PtyDevice::~PtyDevice() {
    close(m_terminal);
    close(m_master);
}

void PtyDevice::Send(const std::string& bytes) {
    if (write(m_master, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        throw std::runtime_error("pty write failed");
    // The kernel moves the bytes to the terminal side's queue a moment after the write, and
    // the worker's next pass empties it. Watch the queue fill and empty again. An empty queue
    // alone does not tell "not there yet" (a busy machine) from "already taken" (a pass
    // between two looks), so it only counts once the bytes were seen or an arrival time far
    // beyond any normal delay has passed.
    bool seen = false;
    for (int waited = 0; waited < kPatienceMs; waited += kPollMs) {
        int queued = 0;
        if (ioctl(m_terminal, FIONREAD, &queued) != 0)
            break;
        if (queued > 0)
            seen = true;
        else if (seen || waited >= kArrivalMs)
            break;
        kx::SleepMs(kPollMs);
    }
    // The worker stores what it read into its ring right after the read.
    kx::SleepMs(20);
}

const std::string& PtyDevice::Received() {
    char buffer[4096];
    ssize_t n;
    while ((n = read(m_master, buffer, sizeof buffer)) > 0)
        m_received.append(buffer, static_cast<size_t>(n));
    return m_received;
}

const std::string& PtyDevice::AwaitReceived(size_t size) {
    for (int waited = 0; Received().size() < size && waited < kPatienceMs; waited += kPollMs)
        kx::SleepMs(kPollMs);
    return m_received;
}

bool PtyDevice::PeerOpen() const {
    int holders = 0;
    if (DIR* fds = opendir("/proc/self/fd")) {
        while (const dirent* entry = readdir(fds)) {
            char target[256] = {};
            const std::string link = std::string("/proc/self/fd/") + entry->d_name;
            const ssize_t n = readlink(link.c_str(), target, sizeof target - 1);
            if (n > 0 && m_path == target)
                ++holders;
        }
        closedir(fds);
    }
    return holders > 1;
}

void WaitForWorker() {
    kx::SleepMs(150);
}
