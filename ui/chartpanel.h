#pragma once

#include <QChartView>

// The place of one of the window's charts. The chart component's mouse
// settings live here: which button zooms and which scrolls.
class ChartPanel : public QChartView {
    Q_OBJECT
public:
    ChartPanel(const QString& name, QWidget* parent);

    Qt::MouseButton zoomButton = Qt::LeftButton;
    Qt::MouseButton scrollButton = Qt::RightButton;
};
