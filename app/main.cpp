#include <QApplication>

#include "app/Forms.h"
#include "app/SearchWiring.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    StartProgram();
    CreateSearchWindow();
    const int code = app.exec();
    DestroySearchWindow();
    DestroyForms();
    return code;
}
