#include "closing/ui/unpaidreport.h"

#include "data/text.h"
#include "members/ui/memberscreens.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"

#include <QGridLayout>
#include <QLabel>

namespace fitrova {

namespace {

struct UnpaidView {
    Unpaid result;
    ReportTable table;
};

ReportTable unpaidTable(const Unpaid &u)
{
    ReportTable t;
    for (const UnpaidLine &l : u.lines)
        t.add({l.mbCode, l.mbName, l.tel1, l.tel2, l.sex, l.age < 0 ? QString() : QString::number(l.age), wonText(l.tAmt),
               wonText(l.misuAmt)},
              l.mbCode);
    t.addTotal({QStringLiteral("[합    계]"), wonText(u.lines.size()) + QStringLiteral(" 명"), QString(), QString(), QString(),
                QString(), wonText(u.tAmt), wonText(u.misuAmt)});
    return t;
}

} // namespace

UnpaidReport::UnpaidReport(UiContext &ui, QWidget *parent)
    : ReportScreen(ui, parent, QStringLiteral("미납회원현황"), QStringLiteral("미납회원현황"))
{
    grid()->setObjectName(QStringLiteral("SpMisu"));
    criteria()->addWidget(new QLabel(QStringLiteral("수강료를 모두 납부하지 않은 회원입니다. 더블클릭하면 회원정보를 봅니다."), this), 0, 0);
    setColumns({QStringLiteral("회원번호"), QStringLiteral("회원명"), QStringLiteral("핸드폰"), QStringLiteral("전화번호"),
                QStringLiteral("성별"), QStringLiteral("나이"), QStringLiteral("총금액"), QStringLiteral("미납액")},
               {80, 90, 110, 110, 40, 40, 100, 100}, {5, 6, 7}, {4});
    connect(grid(), &DataGrid::rowActivated, this, [this](int row) {
        const QString code = grid()->rowKey(row).toString();
        if (!code.isEmpty())
            openMemberCard(this->ui(), this, code, {});
    });
    query();
}

bool UnpaidReport::startQuery()
{
    run<UnpaidView>(
        QStringLiteral("자료를 조회중입니다."),
        [](const Db &db) {
            UnpaidView v;
            v.result = unpaidMembers(db);
            v.table = unpaidTable(v.result);
            return v;
        },
        [this](UnpaidView &v) {
            m_result = std::move(v.result);
            showTable(v.table);
            setStatus(wonText(m_result.lines.size()) + QStringLiteral(" 명"));
        });
    return true;
}

ReportPrint UnpaidReport::printSpec() const
{
    ReportPrint p;
    p.title = QStringLiteral("수강료 미납자현황");
    p.landscape = false;
    return p;
}

} // namespace fitrova
