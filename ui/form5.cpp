#include "ui/form5.hpp"

namespace quenlio {

Form5::Form5(QWidget* parent) : QWidget(parent) { setObjectName(QStringLiteral("Form5")); }

} // namespace quenlio
