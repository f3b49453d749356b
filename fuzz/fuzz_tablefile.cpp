// Arbitrary bytes as a .tab file, loaded by a store set up the way the
// window sets it up (boxes and a chart view), then used as the window would.
#include "fuzzfile.h"
#include "recordingnotifier.h"
#include "settingsboxes.h"
#include "table.h"
#include "tableview.h"

#include <cstddef>
#include <cstdint>

namespace {

struct NullView : TableView {
    void redrawTableChart(const Table&) override {}
    void redrawDashboardChart(const Table&) override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static FuzzFile file;
    static RecordingNotifier notifier;
    static TextSettingsBoxes boxes;
    static NullView view;
    static Table* table = [] {
        auto* t = new Table(notifier);
        t->SetUpTableView(&boxes, &view, true, [](const QString&) {}, [](const QString&) {});
        return t;
    }();
    notifier.clear();

    file.set(data, size);
    table->LoadTableFile(file.name());
    // A loaded table must survive the edit that follows a load.
    table->Interpolate(1, -1);
    return 0;
}
