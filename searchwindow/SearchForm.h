#pragma once

#include <QByteArray>
#include <QString>

#include "search/SearchService.h"
#include "support/Form.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTimer;

// The lyrics search window: words typed in the edit box find songs of the whole catalogue by
// their names and texts, as the user types. Non-modal; choosing a result hands it on through
// SongChosen, and the window stays open.
class TSearchForm : public Form {
    Q_OBJECT
  public:
    explicit TSearchForm(CatalogueSession& session, QWidget* parent = nullptr);

    QLineEdit* FindEdit;
    QListWidget* FoundListBox;
    QLabel* StatusLabel;

    // The catalogue below startDir: its index is opened (or built) now, off this thread.
    void OpenCatalogue(const QString& startDir);
    // Shows the window with the edit box focused.
    void Open();
    SearchService& Index() { return index_; }

    // How long typing must pause before the search runs.
    static constexpr int kTypingPauseMs = 120;

  signals:
    // A found song chosen: performer, album and song as stored, and the line of its text that
    // matched (-1 when a name matched).
    void SongChosen(const QByteArray& performer, const QByteArray& album, const QByteArray& song,
                    int line);

  protected:
    void FormActivate() override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void FindEditChange();
    void RunSearch();
    void IndexChanged();
    void ShowStatus();
    void FoundListBoxChoose(QListWidgetItem* item);
    void ApplyAppearance();

    SearchService index_;
    QString startDir_;
    QTimer* typingPause_;
    QTimer* indexPause_;
    int found_ = 0;
    bool searched_ = false;
};
