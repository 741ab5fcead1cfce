// "Aggiungi Fornitore": the free row, the counter, the date value, the refusals, and what the
// archive holds once "Esci" has saved it.
#include "RegistryWindow.h"

namespace {

using Answer = FakeDialogs::Answer;
using Buttons = platform::Dialogs::Buttons;
using Icon = platform::Dialogs::Icon;

struct AddCase {
    const char *what;
    QList<QStringList> rows; // from row 2
    QString counter;
    QStringList saved;
};

class Adding : public RegistryWindow, public testing::WithParamInterface<AddCase> {};

TEST_P(Adding, WritesTheNextIdentifierIntoTheFirstRowWithoutOne)
{
    const AddCase &c = GetParam();
    for (int i = 0; i < c.rows.size(); ++i)
        put(i + 2, c.rows[i]);
    sheet().range(u"IV1"_qs).setValue(c.counter);
    open();
    QTest::keyClicks(text(2), u"nuovo srl"_qs);
    QTest::keyClicks(text(9), u"06 123"_qs);
    run->dialogs.boxes.clear();

    command("MnAgg", {Answer::Yes});

    ASSERT_EQ(run->dialogs.boxes.size(), 2u);
    const FakeDialogs::Box &ask = run->dialogs.boxes[0], &done = run->dialogs.boxes[1];
    EXPECT_EQ(ask.text, u" Vuoi Inserire questo Velmoro ?"_qs);
    EXPECT_EQ(ask.title, u"Gestione Velmoro"_qs);
    EXPECT_EQ(ask.buttons, Buttons::YesNo);
    EXPECT_EQ(ask.icon, Icon::None);
    EXPECT_EQ(done.text, u"Soggetto Aggiunto"_qs);
    EXPECT_EQ(done.title, u" Gestione Velmoro"_qs);
    EXPECT_EQ(done.icon, Icon::None);
    EXPECT_EQ(text(1)->text(), QString());
    EXPECT_EQ(text(2)->text(), QString());
    EXPECT_TRUE(items().contains(u"NUOVO SRL"_qs));
    EXPECT_TRUE(text(2)->hasFocus());
    command("mnuEsci");
    EXPECT_EQ(savedCells(), c.saved);
}

INSTANTIATE_TEST_SUITE_P(
    Registry, Adding,
    testing::Values(
        AddCase{"EmptyRegistry", {}, {}, {u"A2=1"_qs, u"B2=NUOVO SRL"_qs, u"I2=06 123"_qs, u"IV1=1"_qs}},
        AddCase{"Counter41",
                {{u"1"_qs, u"A"_qs}, {u"2"_qs, u"B"_qs}, {u"3"_qs, u"C"_qs}, {u"4"_qs, u"D"_qs}, {u"5"_qs, u"E"_qs}},
                u"41"_qs,
                {u"A2=1"_qs, u"B2=A"_qs, u"A3=2"_qs, u"B3=B"_qs, u"A4=3"_qs, u"B4=C"_qs, u"A5=4"_qs,
                 u"B5=D"_qs, u"A6=5"_qs, u"B6=E"_qs, u"A7=42"_qs, u"B7=NUOVO SRL"_qs, u"I7=06 123"_qs,
                 u"IV1=42"_qs}},
        AddCase{"EmptiedIdentifier",
                {{u"1"_qs, u"A"_qs}, {QString(), u"VECCHIO"_qs, u"C2"_qs, u"01/02/2025"_qs, u"VIA"_qs},
                 {u"3"_qs, u"C"_qs}},
                u"3"_qs,
                {u"A2=1"_qs, u"B2=A"_qs, u"A3=4"_qs, u"B3=NUOVO SRL"_qs, u"D3=01/02/2025"_qs,
                 u"I3=06 123"_qs, u"A4=3"_qs, u"B4=C"_qs, u"IV1=4"_qs}}),
    [](const auto &info) { return std::string(info.param.what); });

class Add : public RegistryWindow {
protected:
    void openWithOneSubject()
    {
        put(2, {u"1"_qs, u"ROSSI"_qs});
        sheet().range(u"IV1"_qs).setValue(u"1"_qs);
        open();
        before = cells();
    }
    QStringList before;
};

TEST_F(Add, WithoutANameIsRefusedAndTheListReloaded)
{
    openWithOneSubject();
    QTest::keyClicks(text(3), u"c9"_qs);
    command("MnAgg");
    ASSERT_EQ(run->dialogs.boxes.size(), 1u);
    EXPECT_EQ(run->dialogs.boxes[0].text, u"Bisogna compilare il  campo  Ragione Sociale/Cognome"_qs);
    EXPECT_EQ(run->dialogs.boxes[0].title, u" Gestione Velmoro"_qs);
    EXPECT_EQ(run->dialogs.boxes[0].icon, Icon::Exclamation);
    EXPECT_EQ(items(), QStringList{u"ROSSI"_qs});
    EXPECT_EQ(text(3)->text(), u"C9"_qs);
    EXPECT_EQ(cells(), before);
}

TEST_F(Add, NoAtTheConfirmationWritesNothingAndLeavesTheListEmpty)
{
    openWithOneSubject();
    QTest::keyClicks(text(2), u"verdi"_qs);
    command("MnAgg", {Answer::No});
    EXPECT_EQ(run->dialogs.boxes.size(), 1u);
    EXPECT_EQ(items(), QStringList());
    EXPECT_EQ(text(2)->text(), u"VERDI"_qs);
    EXPECT_EQ(cells(), before);
}

struct Refusal {
    const char *what;
    const char *counter;
    const char *date;
    int fullUpTo; // rows whose A is filled, 0 for none beyond the subject
    QString message;
};

class AddRefusal : public Add, public testing::WithParamInterface<Refusal> {};

TEST_P(AddRefusal, SaysWhyBeforeWritingAnythingAndKeepsTheFields)
{
    const Refusal &c = GetParam();
    for (int row = 3; row <= c.fullUpTo; ++row)
        sheet().cells(row, 1).setValue(double(row));
    openWithOneSubject();
    sheet().range(u"IV1"_qs).setValue(QString::fromUtf8(c.counter));
    before = cells();
    QTest::keyClicks(text(2), u"verdi"_qs);
    QTest::keyClicks(text(4), QString::fromUtf8(c.date));

    command("MnAgg", {Answer::Yes});

    ASSERT_EQ(run->dialogs.boxes.size(), 2u);
    EXPECT_EQ(run->dialogs.boxes[1].text, c.message);
    EXPECT_EQ(run->dialogs.boxes[1].title, u" Gestione Velmoro"_qs);
    EXPECT_EQ(run->dialogs.boxes[1].icon, Icon::Exclamation);
    EXPECT_EQ(cells(), before);
    EXPECT_EQ(text(1)->text(), QString());
    EXPECT_EQ(text(2)->text(), u"VERDI"_qs);
    EXPECT_EQ(text(4)->text(), QString::fromUtf8(c.date));
    EXPECT_EQ(items(), QStringList{u"ROSSI"_qs});
    EXPECT_FALSE(run->program.ended());
}

const QString kBadDate = u"La data \"%1\" non è valida: scriverla come gg/mm/aaaa, ad esempio 31/12/2026.\n"
                         "Il Soggetto non è stato aggiunto."_qs;
const QString kBadCounter = u"Il progressivo ID (cella IV1 dell'archivio) non è un numero intero.\n"
                            "Correggerlo con Utilità/Progressivi. Il Soggetto non è stato aggiunto."_qs;

INSTANTIATE_TEST_SUITE_P(
    Registry, AddRefusal,
    testing::Values(Refusal{"NoDate", "1", "31/02/2026", 0, kBadDate.arg(u"31/02/2026"_qs)},
                    Refusal{"DateBefore1900", "1", "01/01/1899", 0, kBadDate.arg(u"01/01/1899"_qs)},
                    Refusal{"TextCounter", "quaranta", "", 0, kBadCounter},
                    Refusal{"FractionCounter", "41,5", "", 0, kBadCounter},
                    Refusal{"Full", "1", "", 32767,
                            u"L'archivio è pieno: tutte le righe fino alla 32767 sono occupate.\n"
                            "Il Soggetto non è stato aggiunto."_qs}),
    [](const auto &info) { return std::string(info.param.what); });

// A date typed in the regional short format is stored as a date, shown again when the subject
// is picked, and stays a date when the subject is modified.
class DateRoundTrip : public RegistryWindow, public testing::WithParamInterface<std::pair<QLocale, QString>> {
protected:
    void SetUp() override { start(Regional(GetParam().first)); }
};

TEST_P(DateRoundTrip, ReadsBackAsTheSameDateAfterAddingAndModifying)
{
    const QString date = GetParam().second;
    put(2, {u"1"_qs, u"ROSSI"_qs});
    open();
    QTest::keyClicks(text(2), u"verdi"_qs);
    QTest::keyClicks(text(4), date);
    command("MnAgg", {Answer::Yes});
    ASSERT_TRUE(sheet().range(u"D3"_qs).valueType() == host::ValueType::Date);

    pick(2);
    EXPECT_EQ(text(4)->text(), date);
    command("mnuM", {Answer::Yes});
    EXPECT_TRUE(sheet().range(u"D3"_qs).valueType() == host::ValueType::Date);
    EXPECT_EQ(sheet().range(u"D3"_qs).text(), date);
    command("mnuEsci");
    EXPECT_TRUE(savedCells().contains(u"D3=05/12/2026 [data]"_qs));
}

INSTANTIATE_TEST_SUITE_P(Registry, DateRoundTrip,
                         testing::Values(std::pair{QLocale(QLocale::Italian, QLocale::Italy), u"05/12/2026"_qs},
                                         std::pair{QLocale(QLocale::English, QLocale::UnitedStates),
                                                   u"12/5/2026"_qs}));

} // namespace
