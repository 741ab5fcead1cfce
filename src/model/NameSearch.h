#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace model {

// The registry's names found by a typed fragment at any position, ignoring case, accents and
// apostrophes: "forli" finds "FORLÌ SRL", "d'angelo" finds "D’ANGELO" and "DANGELO", "societa'"
// (capitals typed on an Italian keyboard) finds "SOCIETÀ". Names are folded once, when the list
// is set; each search folds only the fragment.
class NameSearch {
public:
    NameSearch() = default;
    explicit NameSearch(const QStringList &names);

    void setNames(const QStringList &names);
    const QStringList &names() const { return mNames; }

    // Positions in names() of the names holding the fragment, in list order, duplicates kept.
    // An empty fragment holds in every name; a leading blank stands for the start of a word.
    QList<int> matchingRows(const QString &fragment) const;
    // Those names themselves, as a completer's model takes them.
    QStringList matches(const QString &fragment) const;

    // The form both sides are compared in: compatibility-decomposed, without accents and
    // apostrophes, case-folded, runs of blanks as one space.
    static QString fold(const QString &text);

private:
    QStringList mNames;
    QString mKeys;            // the folded names one after the other
    QList<qsizetype> mBounds; // folded name i is mKeys[mBounds[i], mBounds[i + 1])
};

} // namespace model
