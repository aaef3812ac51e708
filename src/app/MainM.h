#pragma once
// Start-up: the program's state is set, the main window is created with the
// empty board and card drawn, and the settings are read from the work folder.

#include "app/frmForma.h"

#include <memory>

// Runs the start sequence up to, not including, showing the window.
std::unique_ptr<frmForma> MainM(ProgramState &state, Messenger &messenger, const QString &workFolder);
