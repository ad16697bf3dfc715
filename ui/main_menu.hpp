#pragma once
#include <QWidget>

namespace quenlio {

class Main : public QWidget {
    Q_OBJECT
public:
    explicit Main(QWidget* parent = nullptr);
};

} // namespace quenlio
