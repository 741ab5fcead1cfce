#include "model/NameSearch.h"

#include <gtest/gtest.h>

namespace {

QString q(const char16_t *text) { return QString::fromUtf16(text); }

const QStringList kNames = {
    q(u"FORLÌ SRL"),
    q(u"SOCIETÀ COOPERATIVA AGRICOLA"),
    q(u"D'ANGELO MARIO"),
    q(u"D\u2019ANGELO LUCIA"),
    q(u"DANGELO PIETRO"),
    q(u"ROSSI MARIO"),
    q(u"SOCIETA' DEI SERVIZI"),
    q(u"ROSSI MARIO"),
    q(u"NICOLÒ  BIANCHI"),
    q(u"L\u00B4AQUILA TRASPORTI"),
    q(u"MARIO DI MARIO"),
    q(u"ZUCCHERI\uFB01CIO"),
    q(u"BJØRN ØSTERGAARD"),
    q(u"SOMMARIO EDITORE"),
};

TEST(NameSearch, FindsTheNamesHoldingTheFragmentInListOrderIgnoringCaseAccentsAndApostrophes)
{
    const struct {
        const char16_t *fragment;
        QList<int> rows;
    } cases[] = {
        {u"forli", {0}},
        {u"societa", {1, 6}},
        {u"società", {1, 6}},
        {u"societa'", {1, 6}},
        {u"d'angelo", {2, 3, 4}},
        {u"d\u2019angelo", {2, 3, 4}},
        {u"dangelo", {2, 3, 4}},
        {u"laquila", {9}},
        {u"rossi mario", {5, 7}},
        {u"mario", {2, 5, 7, 10, 13}},
        {u" mario", {2, 5, 7, 10}},
        {u"ssimario", {}},
        {u"nicolo bianchi", {8}},
        {u"nicolo   bianchi", {8}},
        {u"zuccherificio", {11}},
        {u"cio", {11}},
        {u"østergaard", {12}},
        {u"ø", {12}},
        // A fragment never runs from the end of one name into the next.
        {u"mariosoc", {}},
        {u"verdi", {}},
        {u"", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}},
    };
    const model::NameSearch search(kNames);
    for (const auto &c : cases) {
        SCOPED_TRACE(q(c.fragment).toStdString());
        EXPECT_EQ(search.matchingRows(q(c.fragment)), c.rows);
    }
}

TEST(NameSearch, GivesTheMatchingNamesAsTheListHasThemAndForgetsAReplacedList)
{
    model::NameSearch search(kNames);
    EXPECT_EQ(search.matches(QStringLiteral("rossi")), QStringList({"ROSSI MARIO", "ROSSI MARIO"}));

    search.setNames({QStringLiteral("VERDI SPA"), QStringLiteral("FORLÌ 2")});
    EXPECT_EQ(search.matches(QStringLiteral("forli")), QStringList({QStringLiteral("FORLÌ 2")}));
    EXPECT_EQ(search.matchingRows(QStringLiteral("rossi")), QList<int>());
    EXPECT_EQ(search.names().size(), 2);
}

} // namespace
