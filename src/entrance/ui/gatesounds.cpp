#include "entrance/ui/gatesounds.h"

#include "foundation/appcontext.h"
#include "entrance/gatesettings.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

namespace fitrova {

GateSounds::GateSounds(const AppContext &ctx, QObject *parent) : QObject(parent), m_enabled(gateSoundsOn(ctx))
{
    if (!m_enabled)
        return;
    auto make = [this](const QString &path, int loops) -> QSoundEffect * {
        if (!QFileInfo::exists(path))
            return nullptr;
        auto *s = new QSoundEffect(this);
        s->setSource(QUrl::fromLocalFile(path));
        s->setLoopCount(loops);
        return s;
    };
    m_ok = make(ctx.paths.inOkWav, 2);
    m_error = make(ctx.paths.errorWav, 1);
}

void GateSounds::admitted()
{
    if (!m_enabled)
        return;
    ++m_okPlays;
    if (m_ok) {
        m_ok->stop();
        m_ok->play();
    }
}

void GateSounds::refused()
{
    if (!m_enabled)
        return;
    ++m_errorPlays;
    if (m_error) {
        m_error->stop();
        m_error->play();
    }
}

} // namespace fitrova
