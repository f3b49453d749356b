// The part of the BlueZ backend that needs kernel Bluetooth sockets: the SDP
// service search and the RFCOMM client socket. On a kernel without them both
// fail at once with EAFNOSUPPORT, which the search treats as a device that
// did not answer.

#include "bluezstack.h"

#include "fdchannel.h"
#include "linkerror.h"

#include <bluetooth/bluetooth.h>
#include <bluetooth/rfcomm.h>
#include <bluetooth/sdp.h>
#include <bluetooth/sdp_lib.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Reaching a device that has to be paged first can take the radio's whole
// page timeout (5.12 s); a connect waits that long at most.
constexpr int PageTimeoutMs = 6000;

QString errnoText(const QString& what, int error)
{
    return QStringLiteral("%1: %2").arg(what, QString::fromLocal8Bit(std::strerror(error)));
}

bdaddr_t parseAddress(const QString& address)
{
    bdaddr_t result{};
    const QByteArray text = address.toLatin1();
    if (bachk(text.constData()) < 0 || str2ba(text.constData(), &result) < 0)
        throw LinkError(address + QStringLiteral(": not a Bluetooth address"));
    return result;
}

// Waits until a non-blocking connect on fd has finished; throws on failure.
void awaitConnect(int fd, int timeoutMs, const QString& what)
{
    pollfd p{fd, POLLOUT, 0};
    int ready;
    do {
        ready = ::poll(&p, 1, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (ready == 0)
        throw LinkError(what + QStringLiteral(": connection timed out"));
    if (ready < 0)
        throw LinkError(errnoText(what, errno));
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0)
        error = errno;
    if (error != 0)
        throw LinkError(errnoText(what, error));
}

QString uuidText(const uuid_t* uuid)
{
    uuid_t full{};
    switch (uuid->type) {
    case SDP_UUID16: sdp_uuid16_to_uuid128(&full, uuid); break;
    case SDP_UUID32: sdp_uuid32_to_uuid128(&full, uuid); break;
    case SDP_UUID128: full = *uuid; break;
    default: return {};
    }
    const QByteArray hex = QByteArray(reinterpret_cast<const char*>(full.value.uuid128.data), 16).toHex();
    return QString::fromLatin1(hex.left(8) + '-' + hex.mid(8, 4) + '-' + hex.mid(12, 4) + '-' + hex.mid(16, 4) +
                               '-' + hex.mid(20));
}

struct SessionCloser {
    void operator()(sdp_session_t* session) const { sdp_close(session); }
};

void freeProtocolList(void* list, void*)
{
    sdp_list_free(static_cast<sdp_list_t*>(list), nullptr);
}

void freeRecord(void* record)
{
    sdp_record_free(static_cast<sdp_record_t*>(record));
}

BluetoothService serviceOf(const sdp_record_t* record)
{
    BluetoothService service;
    sdp_list_t* classes = nullptr;
    if (sdp_get_service_classes(record, &classes) == 0 && classes)
        service.uuid = uuidText(static_cast<const uuid_t*>(classes->data));
    sdp_list_free(classes, std::free);

    sdp_list_t* protocols = nullptr;
    if (sdp_get_access_protos(record, &protocols) == 0) {
        const int channel = sdp_get_proto_port(protocols, RFCOMM_UUID);
        if (channel > 0)
            service.channel = channel;
        sdp_list_foreach(protocols, freeProtocolList, nullptr);
        sdp_list_free(protocols, nullptr);
    }
    return service;
}

}  // namespace

namespace BluezSockets {

QList<BluetoothService> queryServices(const QString& address, int timeoutMs)
{
    const QString what = address + QStringLiteral(": service search");
    bdaddr_t any{};
    const bdaddr_t target = parseAddress(address);
    std::unique_ptr<sdp_session_t, SessionCloser> session(sdp_connect(&any, &target, SDP_NON_BLOCKING));
    if (!session)
        throw LinkError(errnoText(what, errno));
    const int fd = sdp_get_socket(session.get());
    awaitConnect(fd, qMax(timeoutMs, PageTimeoutMs), what);
    // The request and its answer are synchronous; libbluetooth bounds the wait.
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);

    uuid_t browse{};
    sdp_uuid16_create(&browse, PUBLIC_BROWSE_GROUP);
    uint32_t range = 0x0000ffff;
    sdp_list_t* search = sdp_list_append(nullptr, &browse);
    sdp_list_t* attributes = sdp_list_append(nullptr, &range);
    sdp_list_t* records = nullptr;
    const int result = sdp_service_search_attr_req(session.get(), search, SDP_ATTR_REQ_RANGE, attributes, &records);
    const int error = errno;
    sdp_list_free(search, nullptr);
    sdp_list_free(attributes, nullptr);
    if (result < 0)
        throw LinkError(errnoText(what, error));

    QList<BluetoothService> services;
    for (sdp_list_t* item = records; item; item = item->next)
        services.append(serviceOf(static_cast<const sdp_record_t*>(item->data)));
    sdp_list_free(records, freeRecord);
    return services;
}

std::unique_ptr<ByteChannel> connectRfcomm(const QString& address, int channel, int timeoutMs)
{
    const QString what = address + QStringLiteral(": connect");
    if (channel < 1 || channel > 30)
        throw LinkError(what + QStringLiteral(": the service has no RFCOMM channel"));
    const bdaddr_t target = parseAddress(address);

    const int fd = ::socket(AF_BLUETOOTH, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, BTPROTO_RFCOMM);
    if (fd < 0)
        throw LinkError(errnoText(what, errno));
    auto channelOwner = std::make_unique<FdByteChannel>(fd);

    // "Insecure": no authentication or encryption is demanded of the link.
    bt_security security{};
    security.level = BT_SECURITY_LOW;
    ::setsockopt(fd, SOL_BLUETOOTH, BT_SECURITY, &security, sizeof security);

    sockaddr_rc remote{};
    remote.rc_family = AF_BLUETOOTH;
    remote.rc_bdaddr = target;
    remote.rc_channel = uint8_t(channel);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&remote), sizeof remote) != 0) {
        if (errno != EINPROGRESS && errno != EAGAIN)
            throw LinkError(errnoText(what, errno));
        awaitConnect(fd, qMax(timeoutMs, PageTimeoutMs), what);
    }
    return channelOwner;
}

}  // namespace BluezSockets
