#include "entrance/ui/visitlistreport.h"

#include "data/dates.h"
#include "data/text.h"
#include "members/memberstore.h"
#include "members/ui/memberpickdialog.h"
#include "members/ui/memberscreens.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"
#include "widgets/deskguard.h"
#include "widgets/widgetutil.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

namespace fitrova {

namespace {

// The list's rows as they arrive, and its [ 총인원 ] line after the last:
// the number of lines listed, so the total is what the list shows.
std::shared_ptr<LineFormat<VisitLine>> visitFormat()
{
    auto listed = std::make_shared<qint64>(0);
    auto f = std::make_shared<LineFormat<VisitLine>>();
    f->line = [listed](ReportTable &t, const VisitLine &l) {
        ++*listed;
        t.add({l.inDate, l.inTime, l.outTime, l.mbCode, l.mbName, l.sex, l.age < 0 ? QString() : QString::number(l.age),
               l.guardian, l.pgName, l.timeBased ? minutesText(int(l.usedMinutes)) : QString(), l.card, l.memo},
              l.mbCode);
    };
    f->end = [listed](ReportTable &t) {
        t.addTotal({QStringLiteral("[ 총인원 ]"), QString(), QString(), QString(),
                    wonText(*listed) + QStringLiteral(" 명")});
    };
    return f;
}

// "hh:mm" from 00:00 to 24:00; nullopt for anything else.
std::optional<QString> timeOf(const QString &typed)
{
    const QString t = typed.trimmed();
    if (t.size() != 5 || t.at(2) != QLatin1Char(':'))
        return std::nullopt;
    bool okH = false, okM = false;
    const int h = t.left(2).toInt(&okH), m = t.mid(3).toInt(&okM);
    if (!okH || !okM || h < 0 || m < 0 || m > 59 || h > 24 || (h == 24 && m > 0))
        return std::nullopt;
    return t;
}

} // namespace

VisitListReport::VisitListReport(UiContext &ui, QWidget *parent)
    : ReportScreen(ui, parent, QStringLiteral("입장현황"), QStringLiteral("일자별 입장현황"))
{
    const QDate today = ui.app.clock().today();
    m_from = new DateEdit(today, this);
    m_from->setObjectName(QStringLiteral("Dtp1"));
    m_to = new DateEdit(today, this);
    m_to->setObjectName(QStringLiteral("Dtp2"));
    m_time1 = new QLineEdit(QStringLiteral("00:00"), this);
    m_time1->setObjectName(QStringLiteral("TxtTime1"));
    m_time2 = new QLineEdit(QStringLiteral("24:00"), this);
    m_time2->setObjectName(QStringLiteral("TxtTime2"));
    for (QLineEdit *e : {m_time1, m_time2}) {
        e->setInputMask(QStringLiteral("99:99"));
        e->setFixedWidth(56);
    }
    m_course = reportCombo(this, QStringLiteral("CobCour"));
    m_lecturer = reportCombo(this, QStringLiteral("CobLect"));
    m_program = reportCombo(this, QStringLiteral("CobLec"), 220);
    m_sex = reportCombo(this, QStringLiteral("CobSex"), 90);
    m_sex->addItems({QStringLiteral("0-모두보기"), QStringLiteral("1-남"), QStringLiteral("2-여")});
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("TxtMbName"));
    m_name->setMaxLength(40);
    m_name->setFixedWidth(110);
    m_member = displayPanel(this, QStringLiteral("PnlMbCode"), 80);
    QPushButton *find = commandButton(this, QStringLiteral("Cmd회원찾기"), QStringLiteral("회원찾기"), 72);

    QGridLayout *g = criteria();
    g->addWidget(caption(this, QStringLiteral("기간")), 0, 0);
    g->addLayout(reportRange(m_from, m_to), 0, 1);
    g->addWidget(caption(this, QStringLiteral("입장시간")), 0, 2);
    g->addLayout(reportRange(m_time1, m_time2), 0, 3);
    g->addWidget(caption(this, QStringLiteral("회원명")), 0, 4);
    g->addLayout(reportRow({m_name, find, m_member}), 0, 5);
    g->addWidget(caption(this, QStringLiteral("강좌항목")), 1, 0);
    g->addWidget(m_course, 1, 1);
    g->addWidget(caption(this, QStringLiteral("강사")), 1, 2);
    g->addWidget(m_lecturer, 1, 3);
    g->addWidget(caption(this, QStringLiteral("프로그램")), 1, 4);
    g->addLayout(reportRow({m_program, new QLabel(QStringLiteral("성별"), this), m_sex}), 1, 5);
    g->setColumnStretch(5, 1);

    QPushButton *detail = addCommand(QStringLiteral("Cmd상세조회"), QStringLiteral("상세조회"));
    connect(detail, &QPushButton::clicked, this, [this] { this->ui().openScreen(QStringLiteral("입장현황1")); });

    setColumns({QStringLiteral("일자"), QStringLiteral("입장"), QStringLiteral("퇴장"), QStringLiteral("회원번호"),
                QStringLiteral("회원명"), QStringLiteral("성별"), QStringLiteral("나이"), QStringLiteral("보호자"),
                QStringLiteral("프로그램"), QStringLiteral("사용시간"), QStringLiteral("카드번호"), QStringLiteral("메모")},
               {86, 46, 46, 74, 80, 36, 36, 70, 190, 80, 90, 110}, {6}, {1, 2, 5});
    setStatus(QStringLiteral("0 명"));

    linkProgramLists(ui, m_course, m_lecturer, m_program);
    excludeFromEnterAsTab(m_name);
    connect(m_name, &QLineEdit::returnPressed, this, [this] { findMember(); });
    connect(m_name, &QLineEdit::textEdited, this, [this] {
        m_mbCode.clear();
        m_mbName.clear();
        m_member->clear();
    });
    connect(find, &QPushButton::clicked, this, [this] { findMember(); });
    connect(grid(), &DataGrid::rowActivated, this, [this](int row) {
        const QString code = grid()->rowKey(row).toString();
        if (!code.isEmpty())
            openMemberCard(this->ui(), this, code, {});
    });
}

bool VisitListReport::findMember()
{
    const QString name = m_name->text().trimmed();
    m_mbCode.clear();
    m_mbName.clear();
    m_member->clear();
    if (name.isEmpty())
        return true;
    const auto found = guard(ui(), DbAction::Read,
                             [&] { return searchMembers(ui().app.main, MemberSearchKind::Name, name); });
    if (!found)
        return false;
    if (found->isEmpty()) {
        ui().msg.info(QStringLiteral("해당회원을 찾을수 없읍니다."), QStringLiteral("회원찾기"));
        m_name->setFocus();
        m_name->selectAll();
        return false;
    }
    QString code = found->first().mbCode, picked = found->first().mbName;
    if (found->size() > 1) {
        MemberPickDialog dlg(ui(), *found, this);
        dlg.exec();
        if (!dlg.TF)
            return false;
        code = dlg.MbCode;
        for (const MemberRecord &m : *found)
            if (m.mbCode == code)
                picked = m.mbName;
    }
    m_mbCode = code;
    m_mbName = picked;
    m_name->setText(picked);
    m_member->setText(code);
    return true;
}

std::optional<VisitListCriteria> VisitListReport::readCriteria()
{
    VisitListCriteria c;
    c.dateFrom = m_from->dateText();
    c.dateTo = m_to->dateText();
    if (!checkPeriod(c.dateFrom, c.dateTo, m_from))
        return std::nullopt;
    const auto t1 = timeOf(m_time1->text()), t2 = timeOf(m_time2->text());
    if (!t1 || !t2 || *t1 > *t2) {
        ui().msg.warn(QStringLiteral("입장시간을 확인하여 주십시요."), QStringLiteral("입장시간"));
        (t1 ? m_time2 : m_time1)->setFocus();
        return std::nullopt;
    }
    c.timeFrom = *t1;
    c.timeTo = *t2;
    c.course = chosenCode(m_course);
    c.pgid = m_program->currentData().toLongLong();
    c.ltCode = chosenCode(m_lecturer);
    if (m_sex->currentIndex() == 1)
        c.sex = QStringLiteral("남");
    else if (m_sex->currentIndex() == 2)
        c.sex = QStringLiteral("여");
    if (!m_name->text().trimmed().isEmpty() && m_mbCode.isEmpty() && !findMember())
        return std::nullopt;
    c.mbCode = m_mbCode;
    return c;
}

bool VisitListReport::startQuery()
{
    const auto c = readCriteria();
    if (!c)
        return false;
    // A month holds a hundred thousand visits and more: the count and the
    // first page come at once, the rest as the list scrolls.
    runStream<VisitLine, qint64>(
        QStringLiteral("자료를 조회중입니다."), [c = *c](const Db &db) { return visitListCount(db, c); },
        [c = *c](const Db &db, const VisitLine *after, int maxLines) { return visitListPage(db, c, after, maxLines); },
        visitFormat(), [this](qint64 &count) {
            m_count = count;
            setStatus(wonText(count) + QStringLiteral(" 명"));
        });
    return true;
}

ReportPrint VisitListReport::printSpec() const
{
    ReportPrint p;
    p.title = QStringLiteral("회원입장현황");
    p.line2 = QStringLiteral("기간 : ") + periodText(m_from->dateText(), m_to->dateText());
    p.line3 = QStringLiteral("회 원 명 : ") + (m_mbCode.isEmpty() ? QStringLiteral("모두보기") : m_mbName)
        + QStringLiteral("  성별 : ") + chosenLabel(m_sex);
    QStringList more;
    if (!chosenText(m_course).isEmpty())
        more << QStringLiteral("강좌항목 : ") + chosenText(m_course);
    if (!chosenText(m_lecturer).isEmpty())
        more << QStringLiteral("강사 : ") + chosenText(m_lecturer);
    if (!chosenText(m_program).isEmpty())
        more << QStringLiteral("프로그램 : ") + chosenText(m_program);
    if (m_time1->text() != QLatin1String("00:00") || m_time2->text() != QLatin1String("24:00"))
        more << QStringLiteral("입장시간 : ") + m_time1->text() + QLatin1Char('~') + m_time2->text();
    p.line4 = more.join(QStringLiteral("   "));
    return p;
}

} // namespace fitrova
