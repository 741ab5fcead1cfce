#pragma once

#include <QString>

class QDate;

namespace host { class Application; }
namespace platform { class Dialogs; }

namespace app {

// The name offered for the export of `day`: Registro-YYYYMMDD.csv in the user's documents
// folder, or in the home folder when there is none.
QString suggestedExportPath(const QDate &day);

// "Esporta CSV per il commercialista...": asks for the file, offering suggestedExportPath(),
// writes the registry there as CSV, and says how many subjects went where, or why nothing
// was written. A cancelled question does nothing.
void exportForAccountant(host::Application &app, platform::Dialogs &dialogs);

} // namespace app
