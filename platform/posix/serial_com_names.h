#pragma once
// COM port names on Linux. One fixed rule, so that a COM number always means the same device:
//   COM1  .. COM32  ->  /dev/ttyUSB0 .. /dev/ttyUSB31   USB serial adapters
//   COM33 .. COM64  ->  /dev/ttyACM0 .. /dev/ttyACM31   USB modem-class (CDC ACM) devices
//   COM65 and up    ->  /dev/ttyS0, /dev/ttyS1, ...     on-board serial ports
// "COMn" and "\\.\COMn" both name COM n. n is decimal digits only; COM0, signs, other text
// and numbers beyond the int range name no device.
#include <string>

namespace kx {

// The device path that a COM name stands for; empty when it names no device.
std::string ComPortDevicePath(const std::string& name);

// Tests: COM `com` opens `path` instead (an empty path removes the redirection).
void MapComPortForTesting(int com, std::string path);

// Tests: when on, COM numbers without a redirection name no device, so that the test
// machine's own serial ports are never opened.
void UseOnlyMappedComPortsForTesting(bool only);

} // namespace kx
