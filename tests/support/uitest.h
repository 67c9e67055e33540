#pragma once
// Finding and pressing controls of a screen under test by their objectName.

#include <QAbstractButton>
#include <QObject>
#include <QTest>

namespace fitrova::test {

// The named control of the given type below root; the test stops when the
// screen has no such control.
template <typename T>
T *child(QObject *root, const char *name)
{
    T *w = root->findChild<T *>(QString::fromUtf8(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
}

// A mouse click on the named button.
inline void click(QObject *root, const char *name)
{
    QTest::mouseClick(child<QAbstractButton>(root, name), Qt::LeftButton);
}

} // namespace fitrova::test
