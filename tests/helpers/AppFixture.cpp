#include "tests/helpers/AppFixture.h"

#include <QFile>
#include <QTest>

#include "app/Forms.h"
#include "mainwindow/MainForm.h"
#include "store/FileIo.h"
#include "store/FileSetChange.h"
#include "store/FirstRunFlag.h"
#include "support/Modal.h"

AppTest::AppTest() : previousDir_(QDir::currentPath()) {}

AppTest::~AppTest() {
    DestroyForms();
    fileio::clearFaults();
    QDir::setCurrent(previousDir_);
}

void AppTest::forgetFirstRun() {
    QFile::remove(FirstRunFlagPath());
}

void AppTest::start(bool firstRunDone, const QString& dir) {
    if (firstRunDone) {
        if (!FirstRunFlagSet()) {
            FileSetChange change;
            WriteFirstRunFlag(change);
            change.commit();
        }
    } else {
        forgetFirstRun();
    }
    QDir::setCurrent(dir.isEmpty() ? cat.startDir() : dir);
    CreateForms();
}

void AppTest::reloadPerformerList() {
    WidgetFeedback feedback(MainForm);
    Session->Open(feedback);
}

void AppTest::chooseEntry(QComboBox* combo, const QString& name) {
    const int i = combo->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    ASSERT_GE(i, 0) << "no entry " << name.toStdString();
    combo->setCurrentIndex(i);
    emit combo->activated(i);
}

void AppTest::choosePerformer(const QString& name) {
    chooseEntry(MainForm->PerfComboBox, name);
}

void AppTest::chooseAlbum(const QString& name) {
    chooseEntry(MainForm->AlbumsComboBox, name);
}

void AppTest::chooseSong(const QString& name) {
    QListWidget* list = MainForm->SongsListBox;
    const auto found = list->findItems(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    ASSERT_FALSE(found.isEmpty()) << "no song " << name.toStdString();
    list->scrollToItem(found.first());
    const QPoint at = list->visualItemRect(found.first()).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

QStringList AppTest::messages() {
    QStringList texts;
    for (const MessageBox& box : modal.takeShown()) texts << Describe(box);
    return texts;
}

QStringList ItemTexts(const QComboBox* combo) {
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
    return texts;
}

QStringList ItemTexts(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
    return texts;
}
