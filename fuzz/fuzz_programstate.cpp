// Arbitrary bytes as config.cfg, read field by field into the state and the
// oxygen grid.
#include "fuzzfile.h"
#include "o2refgrid.h"
#include "programstate.h"
#include "recordingnotifier.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static FuzzFile file;
    static RecordingNotifier notifier;
    notifier.clear();

    file.set(data, size);
    ProgramState state;
    O2RefGrid grid;
    const bool complete = LoadProgramState(file.name(), state, grid, notifier);
    // A failed load says why; a complete one says nothing.
    if (complete != notifier.entries.isEmpty())
        abort();
    // Whatever was read can be written again.
    (void)encodeProgramState(state, grid);
    return 0;
}
