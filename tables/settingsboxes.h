#pragma once

#include <QString>

#include <array>

// The eight number boxes that show the settings block of a table, reached by
// their texts so that the store needs no widget. Box k shows entry 256 + k.
class SettingsBoxes {
public:
    enum Box {
        MafTime_nb,
        Treshold_nb,
        EnrichmentFactor_nb,
        EnleanmentFactor_nb,
        SmoothMaf_nb,
        SmoothTps_nb,
        SmoothRpm_nb,
        TpsThreshold_nb,
    };
    static constexpr int Count = 8;

    virtual ~SettingsBoxes() = default;

    virtual QString text(Box box) const = 0;
    virtual void setText(Box box, const QString& text) = 0;
};

// Boxes that are only texts: for a command-line tool and for tests.
class TextSettingsBoxes : public SettingsBoxes {
public:
    QString text(Box box) const override { return texts[static_cast<std::size_t>(box)]; }
    void setText(Box box, const QString& text) override { texts[static_cast<std::size_t>(box)] = text; }

    std::array<QString, Count> texts;
};
