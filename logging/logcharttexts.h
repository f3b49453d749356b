#pragma once

// Texts of the log chart and its toggle buttons, shared by the code and the
// tests byte for byte.
namespace LogChartTexts {

// Series of the log chart in their order (the index is the toggle button's
// tag): the title, also the toggle button's caption, and the legend text.
inline constexpr const char* SeriesTitles[] = {"MAF",  "TPS", "Converter", "Tab",  "Marker", "Enrichment", "RPM/100",
                                               "O2",   "Corr", "IAT",      "ECT",  "O2SM",   "LogCorr"};
inline constexpr const char* LegendTexts[] = {"MAF",  "TPS", "Converter", "Tab",  "Marker", "Enrichment", "RPM",
                                              "O2",   "Corr", "IAT",      "ECT",  "O2SM",   "LogCorr"};

// The fourteenth toggle button: point markers on or off.
inline constexpr char MarkersButton[] = "*****";

// Left-axis title of the oxygen chart.
inline constexpr char O2AxisTitle[] = "O2";

// Style name of the toggle buttons.
inline constexpr char ToggleButtonStyle[] = "listitembutton";

}  // namespace LogChartTexts
