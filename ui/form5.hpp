#pragma once
// The 12-character serial screen: serial and part number in, the decoded fields out,
// and the warranty, activation and refurbishment checks below them.
#include "ui/controls.hpp"

#include <QWidget>

class QGroupBox;
class QLabel;
class QPushButton;

namespace quenlio {

class Picture;
class LinkLabel;
class SerialCheck;
class LabelScan;

class Form5 : public QWidget {
    Q_OBJECT
public:
    explicit Form5(QWidget* parent = nullptr);

    Picture* Image2; // shop banner

    QGroupBox* Frame1; // 信息输入
    QLabel* Label1;
    FocusEdit* Text1; // serial number
    QLabel* Label2;
    FocusEdit* Text2; // part number
    QPushButton* Command2;
    QPushButton* Scan; // 扫描条码: the box label's picture fills the two boxes
    QLabel* Pairing; // 机盒一致 or 机盒不一致, after a box label and a handset's screen were compared

    QGroupBox* Frame2; // 查询结果
    QPushButton* Command1;
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
    QLabel* Label10;
    FocusEdit* Text9; // after-sales replacement flag
    Picture* Image1;  // black iPhone 5
    Picture* Image3;  // white iPhone 5
    Picture* Image4;  // black iPhone 4/4S
    Picture* Image5;  // white iPhone 4/4S

    QGroupBox* Frame3; // 激活时间查询
    QLabel* Label8;
    FocusEdit* Text8; // warranty end date
    QLabel* Label12;
    FocusEdit* Text11; // estimated activation date
    QPushButton* Command3;
    QPushButton* Command6;
    QPushButton* Command7;

    LinkLabel* Label9; // 返回

private:
    void BuildControls();

    void Text1_Change();
    void Text2_Change();
    void Command1_Click();
    void Command2_Click();
    void Scan_Click();
    void Command3_Click();
    void Text8_Change();
    void Command6_Click();
    void Command7_Click();
    void Image2_Click();
    void Label9_Click();

    // The half-year code, checked each time the part number gains the focus.
    SerialCheck* m_halfYearCheck;
    LabelScan* m_labelScan;
};

} // namespace quenlio
