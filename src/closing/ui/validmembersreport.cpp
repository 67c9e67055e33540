#include "closing/ui/validmembersreport.h"

#include "data/text.h"
#include "members/ui/memberscreens.h"
#include "widgets/busynotice.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"
#include "widgets/deskguard.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace fitrova {

namespace {

QStringList sumCells(const QString &title, qint64 count, qint64 card, qint64 cash, qint64 amount)
{
    return {title, QString(), QString(), wonText(count) + QStringLiteral(" 명"), QString(), QString(), QString(), QString(),
            QString(), QString(), QString(), wonText(card), wonText(cash), wonText(amount)};
}

// The lines as they arrive, a [소  계] after each program's last line and
// the [총  계] after the list: sums of the lines listed (the lines come in
// program order, so a program ends where the next begins).
std::shared_ptr<LineFormat<ValidMemberLine>> validFormat()
{
    struct Sums {
        qint64 count = 0, card = 0, cash = 0, amount = 0;
        void add(const ValidMemberLine &l)
        {
            ++count;
            card += l.cardAmt;
            cash += l.cashAmt;
            amount += l.tAmt;
        }
    };
    struct State {
        std::optional<qint64> pgid; // the program being listed
        Sums group, all;
    };
    auto st = std::make_shared<State>();
    const auto closeGroup = [st](ReportTable &t) {
        if (st->pgid)
            t.addSubtotal(sumCells(QStringLiteral("[소  계]"), st->group.count, st->group.card, st->group.cash,
                                   st->group.amount));
        st->pgid.reset();
        st->group = {};
    };
    auto f = std::make_shared<LineFormat<ValidMemberLine>>();
    f->line = [st, closeGroup](ReportTable &t, const ValidMemberLine &l) {
        if (st->pgid && *st->pgid != l.pgid)
            closeGroup(t);
        st->pgid = l.pgid;
        t.add({l.pgName, l.time1.isEmpty() ? QString() : l.time1 + QLatin1Char('~') + l.time2, l.lecturer, l.member.mbCode,
               l.member.mbName, l.sex, l.age < 0 ? QString() : QString::number(l.age), l.member.tel1, l.rqDate,
               l.sDate1 + QLatin1Char('~') + l.sDate2, QString::number(l.monthCnt), wonText(l.cardAmt),
               wonText(l.cashAmt), wonText(l.tAmt), l.remainder, l.sms},
              l.member.mbCode);
        st->group.add(l);
        st->all.add(l);
    };
    f->end = [st, closeGroup](ReportTable &t) {
        closeGroup(t);
        t.addTotal(sumCells(QStringLiteral("[총  계]"), st->all.count, st->all.card, st->all.cash, st->all.amount));
    };
    return f;
}

} // namespace

ValidMembersReport::ValidMembersReport(UiContext &ui, QWidget *parent, MemberHandover sendSms)
    : ReportScreen(ui, parent, QStringLiteral("유효회원현황"), QStringLiteral("유효/만기/도래회원 조회")),
      m_sendSms(std::move(sendSms))
{
    const QDate today = ui.app.clock().today();
    m_kind = reportCombo(this, QStringLiteral("CobGubun"), 120);
    m_kind->addItems({QStringLiteral("유효회원현황"), QStringLiteral("만기회원현황"), QStringLiteral("도래회원현황")});
    m_from = new DateEdit(today, this);
    m_from->setObjectName(QStringLiteral("Dtp1"));
    m_to = new DateEdit(today.addDays(7), this);
    m_to->setObjectName(QStringLiteral("Dtp2"));
    m_course = reportCombo(this, QStringLiteral("CobCour"));
    m_months = reportCombo(this, QStringLiteral("Cob개월"), 80);
    m_months->addItems({QStringLiteral("0-모두보기"), QStringLiteral("1 개월"), QStringLiteral("3 개월"), QStringLiteral("6 개월"),
                        QStringLiteral("12개월")});
    m_pgGubun = reportCombo(this, QStringLiteral("Cob구분"), 90);
    m_pgGubun->addItems({QStringLiteral("0-모두보기"), QStringLiteral("1-기간제"), QStringLiteral("2-쿠폰제"),
                         QStringLiteral("3-박스제")});
    m_lectGubun = reportCombo(this, QStringLiteral("Cob신규"), 90);
    m_lectGubun->addItems({QStringLiteral("0-모두보기"), QStringLiteral("1-신규"), QStringLiteral("2-재등록")});
    m_lecturer = reportCombo(this, QStringLiteral("CobLect"));
    m_program = reportCombo(this, QStringLiteral("CobLec"), 220);

    QGridLayout *g = criteria();
    g->addWidget(caption(this, QStringLiteral("조회구분")), 0, 0);
    m_tilde = new QLabel(QStringLiteral("~"), this);
    g->addLayout(reportRow({m_kind, m_from, m_tilde, m_to}), 0, 1);
    g->addWidget(caption(this, QStringLiteral("강좌항목")), 0, 2);
    g->addLayout(reportRow({m_course, new QLabel(QStringLiteral("개월수"), this), m_months}), 0, 3);
    g->addWidget(caption(this, QStringLiteral("강좌구분")), 1, 0);
    g->addLayout(reportRow({m_pgGubun, new QLabel(QStringLiteral("신규/재등록"), this), m_lectGubun}), 1, 1);
    g->addWidget(caption(this, QStringLiteral("강사")), 1, 2);
    g->addLayout(reportRow({m_lecturer, new QLabel(QStringLiteral("과목"), this), m_program}), 1, 3);
    g->setColumnStretch(3, 1);

    QPushButton *sms = addCommand(QStringLiteral("Cmd문자전송"), QStringLiteral("문자전송"));
    connect(sms, &QPushButton::clicked, this, &ValidMembersReport::sendSms);
    setColumns({QStringLiteral("프로그램"), QStringLiteral("시간"), QStringLiteral("강사"), QStringLiteral("회원번호"),
                QStringLiteral("회원명"), QStringLiteral("성별"), QStringLiteral("나이"), QStringLiteral("핸드폰"),
                QStringLiteral("신청일"), QStringLiteral("기간"), QStringLiteral("개월"), QStringLiteral("카드"),
                QStringLiteral("현금"), QStringLiteral("금액"), QStringLiteral("잔여"), QStringLiteral("SMS")},
               {130, 96, 56, 70, 62, 32, 32, 104, 80, 172, 32, 66, 66, 70, 70, 34}, {6, 10, 11, 12, 13, 14}, {5, 15});
    setSortable(false);
    linkProgramLists(ui, m_course, m_lecturer, m_program);
    kindChanged();
    connect(m_kind, &QComboBox::currentIndexChanged, this, &ValidMembersReport::kindChanged);
    connect(grid(), &DataGrid::rowActivated, this, [this](int row) {
        const QString code = grid()->rowKey(row).toString();
        if (!code.isEmpty())
            openMemberCard(this->ui(), this, code, {});
    });
}

void ValidMembersReport::kindChanged()
{
    m_to->setVisible(m_kind->currentIndex() != 0);
    m_tilde->setVisible(m_kind->currentIndex() != 0);
}

bool ValidMembersReport::startQuery()
{
    ValidMemberCriteria c;
    c.kind = ValidKind(m_kind->currentIndex());
    c.date = m_from->dateText();
    c.dateFrom = m_from->dateText();
    c.dateTo = m_to->dateText();
    if (c.kind != ValidKind::Valid && !checkPeriod(c.dateFrom, c.dateTo, m_from))
        return false;
    c.course = chosenCode(m_course);
    static const int months[] = {0, 1, 3, 6, 12};
    c.monthCnt = months[std::clamp(m_months->currentIndex(), 0, 4)];
    c.pgGubun = chosenCode(m_pgGubun);
    c.lectGubun = chosenCode(m_lectGubun);
    c.ltCode = chosenCode(m_lecturer);
    c.pgid = m_program->currentData().toLongLong();
    c.today = ui().app.clock().today();
    // A day of a large centre holds tens of thousands of valid members: the
    // count and the first page come at once, the rest as the list scrolls.
    runStream<ValidMemberLine, qint64>(
        QStringLiteral("자료를 조회중입니다."), [c](const Db &db) { return validMembersCount(db, c); },
        [c](const Db &db, const ValidMemberLine *after, int maxLines) { return validMembersPage(db, c, after, maxLines); },
        validFormat(), [this, c](qint64 &count) {
            m_count = count;
            m_shown = c;
            setStatus(wonText(count) + QStringLiteral(" 명"));
        });
    return true;
}

void ValidMembersReport::sendSms()
{
    // The members of the list shown, every one of them (the grid may not
    // have read them all yet).
    MemberContacts members;
    if (m_sendSms && m_shown) {
        BusyScope busy(QStringLiteral("자료를 준비중 입니다"), this);
        const auto read = guard(ui(), DbAction::Read, [&] { return validMembers(ui().app.main, *m_shown).contacts(); });
        if (!read)
            return;
        members = *read;
    }
    runHandover(ui(), m_sendSms, members, QStringLiteral("문자전송"), this);
}

ReportPrint ValidMembersReport::printSpec() const
{
    ReportPrint p;
    p.title = QStringLiteral("유효-만기-도래 회원현황");
    p.line2 = m_kind->currentText() + QStringLiteral(" : ")
        + (m_kind->currentIndex() == 0 ? m_from->dateText() : periodText(m_from->dateText(), m_to->dateText()));
    p.line3 = QStringLiteral("강좌항목 : ") + chosenLabel(m_course) + QStringLiteral("   강사 : ") + chosenLabel(m_lecturer)
        + QStringLiteral("   과목 : ") + chosenLabel(m_program);
    QStringList more;
    if (m_months->currentIndex() > 0)
        more << QStringLiteral("개월수 : ") + m_months->currentText();
    if (m_pgGubun->currentIndex() > 0)
        more << QStringLiteral("강좌구분 : ") + m_pgGubun->currentText();
    if (m_lectGubun->currentIndex() > 0)
        more << QStringLiteral("신규/재등록 : ") + m_lectGubun->currentText();
    p.line4 = more.join(QStringLiteral("   "));
    return p;
}

} // namespace fitrova
