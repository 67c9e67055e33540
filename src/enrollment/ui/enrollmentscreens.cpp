#include "enrollment/ui/enrollmentscreens.h"

#include "enrollment/ui/changedialogs.h"
#include "enrollment/ui/enrollmentdialog.h"
#include "enrollment/ui/pausedialogs.h"

#include <memory>

namespace fitrova {

QDialog *createEnrollmentScreen(UiContext &ui, const EnrollmentRequest &request, QWidget *parent)
{
    switch (request.screen) {
    case EnrollmentScreen::Enrollment:
        return new EnrollmentDialog(ui, request, parent);
    case EnrollmentScreen::ClassChange: {
        auto *d = new ClassChangeDialog(ui, request, parent);
        if (d->isReady())
            return d;
        delete d;
        return nullptr;
    }
    case EnrollmentScreen::Transfer: {
        auto *d = new TransferDialog(ui, request, parent);
        if (d->isReady())
            return d;
        delete d;
        return nullptr;
    }
    case EnrollmentScreen::Postponement: {
        auto *d = new PostponementDialog(ui, request, parent);
        if (d->isReady())
            return d;
        delete d;
        return nullptr;
    }
    case EnrollmentScreen::Refund: {
        auto *d = new RefundDialog(ui, request, parent);
        if (d->isReady())
            return d;
        delete d;
        return nullptr;
    }
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
