#pragma once
// The enrollment screens as the member card opens them: one modal dialog
// per request, TF back to the card.

#include "members/enrollmentrequest.h"
#include "widgets/uicontext.h"

#include <optional>

class QDialog;
class QWidget;

namespace fitrova {

// Creates the dialog of the request, or nullptr when it cannot open (the
// refusal has been shown then: an enrollment that cannot be changed,
// transferred, postponed or refunded).
QDialog *createEnrollmentScreen(UiContext &ui, const EnrollmentRequest &request, QWidget *parent);

// Opens it modally and returns its TF.
std::optional<bool> openEnrollmentScreen(UiContext &ui, const EnrollmentRequest &request, QWidget *parent);

} // namespace fitrova
