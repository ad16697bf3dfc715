#pragma once
#include <QWidget>

namespace quenlio {

class Form4 : public QWidget {
    Q_OBJECT
public:
    explicit Form4(QWidget* parent = nullptr);
};

} // namespace quenlio
