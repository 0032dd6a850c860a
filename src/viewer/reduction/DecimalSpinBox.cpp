#include "viewer/reduction/DecimalSpinBox.h"

namespace quorvane {

namespace {

// One comma is a decimal point; a second one makes no number.
QString withPoint(QString text) {
    if (text.count(QLatin1Char(',')) == 1 && !text.contains(QLatin1Char('.'))) {
        text.replace(QLatin1Char(','), QLatin1Char('.'));
    }
    return text;
}

} // namespace

DecimalSpinBox::DecimalSpinBox(QWidget* parent) : QDoubleSpinBox(parent) {
    setLocale(QLocale::c());
}

QValidator::State DecimalSpinBox::validate(QString& input, int& pos) const {
    if (input.contains(QLatin1Char(',')) && withPoint(input) == input) {
        return QValidator::Invalid; // a group separator or a second comma
    }
    QString text = withPoint(input);
    return QDoubleSpinBox::validate(text, pos);
}

double DecimalSpinBox::valueFromText(const QString& text) const {
    return QDoubleSpinBox::valueFromText(withPoint(text));
}

void DecimalSpinBox::fixup(QString& input) const {
    input = withPoint(input);
    QDoubleSpinBox::fixup(input);
}

} // namespace quorvane
