#pragma once

#include "settingsboxes.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>

class TRXTX;
class TableView;
class UserNotifier;

// One undo snapshot: whole copies of the six arrays of the store, in this
// order.
struct TBufUndoRedo {
    QList<int> tab;
    QList<int> tab2;
    QList<int> marks;
    QList<int> marks2;
    QList<int> learned;
    QList<int> trained;

    bool operator==(const TBufUndoRedo& other) const
    {
        return tab == other.tab && tab2 == other.tab2 && marks == other.marks && marks2 == other.marks2
            && learned == other.learned && trained == other.trained;
    }
    bool operator!=(const TBufUndoRedo& other) const { return !(*this == other); }
};

// Pixel corners of a chart's plot area and the axis ranges they stand for:
// (px0, py0) is where (bottomMin, leftMin) is drawn, (px1, py1) where
// (bottomMax, leftMax) is. Pixel y grows downwards, so py0 > py1.
struct PlotArea {
    double px0 = 0;
    double py0 = 0;
    double px1 = 0;
    double py1 = 0;
    double bottomMin = 0;
    double bottomMax = 0;
    double leftMin = 0;
    double leftMax = 0;
};

// The correction table store: the curve over the 8-bit sensor reading, its
// settings block and IAT/ECT cells, the anchor marks and trained points, the
// dashboard's operating point and the undo history. Every operation runs on
// the user-interface thread.
//
// Undo history: `undoList[undoPos - 1]` is the state shown. Each recorded
// operation first keeps any change made to the arrays from outside since the
// last snapshot as a step of its own, then changes the arrays, then records
// the result; so one undo returns exactly the state before the operation
// and one redo brings its result back.
class Table : public QObject {
public:
    using Callback = std::function<void(const QString&)>;

    enum ApplyMode { ApplyWindow, ApplyMiddle, ApplyMin, ApplyMax };

    // Entries of `tab`.
    static constexpr int CurveSize = 256;
    static constexpr int SettingsFirst = 256;
    static constexpr int IatFirst = 264;
    static constexpr int EctFirst = 328;
    static constexpr int TableSize = 392;
    static constexpr int CorrectionCells = 64;
    static constexpr int CorrectionLimit = 30;
    static constexpr int Mark = 255;

    // Series of the table chart that a double click can edit.
    static constexpr int CurveSeries = 0;
    static constexpr int TrainedSeries = 3;
    static constexpr int NoSeries = -1;

    explicit Table(UserNotifier& notifier, QObject* parent = nullptr);
    ~Table() override;

    // --- set-up and links ---------------------------------------------
    // Gives the store its setting boxes, its charts (either may be null)
    // and the two callbacks; sizes the arrays, writes the settings defaults
    // to the boxes, redraws and restarts the history.
    void SetUpTableView(SettingsBoxes* boxes, TableView* view, bool showTrainedSeries, Callback statusCallback,
                        Callback doneCallback);
    // The store side of the dashboard chart set-up: zeroes the operating
    // point, enables dashboard redraws and redraws it.
    void SetUpDashboardChart();
    void setView(TableView* tableView) { view = tableView; }
    void SetTransport(TRXTX* transport) { rxtx = transport; }
    UserNotifier& notifier() const { return userNotifier; }

    // --- points and modes ---------------------------------------------
    // Entry `index` of `tab`; 0 outside the table.
    int GetPoint(int index) const;
    // Sets one entry; with `anchor` marks it, interpolates, redraws and
    // records. An index outside the table is ignored.
    void SetPoint(int index, int value, int anchor);
    void SetExtrapolate(int on);

    // --- undo history -------------------------------------------------
    void PushUndo();
    void UndoRedo(bool redo);
    void ResetUndo();

    // --- settings block -----------------------------------------------
    void SettingsDefaults();
    void SettingsToUi();
    void SettingsFromUi();

    // --- operations ---------------------------------------------------
    void Interpolate(int extrapolateFlag, int edited);
    void FillOneToOne();
    void SetInterpolationMode(bool pressed);
    void ApplyCorrection(int corr, int begin, int end, ApplyMode mode);
    void StepCorrection(int corr, bool ect);
    void ClearTrained(int begin, int end);
    // The kick-down switch: on sets the trained value and the mark of
    // `index` to the curve value there, off clears both. Recorded.
    void setKickDownPoint(int index, bool on);

    // --- .tab file ----------------------------------------------------
    void SaveTableFile(const QString& name);
    void LoadTableFile(const QString& name);

    // --- pointer edit on the table chart ------------------------------
    void RecordPress(Qt::MouseButton button, double x, double y);
    // The double click: maps the recorded press through `area` to a curve
    // point and a value and edits it. Does nothing for a press outside the
    // plot or when no press was recorded since the last edit.
    void EditAtPress(const PlotArea& area);
    void EditPoint(int index, double value);

    // --- redraws (no-ops without a view) ------------------------------
    void RedrawTableChart();
    void RedrawDashboardChart();

    // Status and completion texts for the transfer commands.
    void reportStatus(const QString& text) const;
    void reportDone(const QString& text) const;

    // --- data ---------------------------------------------------------
    QList<int> tab;
    QList<int> tab2;
    QList<int> marks;
    QList<int> marks2;
    QList<int> learned;
    QList<int> trained;

    qint32 extrapolate = 0;
    quint8 interpolate = 0;
    quint8 showTrained = 0;
    qint8 writeValue = 0;
    quint8 dashReady = 0;

    qint32 corrValue = 0;
    qint32 begPoint = 0;
    qint32 endPoint = 0;
    qint32 outValue = 0;
    qint32 sensorValue = 0;
    qint32 iatValue = 0;
    qint32 ectValue = 0;
    qint8 iatCorr = 0;
    qint8 ectCorr = 0;

    double mouseX = 0;
    double mouseY = 0;
    Qt::MouseButton mouseButton = Qt::NoButton;

    // The chart series a double click edits: CurveSeries, TrainedSeries,
    // another series index (nothing is set) or NoSeries. Kept by the
    // series selectors of the table chart.
    int selectedSeries = CurveSeries;

    QList<TBufUndoRedo> undoList;
    qint32 undoPos = 0;

    TRXTX* rxtx = nullptr;
    Callback onStatus;
    Callback onDone;

private:
    void sizeArrays();
    TBufUndoRedo snapshot() const;
    void restore(const TBufUndoRedo& entry);
    // Keeps changes made to the arrays from outside since the last snapshot
    // as their own history step, so the next step back lands on them.
    void recordOutsideChanges();
    // Adds at one curve point, keeping the result inside 0..255.
    void addAt(int index, int corr);
    void applyAtPoint(int corr, int m);

    UserNotifier& userNotifier;
    SettingsBoxes* boxes = nullptr;
    TableView* view = nullptr;
    bool pressPending = false;
};
