#include "tests/helpers/ScriptedModal.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QPrinter>
#include <memory>

ScriptedModal::ScriptedModal() {
    SetModalSeam(this);
}

ScriptedModal::~ScriptedModal() {
    SetModalSeam(nullptr);
}

std::vector<MessageBox> ScriptedModal::takeShown() {
    std::vector<MessageBox> boxes;
    boxes.swap(shown_);
    return boxes;
}

MsgButton ScriptedModal::message(QWidget*, const MessageBox& box) {
    shown_.push_back(box);
    if (messageLook_) messageLook_(box);
    if (!answers_.empty()) {
        const MsgButton b = answers_.front();
        answers_.pop_front();
        return b;
    }
    for (MsgButton b : {Yes, Ok, No, Cancel})
        if (box.buttons & b) return b;
    return NoButton;
}

bool ScriptedModal::chooseFont(QWidget*, QFont& font, QColor& color) {
    lastFontOffered = font;
    lastFontColourOffered = color;
    if (fonts_.empty()) {
        ADD_FAILURE() << "font dialog opened without a scripted choice";
        return false;
    }
    const std::optional<QFont> choice = fonts_.front();
    const QColor colour = fontColours_.front();
    fonts_.pop_front();
    fontColours_.pop_front();
    if (!choice) return false;
    font = *choice;
    if (colour.isValid()) color = colour;
    return true;
}

bool ScriptedModal::chooseColor(QWidget*, QColor& color) {
    lastColourOffered = color;
    if (colours_.empty()) {
        ADD_FAILURE() << "colour dialog opened without a scripted choice";
        return false;
    }
    const std::optional<QColor> choice = colours_.front();
    colours_.pop_front();
    if (!choice) return false;
    color = *choice;
    return true;
}

QString ScriptedModal::openFile(QWidget*, const OpenFileRequest& request) {
    fileRequests.push_back(request);
    if (files_.empty()) return QString();
    const QString path = files_.front();
    files_.pop_front();
    return path;
}

QString ScriptedModal::chooseFolder(QWidget*, const QString&, const QString& start) {
    folderStarts.push_back(start);
    if (folders_.empty()) return QString();
    const QString path = folders_.front();
    folders_.pop_front();
    return path;
}

bool ScriptedModal::inputText(QWidget*, const QString&, const QString&, QString& text) {
    if (inputs_.empty()) return false;
    const std::optional<QString> answer = inputs_.front();
    inputs_.pop_front();
    if (!answer) return false;
    text = *answer;
    return true;
}

int ScriptedModal::exec(QDialog* dialog) {
    execed.push_back(QString::fromLatin1(dialog->metaObject()->className()));
    dialog->setResult(QDialog::Rejected);
    dialog->show();
    QApplication::setActiveWindow(dialog);
    QApplication::processEvents();
    if (dialogs_.empty()) {
        ADD_FAILURE() << "dialog " << dialog->metaObject()->className()
                      << " shown without a script; closing it";
    } else {
        const auto script = std::move(dialogs_.front());
        dialogs_.pop_front();
        script(dialog);
    }
    QApplication::processEvents();
    const int result = dialog->result();
    dialog->hide();
    return result;
}

bool ScriptedModal::print(QWidget*, QPrinter& printer, QWidget* optionsTab) {
    const std::unique_ptr<QWidget> tab(optionsTab);
    if (prints_.empty()) {
        ADD_FAILURE() << "print dialog opened without a scripted choice";
        return false;
    }
    const PrintChoice choice = prints_.front();
    prints_.pop_front();
    if (choice.options) {
        if (tab)
            choice.options(tab.get());
        else
            ADD_FAILURE() << "print dialog without an options tab";
    }
    if (!choice.path) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(*choice.path);
    return true;
}

QString Describe(const MessageBox& box) {
    QStringList buttons;
    if (box.buttons & Ok) buttons << QStringLiteral("OK");
    if (box.buttons & Cancel) buttons << QStringLiteral("Cancel");
    if (box.buttons & Yes) buttons << QStringLiteral("&Yes");
    if (box.buttons & No) buttons << QStringLiteral("&No");
    return box.caption + u'|' + buttons.join(u',') + u'|' + box.text;
}
