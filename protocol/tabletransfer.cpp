#include "tabletransfer.h"

#include "commandset.h"
#include "protocoltexts.h"
#include "table.h"
#include "transfererror.h"
#include "trxtx.h"
#include "usernotifier.h"

#include <exception>

namespace {

QString text(const char* s)
{
    return QString::fromUtf8(s);
}

void send(TRXTX& rxtx, const QByteArray& bytes)
{
    rxtx.Send(bytes.constData(), static_cast<int>(bytes.size()));
}

void sendByte(TRXTX& rxtx, std::uint8_t byte)
{
    const char c = static_cast<char>(byte);
    rxtx.Send(&c, 1);
}

bool connected(const Table& table)
{
    return table.rxtx != nullptr && table.rxtx->Connected != 0;
}

}  // namespace

void ReadTable(Table& table)
{
    if (!connected(table)) {
        table.notifier().showMessage(text(ProtocolTexts::NotConnected));
        return;
    }
    TRXTX& rxtx = *table.rxtx;
    if (rxtx.ChannelFree == 0) {
        table.notifier().showMessage(text(ProtocolTexts::WaitForDatalogger));
        return;
    }
    try {
        table.reportStatus(text(ProtocolTexts::Reading));
        rxtx.Drain();
        send(rxtx, CommandSet::ReadTable);
        char answer[2] = {};
        const int received = rxtx.Receive(answer, 2);
        if (received < 2)
            throw TransferError{text(ProtocolTexts::ErrorConnect), received};
        table.tab[0] = static_cast<std::uint8_t>(answer[0]);
        table.tab[1] = static_cast<std::uint8_t>(answer[1]);
    } catch (const TransferError& e) {
        // The report says what went wrong; an "OK" after it would claim the
        // read succeeded, so the toast is only cleared.
        rxtx.ReportTransferError(e.code, e.received, 2);
        table.reportDone(text(ProtocolTexts::Empty));
        return;
    } catch (const std::exception& e) {
        rxtx.ReportException(e);
        table.reportDone(text(ProtocolTexts::Empty));
        return;
    }
    table.reportDone(text(ProtocolTexts::Ok));
}

void WriteTable(Table& table)
{
    if (!connected(table)) {
        table.notifier().showMessage(text(ProtocolTexts::NotConnected));
        return;
    }
    TRXTX& rxtx = *table.rxtx;
    UserNotifier& notifier = table.notifier();
    try {
        table.reportStatus(text(ProtocolTexts::Ram0));
        rxtx.Drain();
        send(rxtx, CommandSet::WriteTable);
        rxtx.Drain();
        table.SettingsFromUi();
        table.tab[0] = table.writeValue;
        const auto written = static_cast<std::uint8_t>(table.writeValue);
        sendByte(rxtx, written);

        char echo = 0;
        const int chunk = rxtx.ReceiveOnce(&echo, 1);
        if (chunk == 0 || static_cast<std::uint8_t>(echo) != written) {
            const QString rx = chunk == 0 ? text(ProtocolTexts::EchoNone)
                                          : QString::number(static_cast<std::uint8_t>(echo));
            notifier.showMessage(text(ProtocolTexts::EchoError) + QLatin1Char('0') + text(ProtocolTexts::EchoTx) +
                                 QString::number(written) + text(ProtocolTexts::EchoRx) + rx);
            table.reportDone(text(ProtocolTexts::Error));
            return;
        }
        table.reportStatus(text(ProtocolTexts::Ram100));
        table.reportStatus(text(ProtocolTexts::Eeprom0));

        rxtx.Drain();
        send(rxtx, CommandSet::ReadTable);
        char stored = 0;
        const int received = rxtx.Receive(&stored, 1);
        if (received < 1) {
            notifier.showMessage(QString::number(received));
            throw TransferError{text(ProtocolTexts::ErrorConnectVerify), received};
        }
        table.reportStatus(text(ProtocolTexts::Verifying100));
        const auto expected = static_cast<std::uint8_t>(table.tab[0] & 0xFF);
        if (static_cast<std::uint8_t>(stored) != expected) {
            notifier.showMessage(text(ProtocolTexts::VerifyErrorPrefix) + QLatin1Char('0') +
                                 text(ProtocolTexts::VerifyTab) + QString::number(expected) +
                                 text(ProtocolTexts::VerifyBuf) +
                                 QString::number(static_cast<std::uint8_t>(stored)));
            throw TransferError{text(ProtocolTexts::VerificationErrorCode), received};
        }
    } catch (const TransferError& e) {
        notifier.showMessage(e.code);
        rxtx.ReportTransferError(e.code, e.received, 1);
        table.reportDone(text(ProtocolTexts::Empty));
        return;
    } catch (const std::exception& e) {
        rxtx.ReportException(e);
        table.reportDone(text(ProtocolTexts::Empty));
        return;
    }
    table.reportDone(text(ProtocolTexts::Ok));
}

void SendTableValues(Table& table)
{
    if (!connected(table))
        return;
    TRXTX& rxtx = *table.rxtx;
    try {
        send(rxtx, CommandSet::SendValues);
        table.SettingsFromUi();
        const char values[2] = {static_cast<char>(table.tab[0] & 0xFF), static_cast<char>(table.tab[1] & 0xFF)};
        rxtx.Send(values, 2);
    } catch (const std::exception& e) {
        rxtx.ReportException(e);
    }
}
