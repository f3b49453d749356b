#pragma once

#include <QString>

#include <cstdint>
#include <optional>

class TBTMethod;
struct BluetoothDevice;

// What the Converter told about itself in the handshake.
struct HandshakeAnswer {
    int firmware = 0;            // version times ten: 23 is 2.3
    std::uint8_t refMode = 0;    // reference mode, as the link keeps it in RefMode
};

// The connection thread's handshake on one device, run on the calling
// thread with the same probes, drains and time limits: each Serial Port
// service of the device is tried in turn until one answers. On success the
// socket stays open as link.Socket and link.RefMode is set; on failure no
// socket is left open.
std::optional<HandshakeAnswer> handshakeDevice(TBTMethod& link, const BluetoothDevice& device);

// Finds the paired device of this address and runs the handshake on it; no
// search through other devices. On success both connected flags of the link
// are left to the caller, as the window sets them on the connected message.
std::optional<HandshakeAnswer> connectToDevice(TBTMethod& link, const QString& address);
