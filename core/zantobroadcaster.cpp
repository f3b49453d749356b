#include "zantobroadcaster.h"

void TZantoBroadcaster::Register(TZantoListener* listener)
{
    listeners.append(listener);
}

void TZantoBroadcaster::Unregister(TZantoListener* listener)
{
    const qsizetype index = listeners.indexOf(listener);
    if (index < 0)
        return;
    // A delivery walks the list by index; it must keep its length.
    if (pending.isEmpty())
        listeners.removeAt(index);
    else
        listeners[index] = nullptr;
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
            if (bus.pending.isEmpty())
                bus.listeners.removeAll(nullptr);
        }
    } unwind{*this, outer};

    // A listener registered during this delivery first hears the next record.
    const qsizetype count = listeners.size();
    for (qsizetype i = 0; i < count; ++i) {
        current = &record;
        if (TZantoListener* listener = listeners.at(i))
            listener->Dispatch(record);
    }
}
