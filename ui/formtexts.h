#pragma once

// The main window's own texts, shown as they stand. The layout carries the
// Russian design texts; the language tables overwrite some of them.
namespace FormTexts {
inline constexpr const char* Caption = "ZantoTPS";
inline constexpr const char* NotConnected = "Converter is not connected";
inline constexpr const char* BadPageButton = "Error:BTTabSel_rectClick something wrong!";
inline constexpr const char* CloseBtError = "MainForm_ErrorClosBT:";
inline constexpr const char* ZoomMove = "←/→";
inline constexpr const char* ZoomPlusMinus = "+/-";
inline constexpr const char* Degree = "°";
inline constexpr const char* Percent = "%";
inline constexpr const char* Pulsations = "Pulsations=";
inline constexpr const char* OffsetPrefix = "Offset: ";
inline constexpr const char* OffsetDesign = "Offset:";
inline constexpr const char* Volt = "V";
inline constexpr const char* VoltageDesign = "0.00V";
inline constexpr const char* TpsMinPrefix = "Min=";
inline constexpr const char* TpsMaxPrefix = "Max=";
inline constexpr const char* LangRu = "Ru";
inline constexpr const char* LangEn = "En";
inline constexpr const char* SaveCaption = "Сохранить файл:";
inline constexpr const char* OpenCaption = "Открыть файл:";
inline constexpr const char* CancelCaption = "Отмена";
inline constexpr const char* DefaultsRu = "Значения по умолчанию";
inline constexpr const char* DefaultsEn = "Defaults";
inline constexpr const char* EnglishToast = "English ";
inline constexpr const char* RussianToast = "Русский язык";

// Design texts of the layout.
inline constexpr const char* BtTitle = "Bluetooth  устройства/devices";
inline constexpr const char* AngleLabel = "Угол датчика";
inline constexpr const char* TpsSetupTitle = "Настройки ДПДЗ";
inline constexpr const char* OxygenSetupTitle = "Настройка лямбда зонда";
inline constexpr const char* CorrSetupTitle = "Настройки автокоррекции";
inline constexpr const char* Pin4 = "4PIN";
inline constexpr const char* Pin3 = "3PIN";
inline constexpr const char* ThrottleClosed = "Дроссель полностью закрыт";
inline constexpr const char* ThrottleOpen = "Дроссель полностью открыт";
inline constexpr const char* Calibrate = "Калибровать";
inline constexpr const char* Ok = "OK";
inline constexpr const char* OxygenTest = "Тест  на исправность";
inline constexpr const char* OxygenRefValues = "Опорные значения ЛЗ для автокоррекции";
inline constexpr const char* FillGrid = "Заполнить таблицу";
inline constexpr const char* DialOutput = "Выход";
inline constexpr const char* DialOffset = "Смещение°";
inline constexpr const char* DialMin = "Min";
inline constexpr const char* DialMax = "Max";
inline constexpr const char* Kickdown = "Kickdown";
inline constexpr const char* OneToOne = "1:1";
inline constexpr const char* VRise = "Увеличивается";
inline constexpr const char* VFall = "Уменьшается ";
inline constexpr const char* MafPulsations = "Мах. пульсации маф";
inline constexpr const char* Correction = "Коррекция";
inline constexpr const char* Units = "Выводить в";
inline constexpr const char* O2Type = "Тип ЛЗ ";
inline constexpr const char* O2Offset = "Смещение";
inline constexpr const char* VafMode1 = "При увеличении расхода воздуха";
inline constexpr const char* VafMode2 = "напряжение штатного расходомера:";
inline constexpr const char* AutocorrIntervals = "Интервалы коррекции(* 0.1 сек)";
inline constexpr const char* Fast = "Быстрая";
inline constexpr const char* Fine = "Точная";
inline constexpr const char* ForcedIdle = "Определение принудительного ХХ";
inline constexpr const char* Extrapolation = "Экстраполяция";
inline constexpr const char* Interpolation = "Интерполяция";
inline constexpr const char* ChartSensor = "Датчик:";
inline constexpr const char* ChartOut = "Выход:";
inline constexpr const char* SmoothingHeading = "Сглаживание";
inline constexpr const char* SmoothMaf = "TPS";
inline constexpr const char* SmoothTps = "Смещение";
inline constexpr const char* SmoothRpm = "RPM";
inline constexpr const char* EnrichmentHeading = "Обогащение УН";
inline constexpr const char* MafTime = "Выборка MAF 1/100сек *";
inline constexpr const char* Threshold = "Порог срабатывания";
inline constexpr const char* EnrichmentFactor = "Обогащение +%";
inline constexpr const char* EnleanmentFactor = "Спад обогащения -%";
inline constexpr const char* TpsThreshold = "Переход на таб.№2";
inline constexpr const char* TpsThrhdValue = "при значении TPS>";
}  // namespace FormTexts

// Items of the combo boxes as the layout has them.
namespace FormItems {
inline const char* const O2Sensor[] = {"0-1V Signal", "Innovate MTX-L", "0-5V Signal", "AEM 30-41,42,XX"};
inline const char* const O2Output[] = {"Отсчетах N", "Вольтах", "AFR"};
inline const char* const AutoCorrType[] = {"Tab", "ECT", "IAT", "Сглаживание/Smoothing MAF"};
inline const char* const TpsSetup[] = {"Отсчетах N", "Вольтах"};
}  // namespace FormItems
