#include "ScriptedHttpServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// How long a request may take to arrive, and how long the server goes on listening after
// its header block, so that stray bytes after the headers are caught too.
constexpr int kRequestTimeoutMs = 5000;
constexpr int kLingerMs = 300;

bool Readable(int fd, int timeoutMs) {
    pollfd p{fd, POLLIN, 0};
    return poll(&p, 1, timeoutMs) > 0;
}

// Appends what arrives until nothing more comes within timeoutMs or the peer closes.
void ReadUntilQuiet(int fd, std::string& into, int timeoutMs, bool stopAtHeaderEnd) {
    char chunk[4096];
    while (!(stopAtHeaderEnd && into.find("\r\n\r\n") != std::string::npos) &&
           Readable(fd, timeoutMs)) {
        const ssize_t n = recv(fd, chunk, sizeof chunk, 0);
        if (n <= 0) {
            return;
        }
        into.append(chunk, static_cast<size_t>(n));
    }
}

} // namespace

ScriptedHttpServer::ScriptedHttpServer(uint16_t port) {
    m_listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    socklen_t length = sizeof address;
    if (bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(m_listener, 8) != 0 ||
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
        pipe2(m_stopPipe, O_CLOEXEC) != 0) {
        ADD_FAILURE() << "test HTTP server cannot listen on 127.0.0.1:" << port;
        return;
    }
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { Serve(); });
}

ScriptedHttpServer::~ScriptedHttpServer() {
    {
        std::lock_guard<std::mutex> hold(m_mutex);
        m_stopping = true;
    }
    m_changed.notify_all();
    if (m_thread.joinable()) {
        const char stop = 0;
        (void)!write(m_stopPipe[1], &stop, 1);
        m_thread.join();
    }
    for (int fd : {m_listener, m_stopPipe[0], m_stopPipe[1]}) {
        if (fd >= 0) {
            close(fd);
        }
    }
}

void ScriptedHttpServer::Respond(std::string response, bool holdOpen) {
    std::lock_guard<std::mutex> hold(m_mutex);
    m_response = std::move(response);
    m_answer = true;
    m_holdOpen = holdOpen;
}

void ScriptedHttpServer::AnswerNothing() {
    std::lock_guard<std::mutex> hold(m_mutex);
    m_answer = false;
    m_holdOpen = true;
}

void ScriptedHttpServer::Release() {
    {
        std::lock_guard<std::mutex> hold(m_mutex);
        m_released = true;
    }
    m_changed.notify_all();
}

bool ScriptedHttpServer::WaitForRequest(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> hold(m_mutex);
    return m_changed.wait_for(hold, timeout, [this] { return !m_requests.empty(); });
}

std::vector<std::string> ScriptedHttpServer::Requests() {
    std::lock_guard<std::mutex> hold(m_mutex);
    return m_requests;
}

int ScriptedHttpServer::Connections() {
    std::lock_guard<std::mutex> hold(m_mutex);
    return m_connections;
}

void ScriptedHttpServer::Serve() {
    for (;;) {
        pollfd watch[2] = {{m_listener, POLLIN, 0}, {m_stopPipe[0], POLLIN, 0}};
        if (poll(watch, 2, -1) < 0 || (watch[1].revents & POLLIN) != 0) {
            return;
        }
        const int client = accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (client >= 0) {
            Handle(client);
            close(client);
        }
    }
}

void ScriptedHttpServer::Handle(int client) {
    {
        std::lock_guard<std::mutex> hold(m_mutex);
        ++m_connections;
    }
    std::string request;
    ReadUntilQuiet(client, request, kRequestTimeoutMs, true);
    ReadUntilQuiet(client, request, kLingerMs, false);

    std::unique_lock<std::mutex> hold(m_mutex);
    m_requests.push_back(request);
    m_changed.notify_all();
    if (m_answer) {
        send(client, m_response.data(), m_response.size(), MSG_NOSIGNAL);
    }
    if (m_holdOpen) {
        m_changed.wait(hold, [this] { return m_released || m_stopping; });
    }
}
