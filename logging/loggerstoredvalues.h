#pragma once

#include <QtGlobal>

// What the dashboard's correction controls hand to the logger to keep with
// the recording: the correction set-up values at each start of logging, the
// automatic-correction state at each click of its button, the last
// correction sent or applied. The defaults hold until the first copy.
struct LoggerStoredValues {
    qint32 mafPulsations = 10;
    bool vFall = false;
    bool autoCorrection = false;
    qint32 forcedIdleRpm = 1200;
    qint32 forcedIdleTps = 2;
    qint32 fastInterval = 2;
    qint32 fineInterval = 4;
    qint32 autoCorrectionItem = 0;
    qint32 correction = 0;
};
