#pragma once
// A real pseudo-terminal pair for the channel to open. The test plays the far end on the
// master side; its own descriptor of the device side lets it inspect the port's settings.
#include <string>

class PtyPair {
  public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    const std::string& DevicePath() const { return m_path; }
    int Device() const { return m_device; }
    int Master() const { return m_master; }

    // Closes the test's own descriptor of the device side (for hang-up checks).
    void CloseDevice();
    // The far end goes away, like an unplugged adapter.
    void CloseMaster();

    void Send(const std::string& bytes);
    // True when the master becomes readable within timeoutMs.
    bool WaitReadable(int timeoutMs);
    // Everything that arrives within timeoutMs, or fewer bytes once `most` have come.
    std::string Receive(size_t most, int timeoutMs);

  private:
    int m_master = -1;
    int m_device = -1;
    std::string m_path;
};
