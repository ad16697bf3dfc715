#pragma once
// The 12-character serial screen: serial and part number in, the decoded fields out,
// and the warranty, activation and refurbishment checks below them.
#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quenlio {

class Picture;
class LinkLabel;

class Form5 : public QWidget {
    Q_OBJECT
public:
    explicit Form5(QWidget* parent = nullptr);

    Picture* Image2; // shop banner

    QGroupBox* Frame1; // 信息输入
    QLabel* Label1;
    QLineEdit* Text1; // serial number
    QLabel* Label2;
    QLineEdit* Text2; // part number
    QPushButton* Command2;

    QGroupBox* Frame2; // 查询结果
    QPushButton* Command1;
    QLabel* Label3;
    QLineEdit* Text3; // device model
    QLabel* Label4;
    QLineEdit* Text4; // production week
    QLabel* Label5;
    QLineEdit* Text5; // sales region
    QLabel* Label6;
    QLineEdit* Text6; // carrier
    QLabel* Label7;
    QLineEdit* Text7; // factory
    QLabel* Label10;
    QLineEdit* Text9; // after-sales replacement flag
    Picture* Image1;  // black iPhone 5
    Picture* Image3;  // white iPhone 5
    Picture* Image4;  // black iPhone 4/4S
    Picture* Image5;  // white iPhone 4/4S

    QGroupBox* Frame3; // 激活时间查询
    QLabel* Label8;
    QLineEdit* Text8; // warranty end date
    QLabel* Label12;
    QLineEdit* Text11; // estimated activation date
    QPushButton* Command3;
    QPushButton* Command6;
    QPushButton* Command7;

    LinkLabel* Label9; // 返回

private:
    void BuildControls();

    void Text1_Change();
    void Text2_Change();
    void Text2_GotFocus();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Text8_Change();
    void Command6_Click();
    void Command7_Click();
    void Image2_Click();
    void Label9_Click();

    // Writing a box from inside its own change event raises the event again; the
    // nested run has nothing to add, so it is skipped.
    bool m_writingText1 = false;
    bool m_writingText2 = false;
    // True while the half-year check runs (its message box may be up): focus
    // events that arrive meanwhile must not start a second check.
    bool m_checkingHalfYear = false;
    // Counts the half-year checks, so the serial entry can tell whether moving the
    // focus ran one.
    unsigned m_halfYearChecks = 0;
};

} // namespace quenlio
