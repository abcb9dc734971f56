// kxsim: a simulated KX unit on a pty. Prints the device path (the side the wizard opens) as
// the first line of stdout, then plays the device on the other side until SIGINT or SIGTERM.
#include "Options.h"
#include "Stream.h"
#include "UnitAnswers.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <deque>
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <string>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
using kxsim::Mode;
using kxsim::Options;

volatile std::sig_atomic_t g_stop = 0;

void OnStopSignal(int) {
    g_stop = 1;
}

void CatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0; // no SA_RESTART: the signal must wake poll()
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

// Bytes to send once their time has come.
struct Pending {
    Clock::time_point due;
    std::string bytes;
};

// Sends what the pty takes now, without waiting; removes it from `bytes`.
void SendSome(int master, std::string& bytes) {
    if (bytes.empty()) {
        return;
    }
    const ssize_t sent = write(master, bytes.data(), bytes.size());
    if (sent > 0) {
        bytes.erase(0, static_cast<size_t>(sent));
    }
}

bool MakeLink(const char* target, const std::string& link) {
    if (symlink(target, link.c_str()) == 0) {
        return true;
    }
    struct stat existing {};
    if (errno == EEXIST && lstat(link.c_str(), &existing) == 0 && S_ISLNK(existing.st_mode) &&
        unlink(link.c_str()) == 0 && symlink(target, link.c_str()) == 0) {
        return true;
    }
    std::perror(link.c_str());
    return false;
}

class Device {
  public:
    Device(const Options& options, int master, int log)
        : m_options(options), m_master(master), m_log(log),
          m_unit(options.reading, options.lineEnd), m_stream(Clock::now()) {}

    void Run() {
        char buffer[4096];
        while (!g_stop) {
            const Clock::time_point now = Clock::now();
            SendDue(now);
            pollfd watch{m_master, static_cast<short>(POLLIN | (Blocked(now) ? POLLOUT : 0)), 0};
            if (poll(&watch, 1, TimeoutMs(now)) <= 0 || !(watch.revents & POLLIN)) {
                continue;
            }
            const ssize_t got = read(m_master, buffer, sizeof buffer);
            if (got > 0) {
                Received(std::string(buffer, static_cast<size_t>(got)));
            }
        }
    }

  private:
    void Received(const std::string& bytes) {
        if (m_log >= 0) {
            const ssize_t logged = write(m_log, bytes.data(), bytes.size());
            static_cast<void>(logged);
        }
        const Clock::time_point now = Clock::now();
        switch (m_options.mode) {
        case Mode::Echo:
            Queue(now, bytes);
            break;
        case Mode::Silent:
        case Mode::Stream:
            break;
        case Mode::Unit:
        case Mode::Slow:
        case Mode::SplitBanner:
            for (const char byte : bytes) {
                Answer(now, m_unit.Take(byte));
            }
            break;
        }
    }

    void Answer(Clock::time_point now, const std::string& command) {
        if (command.empty()) {
            return;
        }
        const std::string answer = m_unit.AnswerTo(command);
        const bool slow = m_options.mode == Mode::Slow;
        const Clock::time_point due = now + std::chrono::milliseconds(slow ? m_options.delayMs : 0);
        if (m_options.mode == Mode::SplitBanner && command == "Q") {
            Queue(due, answer.substr(0, 12));
            Queue(due + std::chrono::milliseconds(m_options.splitPauseMs), answer.substr(12));
        } else {
            Queue(due, answer);
        }
    }

    // Answers leave in the order they were made, whatever their delays.
    void Queue(Clock::time_point due, std::string bytes) {
        if (!m_outbox.empty()) {
            due = std::max(due, m_outbox.back().due);
        }
        m_outbox.push_back(Pending{due, std::move(bytes)});
    }

    void SendDue(Clock::time_point now) {
        if (m_options.mode == Mode::Stream) {
            m_stream.AppendDue(now, m_streamOut);
            SendSome(m_master, m_streamOut);
        }
        while (!m_outbox.empty() && m_outbox.front().due <= now) {
            SendSome(m_master, m_outbox.front().bytes);
            if (!m_outbox.front().bytes.empty()) {
                break; // the pty is full; the rest waits for room
            }
            m_outbox.pop_front();
        }
    }

    bool Blocked(Clock::time_point now) const {
        return !m_streamOut.empty() || (!m_outbox.empty() && m_outbox.front().due <= now);
    }

    int TimeoutMs(Clock::time_point now) const {
        int timeout = m_options.mode == Mode::Stream ? 10 : 100;
        if (!m_outbox.empty()) {
            const auto wait =
                std::chrono::duration_cast<std::chrono::milliseconds>(m_outbox.front().due - now)
                    .count() +
                1;
            timeout = static_cast<int>(std::clamp<long long>(wait, 0, timeout));
        }
        return timeout;
    }

    const Options& m_options;
    int m_master;
    int m_log;
    kxsim::UnitAnswers m_unit;
    kxsim::Stream m_stream;
    std::deque<Pending> m_outbox;
    std::string m_streamOut;
};

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!kxsim::ParseOptions(argc, argv, options)) {
        return 2;
    }
    int master = -1;
    int slave = -1;
    char path[256];
    if (openpty(&master, &slave, path, nullptr, nullptr) < 0) {
        std::perror("openpty");
        return 1;
    }
    // Raw at 9600 bits/s, as a unit's port would be. kxsim keeps its own descriptor of the
    // device side open, so the wizard can open and close it any number of times.
    termios settings{};
    tcgetattr(slave, &settings);
    cfmakeraw(&settings);
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    tcsetattr(slave, TCSANOW, &settings);
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);

    int log = -1;
    if (!options.logPath.empty()) {
        log = open(options.logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        if (log < 0) {
            std::perror(options.logPath.c_str());
            return 1;
        }
    }
    if (!options.linkPath.empty() && !MakeLink(path, options.linkPath)) {
        return 1;
    }
    CatchStopSignals();
    std::printf("%s\n", path);
    std::fflush(stdout);

    Device(options, master, log).Run();

    if (!options.linkPath.empty()) {
        unlink(options.linkPath.c_str());
    }
    close(slave);
    close(master);
    return 0;
}
