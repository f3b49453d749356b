#pragma once

class QStackedWidget;
class QWidget;

// The main window's page control "MTabControl" with its five pages
// "TabItem1".."TabItem5": Bluetooth, table, log, dashboard, more.
QStackedWidget* createPageStack(QWidget* parent);
