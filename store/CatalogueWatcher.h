#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QStringList>
#include <QTimer>

// Watches what the windows show: the data folder, the performer list, and the chosen
// performer's folder with its line files and picture folder — not every folder, since a user
// has a limited number of watches. Changes are gathered for a moment and then reported once:
// a sync tool or an editor saves a file in several steps. A file replaced by a rename (as they
// save) is watched again.
class CatalogueWatcher : public QObject {
    Q_OBJECT
  public:
    explicit CatalogueWatcher(QString startDir, QObject* parent = nullptr);

    // Watches this performer's folder from now on, instead of the last one's; none for empty.
    void watchPerformer(const QByteArray& performer);
    static constexpr int kQuietMs = 300;

  signals:
    // Something watched changed, and nothing more for a moment.
    void changed();

  private:
    void noticed();
    void watchAgain();

    QString startDir_;
    QStringList paths_;
    QFileSystemWatcher watcher_;
    QTimer quiet_;
};
