#include "tests/wizard/PtyDevice.h"

#include "platform/thread.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>

PtyDevice::PtyDevice() {
    int slave = -1;
    char name[256] = {};
    if (openpty(&m_master, &slave, name, nullptr, nullptr) != 0)
        throw std::runtime_error("openpty failed");
    m_path = name;
    // Raw both ways, so that line ends and NUL bytes pass unchanged. The settings stay with
    // the pty after the test lets go of this side.
    termios raw{};
    tcgetattr(slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(slave, TCSANOW, &raw);
    close(slave);
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
}

PtyDevice::~PtyDevice() {
    close(m_master);
}

void PtyDevice::Send(const std::string& bytes) {
    if (write(m_master, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        throw std::runtime_error("pty write failed");
}

const std::string& PtyDevice::Received() {
    char buffer[4096];
    ssize_t n;
    while ((n = read(m_master, buffer, sizeof buffer)) > 0)
        m_received.append(buffer, static_cast<size_t>(n));
    return m_received;
}

bool PtyDevice::PeerOpen() const {
    pollfd p{m_master, POLLIN, 0};
    poll(&p, 1, 0);
    return (p.revents & POLLHUP) == 0;
}

void WaitForWorker() {
    kx::SleepMs(150);
}
