// Option editing: the five check boxes against bits 0 to 4 of MainPictureStatus.

#include "dialog/Dialog.h"

#include "diag/Procedure.h"
#include "i18n/InfoText.h"
#include "platform/Platform.h"
#include "store/EditRecord.h"
#include "store/FileLocations.h"
#include "store/IniAccess.h"
#include "store/MachineList.h"
#include "store/StatusBits.h"
#include "store/StoreCheck.h"

namespace {
const QString OptionSection = QStringLiteral("Machine1");
const QString OptionKey = QStringLiteral("MainPictureStatus");
} // namespace

Read<qint16> Dialog::SetupUserInterFace() {
    Procedure procedure("SetupUserInterFace");
    QString programIni;
    qint16 value = 0;
    // Ends the program without the .cfg file; what it reads is not used.
    procedure.step([&] { static_cast<void>(GetValidMachines()); });
    // A read that failed anywhere on the way to the value (the host's file, the read copy, a
    // folder) leaves the boxes cleared, but those are no stored options.
    bool valueRead = procedure.step([&] { programIni = procedure.take(GetProgramIniPath(1)); });
    valueRead = procedure.step([&] {
        value = procedure.take(LoadIniInteger(OptionSection, OptionKey, programIni, false));
    }) && valueRead &&
                !procedure.readFailed();
    procedure.step([&] { value = qMax<qint16>(value, 0); });
    for (qint16 bit = 0; bit < qint16(DialogModel::OptionCount); ++bit) {
        // Changing the value raises the box's click notification at once.
        model.optionRead[bit] = procedure.step([&] {
            model.optionBox(bit).setValue(ReadBit(value, bit));
        }) && valueRead;
        model.optionShown[bit] = model.optionBox(bit).Value();
    }
    return {value, !valueRead};
}

void Dialog::CheckBox_Click(int index) {
    Procedure procedure(model.control(index).Name() + QStringLiteral("_Click"));
    procedure.step([&] { CheckInfoClick(model, index); });
}

bool Dialog::WriteInputs(bool onlyWhenChanged) {
    Procedure procedure("WriteInputs");
    QString programIni;
    qint16 value = 0;
    qint16 stored = 0;
    bool changed = false;
    procedure.step([&] { static_cast<void>(GetValidMachines()); });
    // Always the installation's own file: bits 5 to 14 come from the file being written. A read
    // that fails on the way to the file or in it leaves nothing to build the store on.
    procedure.step([&] { programIni = procedure.take(GetProgramIniPath(2)); });
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
                value = procedure.take(LoadIniInteger(OptionSection, OptionKey, programIni, false));
            }) && !procedure.readFailed();
        }
        stored = value;
        procedure.step([&] { value = qMax<qint16>(value, 0); });
        for (qint16 bit = 0; bit < qint16(DialogModel::OptionCount); ++bit) {
            procedure.step([&] {
                qint16 state = model.optionBox(bit).Value();
                // A box that showed no stored bit, and that the user left as it was, keeps the
                // bit of the file being written: a silent run writes the file's bits back.
                if (!model.optionRead[bit] && state == model.optionShown[bit])
                    state = ReadBit(value, bit);
                value = WriteBit(value, bit, state);
            });
        }
        // The value as the file holds it: a missing key (-1) or a negative value changes too.
        changed = valueRead && value != stored;
        if (valueRead && (changed || !onlyWhenChanged)) {
            procedure.step([&] {
                if (programIni.isEmpty())
                    refuseStore(file, platform::current().whyNoOrdinaryFile(file));
                requireStored(SaveIni(value, OptionSection, OptionKey, programIni), file);
            });
        }
    }
    if (changed || !onlyWhenChanged)
        procedure.step([&] { WriteEditInfo(); });
    return changed;
}

bool Dialog::SetOptions(const std::array<std::optional<bool>, DialogModel::OptionCount>& asked) {
    for (int bit = 0; bit < DialogModel::OptionCount; ++bit) {
        // A box not asked for shows no stored bit and is left as shown: the file's bit stays.
        model.optionRead[bit] = asked[bit].has_value();
        model.optionShown[bit] = model.optionBox(bit).Value();
        if (asked[bit])
            model.optionBox(bit).setValue(*asked[bit] ? 1 : 0);
    }
    return WriteInputs(true);
}
