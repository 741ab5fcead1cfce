#pragma once

#include "spreadsheet/HostError.h"
#include "spreadsheet/PrintTarget.h"
#include "platform/Printers.h"

#include <vector>

// Installed printers as a test lists them, and a printer driver that records each job;
// a job for a printer not listed fails as it would on the system.
class FakePrinters : public platform::Printers, public host::PrintTarget {
public:
    struct Job {
        QString printer;
        int copies = 0;
        std::vector<host::PrintedPage> pages;
    };

    QStringList installed;
    QString defaultPrinter;
    std::vector<Job> jobs;

    QStringList names() const override { return installed; }
    QString defaultName() const override { return defaultPrinter; }
    void print(const QString &printer, int copies, const std::vector<host::PrintedPage> &pages) override
    {
        if (!installed.contains(printer))
            throw host::HostError(host::ErrorKind::InvalidArgument, host::kApplicationDefined,
                                  QStringLiteral("La stampante \"%1\" non è tra le stampanti installate.").arg(printer));
        jobs.push_back({printer, copies, pages});
    }
};
