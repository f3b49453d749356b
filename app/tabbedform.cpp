#include "tabbedform.h"

#include "pagestack.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStackedWidget>
#include <QVBoxLayout>

TTabbedForm::TTabbedForm(QWidget* parent) : QWidget(parent)
{
    setObjectName("TTabbedForm");
    setWindowTitle("ZantoTPS");
    FormCreate();
}

void TTabbedForm::FormCreate()
{
    MTabControl = createPageStack(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(MTabControl);
    MTabControl->setCurrentIndex(DashboardPage);

    resize(ClientWidth, ClientHeight);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}
