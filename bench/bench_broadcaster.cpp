#include "zantobroadcaster.h"

#include <benchmark/benchmark.h>

namespace {

class CountingListener : public TZantoListener {
public:
    void Dispatch(const TMessage& message) override
    {
        if (message.id == MsgDashData)
            ++count;
        benchmark::DoNotOptimize(count);
    }
    long count = 0;
};

// The dashboard posts a sample every 100 ms to three listeners; this is the
// cost of one such delivery.
void BM_BroadcastDashData(benchmark::State& state)
{
    CountingListener window, transport, logger;
    TZantoBroadcaster bus;
    bus.Register(&window);
    bus.Register(&transport);
    bus.Register(&logger);
    TMsgDashData sample;
    sample.o2Text = "0.45V";
    for (auto _ : state)
        bus.Broadcast(sample);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BroadcastDashData);

}  // namespace
