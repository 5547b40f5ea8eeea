#pragma once
// The help mode's info box: in help mode a click on a check box, OK or Cancel shows the
// control's help text instead of acting.

#include <QString>

class DialogModel;

// The help text with every "<CRLF>" marker (any letter case) replaced by CR LF; all other
// characters, their letter case included, stay as they are.
QString withLineBreaks(const QString& helpText);

// In help mode, shows HelpTexts[the control's help number] with its line-break markers
// replaced, in a modal box titled "Info:" with the information icon and an OK button. Does
// nothing outside help mode. Reports nothing: a step that fails is skipped, so a help number
// outside 1..100 shows an empty box.
void ShowInfoText(DialogModel& dialog, int control);

// What every check box's click notification runs. Outside help mode nothing happens. In help
// mode the click is undone (a value other than 0 becomes 0, 0 becomes 1) and the box's info
// text is shown; the notification that undoing raises is recognised by IgnoreNextClick and
// returns at once. Failures pass to the caller.
void CheckInfoClick(DialogModel& dialog, int checkBox);
