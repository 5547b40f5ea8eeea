// Option editing: the five check boxes against bits 0 to 4 of MainPictureStatus.

#include "app/frm_415_MainPicture_Config_Exe.h"

#include "diag/Procedure.h"
#include "platform/ControlWalk.h"
#include "platform/Platform.h"
#include "run/RunState.h"
#include "store/EditRecord.h"
#include "store/FileLocations.h"
#include "store/IniAccess.h"
#include "store/MachineList.h"
#include "store/StatusBits.h"
#include "store/StoreCheck.h"

#include <QCheckBox>

#include <array>

namespace {
const QString OptionSection = QStringLiteral("Machine1");
const QString OptionKey = QStringLiteral("MainPictureStatus");

// The check box of each option bit, bit 0 first.
std::array<QCheckBox*, 5> optionBoxes(const frm_415_MainPicture_Config_Exe& window) {
    return {window.CheckEtikette, window.CheckBobbineLinks, window.CheckOhneBobinen,
            window.CheckBobRechtsFadenAnMasch, window.CheckFaden};
}
} // namespace

void frm_415_MainPicture_Config_Exe::SetupUserInterFace() {
    Procedure procedure("SetupUserInterFace");
    QString programIni;
    qint16 value = 0;
    procedure.step([&] { GetValidMachines(); }); // ends the program without the .cfg file
    // A read that failed anywhere on the way to the value (the host's file, the read copy, a
    // folder) leaves the boxes cleared, but those are no stored options.
    const int failedReadsBefore = Run.failedReads;
    bool valueRead = procedure.step([&] { programIni = GetProgramIniPath(1); });
    valueRead = procedure.step(
                    [&] { value = LoadIniInteger(OptionSection, OptionKey, programIni, false); }) &&
                valueRead && Run.failedReads == failedReadsBefore;
    procedure.step([&] { value = qMax<qint16>(value, 0); });
    const auto boxes = optionBoxes(*this);
    for (qint16 bit = 0; bit < qint16(boxes.size()); ++bit) {
        optionRead_[bit] = procedure.step([&] {
            // Changing the value raises the box's click notification at once.
            Control(boxes[bit]).setValue(ReadBit(value, bit));
        }) && valueRead;
        shownOptions_[bit] = Control(boxes[bit]).Value();
    }
}

void frm_415_MainPicture_Config_Exe::WriteInputs() {
    Procedure procedure("WriteInputs");
    QString programIni;
    qint16 value = 0;
    procedure.step([&] { GetValidMachines(); });
    // A read that fails on the way to the file or in it leaves nothing to build the store on.
    const int failedReadsBefore = Run.failedReads;
    // Always the installation's own file: bits 5 to 14 come from the file being written.
    procedure.step([&] { programIni = GetProgramIniPath(2); });
    // Without Program.ini the path is empty; a failure then names the file looked for.
    QString file;
    procedure.step(
        [&] { file = programIni.isEmpty() ? installationProgramIniPath() : programIni; });
    {
        // Bits 5 to 14 belong to other tools: they are read, kept and stored under the
        // folder's lock, so that none of their changes is lost in between. A store rests on a
        // value that was read.
        StoreLock lock;
        bool valueRead = procedure.step([&] { lock.take(file); });
        if (valueRead) {
            valueRead = procedure.step([&] {
                value = LoadIniInteger(OptionSection, OptionKey, programIni, false);
            }) && Run.failedReads == failedReadsBefore;
        }
        procedure.step([&] { value = qMax<qint16>(value, 0); });
        const auto boxes = optionBoxes(*this);
        for (qint16 bit = 0; bit < qint16(boxes.size()); ++bit) {
            procedure.step([&] {
                qint16 state = Control(boxes[bit]).Value();
                // A box that showed no stored bit, and that the user left as it was, keeps the
                // bit of the file being written: a silent run writes the file's bits back.
                if (!optionRead_[bit] && state == shownOptions_[bit])
                    state = ReadBit(value, bit);
                value = WriteBit(value, bit, state);
            });
        }
        if (valueRead) {
            procedure.step([&] {
                if (programIni.isEmpty())
                    refuseStore(file, platform::current().whyNoOrdinaryFile(file));
                requireStored(SaveIni(value, OptionSection, OptionKey, programIni), file);
            });
        }
    }
    procedure.step([&] { WriteEditInfo(); });
}
