#pragma once

#include <QStringList>

// The hot-key help the layout shows in its memo before a language is applied.
namespace HotkeyHelp {
inline QStringList russian()
{
    return {"Горячие клавиши:", "", "'S'- Старт и стоп панели приборов", "'Пробел'- Маркер лога", "", "",
            "'Стрелки Верх/Вниз'-Ручная коррекция", "'Q'- Коррекция=0", "'Enter'-Внести  коррекцию в таблицу",
            "'I'-Внести коррекцию в таблицу IAT", "'O'-Внести коррекцию в таблицу ECT", "",
            "'A'- Автокоррекция вкл-выкл", "'Z'-Аавтокоррекция сглаживания маф",
            "'W'-Сброс обученных точек в окне коррекции", "'E'-Сброс всех обученных точек", "",
            "'R'- Сброс конвертера"};
}
}  // namespace HotkeyHelp
