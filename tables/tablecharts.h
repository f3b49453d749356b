#pragma once

#include "table.h"
#include "tableview.h"

#include <QColor>
#include <QPointer>
#include <QString>

class DashboardChartView;
class SettingsBoxes;
class TableChartView;

// The store's two charts behind its TableView seam, and the two set-up
// steps the window runs at start-up, in this order:
//
//   TableCharts views(table);
//   views.SetUpTableView(tableChart, true, {"Tab1", QColor(0xFFFF0000)}, true, {"Tab2", QColor(0xFF0000FF)},
//                        &boxes, onStatus, onDone);
//   views.SetUpDashboardChart(dashChart);
//
// Create it after the store and destroy it before the store: the store
// keeps a pointer to it, which the destructor takes back.
class TableCharts : public TableView {
public:
    struct CurveTitle {
        QString name;
        QColor colour;
    };

    explicit TableCharts(Table& table);
    ~TableCharts() override;
    TableCharts(const TableCharts&) = delete;
    TableCharts& operator=(const TableCharts&) = delete;

    // The chart part (axes, background, series, selectors, pointer
    // handlers), then the store's part: array sizes, setting defaults in the
    // boxes, a redraw and a fresh history. Until SetUpDashboardChart the
    // dashboard is not drawn. The second table's title, colour and flag are
    // kept for when the chart shows it; today it draws the first table only.
    void SetUpTableView(TableChartView* chart, bool showTrained, const CurveTitle& first, bool secondShowTrained,
                        const CurveTitle& second, SettingsBoxes* boxes, Table::Callback onStatus,
                        Table::Callback onDone);
    // Creates the dashboard's nine series, zeroes the operating point and
    // draws it.
    void SetUpDashboardChart(DashboardChartView* chart);

    void redrawTableChart(const Table& table) override;
    void redrawDashboardChart(const Table& table) override;

    TableChartView* tableChart() const { return tableWidget; }
    DashboardChartView* dashboardChart() const { return dashWidget; }
    const CurveTitle& secondCurve() const { return second; }
    bool secondShowsTrained() const { return secondTrained; }

private:
    Table& store;
    // The widgets belong to the window; a chart gone first is skipped.
    QPointer<TableChartView> tableWidget;
    QPointer<DashboardChartView> dashWidget;
    CurveTitle second;
    bool secondTrained = false;
};
