// The shared pieces of every window: message boxes, the general error report, the font
// dialog, the typing filter.
#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFontDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include "support/Appearance.h"
#include "support/FontColourDialog.h"
#include "support/Modal.h"
#include "support/PathCharFilter.h"
#include "support/QtRussian.h"
#include "tests/helpers/ScriptedModal.h"
#include "tests/helpers/TempCatalogue.h"

TEST(Messages, KindsCarryTheirCaptionsAndButtons) {
    ScriptedModal modal;
    modal.answer(Cancel);
    EXPECT_EQ(Inform(nullptr, "a", Ok | Cancel), Cancel);
    EXPECT_EQ(ShowMessage(nullptr, MsgKind::Confirm, "b", Yes | No), Yes);
    ShowMessage(nullptr, MsgKind::Warning, "c");
    ShowMessage(nullptr, MsgKind::Error, "d");
    const auto shown = modal.takeShown();
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(Describe(shown[0]), "Information|OK,Cancel|a");
    EXPECT_EQ(Describe(shown[1]), "Confirm|&Yes,&No|b");
    EXPECT_EQ(Describe(shown[2]), "Warning|OK|c");
    EXPECT_EQ(Describe(shown[3]), "Error|OK|d");
}

TEST(Messages, GeneralErrorReportAppendsAFullStopAfterLettersAndDigits) {
    ScriptedModal modal;
    ShowErrorReport(nullptr, "File not found");
    ShowErrorReport(nullptr, "I/O error 28");
    ShowErrorReport(nullptr, "Unable to write to /x/Data/Settings.ini");
    ShowErrorReport(nullptr, "Already ends.");
    ShowErrorReport(nullptr, "Ends with )");
    std::vector<QString> texts;
    for (const MessageBox& b : modal.shown()) {
        EXPECT_EQ(b.caption, "Cantoria");
        EXPECT_EQ(b.kind, MsgKind::Error);
        EXPECT_EQ(b.buttons, Ok);
        texts.push_back(b.text);
    }
    EXPECT_EQ(texts, (std::vector<QString>{"File not found.", "I/O error 28.",
                                           "Unable to write to /x/Data/Settings.ini.",
                                           "Already ends.", "Ends with )"}));
}

TEST(FontDialog, FaceSizeAndOneOfTheSixteenColoursOrAnyOther) {
    ScriptedModal modal;
    FontColourDialog dialog(DesignedFont(), QColor(0, 0, 0));
    QComboBox* colours = dialog.colourBox;
    const auto choose = [colours](const QString& entry) {
        const int i = colours->findText(entry);
        colours->setCurrentIndex(i);
        emit colours->activated(i);
    };
    EXPECT_EQ(colours->count(), 17);
    EXPECT_EQ(colours->currentText(), U("Чёрный"));
    EXPECT_EQ(colours->accessibleName(), U("Цвет"));
    choose(U("Красный"));
    EXPECT_EQ(dialog.chosenColour(), QColor(255, 0, 0));
    modal.chooseColor(QColor(1, 2, 3));
    choose(U("Другой…"));
    EXPECT_EQ(modal.lastColourOffered, QColor(255, 0, 0));
    modal.chooseColor(std::nullopt);  // cancelled: the colour chosen before stays
    choose(U("Другой…"));
    EXPECT_EQ(dialog.chosenColour(), QColor(1, 2, 3));
    EXPECT_EQ(colours->currentText(), "#010203");
    dialog.fontDialog->setCurrentFont(DesignedFont(14));
    EXPECT_EQ(dialog.chosenFont().pointSize(), 14);

    // Escape inside the font lists cancels the whole dialog.
    dialog.show();
    QTest::keyClick(dialog.fontDialog->findChild<QAbstractItemView*>(), Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST(TypingFilter, SwallowsTheNinePathCharactersAsTyped) {
    QLineEdit edit;
    PathCharFilter::installOn(&edit);
    QTest::keyClicks(&edit, "a\\b/c:d*e?f\"g<h>i|j k");
    QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, U("Ж"), Qt::NoModifier);
    EXPECT_EQ(edit.text(), U("abcdefghij kЖ"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), U("abcdefghij k"));

    QPlainTextEdit memo;
    PathCharFilter::installOn(&memo);
    QTest::keyClicks(&memo, "x/y");
    QTest::keyClick(&memo, Qt::Key_Return);
    QTest::keyClicks(&memo, "z?");
    EXPECT_EQ(memo.toPlainText(), "xy\nz");
    edit.clear();
    edit.insert("pasted/kept");  // pasting is not filtered; commands check names themselves
    EXPECT_EQ(edit.text(), "pasted/kept");
}

// Qt's own dialogs speak Russian; the program's message boxes keep their own words.
TEST(QtRussian, QtDialogsTurnRussianWhileTheMessageBoxesKeepTheirWords) {
    ASSERT_TRUE(InstallQtRussian(*QCoreApplication::instance()));
    EXPECT_EQ(QCoreApplication::translate("QPrintDialog", "Print"), U("Печать"));
    QStringList seen;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen << box->windowTitle();
        for (QAbstractButton* button : box->buttons()) seen << button->text();
        for (QAbstractButton* button : box->buttons())
            if (button->text() == "&No") button->click();
    });
    EXPECT_EQ(ShowMessage(nullptr, MsgKind::Confirm, U("Вопрос?"), Yes | No), No);
    EXPECT_EQ(seen, (QStringList{"Confirm", "&Yes", "&No"}));
}
