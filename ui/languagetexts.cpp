#include "languagetexts.h"

// The texts as the program shows them, spellings included.

namespace {

const QList<ControlText> kControlTexts = {
    {"Bt_txt", QStringLiteral("Bluetooth devices"), QStringLiteral("Bluetooth устройства")},
    {"TabExtrap_btn", QStringLiteral("Extrapolation"), QStringLiteral("Экстраполяция")},
    {"LogExtrap_btn", QStringLiteral("Extrapolation"), QStringLiteral("Экстраполяция")},
    {"DashExtrap_btn", QStringLiteral("Extrapolation"), QStringLiteral("Экстраполяция")},
    {"TabInterp_btn", QStringLiteral("Interpolation"), QStringLiteral("Интерполяция")},
    {"LogInterp_btn", QStringLiteral("Interpolation"), QStringLiteral("Интерполяция")},
    {"DashInterp_btn", QStringLiteral("Interpolation"), QStringLiteral("Интерполяция")},
    {"Closed_rb", QStringLiteral("Throttle fully closed"), QStringLiteral("Дроссель полностью закрыт")},
    {"Open_rb", QStringLiteral("Throttle fully open"), QStringLiteral("Дроссель полностью открыт")},
    {"Label7", QStringLiteral("Angle of the sensor"), QStringLiteral("Угол датчика")},
    {"LabelSmooth", QStringLiteral("Smoothing"), QStringLiteral("Сглаживание")},
    {"LabelEnrichment", QStringLiteral("Enrichment"), QStringLiteral("Обогащение УН")},
    {"LabelTpsThreshold", QStringLiteral("Table 2 threshold"), QStringLiteral("Переход на таб.№2")},
    {"LabelTpsThrhdValue", QStringLiteral("TPS>"), QStringLiteral("при значении TPS>")},
    {"LabelMafTime", QStringLiteral("MAF sampling 1/100sec *"), QStringLiteral("Выборка MAF 1/100сек *")},
    {"LabelThreshold", QStringLiteral("Threshold"), QStringLiteral("Порог срабатывания")},
    {"LabelEnrichmentFactor", QStringLiteral("Enrichment +%"), QStringLiteral("Обогащение +%")},
    {"LabelEnleanmentFactor", QStringLiteral("Enleanment -%"), QStringLiteral("Спад обогащения -%")},
    {"Sensor_lbl", QStringLiteral("Sensor:"), QStringLiteral("Датчик:")},
    {"Out_lbl", QStringLiteral("Out:"), QStringLiteral("Выход:")},
    {"TpsSetup_lbl", QStringLiteral("TPS Setup"), QStringLiteral("Насйтроки ДПДЗ")},
    {"Calibrate_btn", QStringLiteral("Calibrate"), QStringLiteral("Калибровать")},
    {"RadioButton1", QStringLiteral("Out"), QStringLiteral("Выход")},
    {"RadioButton2", QStringLiteral("Offset°"), QStringLiteral("Смещение°")},
    {"TpsUnits_lbl", QStringLiteral("Units"), QStringLiteral("Выводить в")},
    {"OsSettings_lbl", QStringLiteral("O2 Sensor Setup"), QStringLiteral("Настройки лямбда зонда")},
    {"OsType_lbl", QStringLiteral("Type "), QStringLiteral("Тип ЛЗ ")},
    {"O2Units_lbl", QStringLiteral("Units"), QStringLiteral("Выводить в")},
    {"O2Offset_lbl", QStringLiteral("Offset"), QStringLiteral("Смещение")},
    {"OsRefValues_lbl", QStringLiteral("Reference values of O2S for autocorrection"), QStringLiteral("Опорные значения ЛЗ для автокоррекции")},
    {"OsTest_btn", QStringLiteral("Test"), QStringLiteral("Тест на исправность")},
    {"FillO2RefGrid_btn", QStringLiteral("Fill in the table"), QStringLiteral("Заполнить таблицу")},
    {"Corr_lbl", QStringLiteral("Correction"), QStringLiteral("Коррекция")},
    {"Corr_btn", QStringLiteral("Correction"), QStringLiteral("Коррекция")},
    {"AutocorrSetup_lbl", QStringLiteral("Autocorrection setup"), QStringLiteral("Настройка автокоррекции")},
    {"VafMode1_lbl", QStringLiteral("Factory airflow meter VAF characteristics "), QStringLiteral("При увеличении расхода воздуха")},
    {"VafMode2_lbl", QStringLiteral("when airflow rising -output voltage is"), QStringLiteral("напряжение штатного расходомера:")},
    {"VRise_rb", QStringLiteral("Rising"), QStringLiteral("Увеличивается")},
    {"VFall_rb", QStringLiteral("Falling(INVERT)"), QStringLiteral("Уменьшаяется")},
    {"MafPulsations_lbl", QStringLiteral("Max. pulsations of MAF"), QStringLiteral("Мах. пульсации MAF")},
    {"AutocorrIntervals_lbl", QStringLiteral("Autocorrection intervals(* 0.1 sec)"), QStringLiteral("Интервалы коррекции(* 0.1 сек)")},
    {"Fast_lbl", QStringLiteral("Fast"), QStringLiteral("Быстрая")},
    {"Fine_lbl", QStringLiteral("Fine"), QStringLiteral("Точная")},
    {"ForcedIdle_lbl", QStringLiteral("Forced idle detector "), QStringLiteral("Определение принудительного ХХ")},
};

const QList<ComboItems> kComboItems = {
    {"ComboBoxTpsSetup", {QStringLiteral("Counts N"), QStringLiteral("Volts V")}, {QStringLiteral("Отсчеты N"), QStringLiteral("Вольты V")}},
    {"ComboBoxO2Output", {QStringLiteral("Counts N"), QStringLiteral("Volts V"), QStringLiteral("AFR")}, {QStringLiteral("Отсчеты N"), QStringLiteral("Вольты V"), QStringLiteral("AFR")}},
};

const QStringList kHotKeyHelpEnglish = {
    QStringLiteral("Hot keys:"),
    QStringLiteral(""),
    QStringLiteral("'S'- Start and stop the dashboard"),
    QStringLiteral("'Space'- Log marker"),
    QStringLiteral(""),
    QStringLiteral(""),
    QStringLiteral("'Up/Down arrows'-Manual correction"),
    QStringLiteral("'Q'- Correction=0"),
    QStringLiteral("'Enter'- Apply correction to table"),
    QStringLiteral("'I'- Apply correction to IAT table"),
    QStringLiteral("'O'- Apply correction to ECT table"),
    QStringLiteral(""),
    QStringLiteral("'A'- Autocorrection on-off"),
    QStringLiteral("'Z'- MAF Smoothing autocorection"),
    QStringLiteral("'W'- Clear trained points in corr.window"),
    QStringLiteral("'E'- Clear all trained points"),
    QStringLiteral(""),
    QStringLiteral("'R'- Reset converter"),
};

const QStringList kHotKeyHelpRussian = {
    QStringLiteral("Горячие клавиши:"),
    QStringLiteral(""),
    QStringLiteral("'S'- Старт и стоп панели приборов"),
    QStringLiteral("'Пробел'- Маркер лога"),
    QStringLiteral(""),
    QStringLiteral(""),
    QStringLiteral("'Стрелки Верх/Вниз'-Ручная коррекция"),
    QStringLiteral("'Q'- Коррекция=0"),
    QStringLiteral("'Enter'-Внести  коррекцию в таблицу"),
    QStringLiteral("'I'-Внести коррекцию в таблицу IAT"),
    QStringLiteral("'O'-Внести коррекцию в таблицу ECT"),
    QStringLiteral(""),
    QStringLiteral("'A'- Автокоррекция вкл-выкл"),
    QStringLiteral("'Z'-Аавтокоррекция сглаживания маф"),
    QStringLiteral("'W'-Сброс обученных точек в окне коррекции"),
    QStringLiteral("'E'-Сброс всех обученных точек"),
    QStringLiteral(""),
    QStringLiteral("'R'- Сброс конвертера"),
};

}  // namespace

namespace LanguageTexts {

const QList<ControlText>& controlTexts()
{
    return kControlTexts;
}

const QList<ComboItems>& comboItems()
{
    return kComboItems;
}

const QStringList& hotKeyHelp(int languageId)
{
    return isEnglish(languageId) ? kHotKeyHelpEnglish : kHotKeyHelpRussian;
}

QString defaultsMessage(int languageId)
{
    return isEnglish(languageId) ? QStringLiteral("Defaults") : QStringLiteral("Значения по умолчанию");
}

QString languageName(int languageId)
{
    return isEnglish(languageId) ? QStringLiteral("English ") : QStringLiteral("Русский язык");
}

QString buttonText(int languageId)
{
    return isEnglish(languageId) ? QStringLiteral("En") : QStringLiteral("Ru");
}

}  // namespace LanguageTexts
