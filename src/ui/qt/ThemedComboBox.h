// The Qt combo box standing in for MComboBox: the theme's style sheet draws
// the box, this class adds the drop-down chevron in the theme's colours.
#pragma once

#include <QComboBox>

namespace DUI {

class ThemedComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit ThemedComboBox(QWidget* parent) : QComboBox(parent) {}

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace DUI
