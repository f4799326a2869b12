#include "app/MainForm.h"

// Running the entries of the two lists is still to come: for now a launch or
// text hotkey reaches these operations and does nothing.
void TfrmMain::RunLaunchEntry(int /*key*/) {}

void TfrmMain::PasteTextEntry(int /*key*/) {}
