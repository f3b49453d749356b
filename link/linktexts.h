#pragma once

// The link's own texts, shared by the code and its tests. They are shown to
// the person exactly as they stand here (line breaks, blanks and spelling).
namespace LinkTexts {

// Address remembered before the first successful connection.
inline constexpr char UnknownAddress[] = "UNKNOWN_ADDRESS";

// First 32 bits of the Serial Port Profile's UUID, as the handshake compares them.
inline constexpr char SerialPortPrefix[] = "00001101";
inline constexpr char SerialPortUuid[] = "00001101-0000-1000-8000-00805f9b34fb";

// Connection memo.
inline constexpr char TryingToConnect[] = "Покдлючаюсь к:\nTrying to connect to: \n";
inline constexpr char DeviceFound[] = "\n DEVICE FOUND: ";
inline constexpr char ConnectedToLast[] = "\nУСПЕШНО ПОДКЛЮЧИЛИСЬ! :)\nSUCCESSFULLY CONNECTED! :)";
inline constexpr char Autosearch[] = "\n\nУстройство не найдено, делаю автопоиск: \n"
                                     "Device not found, trying to autosearch\n...";
inline constexpr char ConnectedBySearch[] = "\nУСПЕШНО ПОДКЛЮЧИЛИСЬ! \nSUCCESSFULLY CONNECTED! \n   :)";
inline constexpr char DeviceNotFound[] = "\n\nУСТРОЙСТВО НЕ НАЙДЕНО! \nDEVICE NOT FOUND! \n   :(";
inline constexpr char NoPairedDevices[] = "Не найдено спаренных блютуз устройств!\n Not found paired bluetooth devices!";
inline constexpr char Firmware[] = "\nПрошивка/Firmvare V:";

// Transfer errors.
inline constexpr char NoResponse[] =
    "Converter doesn't respond. Please check supply voltage,COM port cable, Bluetooth adapter.\n\n"
    "Конвертер не отвечает. Проверьте наличие питания, кабель COM порта, адаптер Bluetooth\n\n\n";
inline constexpr char CountOf[] = " of/из ";
inline constexpr char CountReceived[] = " Recieved/Получено";
inline constexpr char VerificationError[] = "Verification error.\n\nОшибка верификации.\n\n\n";

// Handshake probes, sent with their closing zero byte.
inline constexpr char FirstProbe[] = "fius";       // 5 bytes on the wire
inline constexpr char SecondProbe[] = "fiusfiuv";  // 9 bytes on the wire

}  // namespace LinkTexts
