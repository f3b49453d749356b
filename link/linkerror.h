#pragma once

#include <QString>

#include <stdexcept>

// A failure of the platform's Bluetooth or serial layer (no socket, connect
// refused, send failed). Its text is what the person is shown.
class LinkError : public std::runtime_error {
public:
    explicit LinkError(const QString& text) : std::runtime_error(text.toStdString()) {}
};
