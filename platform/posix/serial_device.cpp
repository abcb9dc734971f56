#include "platform/serial_device.h"

#include "platform/posix/serial_com_names.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace kx {
namespace {

struct Device {
    int fd;
};

int Fd(PortHandle port) {
    return static_cast<Device*>(port)->fd;
}

// The termios code for a line speed; B0 for a speed the table does not know.
speed_t SpeedCode(uint32_t bitsPerSecond) {
    static const struct {
        uint32_t bits;
        speed_t code;
    } speeds[] = {{300, B300},     {600, B600},      {1200, B1200},   {2400, B2400},
                  {4800, B4800},   {9600, B9600},    {19200, B19200}, {38400, B38400},
                  {57600, B57600}, {115200, B115200}};
    for (const auto& speed : speeds) {
        if (speed.bits == bitsPerSecond) {
            return speed.code;
        }
    }
    return B0;
}

} // namespace

PortHandle OpenSerialDevice(const char* name) {
    const std::string path = ComPortDevicePath(name);
    if (path.empty()) {
        return nullptr;
    }
    // Without O_NONBLOCK the open could wait for a carrier that never comes; once open, the
    // I/O is synchronous like the Windows port's.
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    const int flags = fcntl(fd, F_GETFL);
    if (flags >= 0) {
        fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    }
    return new Device{fd};
}

void ConfigureSerialDevice(PortHandle port, uint32_t bitsPerSecond, uint32_t /*queueBytes*/) {
    // The tty driver's queues have fixed sizes: there is nothing to ask for.
    const int fd = Fd(port);
    ioctl(fd, TIOCCBRK);
    // A port that cannot report its settings gets the changes below applied to zeroed ones.
    termios settings{};
    tcgetattr(fd, &settings);
    const speed_t speed = SpeedCode(bitsPerSecond);
    if (speed != B0) {
        cfsetispeed(&settings, speed);
        cfsetospeed(&settings, speed);
    }
    // Raw 8-bit transfer with no parity checking. Flow control (IXON, IXOFF, CRTSCTS), the
    // control characters and the read timing stay as the port had them.
    settings.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | INPCK);
    settings.c_oflag &= ~OPOST;
    settings.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    settings.c_cflag &= ~(CSIZE | PARENB | CSTOPB);
    // CLOCAL: a modem-status change must not hang up or block the port's I/O.
    settings.c_cflag |= CS8 | CLOCAL | CREAD;
    tcsetattr(fd, TCSANOW, &settings);
    int lines = TIOCM_DTR | TIOCM_RTS; // ptys refuse this; the failure is ignored
    ioctl(fd, TIOCMBIS, &lines);
}

bool SerialTransmitReady(PortHandle /*port*/) {
    // The watched events always include transmitter-empty.
    return true;
}

void WriteSerialDevice(PortHandle port, const void* bytes, uint32_t count) {
    const ssize_t written = write(Fd(port), bytes, count);
    static_cast<void>(written); // a short or failed write loses the bytes
}

uint32_t SerialBytesWaiting(PortHandle port) {
    int waiting = 0;
    if (ioctl(Fd(port), FIONREAD, &waiting) < 0 || waiting < 0) {
        return 0;
    }
    return static_cast<uint32_t>(waiting);
}

uint32_t ReadSerialDevice(PortHandle port, void* bytes, uint32_t count) {
    const ssize_t got = read(Fd(port), bytes, count);
    return got > 0 ? static_cast<uint32_t>(got) : 0;
}

void CloseSerialDevice(PortHandle port) {
    close(Fd(port));
    delete static_cast<Device*>(port);
}

} // namespace kx
