#include "support/Modal.h"

#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include "support/FontColourDialog.h"
#include "support/NoticeTexts.h"

namespace {

QString captionOf(MsgKind kind) {
    switch (kind) {
        case MsgKind::Information:
            return QStringLiteral("Information");
        case MsgKind::Warning:
            return QStringLiteral("Warning");
        case MsgKind::Error:
            return QStringLiteral("Error");
        case MsgKind::Confirm:
            return QStringLiteral("Confirm");
    }
    return QString();
}

QMessageBox::Icon iconOf(MsgKind kind) {
    switch (kind) {
        case MsgKind::Information:
            return QMessageBox::Information;
        case MsgKind::Warning:
            return QMessageBox::Warning;
        case MsgKind::Error:
            return QMessageBox::Critical;
        case MsgKind::Confirm:
            return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

class RealModal : public ModalSeam {
  public:
    MsgButton message(QWidget* parent, const MessageBox& box) override {
        QMessageBox mb(iconOf(box.kind), box.caption, QString(box.text).replace(u'\r', u'\n'),
                       QMessageBox::NoButton, parent);
        struct Choice {
            MsgButton button;
            const char* caption;
            QMessageBox::ButtonRole role;
        };
        const Choice choices[] = {{Yes, "&Yes", QMessageBox::YesRole},
                                  {No, "&No", QMessageBox::NoRole},
                                  {Ok, "OK", QMessageBox::AcceptRole},
                                  {Cancel, "Cancel", QMessageBox::RejectRole}};
        QList<QPair<QAbstractButton*, MsgButton>> made;
        for (const Choice& c : choices) {
            if (!(box.buttons & c.button)) continue;
            QPushButton* b = mb.addButton(QString::fromLatin1(c.caption), c.role);
            made.append({b, c.button});
            if (made.size() == 1) mb.setDefaultButton(b);
        }
        if (box.buttons & Cancel) mb.setEscapeButton(made.last().first);
        mb.exec();
        for (const auto& [button, id] : made)
            if (mb.clickedButton() == button) return id;
        return NoButton;
    }

    bool chooseFont(QWidget* parent, QFont& font, QColor& color) override {
        FontColourDialog dialog(font, color, parent);
        if (dialog.exec() != QDialog::Accepted) return false;
        font = dialog.chosenFont();
        color = dialog.chosenColour();
        return true;
    }

    bool chooseColor(QWidget* parent, QColor& color) override {
        const QColor chosen = QColorDialog::getColor(color, parent);
        if (!chosen.isValid()) return false;
        color = chosen;
        return true;
    }

    QString openFile(QWidget* parent, const OpenFileRequest& request) override {
        return QFileDialog::getOpenFileName(parent, request.title, QString(),
                                            request.filters.join(QStringLiteral(";;")));
    }

    QString chooseFolder(QWidget* parent, const QString& title, const QString& start) override {
        return QFileDialog::getExistingDirectory(parent, title, start);
    }

    bool inputText(QWidget* parent, const QString& title, const QString& prompt,
                   QString& text) override {
        bool ok = false;
        const QString answer =
            QInputDialog::getText(parent, title, prompt, QLineEdit::Normal, text, &ok);
        if (ok) text = answer;
        return ok;
    }

    int exec(QDialog* dialog) override { return dialog->exec(); }

    // Qt's own dialog; its "Print to File (PDF)" printer writes a PDF file.
    bool print(QWidget* parent, QPrinter& printer, QWidget* optionsTab) override {
        // The dialog takes the tab as its child; a tab it did not take goes here.
        const QPointer<QWidget> tab(optionsTab);
        bool accepted = false;
        {
            QPrintDialog dialog(&printer, parent);
            if (optionsTab) dialog.setOptionTabs({optionsTab});
            accepted = dialog.exec() == QDialog::Accepted;
        }
        delete tab.data();
        return accepted;
    }
};

RealModal& realModal() {
    static RealModal seam;
    return seam;
}

ModalSeam* current = nullptr;

}  // namespace

ModalSeam& Modal() {
    return current ? *current : realModal();
}

void SetModalSeam(ModalSeam* seam) {
    current = seam;
}

MsgButton ShowMessage(QWidget* parent, MsgKind kind, const QString& text, int buttons) {
    return Modal().message(parent, MessageBox{kind, captionOf(kind), text, buttons});
}

QString ErrorReportText(const QString& description) {
    if (!description.isEmpty() && description.back() > u'.') return description + u'.';
    return description;
}

void ShowErrorReport(QWidget* parent, const QString& description) {
    Modal().message(parent, MessageBox{MsgKind::Error, QStringLiteral("Cantoria"),
                                       ErrorReportText(description), Ok});
}

MsgButton WidgetFeedback::tell(const Notice& notice) {
    const NoticeText said = TextOf(notice);
    return ShowMessage(parent_, said.kind, said.text, said.buttons);
}

void WidgetFeedback::errorReport(const QString& description) {
    ShowErrorReport(parent_, description);
}
