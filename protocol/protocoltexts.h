#pragma once

// Texts of the Converter commands, shown to the person exactly as they stand.
namespace ProtocolTexts {

inline constexpr char NotConnected[] = "Converter is not connected";
inline constexpr char WaitForDatalogger[] =
    "Waiting  for a dataloger's stop.\nPlease try again.\n\n"
    "Ждем остановки даталогера\n Пожалуйста попробуйте еще раз";

// Table transfer progress (standing toast) and results (fading toast).
inline constexpr char Reading[] = "Считываю/Reading...";
inline constexpr char Ram0[] = "RAM 0%";
inline constexpr char Ram100[] = "RAM 100% ";
inline constexpr char Eeprom0[] = "EEPROM 0%";
inline constexpr char Verifying100[] = "Верификация/Verifying 100%";
inline constexpr char Ok[] = "OK";
inline constexpr char Error[] = "Error";
inline constexpr char Empty[] = "";

// Transfer error codes; the reporter looks at the first character only.
inline constexpr char ErrorConnect[] = "ErrorConnect";
inline constexpr char ErrorConnectVerify[] = "ErrorConnect=";
inline constexpr char VerificationErrorCode[] = "VerificationError";

// The echo and verification messages, completed with their numbers.
inline constexpr char EchoError[] = "Error! Coverter doesen't respond i=";
inline constexpr char EchoTx[] = " tx=";
inline constexpr char EchoRx[] = " rx=";
// Shown after " rx=" when no echo byte came at all.
inline constexpr char EchoNone[] = "none";
inline constexpr char VerifyErrorPrefix[] = "Error i=";
inline constexpr char VerifyTab[] = " Tab=";
inline constexpr char VerifyBuf[] = " buf=";

// Reference switch.
inline constexpr char WaitFiveSeconds[] = "Подождите 5 ceк. затем нажмите OK \n Wait 5 sec.  and then press OK";
inline constexpr char Restart3Pin[] =
    "ВНИМАНИЕ!!!\nПерезапустите  конвертер и приложение. \nATTENTION!\n"
    "Restart  the converter and  the application ";
inline constexpr char Restart4Pin[] =
    "ВНИМАНИЕ!!!\nВыключите зажигание и перезапустите  конвертер и приложение. \nATTENTION!\n"
    "Restart  the converter and  the application";

// Firmware update.
inline constexpr char FileNotFound[] = "Error: File  not found.\n";
inline constexpr char FirmwareNoAnswer[] =
    "\nFailed: Converter doesn't respond.\nPlease check the supply voltage, COM port and firmware "
    "update jumper\n\n"
    "Ошибка обновления. Конвертер не отвечает.\nПожалуйста проверьте питающее напряжение";
inline constexpr char FirmwareCrcError[] =
    "CRC error.  Converter doesn't respond.\nPlease check the supply voltage, COM port and firmware "
    "update jumper\n\n"
    "Ошибка обновления. Конвертер не отвечает.\nПожалуйста проверьте питающее напряжение";
inline constexpr char FirmwareDone[] = "Firmware updated successfully.\n\nПрошивка успешно обновлена";
inline constexpr char Percent100[] = "100%";
// Files the update refuses before anything is sent.
inline constexpr char FirmwareTooLarge[] =
    "Error: the firmware file holds more than 262144 bytes.\nNothing was sent to the converter.\n\n"
    "Ошибка: файл прошивки больше 262144 байт.\nКонвертер не изменён.";
inline constexpr char FirmwareBadBlock[] =
    "Error: the firmware file is damaged: a block runs past the end of the file.\n"
    "Nothing was sent to the converter.\n\n"
    "Ошибка: файл прошивки повреждён.\nКонвертер не изменён.";

}  // namespace ProtocolTexts
