#include "model/NameSearch.h"

#include <algorithm>
#include <string_view>
#include <utility>

namespace model {

namespace {

std::u16string_view view(const QString &text)
{
    return {reinterpret_cast<const char16_t *>(text.utf16()), std::size_t(text.size())};
}

bool isApostrophe(QChar c)
{
    switch (c.unicode()) {
    case u'\'':
    case u'`':
    case u'\u00B4': // acute accent
    case u'\u02BC': // modifier letter apostrophe
    case u'\u2018':
    case u'\u2019':
    case u'\u2032': // prime
        return true;
    default:
        return false;
    }
}

} // namespace

NameSearch::NameSearch(const QStringList &names)
{
    setNames(names);
}

QString NameSearch::fold(const QString &text)
{
    // Most names are plain ASCII, which decomposes to itself.
    const bool ascii = std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
    QString decomposed = text;
    if (!ascii) {
        // Apostrophes go before the decomposition too, which turns an acute accent into a blank.
        decomposed.removeIf(isApostrophe);
        decomposed = decomposed.normalized(QString::NormalizationForm_KD);
    }
    QString folded(decomposed.size(), Qt::Uninitialized);
    QChar *out = folded.data();
    qsizetype size = 0;
    bool afterBlank = false;
    for (QChar c : std::as_const(decomposed)) {
        const char16_t u = c.unicode();
        if (isApostrophe(c) || (u >= 0x80 && c.isMark()))
            continue;
        if (c.isSpace()) {
            if (!afterBlank)
                out[size++] = u' ';
            afterBlank = true;
            continue;
        }
        afterBlank = false;
        if (u < 0x80)
            out[size++] = QChar(u >= u'A' && u <= u'Z' ? char16_t(u + (u'a' - u'A')) : u);
        else
            out[size++] = c.toCaseFolded();
    }
    folded.truncate(size);
    return folded;
}

void NameSearch::setNames(const QStringList &names)
{
    mNames = names;
    mKeys.clear();
    mBounds.clear();
    mBounds.reserve(names.size() + 1);
    mBounds.append(0);
    for (const QString &name : names) {
        // A blank before every name lets a fragment that starts with one find words that start
        // with the rest, the first word included.
        mKeys.append(u' ');
        mKeys.append(fold(name));
        mBounds.append(mKeys.size());
    }
}

QList<int> NameSearch::matchingRows(const QString &fragment) const
{
    const QString key = fold(fragment);
    const std::u16string_view needle = view(key);
    const std::u16string_view keys = view(mKeys);
    QList<int> rows;
    for (int row = 0; row < mNames.size(); ++row) {
        const std::u16string_view name = keys.substr(mBounds[row], mBounds[row + 1] - mBounds[row]);
        if (name.find(needle) != std::u16string_view::npos)
            rows.append(row);
    }
    return rows;
}

QStringList NameSearch::matches(const QString &fragment) const
{
    QStringList found;
    const QList<int> rows = matchingRows(fragment);
    found.reserve(rows.size());
    for (int row : rows)
        found.append(mNames.at(row));
    return found;
}

} // namespace model
