#include "maintenance/ui/backupscreens.h"

#include "data/text.h"
#include "widgets/busynotice.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"

#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

namespace fitrova {

namespace {

QString u(const char *s) { return QString::fromUtf8(s); }

std::unique_ptr<QSettings> store()
{
    return std::make_unique<QSettings>(QStringLiteral("Fitrova"), QStringLiteral("Fitrova"));
}

QString sizeText(qint64 bytes)
{
    if (bytes >= 1024LL * 1024 * 1024)
        return QStringLiteral("%1GB").arg(double(bytes) / (1024.0 * 1024 * 1024), 0, 'f', 2);
    return QStringLiteral("%1MB").arg(double(bytes) / (1024.0 * 1024), 0, 'f', 1);
}

QString countsText(const BackupCounts &c)
{
    return QStringLiteral("회원 %1명, 수강 %2건, 입장 %3건, 판매 %4건")
        .arg(wonText(c.members), wonText(c.enrollments), wonText(c.visits), wonText(c.sales));
}

} // namespace

QString backupFolderFor(const AppContext &ctx)
{
    const auto s = store();
    if (ctx.engine == Engine::PostgreSQL)
        return savedServerBackupFolder(*s);
    const QString saved = savedFileBackupFolder(*s);
    return saved.isEmpty() ? defaultFileBackupFolder() : saved;
}

bool runBackupForUser(UiContext &ui, const QString &folder, BackupReason reason, QWidget *parent)
{
    BackupResult r;
    {
        BusyScope busy(QStringLiteral("데이터를 BACKUP 중입니다"), parent);
        r = backupInstallation(ui.app, folder, reason);
    }
    if (!r.ok) {
        qWarning("backup failed: %s", qPrintable(r.detail));
        ui.msg.warn(r.text, r.title);
        return false;
    }
    ui.msg.notice(QStringLiteral("데이터를 BACKUP 완료하였습니다."));
    return true;
}

// --- file backup ----------------------------------------------------------------------

BackupScreen::BackupScreen(UiContext &ui, QWidget *parent) : QWidget(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("백업"));
    setWindowTitle(QStringLiteral("자료백업"));

    // The first time: the default folder, made and remembered.
    {
        const auto s = store();
        if (savedFileBackupFolder(*s).isEmpty()) {
            const QString folder = defaultFileBackupFolder();
            if (QDir().mkpath(folder))
                saveFileBackupFolder(*s, folder);
        }
    }
    m_source = displayPanel(this, QStringLiteral("PDBS"), 420);
    m_source->setText(QDir::toNativeSeparators(ui.app.paths.serverPath + QStringLiteral("/Dbs")));
    m_target = displayPanel(this, QStringLiteral("PBDBS"), 420);
    m_target->setText(savedFileBackupFolder(*store()));

    QPushButton *cmdBackup = commandButton(this, QStringLiteral("Cmd백업"), QStringLiteral("백업"));
    QPushButton *cmdFolder = commandButton(this, QStringLiteral("Cmd설정"), QStringLiteral("경로설정"));
    QPushButton *cmdRestore = commandButton(this, QStringLiteral("Cmd복원"), QStringLiteral("복원"));
    QPushButton *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));

    auto *form = new QGridLayout;
    form->addWidget(caption(this, QStringLiteral("원본 위치")), 0, 0);
    form->addWidget(m_source, 0, 1);
    form->addWidget(caption(this, QStringLiteral("백업 위치")), 1, 0);
    form->addWidget(m_target, 1, 1);
    form->addWidget(cmdFolder, 1, 2);
    auto *note = new QLabel(QStringLiteral("모든 데이터베이스 파일(회원·수강, 입장, 포인트, 우편번호, 라벨)을 "
                                           "사용중에도 안전하게 복사하여 백업 위치 아래 날짜별 폴더에 보관합니다.\n"
                                           "예전 백업은 지우기 전까지 남아 있습니다."),
                            this);
    note->setWordWrap(true);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(12, 12, 12, 12);
    outer->addLayout(form);
    outer->addWidget(note);
    outer->addStretch();
    outer->addLayout(buttonRow({cmdBackup, cmdRestore, cmdClose}));
    resize(640, 240);

    connect(cmdBackup, &QPushButton::clicked, this, &BackupScreen::backup);
    connect(cmdFolder, &QPushButton::clicked, this, &BackupScreen::chooseFolder);
    connect(cmdRestore, &QPushButton::clicked, this, &BackupScreen::openRestore);
    connect(cmdClose, &QPushButton::clicked, this, [this] { closeScreen(this); });
}

QString BackupScreen::backupFolder() const { return m_target->text().trimmed(); }

void BackupScreen::backup()
{
    if (backupFolder().isEmpty()) {
        m_ui.msg.warn(QStringLiteral("데이터 베이스 백업경로가 설정 되어 있지 않습니다."), QStringLiteral("백업설정"));
        return;
    }
    if (!m_ui.msg.ask(QStringLiteral("데이터 베이스를 백업 하시겠습니까?"), u(kBackupTitle)))
        return;
    if (!runBackupForUser(m_ui, backupFolder(), BackupReason::Manual, this))
        return;
    m_ui.msg.info(QStringLiteral("데이터백업이 끝났읍니다."), u(kBackupTitle));
    closeScreen(this);
}

void BackupScreen::chooseFolder()
{
    BackupFolderDialog dlg(m_ui, backupFolder(), this);
    if (dlg.exec() == QDialog::Accepted)
        m_target->setText(dlg.folder());
}

void BackupScreen::openRestore()
{
    RestoreDialog dlg(m_ui, backupFolder(), this);
    dlg.exec();
}

// --- folder chooser -------------------------------------------------------------------

BackupFolderDialog::BackupFolderDialog(UiContext &ui, const QString &start, QWidget *parent) : QDialog(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("백업Sub"));
    setWindowTitle(QStringLiteral("백업 경로설정"));
    m_drive = new QComboBox(this);
    m_drive->setObjectName(QStringLiteral("Drive1"));
    for (const QStorageInfo &v : QStorageInfo::mountedVolumes())
        if (v.isValid() && v.isReady() && !v.isReadOnly())
            m_drive->addItem(v.rootPath());
    m_model = new QFileSystemModel(this);
    m_model->setFilter(QDir::Dirs | QDir::NoDotAndDotDot);
    m_model->setRootPath(QStringLiteral("/"));
    m_dirs = new QTreeView(this);
    m_dirs->setObjectName(QStringLiteral("Dir1"));
    m_dirs->setModel(m_model);
    for (int c = 1; c < m_model->columnCount(); ++c)
        m_dirs->hideColumn(c);
    m_dirs->header()->hide();
    m_path = new QLineEdit(this);
    m_path->setObjectName(QStringLiteral("TxtPath"));
    QPushButton *ok = commandButton(this, QStringLiteral("cmdOK"), QStringLiteral("확인"), 84, true);
    QPushButton *cancel = commandButton(this, QStringLiteral("cmdCancel"), QStringLiteral("취소"));

    auto *outer = new QVBoxLayout(this);
    outer->addWidget(m_drive);
    outer->addWidget(m_dirs, 1);
    auto *pathRow = new QHBoxLayout;
    pathRow->addWidget(caption(this, QStringLiteral("폴더")));
    pathRow->addWidget(m_path, 1);
    outer->addLayout(pathRow);
    outer->addLayout(buttonRow({ok, cancel}));
    resize(480, 420);

    QString first = start.trimmed().isEmpty() ? QDir::homePath() : start;
    QDir probe(first);
    while (!probe.exists() && probe.cdUp()) {
    }
    m_path->setText(first);
    const QModelIndex idx = m_model->index(probe.absolutePath());
    m_dirs->setCurrentIndex(idx);
    m_dirs->scrollTo(idx);

    connect(m_drive, &QComboBox::currentTextChanged, this, [this](const QString &root) {
        const QModelIndex i = m_model->index(root);
        m_dirs->setCurrentIndex(i);
        m_dirs->scrollTo(i);
        m_path->setText(root);
    });
    connect(m_dirs->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex &i) { m_path->setText(m_model->filePath(i)); });
    connect(ok, &QPushButton::clicked, this, &BackupFolderDialog::acceptFolder);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

QString BackupFolderDialog::folder() const { return QDir::cleanPath(m_path->text().trimmed()); }

bool BackupFolderDialog::acceptFolder()
{
    const QString f = folder();
    if (f.isEmpty() || !QDir().mkpath(f)) {
        m_ui.msg.warn(QStringLiteral("폴더를 만들 수 없습니다.\n%1").arg(f), QStringLiteral("경로설정"));
        return false;
    }
    saveFileBackupFolder(*store(), f);
    m_ui.msg.info(QStringLiteral("경로설정 및 디렉토리가 작성 되었습니다."), QStringLiteral("경로설정"));
    accept();
    return true;
}

// --- server backup ----------------------------------------------------------------------

ServerBackupScreen::ServerBackupScreen(UiContext &ui, QWidget *parent) : QWidget(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("frmBackup"));
    setWindowTitle(QStringLiteral("서버 자료백업"));
    m_folder = new QComboBox(this);
    m_folder->setObjectName(QStringLiteral("cboDrive"));
    m_folder->setEditable(true);
    m_folder->setMinimumWidth(380);
    const QString saved = savedServerBackupFolder(*store());
    m_folder->addItem(saved);
    if (saved != QDir::homePath())
        m_folder->addItem(QDir::homePath());
    m_folder->setCurrentIndex(0);
    auto *database = displayPanel(this, QStringLiteral("PnlDb"), 380);
    database->setText(QStringLiteral("%1 (%2)").arg(ui.app.dbSettings.name, ui.app.dbSettings.source));

    QPushButton *cmdFolder = commandButton(this, QStringLiteral("Cmd설정"), QStringLiteral("경로설정"));
    QPushButton *cmdBackup = commandButton(this, QStringLiteral("btnServerB"), QStringLiteral("백업"));
    QPushButton *cmdRestore = commandButton(this, QStringLiteral("Cmd복원"), QStringLiteral("복원"));
    QPushButton *cmdClose = commandButton(this, QStringLiteral("btnClose"), QStringLiteral("닫기"));

    auto *form = new QGridLayout;
    form->addWidget(caption(this, QStringLiteral("데이터베이스")), 0, 0);
    form->addWidget(database, 0, 1);
    form->addWidget(caption(this, QStringLiteral("백업 위치")), 1, 0);
    form->addWidget(m_folder, 1, 1);
    form->addWidget(cmdFolder, 1, 2);
    auto *note = new QLabel(QStringLiteral("서버의 자료를 한 시점으로 복사한 백업 파일을 백업 위치의 SQLBACKUP 폴더에 만듭니다."),
                            this);
    note->setWordWrap(true);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(12, 12, 12, 12);
    outer->addLayout(form);
    outer->addWidget(note);
    outer->addStretch();
    outer->addLayout(buttonRow({cmdBackup, cmdRestore, cmdClose}));
    resize(640, 220);

    connect(m_folder, &QComboBox::currentTextChanged, this, &ServerBackupScreen::folderChosen);
    connect(cmdFolder, &QPushButton::clicked, this, [this] {
        BackupFolderDialog dlg(m_ui, backupFolder(), this);
        if (dlg.exec() == QDialog::Accepted)
            m_folder->setCurrentText(dlg.folder());
    });
    connect(cmdBackup, &QPushButton::clicked, this, &ServerBackupScreen::backup);
    connect(cmdRestore, &QPushButton::clicked, this, &ServerBackupScreen::openRestore);
    connect(cmdClose, &QPushButton::clicked, this, [this] { closeScreen(this); });
}

QString ServerBackupScreen::backupFolder() const { return m_folder->currentText().trimmed(); }

void ServerBackupScreen::folderChosen(const QString &folder)
{
    if (!folder.trimmed().isEmpty())
        saveServerBackupFolder(*store(), folder.trimmed());
}

void ServerBackupScreen::backup()
{
    if (backupFolder().isEmpty()) {
        m_ui.msg.warn(QStringLiteral("데이터 베이스 백업경로가 설정 되어 있지 않습니다."), QStringLiteral("백업설정"));
        return;
    }
    if (!runBackupForUser(m_ui, backupFolder(), BackupReason::Manual, this))
        return;
    m_ui.msg.info(QStringLiteral("백업이 완료되었습니다. 확인버튼을 누르세요."), u(kBackupTitle));
}

void ServerBackupScreen::openRestore()
{
    RestoreDialog dlg(m_ui, backupFolder(), this);
    dlg.exec();
}

// --- restore ------------------------------------------------------------------------------

RestoreDialog::RestoreDialog(UiContext &ui, const QString &folder, QWidget *parent)
    : QDialog(parent), m_ui(ui), m_folder(folder)
{
    setObjectName(QStringLiteral("자료복원"));
    setWindowTitle(QStringLiteral("자료복원"));
    auto *where = displayPanel(this, QStringLiteral("PnlFolder"), 400);
    where->setText(folder);
    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("SpList"));
    m_grid->setColumns({QStringLiteral("일자"), QStringLiteral("시간"), QStringLiteral("구분"), QStringLiteral("회원"),
                        QStringLiteral("수강"), QStringLiteral("입장"), QStringLiteral("판매"), QStringLiteral("크기")},
                       {90, 70, 110, 70, 70, 90, 90, 80});
    for (int c = 3; c <= 7; ++c)
        m_grid->setColumnAlignment(c, Qt::AlignRight);
    QPushButton *cmdRestore = commandButton(this, QStringLiteral("Cmd복원"), QStringLiteral("복원"));
    QPushButton *cmdRemove = commandButton(this, QStringLiteral("Cmd삭제"), QStringLiteral("백업삭제"));
    QPushButton *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));
    auto *note = new QLabel(QStringLiteral("복원하면 현재 자료가 선택한 백업의 자료로 바뀝니다. "
                                           "복원 전의 자료는 자동으로 백업해 둡니다.\n"
                                           "다른 컴퓨터에서 프로그램을 사용중이면 복원할 수 없습니다."),
                            this);
    note->setWordWrap(true);
    auto *top = new QHBoxLayout;
    top->addWidget(caption(this, QStringLiteral("백업 위치")));
    top->addWidget(where, 1);
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(top);
    outer->addWidget(m_grid, 1);
    outer->addWidget(note);
    outer->addLayout(buttonRow({cmdRestore, cmdRemove, cmdClose}));
    resize(760, 420);

    connect(cmdRestore, &QPushButton::clicked, this, &RestoreDialog::restoreSelected);
    connect(cmdRemove, &QPushButton::clicked, this, &RestoreDialog::removeSelected);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    reload();
}

void RestoreDialog::reload()
{
    m_sets = listBackups(m_folder, m_ui.app.engine);
    QList<QStringList> rows;
    for (const BackupSet &s : m_sets)
        rows << QStringList{s.when.date().toString(QStringLiteral("yyyy-MM-dd")), s.when.time().toString(QStringLiteral("HH:mm:ss")),
                            s.reason, wonText(s.counts.members), wonText(s.counts.enrollments), wonText(s.counts.visits),
                            wonText(s.counts.sales), sizeText(s.bytes)};
    m_grid->setRows(rows);
    if (!rows.isEmpty())
        m_grid->setCurrentRow(0);
}

bool RestoreDialog::restoreSelected()
{
    const int row = m_grid->currentRow();
    if (row < 0 || row >= m_sets.size()) {
        m_ui.msg.info(QStringLiteral("복원할 백업을 선택하세요."), u(kRestoreTitle));
        return false;
    }
    const BackupSet set = m_sets[row];
    const QString when = set.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!m_ui.msg.ask(QStringLiteral("%1 에 백업한 자료로 복원하시겠습니까?\n(%2)\n\n현재 자료는 복원 전에 자동으로 백업합니다.")
                          .arg(when, countsText(set.counts)),
                      u(kRestoreTitle)))
        return false;
    RestoreResult r;
    {
        BusyScope busy(QStringLiteral("자료를 복원중입니다"), this);
        r = restoreInstallation(m_ui.app, set, m_folder);
    }
    if (!r.ok) {
        qWarning("restore failed: %s", qPrintable(r.detail));
        m_ui.msg.warn(r.text, r.title);
        reload();
        return false;
    }
    m_ui.msg.info(QStringLiteral("복원이 완료되었습니다.\n복원 전의 자료는 다음 위치에 백업하였습니다.\n%1\n\n"
                                 "열려 있는 화면은 닫고 다시 열어 주십시요.")
                      .arg(r.safety.path),
                  u(kRestoreTitle));
    reload();
    return true;
}

void RestoreDialog::removeSelected()
{
    const int row = m_grid->currentRow();
    if (row < 0 || row >= m_sets.size())
        return;
    const BackupSet set = m_sets[row];
    if (!m_ui.msg.ask(QStringLiteral("%1 의 백업을 지우시겠습니까?").arg(set.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))),
                      u(kBackupTitle)))
        return;
    if (!removeBackup(set))
        m_ui.msg.warn(QStringLiteral("백업을 지우지 못하였습니다.\n%1").arg(set.path), u(kBackupTitle));
    reload();
}

} // namespace fitrova
