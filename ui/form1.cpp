#include "ui/form1.hpp"

namespace quenlio {

Form1::Form1(QWidget* parent) : QWidget(parent) { setObjectName(QStringLiteral("Form1")); }

} // namespace quenlio
