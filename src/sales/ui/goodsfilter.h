#pragma once
// The filters the goods list and the goods pick list share: the goods course
// (CobCour1, "0-모두보기" first), its small classes (CobScl, "모두보기" first)
// and "사용교구만보기".

#include "sales/goods.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QHBoxLayout;

namespace fitrova {

struct UiContext;

class GoodsFilterBar : public QWidget {
    Q_OBJECT
public:
    GoodsFilterBar(UiContext &ui, QWidget *parent = nullptr);
    // The filter as chosen (name empty).
    GoodsFilter filter() const;
    QHBoxLayout *row() const { return m_layout; }
    QComboBox *courseCombo() const { return m_course; }
    QComboBox *classCombo() const { return m_class; }
    QCheckBox *inUseCheck() const { return m_inUse; }

signals:
    void changed();

private:
    void fillClasses();

    UiContext &m_ui;
    QHBoxLayout *m_layout;
    QComboBox *m_course, *m_class;
    QCheckBox *m_inUse;
};

// Fills a small-class combo with the goods classes of the course:
// withAll puts "모두보기" (no class) first.
void fillGoodsClassCombo(UiContext &ui, QComboBox *combo, const QString &course, bool withAll);

} // namespace fitrova
