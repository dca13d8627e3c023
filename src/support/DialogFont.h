#pragma once
// Every window is designed in "MS Shell Dlg 2". Where the system has no
// substitute for that alias, the window switches to the older "MS Shell Dlg".
class TForm;

void ApplyDialogFont(TForm& form);
