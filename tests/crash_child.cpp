// The process the crash test kills: saves one song's text and one album's song list through
// the editors' commands, again and again, each save a new version (and each text save undone
// and redone), until it is killed.
// Progress goes to stdout one byte at a time and unbuffered, so that whatever the parent reads
// after the kill is exactly what had happened: 'r' ready, 't'/'T' a text save begun/done,
// 's'/'S' a song list save begun/done; and where the file work is: 'e' reading a file, 'w'
// writing a new file, 'n' renaming it over the old one, 'i' none of these.
//
// Usage: crash_child START_DIR SEED FIRST_VERSION

#include <sys/prctl.h>
#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <csignal>
#include <cstdio>

#include "session/CatalogueSession.h"
#include "session/EditingCommands.h"
#include "session/HistoryCommands.h"
#include "store/FileIo.h"
#include "tests/helpers/QuietFeedback.h"
#include "tests/helpers/SaveVersions.h"

namespace {

void Report(char progress) {
    while (::write(STDOUT_FILENO, &progress, 1) < 0 && errno == EINTR) {
    }
}

void ReportPhase(fileio::Phase phase) {
    constexpr char kPhases[] = {'i', 'e', 'w', 'n'};
    Report(kPhases[int(phase)]);
}

}  // namespace

int main(int argc, char** argv) {
    // Never outlives the test that started it, whatever happens to the test.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    QCoreApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: crash_child START_DIR SEED FIRST_VERSION\n");
        return 2;
    }
    QDir::setCurrent(QString::fromLocal8Bit(argv[1]));
    CatalogueSession session;
    QuietFeedback feedback;
    const CommandTarget song{SaveVersions::performer(), SaveVersions::album(),
                             SaveVersions::song()};
    const SaveVersions versions(quint32(std::strtoul(argv[2], nullptr, 10)));
    const qint64 first = std::strtoll(argv[3], nullptr, 10);
    fileio::setPhaseListener(ReportPhase);
    Report('r');
    for (qint64 version = first;; ++version) {
        SaveSongTextCommand text(song, versions.lyrics(version));
        SaveSongListCommand songs(song, versions.songs(version));
        Report('t');
        if (session.execute(text, feedback) != Outcome::Done) break;
        // Undone and made again: a kill in either leaves the text before or after the save.
        ReplayCommand undo(Replay::Back);
        ReplayCommand redo(Replay::Forward);
        if (session.execute(undo, feedback) != Outcome::Done) break;
        if (session.execute(redo, feedback) != Outcome::Done) break;
        Report('T');
        Report('s');
        if (session.execute(songs, feedback) != Outcome::Done) break;
        Report('S');
    }
    std::fprintf(stderr, "save failed: %s\n", qPrintable(feedback.errors.join(u' ')));
    return 1;
}
