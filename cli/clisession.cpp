#include "clisession.h"

#include "cliarguments.h"
#include "clitexts.h"
#include "simulatedstack.h"
#include "stackfactory.h"
#include "stderrnotifier.h"
#include "tbtmethod.h"
#include "trxtx.h"

namespace {

LinkOptions linkOptions(const CliArguments& arguments)
{
    LinkOptions options;
    options.simulator = arguments.connection == CliArguments::Simulator;
    if (arguments.connection == CliArguments::Port)
        options.ports = {arguments.device};
    if (arguments.baud != 0)
        options.baud = arguments.baud;
    return options;
}

}  // namespace

CliSession::CliSession(StderrNotifier& userNotifier, const CliArguments& arguments)
    : notifier(userNotifier),
      link(std::make_unique<TBTMethod>(&bus, nullptr, &notifier, makeBluetoothStack(linkOptions(arguments)))),
      rxtx(std::make_unique<TRXTX>(&bus, link.get(), &notifier)),
      table(notifier),
      address(arguments.connection == CliArguments::Simulator ? QString::fromLatin1(SimulatedStack::Address)
                                                              : arguments.device)
{
    table.SetUpTableView(nullptr, nullptr, false, [this](const QString& t) { notifier.showToast(t); },
                         [this](const QString& t) { notifier.flashToast(t); });
    table.SetTransport(rxtx.get());
}

CliSession::~CliSession()
{
    // The Converter may be streaming or waiting; the socket is closed before
    // the transport that uses it goes.
    if (link->HasSocket())
        rxtx->Disconnect();
}

bool CliSession::connect()
{
    const std::optional<HandshakeAnswer> result = connectToDevice(*link, address);
    if (!result) {
        notifier.line(QString::fromUtf8(CliTexts::DeviceNotFound));
        return false;
    }
    answer = *result;
    link->Connected = 1;
    rxtx->Connected = 1;
    return true;
}
