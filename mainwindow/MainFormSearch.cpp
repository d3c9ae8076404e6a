// The main window's side of the lyrics search: the command that opens the search window and
// the walk to a found song.
#include <QAction>
#include <QComboBox>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextBlock>

#include "mainwindow/MainForm.h"

namespace {
int IndexOf(const Lines& names, const QByteArray& name) {
    return int(names.indexOf(name));
}
}  // namespace

// One action serves the text pane's pop-up menu and Ctrl+F anywhere in the window; the
// program's entry connects it to the search window.
void TMainForm::createSearchCommand() {
    SongPopupMenu->addSeparator();
    SearchAction = SongPopupMenu->addAction(QStringLiteral("Поиск по текстам…"));
    SearchAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    SearchAction->setShortcutContext(Qt::WindowShortcut);
    addAction(SearchAction);
}

void TMainForm::ShowFoundSong(const QByteArray& performer, const QByteArray& album,
                              const QByteArray& song, int line) {
    const int p = IndexOf(PerformerNames(), performer);
    if (p < 0) return;  // gone since it was indexed
    PerfComboBox->setCurrentIndex(p);
    PerfComboBoxClick();
    const int a = IndexOf(AlbumNames(), album);
    if (a < 0) return;
    AlbumsComboBox->setCurrentIndex(a);
    AlbumsComboBoxClick();
    const int s = IndexOf(SongNames(), song);
    if (s < 0) return;
    {
        const QSignalBlocker quiet(SongsListBox);  // the handler runs once, below
        SongsListBox->setCurrentRow(s);
    }
    SongsListBox->scrollToItem(SongsListBox->item(s));
    SongsListBoxClick();
    const QTextBlock block = Song->document()->findBlockByNumber(line);
    if (line < 0 || !block.isValid()) return;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    Song->setTextCursor(cursor);
    Song->centerCursor();
}
