#pragma once

#include "usernotifier.h"

#include <QString>

#include <cstdio>

// The person's side of the model for the command-line tool: message boxes
// and toasts become lines on standard error. It remembers whether a message
// box was shown, because for most commands that is how the model reports a
// failure.
class StderrNotifier : public UserNotifier {
public:
    explicit StderrNotifier(std::FILE* stream = stderr) : out(stream) {}

    void showMessage(const QString& text) override;
    void showError(const QString& text) override;
    // Nobody is there to answer: a question is printed and refused.
    bool confirm(const QString& text) override;
    void showToast(const QString& text) override;
    void flashToast(const QString& text) override;
    void processEvents() override;

    // A message box or error was shown since the last reset.
    bool messageShown() const { return messages > 0; }
    void resetMessages() { messages = 0; }

    // Prints one line of the tool's own.
    void line(const QString& text);

private:
    std::FILE* out;
    int messages = 0;
};
