#include "sales/ui/goodseditdialog.h"

#include "data/listitems.h"
#include "data/text.h"
#include "sales/goods.h"
#include "sales/ui/goodsfilter.h"
#include "widgets/controls.h"
#include "widgets/deskguard.h"
#include "widgets/moneyedit.h"
#include "widgets/widgetutil.h"
#include "widgets/unsavedchanges.h"

#include <QLabel>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

GoodsEditDialog::GoodsEditDialog(UiContext &ui, const QString &jobGubun, qint64 itId, QWidget *parent)
    : QDialog(parent), JobGubun(jobGubun), ItId(itId), m_ui(ui)
{
    setObjectName(QStringLiteral("상품등록Sub"));
    const bool change = JobGubun == QLatin1String("C");
    setWindowTitle(change ? QStringLiteral("교구등록-(수정)") : QStringLiteral("상품등록-(추가)"));

    m_course = new QComboBox(this);
    m_course->setObjectName(QStringLiteral("CobCour1"));
    m_class = new QComboBox(this);
    m_class->setObjectName(QStringLiteral("CobScl"));
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("TxtItName"));
    m_name->setMaxLength(60);
    m_amount = new MoneyEdit(this, QStringLiteral("TxtItAmt"), QStringLiteral("판매"));
    m_amount->setAlignment(Qt::AlignRight);
    m_barCode = new QLineEdit(this);
    m_barCode->setObjectName(QStringLiteral("TxtBarCode"));
    m_barCode->setMaxLength(30);
    m_inUse = new QCheckBox(QStringLiteral("사용함"), this);
    m_inUse->setObjectName(QStringLiteral("Chk사용"));
    m_inUse->setChecked(true);

    auto *form = new QGridLayout;
    form->addWidget(caption(this, QStringLiteral("분류1")), 0, 0);
    form->addWidget(m_course, 0, 1);
    form->addWidget(caption(this, QStringLiteral("분류2")), 1, 0);
    form->addWidget(m_class, 1, 1);
    form->addWidget(caption(this, QStringLiteral("교구명")), 2, 0);
    form->addWidget(m_name, 2, 1);
    form->addWidget(caption(this, QStringLiteral("판매금액")), 3, 0);
    form->addWidget(m_amount, 3, 1);
    form->addWidget(caption(this, QStringLiteral("바코드")), 4, 0);
    form->addWidget(m_barCode, 4, 1);
    form->addWidget(m_inUse, 5, 1);
    form->setColumnStretch(1, 1);

    QPushButton *cmdSave = commandButton(this, QStringLiteral("Cmd저장"), QStringLiteral("저장"));
    QPushButton *cmdClose = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(12, 12, 12, 12);
    outer->addLayout(form);
    outer->addLayout(buttonRow({cmdSave, cmdClose}));
    resize(400, 260);
    installEnterAsTab(this);
    installSelectAllOnFocus(this);

    if (const auto courses = guard(ui, DbAction::Read, [&] { return courseItems(ui.app.main, QStringLiteral("S"), false); }))
        fillCombo(m_course, *courses);
    fillClasses();
    connect(m_course, &QComboBox::currentIndexChanged, this, [this] { fillClasses(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { save(); });
    connect(cmdClose, &QPushButton::clicked, this, [this] {
        if (UnsavedChanges::mayClose(this))
            reject();
    });

    m_amount->setAmount(0);
    if (change) {
        const auto item = guard(ui, DbAction::Read, [&] { return loadGoodsItem(ui.app.main, ItId); });
        if (item && *item) {
            const GoodsItem &it = **item;
            preset(it.course, it.sclass);
            m_name->setText(it.itName);
            m_amount->setAmount(it.itAmt);
            m_barCode->setText(it.barCode);
            m_inUse->setChecked(it.inUse);
        }
    }
    new UnsavedChanges(this, m_ui.msg, [this] { return save(); });
    m_name->setFocus();
}

void GoodsEditDialog::fillClasses() { fillGoodsClassCombo(m_ui, m_class, comboCode(m_course), false); }

void GoodsEditDialog::preset(const QString &course, const QString &sclass)
{
    for (int i = 0; i < m_course->count(); ++i)
        if (codeOf(m_course->itemText(i)) == course) {
            m_course->setCurrentIndex(i);
            break;
        }
    fillClasses();
    if (!sclass.isEmpty())
        selectComboByItemData(m_class, sclass);
}

bool GoodsEditDialog::save()
{
    if (!checkNumberFields(this, m_ui.msg))
        return false;
    GoodsItemInput in;
    in.jobGubun = JobGubun;
    in.itId = ItId;
    in.course = comboCode(m_course);
    in.sclass = m_class->currentData().toString();
    in.itName = m_name->text();
    in.barCode = m_barCode->text();
    in.itAmt = m_amount->amount();
    in.inUse = m_inUse->isChecked();
    const auto o = guard(m_ui, DbAction::Save, [&] { return saveGoodsItem(m_ui.app.main, in); });
    if (!o)
        return false;
    if (!showOutcome(m_ui, *o)) {
        if (o->field == int(GoodsField::Name))
            m_name->setFocus();
        else if (o->field == int(GoodsField::Amount))
            m_amount->setFocus();
        return false;
    }
    TF = true;
    m_ui.msg.notice(goodsSavedText());
    emit itemSaved(o->id);
    if (JobGubun == QLatin1String("C")) {
        accept();
        return true;
    }
    clearForNext();
    return true;
}

void GoodsEditDialog::clearForNext()
{
    if (m_class->count() > 0)
        m_class->setCurrentIndex(0);
    m_name->clear();
    m_amount->setAmount(0);
    m_inUse->setChecked(true);
    m_name->setFocus();
    UnsavedChanges::markCleanOf(this);
}

} // namespace fitrova
