#include "members/ui/memberlistscreen.h"

#include "data/dates.h"
#include "data/listitems.h"
#include "data/text.h"
#include "members/ui/memberui.h"
#include "widgets/busynotice.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/dateedit.h"
#include "widgets/deskguard.h"
#include "widgets/gridexport.h"
#include "widgets/gridprint.h"
#include "widgets/gridstream.h"
#include "widgets/widgetutil.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

namespace {

const QString kTitle = QStringLiteral("회원현황");

QComboBox *combo(QWidget *parent, const QString &name, int minWidth = 110)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(name);
    c->setMinimumWidth(minWidth);
    c->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return c;
}

QHBoxLayout *pair(QWidget *a, QWidget *b, QWidget *parent)
{
    auto *h = new QHBoxLayout;
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(2);
    h->addWidget(a);
    h->addWidget(new QLabel(QStringLiteral("~"), parent));
    h->addWidget(b);
    h->addStretch();
    return h;
}

// The code of a "code-name" or "code.name" item; "" for the all item.
QString itemCode(const QComboBox *c)
{
    const QString t = c->currentText();
    if (t.isEmpty() || t.contains(QStringLiteral("모두보기")) || t.endsWith(QStringLiteral("-ALL")))
        return {};
    const int dash = t.indexOf(QLatin1Char('-'));
    const int dot = t.indexOf(QLatin1Char('.'));
    int cut = dash < 0 ? dot : dot < 0 ? dash : std::min(dash, dot);
    return cut < 0 ? QString() : t.left(cut).trimmed();
}

// The code a "name with data" item carries; "" for the all item (data 0).
QString dataCode(const QComboBox *c)
{
    const QVariant d = c->currentData();
    const QString s = d.toString();
    return !d.isValid() || s.isEmpty() || s == QLatin1String("0") ? QString() : s;
}

QString chosenText(const QComboBox *c)
{
    const QString t = c->currentText();
    return t.contains(QStringLiteral("모두보기")) || t.endsWith(QStringLiteral("-ALL")) ? QString() : t;
}

} // namespace

MemberListScreen::MemberListScreen(UiContext &ui, QWidget *parent, MemberScreenHooks hooks, OpenMember openMember)
    : QWidget(parent), m_ui(ui), m_hooks(std::move(hooks)), m_openMember(std::move(openMember))
{
    setObjectName(QStringLiteral("회원조회1"));
    setWindowTitle(QStringLiteral("회원조회(DM/SMS)"));
    const QDate today = ui.app.clock().today();

    m_code1 = textField(this, QStringLiteral("TxtMbCode1"), 8, 80, FieldWidth::Fixed);
    m_code2 = textField(this, QStringLiteral("TxtMbCode2"), 8, 80, FieldWidth::Fixed);
    m_name1 = textField(this, QStringLiteral("TxtMbName1"), 40, 80, FieldWidth::Fixed);
    m_name2 = textField(this, QStringLiteral("TxtMbname2"), 40, 80, FieldWidth::Fixed);
    m_card1 = textField(this, QStringLiteral("TxtMbCard1"), 20, 80, FieldWidth::Fixed);
    m_card2 = textField(this, QStringLiteral("TxtMbCard2"), 20, 80, FieldWidth::Fixed);
    m_bir1 = textField(this, QStringLiteral("TxtBir1"), 5, 56, FieldWidth::Fixed);
    m_bir2 = textField(this, QStringLiteral("TxtBir2"), 5, 56, FieldWidth::Fixed);
    m_bir1->setPlaceholderText(QStringLiteral("MM-DD"));
    m_bir2->setPlaceholderText(QStringLiteral("MM-DD"));
    m_useInDate = new QCheckBox(QStringLiteral("가입일자"), this);
    m_useInDate->setObjectName(QStringLiteral("Chk가입일자"));
    m_in1 = new DateEdit(QDate(today.year(), 1, 1), this);
    m_in1->setObjectName(QStringLiteral("Dtp1"));
    m_in2 = new DateEdit(today, this);
    m_in2->setObjectName(QStringLiteral("Dtp2"));
    m_gubun = combo(this, QStringLiteral("Cob회원구분"));
    m_area = combo(this, QStringLiteral("CobArea"));
    m_sex = combo(this, QStringLiteral("CobSex"), 70);
    m_sex->addItems({QStringLiteral("0-ALL"), QStringLiteral("1-남"), QStringLiteral("2-여")});
    m_age = combo(this, QStringLiteral("CobAge"));
    m_cour = combo(this, QStringLiteral("CobCour"));
    m_lcl = combo(this, QStringLiteral("CobLcl"));
    m_mcl = combo(this, QStringLiteral("CobMcl"));
    m_scl = combo(this, QStringLiteral("CobScl"));
    m_lect = combo(this, QStringLiteral("CobLect"));
    m_lec = combo(this, QStringLiteral("CobLec"), 200);
    m_scope = combo(this, QStringLiteral("CobScr"));
    m_scope->addItems(enrollmentScopeItems());
    m_ym1 = new MonthEdit(this);
    m_ym1->setObjectName(QStringLiteral("CobYYMM"));
    m_ym1->setMonthText(fmtDate(today).left(7));
    m_ym2 = new MonthEdit(this);
    m_ym2->setObjectName(QStringLiteral("Cobyymm2"));
    m_ym2->setMonthText(fmtDate(today).left(7));
    m_rq1 = new DateEdit(today, this);
    m_rq1->setObjectName(QStringLiteral("DtpRq1"));
    m_rq2 = new DateEdit(today, this);
    m_rq2->setObjectName(QStringLiteral("DtpRq2"));

    auto *crit = new QGridLayout;
    crit->setHorizontalSpacing(6);
    crit->setVerticalSpacing(4);
    crit->addWidget(caption(this, QStringLiteral("회원코드")), 0, 0);
    crit->addLayout(pair(m_code1, m_code2, this), 0, 1);
    crit->addWidget(caption(this, QStringLiteral("회원명")), 0, 2);
    crit->addLayout(pair(m_name1, m_name2, this), 0, 3);
    crit->addWidget(caption(this, QStringLiteral("카드번호")), 0, 4);
    crit->addLayout(pair(m_card1, m_card2, this), 0, 5);

    crit->addWidget(m_useInDate, 1, 0, Qt::AlignRight);
    crit->addLayout(pair(m_in1, m_in2, this), 1, 1);
    crit->addWidget(caption(this, QStringLiteral("생일")), 1, 2);
    crit->addLayout(pair(m_bir1, m_bir2, this), 1, 3);
    crit->addWidget(caption(this, QStringLiteral("회원구분")), 1, 4);
    auto *gubunArea = new QHBoxLayout;
    gubunArea->addWidget(m_gubun, 1);
    gubunArea->addWidget(new QLabel(QStringLiteral("지역"), this));
    gubunArea->addWidget(m_area, 1);
    crit->addLayout(gubunArea, 1, 5);

    crit->addWidget(caption(this, QStringLiteral("성별/연령")), 2, 0);
    auto *sexAge = new QHBoxLayout;
    sexAge->addWidget(m_sex);
    sexAge->addWidget(m_age, 1);
    crit->addLayout(sexAge, 2, 1);
    crit->addWidget(caption(this, QStringLiteral("강좌항목")), 2, 2);
    auto *classes = new QHBoxLayout;
    classes->addWidget(m_cour, 1);
    classes->addWidget(m_lcl, 1);
    crit->addLayout(classes, 2, 3);
    crit->addWidget(caption(this, QStringLiteral("중/소분류")), 2, 4);
    auto *classes2 = new QHBoxLayout;
    classes2->addWidget(m_mcl, 1);
    classes2->addWidget(m_scl, 1);
    crit->addLayout(classes2, 2, 5);

    crit->addWidget(caption(this, QStringLiteral("강사")), 3, 0);
    crit->addWidget(m_lect, 3, 1);
    crit->addWidget(caption(this, QStringLiteral("수강과목")), 3, 2);
    crit->addWidget(m_lec, 3, 3);
    crit->addWidget(caption(this, QStringLiteral("수강조건")), 3, 4);
    auto *scope = new QHBoxLayout;
    scope->setSpacing(2);
    scope->addWidget(m_scope);
    scope->addWidget(m_ym1);
    scope->addWidget(m_ym2);
    scope->addWidget(m_rq1);
    scope->addWidget(m_rq2);
    scope->addStretch();
    crit->addLayout(scope, 3, 5);
    crit->setColumnStretch(5, 1);

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("SpMem"));
    m_grid->setColumns(memberListHeaders(),
                       {70, 70, 64, 36, 36, 118, 40, 86, 112, 104, 220, 60, 86, 30, 34, 56});
    for (int c : {3, 4, 6, 13, 14, 15})
        m_grid->setColumnAlignment(c, Qt::AlignCenter);
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this, [this] {
        if (m_found > 2000)
            m_ui.msg.notice(QStringLiteral("자료를 정렬중 입니다"), 600);
    });
    m_count = new QLabel(QStringLiteral("0 건"), this);
    m_count->setObjectName(QStringLiteral("Pnl건수"));
    m_count->setMinimumWidth(80);

    QPushButton *cmdQuery = commandButton(this, QStringLiteral("Cmd조회"), QStringLiteral("조회"), 72);
    QPushButton *cmdPrint = commandButton(this, QStringLiteral("Cmd인쇄"), QStringLiteral("인쇄"), 72);
    QPushButton *cmdExcel = commandButton(this, QStringLiteral("Cmd엑셀변환"), QStringLiteral("엑셀변환"), 72);
    QPushButton *cmdSms = commandButton(this, QStringLiteral("Cmd문자전송"), QStringLiteral("문자전송"), 72);
    QPushButton *cmdLbl = commandButton(this, QStringLiteral("CmdLbl"), QStringLiteral("주소라벨"), 72);
    QPushButton *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"), 72);
    auto *bar = new QHBoxLayout;
    bar->addWidget(m_count);
    bar->addStretch();
    for (QPushButton *b : {cmdQuery, cmdPrint, cmdExcel, cmdSms, cmdLbl, cmdClose})
        bar->addWidget(b);

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 6, 8, 6);
    outer->addLayout(crit);
    outer->addLayout(bar);
    outer->addWidget(m_grid, 1);
    resize(1000, 620);

    installEnterAsTab(this);
    installSelectAllOnFocus(this);

    fillLists();
    scopeChanged();
    m_in1->setEnabled(false);
    m_in2->setEnabled(false);
    connect(m_useInDate, &QCheckBox::toggled, this, [this](bool on) {
        m_in1->setEnabled(on);
        m_in2->setEnabled(on);
    });
    connect(m_cour, &QComboBox::currentIndexChanged, this, &MemberListScreen::courseChanged);
    connect(m_lcl, &QComboBox::currentIndexChanged, this, &MemberListScreen::lclassChanged);
    connect(m_lect, &QComboBox::currentIndexChanged, this, &MemberListScreen::lecturerChanged);
    connect(m_scope, &QComboBox::currentIndexChanged, this, &MemberListScreen::scopeChanged);
    connect(cmdQuery, &QPushButton::clicked, this, [this] { query(); });
    connect(cmdPrint, &QPushButton::clicked, this, &MemberListScreen::print);
    connect(cmdExcel, &QPushButton::clicked, this, &MemberListScreen::exportExcel);
    connect(cmdSms, &QPushButton::clicked, this, &MemberListScreen::sendSms);
    connect(cmdLbl, &QPushButton::clicked, this, &MemberListScreen::printLabels);
    connect(cmdClose, &QPushButton::clicked, this, [this] { closeScreen(this); });
    connect(m_grid, &DataGrid::rowActivated, this, [this](int row) {
        const QString code = m_grid->cell(row, 1);
        if (m_openMember && !code.isEmpty())
            m_openMember(code);
    });
}

void MemberListScreen::fillLists()
{
    const Db &db = m_ui.app.main;
    guard(m_ui, DbAction::Read, [&] {
        fillCombo(m_gubun, memberKindItems(db, true));
        fillCombo(m_area, areaItems(db));

        ListItems ages{{allItemText(), QString()}};
        m_ageBands.clear();
        for (const AgeBand &band : ageBands(db)) {
            ages.append({band.code + QLatin1Char('-') + band.name, band.code});
            m_ageBands.insert(band.code, {band.from, band.to});
        }
        fillCombo(m_age, ages);

        const QSignalBlocker b(m_cour);
        fillCombo(m_cour, courseItems(db, QStringLiteral("P"), true));
    });
    courseChanged();
}

void MemberListScreen::courseChanged()
{
    const Db &db = m_ui.app.main;
    const QString course = itemCode(m_cour);
    guard(m_ui, DbAction::Read, [&] {
        const ListItems all{{QStringLiteral("모두보기"), 0}};
        {
            const QSignalBlocker b(m_lcl);
            fillCombo(m_lcl, course.isEmpty() ? all
                                              : lclassItems(db, QStringLiteral("P"), course, true,
                                                            ClassItemStyle::NameWithData));
        }
        fillCombo(m_scl, course.isEmpty() ? all
                                          : sclassItems(db, QStringLiteral("P"), course, true,
                                                        ClassItemStyle::NameWithData));
        lclassChanged();
        // Instructors in service, of the chosen course when there is one.
        {
            const QSignalBlocker b(m_lect);
            fillCombo(m_lect, activeLecturerItems(db, course));
        }
        lecturerChanged();
    });
}

void MemberListScreen::lecturerChanged()
{
    guard(m_ui, DbAction::Read,
          [&] { fillCombo(m_lec, programItems(m_ui.app.main, m_cour->currentText(), m_lect->currentText())); });
}

void MemberListScreen::lclassChanged()
{
    const QString course = itemCode(m_cour);
    const QString lclass = dataCode(m_lcl);
    guard(m_ui, DbAction::Read, [&] {
        fillCombo(m_mcl, course.isEmpty() || lclass.isEmpty()
                             ? ListItems{{QStringLiteral("모두보기"), 0}}
                             : mclassItems(m_ui.app.main, QStringLiteral("P"), course, lclass, true,
                                           ClassItemStyle::NameWithData));
    });
}

void MemberListScreen::scopeChanged()
{
    const auto scope = EnrollmentScope(m_scope->currentIndex() + 1);
    m_ym1->setVisible(scope == EnrollmentScope::Month);
    m_ym2->setVisible(scope == EnrollmentScope::Month);
    const bool dates = scope == EnrollmentScope::Applied || scope == EnrollmentScope::Expiring;
    m_rq1->setVisible(dates || scope == EnrollmentScope::Valid);
    m_rq2->setVisible(dates);
}

std::optional<MemberListCriteria> MemberListScreen::criteria()
{
    MemberListCriteria c;
    c.codeFrom = m_code1->text().trimmed();
    c.codeTo = m_code2->text().trimmed();
    c.nameFrom = m_name1->text().trimmed();
    c.nameTo = m_name2->text().trimmed();
    c.cardFrom = m_card1->text().trimmed();
    c.cardTo = m_card2->text().trimmed();
    if (m_useInDate->isChecked()) {
        c.inDateFrom = m_in1->dateText();
        c.inDateTo = m_in2->dateText();
    }
    for (QLineEdit *e : {m_bir1, m_bir2}) {
        const auto md = normalizeMonthDay(e->text());
        if (!md) {
            m_ui.msg.warn(QStringLiteral("일자를 수정하세요"), QStringLiteral("일자ERROR"));
            e->setFocus();
            e->selectAll();
            return std::nullopt;
        }
        e->setText(*md);
    }
    c.birthFrom = m_bir1->text();
    c.birthTo = m_bir2->text();
    c.mbGubun = m_gubun->currentData().toString();
    c.area = m_area->currentData().toString();
    if (m_sex->currentIndex() == 1)
        c.sex = QStringLiteral("남");
    else if (m_sex->currentIndex() == 2)
        c.sex = QStringLiteral("여");
    const QString ageCode = m_age->currentData().toString();
    if (!ageCode.isEmpty() && m_ageBands.contains(ageCode)) {
        c.ageFrom = m_ageBands.value(ageCode).first;
        c.ageTo = m_ageBands.value(ageCode).second;
    }
    c.course = itemCode(m_cour);
    c.lclass = dataCode(m_lcl);
    c.mclass = dataCode(m_mcl);
    c.sclass = dataCode(m_scl);
    c.ltCode = itemCode(m_lect);
    c.pgid = m_lec->currentData().toLongLong();
    c.scope = EnrollmentScope(m_scope->currentIndex() + 1);
    c.monthFrom = m_ym1->monthText();
    c.monthTo = m_ym2->monthText();
    c.dateFrom = m_rq1->dateText();
    c.dateTo = m_rq2->dateText();
    c.validOn = m_rq1->dateText();
    return c;
}

GridPage memberListGridPage(QList<CellRow> &&lines)
{
    GridPage page;
    page.keys.reserve(lines.size());
    for (const CellRow &l : lines)
        page.keys.append(l.cell(kMemberCodeCell));
    page.joined = std::move(lines);
    return page;
}

bool MemberListScreen::query()
{
    const auto c = criteria();
    if (!c)
        return false;
    std::shared_ptr<MemberListReader> reader;
    {
        BusyScope busy(QStringLiteral("자료를 조회중입니다."), this);
        reader = guard(m_ui, DbAction::Read, [&] {
                     return std::make_shared<MemberListReader>(m_ui.app.main, *c, m_ui.app.clock().today().year());
                 }).value_or(nullptr);
        m_found = reader ? reader->count() : 0;
        if (!reader) {
            m_grid->clearRows();
        } else {
            // The grid reads the lines a page at a time as it scrolls, and the
            // rest at once for sorting, printing, the export and the hand-over.
            UiContext &ui = m_ui;
            // A long read hands its lines over a chunk at a time.
            streamGridRows(*m_grid, GridPagedSource([&ui, reader](int maxRows, const GridPageSink &deliver) {
                               const bool read = guard(ui, DbAction::Read, [&] {
                                   reader->next(maxRows, [&](QList<CellRow> &&lines) {
                                       deliver(memberListGridPage(std::move(lines)));
                                   });
                               });
                               return read && !reader->atEnd(); // a failure is told and ends the list
                           }));
        }
    }
    m_count->setText(QString::number(m_found) + QStringLiteral(" 건"));
    return true;
}

MemberListLabels MemberListScreen::labels() const
{
    MemberListLabels l;
    l.mbGubun = chosenText(m_gubun);
    l.sex = chosenText(m_sex);
    l.age = chosenText(m_age);
    l.course = chosenText(m_cour);
    l.lclass = chosenText(m_lcl);
    l.mclass = chosenText(m_mcl);
    l.sclass = chosenText(m_scl);
    l.lecturer = chosenText(m_lect);
    l.program = chosenText(m_lec);
    return l;
}

void MemberListScreen::print()
{
    const auto c = criteria();
    if (!c)
        return;
    const QStringList lines = memberListPrintLines(*c, labels());
    if (gridHasMoreRows(*m_grid)) {
        BusyScope busy(QStringLiteral("자료를 준비중 입니다"), this);
        fetchAllGridRows(*m_grid); // the print takes every member found
    }
    printGridPreview(*m_grid, kTitle, lines.value(0), lines.value(1), lines.value(2), true, 0, 1, 0,
                     m_ui.app.business.name);
}

void MemberListScreen::exportExcel()
{
    if (gridHasMoreRows(*m_grid)) {
        BusyScope busy(QStringLiteral("자료를 준비중 입니다"), this);
        fetchAllGridRows(*m_grid); // the file takes every member found
    }
    exportGridForUser(m_ui, QStringLiteral("회원조회"), *m_grid);
}

MemberContacts MemberListScreen::contacts()
{
    // Every member found, in the order the grid shows them (it may have been
    // sorted), read afresh for the hand-over.
    BusyScope busy(QStringLiteral("자료를 준비중 입니다"), this);
    fetchAllGridRows(*m_grid);
    QStringList codes;
    codes.reserve(m_grid->rowCount());
    for (int row = 0; row < m_grid->rowCount(); ++row)
        codes << m_grid->rowKey(row).toString();
    const auto lines = guard(m_ui, DbAction::Read, [&] { return memberListLines(m_ui.app.main, codes); });
    MemberContacts out;
    if (!lines)
        return out;
    out.reserve(lines->size());
    for (const MemberListLine &l : *lines)
        out << l.contact;
    return out;
}

void MemberListScreen::sendSms()
{
    runHandover(m_ui, m_hooks.sendSms, contacts(), QStringLiteral("문자전송"), this);
}

void MemberListScreen::printLabels()
{
    runHandover(m_ui, m_hooks.printLabels, contacts(), QStringLiteral("주소라벨"), this);
}

} // namespace fitrova
