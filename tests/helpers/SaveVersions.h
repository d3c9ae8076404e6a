#pragma once

#include <QByteArray>

#include "store/RecordFile.h"

// The catalogue the crash test saves over and over: one performer whose text file holds some
// megabytes of lyrics and whose song list is large, and of which one song's text and one
// album's song list are saved again and again, each save as a new numbered version. Everything
// follows from the seed and the version number, so the process that checks the files can
// rebuild any version the saving process may have written. Version 0 is the original.
class SaveVersions {
  public:
    explicit SaveVersions(quint32 seed);

    static QByteArray performer();
    static QByteArray album();
    static QByteArray song();

    Lines lyrics(qint64 version) const;
    Lines songs(qint64 version) const;
    // The whole files after the save of this version (the edited block last, as the editors
    // leave it).
    QByteArray textFile(qint64 version) const;
    QByteArray songFile(qint64 version) const;
    // The version a text or song list says it is, or -1 when it names none.
    static qint64 versionOf(const Lines& body);

  private:
    quint32 seed_;
    Lines otherTexts_;
    Lines otherSongs_;
};
