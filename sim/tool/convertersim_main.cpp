// converter-sim: a simulated Converter on a pseudo-terminal, so that the
// client's serial backend, or any serial tool, can talk to it as to a
// Converter on a cable. Prints the terminal's path and serves until
// interrupted (SIGINT, SIGTERM).

#include "convertersimoptions.h"
#include "simulatedconverter.h"
#include "simulatorloop.h"

#include <QCoreApplication>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <termios.h>
#include <unistd.h>

namespace {

std::atomic<SimulatorLoop*> runningLoop{nullptr};

extern "C" void onStopSignal(int)
{
    if (SimulatorLoop* loop = runningLoop.load())
        loop->requestStop();
}

void installStopHandlers()
{
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void fail(const char* what)
{
    std::fprintf(stderr, "converter-sim: %s: %s\n", what, std::strerror(errno));
}

bool makeRaw(int fd)
{
    termios settings{};
    if (::tcgetattr(fd, &settings) != 0)
        return false;
    ::cfmakeraw(&settings);
    ::cfsetispeed(&settings, B115200);
    ::cfsetospeed(&settings, B115200);
    return ::tcsetattr(fd, TCSANOW, &settings) == 0;
}

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("converter-sim"));

    ConverterSimSettings settings;
    const int parseResult = parseConverterSimArguments(app.arguments(), settings);
    if (parseResult >= 0)
        return parseResult;

    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        fail("cannot open a pseudo-terminal");
        return 1;
    }
    char path[256] = {};
    if (::ptsname_r(master, path, sizeof path) != 0) {
        fail("ptsname");
        return 1;
    }
    // Our own handle on the terminal keeps it alive between clients (with no
    // one on it, the master reports a hang-up) and lets us set raw mode
    // before anyone opens it: no echo, no line editing, all 256 byte values.
    const int slave = ::open(path, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0 || !makeRaw(slave)) {
        fail("cannot set up the terminal");
        return 1;
    }

    SimulatedConverter converter(settings.options, false);
    converter.setJournalEnabled(settings.verbose);
    std::mutex mutex;
    SimulatorLoop loop(master, SimulatorLoop::Channel::Stream, converter, mutex);
    if (settings.verbose) {
        loop.onJournal = [](const QStringList& lines) {
            for (const QString& line : lines)
                std::fprintf(stderr, "converter-sim: %s\n", line.toLocal8Bit().constData());
        };
    }
    runningLoop.store(&loop);
    installStopHandlers();

    std::printf("%s\n", path);
    std::fflush(stdout);

    loop.run();
    runningLoop.store(nullptr);
    if (loop.hungUp())
        std::fprintf(stderr, "converter-sim: the line was dropped\n");
    loop.closeDevice();
    ::close(slave);
    return 0;
}
