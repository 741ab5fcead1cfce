// CheckIBAN throughput over a million distinct Italian IBANs, half of them typed in groups
// of four as printed on statements.
#include "bank/CheckBancari.h"

#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr int kCount = 1'000'000;

std::vector<QString> makeIbans()
{
    std::mt19937 random(1);
    std::uniform_int_distribution<int> digit(0, 9);
    auto digits = [&](int n) {
        QString text;
        for (int i = 0; i < n; ++i)
            text.append(QChar(u'0' + digit(random)));
        return text;
    };
    // Built into one text first so that the list below is allocated in order, as a list
    // read from a file would be, rather than scattered among the generator's temporaries.
    QString pool;
    std::vector<qsizetype> ends;
    ends.reserve(kCount);
    CheckBancari bank;
    for (int i = 0; i < kCount; ++i) {
        bank.setAbi(digits(5));
        bank.setCab(digits(5));
        bank.setContoCorrente(digits(12));
        bank.setCin(QString());
        QString iban = bank.CalcolaIBAN("IT", bank.CalcolaBBAN());
        if (i % 2 == 1)
            for (qsizetype at = 4; at < iban.size(); at += 5)
                iban.insert(at, u' ');
        pool.append(iban);
        ends.push_back(pool.size());
    }
    std::vector<QString> ibans;
    ibans.reserve(kCount);
    qsizetype start = 0;
    for (qsizetype end : ends) {
        ibans.push_back(pool.mid(start, end - start));
        start = end;
    }
    return ibans;
}

} // namespace

int main()
{
    const std::vector<QString> ibans = makeIbans();

    const CheckBancari bank;
    int valid = 0;
    const auto start = std::chrono::steady_clock::now();
    for (const QString &iban : ibans)
        valid += bank.CheckIBAN(iban);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;

    std::printf("CheckIBAN: %d IBANs in %.3f s, %.0f IBANs/second (%d valid)\n", kCount,
                elapsed.count(), kCount / elapsed.count(), valid);
    return valid == kCount ? 0 : 1;
}
