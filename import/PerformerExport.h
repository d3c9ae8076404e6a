#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <exception>

// A performer taken out of the catalogue as a folder of song files, one folder per album and
// one UTF-8 file per song, in the layout the song scanner reads back:
//   {folder}/{performer}/{album}/{song}.txt   one line per lyric line, each ended by LF
//                                   or .xml   an OpenLyrics 0.9 song (import/OpenLyrics.h)
//                                   or .cho   a ChordPro song (import/ChordPro.h)
//   {folder}/{performer}/{album}/cover.jpg    the album picture, when there is one

enum class ExportFormat { Text, OpenLyrics, ChordPro };

// An export that would overwrite something; message() says what. Nothing has been written.
class ExportRefused : public std::exception {
  public:
    explicit ExportRefused(QString message) : message_(std::move(message)) {}
    const QString& message() const { return message_; }
    const char* what() const noexcept override { return "export refused"; }

  private:
    QString message_;
};

struct ExportOutcome {
    QString performerFolder;  // the folder written
    // One entry per name that had to change on disk ("a/b → a_b"), so that the export fits
    // Linux and the FAT, exFAT or NTFS of a USB stick: a name takes at most 255 bytes in UTF-8,
    // a file's 248 (a longer one is cut between characters, its extension kept); it holds no
    // "/", NUL, control character or : ? * " < > | \; a folder's name does not end in a dot or
    // a space and is not "", "." or ".."; two names in one folder differ in more than case.
    QStringList renamed;
};

// Writes the performer's albums, songs and pictures into a new folder named after it inside
// `folder`. An existing folder of that name is refused (ExportRefused); a failure on the way
// (StoreError) removes what the export had written.
ExportOutcome ExportPerformer(const QString& startDir, QByteArrayView performer,
                              const QString& folder, ExportFormat format = ExportFormat::Text);

// The one message that ends an export.
QString ExportReport(const ExportOutcome& outcome);
