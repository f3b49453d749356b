#pragma once

#include <cstdint>
#include <functional>
#include <optional>

class TBTMethod;
struct BluetoothDevice;

// What the Converter told about itself in the handshake.
struct HandshakeAnswer {
    int firmware = 0;          // version times ten: 23 is 2.3
    std::uint8_t refMode = 0;  // reference mode, as the link keeps it in RefMode
};

// Replaces link.Services with the device's services. False when they cannot
// be had or the device offers none.
bool LoadServices(TBTMethod& link, const BluetoothDevice& device);

// Tries each Serial Port service of link.Services in turn until one answers
// as a Converter: a socket is opened, the first probe sent, whatever the
// device still had to say drained (a stream left running must not be taken
// for the answer), the second probe sent, and four bytes starting with two
// zeros expected. On success the socket stays open as link.Socket and
// link.RefMode is set; otherwise no socket is left open. A service that
// refuses or fails part way is skipped. `interrupted`, when given, is asked
// before each service. Blocks the calling thread for up to 1.5 s a service.
std::optional<HandshakeAnswer> ProbeServices(TBTMethod& link, const BluetoothDevice& device,
                                             const std::function<bool()>& interrupted = {});
