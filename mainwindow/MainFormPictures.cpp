// The main window's album-picture commands: attach, remove, the large window, the viewer.
#include "mainwindow/MainForm.h"

void TMainForm::AddImage() {}
void TMainForm::DelImageSpeedButtonClick() {}
void TMainForm::N1Click() {}
void TMainForm::N7Click() {}
