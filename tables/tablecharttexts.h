#pragma once

// Texts the table chart, the dashboard chart and the table page's chart
// buttons show, kept in one place so that the code and the tests share them
// byte for byte.
namespace TableChartTexts {

// Series titles (legend entries and selector texts).
inline constexpr char IatSeries[] = "IATCorr";
inline constexpr char EctSeries[] = "ECTCorr";
inline constexpr char TrainedSeries[] = "Trained";
inline constexpr char LearnedSeries[] = "Learned";
inline constexpr char BeginSeries[] = "Beg";
inline constexpr char EndSeries[] = "End";
inline constexpr char OutputSeries[] = "ConvOut";

// Axis titles of the table chart.
inline constexpr char LeftAxisTitle[] = "Выход конв.";
inline constexpr char BottomAxisTitle[] = "Датчик/Sensor";

// The label beside the edit buttons: what a double click edits.
inline constexpr char CurveLabel[] = "Tab";
inline constexpr char TrainedLabel[] = "Обученные/Trained";

// The zoom/move button: "←/→" while the left button zooms, "+/-" after a swap.
inline constexpr char ZoomMove[] = "←/→";
inline constexpr char ZoomPlusMinus[] = "+/-";

// The series selectors form one exclusive group of this name.
inline constexpr char SelectorGroup[] = "1";

}  // namespace TableChartTexts
