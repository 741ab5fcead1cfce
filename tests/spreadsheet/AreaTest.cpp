#include "spreadsheet/Area.h"
#include "HostFixture.h"

namespace {

TEST(Area, ParsesTheAddressFormsAndWritesThemAbsoluteOrRelative)
{
    const std::pair<const char *, const char *> cases[] = {
        {"$a$1", "$A$1"}, {"A2:S65536", "$A$2:$S$65536"}, {"a:c", "$A:$C"},        {"$N:$N", "$N:$N"},
        {"3:1", "$1:$3"}, {"B3:A1", "$A$1:$B$3"},         {"IV65536", "$IV$65536"}, {"A1:IV1", "$1:$1"},
        {"A1:A65536", "$A:$A"}, {"A1:IV65536", "$1:$65536"},
    };
    for (const auto &[input, absolute] : cases) {
        const auto area = host::Area::parse(QString::fromLatin1(input));
        ASSERT_TRUE(area.has_value()) << input;
        EXPECT_EQ(area->absolute(), QString::fromLatin1(absolute)) << input;
    }
    EXPECT_EQ((host::Area{7, 2, 7, 2}.relative()), QStringLiteral("B7"));
    EXPECT_EQ((host::Area{2, 1, 3, 19}.relative()), QStringLiteral("A2:S3"));
    EXPECT_EQ(host::columnLetters(26) + host::columnLetters(27) + host::columnLetters(256), QStringLiteral("ZAAIV"));
}

TEST(Area, RefusesWhatIsNoAddress)
{
    for (const char *input : {"", "A0", "IW1", "A65537", "A1:", ":", "1A", "A1:B2:C3", "AAA1", "$", "A$",
                              "A", "7", "A1:B", "Velmoro!A1", "A 1", "A1.5"}) {
        EXPECT_FALSE(host::Area::parse(QString::fromLatin1(input)).has_value()) << input;
    }
}

} // namespace
