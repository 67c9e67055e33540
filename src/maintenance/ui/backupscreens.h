#pragma once
// The backup screens: the file backup (백업) of the file databases with its
// folder chooser (백업Sub), the server backup (frmBackup), and the restore
// of a backup (자료복원) reached from both.

#include "maintenance/backup.h"
#include "widgets/uicontext.h"

#include <QDialog>
#include <QWidget>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QTreeView;

namespace fitrova {

class DataGrid;

// The folder the backups of this engine go to, as the user chose it.
QString backupFolderFor(const AppContext &ctx);

// Runs a backup with the busy notice; tells the desk how it went. True when
// the backup was written and checked.
bool runBackupForUser(UiContext &ui, const QString &folder, BackupReason reason, QWidget *parent);

class BackupScreen : public QWidget {
    Q_OBJECT
public:
    explicit BackupScreen(UiContext &ui, QWidget *parent = nullptr);
    QString backupFolder() const;
    void backup();
    void chooseFolder();
    void openRestore();

private:
    UiContext &m_ui;
    QLabel *m_source, *m_target;
};

class BackupFolderDialog : public QDialog {
    Q_OBJECT
public:
    BackupFolderDialog(UiContext &ui, const QString &start, QWidget *parent = nullptr);
    QString folder() const;
    // Creates the folder, remembers it as the file backup's folder and closes.
    bool acceptFolder();

private:
    UiContext &m_ui;
    QComboBox *m_drive;
    QTreeView *m_dirs;
    QFileSystemModel *m_model;
    QLineEdit *m_path;
};

class ServerBackupScreen : public QWidget {
    Q_OBJECT
public:
    explicit ServerBackupScreen(UiContext &ui, QWidget *parent = nullptr);
    QString backupFolder() const;
    void backup();
    void openRestore();

private:
    void folderChosen(const QString &folder);

    UiContext &m_ui;
    QComboBox *m_folder;
};

class RestoreDialog : public QDialog {
    Q_OBJECT
public:
    RestoreDialog(UiContext &ui, const QString &folder, QWidget *parent = nullptr);
    void reload();
    // Restores the selected backup after the question; true when done.
    bool restoreSelected();
    void removeSelected();
    DataGrid *grid() const { return m_grid; }
    const QList<BackupSet> &sets() const { return m_sets; }

private:
    UiContext &m_ui;
    QString m_folder;
    DataGrid *m_grid;
    QList<BackupSet> m_sets;
};

} // namespace fitrova
