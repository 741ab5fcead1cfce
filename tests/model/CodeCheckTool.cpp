// Reads lines "cf<TAB>code" or "iva<TAB>code" and writes, per line, what the check says
// (an empty line when the code is right).
#include "model/CodeChecks.h"

#include <QTextStream>
#include <cstdio>

int main()
{
    QTextStream in(stdin);
    QTextStream out(stdout);
    QString line;
    while (in.readLineInto(&line)) {
        const QString kind = line.section(u'\t', 0, 0);
        const QString code = line.section(u'\t', 1);
        if (kind == u"cf")
            out << model::checkCodiceFiscale(code) << '\n';
        else if (kind == u"iva")
            out << model::checkPartitaIva(code) << '\n';
        else
            return 2;
    }
    return 0;
}
