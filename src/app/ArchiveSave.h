#pragma once

namespace host { class Application; }
namespace platform { class Dialogs; }

namespace app {

// The windows' save point: the archive saved as archive::SaveArchive saves it (its errors
// reach the caller), then, when the backup before it could not be made, the user told why.
void saveArchive(host::Application &app, platform::Dialogs &dialogs);

} // namespace app
