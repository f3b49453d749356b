#pragma once

#include "simulatedconverter.h"

#include <QByteArray>
#include <QList>

// Drives a SimulatedConverter on a made-up clock: each send is one read at
// the current moment; collect() lets time pass and returns what went out.
class DeviceSession {
public:
    explicit DeviceSession(const SimulatorOptions& options = SimulatorOptions(), bool readsAreSends = true)
        : device(options, readsAreSends)
    {
    }

    // Sends one read and returns the packets due at once.
    QList<QByteArray> send(const QByteArray& bytes)
    {
        device.receive(bytes, now);
        return collect(0);
    }

    // Sends one read, lets ms pass, and returns everything that went out.
    QList<QByteArray> sendAndWait(const QByteArray& bytes, qint64 ms)
    {
        QList<QByteArray> packets = send(bytes);
        packets += collect(ms);
        return packets;
    }

    // Lets ms pass and returns the packets due by then (a drop ends the list).
    QList<QByteArray> collect(qint64 ms)
    {
        now += ms;
        QList<QByteArray> packets;
        for (const auto& output : device.takeDue(now)) {
            if (output.hangUp) {
                hungUp = true;
                break;
            }
            packets.append(output.bytes);
        }
        return packets;
    }

    // Every output up to now + ms, with its moment.
    std::vector<SimulatedConverter::Output> outputs(qint64 ms)
    {
        now += ms;
        return device.takeDue(now);
    }

    SimulatedConverter device;
    qint64 now = 1000;
    bool hungUp = false;
};

inline QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int v : values)
        result.append(char(v));
    return result;
}

inline QByteArray joined(const QList<QByteArray>& packets)
{
    QByteArray all;
    for (const QByteArray& p : packets)
        all += p;
    return all;
}
