#include "trxtx.h"

#include "linktexts.h"
#include "tbtmethod.h"
#include "usernotifier.h"

TRXTX::TRXTX(TZantoBroadcaster* bus, TBTMethod* link, UserNotifier* userNotifier)
    : Bus(bus), Link(link), notifier(userNotifier)
{
    if (Bus)
        Bus->Register(this);
}

TRXTX::~TRXTX()
{
    if (Bus)
        Bus->Unregister(this);
}

void TRXTX::Dispatch(const TMessage&)
{
}

int TRXTX::Send(const char* bytes, int n)
{
    Link->SendBytes(bytes, n);
    return n;
}

int TRXTX::Receive(char* buffer, int n)
{
    return Link->ReceiveExact(buffer, n, ReceiveMs);
}

int TRXTX::ReceiveOnce(char* buffer, int n)
{
    return Link->ReceiveOnce(buffer, n, ReceiveOnceMs);
}

int TRXTX::Drain()
{
    char byte = 0;
    while (Link->ReceiveExact(&byte, 1, DrainStepMs) > 0) {
    }
    return 0;
}

void TRXTX::ReportException(const std::exception& e)
{
    if (notifier)
        notifier->showError(QString::fromUtf8(e.what()));
}

void TRXTX::ReportTransferError(const QString& code, int received, int expected)
{
    if (code.startsWith(QLatin1Char('E'))) {
        Link->Connected = 0;
        if (notifier)
            notifier->showMessage(QString::fromUtf8(LinkTexts::NoResponse) + QString::number(received) +
                                  QString::fromUtf8(LinkTexts::CountOf) + QString::number(expected) +
                                  QString::fromUtf8(LinkTexts::CountReceived));
    } else if (code.startsWith(QLatin1Char('V'))) {
        if (notifier)
            notifier->showMessage(QString::fromUtf8(LinkTexts::VerificationError));
    }
}

void TRXTX::Disconnect()
{
    Link->CloseSocket();
    Connected = 0;
}
