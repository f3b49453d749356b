#include "chartpanel.h"

#include <QChart>
#include <QValueAxis>

namespace {

QValueAxis* axis(QChart* chart, Qt::Alignment side)
{
    auto* a = new QValueAxis(chart);
    a->setRange(0, 110);
    a->setLabelFormat("%d");
    a->setLabelsColor(QColor(0x8a, 0x97, 0xa8));
    a->setGridLineColor(QColor(0x24, 0x30, 0x3f));
    a->setMinorGridLineColor(QColor(0x1a, 0x23, 0x2e));
    a->setLinePenColor(QColor(0x3c, 0x4a, 0x5c));
    a->setMinorTickCount(1);
    chart->addAxis(a, side);
    return a;
}

}  // namespace

// The view's own default chart would be released, not deleted, by setChart:
// hand it ours from the start.
ChartPanel::ChartPanel(const QString& name, QWidget* parent) : QChartView(new QChart, parent)
{
    setObjectName(name);
    QChart* chart = this->chart();
    chart->setBackgroundBrush(QColor(0x10, 0x16, 0x1f));
    chart->setBackgroundPen(QPen(QColor(0x2c, 0x3a, 0x4c), 1));
    chart->setBackgroundRoundness(10);
    chart->setPlotAreaBackgroundVisible(false);
    chart->legend()->hide();
    chart->setMargins(QMargins(2, 2, 2, 2));
    axis(chart, Qt::AlignBottom);
    axis(chart, Qt::AlignLeft);
    setRenderHint(QPainter::Antialiasing);
    setFrameShape(QFrame::NoFrame);
    setStyleSheet("background: transparent;");
}
