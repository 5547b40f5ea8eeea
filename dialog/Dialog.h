#pragma once
// What the dialog does, on its model (model/DialogModel.h) and without widgets: the start-up
// sequence, showing and storing the options, and the ways out of the dialog, each operation
// under its own name and its numbered steps. The window shows the model and hands its events
// here (window/); a silent run runs the start-up on the model alone, and it ends inside it.

#include "model/DialogModel.h"

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

    // The stored option bits into the five boxes.
    void SetupUserInterFace();
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

private:
    // The five boxes into the stored option bits, and the edit record.
    void WriteInputs();
};
