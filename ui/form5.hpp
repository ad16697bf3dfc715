#pragma once
#include <QWidget>

namespace quenlio {

class Form5 : public QWidget {
    Q_OBJECT
public:
    explicit Form5(QWidget* parent = nullptr);
};

} // namespace quenlio
