#include "enrollment/ui/enrollmentscreens.h"

#include "enrollment/ui/changedialogs.h"
#include "enrollment/ui/enrollmentdialog.h"
#include "enrollment/ui/pausedialogs.h"

#include <memory>

namespace fitrova {

namespace {

// The dialog when it could load what it is to work on; otherwise it has told
// the user why and is dropped.
template <typename Dialog>
QDialog *readyOrNull(Dialog *d)
{
    if (d->isReady())
        return d;
    delete d;
    return nullptr;
}

} // namespace

QDialog *createEnrollmentScreen(UiContext &ui, const EnrollmentRequest &request, QWidget *parent)
{
    switch (request.screen) {
    case EnrollmentScreen::Enrollment:
        return new EnrollmentDialog(ui, request, parent);
    case EnrollmentScreen::ClassChange:
        return readyOrNull(new ClassChangeDialog(ui, request, parent));
    case EnrollmentScreen::Transfer:
        return readyOrNull(new TransferDialog(ui, request, parent));
    case EnrollmentScreen::Postponement:
        return readyOrNull(new PostponementDialog(ui, request, parent));
    case EnrollmentScreen::Refund:
        return readyOrNull(new RefundDialog(ui, request, parent));
    case EnrollmentScreen::Payment:
        return new PaymentDialog(ui, request, parent);
    }
    return nullptr;
}

namespace {
bool tfOf(QDialog *d)
{
    if (auto *x = qobject_cast<EnrollmentDialog *>(d))
        return x->TF;
    if (auto *x = qobject_cast<ClassChangeDialog *>(d))
        return x->TF;
    if (auto *x = qobject_cast<TransferDialog *>(d))
        return x->TF;
    if (auto *x = qobject_cast<PostponementDialog *>(d))
        return x->TF;
    if (auto *x = qobject_cast<RefundDialog *>(d))
        return x->TF;
    if (auto *x = qobject_cast<PaymentDialog *>(d))
        return x->TF;
    return false;
}
} // namespace

std::optional<bool> openEnrollmentScreen(UiContext &ui, const EnrollmentRequest &request, QWidget *parent)
{
    std::unique_ptr<QDialog> d(createEnrollmentScreen(ui, request, parent));
    if (!d)
        return false;
    d->exec();
    return tfOf(d.get());
}

} // namespace fitrova
