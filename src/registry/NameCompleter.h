#pragma once

#include "model/NameSearch.h"

#include <QAbstractProxyModel>
#include <QCompleter>

class QComboBox;

namespace registry {

// The items of a list model that hold a typed fragment (model::NameSearch), in list order,
// each mapped to its row in the list. The names are read again after the list changes, at
// the next search.
class NameFilter : public QAbstractProxyModel {
    Q_OBJECT

public:
    explicit NameFilter(QAbstractItemModel &names, QObject *parent = nullptr);

    void search(const QString &fragment);

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QModelIndex mapToSource(const QModelIndex &proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex &sourceIndex) const override;

private:
    void forget();

    model::NameSearch search_;
    bool stale_ = true;
    QList<int> rows_; // rows of the list, ascending
};

// Search as you type in an editable combo box of names: what the user types, found anywhere
// in a name, offers the names holding it in the completion popup. Picking one is the combo
// box's own pick of that item: it becomes the current item and the combo box emits
// activated(), as after a click in its list.
class NameCompleter : public QCompleter {
    Q_OBJECT

public:
    explicit NameCompleter(QComboBox &combo);
};

} // namespace registry
