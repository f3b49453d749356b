#pragma once

#include <QString>

#include <cstdint>
#include <functional>

class Table;
class TRXTX;
class UserNotifier;

// The Converter's own settings, sent from the window's buttons and boxes.
// Commands the person starts refuse with "Converter is not connected";
// background sends are skipped silently.

// Stops logging when it runs (the dashboard's start/stop handler); commands
// that read replies or must not mix with the live stream call it first.
using StopLoggingIfRunning = std::function<void()>;

// Calibrates the throttle's fully closed (closed = true) or fully open end.
void Calibrate(TRXTX* rxtx, UserNotifier& notifier, bool closed, const StopLoggingIfRunning& stopLogging);

// Previews the sensor angle while its box changes: sent whenever a socket is
// open, any error ignored.
void SendAngle(TRXTX* rxtx, double angle);

// Sends the offset (tenths of a degree, truncated) when connected.
void SendOffset(TRXTX* rxtx, int value);

// Kinds of SendCorrection.
enum CorrectionKind { CorrectionValue = 1, MafBorderKind = 2 };

// Keeps the live correction point and window in the store, sends it when
// connected (kind 1: the value; kind 2: the MAF border) and redraws the
// dashboard chart either way.
void SendCorrection(Table& table, int corr, int begin, int end, int kind);

// What the reference switch shows: true ("3PIN" active) for mode 0.
constexpr bool referenceSwitchChecked(std::uint8_t refMode)
{
    return refMode == 0;
}

// Label colours for the switch state: first "4PIN" (Label8), then "3PIN" (Label9).
struct PinLabelColours {
    std::uint32_t label8;
    std::uint32_t label9;
};
PinLabelColours pinLabelColours(bool switchChecked);

// What the window does around a reference switch.
struct ReferenceSwitchView {
    std::function<void(const PinLabelColours&)> colourLabels;
    std::function<void(const QString&)> setConnectionMemo;
};

// Toggles the reference wiring to match the switch as the click left it,
// asks the person to wait, warns in the memo and drops the link. False when
// refused because no Converter is connected.
bool ToggleReference(TRXTX* rxtx, UserNotifier& notifier, bool switchChecked, const ReferenceSwitchView& view);

// Resets the Converter's table, reads it back and clears the trained points
// over clearBegin..clearEnd.
void ResetTable(Table& table, const StopLoggingIfRunning& stopLogging, int clearBegin = 0, int clearEnd = 255);
