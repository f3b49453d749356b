#include "dashsample.h"

#include "oxygenscaling.h"

TMsgDashData dashDataFor(const LogSample& sample, const QLocale& locale)
{
    TMsgDashData data;
    data.o2Raw = sample.colO2;
    const O2Scale scale = ScaleO2(sample.colO2, locale);
    data.o2Meter = scale.o2Meter;
    data.o2Colour = scale.o2Colour;
    data.o2Text = scale.o2Text;
    data.rawOutput = sample.rawOutput;
    data.rawAngle = sample.rawAngle;
    data.rawIat = sample.rawIat;
    data.rawLine1 = sample.rawLine1;
    data.rawLine2 = sample.rawLine2;
    data.rawAt = sample.rawAt;
    data.rawRef = sample.rawRef;
    data.rawAux = sample.rawAux;
    return data;
}
