#pragma once
// A small HTTP server on 127.0.0.1 for the probe's tests: it records the bytes of every
// request it receives and answers each with a scripted response, or holds the connection
// open without answering until it is released.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class ScriptedHttpServer {
  public:
    // port 0: any free port. Listens at once; fails the test when the port cannot be bound.
    explicit ScriptedHttpServer(uint16_t port = 0);
    ~ScriptedHttpServer();
    ScriptedHttpServer(const ScriptedHttpServer&) = delete;
    ScriptedHttpServer& operator=(const ScriptedHttpServer&) = delete;

    uint16_t Port() const { return m_port; }

    // Sent once a request's header block has arrived; with holdOpen the connection then
    // stays open until Release() instead of being closed.
    void Respond(std::string response, bool holdOpen = false);
    // Connections are accepted and read, but get no answer until Release().
    void AnswerNothing();
    // Closes every held connection (now and from then on).
    void Release();

    // Waits until a request's header block has arrived; false after `timeout`.
    bool WaitForRequest(std::chrono::milliseconds timeout);
    // The bytes of each request, including anything sent after its header block.
    std::vector<std::string> Requests();
    int Connections();

  private:
    void Serve();
    void Handle(int client);

    int m_listener = -1;
    int m_stopPipe[2] = {-1, -1};
    uint16_t m_port = 0;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::string m_response;
    bool m_answer = true;
    bool m_holdOpen = false;
    bool m_released = false;
    bool m_stopping = false;
    int m_connections = 0;
    std::vector<std::string> m_requests;

    std::thread m_thread; // last: starts after everything above exists
};
