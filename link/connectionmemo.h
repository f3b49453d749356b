#pragma once

#include <QString>

// The connection memo (`TextConnection`) as the link sees it. The main window
// implements it with its memo control; tests record every text set. Called on
// the main thread only.
class ConnectionMemo {
public:
    virtual ~ConnectionMemo() = default;
    virtual QString text() const = 0;
    virtual void setText(const QString& text) = 0;
};
