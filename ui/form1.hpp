#pragma once
#include <QWidget>

namespace quenlio {

class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);
};

} // namespace quenlio
