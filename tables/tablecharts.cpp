#include "tablecharts.h"

#include "dashboardchartview.h"
#include "tablechartview.h"

TableCharts::TableCharts(Table& table)
    : store(table)
{
}

TableCharts::~TableCharts()
{
    store.setView(nullptr);
}

void TableCharts::SetUpTableView(TableChartView* chart, bool showTrained, const CurveTitle& first,
                                 bool secondShowTrained, const CurveTitle& secondTitle, SettingsBoxes* boxes,
                                 Table::Callback onStatus, Table::Callback onDone)
{
    tableWidget = chart;
    second = secondTitle;
    secondTrained = secondShowTrained;
    if (chart)
        chart->setUp(store, first.name, first.colour, showTrained);
    store.SetUpTableView(boxes, this, showTrained, std::move(onStatus), std::move(onDone));
}

void TableCharts::SetUpDashboardChart(DashboardChartView* chart)
{
    dashWidget = chart;
    if (chart && tableWidget)
        chart->setUp(*tableWidget);
    store.SetUpDashboardChart();
}

void TableCharts::redrawTableChart(const Table& table)
{
    if (tableWidget)
        tableWidget->redraw(table);
}

void TableCharts::redrawDashboardChart(const Table& table)
{
    if (dashWidget)
        dashWidget->redraw(table);
}
