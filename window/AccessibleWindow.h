#pragma once
// What a screen reader or an automation tool sees of the window, through the toolkit's
// accessibility interfaces:
//   - the window is a dialog named by its title;
//   - every container lists its controls in screen order, top to bottom and, in a row, left
//     to right (the window keeps its controls in design order, which is neither);
//   - the question-mark button is a switch: a check box, short name "Help mode", its tool tip
//     as description, checked while the help mode is on;
//   - an action (Press, Toggle) only queues the click and returns: a box the click opens
//     comes after the action has answered;
//   - while a box of the program is open, the window beneath refuses every action, as it
//     refuses the mouse and the keyboard.

class QWidget;

// Makes the window's controls show as above; installs itself once, before the first control
// is built, so that no control keeps the toolkit's own view of it.
void installAccessibleWindow();

// Tells accessibility clients that the help mode, the question-mark button's checked state,
// has just changed.
void announceHelpModeSwitched(QWidget* helpSwitch);
