#include "widgets/screenregistry.h"

#include <algorithm>

namespace fitrova {

void ScreenRegistry::add(const QString &name, ScreenFactory factory, ScreenMode mode)
{
    m_entries.insert(name, ScreenEntry{[f = std::move(factory)](UiContext &ui, QWidget *parent,
                                                                 const ScreenArgs &) { return f(ui, parent); },
                                       mode});
}

void ScreenRegistry::add(const QString &name, ScreenFactoryWithArgs factory, ScreenMode mode)
{
    m_entries.insert(name, ScreenEntry{std::move(factory), mode});
}

void ScreenRegistry::remove(const QString &name) { m_entries.remove(name); }

const ScreenEntry *ScreenRegistry::find(const QString &name) const
{
    const auto it = m_entries.constFind(name);
    return it == m_entries.constEnd() ? nullptr : &it.value();
}

QStringList ScreenRegistry::menuNames() const
{
    QStringList names = m_entries.keys();
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace fitrova
