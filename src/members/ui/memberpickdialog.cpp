#include "members/ui/memberpickdialog.h"

#include "members/memberhistory.h"
#include "members/ui/memberphoto.h"
#include "members/ui/memberui.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

QStringList MemberPickDialog::headers()
{
    return {QStringLiteral("회원코드"), QStringLiteral("회원명"),   QStringLiteral("나이"),     QStringLiteral("휴대폰"),
            QStringLiteral("자택전화"), QStringLiteral("직장전화"), QStringLiteral("주민번호"), QStringLiteral("주소"),
            QStringLiteral("카드번호"), QStringLiteral("등록일자"), QStringLiteral("생년월일"), QStringLiteral("성별"),
            QStringLiteral("이메일"),   QStringLiteral("우편번호"), QStringLiteral("미납금"),   QStringLiteral("포인트"),
            QStringLiteral("비고")};
}

QStringList MemberPickDialog::cells(const MemberRecord &m)
{
    return {m.mbCode,     m.mbName,    QString::number(m.age), m.tel1,     m.tel2,
            m.tel3,       m.residentText(), m.addressText(), m.mbCard,  m.indate,
            m.birthDay,   m.sex.trimmed(), m.email1,     m.postNo,   wonText(m.misuAmt),
            wonText(m.point), m.ext};
}

QString MemberPickDialog::countText(qint64 shown, qint64 found)
{
    if (found <= shown)
        return QString::number(shown) + QStringLiteral(" 명");
    return wonText(found) + QStringLiteral(" 명 중\n") + wonText(shown) + QStringLiteral(" 명");
}

MemberPickDialog::MemberPickDialog(UiContext &ui, const QList<MemberRecord> &members, QWidget *parent, qint64 found)
    : QDialog(parent), m_ui(ui)
{
    setObjectName(QStringLiteral("회원조회"));
    setWindowTitle(QStringLiteral("회원조회"));

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("SpMem"));
    m_grid->setColumns(headers(), {70, 70, 40, 112, 104, 104, 118, 220, 80, 86, 86, 36, 140, 60, 70, 60, 120});
    QList<QStringList> rows;
    QVariantList keys;
    for (const MemberRecord &m : members) {
        rows << cells(m);
        keys << m.mbCode;
    }
    m_grid->setRows(rows, keys);
    for (int c : {2, 14, 15})
        m_grid->setColumnAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this, [this] {
        if (m_grid->rowCount() > 2000)
            m_ui.msg.notice(QStringLiteral("자료를 정렬중입니다."), 600);
    });

    m_photo = new QLabel(this);
    m_photo->setObjectName(QStringLiteral("Img"));
    m_photo->setFixedSize(96, 120);
    m_photo->setFrameShape(QFrame::Panel);
    m_photo->setFrameShadow(QFrame::Sunken);
    m_photo->setAlignment(Qt::AlignCenter);

    auto *count = new QLabel(countText(members.size(), found), this);
    count->setObjectName(QStringLiteral("LblCount"));
    QPushButton *pick = commandButton(this, QStringLiteral("Cmd회원선택"), QStringLiteral("회원선택"), 90);
    QPushButton *close = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"), 90);

    auto *side = new QVBoxLayout;
    side->addWidget(m_photo);
    side->addStretch();
    side->addWidget(count);
    side->addWidget(pick);
    side->addWidget(close);

    auto *outer = new QHBoxLayout(this);
    outer->addWidget(m_grid, 1);
    outer->addLayout(side);
    resize(900, 420);

    connect(pick, &QPushButton::clicked, this, [this] { pickCurrent(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_grid, &DataGrid::rowActivated, this, [this](int) { pickCurrent(); });
    connect(m_grid, &DataGrid::currentRowChanged, this, [this] { showCurrentPhoto(); });
    if (m_grid->rowCount() > 0)
        m_grid->setCurrentRow(0);
    m_grid->setFocus();
}

bool MemberPickDialog::pickCurrent()
{
    const int row = m_grid->currentRow();
    if (row < 0)
        return false;
    MbCode = m_grid->rowKey(row).toString();
    TF = true;
    accept();
    return true;
}

void MemberPickDialog::showCurrentPhoto()
{
    const int row = m_grid->currentRow();
    showMemberPhoto(m_photo, m_ui.app.paths.memberPicDir, row < 0 ? QString() : m_grid->rowKey(row).toString());
}

} // namespace fitrova
