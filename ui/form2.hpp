#pragma once
#include <QWidget>

namespace quenlio {

class Picture;

// Instructions: the five notes, and a way to the release thread.
class Form2 : public QWidget {
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);

    Picture* Image1; // the notes, no action
    Picture* Image2; // 点击此处

private:
    void Image2_Click();
};

} // namespace quenlio
