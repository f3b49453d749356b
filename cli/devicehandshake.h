#pragma once

#include "handshake.h"

#include <QString>

#include <optional>

class TBTMethod;

// Finds the paired device of this address and runs the connection thread's
// handshake on it, on the calling thread; no search through other devices.
// On success the socket stays open as link.Socket; both connected flags of
// the link are left to the caller, as the window sets them on the connected
// message.
std::optional<HandshakeAnswer> connectToDevice(TBTMethod& link, const QString& address);
