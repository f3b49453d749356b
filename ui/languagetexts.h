#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The window's texts in both languages. LanguageId 1 is English, any other
// value Russian. Controls are named by their objectName.

struct ControlText {
    const char* control;
    QString english;
    QString russian;
};

struct ComboItems {
    const char* comboBox;
    QStringList english;
    QStringList russian;
};

namespace LanguageTexts {

constexpr bool isEnglish(int languageId) { return languageId == 1; }

// Texts of single controls (labels, buttons, radio buttons).
const QList<ControlText>& controlTexts();
// Item lists that replace a combo box's list.
const QList<ComboItems>& comboItems();
// The 18 lines of the hot-key help, empty lines included.
const QStringList& hotKeyHelp(int languageId);
// The defaults button's message.
QString defaultsMessage(int languageId);
// The toast naming the language just switched to.
QString languageName(int languageId);
// The language button's text: "En" or "Ru".
QString buttonText(int languageId);

}  // namespace LanguageTexts
