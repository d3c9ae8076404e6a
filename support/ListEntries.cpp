#include "support/ListEntries.h"

#include <QComboBox>
#include <QListWidget>
#include <QSignalBlocker>
#include <QStandardItemModel>

#include "store/Cp1251.h"

namespace {

constexpr int kNameRole = Qt::UserRole;

QByteArray entryBytes(const QVariant& stored, const QString& shown) {
    return stored.isValid() ? stored.toByteArray() : cp1251::encode(shown).bytes;
}

}  // namespace

void FillComboBox(QComboBox* combo, const Lines& names, int selected) {
    const QSignalBlocker blocker(combo);
    combo->clear();
    // One insertion for the whole list: added one by one, a long performer list would cost
    // the start-up more than everything else the window does.
    QList<QStandardItem*> items;
    items.reserve(names.size());
    for (const QByteArray& name : names) {
        auto* item = new QStandardItem(cp1251::decode(name));
        item->setData(name, kNameRole);
        items.append(item);
    }
    qobject_cast<QStandardItemModel*>(combo->model())->invisibleRootItem()->appendRows(items);
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
