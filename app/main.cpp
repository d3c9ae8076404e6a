#include <QApplication>

#include "app/Forms.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    StartProgram();
    const int code = app.exec();
    DestroyForms();
    return code;
}
