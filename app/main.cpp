#include <QApplication>
#include <QIcon>

#include "mainwindow/Forms.h"
#include "mainwindow/MainForm.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cantoria"));
    QApplication::setApplicationDisplayName(QStringLiteral("Cantoria"));
    QApplication::setOrganizationName(QStringLiteral("Cantoria"));
    CreateForms();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/cantoria.svg")));
    MainForm->show();
    MainForm->activateWindow();
    const int code = app.exec();
    DestroyForms();
    return code;
}
