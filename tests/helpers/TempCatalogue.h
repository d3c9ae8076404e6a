#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

// A temporary working directory with a Data/ folder for one test, and helpers to lay out
// catalogue files by their exact bytes and to read them back.
class TempCatalogue {
  public:
    TempCatalogue();
    const QString& startDir() const { return startDir_; }
    // Path below the start directory, "/"-separated, UTF-8 names.
    QString path(const QString& relative) const { return startDir_ + u'/' + relative; }

    void write(const QString& relative, const QByteArray& bytes) const;
    void mkdir(const QString& relative) const;
    QByteArray read(const QString& relative) const;
    bool exists(const QString& relative) const;
    // Every file below Data/ with its bytes, as "relative path" -> bytes.
    QMap<QString, QByteArray> snapshot() const;

    // Creates a performer folder with the three files and Image/, and lists it.
    void addPerformer(const QByteArray& cp1251Name, const QByteArray& albums = {},
                      const QByteArray& songs = {}, const QByteArray& texts = {}) const;

  private:
    QTemporaryDir dir_;
    QString startDir_;
};

// Every entry below `root`, read directly (not through the program's file layer, which tests
// make fail): "d" for a folder, "l:" + target for a link, "f:" + bytes for a file, by path
// relative to root (folders end in "/").
QMap<QString, QByteArray> SnapshotTree(const QString& root);

// Windows-1251 bytes of a UTF-8 literal (tests write names as readable text).
QByteArray W(const char* utf8);
// A small picture as JPEG bytes, written by Qt (not by the encoder under test).
QByteArray SmallJpeg(int width, int height);
// The same as BMP bytes.
QByteArray SmallBitmap(int width, int height);
// Unicode text of a UTF-8 literal.
inline QString U(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// A test that cannot run on this machine (no privileges, a missing tool) skips, except where
// CANTORIA_REQUIRE_ALL=1 (as in CI): there a test that does not run fails.
#define CANTORIA_SKIP_UNLESS_REQUIRED(reason)                                         \
    do {                                                                              \
        if (qEnvironmentVariableIntValue("CANTORIA_REQUIRE_ALL") == 1)                \
            FAIL() << "CANTORIA_REQUIRE_ALL=1, yet this test cannot run: " << reason; \
        GTEST_SKIP() << reason;                                                       \
    } while (0)
