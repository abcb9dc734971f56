#pragma once
// The simulated unit as a child process: started with arguments, its device path read from
// the first line of its output, stopped with SIGTERM.
#include <string>
#include <sys/types.h>
#include <vector>

class KxsimProcess {
  public:
    explicit KxsimProcess(const std::vector<std::string>& arguments);
    ~KxsimProcess();
    KxsimProcess(const KxsimProcess&) = delete;
    KxsimProcess& operator=(const KxsimProcess&) = delete;

    const std::string& DevicePath() const { return m_path; }

    // Sends SIGTERM and waits; returns the exit status as waitpid gives it.
    int Stop();

  private:
    pid_t m_pid = -1;
    std::string m_path;
};
