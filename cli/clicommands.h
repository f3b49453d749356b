#pragma once

#include <QStringList>

#include <cstdio>

// Exit status of the tool.
enum CliStatus { CliSuccess = 0, CliFailure = 1, CliUsage = 2 };

// Runs the command line (the arguments after the program name): results on
// out, messages, progress and usage on err. Needs a QCoreApplication; the
// recording runs its event loop.
int runCli(const QStringList& arguments, std::FILE* out = stdout, std::FILE* err = stderr);
