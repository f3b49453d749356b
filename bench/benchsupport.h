#pragma once

#include "logcolumns.h"
#include "usernotifier.h"

#include <cstdio>
#include <cstdlib>

// Shared by the benchmarks: a notifier that stops the run on any message, so
// a failure never hides behind a fast figure, and a synthetic recording.

class AbortingNotifier : public UserNotifier {
public:
    void showMessage(const QString& text) override { fail(text); }
    void showError(const QString& text) override { fail(text); }
    bool confirm(const QString&) override { return true; }
    void showToast(const QString&) override {}
    void flashToast(const QString&) override {}
    void processEvents() override {}

private:
    [[noreturn]] static void fail(const QString& text)
    {
        std::fprintf(stderr, "zantotps-bench: %s\n", qPrintable(text));
        std::abort();
    }
};

// n samples with values of every width, negative ones among them, as a long
// drive gives.
inline LogColumns benchRecording(qsizetype n)
{
    LogColumns c;
    c.resize(n);
    for (qsizetype k = 0; k < n; ++k) {
        const auto i = static_cast<qint32>(k);
        c.colConverter[k] = i & 0xFF;
        c.colMarker[k] = (i / 500) % 2 ? 4 : 0;
        c.colEnrichment[k] = (i * 3) & 0xFF;
        c.colMaf[k] = (i * 5) & 0xFF;
        c.colTps[k] = (i * 7) & 0xFF;
        c.colRpm[k] = (i * 13) & 0xFFFF;
        c.colO2[k] = (i * 11) & 0xFF;
        c.colCorr[k] = (i % 511) - 255;
        c.colIat[k] = (i * 17) & 0xFF;
        c.colEct[k] = (i * 19) & 0xFF;
        c.colO2sm[k] = (i * 23) & 0xFF;
        c.colLogCorr[k] = 255 - (i % 511);
    }
    return c;
}
