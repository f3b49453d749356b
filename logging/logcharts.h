#pragma once

#include "logchartdata.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRectF>
#include <QString>

class LogChartView;
class QAbstractButton;
class QChartView;
class QCategoryAxis;
class QChart;
class QLineSeries;
class QScrollArea;
class QToolButton;
class QValueAxis;
class Table;
class TZantoLog;

// The log page's charts: ChartLog with the thirteen series of a recording,
// the hidden ChartO2 with the two oxygen series, the toggle buttons, the
// tap memory and the double tap that writes a point of the correction
// table. The window creates it after the logger and runs SetUpLogCharts
// once:
//
//   logCharts = new LogCharts(*Logger, this);
//   logCharts->SetUpLogCharts(Log->ChartLog, Log->ChartO2, Tables.get(), Log->Log_VScrlBox);
//
// From then on the logger's redraw requests (stop of logging, load of a
// file) redraw both charts. The table store and the widgets belong to the
// window; one gone first is skipped.
class LogCharts : public QObject {
    Q_OBJECT
public:
    // Toggle buttons: 13 series buttons and the markers button, 70 x 25,
    // stacked 33 apart from y = 8, 5 from the box's left edge.
    static constexpr int ButtonCount = LogChartData::SeriesCount + 1;
    static constexpr int MarkersButton = LogChartData::SeriesCount;
    static constexpr int ButtonWidth = 70;
    static constexpr int ButtonHeight = 25;
    static constexpr int ButtonLeft = 5;
    static constexpr int ButtonTop = 8;
    static constexpr int ButtonPitch = 33;

    static constexpr int PenWidth = 2;
    static constexpr qreal MarkerSize = 5;
    static constexpr QRgb Background = 0xFF000000;
    static constexpr QRgb AxisLineColour = 0xFF808080;
    static constexpr QRgb AxisLabelColour = 0xFFC0C0C0;
    // The log chart's left axis as set up.
    static constexpr double LeftMin = 0;
    static constexpr double LeftMax = 5;
    // A tap this close (pixels) to a drawn point shows its hint.
    static constexpr qreal HintDistance = 6;

    explicit LogCharts(TZantoLog& logger, QObject* parent = nullptr);
    ~LogCharts() override;

    // Styles both charts, creates the 13 + 2 series and the toggle buttons,
    // empties the recording and binds the presses, double taps, zooms and
    // scrolls of ChartLog. The logger's dashboard timer is its own.
    void SetUpLogCharts(LogChartView* chartLog, QChartView* chartO2, Table* table, QScrollArea* buttonBox);

    // chartStep := count / 430, at least 1 (the logger keeps it).
    void SetChartStep(qsizetype count);
    // Refills both charts with the logger's window widened by `step`,
    // every step-th sample, and shows the whole; nothing while logging runs
    // or for fewer than 118 samples.
    void RedrawLogCharts(qsizetype step);
    // After an undo or redo of the table: the "Tab" series follows, the
    // zoom and scroll stay as they are.
    void RedrawAfterTableChange();
    // Puts the time labels on `axis` for its current range: whole steps of
    // time as far apart as the plot's width lets them stand without
    // overlapping.
    void RelabelTimeAxis(QCategoryAxis* axis, const QChart* chart);

    // A toggle button was clicked (tag = its index).
    void ToggleButtonClick(int tag);
    // Mouse-down on ChartLog at a viewport pixel.
    void ChartLogMouseDown(QPoint pos, Qt::MouseButton button);
    // Double tap on ChartLog: writes the table point under the last press.
    void ChartLogDoubleTap();
    // Zoom, unzoom and scroll of ChartLog: ChartO2 shows the same time span.
    void SyncO2TimeAxis();

    // The plot area of ChartLog in chart pixels, from the corner positions
    // of (bottom min, left min) and (bottom max, left max).
    QRectF plotCorners() const;

    // Tap memory: pixels of the last mouse-down (truncated) and its button.
    int tapX = 0;
    int tapY = 0;
    Qt::MouseButton tapButton = Qt::NoButton;
    // Whether the last mouse-down found a point and showed its hint, and
    // the hint's text.
    bool hintShown = false;
    QString hintText;

    QLineSeries* logSeries(int index) const { return logList.value(index); }
    QLineSeries* o2Series(int index) const { return o2List.value(index); }
    const QList<QToolButton*>& toggleButtons() const { return buttons; }
    QCategoryAxis* logTimeAxis() const { return logBottom; }
    QValueAxis* logValueAxis() const { return logLeft; }
    QCategoryAxis* o2TimeAxis() const { return o2Bottom; }
    QValueAxis* o2ValueAxis() const { return o2Left; }
    // How many redraws have refilled the charts.
    int redrawCount() const { return redraws; }

private:
    void styleChart(QChartView* view);
    QLineSeries* addSeries(QChartView* view, const char* title, QRgb colour, bool markers);
    void createButtons(QScrollArea* box);
    void findHint(QPoint pos);
    // RedrawLogCharts; keepView leaves the axes' ranges as they are.
    void refill(qsizetype step, bool keepView);
    void watchTimeAxis(QCategoryAxis* axis, QChart* chart);

    TZantoLog& logger;
    QPointer<LogChartView> chartLog;
    QPointer<QChartView> chartO2;
    QPointer<Table> table;
    QList<QLineSeries*> logList;
    QList<QLineSeries*> o2List;
    QList<QToolButton*> buttons;
    QCategoryAxis* logBottom = nullptr;
    QValueAxis* logLeft = nullptr;
    QCategoryAxis* o2Bottom = nullptr;
    QValueAxis* o2Left = nullptr;
    LogChartData::Points points;
    int redraws = 0;
    bool relabelling = false;
};
