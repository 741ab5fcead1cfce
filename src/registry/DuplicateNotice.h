#pragma once

#include "model/Registry.h"

#include <QLabel>

class QLineEdit;

namespace registry {

// What a new subject's fields share with the subjects already on the registry sheet: for
// the partita IVA (field 14) and the codice fiscale (field 13), when filled, the first
// subject holding the same code, blanks and case aside, named by its identifier and name
// ("Attenzione: la partita IVA 01234567890 è già del soggetto 12 ROSSI MARIO"), one line
// each; "" when no subject does.
QString duplicateWarning(const host::Worksheet &registry, const model::Fields &fields);

// A label of the registry window that names, before a subject is added, the subject already
// holding its partita IVA or codice fiscale. It hides again once either field changes.
class DuplicateNotice : public QLabel {
    Q_OBJECT

public:
    DuplicateNotice(QLineEdit &codiceFiscale, QLineEdit &partitaIva, QWidget *parent);

    // Shown with the warning for `fields`, hidden when there is none or the sheet cannot
    // be read (the add goes on either way).
    void check(host::Application &app, const model::Fields &fields);
};

} // namespace registry
