// The two languages: the texts of the language tables put into the window's
// controls, found by the names the layout gives them.
#include "tabbedform.h"

#include "filebrowser.h"
#include "languagetexts.h"
#include "otherpages.h"
#include "roundbutton.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QtDebug>

namespace {

// Sets the text the person sees on a label, a push or radio button, or a
// round button (through its text child). False when the widget shows no text.
bool setShownText(QWidget* control, const QString& text)
{
    if (auto* label = qobject_cast<QLabel*>(control)) {
        label->setText(text);
        return true;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->setText(text);
        return true;
    }
    if (auto* round = qobject_cast<RoundButton*>(control)) {
        if (ButtonText* inner = round->text()) {
            inner->setText(text);
            return true;
        }
    }
    return false;
}

}  // namespace

void TTabbedForm::ApplyLanguage(quint8 id)
{
    const bool english = LanguageTexts::isEnglish(id);

    for (const ControlText& entry : LanguageTexts::controlTexts()) {
        auto* control = findChild<QWidget*>(QString::fromLatin1(entry.control));
        // The layout lacking a listed control is a fault of the layout; the
        // other texts still switch.
        if (!control || !setShownText(control, english ? entry.english : entry.russian))
            qWarning("ApplyLanguage: no text control named %s", entry.control);
    }

    for (const ComboItems& entry : LanguageTexts::comboItems()) {
        auto* box = findChild<QComboBox*>(QString::fromLatin1(entry.comboBox));
        if (!box) {
            qWarning("ApplyLanguage: no combo box named %s", entry.comboBox);
            continue;
        }
        box->clear();
        box->addItems(english ? entry.english : entry.russian);
        // Filling an empty box selects its first item; the person has not
        // chosen one in this language yet.
        box->setCurrentIndex(-1);
    }

    // The defaults button reads its message by LanguageId, which every caller
    // sets to the language applied here (LanguageTexts::defaultsMessage).

    QPlainTextEdit* memo = Hotkeys->Memo1;
    memo->clear();
    memo->setPlainText(LanguageTexts::hotKeyHelp(id).join(QLatin1Char('\n')));

    // The file browser's titles and cancel text follow the language.
    FileDialogCaptions = TFile_frm::languageCaptions(english ? 1 : 0);

    // The button shows the language in force.
    Bar->Lang_txt->setText(LanguageTexts::buttonText(id));
}
