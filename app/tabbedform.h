#pragma once

#include <QWidget>

class QStackedWidget;

// The main window: a narrow touch window holding a stack of five pages whose
// tab headers are hidden; the program switches pages itself.
class TTabbedForm : public QWidget {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 394;
    static constexpr int ClientHeight = 689;
    static constexpr int DashboardPage = 3;

    explicit TTabbedForm(QWidget* parent = nullptr);

    QStackedWidget* MTabControl = nullptr;

private:
    void FormCreate();
};
