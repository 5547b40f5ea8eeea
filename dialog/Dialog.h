#pragma once
// What the dialog does, on its model (model/DialogModel.h) and without widgets: the start-up
// sequence, showing and storing the options, and the ways out of the dialog, each operation
// under its own name and its numbered steps. The window shows the model and hands its events
// here (window/); a silent run runs the start-up on the model alone, and it ends inside it.

#include "core/Outcome.h"
#include "model/DialogModel.h"

#include <array>
#include <optional>

class Dialog {
public:
    // The model's click notification runs the clicked box's own handler.
    Dialog();
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    DialogModel model;

    // Start-up: captions, the host's file, the start mode and the title, the machine list, the
    // stored options; then OK and Cancel are enabled, or a silent run confirms at once.
    void Form_Load();
    // The window became the program's active window: enables CommandOK.
    void Form_Activate();
    // The window's size changed: nothing; the controls keep their designed places and sizes.
    void Form_Resize();

    // The stored option bits into the five boxes; returns the value they show (a negative or
    // out-of-range stored value as 0), marked when it could not be read.
    Read<qint16> SetupUserInterFace();
    // The click notification of the check box at index (CheckFaden_Click, ...): hands the box
    // to CheckInfoClick.
    void CheckBox_Click(int index);

    // Leaving the dialog: OK stores and ends, Cancel and the window frame's close ask first,
    // and the question-mark button switches the help mode.
    void CommandOK_Click();
    void CommandCancel_Click();
    void CommandQuest_Click();
    void Form_QueryUnload(bool& cancel, int unloadMode);
    void CloseMe();
    bool ConfirmCancel();

    // OK's store for a script, without the dialog: the boxes given take the states given, the
    // others keep the bits of the file being written, as bits 5 to 14 do. MainPictureStatus
    // and the edit record are written only when the value changes; true when it did.
    bool SetOptions(const std::array<std::optional<bool>, DialogModel::OptionCount>& asked);

private:
    // The five boxes into the stored option bits, and the edit record; with onlyWhenChanged,
    // neither when the value the file holds stays as it is. True when the value changed.
    bool WriteInputs(bool onlyWhenChanged = false);
};
