#include "Check1_Click.h"

#include <QCheckBox>

void Check1_Click(const QCheckBox& Check1, QWidget& Text14, QWidget& Text2) {
    if (Check1.checkState() == Qt::Checked) {
        Text14.setVisible(true);
        Text2.setVisible(false);
    } else {
        Text14.setVisible(false);
        Text2.setVisible(true);
    }
}
