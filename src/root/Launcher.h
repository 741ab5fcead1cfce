#pragma once

#include <QString>
#include <functional>

namespace root {

class Forms;
class VelmoroApplication;

// The program's first action: load the main window (start-up). False when the program
// ended before showing anything; start-up errors are reported with number and description.
bool startUp(Forms &forms);

// The whole run on the real desktop; `shown` runs once the main window is on screen.
int runVelmoro(VelmoroApplication &qapp, const QString &archivePath,
               const std::function<void()> &shown = {});

} // namespace root
