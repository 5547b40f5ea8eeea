#pragma once
// The edit record in section Info of the component's .cfg file.

#include <QString>

// Writes S_Prog ("2.0.0 - Standalone" / " - Integrated") and S_Editor.
void WriteEditInfo();

// The S_Editor form of an editor value: each character but "-" and "_" as the upper-case
// hexadecimal of its 8-bit code plus 5.
QString scrambleEditorValue(const QString& editorValue);
