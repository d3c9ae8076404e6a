#pragma once

#include <QWidget>

struct SongbookOptions;

// The print dialog's tab "Сборник": columns, the lyrics' size, and whether the songbook has
// its contents, its index of first lines and the album pictures. The dialog deletes its tabs
// when it closes, so every change goes into `options` as it is made.
class SongbookOptionsTab : public QWidget {
    Q_OBJECT
  public:
    explicit SongbookOptionsTab(SongbookOptions& options, QWidget* parent = nullptr);
};
