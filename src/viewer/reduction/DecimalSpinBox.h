#pragma once

#include <QDoubleSpinBox>

namespace quorvane {

// A number field that never follows the locale: a point is the decimal separator, and a
// comma typed for one is read as one ("3,5" is 3.5, not 35 as the C locale's group separator
// would make it).
class DecimalSpinBox : public QDoubleSpinBox {
    Q_OBJECT
public:
    explicit DecimalSpinBox(QWidget* parent = nullptr);

    QValidator::State validate(QString& input, int& pos) const override;
    double valueFromText(const QString& text) const override;
    void fixup(QString& input) const override;
};

} // namespace quorvane
