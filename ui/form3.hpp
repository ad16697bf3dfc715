#pragma once
// The 11-character screen: the old serial numbers (first iPhone to iPhone 4) and the
// region suffix of the part number.
#include "ui/controls.hpp"

#include <QWidget>

class QGroupBox;
class QLabel;
class QPushButton;

namespace quenlio {

class LinkLabel;
class SerialCheck;
class LabelScan;

class Form3 : public QWidget {
    Q_OBJECT
public:
    explicit Form3(QWidget* parent = nullptr);

    QGroupBox* Frame1; // 信息输入
    QLabel* Label1;
    FocusEdit* Text1; // serial number
    QLabel* Label2;
    FocusEdit* Text2; // part number
    QLabel* Label9;   // 如何查看？
    QLabel* Label10;  // where the numbers are found

    QGroupBox* Frame2; // 查询结果
    QPushButton* Command1;
    QPushButton* Scan; // 扫描条码: the box label's picture fills the two boxes
    QLabel* Pairing; // 机盒一致 or 机盒不一致, after a box label and a handset's screen were compared
    QLabel* Label3;
    FocusEdit* Text3; // device model
    QLabel* Label4;
    FocusEdit* Text4; // production week
    QLabel* Label5;
    FocusEdit* Text5; // sales region
    QLabel* Label6;
    FocusEdit* Text6; // carrier
    QLabel* Label7;
    FocusEdit* Text7; // factory
    QLabel* Label8;
    FocusEdit* Text8; // after-sales replacement flag

    LinkLabel* Label11; // 返回

private:
    void BuildControls();

    void Text1_Change();
    void Text2_Change();
    void Command1_Click();
    void Scan_Click();
    void Label11_Click();

    void ApplyGates();

    // CheckOldSerial, run when the focus leaves the serial box.
    SerialCheck* m_serialCheck;
    LabelScan* m_labelScan;
};

} // namespace quenlio
