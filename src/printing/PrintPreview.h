#pragma once

#include <QString>

class QWidget;

namespace kit { struct Context; }

namespace printing {

// "Anteprima" of the printer window: asks what the print job asks before its pages (the zoom
// and the orientation), sets the registry sheet's pages up as the job does, and shows the
// pages the job would print, painted as the printer gets them, in the toolkit's preview
// window, on the paper of `printer`. It asks no page question, prints nothing and leaves the
// printer window open.
void previewRegistryPages(kit::Context &context, const QString &printer, QWidget &window);

} // namespace printing
