#include "members/ui/postlookupdialog.h"

#include "widgets/deskguard.h"
#include "members/ui/memberui.h"
#include "widgets/controls.h"
#include "widgets/datagrid.h"
#include "widgets/widgetutil.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace fitrova {

PostLookupDialog::PostLookupDialog(UiContext &ui, bool withRi, const QString &text, QWidget *parent)
    : QDialog(parent), m_ui(ui), m_withRi(withRi)
{
    setObjectName(QStringLiteral("우편번호조회"));
    setWindowTitle(QStringLiteral("우편번호조회"));

    m_text = new QLineEdit(text.trimmed(), this);
    m_text->setObjectName(QStringLiteral("Txt검색동"));
    m_text->setMaxLength(40);
    m_text->setPlaceholderText(QStringLiteral("동 이름 (예: 오금)"));
    setHangulMode(m_text, true);

    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("SpPost"));
    m_grid->setColumns(postHeaders(withRi), withRi ? QList<int>{0, 70, 60, 80, 90, 80, 130, 70}
                                                    : QList<int>{0, 70, 60, 80, 90, 130, 70});
    m_grid->setColumnHidden(0, true);

    QPushButton *find = commandButton(this, QStringLiteral("Cmd찾기"), QStringLiteral("찾기"), 72);
    QPushButton *pick = commandButton(this, QStringLiteral("Cmd선택"), QStringLiteral("선택"), 72);
    QPushButton *close = commandButton(this, QStringLiteral("Cmd닫기"), QStringLiteral("닫기"), 72);

    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("동 이름"), this));
    top->addWidget(m_text, 1);
    top->addWidget(find);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(pick);
    bottom->addWidget(close);
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(top);
    outer->addWidget(m_grid, 1);
    outer->addLayout(bottom);
    resize(620, 420);

    connect(m_text, &QLineEdit::returnPressed, this, &PostLookupDialog::search);
    connect(find, &QPushButton::clicked, this, &PostLookupDialog::search);
    connect(pick, &QPushButton::clicked, this, [this] { pickCurrent(); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_grid, &DataGrid::rowActivated, this, [this](int) { pickCurrent(); });

    if (!m_text->text().isEmpty())
        search();
    if (m_grid->rowCount() > 0)
        m_grid->setFocus();
    else
        m_text->setFocus();
}

void PostLookupDialog::search()
{
    m_rows = guard(m_ui, DbAction::Read, [&] { return searchPost(m_ui.app.post, m_text->text(), m_withRi); })
                 .value_or(QList<PostRow>());
    QList<QStringList> cells;
    QVariantList keys;
    for (int i = 0; i < m_rows.size(); ++i) {
        cells << postCells(m_rows[i], m_withRi);
        keys << i;
    }
    m_grid->setRows(cells, keys);
    if (!m_rows.isEmpty()) {
        m_grid->setCurrentRow(0);
        m_grid->setFocus();
    }
}

int PostLookupDialog::rowCount() const { return m_grid->rowCount(); }

bool PostLookupDialog::pickCurrent()
{
    const int row = m_grid->currentRow();
    if (row < 0)
        return false;
    const int i = m_grid->rowKey(row).toInt();
    if (i < 0 || i >= m_rows.size() || m_rows[i].postNum.trimmed().isEmpty())
        return false;
    m_postNo = m_rows[i].postNum;
    m_address = m_rows[i].addressText(m_withRi);
    TF = true;
    accept();
    return true;
}

} // namespace fitrova
