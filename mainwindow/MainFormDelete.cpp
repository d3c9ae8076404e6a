// The main window's performer deletion.
#include "mainwindow/MainForm.h"

void TMainForm::DeleteAvtor() {}
