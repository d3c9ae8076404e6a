#pragma once

#include <gtest/gtest.h>
#include <QComboBox>
#include <QDir>
#include <QListWidget>

#include "session/CatalogueSession.h"
#include "tests/helpers/ScriptedModal.h"
#include "tests/helpers/TempCatalogue.h"

// A whole program for one test: a temporary working directory with its Data/, all windows
// created there as at start-up, a scripted modal seam, and a user who has run the program
// before (no first-run message) unless the test says otherwise.
class AppTest : public ::testing::Test {
  protected:
    AppTest();
    ~AppTest() override;

    // Creates the windows in the temporary working directory, or in `dir` when given.
    void start(bool firstRunDone = true, const QString& dir = QString());
    static void forgetFirstRun();
    // The performer list read again from the file, as at start-up.
    static void reloadPerformerList();

    // The user's choices, through the controls' own user signals.
    void choosePerformer(const QString& name);
    void chooseAlbum(const QString& name);
    void chooseSong(const QString& name);
    static void chooseEntry(QComboBox* combo, const QString& name);

    // The message boxes shown since the last call, as "Caption|Buttons|text".
    QStringList messages();

    TempCatalogue cat;
    ScriptedModal modal;

  private:
    QString previousDir_;
};

// The entries a drop-down or a list shows, in order.
QStringList ItemTexts(const QComboBox* combo);
QStringList ItemTexts(const QListWidget* list);
