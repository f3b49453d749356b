#pragma once

#include <QString>
#include <QThread>

class TBTMethod;
class TRXTX;

// The connection thread: looks for the Converter among the paired devices,
// the last one connected first, then every one in turn, until one passes the
// handshake or none is paired. Writes the connection memo and announces the
// connection only through synchronous hand-overs to the main thread. Deletes
// itself when it ends.
class TAnThread : public QThread {
    Q_OBJECT
public:
    // Starts at once. Use StartConnectionSearch rather than this directly, so
    // that a link never has two searches.
    TAnThread(TBTMethod& link, const QString& targetAddress);

    // True when the device at index passed the handshake; its socket then
    // stays open as Link.Socket.
    bool TryDevice(int index);

    QString Status;
    QString TargetAddress;
    TBTMethod& Link;

protected:
    void run() override;

private:
    void showStatus(const QString& text);
    void appendStatus(const QString& text);
    void showNoDevices();
    void announce(const QString& address);
    void pause(int ms);
};

// What the Bluetooth page button does: a link still holding a socket closes it
// (both connected flags become 0), then a search starts with the link's last
// device first. Returns the new search, or null when one already runs on this
// link and nothing was started.
TAnThread* StartConnectionSearch(TBTMethod& link, TRXTX& rxtx);
