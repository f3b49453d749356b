#include "serialstack.h"

#include "fdchannel.h"
#include "linkerror.h"
#include "linktexts.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

speed_t speedFor(int baud)
{
    switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    case 460800: return B460800;
    case 921600: return B921600;
    default: return B0;
    }
}

QString failure(const QString& path, const char* what, int error)
{
    return QStringLiteral("%1: %2: %3")
        .arg(path, QString::fromLatin1(what), QString::fromLocal8Bit(std::strerror(error)));
}

}  // namespace

SerialStack::SerialStack(const QStringList& portPaths, int baudRate) : ports(portPaths), baud(baudRate)
{
}

bool SerialStack::isSupportedBaud(int rate)
{
    return speedFor(rate) != B0;
}

std::optional<QList<BluetoothDevice>> SerialStack::pairedDevices()
{
    QList<BluetoothDevice> devices;
    for (const QString& port : ports)
        devices.append({port, port});
    return devices;
}

QList<BluetoothService> SerialStack::services(const BluetoothDevice& device)
{
    if (!ports.contains(device.address))
        throw LinkError(device.address + QStringLiteral(": not a configured port"));
    return {BluetoothService{QString::fromLatin1(LinkTexts::SerialPortUuid), -1}};
}

std::unique_ptr<ByteChannel> SerialStack::connect(const BluetoothDevice& device, const BluetoothService&)
{
    const QString& path = device.address;
    const speed_t speed = speedFor(baud);
    if (speed == B0)
        throw LinkError(QStringLiteral("%1: unsupported baud rate %2").arg(path).arg(baud));

    const QByteArray name = path.toLocal8Bit();
    // Non-blocking open: a port waiting for carrier must not hang the search.
    const int fd = ::open(name.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw LinkError(failure(path, "open", errno));
    auto owner = std::make_unique<FdByteChannel>(fd);

    termios tio {};
    if (::tcgetattr(fd, &tio) != 0)
        throw LinkError(failure(path, "not a serial port", errno));
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~tcflag_t(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_iflag &= ~tcflag_t(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    if (::cfsetispeed(&tio, speed) != 0 || ::cfsetospeed(&tio, speed) != 0 ||
        ::tcsetattr(fd, TCSANOW, &tio) != 0)
        throw LinkError(failure(path, "configure", errno));
    // Bytes that arrived before the port was ours belong to nobody.
    ::tcflush(fd, TCIOFLUSH);
    return owner;
}
