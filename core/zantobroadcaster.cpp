#include "zantobroadcaster.h"

void TZantoBroadcaster::Register(TZantoListener* listener)
{
    listeners.append(listener);
}

void TZantoBroadcaster::Broadcast(const TMessage& record)
{
    pending.append(&record);
    const TMessage* outer = current;
    // Restores the bus whether the delivery returns or throws.
    struct Unwind {
        TZantoBroadcaster& bus;
        const TMessage* outer;
        ~Unwind()
        {
            bus.pending.removeLast();
            bus.current = outer;
        }
    } unwind{*this, outer};

    // A listener registered during this delivery first hears the next record.
    const qsizetype count = listeners.size();
    for (qsizetype i = 0; i < count; ++i) {
        current = &record;
        listeners.at(i)->Dispatch(record);
    }
}
