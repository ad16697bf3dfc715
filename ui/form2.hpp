#pragma once
#include <QWidget>

namespace quenlio {

class Form2 : public QWidget {
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);
};

} // namespace quenlio
