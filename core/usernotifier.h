#pragma once

#include <QString>

// The one way model code speaks to the person. The main window implements it
// with real widgets, the tests with a recorder, the command-line tool with
// standard error. Called on the main thread only: background threads hand
// their calls over to it first.
class UserNotifier {
public:
    virtual ~UserNotifier() = default;

    // Modal message box; returns when the person has closed it.
    virtual void showMessage(const QString& text) = 0;
    // The application's standard error dialog for an exception's text.
    virtual void showError(const QString& text) = 0;
    // OK/Cancel question; true for OK.
    virtual bool confirm(const QString& text) = 0;
    // A toast that stays until a later fade.
    virtual void showToast(const QString& text) = 0;
    // A toast that fades out shortly after it appears.
    virtual void flashToast(const QString& text) = 0;
    // Lets the event loop run once, so that what was just shown is drawn.
    virtual void processEvents() = 0;
};
