#include "searchwindow/SearchForm.h"

#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

#include "search/QueryTranslation.h"
#include "store/Cp1251.h"

namespace {

enum Role { HtmlRole = Qt::UserRole + 1, PerformerRole, AlbumRole, SongRole, LineRole };

const QString kDash = QStringLiteral(" — ");

// The shown line with its matched words in bold, as rich text.
QString MarkedHtml(const SearchHit& hit) {
    QString html;
    int at = 0;
    for (const auto& [start, length] : hit.marks) {
        html += hit.shown.mid(at, start - at).toHtmlEscaped();
        html += QStringLiteral("<b>") + hit.shown.mid(start, length).toHtmlEscaped() +
                QStringLiteral("</b>");
        at = start + length;
    }
    return html + hit.shown.mid(at).toHtmlEscaped();
}

QString Title(const SearchHit& hit) {
    return cp1251::decode(hit.performer) + kDash + cp1251::decode(hit.album) + kDash +
           cp1251::decode(hit.song);
}

// Two lines per result: where the song is, and the matching line with the words in bold.
class TwoLineDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem plain = option;
        initStyleOption(&plain, index);
        plain.text.clear();
        plain.widget->style()->drawControl(QStyle::CE_ItemViewItem, &plain, painter, plain.widget);
        QTextDocument doc;
        prepare(doc, option, index);
        QAbstractTextDocumentLayout::PaintContext context;
        context.palette.setColor(QPalette::Text, option.state & QStyle::State_Selected
                                                     ? option.palette.highlightedText().color()
                                                     : option.palette.text().color());
        painter->save();
        painter->translate(option.rect.topLeft());
        doc.documentLayout()->draw(painter, context);
        painter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QTextDocument doc;
        prepare(doc, option, index);
        return QSize(int(doc.idealWidth()), int(doc.size().height()));
    }

  private:
    static void prepare(QTextDocument& doc, const QStyleOptionViewItem& option,
                        const QModelIndex& index) {
        doc.setDefaultFont(option.font);
        doc.setDocumentMargin(2);
        doc.setHtml(index.data(HtmlRole).toString());
    }
};

}  // namespace

TSearchForm::TSearchForm(CatalogueSession& session, SearchQueries& queries, QWidget* parent)
    : Form(session, parent), queries_(queries) {
    setObjectName(QStringLiteral("SearchForm"));
    setWindowTitle(QStringLiteral("Поиск"));
    setModal(false);
    setSizeGripEnabled(true);
    setFont(DesignedFont());

    FindEdit = new QLineEdit(this);
    FindEdit->setObjectName(QStringLiteral("FindEdit"));
    FindEdit->setAccessibleName(QStringLiteral("Найти"));
    FindEdit->setMaxLength(200);  // words to look for, not a text to paste
    FoundListBox = new QListWidget(this);
    FoundListBox->setObjectName(QStringLiteral("FoundListBox"));
    FoundListBox->setAccessibleName(QStringLiteral("Найдено"));
    FoundListBox->setItemDelegate(new TwoLineDelegate(FoundListBox));
    FoundListBox->setUniformItemSizes(true);
    StatusLabel = new QLabel(this);
    StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    StatusLabel->setAccessibleName(QStringLiteral("Состояние поиска"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FindEdit);
    layout->addWidget(FoundListBox, 1);
    layout->addWidget(StatusLabel);
    resize(520, 420);
    TakeAppearance({{FindEdit, TextControlRule{}}});

    typingPause_ = new QTimer(this);
    typingPause_->setSingleShot(true);
    typingPause_->setInterval(kTypingPauseMs);
    // While the index grows, the results follow it ten times a second, not at every song: on
    // an idle machine twenty thousand songs are indexed in a third of a second, and the first
    // of them are found before the rest are in.
    indexPause_ = new QTimer(this);
    indexPause_->setSingleShot(true);
    indexPause_->setInterval(100);
    // The first page is on the screen before the rest are listed and counted.
    restPause_ = new QTimer(this);
    restPause_->setSingleShot(true);
    restPause_->setInterval(0);
    connect(FindEdit, &QLineEdit::textChanged, this, &TSearchForm::FindEditChange);
    connect(typingPause_, &QTimer::timeout, this, &TSearchForm::RunSearch);
    connect(indexPause_, &QTimer::timeout, this, &TSearchForm::RunSearch);
    connect(restPause_, &QTimer::timeout, this, &TSearchForm::ListTheRest);
    connect(&queries_, &SearchQueries::changed, this, &TSearchForm::IndexChanged);
    connect(FoundListBox, &QListWidget::itemActivated, this, &TSearchForm::FoundListBoxChoose);
}

void TSearchForm::Open() {
    show();
    raise();
    activateWindow();
    FindEdit->setFocus();
    FindEdit->selectAll();
}

void TSearchForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        QListWidgetItem* item = FoundListBox->currentItem();
        if (!item && FoundListBox->count() > 0) item = FoundListBox->item(0);
        if (item) FoundListBoxChoose(item);
        return;  // Enter never closes the window
    }
    if (event->key() == Qt::Key_Down && FindEdit->hasFocus() && FoundListBox->count() > 0) {
        FoundListBox->setFocus(Qt::TabFocusReason);  // from the words typed to the results
        return;
    }
    Form::keyPressEvent(event);  // Escape closes it
}

void TSearchForm::FindEditChange() {
    restPause_->stop();
    typingPause_->start();
}

void TSearchForm::IndexChanged() {
    if (searched_ && !indexPause_->isActive()) indexPause_->start();
    ShowStatus();
}

void TSearchForm::RunSearch() {
    typingPause_->stop();
    indexPause_->stop();
    searchedFor_ = FindEdit->text();
    searched_ = !TranslateQuery(searchedFor_).match.isEmpty();
    const SearchResults first = queries_.search(searchedFor_, kFirstPage);
    ShowResults(first, 0);
    if (!first.counted()) restPause_->start();
}

void TSearchForm::ListTheRest() {
    SearchResults all = queries_.search(searchedFor_, kListed);
    if (!all.counted()) all.total = queries_.count(searchedFor_);
    ShowResults(all, FoundListBox->currentRow());
}

void TSearchForm::ShowResults(const SearchResults& results, int currentRow) {
    found_ = results.total;
    FoundListBox->clear();
    for (const SearchHit& hit : results.hits) {
        auto* item = new QListWidgetItem(Title(hit) + u'\n' + hit.shown, FoundListBox);
        item->setData(HtmlRole,
                      Title(hit).toHtmlEscaped() + QStringLiteral("<br>") + MarkedHtml(hit));
        item->setData(PerformerRole, hit.performer);
        item->setData(AlbumRole, hit.album);
        item->setData(SongRole, hit.song);
        item->setData(LineRole, hit.line);
    }
    if (FoundListBox->count() > 0)
        FoundListBox->setCurrentRow(qBound(0, currentRow, FoundListBox->count() - 1));
    ShowStatus();
}

void TSearchForm::ShowStatus() {
    QStringList parts;
    if (searched_ && found_ != SearchResults::kNotCounted)
        parts << (found_ > 0 ? QStringLiteral("Найдено песен: %1").arg(found_)
                             : QStringLiteral("Ничего не найдено"));
    if (queries_.busy() && queries_.songsToDo() > 0)
        parts << QStringLiteral("Индексирование: %1 из %2 песен")
                     .arg(queries_.songsDone())
                     .arg(queries_.songsToDo());
    if (queries_.leftOut() > 0)
        parts << QStringLiteral("Не прочитаны файлы исполнителей: %1").arg(queries_.leftOut());
    StatusLabel->setText(parts.join(QStringLiteral(". ")));
}

void TSearchForm::FoundListBoxChoose(QListWidgetItem* item) {
    emit SongChosen(item->data(PerformerRole).toByteArray(), item->data(AlbumRole).toByteArray(),
                    item->data(SongRole).toByteArray(), item->data(LineRole).toInt());
}
