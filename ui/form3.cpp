#include "ui/form3.hpp"

#include "core/label.hpp"
#include "core/lengths.hpp"
#include "core/query11.hpp"
#include "core/text.hpp"
#include "ui/controls.hpp"
#include "ui/dialogs.hpp"
#include "ui/fonts.hpp"
#include "ui/label_scan.hpp"
#include "ui/picture.hpp"
#include "ui/screens.hpp"
#include "ui/serial_entry.hpp"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <string>

namespace quenlio {

namespace {

std::size_t Length(const QLineEdit* box) {
    return CharLength(box->text());
}

} // namespace

Form3::Form3(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Quenlio ByMorlane"));
    setWindowFlags(FixedScreenFlags);
    setFixedSize(391, 363);
    setFont(fonts::Song());
    BuildControls();

    // Both boxes are kept upper-case; leaving the serial box checks the serial.
    NormaliseAsTyped(Text1, UpperAscii, Serial11Length);
    NormaliseAsTyped(Text2, UpperAscii, PartNumberLength);
    m_serialCheck = new SerialCheck(Text1, CheckOldSerial, QStringLiteral("序列号有误，请核对后重新输入！"),
                                    QStringLiteral("错误"));
    m_serialCheck->RunOn(Text1, &FocusEdit::lostFocus);

    connect(Text1, &QLineEdit::textChanged, this, &Form3::Text1_Change);
    connect(Text2, &QLineEdit::textChanged, this, &Form3::Text2_Change);
    connect(Command1, &QPushButton::clicked, this, &Form3::Command1_Click);
    m_labelScan = new LabelScan(this, Text1, Text2, Pairing, Serial11Length);
    connect(Scan, &QPushButton::clicked, this, &Form3::Scan_Click);
    connect(Label11, &LinkLabel::clicked, this, &Form3::Label11_Click);

    Text1->setFocus();
}

void Form3::BuildControls() {
    Frame1 = MakeFrame(this, "Frame1", QStringLiteral("信息输入"), {8, 6, 375, 100});
    Label1 = MakeLabel(Frame1, "Label1", QStringLiteral("序列号(11位)"), {12, 30, 92, 22});
    // Wide enough for an 11-character serial of the widest letters (W, M) in the fallback font.
    Text1 = MakeBox(Frame1, "Text1", Label1->text(), {104, 28, 140, 26});
    Label2 = MakeLabel(Frame1, "Label2", QStringLiteral("型号"), {12, 64, 92, 22});
    Text2 = MakeBox(Frame1, "Text2", Label2->text(), {104, 62, 124, 26});
    Text2->setEnabled(false);
    Text2->setReadOnly(true);

    // Where the two numbers are found on the handset; they react to nothing.
    Label9 = MakeLabel(Frame1, "Label9", QStringLiteral("如何查看？"), {252, 28, 116, 26}, fonts::Kai(12));
    Label10 = MakeLabel(Frame1, "Label10", QStringLiteral("设置-通用-关于本机"), {240, 64, 130, 22});

    // Results: six captioned boxes, the query button beside them.
    Frame2 = MakeFrame(this, "Frame2", QStringLiteral("查询结果"), {8, 112, 375, 214});
    Command1 = MakeButton(Frame2, "Command1", QStringLiteral("查询"), {302, 94, 62, 32});
    Command1->setEnabled(false);
    Scan = MakeButton(Frame2, "Scan", FromUtf8(ScanTitle), {298, 134, 70, 32});
    // What comparing a box label with the handset's screen found; empty until then. Read out by a
    // screen reader when it changes; it takes no focus.
    Pairing = MakeLabel(Frame2, "Pairing", QString(), {296, 172, 76, 22});
    Pairing->setAlignment(Qt::AlignCenter);
    const ResultRow rows[] = {
        {&Label3, "Label3", &Text3, "Text3", QStringLiteral("设备型号")},
        {&Label4, "Label4", &Text4, "Text4", QStringLiteral("出厂时间")},
        {&Label5, "Label5", &Text5, "Text5", QStringLiteral("销售地")},
        {&Label6, "Label6", &Text6, "Text6", QStringLiteral("运营商")},
        {&Label7, "Label7", &Text7, "Text7", QStringLiteral("产地")},
        {&Label8, "Label8", &Text8, "Text8", QStringLiteral("是否售后换机")},
    };
    MakeResultRows(Frame2, rows, {12, 30, 98, 22}, {112, 28, 182, 26}, 30);
    // The results are only ever shown, never typed; "enabled" only takes the grey away.
    for (QLineEdit* result : {Text3, Text4, Text5, Text6, Text7, Text8}) {
        result->setReadOnly(true);
        result->setEnabled(false);
    }

    Label11 = MakeLink(this, "Label11", QStringLiteral("返回"), {343, 334, 36, 22});

    setTabOrder(Text1, Text2);
    setTabOrder(Text2, Command1);
    setTabOrder(Command1, Scan);
}

// The gates follow from the two texts alone, so they can be applied again after
// anything (the error message, a focus change) has run in between.
void Form3::ApplyGates() {
    const bool complete = Length(Text1) == Serial11Length;
    Text2->setReadOnly(!complete);
    Text2->setEnabled(complete);
    for (QLineEdit* box : {Text3, Text4, Text5, Text6, Text7, Text8})
        box->setEnabled(complete);
    Text2_Change();
}

void Form3::Text1_Change() {
    if (Length(Text1) == Serial11Length) {
        Text2->setEnabled(true);
        Text2->setReadOnly(false);
        m_serialCheck->MoveFocusTo(Text2);
    }
    ApplyGates();
}

void Form3::Text2_Change() {
    Command1->setEnabled(Length(Text1) == Serial11Length && Length(Text2) >= ShortestPartNumber);
}

void Form3::Command1_Click() {
    const QueryResult shown{Utf8(Text3->text()), Utf8(Text4->text()), Utf8(Text5->text()),
                            Utf8(Text6->text()), Utf8(Text7->text()), Utf8(Text8->text())};
    const QueryResult result = SerialQuery11(Utf8(Text1->text()), Utf8(Text2->text()), shown);
    Text3->setText(FromUtf8(result.DeviceModel));
    Text4->setText(FromUtf8(result.ProductionDate));
    Text5->setText(FromUtf8(result.SalesRegion));
    Text6->setText(FromUtf8(result.Carrier));
    Text7->setText(FromUtf8(result.Factory));
    Text8->setText(FromUtf8(result.AfterSalesReplacement));
}

void Form3::Scan_Click() {
    m_labelScan->PickPicture();
}

// Back to the menu: open it first, so that a screen stays open throughout.
void Form3::Label11_Click() {
    OpenScreen(Screen::Main);
    close();
}

} // namespace quenlio
