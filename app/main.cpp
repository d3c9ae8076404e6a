#include <QApplication>

#include "app/FontConfiguration.h"
#include "app/Forms.h"
#include "app/SearchWiring.h"

int main(int argc, char** argv) {
    FontConfigurationLoader fonts;
    QApplication app(argc, argv);
    StartProgram(Watch::Files, &fonts);
    CreateSearchWindow();
    const int code = app.exec();
    DestroySearchWindow();
    DestroyForms();
    return code;
}
