// zantotps-cli: the Converter's commands for scripts and headless loggers.
#include "clicommands.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    return runCli(QCoreApplication::arguments().mid(1));
}
