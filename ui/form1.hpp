#pragma once
#include <QWidget>

namespace quenlio {

class Picture;

// About: one picture with the program's name, version, author and shop.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);

    Picture* Image1;

private:
    void Image1_Click();
};

} // namespace quenlio
