#include "support/ListEntries.h"

#include <QAbstractListModel>
#include <QComboBox>
#include <QListWidget>
#include <QSignalBlocker>

#include "store/Cp1251.h"

namespace {

constexpr int kNameRole = Qt::UserRole;

QByteArray entryBytes(const QVariant& stored, const QString& shown) {
    return stored.isValid() ? stored.toByteArray() : cp1251::encode(shown).bytes;
}

// The stored names of a drop-down, each decoded only when shown: a performer list of
// thousands is filled at start-up, and an item object per name cost more than the rest of
// the main window's list work (QStandardItemModel holds a variant per role per item).
class StoredNamesModel : public QAbstractListModel {
  public:
    using QAbstractListModel::QAbstractListModel;
    void setNames(const Lines& names) {
        beginResetModel();
        names_ = names;
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : int(names_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= names_.size()) return {};
        const QByteArray& name = names_[index.row()];
        switch (role) {
            case Qt::DisplayRole:
            case Qt::EditRole:
            case Qt::AccessibleTextRole:
                return cp1251::decode(name);
            case kNameRole:
                return name;
            default:
                return {};
        }
    }

  private:
    Lines names_;
};

}  // namespace

void FillComboBox(QComboBox* combo, const Lines& names, int selected) {
    const QSignalBlocker blocker(combo);
    auto* model = dynamic_cast<StoredNamesModel*>(combo->model());
    if (!model) {
        model = new StoredNamesModel(combo);
        combo->setModel(model);
    }
    model->setNames(names);
    combo->setCurrentIndex(selected);
}

void FillListBox(QListWidget* list, const Lines& names, int selected) {
    const QSignalBlocker blocker(list);
    list->clear();
    for (const QByteArray& name : names) {
        auto* item = new QListWidgetItem(cp1251::decode(name), list);
        item->setData(kNameRole, name);
    }
    list->setCurrentRow(selected);
}

Lines ComboBoxNames(const QComboBox* combo) {
    Lines names;
    for (int i = 0; i < combo->count(); ++i)
        names.append(entryBytes(combo->itemData(i, kNameRole), combo->itemText(i)));
    return names;
}

QByteArray ComboBoxSelection(const QComboBox* combo) {
    const int i = combo->currentIndex();
    return i < 0 ? QByteArray() : entryBytes(combo->itemData(i, kNameRole), combo->itemText(i));
}

Lines ListBoxNames(const QListWidget* list) {
    Lines names;
    for (int i = 0; i < list->count(); ++i)
        names.append(entryBytes(list->item(i)->data(kNameRole), list->item(i)->text()));
    return names;
}

QByteArray ListBoxSelection(const QListWidget* list) {
    const QListWidgetItem* item = list->currentItem();
    return item ? entryBytes(item->data(kNameRole), item->text()) : QByteArray();
}

QStringList DecodeLines(const Lines& lines) {
    QStringList text;
    text.reserve(lines.size());
    for (const QByteArray& line : lines) text.append(cp1251::decode(line));
    return text;
}

QString PictureCaptionText(const PictureCaption& caption) {
    switch (caption.kind) {
        case PictureCaption::Kind::PutAway:
            return QStringLiteral("Картинка:");
        case PictureCaption::Kind::Album:
            return QStringLiteral("Картинка: ") + cp1251::decode(caption.performer) +
                   QStringLiteral(" - ") + cp1251::decode(caption.album);
        case PictureCaption::Kind::Empty:
            break;
    }
    return QStringLiteral("Картинка: ");
}
