#pragma once

namespace app { class Forms; }

namespace printing {

class StampaP;

// "Anteprima" of the printer window: asks what the print job asks before its pages (the zoom
// and the orientation), sets the registry sheet's pages up as the job does, and shows the
// pages the job would print, painted as the printer gets them, in the toolkit's preview
// window, on the paper of the printer the window names. It asks no page question, prints
// nothing and leaves the printer window open.
void previewRegistryPages(app::Forms &forms, StampaP &window);

} // namespace printing
