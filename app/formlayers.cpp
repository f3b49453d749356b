// The window's commands that reach the Converter, the table store, the
// logger and the file browser. Each is the one place where its layer is
// called; until that layer's object is created in FormCreate the command
// does what the window does without it: a command that needs the Converter
// refuses as it would with no connection, the others have nothing to act on.
#include "tabbedform.h"

#include "formtexts.h"

void TTabbedForm::StartConnection()
{
    // TAnThread on BtMethod from BtMethod->LastDeviceAddress (closing a held socket first).
}

bool TTabbedForm::converterConnected() const
{
    // Rxtx->Connected once the transport exists.
    return false;
}

void TTabbedForm::ReadTables()
{
    // Tables->ReadTable(): it makes its own refusal and transfer messages.
    if (!converterConnected())
        messages().showMessage(QString::fromUtf8(FormTexts::NotConnected));
}

void TTabbedForm::WriteTables(qint32 writeValue)
{
    // Tables->writeValue := writeValue, then Tables->WriteTable().
    Q_UNUSED(writeValue);
    if (!converterConnected())
        messages().showMessage(QString::fromUtf8(FormTexts::NotConnected));
}

qint32 TTabbedForm::tableAngleEntry() const
{
    // Tables->tab[0]; a new store holds 0 there.
    return 0;
}

void TTabbedForm::ResetConverter()
{
    // The converter reset command (its animation's finish handler, run directly).
    if (!converterConnected())
        messages().showMessage(QString::fromUtf8(FormTexts::NotConnected));
}

void TTabbedForm::OpenFileBrowser(bool saveMode, const QString& extension, const QString& fileName)
{
    // TFile_frm shown on top with FileFolder, FileDialogCaptions, the mode,
    // the extension and the offered name; its choice comes back as TMsgFile.
    Q_UNUSED(saveMode);
    Q_UNUSED(extension);
    Q_UNUSED(fileName);
}

void TTabbedForm::SaveTableFile(const QString& fileName) { Q_UNUSED(fileName); }      // Tables, table 1
void TTabbedForm::LoadTableFile(const QString& fileName) { Q_UNUSED(fileName); }      // Tables, table 1
void TTabbedForm::SaveLog(const QString& fileName) { Q_UNUSED(fileName); }            // Logger
void TTabbedForm::LoadLog(const QString& fileName) { Q_UNUSED(fileName); }            // Logger
void TTabbedForm::UpdateFirmware(const QString& fileName) { Q_UNUSED(fileName); }     // firmware update
void TTabbedForm::FillOneToOne() {}                                                   // Tables + redraws

void TTabbedForm::ApplyCorrection(int correction, int begin, int end, CorrectionMode mode)
{
    // Tables->ApplyCorrection(correction, begin, end, mode).
    Q_UNUSED(correction);
    Q_UNUSED(begin);
    Q_UNUSED(end);
    Q_UNUSED(mode);
}

void TTabbedForm::ClearPoint(int index) { Q_UNUSED(index); }  // Tables->trained/marks[index] := 0

void TTabbedForm::StepCorrection(int correction, bool ect)
{
    Q_UNUSED(correction);  // Tables->StepCorrection(correction, ect)
    Q_UNUSED(ect);
}

void TTabbedForm::SendSettingsAndTable() {}  // "fiut" with the table's two transferred values

void TTabbedForm::ClearTrained(int begin, int end)
{
    Q_UNUSED(begin);  // Tables->ClearTrained(begin, end)
    Q_UNUSED(end);
}

void TTabbedForm::SendCorrection(int correction, int begin, int end, int kind)
{
    // The table store's live point, then "fiuc"/"fiug" when connected, then the dashboard chart.
    Q_UNUSED(correction);
    Q_UNUSED(begin);
    Q_UNUSED(end);
    Q_UNUSED(kind);
}

void TTabbedForm::SendAngleOffset(qint8 tenths) { Q_UNUSED(tenths); }  // "fiub" + the byte, when connected
void TTabbedForm::StoreCorrection(int correction) { Q_UNUSED(correction); }  // Logger
void TTabbedForm::CopyStoredValuesToLogger() {}  // the set-up boxes, VFall_rb, the automatic state

void TTabbedForm::StoreAutoCorrection(bool enabled, int item)
{
    Q_UNUSED(enabled);  // Logger
    Q_UNUSED(item);
}

void TTabbedForm::SetMarkerHeld(bool held) { Q_UNUSED(held); }  // Logger->markerHeld
void TTabbedForm::SetKickDownPoint(bool on) { Q_UNUSED(on); }    // trained/marks[KickDownPointIndex]
void TTabbedForm::closeSocket() {}                               // BtMethod's socket, when it holds one
