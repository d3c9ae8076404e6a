// The main window's side of the lyrics search: the command that opens the search window and
// the walk to a found song.
#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextBlock>

#include "mainwindow/MainForm.h"
#include "session/CatalogueSession.h"

// One action serves the text pane's pop-up menu and Ctrl+F anywhere in the window; the
// program's entry connects it to the search window.
void TMainForm::createSearchCommand() {
    SongPopupMenu->addSeparator();
    SearchAction = SongPopupMenu->addAction(QStringLiteral("Поиск по текстам…"));
    SearchAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    SearchAction->setShortcutContext(Qt::WindowShortcut);
    addAction(SearchAction);
}

// The song goes through the session in one call, each list chosen as the user would choose it;
// the text pane then shows the found line selected.
void TMainForm::ShowFoundSong(const QByteArray& performer, const QByteArray& album,
                              const QByteArray& song, int line) {
    if (!session_.RevealSong(performer, album, song, line, feedback_)) return;
    const QTextBlock block = Song->document()->findBlockByNumber(line);
    if (line < 0 || !block.isValid()) return;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    Song->setTextCursor(cursor);
    Song->centerCursor();
}
