#pragma once

// The command-line client's own texts, shared by the code and its tests.
namespace CliTexts {

inline constexpr char Program[] = "zantotps-cli";

inline constexpr char Usage[] =
    "usage: zantotps-cli [--simulator | --port PATH [--baud N] | --bluetooth ADDRESS] COMMAND [ARGS]";

inline constexpr char Help[] =
    "usage: zantotps-cli [--simulator | --port PATH [--baud N] | --bluetooth ADDRESS] COMMAND [ARGS]\n"
    "\n"
    "Talks to the Converter without the window: for scripts, headless loggers and\n"
    "spreadsheets. Messages and progress go to standard error, results to standard output.\n"
    "\n"
    "Connection (one of them, for every command but log2csv):\n"
    "  --simulator               the simulated Converter inside this process\n"
    "  --port PATH               a Converter on a serial port or a bound /dev/rfcomm*\n"
    "  --baud N                  the serial port's speed (default 115200)\n"
    "  --bluetooth ADDRESS       the paired Bluetooth device of this address\n"
    "  --help                    this text\n"
    "\n"
    "Commands:\n"
    "  info                      handshake; print \"firmware X.Y\" and \"reference 3PIN\" or \"reference 4PIN\"\n"
    "  read                      read the table values; print \"angle A\" (A = entry 0 as a signed byte / 10, one decimal, '.' separator)\n"
    "  write-angle DEGREES       write the sensor angle to RAM and EEPROM with verification (-12.5..12.5)\n"
    "  calibrate closed|open     send the calibration command\n"
    "  reset                     reset the Converter's table, then read it; print \"angle A\"\n"
    "  record SECONDS FILE       record live data for SECONDS into a .log file; print \"samples N\"\n"
    "                            (Ctrl-C stops early and still saves what was recorded)\n"
    "  firmware FILE             update the firmware from an .enc file, progress on standard error\n"
    "  log2csv FILE.log [OUT]    export a log as CSV (to OUT or standard output)\n"
    "\n"
    "Exit status: 0 success, 1 failure, 2 bad usage.\n";

// A handshake that failed on the one device named.
inline constexpr char DeviceNotFound[] = "DEVICE NOT FOUND";

// Results on standard output; the value follows the blank.
inline constexpr char FirmwarePrefix[] = "firmware ";
inline constexpr char Reference3Pin[] = "reference 3PIN";
inline constexpr char Reference4Pin[] = "reference 4PIN";
inline constexpr char AnglePrefix[] = "angle ";
inline constexpr char SamplesPrefix[] = "samples ";

// Why a command line was refused (after "zantotps-cli: ").
inline constexpr char NoCommand[] = "no command given";
inline constexpr char UnknownCommand[] = "unknown command: %1";
inline constexpr char UnknownOption[] = "unknown option: %1";
inline constexpr char MissingValue[] = "%1 needs a value";
inline constexpr char OneConnection[] = "give exactly one of --simulator, --port, --bluetooth";
inline constexpr char BadBaud[] = "unsupported baud rate: %1";
inline constexpr char WrongArgumentCount[] = "wrong number of arguments for %1";
inline constexpr char BadAngle[] = "DEGREES must be a number from -12.5 to 12.5: %1";
inline constexpr char BadCalibration[] = "calibrate takes closed or open: %1";
inline constexpr char BadSeconds[] = "SECONDS must be a number above 0 and at most 2000000: %1";

// Failures of the tool's own steps.
inline constexpr char NothingRecorded[] = "Nothing was recorded; %1 was not written.";
inline constexpr char CannotWriteCsv[] = "Cannot write the CSV file %1: %2";

// The CSV export's header line.
inline constexpr char CsvTime[] = "time_s";

}  // namespace CliTexts
