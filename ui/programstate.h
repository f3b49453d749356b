#pragma once

#include <QString>

class O2RefGrid;
class UserNotifier;

// The settings kept between runs in "config.cfg", in the file's field order.
// Number boxes are held as the integers the file stores (their values
// truncated toward zero); combo boxes as their item index, of which the file
// keeps the low byte. The defaults are those of a first start.
struct ProgramState {
    quint8 LanguageId = 0;          // 1 English, anything else Russian
    int o2SensorTypeIndex = 0;      // ComboBoxO2
    int o2OutputUnitIndex = 0;      // ComboBoxO2Output
    int autoCorrTypeIndex = 0;      // ComboBoxAutoCorrType
    int tpsSetupUnitIndex = 0;      // ComboBoxTpsSetup
    bool vFall = false;             // VFall_rb checked
    qint32 mafPulsations = 10;      // MafPulsations_nbox
    qint32 fastInterval = 2;        // Fast_nbox
    qint32 fineInterval = 4;        // Fine_nbox
    qint32 forcedIdleRpm = 1500;    // ForcedIdleRpm_nbox
    qint32 forcedIdleTps = 2;       // ForcedIdleTps_nbox
    qint32 o2Ref = 25;              // O2Ref_numbox
    qint32 o2Offset = 0;            // O2Offset_numbox
    bool dashChartVisible = false;  // DashChart shown
    QString LastDeviceAddress = QStringLiteral("UNKNOWN_ADDRESS");
    QString FileFolder;
    quint8 MinPointIndex = 0;
    quint8 MaxPointIndex = 255;
    quint8 KickDownPointIndex = 255;
    qint32 VoltmeterChannel = 1;    // only the low byte is stored
};

// Writes the whole file. The new content replaces the old file in one step,
// so a failed or interrupted save leaves the previous file as it was.
void SaveProgramState(const QString& fileName, const ProgramState& state, const O2RefGrid& grid,
                      UserNotifier& notifier);

// Reads the whole file into state and grid, field by field; true when every
// field was read. On a short or unreadable file the message is shown and the
// fields read before the error keep their new values.
bool LoadProgramState(const QString& fileName, ProgramState& state, O2RefGrid& grid,
                      UserNotifier& notifier);

// The file's bytes for a state, as SaveProgramState writes them.
QByteArray encodeProgramState(const ProgramState& state, const O2RefGrid& grid);
