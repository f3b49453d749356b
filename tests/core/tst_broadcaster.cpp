#include "zantobroadcaster.h"

#include <QTest>

#include <functional>
#include <stdexcept>

namespace {

// Records every delivery as "<listener>:<id>" in a log shared by all listeners.
class LoggingListener : public TZantoListener {
public:
    LoggingListener(QString name, QStringList& log) : name(std::move(name)), log(log) {}
    void Dispatch(const TMessage& message) override
    {
        log.append(QStringLiteral("%1:%2").arg(name).arg(message.id));
        if (onDispatch)
            onDispatch(message);
    }
    QString name;
    QStringList& log;
    std::function<void(const TMessage&)> onDispatch;
};

}  // namespace

class TestBroadcaster : public QObject {
    Q_OBJECT
private slots:
    void deliversToEveryListenerInRegistrationOrder();
    void unknownIdPassesThroughWithoutEffect();
    void recordsCarryTheirIdFirst();
    void messageAsChecksTheId();
    void exceptionStopsLaterListenersAndReachesPoster();
    void nestedBroadcastIsDeliveredBeforeItReturns();
    void nestedBroadcastThatThrowsLeavesOuterDeliveryGoing();
    void listenerRegisteredDuringDeliveryHearsTheNextRecord();
    void unregisteredListenerHearsNothingMore();
    void listenerDestroyedDuringDeliveryIsSkipped();
};

void TestBroadcaster::deliversToEveryListenerInRegistrationOrder()
{
    QStringList log;
    LoggingListener window("window", log), transport("transport", log), logger("logger", log);
    TZantoBroadcaster bus;
    bus.Register(&window);
    bus.Register(&transport);
    bus.Register(&logger);

    TMsgStartLog start;
    start.o2SensorType = 2;
    const TMessage* seenCurrent = nullptr;
    qsizetype seenPending = -1;
    transport.onDispatch = [&](const TMessage&) {
        seenCurrent = bus.Current();
        seenPending = bus.Pending().size();
    };
    bus.Broadcast(start);

    QCOMPARE(log, QStringList({"window:3", "transport:3", "logger:3"}));
    QCOMPARE(seenCurrent, &start);
    QCOMPARE(seenPending, 1);
    QVERIFY(bus.Pending().isEmpty());
    QCOMPARE(bus.Current(), nullptr);
}

void TestBroadcaster::unknownIdPassesThroughWithoutEffect()
{
    QStringList log;
    LoggingListener a("a", log), b("b", log);
    TZantoBroadcaster bus;
    bus.Register(&a);
    bus.Register(&b);
    const TMessage unknown{5};
    bus.Broadcast(unknown);
    QCOMPARE(log, QStringList({"a:5", "b:5"}));
}

void TestBroadcaster::recordsCarryTheirIdFirst()
{
    // Listeners read the id through the common prefix of every record.
    TMsgDashData dash;
    TMsgFile file;
    QCOMPARE(static_cast<const TMessage&>(dash).id, 6);
    QCOMPARE(static_cast<const TMessage&>(file).id, 10);
    QCOMPARE(TMsgStartLog().id, 3);
    QCOMPARE(TMsgStopLog().id, 4);
    QCOMPARE(TMsgConnected().id, 9);
    QCOMPARE(static_cast<const void*>(&dash), static_cast<const void*>(&dash.id));
}

void TestBroadcaster::messageAsChecksTheId()
{
    TMsgFile file;
    file.saveMode = 1;
    file.extension = "enc";
    const TMessage& message = file;
    QVERIFY(messageAs<TMsgStartLog>(message) == nullptr);
    const TMsgFile* back = messageAs<TMsgFile>(message);
    QVERIFY(back != nullptr);
    QCOMPARE(back->extension, QString("enc"));
    QCOMPARE(back->saveMode, 1);
}

void TestBroadcaster::exceptionStopsLaterListenersAndReachesPoster()
{
    QStringList log;
    LoggingListener a("a", log), b("b", log), c("c", log);
    b.onDispatch = [](const TMessage&) { throw std::runtime_error("boom"); };
    TZantoBroadcaster bus;
    bus.Register(&a);
    bus.Register(&b);
    bus.Register(&c);

    QVERIFY_THROWS_EXCEPTION(std::runtime_error, bus.Broadcast(TMsgStopLog()));
    QCOMPARE(log, QStringList({"a:4", "b:4"}));
    QVERIFY(bus.Pending().isEmpty());
    QCOMPARE(bus.Current(), nullptr);

    // The bus is usable again and the failed record is not delivered later.
    b.onDispatch = nullptr;
    log.clear();
    bus.Broadcast(TMsgConnected());
    QCOMPARE(log, QStringList({"a:9", "b:9", "c:9"}));
}

void TestBroadcaster::nestedBroadcastIsDeliveredBeforeItReturns()
{
    QStringList log;
    LoggingListener a("a", log), b("b", log), c("c", log);
    TZantoBroadcaster bus;
    bus.Register(&a);
    bus.Register(&b);
    bus.Register(&c);

    // b posts a stop while the start is being delivered, as a timer or a
    // thread hand-over would while b lets the event loop run.
    QStringList seenWhenInnerReturned;
    qsizetype innerPending = -1;
    c.onDispatch = [&](const TMessage& m) {
        if (m.id == MsgStopLog)
            innerPending = bus.Pending().size();
    };
    b.onDispatch = [&](const TMessage& m) {
        if (m.id != MsgStartLog)
            return;
        bus.Broadcast(TMsgStopLog());
        seenWhenInnerReturned = log;
        QCOMPARE(bus.Current()->id, MsgStartLog);
    };
    bus.Broadcast(TMsgStartLog());

    QCOMPARE(seenWhenInnerReturned, QStringList({"a:3", "b:3", "a:4", "b:4", "c:4"}));
    QCOMPARE(log, QStringList({"a:3", "b:3", "a:4", "b:4", "c:4", "c:3"}));
    QCOMPARE(innerPending, 2);
    QVERIFY(bus.Pending().isEmpty());
}

void TestBroadcaster::nestedBroadcastThatThrowsLeavesOuterDeliveryGoing()
{
    QStringList log;
    LoggingListener a("a", log), b("b", log);
    TZantoBroadcaster bus;
    bus.Register(&a);
    bus.Register(&b);
    bool innerThrew = false;
    a.onDispatch = [&](const TMessage& m) {
        if (m.id == MsgStartLog) {
            try {
                bus.Broadcast(TMsgStopLog());
            } catch (const std::logic_error&) {
                innerThrew = true;
            }
        }
    };
    b.onDispatch = [](const TMessage& m) {
        if (m.id == MsgStopLog)
            throw std::logic_error("refused");
    };
    bus.Broadcast(TMsgStartLog());
    QVERIFY(innerThrew);
    QCOMPARE(log, QStringList({"a:3", "a:4", "b:4", "b:3"}));
    QVERIFY(bus.Pending().isEmpty());
}

void TestBroadcaster::listenerRegisteredDuringDeliveryHearsTheNextRecord()
{
    QStringList log;
    LoggingListener a("a", log), late("late", log);
    TZantoBroadcaster bus;
    bus.Register(&a);
    a.onDispatch = [&](const TMessage& m) {
        if (m.id == MsgConnected)
            bus.Register(&late);
    };
    bus.Broadcast(TMsgConnected());
    bus.Broadcast(TMsgStopLog());
    QCOMPARE(log, QStringList({"a:9", "a:4", "late:4"}));
}

void TestBroadcaster::unregisteredListenerHearsNothingMore()
{
    QStringList log;
    LoggingListener a("a", log), b("b", log), stranger("stranger", log);
    TZantoBroadcaster bus;
    bus.Register(&a);
    bus.Register(&b);
    bus.Unregister(&stranger);
    bus.Unregister(&a);
    bus.Broadcast(TMsgStopLog());
    QCOMPARE(log, QStringList({"b:4"}));
    QCOMPARE(bus.Listeners(), QList<TZantoListener*>({&b}));
}

namespace {

// A listener that unregisters itself when it goes.
class OwnedListener : public LoggingListener {
public:
    OwnedListener(TZantoBroadcaster& bus, QStringList& log) : LoggingListener("owned", log), bus(bus)
    {
        bus.Register(this);
    }
    ~OwnedListener() override { bus.Unregister(this); }
    TZantoBroadcaster& bus;
};

}  // namespace

void TestBroadcaster::listenerDestroyedDuringDeliveryIsSkipped()
{
    QStringList log;
    LoggingListener first("first", log), last("last", log);
    TZantoBroadcaster bus;
    bus.Register(&first);
    auto* owned = new OwnedListener(bus, log);
    bus.Register(&last);
    // The first listener posts a nested record, then ends the second one,
    // which the outer delivery has not reached yet.
    first.onDispatch = [&](const TMessage& m) {
        if (m.id != MsgConnected)
            return;
        bus.Broadcast(TMsgStopLog());
        delete owned;
        owned = nullptr;
    };
    bus.Broadcast(TMsgConnected());
    QCOMPARE(log, QStringList({"first:9", "first:4", "owned:4", "last:4", "last:9"}));
    // Once the delivery is over the list holds no gap.
    QCOMPARE(bus.Listeners(), QList<TZantoListener*>({&first, &last}));
    bus.Broadcast(TMsgStopLog());
    QCOMPARE(log.mid(5), QStringList({"first:4", "last:4"}));
}

QTEST_APPLESS_MAIN(TestBroadcaster)
#include "tst_broadcaster.moc"
