#pragma once
// The 11-character screen: the old serial numbers (first iPhone to iPhone 4) and the
// region suffix of the part number.
#include <QLineEdit>
#include <QWidget>

class QGroupBox;
class QLabel;
class QPushButton;

namespace quenlio {

class FocusEdit;
class LinkLabel;
class SerialCheck;

class Form3 : public QWidget {
    Q_OBJECT
public:
    explicit Form3(QWidget* parent = nullptr);

private:
    void Text1_Change();
    void Text2_Change();
    void Command1_Click();
    void Label11_Click();

    void ApplyGates();

    QGroupBox* Frame1;
    QLabel* Label1;
    FocusEdit* Text1;
    QLabel* Label2;
    QLineEdit* Text2;
    QLabel* Label9;
    QLabel* Label10;
    QGroupBox* Frame2;
    QPushButton* Command1;
    QLabel* Label3;
    QLineEdit* Text3;
    QLabel* Label4;
    QLineEdit* Text4;
    QLabel* Label5;
    QLineEdit* Text5;
    QLabel* Label6;
    QLineEdit* Text6;
    QLabel* Label7;
    QLineEdit* Text7;
    QLabel* Label8;
    QLineEdit* Text8;
    LinkLabel* Label11;

    // CheckOldSerial, run when the focus leaves the serial box.
    SerialCheck* m_serialCheck;
};

} // namespace quenlio
