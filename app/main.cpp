#include <QApplication>

#include "app/SearchWiring.h"
#include "mainwindow/Forms.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    StartProgram();
    CreateSearchWindow();
    const int code = app.exec();
    DestroySearchWindow();
    DestroyForms();
    return code;
}
