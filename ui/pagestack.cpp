#include "pagestack.h"

#include <QStackedWidget>

QStackedWidget* createPageStack(QWidget* parent)
{
    auto* stack = new QStackedWidget(parent);
    stack->setObjectName("MTabControl");
    for (int i = 1; i <= 5; ++i) {
        auto* page = new QWidget(stack);
        page->setObjectName(QStringLiteral("TabItem%1").arg(i));
        stack->addWidget(page);
    }
    return stack;
}
