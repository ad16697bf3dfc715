#include "ui/form2.hpp"

namespace quenlio {

Form2::Form2(QWidget* parent) : QWidget(parent) { setObjectName(QStringLiteral("Form2")); }

} // namespace quenlio
