#pragma once
// The program's look on a Korean desk: Korean locale, NanumGothic 10 pt, and
// the Korean texts of Qt's standard dialogs and buttons. Called once, before
// the first window, by the program and by anything that times its start.

class QApplication;

namespace fitrova {

void setupLookAndFeel(QApplication &app);

} // namespace fitrova
