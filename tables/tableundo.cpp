#include "table.h"

#include <algorithm>

namespace {

// A snapshot array has its full layout size whatever the store holds (the
// second table stays empty in the store but not in the snapshot). An array
// that already has it is shared with the store, not copied: most steps
// change one or two of the six arrays, and only those are copied, when the
// store writes to them. Comparing a shared array with its snapshot is then
// immediate too.
QList<int> copyPadded(const QList<int>& array, int size)
{
    QList<int> copy = array;
    if (copy.size() < size)
        copy.resize(size);  // the new entries are zero
    return copy;
}

// Copies back over the length of the store's array, so a restore never
// changes an array's size.
void copyBack(const QList<int>& from, QList<int>& to)
{
    const qsizetype count = std::min(from.size(), to.size());
    std::copy(from.cbegin(), from.cbegin() + count, to.begin());
}

}  // namespace

TBufUndoRedo Table::snapshot() const
{
    return TBufUndoRedo{
        copyPadded(tab, TableSize),   copyPadded(tab2, TableSize),    copyPadded(marks, TableSize),
        copyPadded(marks2, TableSize), copyPadded(learned, CurveSize), copyPadded(trained, CurveSize),
    };
}

void Table::restore(const TBufUndoRedo& entry)
{
    copyBack(entry.tab, tab);
    copyBack(entry.tab2, tab2);
    copyBack(entry.marks, marks);
    copyBack(entry.marks2, marks2);
    copyBack(entry.learned, learned);
    copyBack(entry.trained, trained);
}

void Table::PushUndo()
{
    // A new step after undos ends the redo tail.
    undoList.resize(undoPos);
    undoList.append(snapshot());
    ++undoPos;
}

void Table::ResetUndo()
{
    undoList.clear();
    undoPos = 0;
}

void Table::recordOutsideChanges()
{
    if (undoPos == 0 || undoList[undoPos - 1] != snapshot())
        PushUndo();
}

void Table::UndoRedo(bool redo)
{
    if (undoPos == 0)
        return;
    recordOutsideChanges();
    int target = undoPos;
    if (redo && undoPos < undoList.size())
        target = undoPos + 1;
    else if (!redo && undoPos > 1)
        target = undoPos - 1;
    if (target == undoPos)
        return;

    const QList<int> settingsBefore = tab.mid(SettingsFirst, SettingsBoxes::Count);
    undoPos = target;
    restore(undoList[undoPos - 1]);
    // The boxes are where the settings are read from before a save or a
    // write, so they must follow a step that changed the settings block;
    // otherwise they keep what the person may have typed.
    if (tab.mid(SettingsFirst, SettingsBoxes::Count) != settingsBefore)
        SettingsToUi();
    RedrawTableChart();
}
