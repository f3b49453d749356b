#include "tablepagehandlers.h"

#include "table.h"
#include "tablecharttexts.h"
#include "tablechartview.h"

#include <QAbstractButton>
#include <QLabel>

void TabEdit_spbtnClick(TableChartView& chart, QLabel& TabChartCurve_lbl)
{
    chart.pressSelector(Table::CurveSeries);
    TabChartCurve_lbl.setText(QString::fromUtf8(TableChartTexts::CurveLabel));
}

void TrainedEdit_spbtnClick(TableChartView& chart, QLabel& TabChartCurve_lbl)
{
    chart.pressSelector(Table::TrainedSeries);
    TabChartCurve_lbl.setText(QString::fromUtf8(TableChartTexts::TrainedLabel));
}

void ZoomMoveTable_sbtnClick(QAbstractButton& ZoomMoveTable_sbtn, ZoomScrollChartView& chart)
{
    const QString move = QString::fromUtf8(TableChartTexts::ZoomMove);
    ZoomMoveTable_sbtn.setText(ZoomMoveTable_sbtn.text() == move ? QString::fromUtf8(TableChartTexts::ZoomPlusMinus)
                                                                   : move);
    chart.zoomButton = chart.zoomButton == Qt::RightButton ? Qt::LeftButton : Qt::RightButton;
}

void TableChartLongTap(QWidget& TabTopRectangle, QWidget& Rectangle18, QWidget& Rectangle8)
{
    // The widgets' own flags, not whether the window is on screen.
    const bool show = TabTopRectangle.isHidden();
    TabTopRectangle.setVisible(show);
    Rectangle18.setVisible(show);
    Rectangle8.setVisible(show);
}
