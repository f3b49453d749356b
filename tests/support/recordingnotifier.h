#pragma once

#include "usernotifier.h"

#include <QList>
#include <QString>

// Keeps every text the model showed the person, in order, so a test can
// assert exactly what was said and how.
class RecordingNotifier : public UserNotifier {
public:
    enum Kind { Message, Error, Confirm, Toast, Flash };
    struct Entry {
        Kind kind;
        QString text;
        bool operator==(const Entry& other) const { return kind == other.kind && text == other.text; }
    };

    void showMessage(const QString& text) override { entries.append({Message, text}); }
    void showError(const QString& text) override { entries.append({Error, text}); }
    bool confirm(const QString& text) override
    {
        entries.append({Confirm, text});
        return confirmAnswer;
    }
    void showToast(const QString& text) override { entries.append({Toast, text}); }
    void flashToast(const QString& text) override { entries.append({Flash, text}); }
    void processEvents() override { ++eventLoopRuns; }

    // Texts of one kind, in order.
    QStringList texts(Kind kind) const
    {
        QStringList out;
        for (const Entry& e : entries)
            if (e.kind == kind)
                out.append(e.text);
        return out;
    }
    void clear() { entries.clear(); eventLoopRuns = 0; }

    QList<Entry> entries;
    bool confirmAnswer = true;
    int eventLoopRuns = 0;
};
