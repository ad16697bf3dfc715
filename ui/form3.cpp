#include "ui/form3.hpp"

namespace quenlio {

Form3::Form3(QWidget* parent) : QWidget(parent) { setObjectName(QStringLiteral("Form3")); }

} // namespace quenlio
