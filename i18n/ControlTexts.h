#pragma once
// Captions, tool tips and help texts of the dialog's controls from the language file, which is
// completed with every entry looked for.

class DialogModel;

// Puts the dialog into the language GetLanguage names. Walks every control of the model in
// window order, and for each, in section <language id> of the language file:
//   - labels, command buttons and check boxes: key "Caption_" + name [+ index] + "_" + tag.
//     A text other than "" and "0" becomes the caption; otherwise the placeholder is written:
//     the current caption in "1031", "0" in any other language. With a help number h other
//     than 0, "Help" + h fills HelpTexts[h], writing "0" when it reads "" or "0"; a text
//     other than those becomes the control's description as the info box shows it.
//   - every control whose tag does not contain "NOTTT" (any letter case): key "TTT_" + name
//     [+ index] + "_" + tag. A text other than "" and "0" becomes the tool tip; otherwise "0"
//     is written.
// The index appears only for members of a control array (another control has the same
// name). An entry that could not be read is not missing: nothing is written for it. Any
// failure inside one control's handling (a help number outside 1..100, an attribute its kind
// lacks) silently ends that control's handling; the walk goes on. Failures in finding the
// language file reach the caller.
void LoadToolTipTexts(DialogModel& dialog);
