#pragma once

#include <QString>
#include <cstdint>

// The Italian bank-coordinate engine: CIN check letter, BBAN, IBAN check digits.
// Properties are stored and returned unchanged; only the computations normalise them.
// Characters outside ASCII are never taken for letters or digits.
class CheckBancari {
public:
    void setAbi(const QString &vData);
    QString Abi() const;
    void setCab(const QString &vData);
    QString Cab() const;
    void setContoCorrente(const QString &vData);
    QString ContoCorrente() const;
    void setCin(const QString &vData);
    QString Cin() const;
    void setIBAN(const QString &vData);
    QString IBAN() const;
    void setBBAN(const QString &vData);
    QString BBAN() const;
    void setCheckDigitIBAN(const QString &vData);
    QString CheckDigitIBAN() const;
    void setPaese(const QString &vData);
    QString Paese() const;
    void setDivisore(std::int16_t vData);
    std::int16_t Divisore() const;

    QString NormalizzaContoCorrente(const QString &pContoCorrente) const;
    bool VerificaCin(const QString &cinCode);
    QString CalcolaCin();
    // False for an empty code or one with no letter or digit in it.
    bool CheckIBAN(const QString &pIBAN = QString()) const;
    // With the IBAN property set, returns its BBAN part (the normalised code from the fifth
    // character on) instead of composing one.
    QString CalcolaBBAN();
    // Both raise BankError when the country code holds a character that is neither a
    // letter nor a digit, or when Divisore is not positive.
    QString CalcolaCheckIBAN(const QString &pPaese, const QString &pBBAN);
    QString CalcolaIBAN(const QString &pPaese = QString(), const QString &pBBAN = QString());
    QString NormalizzaIBAN(const QString &pCodice) const;

private:
    static QString RiempiZeri(const QString &value, std::int16_t width);
    static bool VerificaFormatoIBAN(const QString &code);
    static QString ConvertiLettere(const QString &text);

    QString mAbi;
    QString mCab;
    QString mContoCorrente;
    QString mCin;
    QString mIBAN;
    QString mBBAN;
    QString mCheckDigitIBAN;
    QString mPaese = QStringLiteral("IT");
    std::int16_t mDivisore = 97;
};
