#pragma once

class QCoreApplication;

// Qt's own dialogs (print, font, colour, file and folder pickers) in Russian, whatever the
// user's locale: every text of the program is Russian. Without the translation file they stay
// English, with no message. The program's message boxes set their titles and buttons
// themselves, so the translation does not change them.
bool InstallQtRussian(QCoreApplication& app);
