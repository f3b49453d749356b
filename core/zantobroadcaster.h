#pragma once

#include "messages.h"

#include <QList>

// Anything that receives bus messages.
class TZantoListener {
public:
    virtual ~TZantoListener() = default;
    // Called for every record posted on the bus; ids not handled are ignored.
    virtual void Dispatch(const TMessage& message) = 0;
};

// The event bus: delivers each record synchronously, on the poster's thread,
// to every listener in registration order. It owns neither listeners nor
// records and catches nothing: an exception from a listener ends that
// record's delivery and reaches the poster.
//
// A broadcast made from inside a delivery (a listener that lets the event
// loop run, or posts itself) is delivered completely, to every listener,
// before that inner Broadcast returns; the outer delivery then goes on with
// its next listener. So every record reaches every listener exactly once and
// never after its own Broadcast has returned or thrown.
//
// A listener that goes away before the bus unregisters itself. One removed
// during a delivery hears nothing more, not even the rest of the records
// being delivered.
class TZantoBroadcaster {
public:
    void Register(TZantoListener* listener);
    // Unknown listeners are ignored.
    void Unregister(TZantoListener* listener);
    void Broadcast(const TMessage& record);

    // Listeners in registration order; during a delivery a removed one
    // leaves a null until the outermost delivery ends.
    const QList<TZantoListener*>& Listeners() const { return listeners; }
    // The record being delivered (the innermost one during a nested delivery).
    const TMessage* Current() const { return current; }
    // Records posted and not yet delivered to everyone, outermost first.
    const QList<const TMessage*>& Pending() const { return pending; }

private:
    QList<TZantoListener*> listeners;
    const TMessage* current = nullptr;
    QList<const TMessage*> pending;
};
