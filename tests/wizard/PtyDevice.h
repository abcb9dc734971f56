#pragma once
// A device on the far side of a real pty: the wizard opens the pty's terminal side by a COM
// number, the test reads what it sent and answers through the master side.
#include <string>

class PtyDevice {
  public:
    PtyDevice();
    ~PtyDevice();
    PtyDevice(const PtyDevice&) = delete;
    PtyDevice& operator=(const PtyDevice&) = delete;

    const std::string& Path() const { return m_path; }
    // Sends bytes to the wizard's open channel and returns once its worker has read them
    // from the port (at most a few seconds), so that the next tick can find them.
    void Send(const std::string& bytes);
    // Everything the wizard has written so far.
    const std::string& Received();
    // The same, after waiting (at most a few seconds) for at least `size` bytes in all.
    const std::string& AwaitReceived(size_t size);
    // True while something besides this object (the wizard's channel) holds the terminal
    // side open.
    bool PeerOpen() const;

  private:
    int m_master = -1;
    int m_terminal = -1; // kept open so the terminal side's queue can be watched
    std::string m_path;
    std::string m_received;
};

// The channel's worker moves bytes every 50 ms: long enough for a pass in either direction.
void WaitForWorker();
