#include "stackfactory.h"

#include "bluezstack.h"
#include "serialstack.h"
#include "simulatedstack.h"

std::unique_ptr<BluetoothStack> makeBluetoothStack(const LinkOptions& options)
{
    if (options.simulator)
        return std::make_unique<SimulatedStack>();
    if (!options.ports.isEmpty())
        return std::make_unique<SerialStack>(options.ports, options.baud);
    return std::make_unique<BluezStack>();
}
