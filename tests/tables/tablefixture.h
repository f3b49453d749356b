#pragma once

#include "recordingnotifier.h"
#include "settingsboxes.h"
#include "table.h"
#include "tableview.h"

#include <QList>
#include <QStringList>

// Counts the redraws the store asks for.
struct CountingView : TableView {
    void redrawTableChart(const Table&) override { ++tableRedraws; }
    void redrawDashboardChart(const Table&) override { ++dashboardRedraws; }
    int tableRedraws = 0;
    int dashboardRedraws = 0;
};

// A store set up the way the main window does it, with text boxes, a
// counting view and callbacks that keep their texts.
struct TableFixture {
    TableFixture()
    {
        table.SetUpTableView(
            &boxes, &view, true, [this](const QString& t) { statuses.append(t); },
            [this](const QString& t) { dones.append(t); });
    }

    // The six arrays of the store, for comparing whole states.
    TBufUndoRedo state() const
    {
        return {table.tab, table.tab2, table.marks, table.marks2, table.learned, table.trained};
    }

    // The curve 0..255 only.
    QList<int> curve() const { return table.tab.mid(0, Table::CurveSize); }

    void setCurve(const QList<int>& values)
    {
        for (int i = 0; i < Table::CurveSize; ++i)
            table.tab[i] = values[i];
    }

    RecordingNotifier notifier;
    TextSettingsBoxes boxes;
    CountingView view;
    QStringList statuses;
    QStringList dones;
    Table table{notifier};
};

// A curve that no operation produces by accident: it shows which entries an
// operation left alone.
inline QList<int> markerCurve()
{
    QList<int> curve(Table::CurveSize);
    for (int i = 0; i < Table::CurveSize; ++i)
        curve[i] = (i * 37 + 11) % 200 + 3;
    return curve;
}

inline QList<int> oneToOneCurve()
{
    QList<int> curve(Table::CurveSize);
    for (int i = 0; i < Table::CurveSize; ++i)
        curve[i] = i;
    return curve;
}
