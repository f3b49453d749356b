#include "table.h"

#include "tablesettings.h"
#include "tableview.h"

Table::Table(UserNotifier& notifier, QObject* parent)
    : QObject(parent)
    , userNotifier(notifier)
{
    // Sized from the start, so an operation reached before the view is set
    // up works on zeros instead of indexing an empty array.
    sizeArrays();
}

Table::~Table() = default;

void Table::sizeArrays()
{
    // Longer arrays are cut, shorter ones padded with zeros.
    tab.resize(TableSize);
    marks.resize(TableSize);
    marks2.resize(TableSize);
    learned.resize(CurveSize);
    trained.resize(CurveSize);
}

void Table::SetUpTableView(SettingsBoxes* settingsBoxes, TableView* tableView, bool showTrainedSeries,
                           Callback statusCallback, Callback doneCallback)
{
    boxes = settingsBoxes;
    view = tableView;
    showTrained = showTrainedSeries ? 1 : 0;
    onStatus = std::move(statusCallback);
    onDone = std::move(doneCallback);
    extrapolate = 0;
    dashReady = 0;
    selectedSeries = CurveSeries;

    sizeArrays();
    SettingsDefaults();
    SettingsToUi();
    RedrawTableChart();
    ResetUndo();
    PushUndo();
}

void Table::SetUpDashboardChart()
{
    corrValue = 0;
    begPoint = 0;
    endPoint = 0;
    sensorValue = 0;
    outValue = 0;
    dashReady = 1;
    RedrawDashboardChart();
}

int Table::GetPoint(int index) const
{
    if (index < 0 || index >= tab.size())
        return 0;
    return tab[index];
}

void Table::SetPoint(int index, int value, int anchor)
{
    if (index < 0 || index >= tab.size())
        return;
    recordOutsideChanges();
    tab[index] = value;
    if (anchor != 0) {
        // Only curve points are anchors of the interpolation.
        if (index < CurveSize)
            marks[index] = Mark;
        Interpolate(extrapolate, index);
    }
    RedrawTableChart();
    PushUndo();
}

void Table::SetExtrapolate(int on)
{
    extrapolate = on != 0 ? 1 : 0;
}

void Table::SettingsDefaults()
{
    for (int k = 0; k < SettingsBoxes::Count; ++k)
        tab[SettingsFirst + k] = TableSettings::Defaults[k];
}

void Table::SettingsToUi()
{
    if (!boxes)
        return;
    for (int k = 0; k < SettingsBoxes::Count; ++k) {
        const auto box = static_cast<SettingsBoxes::Box>(k);
        boxes->setText(box, TableSettings::toText(box, tab[SettingsFirst + k]));
    }
}

void Table::SettingsFromUi()
{
    if (boxes) {
        for (int k = 0; k < SettingsBoxes::Count; ++k) {
            const auto box = static_cast<SettingsBoxes::Box>(k);
            tab[SettingsFirst + k] = TableSettings::fromText(box, boxes->text(box), tab[SettingsFirst + k]);
        }
    }
    tab[SettingsFirst + SettingsBoxes::TpsThreshold_nb] = 255;
}

void Table::RedrawTableChart()
{
    if (view)
        view->redrawTableChart(*this);
    RedrawDashboardChart();
}

void Table::RedrawDashboardChart()
{
    if (dashReady == 0 || !view)
        return;
    view->redrawDashboardChart(*this);
}

void Table::reportStatus(const QString& text) const
{
    if (onStatus)
        onStatus(text);
}

void Table::reportDone(const QString& text) const
{
    if (onDone)
        onDone(text);
}
