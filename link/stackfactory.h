#pragma once

#include "bluetoothstack.h"
#include "serialstack.h"

#include <QStringList>

#include <memory>

// How the client reaches the Converter, as chosen on its command line.
struct LinkOptions {
    bool simulator = false;  // --simulator: the in-process simulated Converter
    QStringList ports;       // --port PATH (repeatable): serial ports as devices
    int baud = SerialStack::DefaultBaud;  // --baud N for those ports
};

// The simulated Converter when asked for, else the serial ports when any are
// given, else BlueZ on the system bus.
std::unique_ptr<BluetoothStack> makeBluetoothStack(const LinkOptions& options);
