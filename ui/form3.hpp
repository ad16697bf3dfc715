#pragma once
#include <QWidget>

namespace quenlio {

class Form3 : public QWidget {
    Q_OBJECT
public:
    explicit Form3(QWidget* parent = nullptr);
};

} // namespace quenlio
