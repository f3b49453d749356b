#pragma once

#include <QString>

#include <functional>

class TRXTX;
class UserNotifier;

// Replaces the Converter's firmware from an .enc file: "fiud", a pause, then
// each block in turn, sent again after a rejection up to the fourth in a
// row. Progress shows in the standing toast, "100%" in the fading one. A file
// that is too large or whose blocks do not fit is refused before anything is
// sent, so a bad file never leaves the Converter half-updated. Returns true
// when every block was accepted.
struct FirmwareProgress {
    std::function<void(const QString&)> showToast;
    std::function<void(const QString&)> flashToast;
};

bool UpdateFirmware(TRXTX* rxtx, UserNotifier& notifier, const QString& fileName, const FirmwareProgress& progress);

// The progress text for acked of count bytes: acked * 100 / count rounded
// to an integer, halves to even, then "%".
QString firmwareProgressText(qint64 acked, qint64 count);
