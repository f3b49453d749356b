#pragma once

#include "logcolumns.h"
#include "messages.h"

#include <QLocale>

// The dashboard record for the newest sample: the O2 value with its meter,
// colour and text (narrow-band scale) and the eight raw words.
TMsgDashData dashDataFor(const LogSample& sample, const QLocale& locale = QLocale());
