#include "KxsimProcess.h"

#include <csignal>
#include <cstdio>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

KxsimProcess::KxsimProcess(const std::vector<std::string>& arguments) {
    int out[2];
    if (pipe(out) < 0) {
        throw std::runtime_error("pipe failed");
    }
    std::vector<char*> argv;
    std::string program = KXSIM_PATH;
    argv.push_back(program.data());
    std::vector<std::string> copies(arguments);
    for (std::string& argument : copies) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    m_pid = fork();
    if (m_pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(out[1]);
    FILE* output = fdopen(out[0], "r");
    char line[512] = {};
    const bool gotLine = output && std::fgets(line, sizeof line, output);
    if (output) {
        std::fclose(output);
    }
    if (m_pid < 0 || !gotLine) {
        Stop();
        throw std::runtime_error("kxsim did not start");
    }
    m_path = line;
    while (!m_path.empty() && (m_path.back() == '\n' || m_path.back() == '\r')) {
        m_path.pop_back();
    }
}

KxsimProcess::~KxsimProcess() {
    Stop();
}

int KxsimProcess::Stop() {
    int status = -1;
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, &status, 0);
        m_pid = -1;
    }
    return status;
}
