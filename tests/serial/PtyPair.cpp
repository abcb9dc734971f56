#include "PtyPair.h"

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <unistd.h>

PtyPair::PtyPair() {
    char path[256];
    // Default settings, as a freshly plugged device would have them.
    if (openpty(&m_master, &m_device, path, nullptr, nullptr) < 0) {
        throw std::runtime_error("openpty failed");
    }
    m_path = path;
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
}

PtyPair::~PtyPair() {
    CloseDevice();
    CloseMaster();
}

void PtyPair::CloseDevice() {
    if (m_device >= 0) {
        close(m_device);
        m_device = -1;
    }
}

void PtyPair::CloseMaster() {
    if (m_master >= 0) {
        close(m_master);
        m_master = -1;
    }
}

void PtyPair::Send(const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = write(m_master, bytes.data() + sent, bytes.size() - sent);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        pollfd room{m_master, POLLOUT, 0};
        if (poll(&room, 1, 5000) <= 0) {
            throw std::runtime_error("the pty took no more bytes");
        }
    }
}

bool PtyPair::WaitReadable(int timeoutMs) {
    pollfd ready{m_master, POLLIN, 0};
    return poll(&ready, 1, timeoutMs) > 0 && (ready.revents & POLLIN);
}

std::string PtyPair::Receive(size_t most, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::string got;
    while (got.size() < most) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0 || !WaitReadable(static_cast<int>(left))) {
            break;
        }
        char buffer[4096];
        const ssize_t n = read(m_master, buffer, std::min(sizeof buffer, most - got.size()));
        if (n <= 0) {
            break;
        }
        got.append(buffer, static_cast<size_t>(n));
    }
    return got;
}
