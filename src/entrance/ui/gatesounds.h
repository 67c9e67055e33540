#pragma once
// The gate's sounds: Bin/InOk.Wav twice on an admission, Bin/Error.Wav once
// on a refusal. Silent unless the workstation switches them on
// (configuration GATE/Sounds=1); a missing file is silent too.

#include <QObject>

class QSoundEffect;

namespace fitrova {

class AppContext;

class GateSounds : public QObject {
    Q_OBJECT
public:
    GateSounds(const AppContext &ctx, QObject *parent = nullptr);
    bool enabled() const { return m_enabled; }
    void admitted();
    void refused();
    // How many times each sound was started (for tests).
    int admittedPlays() const { return m_okPlays; }
    int refusedPlays() const { return m_errorPlays; }

private:
    bool m_enabled = false;
    QSoundEffect *m_ok = nullptr, *m_error = nullptr;
    int m_okPlays = 0, m_errorPlays = 0;
};

} // namespace fitrova
