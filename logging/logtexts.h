#pragma once

// The logger's own texts, byte for byte, shared by the code and its tests.

namespace LogTexts {

// Saving a log.
inline constexpr char CantDeleteBeforeSaving[] = "Can't delete file before saving";
inline constexpr char NoWritePermission[] =
    "Error: You don't have permissions to write files in this directory.";

// The live poll lost the Converter: English and Russian in one message.
inline constexpr char ThreadError[] =
    "ThreadError: Converter doesen't respond. Please chesk supply voltage and COM port.\n\n"
    "ThreadОшибка: Конвертер не отвечает. Пожалуйста проверьте питающее напряжение и COM порт";

// The poll thread's name for debuggers.
inline constexpr char LogThreadName[] = "LogThread";

// Our own texts for file errors the person must hear about; %1 is the file
// name, %2 the system's reason.
inline constexpr char CannotOpenLog[] = "Cannot open the log file %1: %2";
inline constexpr char CannotReadLog[] = "Cannot read the log file %1: %2";
inline constexpr char CannotWriteLog[] = "Cannot write the log file %1: %2";

// Writing a recording to its autosave file as it runs; %1 is the file, %2
// the system's reason. English and Russian in one message.
inline constexpr char AutosaveStopped[] =
    "Autosave stopped: %1 cannot be written (%2). The recording goes on in memory; save it before closing.\n\n"
    "Автосохранение остановлено: файл %1 не записывается (%2). Запись продолжается в памяти; сохраните её перед "
    "закрытием.";
inline constexpr char AutosaveNotFinished[] =
    "The autosave file %1 could not be finished (%2); it keeps the recording as written so far.\n\n"
    "Файл автосохранения %1 не удалось завершить (%2); в нём осталась запись до этого момента.";
// The next start found a recording that was not finished (the client was
// killed or crashed while logging) and loaded it; %1 is the file.
inline constexpr char AutosaveRecovered[] =
    "The last recording was not finished (the program ended while logging). It has been loaded from %1 and is "
    "shown on the log page.\n\n"
    "Последняя запись не была завершена (программа закрылась во время записи). Она загружена из файла %1 и "
    "показана на странице лога.";

// The folder beside config.cfg that keeps the recordings written as they run.
inline constexpr char AutosaveFolder[] = "autosave";

// .log file.
inline constexpr char LogExtension[] = ".log";
inline constexpr char LogMagic[] = "ZaNtO";

// Chart titles of the log columns, in record order.
inline constexpr char TitleConverter[] = "Converter";
inline constexpr char TitleMarker[] = "Marker";
inline constexpr char TitleEnrichment[] = "Enrichment";
inline constexpr char TitleMaf[] = "MAF";
inline constexpr char TitleTps[] = "TPS";
inline constexpr char TitleRpm[] = "RPM/100";
inline constexpr char TitleO2[] = "O2";
inline constexpr char TitleCorr[] = "Corr";
inline constexpr char TitleIat[] = "IAT";
inline constexpr char TitleEct[] = "ECT";
inline constexpr char TitleO2sm[] = "O2SM";
inline constexpr char TitleLogCorr[] = "LogCorr";

// Oxygen sensor types (items of ComboBoxO2, in order).
inline constexpr char O2Type01V[] = "0-1V Signal";
inline constexpr char O2TypeInnovate[] = "Innovate MTX-L";
inline constexpr char O2Type05V[] = "0-5V Signal";
inline constexpr char O2TypeAem[] = "AEM 30-41,42,XX";

// Oxygen output units (items of ComboBoxO2Output, in order).
inline constexpr char O2UnitCounts[] = "Отсчетах N";
inline constexpr char O2UnitVolts[] = "Вольтах";
inline constexpr char O2UnitAfr[] = "AFR";

// Pieces of the oxygen meter's label: "<counts>N <volts>V".
inline constexpr char O2CountsSuffix[] = "N ";
inline constexpr char O2VoltsSuffix[] = "V";

}  // namespace LogTexts
