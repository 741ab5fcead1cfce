#include "NameCompleter.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <algorithm>

namespace registry {

NameFilter::NameFilter(QAbstractItemModel &names, QObject *parent) : QAbstractProxyModel(parent)
{
    setSourceModel(&names);
    connect(&names, &QAbstractItemModel::modelReset, this, &NameFilter::forget);
    connect(&names, &QAbstractItemModel::rowsInserted, this, &NameFilter::forget);
    connect(&names, &QAbstractItemModel::rowsRemoved, this, &NameFilter::forget);
    connect(&names, &QAbstractItemModel::rowsMoved, this, &NameFilter::forget);
    connect(&names, &QAbstractItemModel::dataChanged, this, &NameFilter::forget);
    connect(&names, &QAbstractItemModel::layoutChanged, this, &NameFilter::forget);
}

void NameFilter::forget()
{
    beginResetModel();
    stale_ = true;
    rows_.clear();
    endResetModel();
}

void NameFilter::search(const QString &fragment)
{
    QAbstractItemModel &names = *sourceModel();
    if (stale_) {
        QStringList texts;
        texts.reserve(names.rowCount());
        for (int row = 0; row < names.rowCount(); ++row)
            texts.append(names.index(row, 0).data().toString());
        search_.setNames(texts);
        stale_ = false;
    }
    beginResetModel();
    rows_ = search_.matchingRows(fragment);
    endResetModel();
}

QModelIndex NameFilter::index(int row, int column, const QModelIndex &parent) const
{
    return hasIndex(row, column, parent) ? createIndex(row, column) : QModelIndex();
}

QModelIndex NameFilter::parent(const QModelIndex &) const
{
    return {};
}

int NameFilter::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows_.size());
}

int NameFilter::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 1;
}

QModelIndex NameFilter::mapToSource(const QModelIndex &proxyIndex) const
{
    if (!proxyIndex.isValid())
        return {};
    return sourceModel()->index(rows_[proxyIndex.row()], 0);
}

QModelIndex NameFilter::mapFromSource(const QModelIndex &sourceIndex) const
{
    if (sourceIndex.column() != 0) // an invalid index has column -1
        return {};
    const auto found = std::lower_bound(rows_.begin(), rows_.end(), sourceIndex.row());
    if (found == rows_.end() || *found != sourceIndex.row())
        return {};
    return index(int(found - rows_.begin()), 0);
}

NameCompleter::NameCompleter(QComboBox &combo) : QCompleter(&combo)
{
    auto *filter = new NameFilter(*combo.model(), this);
    setModel(filter);
    // The filter has chosen the names already: the popup shows every one of them.
    setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    // A name that starts with what was typed is highlighted, so Enter picks it, as the list's
    // own completion did.
    setCaseSensitivity(Qt::CaseInsensitive);
    setMaxVisibleItems(12);
    if (auto *list = qobject_cast<QListView *>(popup()))
        list->setUniformItemSizes(true);
    popup()->setAccessibleName(QStringLiteral("Soggetti trovati"));
    // The line edit tells textEdited before it hands the completer the same text, so the
    // popup then shows the names found for it.
    connect(combo.lineEdit(), &QLineEdit::textEdited, filter, &NameFilter::search);
    combo.setCompleter(this);
}

} // namespace registry
