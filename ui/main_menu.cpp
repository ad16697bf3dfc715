#include "ui/main_menu.hpp"

namespace quenlio {

Main::Main(QWidget* parent) : QWidget(parent) { setObjectName(QStringLiteral("Main")); }

} // namespace quenlio
