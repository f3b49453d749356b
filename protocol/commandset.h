#pragma once

#include "linktexts.h"

#include <QByteArray>

// Every command the client sends to the Converter, byte for byte. A command
// goes out in one send; its data bytes follow in sends of their own. Only the
// two handshake probes carry a closing zero byte (the connection thread sends
// them; they are listed here so the whole command set stands in one place).
namespace CommandSet {

inline const QByteArray FirstProbe = QByteArray(LinkTexts::FirstProbe, sizeof LinkTexts::FirstProbe);
inline const QByteArray SecondProbe = QByteArray(LinkTexts::SecondProbe, sizeof LinkTexts::SecondProbe);

inline const QByteArray StartLive = QByteArrayLiteral("fiusfiul");    // then 19-byte live frames
inline const QByteArray StopLive = QByteArrayLiteral("fius");
inline const QByteArray ReadTable = QByteArrayLiteral("fiusfiur");    // answer: 2 bytes (1 when verifying)
inline const QByteArray WriteTable = QByteArrayLiteral("fiusfiuw");   // + 1 byte, echoed
inline const QByteArray SendValues = QByteArrayLiteral("fiut");       // + tab[0], tab[1]
inline const QByteArray Correction = QByteArrayLiteral("fiuc");       // + |corr|, sign
inline const QByteArray MafBorder = QByteArrayLiteral("fiug");        // + 0, 255
inline const QByteArray Offset = QByteArrayLiteral("fiub");           // + offset; angle preview: + angle, 255
inline const QByteArray CalibrateClosed = QByteArrayLiteral("fiusfiug");
inline const QByteArray CalibrateOpen = QByteArrayLiteral("fiusfiuz");
inline const QByteArray ToggleReference = QByteArrayLiteral("fiusfiuk");
inline const QByteArray ResetTable = QByteArrayLiteral("fiuk");
inline const QByteArray Firmware = QByteArrayLiteral("fiud");         // then length-prefixed blocks

// The Converter's answer to a firmware block it accepted.
constexpr char BlockAccepted = 0x11;

}  // namespace CommandSet
