// The log page's charts: set-up at start-up, the long tap that hides the
// panels around the chart, and the redraw after an undo or redo of the table.

#include "tabbedform.h"

#include "logcharts.h"
#include "logchartview.h"
#include "otherpages.h"
#include "tablepage.h"

#include <QPushButton>

void TTabbedForm::SetUpLogChart()
{
    LogChart = new LogCharts(*Logger, this);
    LogChart->SetUpLogCharts(Log->ChartLog, Log->ChartO2, Tables.get(), Log->Log_VScrlBox);
    connect(Log->ChartLog, &ZoomScrollChartView::longTap, this, &TTabbedForm::ChartLogGesture);
    // Connected after the table page's own handlers, so the store has
    // already gone back or forward when the log chart redraws.
    for (QPushButton* button : {Tab->TabUndo_btn, Tab->TabRedo_btn, Log->LogUndoBtn, Log->LogRedo_btn})
        connect(button, &QPushButton::clicked, LogChart, &LogCharts::RedrawAfterTableChange);
}

void TTabbedForm::ChartLogGesture()
{
    // The three panels follow LogTop_rect: all shown or all hidden.
    const bool show = Log->LogTop_rect->isHidden();
    Log->LogTop_rect->setVisible(show);
    Bar->Rectangle18->setVisible(show);
    Log->Rectangle9->setVisible(show);
}
