#pragma once

class Table;

// What the store asks of its charts: refill them from the store's arrays.
// The store works without one; until the charts are attached a redraw does
// nothing.
class TableView {
public:
    virtual ~TableView() = default;

    virtual void redrawTableChart(const Table& table) = 0;
    virtual void redrawDashboardChart(const Table& table) = 0;
};
