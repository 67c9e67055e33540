#pragma once
// Workstation settings (사용자환경): three pages in Tab1 — the site options,
// this workstation's card reader and receipt printer, and the network role
// (server holding the data folder, or client pointing at it). Cmd저장 saves
// the visible page.

#include "widgets/uicontext.h"

#include <QWidget>
#include <functional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace fitrova {

class WorkstationScreen : public QWidget {
    Q_OBJECT
public:
    enum Page { OptionsPage = 0, WorkstationPage = 1, NetworkPage = 2 };

    explicit WorkstationScreen(UiContext &ui, QWidget *parent = nullptr);

    // Saves the visible page; true when something was stored.
    bool save();
    // Fills the workstation page with this computer's name and "프론트".
    void fillThisComputer();

    // What ending the program after a network change does; by default the
    // application quits. Tests replace it.
    void setEndProgram(std::function<void()> fn) { m_endProgram = std::move(fn); }

private:
    bool savePage(int page);
    QWidget *buildOptionsPage();
    QWidget *buildWorkstationPage();
    QWidget *buildNetworkPage();
    void loadOptions();
    void loadWorkstation();
    void loadNetwork();
    bool saveOptions();
    bool saveWorkstation();
    bool saveNetwork();
    void chooseFolder();
    void focusField(const QString &objectName);

    UiContext &m_ui;
    std::function<void()> m_endProgram;
    QTabWidget *m_tab;
    QList<class UnsavedChanges *> m_pageChanges; // one per page

    // options
    QCheckBox *m_chk4;
    QComboBox *m_cob6, *m_cob8, *m_cob3;
    QLineEdit *m_txt71, *m_txt2, *m_txt11, *m_txt12;
    QRadioButton *m_opt5Off, *m_opt5On;

    // workstation
    QLineEdit *m_pcName, *m_posName, *m_posNo;
    QPushButton *m_command1;
    QCheckBox *m_chkCardReader, *m_chkPosPrint;
    QComboBox *m_cardType, *m_cardPort, *m_printType, *m_printPort;

    // network
    QWidget *m_networkFields;
    QLabel *m_networkNote;
    QLineEdit *m_pwd, *m_serverPath;
    QRadioButton *m_opt1Server, *m_opt1Client;
    QPushButton *m_cmdPath;
    bool m_networkEnabled = false;

    QPushButton *m_save, *m_close;
};

} // namespace fitrova
