#pragma once

#include <QString>
#include <cstdint>
#include <optional>

class Regional;
namespace host { class Worksheet; }

namespace model {

// The registry print job's steps that need no window: reading the zoom the user typed and
// setting up the registry sheet's pages for it.

// The answer as a whole number in the user's locale, a half going to the even neighbour;
// nothing when it is no number or beyond a 32-bit whole number.
std::optional<std::int32_t> wholeNumber(const QString &answer, const Regional &regional);

// The page header's centre text for today.
QString centerHeader(bool portrait, const Regional &regional);

// Print area (A1 to column R, or N in landscape, down to the last identifier above the first
// empty A), header, margins, one page wide and tall, orientation, A4 and `zoom`. Each step
// ignores the error it meets and the next one runs.
void setUpRegistryPages(host::Worksheet &sheet, bool portrait, std::int32_t zoom, const Regional &regional);

} // namespace model
