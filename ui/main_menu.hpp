#pragma once
#include <QWidget>

namespace quenlio {

class Picture;

// The main menu: seven pictures, two of which lead to the query screens.
class Main : public QWidget {
    Q_OBJECT
public:
    explicit Main(QWidget* parent = nullptr);

    Picture* Image1; // the title, no action
    Picture* Image2; // models with 12-character serials
    Picture* Image3; // models with 11-character serials
    Picture* Image7; // 说明
    Picture* Image6; // 关于
    Picture* Image4; // By and the author's nickname
    Picture* Image5; // the contact badge

private:
    void Image2_Click();
    void Image3_Click();
    void Image4_Click();
    void Image5_Click();
    void Image6_Click();
    void Image7_Click();
};

} // namespace quenlio
