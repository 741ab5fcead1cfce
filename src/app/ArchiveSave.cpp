#include "ArchiveSave.h"

#include "Archive.h"
#include "Dialogs.h"
#include "Product.h"

namespace app {

void saveArchive(host::Application &app, platform::Dialogs &dialogs)
{
    const QString problem = archive::SaveArchive(app);
    if (problem.isEmpty())
        return;
    dialogs.messageBox(problem + QStringLiteral("\n\nL'archivio è stato salvato comunque."), kDefaultTitle,
                       platform::Dialogs::Buttons::Ok, platform::Dialogs::Icon::Exclamation);
}

} // namespace app
