#include "commandline.h"
#include "datafolder.h"
#include "stopsignalwatcher.h"
#include "tabbedform.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <exception>

namespace {

// Qt aborts when no platform can be loaded; say what to do instead.
bool displayAvailable()
{
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return true;
    return !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

void showStartupError(const QString& text)
{
    QMessageBox::critical(nullptr, "ZantoTPS", text);
}

}  // namespace

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const ClientOptions options = parseClientOptions(arguments);
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "zantotps: %s\nTry 'zantotps --help'.\n", qPrintable(options.error));
        return 2;
    }
    if (options.showHelp) {
        std::fputs(qPrintable(options.helpText), stdout);
        return 0;
    }
    if (options.showVersion) {
        std::fputs(qPrintable(options.versionText), stdout);
        return 0;
    }
    if (!options.dataFolder.isEmpty()) {
        const QString problem = enterDataFolder(options.dataFolder);
        if (!problem.isEmpty()) {
            std::fprintf(stderr, "zantotps: %s\n", qPrintable(problem));
            return 2;
        }
    }
    if (!displayAvailable()) {
        std::fputs("zantotps: no display found (DISPLAY is not set); start it on a desktop, "
                   "or without a screen under Xvfb: xvfb-run -a ./run\n",
                   stderr);
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("zantotps");
    QApplication::setApplicationVersion(ZANTO_VERSION);
    try {
        // SIGTERM, SIGINT and SIGHUP close the window as its close button
        // does: logging stopped, the socket closed, config.cfg written. A
        // message box waiting for the person (even one of the start-up) is
        // closed first, or it would hold the close up.
        StopSignalWatcher stopSignals;
        TTabbedForm* window = nullptr;
        bool stopAsked = false;
        QObject::connect(&stopSignals, &StopSignalWatcher::stopRequested, [&window, &stopAsked] {
            stopAsked = true;
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
            if (window)
                window->close();
        });
        TTabbedForm form(nullptr, nullptr, options.link);
        window = &form;
        if (stopAsked) {
            form.close();
            return 0;
        }
        form.show();
        return QApplication::exec();
    } catch (const std::exception& e) {
        showStartupError(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        showStartupError(QString());
    }
    return 1;
}
