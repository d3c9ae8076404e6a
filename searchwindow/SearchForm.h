#pragma once

#include <QByteArray>
#include <QString>

#include "search/SearchQueries.h"
#include "support/Form.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTimer;

// The lyrics search window: words typed in the edit box find songs of the whole catalogue by
// their names and texts, as the user types. Non-modal; choosing a result hands it on through
// SongChosen, and the window stays open. It only asks the index; keeping the index in step
// with the catalogue is not its business.
class TSearchForm : public Form {
    Q_OBJECT
  public:
    TSearchForm(CatalogueSession& session, SearchQueries& queries, QWidget* parent = nullptr);

    QLineEdit* FindEdit;
    QListWidget* FoundListBox;
    QLabel* StatusLabel;

    // Shows the window with the edit box focused.
    void Open();

    // How long typing must pause before the search runs.
    static constexpr int kTypingPauseMs = 120;
    // The results shown at once, before the rest are listed and all are counted.
    static constexpr int kFirstPage = 20;
    static constexpr int kListed = 100;

  signals:
    // A found song chosen: performer, album and song as stored, and the line of its text that
    // matched (-1 when a name matched).
    void SongChosen(const QByteArray& performer, const QByteArray& album, const QByteArray& song,
                    int line);

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void FindEditChange();
    void RunSearch();
    void ListTheRest();
    void ShowResults(const SearchResults& results, int currentRow);
    void IndexChanged();
    void ShowStatus();
    void FoundListBoxChoose(QListWidgetItem* item);

    SearchQueries& queries_;
    QTimer* typingPause_;
    QTimer* indexPause_;
    QTimer* restPause_;
    QString searchedFor_;
    int found_ = SearchResults::kNotCounted;
    bool searched_ = false;
};
