#include "mainwindow/ImageForm.h"

#include "mainwindow/PictureView.h"

TImageForm::TImageForm(QWidget* parent) : Form(parent) {
    setObjectName(QStringLiteral("ImageForm"));
    setWindowTitle(QStringLiteral("Картинка: "));
    Image1 = new PictureView(this);
}
