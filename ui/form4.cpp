#include "ui/form4.hpp"

namespace quenlio {

Form4::Form4(QWidget* parent) : QWidget(parent) { setObjectName(QStringLiteral("Form4")); }

} // namespace quenlio
