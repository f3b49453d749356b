#pragma once

// The Converter's side of the wire: command words, reply bytes, frame size and
// pace. Shared by the device model and its tests so both speak the same bytes.

namespace ConverterProtocol {

// Command words as the client sends them. The two handshake probes carry
// their terminating zero byte; sizeof - 1 is the length of the others.
inline constexpr char Stop[] = "fius";
inline constexpr char Probe[] = "fius\0";                 // 5 bytes
inline constexpr int ProbeSize = 5;
inline constexpr char VersionQuery[] = "fiusfiuv\0";      // 9 bytes
inline constexpr int VersionQuerySize = 9;
inline constexpr char StartStream[] = "fiusfiul";
inline constexpr char ReadTable[] = "fiusfiur";
inline constexpr char WriteTable[] = "fiusfiuw";          // + 1 data byte
inline constexpr char CalibrateClosed[] = "fiusfiug";
inline constexpr char CalibrateOpen[] = "fiusfiuz";
inline constexpr char ToggleReference[] = "fiusfiuk";
inline constexpr char SendTable[] = "fiut";               // + 2 data bytes
inline constexpr char Correction[] = "fiuc";              // + magnitude, sign
inline constexpr char MafBorder[] = "fiug";               // + 2 data bytes
inline constexpr char Offset[] = "fiub";                  // + 1 byte, or angle + AnglePreviewMark
inline constexpr char ResetTable[] = "fiuk";
inline constexpr char EnterFirmware[] = "fiud";           // then length-prefixed blocks

inline constexpr unsigned char AnglePreviewMark = 255;
inline constexpr unsigned char BlockAccepted = 0x11;
inline constexpr unsigned char BlockRejected = 0x00;

inline constexpr int HandshakeAnswerSize = 4;
inline constexpr int TableSize = 2;                       // the exchanged entries 0 and 1

inline constexpr int FrameSize = 19;                      // nine little-endian words + CRC-8
inline constexpr int FramePeriodMs = 20;                  // 50 frames a second

// Factory table: entry 0 is the sensor angle in tenths (10.0 degrees).
inline constexpr unsigned char DefaultTable0 = 100;
inline constexpr unsigned char DefaultTable1 = 0;
inline constexpr int DefaultFirmwareVersion = 23;         // 2.3
inline constexpr int DefaultReferenceMode = 0;

}  // namespace ConverterProtocol
