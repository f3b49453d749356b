#include "logcharts.h"

#include "logcharttexts.h"
#include "logchartview.h"
#include "logtimeaxis.h"
#include "table.h"
#include "zantolog.h"

#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QFontMetricsF>
#include <QLegendMarker>
#include <QLineSeries>
#include <QScrollArea>
#include <QToolButton>
#include <QToolTip>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <exception>
#include <utility>

using namespace LogChartData;

namespace {

void styleAxis(QAbstractAxis* axis)
{
    axis->setLinePenColor(QColor::fromRgba(LogCharts::AxisLineColour));
    axis->setLabelsColor(QColor::fromRgba(LogCharts::AxisLabelColour));
    axis->setTitleBrush(QColor::fromRgba(LogCharts::AxisLabelColour));
    axis->setGridLineColor(QColor(0x80, 0x80, 0x80, 70));
}

QCategoryAxis* timeAxis(QChart* chart)
{
    // Labels at whole steps of time, written h:m:s:ms; the axis keeps them
    // right for whatever range a zoom or scroll gives it.
    auto* axis = new QCategoryAxis(chart);
    styleAxis(axis);
    axis->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    // The bottom axis title is empty and hidden.
    axis->setTitleText(QString());
    axis->setTitleVisible(false);
    QFont font = axis->titleFont();
    font.setPointSize(12);
    axis->setTitleFont(font);
    const qreal origin = timeOrigin();
    LogChartView::setAxisRange(axis, origin, origin + 1000);
    return axis;
}

}  // namespace

LogCharts::LogCharts(TZantoLog& log, QObject* parent) : QObject(parent), logger(log)
{
    // A new recording or a loaded file: the whole of it.
    connect(&logger, &TZantoLog::redrawRequested, this, &LogCharts::RedrawLogCharts);
}

void LogCharts::RelabelTimeAxis(QCategoryAxis* axis, const QChart* chart)
{
    if (!axis || !chart || relabelling)
        return;
    relabelling = true;
    const qreal min = axis->min();
    const qreal max = axis->max();
    const qreal span = std::max<qreal>(max - min, 0);
    // Labels no closer than the widest one plus a gap.
    const QFontMetricsF metrics(axis->labelsFont());
    const qreal widest = metrics.horizontalAdvance(LogTimeAxis::label(qint64(max) / 1000 * 1000 + 888));
    const qreal room = widest + metrics.horizontalAdvance(QStringLiteral("MM"));
    const qreal width = chart->plotArea().width();
    const double minimumMs = width > 0 ? span * room / width : span;
    const qint64 step = LogTimeAxis::step(minimumMs, span);
    const QList<qint64> ticks = LogTimeAxis::ticks(min, max, step);
    QStringList labels;
    for (qint64 t : ticks)
        labels.append(LogTimeAxis::label(t - qint64(timeOrigin())));
    // The same labels again (a layout pass) leave the axis alone.
    if (labels != axis->categoriesLabels() || axis->startValue() != min) {
        for (const QString& label : axis->categoriesLabels())
            axis->remove(label);
        axis->setStartValue(min);
        for (qsizetype i = 0; i < ticks.size(); ++i)
            axis->append(labels[i], qreal(ticks[i]));
    }
    relabelling = false;
}

LogCharts::~LogCharts() = default;

void LogCharts::styleChart(QChartView* view)
{
    QChart* c = view->chart();
    c->removeAllSeries();
    for (QAbstractAxis* axis : c->axes()) {
        c->removeAxis(axis);
        delete axis;
    }
    c->setBackgroundBrush(QColor::fromRgba(Background));
    c->setPlotAreaBackgroundVisible(false);
    c->setBackgroundRoundness(0);
    c->setTitle(QString());
    c->setMargins(QMargins(2, 2, 6, 2));
    c->setAnimationOptions(QChart::NoAnimation);
    c->legend()->hide();
    view->setBackgroundBrush(QColor::fromRgba(Background));
    view->setCacheMode(QGraphicsView::CacheBackground);
}

QLineSeries* LogCharts::addSeries(QChartView* view, const char* title, QRgb colour, bool markers)
{
    QChart* c = view->chart();
    auto* s = new QLineSeries(c);
    s->setName(QString::fromUtf8(title));
    QPen pen(QColor::fromRgba(colour));
    pen.setWidth(PenWidth);
    s->setPen(pen);
    if (markers) {
        s->setMarkerSize(MarkerSize);
        s->setPointsVisible(false);
    }
    c->addSeries(s);
    const auto axes = c->axes();
    for (QAbstractAxis* axis : axes)
        s->attachAxis(axis);
    return s;
}

void LogCharts::SetUpLogCharts(LogChartView* log, QChartView* o2, Table* store, QScrollArea* box)
{
    chartLog = log;
    chartO2 = o2;
    table = store;
    logList.clear();
    o2List.clear();

    if (log) {
        styleChart(log);
        QChart* c = log->chart();
        logBottom = timeAxis(c);
        logLeft = new QValueAxis(c);
        styleAxis(logLeft);
        logLeft->setRange(LeftMin, LeftMax);
        logLeft->setTickCount(6);
        logLeft->setTitleText(QString());
        c->addAxis(logBottom, Qt::AlignBottom);
        c->addAxis(logLeft, Qt::AlignLeft);
        watchTimeAxis(logBottom, c);
        for (int i = 0; i < SeriesCount; ++i)
            logList.append(addSeries(log, LogChartTexts::SeriesTitles[i], SeriesColours[size_t(i)], true));
        // The legend (hidden) carries the legend texts.
        const auto markers = c->legend()->markers();
        for (int i = 0; i < markers.size() && i < SeriesCount; ++i)
            markers[i]->setLabel(QString::fromUtf8(LogChartTexts::LegendTexts[i]));
        log->setHomeRanges(timeOrigin(), timeOrigin() + 1000, LeftMin, LeftMax);

        connect(log, &LogChartView::pressed, this, &LogCharts::ChartLogMouseDown, Qt::UniqueConnection);
        connect(log, &LogChartView::doubleTapped, this, &LogCharts::ChartLogDoubleTap, Qt::UniqueConnection);
        connect(log, &ZoomScrollChartView::viewChanged, this, &LogCharts::SyncO2TimeAxis, Qt::UniqueConnection);
        connect(log, &ZoomScrollChartView::viewReset, this, &LogCharts::SyncO2TimeAxis, Qt::UniqueConnection);
    }
    if (o2) {
        styleChart(o2);
        QChart* c = o2->chart();
        o2Bottom = timeAxis(c);
        o2Left = new QValueAxis(c);
        styleAxis(o2Left);
        o2Left->setTitleText(QString::fromUtf8(LogChartTexts::O2AxisTitle));
        o2Left->setRange(0, 5);
        c->addAxis(o2Bottom, Qt::AlignBottom);
        c->addAxis(o2Left, Qt::AlignLeft);
        watchTimeAxis(o2Bottom, c);
        o2List.append(addSeries(o2, LogChartTexts::SeriesTitles[O2], O2SeriesColours[O2Raw], false));
        o2List.append(addSeries(o2, LogChartTexts::SeriesTitles[O2sm], O2SeriesColours[O2Smooth], false));
    }

    createButtons(box);

    logger.ClearLog();
    logger.loggingActive = false;
    logger.hasData = false;
}

void LogCharts::watchTimeAxis(QCategoryAxis* axis, QChart* chart)
{
    const auto relabel = [this, axis, chart] { RelabelTimeAxis(axis, chart); };
    connect(axis, &QValueAxis::rangeChanged, this, relabel);
    connect(chart, &QChart::plotAreaChanged, this, relabel);
    relabel();
}

void LogCharts::createButtons(QScrollArea* box)
{
    qDeleteAll(buttons);
    buttons.clear();
    if (!box)
        return;
    QWidget* content = box->widget();
    if (!content) {
        content = new QWidget;
        content->setObjectName("Log_VScrlBoxContent");
        box->setWidget(content);
    }
    content->setMinimumSize(ButtonLeft + ButtonWidth, ButtonTop + ButtonPitch * ButtonCount);
    content->resize(content->minimumSize());
    for (int i = 0; i < ButtonCount; ++i) {
        const bool markers = i == MarkersButton;
        auto* b = new QToolButton(content);
        b->setObjectName(QStringLiteral("LogSeries%1_sbtn").arg(i));
        b->setProperty("styleLookup", QString::fromUtf8(LogChartTexts::ToggleButtonStyle));
        b->setText(QString::fromUtf8(markers ? LogChartTexts::MarkersButton : LogChartTexts::SeriesTitles[i]));
        b->setCheckable(true);
        b->setChecked(!markers);
        b->setFocusPolicy(Qt::NoFocus);
        b->setGeometry(ButtonLeft, ButtonTop + ButtonPitch * i, ButtonWidth, ButtonHeight);
        // Dark like the chart; the series' colour on the button tells which
        // line it is, and a released button greys out with its line.
        const QString colour =
            markers ? QStringLiteral("#c0c0c0") : QColor::fromRgba(SeriesColours[size_t(i)]).name();
        b->setStyleSheet(QStringLiteral("QToolButton { background: #1c1c1c; color: #6a6a6a; border: 1px solid #3a3a3a;"
                                        " border-radius: 4px; font-size: 11px; }"
                                        " QToolButton:checked { background: #2a2a2a; color: %1; border-color: %1; }")
                             .arg(colour));
        b->show();
        connect(b, &QToolButton::clicked, this, [this, i] { ToggleButtonClick(i); });
        buttons.append(b);
    }
    // The buttons lie over the chart's left edge; the plot starts right of
    // them so that they hide no line.
    box->raise();
    if (chartLog && box->parentWidget() == chartLog->parentWidget()) {
        const int covered = box->geometry().left() + ButtonLeft + ButtonWidth + 4 - chartLog->geometry().left();
        QMargins margins = chartLog->chart()->margins();
        margins.setLeft(std::max(margins.left(), covered));
        chartLog->chart()->setMargins(margins);
    }
}

void LogCharts::SetChartStep(qsizetype count)
{
    logger.SetChartStep(count);
}

void LogCharts::RedrawLogCharts(qsizetype step)
{
    refill(step, false);
}

void LogCharts::refill(qsizetype step, bool keepView)
{
    if (logger.loggingActive)
        return;
    // One consistent copy (shared, not copied) of the recording.
    const LogColumns columns = logger.store().logColumns();
    const DrawRange range = drawRange(columns.count(), logger.windowStart, logger.windowEnd, step);
    if (!range.draw)
        return;

    const qreal origin = timeOrigin();
    buildPoints(columns, table.data(), range, origin, points);

    // The time axis runs from 0 to the last point drawn.
    qreal end = origin + 1000;
    if (!points.log[Maf].isEmpty())
        end = std::max(end, points.log[Maf].last().x());

    for (QChartView* view : {static_cast<QChartView*>(chartLog.data()), chartO2.data()}) {
        if (view)
            view->setUpdatesEnabled(false);
    }
    if (chartLog) {
        for (int i = 0; i < logList.size(); ++i)
            logList[i]->replace(points.log[size_t(i)]);
        if (!keepView) {
            LogChartView::setAxisRange(logBottom, origin, end);
            logLeft->setRange(LeftMin, LeftMax);
        }
        chartLog->setHomeRanges(origin, end, LeftMin, LeftMax);
    }
    if (chartO2) {
        for (int i = 0; i < o2List.size(); ++i)
            o2List[i]->replace(points.o2[size_t(i)]);
        if (!keepView)
            LogChartView::setAxisRange(o2Bottom, origin, end);
        // The oxygen chart's value axis follows its data.
        double low = 0;
        double high = 0;
        bool any = false;
        for (const auto& list : points.o2) {
            for (const QPointF& p : list) {
                low = any ? std::min(low, p.y()) : p.y();
                high = any ? std::max(high, p.y()) : p.y();
                any = true;
            }
        }
        if (!any || high - low < 0.1) {
            low -= 0.05;
            high += 0.05;
        }
        o2Left->setRange(low, high);
    }
    logger.hasData = true;
    ++redraws;
    for (QChartView* view : {static_cast<QChartView*>(chartLog.data()), chartO2.data()}) {
        if (view) {
            view->setUpdatesEnabled(true);
            view->viewport()->update();
        }
    }
}

void LogCharts::RedrawAfterTableChange()
{
    // The person may have zoomed in to place points: the view stays.
    if (logger.hasData)
        refill(logger.chartStep, true);
}

void LogCharts::ToggleButtonClick(int tag)
{
    if (tag < 0 || tag >= buttons.size())
        return;
    const bool pressed = buttons[tag]->isChecked();
    if (tag != MarkersButton) {
        if (QLineSeries* s = logList.value(tag))
            s->setVisible(pressed);
        return;
    }
    for (QLineSeries* s : std::as_const(logList))
        s->setPointsVisible(pressed);
}

void LogCharts::ChartLogMouseDown(QPoint pos, Qt::MouseButton button)
{
    if (!logger.hasData)
        return;
    tapX = pos.x();
    tapY = pos.y();
    tapButton = button;
    findHint(pos);
}

void LogCharts::findHint(QPoint pos)
{
    hintShown = false;
    hintText.clear();
    if (!chartLog)
        return;
    const qsizetype n = logger.store().sampleCount();
    const QPointF at = chartLog->chartPosition(pos);
    QChart* c = chartLog->chart();
    for (QLineSeries* s : std::as_const(logList)) {
        if (!s->isVisible() || s->count() == 0)
            continue;
        // The points are in time order: the nearest one in time is the
        // only candidate under the cursor.
        const qreal x = c->mapToValue(at, s).x();
        const QList<QPointF> pts = s->points();
        const auto it = std::lower_bound(pts.cbegin(), pts.cend(), x,
                                         [](const QPointF& p, qreal v) { return p.x() < v; });
        qsizetype i = it - pts.cbegin();
        if (i >= pts.size() || (i > 0 && x - pts[i - 1].x() < pts[i].x() - x))
            --i;
        if (i < 1 || i > n - TailSamples)
            continue;
        const QPointF screen = c->mapToPosition(pts[i], s);
        if (std::hypot(screen.x() - at.x(), screen.y() - at.y()) > HintDistance)
            continue;
        hintShown = true;
        hintText = QStringLiteral("%1: %2").arg(s->name()).arg(pts[i].y());
        QToolTip::showText(chartLog->viewport()->mapToGlobal(pos), hintText, chartLog->viewport());
        return;
    }
    QToolTip::hideText();
}

QRectF LogCharts::plotCorners() const
{
    if (!chartLog || logList.isEmpty())
        return QRectF();
    qreal xMin = 0, xMax = 0;
    if (!LogChartView::axisRange(logBottom, xMin, xMax))
        return QRectF();
    QChart* c = chartLog->chart();
    QLineSeries* maf = logList[Maf];
    const QPointF low = c->mapToPosition(QPointF(xMin, logLeft->min()), maf);
    const QPointF high = c->mapToPosition(QPointF(xMax, logLeft->max()), maf);
    return QRectF(QPointF(low.x(), high.y()), QPointF(high.x(), low.y()));
}

void LogCharts::ChartLogDoubleTap()
{
    if (!logger.hasData || !chartLog || !table || logList.isEmpty())
        return;
    const QRectF area = plotCorners();
    if (!area.isValid())
        return;
    const QPointF tap = chartLog->chartPosition(QPoint(tapX, tapY));
    if (tap.x() < area.left() || tap.x() > area.right() || tap.y() < area.top() || tap.y() > area.bottom())
        return;

    qreal xMin = 0, xMax = 0;
    LogChartView::axisRange(logBottom, xMin, xMax);
    const qreal yMin = logLeft->min();
    const qreal yMax = logLeft->max();
    const double value =
        std::nearbyint(yMin + (area.bottom() - tap.y()) / area.height() * (yMax - yMin));
    const qreal time = std::max(xMin + (tap.x() - area.left()) / area.width() * (xMax - xMin), timeOrigin());
    tapX = 0;

    // The sample nearest in time; a time halfway between two goes to the
    // later one.
    const QList<QPointF> maf = logList[Maf]->points();
    qsizetype chosen = -1;
    for (qsizetype i = 0; i + 1 < maf.size(); ++i) {
        const qreal middle = (maf[i].x() + maf[i + 1].x()) / 2;
        if (maf[i].x() <= time && middle > time) {
            chosen = i;
            break;
        }
        if (maf[i + 1].x() >= time && middle <= time) {
            chosen = i + 1;
            break;
        }
    }
    if (chosen < 0)
        return;
    const int index = std::clamp(int(maf[chosen].y()), 0, 255);
    const int written = int(std::clamp(value, 0.0, 255.0));
    table->SetPoint(index, written, 1);
    refill(logger.chartStep, true);
}

void LogCharts::SyncO2TimeAxis()
{
    try {
        if (!chartLog || !chartO2 || !o2Bottom)
            return;
        qreal min = 0, max = 0;
        if (LogChartView::axisRange(logBottom, min, max))
            LogChartView::setAxisRange(o2Bottom, min, max);
    } catch (const std::exception&) {
        // A failed follow-up only leaves the oxygen chart where it was.
    } catch (...) {
    }
}
