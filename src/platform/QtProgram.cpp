#include "QtProgram.h"

#include <QCoreApplication>

namespace platform {

void QtProgram::end(int exitCode)
{
    if (ended_)
        return;
    ended_ = true;
    exitCode_ = exitCode;
    QCoreApplication::exit(exitCode);
}

} // namespace platform
