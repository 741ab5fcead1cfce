#pragma once

#include <QString>
#include <exception>

namespace kit {

// The host's description of an error, or what it says of itself.
QString errorDescription(const std::exception &error);
// An error nobody handled: its number and the host's description, as the runtime shows it.
QString unhandledErrorText(const std::exception &error);
// A save that failed while the program goes on with its changes in memory.
QString failedSaveText(const std::exception &error);

} // namespace kit
