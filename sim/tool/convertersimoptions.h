#pragma once

#include "simulatoroptions.h"

#include <QStringList>

struct ConverterSimSettings {
    SimulatorOptions options;
    bool verbose = false;
};

// Reads converter-sim's command line. Returns -1 to go on, otherwise the exit
// code to leave with (after --help, or after an error it has printed).
int parseConverterSimArguments(const QStringList& arguments, ConverterSimSettings& settings);
