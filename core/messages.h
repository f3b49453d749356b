#pragma once

#include <QString>
#include <cstdint>

// Message records carried by the event bus. Every record starts with its
// 32-bit id; a listener switches on it and casts to the record it handles.
// A record lives in its poster's storage for the length of one broadcast.

struct TMessage {
    std::int32_t id;
};

enum TMessageId : std::int32_t {
    MsgStartLog = 3,
    MsgStopLog = 4,
    MsgDashData = 6,
    MsgConnected = 9,
    MsgFile = 10,
};

struct TMsgStartLog : TMessage {
    static constexpr std::int32_t Id = MsgStartLog;
    TMsgStartLog() : TMessage{Id} {}
    std::int32_t o2SensorType = 0;  // item index of the oxygen sensor type box
};

struct TMsgStopLog : TMessage {
    static constexpr std::int32_t Id = MsgStopLog;
    TMsgStopLog() : TMessage{Id} {}
};

struct TMsgDashData : TMessage {
    static constexpr std::int32_t Id = MsgDashData;
    TMsgDashData() : TMessage{Id} {}
    std::int32_t o2Raw = 0;       // 0..255
    QString o2Text;
    std::uint32_t o2Colour = 0;   // ARGB
    std::int32_t o2Meter = 0;     // meter position; the receiver limits it to 0..255
    std::int32_t rawOutput = 0;
    std::int32_t rawAngle = 0;
    std::int32_t rawIat = 0;
    std::int32_t rawLine1 = 0;
    std::int32_t rawLine2 = 0;
    std::int32_t rawAt = 0;
    std::int32_t rawRef = 0;
    std::int32_t rawAux = 0;
};

struct TMsgConnected : TMessage {
    static constexpr std::int32_t Id = MsgConnected;
    TMsgConnected() : TMessage{Id} {}
};

struct TMsgFile : TMessage {
    static constexpr std::int32_t Id = MsgFile;
    TMsgFile() : TMessage{Id} {}
    std::uint8_t saveMode = 0;  // 1: the browser was opened for saving, 0: for opening
    QString extension;          // "tab", "log" or "enc"
    QString fileName;           // full path chosen
};

// The record behind a message whose id says it is a T, or nullptr.
template <typename T>
const T* messageAs(const TMessage& message)
{
    return message.id == T::Id ? static_cast<const T*>(&message) : nullptr;
}
