#include "ui/form5.hpp"

#include "core/checks.hpp"
#include "core/dates.hpp"
#include "core/label.hpp"
#include "core/lengths.hpp"
#include "core/query12.hpp"
#include "core/text.hpp"
#include "ui/controls.hpp"
#include "ui/dialogs.hpp"
#include "ui/fonts.hpp"
#include "ui/label_scan.hpp"
#include "ui/links.hpp"
#include "ui/picture.hpp"
#include "ui/screens.hpp"
#include "ui/serial_entry.hpp"
#include "ui/web.hpp"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <optional>
#include <string>
#include <string_view>

namespace quenlio {

namespace {

const QString DateMessage = QStringLiteral("请输入正确的日期，如2013-11-11");
const QString DateTitle = QStringLiteral("日期错误");

const QColor FlagRed(255, 0, 0);
const QColor FlagBlack(0, 0, 0);

} // namespace

Form5::Form5(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Quenlio ByMorlane"));
    setWindowFlags(FixedScreenFlags);
    setFixedSize(466, 492);
    BuildControls();

    // The serial is kept upper-case with the digit 0 for the letter O, the part number
    // upper-case; Text2 gaining the focus checks the serial's half-year code.
    NormaliseAsTyped(Text1, NormalizeSerial, Serial12Length);
    NormaliseAsTyped(Text2, UpperAscii, PartNumberLength);
    m_halfYearCheck = new SerialCheck(Text1, CheckHalfYearCode, QStringLiteral("请输入正确的序列号!"),
                                      QStringLiteral("序列号错误！"));
    m_halfYearCheck->RunOn(Text2, &FocusEdit::gotFocus);

    connect(Text1, &QLineEdit::textChanged, this, &Form5::Text1_Change);
    connect(Text2, &QLineEdit::textChanged, this, &Form5::Text2_Change);
    connect(Command1, &QPushButton::clicked, this, &Form5::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form5::Command2_Click);
    m_labelScan = new LabelScan(this, Text1, Text2, Pairing, Serial12Length);
    connect(Scan, &QPushButton::clicked, this, &Form5::Scan_Click);
    connect(Command3, &QPushButton::clicked, this, &Form5::Command3_Click);
    connect(Text8, &QLineEdit::textChanged, this, &Form5::Text8_Change);
    connect(Command6, &QPushButton::clicked, this, &Form5::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &Form5::Command7_Click);
    connect(Image2, &Picture::clicked, this, &Form5::Image2_Click);
    connect(Label9, &LinkLabel::clicked, this, &Form5::Label9_Click);

    Text1->setFocus();
}

void Form5::BuildControls() {
    auto photo = [&](const char* name, const QString& resource, const QString& description) {
        Picture* picture = PlacePicture(Frame2, name, resource, description, QRect(302, 18, 144, 150));
        picture->hide();
        return picture;
    };

    Image2 = PlacePicture(this, "Image2", QStringLiteral(":/images/banner.svg"),
                          QStringLiteral("欢迎光临Morlane的小店"), QRect(0, 0, 466, 56));
    Image2->setClickable();

    // Inputs: serial, part number, and where to find them.
    Frame1 = MakeFrame(this, "Frame1", QStringLiteral("信息输入"), QRect(6, 60, 454, 86));
    Label1 = MakeLabel(Frame1, "Label1", QStringLiteral("序列号(12位)"), QRect(8, 24, 90, 24));
    Text1 = MakeBox(Frame1, "Text1", QStringLiteral("序列号(12位)"), QRect(98, 24, 198, 24));
    Label2 = MakeLabel(Frame1, "Label2", QStringLiteral("型号"), QRect(8, 54, 90, 24));
    Text2 = MakeBox(Frame1, "Text2", QStringLiteral("型号"), QRect(98, 54, 198, 24));
    Text2->setEnabled(false);
    Command2 = MakeButton(Frame1, "Command2", QStringLiteral("查看方法"), QRect(322, 37, 104, 30));
    // In the frame's caption row, above 查看方法: the one free place beside the inputs.
    Scan = MakeButton(Frame1, "Scan", FromUtf8(ScanTitle), QRect(322, 1, 104, 22));
    // What comparing a box label with the handset's screen found; empty until then. Read out by a
    // screen reader when it changes; it takes no focus.
    Pairing = MakeLabel(Frame1, "Pairing", QString(), QRect(322, 67, 128, 19));

    // Results: six captioned boxes on the left, the handset photo and the query
    // button on the right.
    Frame2 = MakeFrame(this, "Frame2", QStringLiteral("查询结果"), QRect(6, 150, 454, 212));
    const ResultRow rows[] = {
        {&Label3, "Label3", &Text3, "Text3", QStringLiteral("设备型号")},
        {&Label4, "Label4", &Text4, "Text4", QStringLiteral("出厂时间")},
        {&Label5, "Label5", &Text5, "Text5", QStringLiteral("销售地")},
        {&Label6, "Label6", &Text6, "Text6", QStringLiteral("运营商")},
        {&Label7, "Label7", &Text7, "Text7", QStringLiteral("产地")},
        {&Label10, "Label10", &Text9, "Text9", QStringLiteral("是否售后换机")},
    };
    // As wide as the photo beside them allows: the longest model text needs all of it in
    // some fonts (GDI draws the fallback Song a few pixels wider than Linux does).
    MakeResultRows(Frame2, rows, QRect(8, 22, 90, 24), QRect(98, 22, 202, 24), 31);
    for (QLineEdit* result : {Text3, Text4, Text5, Text6, Text7}) {
        result->setEnabled(false);
        result->setReadOnly(true);
    }
    Command1 = MakeButton(Frame2, "Command1", QStringLiteral("查询"), QRect(322, 174, 104, 30));
    Command1->setEnabled(false);
    Image1 = photo("Image1", QStringLiteral(":/images/iphone5_black.svg"),
                   QStringLiteral("黑色 iPhone 5 正面照片"));
    Image3 = photo("Image3", QStringLiteral(":/images/iphone5_white.svg"),
                   QStringLiteral("白色 iPhone 5 正面照片"));
    Image4 = photo("Image4", QStringLiteral(":/images/iphone4_black.svg"),
                   QStringLiteral("黑色 iPhone 4/4S 正面照片"));
    Image5 = photo("Image5", QStringLiteral(":/images/iphone4_white.svg"),
                   QStringLiteral("白色 iPhone 4/4S 正面照片"));

    // Warranty and activation: the two dates side by side, their buttons below.
    Frame3 = MakeFrame(this, "Frame3", QStringLiteral("激活时间查询"), QRect(6, 366, 454, 98));
    Label8 = MakeLabel(Frame3, "Label8", QStringLiteral("保修截止"), QRect(8, 26, 64, 24));
    Text8 = MakeBox(Frame3, "Text8", QStringLiteral("保修截止"), QRect(76, 26, 136, 24));
    Text8->setEnabled(false);
    Label12 = MakeLabel(Frame3, "Label12", QStringLiteral("激活时间"), QRect(240, 26, 62, 24));
    Text11 = MakeBox(Frame3, "Text11", QStringLiteral("激活时间"), QRect(304, 26, 136, 24));
    Text11->setEnabled(false);
    Text11->setReadOnly(true);
    Command3 = MakeButton(Frame3, "Command3", QStringLiteral("保修查询"), QRect(40, 60, 104, 30));
    Command3->setEnabled(false);
    Command6 = MakeButton(Frame3, "Command6", QStringLiteral("激活查询"), QRect(310, 60, 104, 30));
    Command6->setEnabled(false);
    // The verdict button belongs to the screen, not the frame; it sits in the
    // frame's lower middle, between the two look-up buttons.
    Command7 = MakeButton(this, "Command7", QStringLiteral("是否翻新"), QRect(181, 366 + 60, 104, 30));
    Command7->setEnabled(false);
    Command7->raise();

    Label9 = MakeLink(this, "Label9", QStringLiteral("返回"), QRect(14, 467, 40, 22));

    // The serial comes first; then the part number and the query.
    setTabOrder(Text1, Text2);
    setTabOrder(Text2, Command2);
    setTabOrder(Command2, Scan);
    setTabOrder(Scan, Command1);
    setTabOrder(Command1, Text3);
    setTabOrder(Text3, Text4);
    setTabOrder(Text4, Text5);
    setTabOrder(Text5, Text6);
    setTabOrder(Text6, Text7);
    setTabOrder(Text7, Text9);
    setTabOrder(Text9, Text8);
    setTabOrder(Text8, Command3);
    setTabOrder(Command3, Text11);
    setTabOrder(Text11, Command6);
    setTabOrder(Command6, Command7);
    // The banner and "返回" come after everything the query needs.
    setTabOrder(Command7, Image2);
    setTabOrder(Image2, Label9);
}

void Form5::Text1_Change() {
    const QString serial = Text1->text();
    if (CharLength(serial) != Serial12Length) {
        Text2->clear();
        Text2->setEnabled(false);
        return;
    }
    Text2->setEnabled(true);
    m_halfYearCheck->MoveFocusTo(Text2);
    // A rejected serial has been emptied meanwhile, and that change has set the boxes.
    if (Text1->text() != serial)
        return;
    if (const std::optional<std::string_view> partNumber = AutofillPartNumber(Utf8(serial)))
        Text2->setText(FromUtf8(*partNumber));
}

void Form5::Text2_Change() {
    Command1->setEnabled(CharLength(Text2->text()) >= ShortestPartNumber);
    // Only a query enables the warranty look-up; losing the query button loses it too.
    if (!Command1->isEnabled())
        Command3->setEnabled(false);
}

void Form5::Command1_Click() {
    for (QWidget* control :
         {static_cast<QWidget*>(Text3), static_cast<QWidget*>(Text4), static_cast<QWidget*>(Text5),
          static_cast<QWidget*>(Text6), static_cast<QWidget*>(Text7), static_cast<QWidget*>(Text8),
          static_cast<QWidget*>(Command3)})
        control->setEnabled(true);
    for (QLineEdit* result : {Text3, Text4, Text5, Text6, Text7, Text8, Text9, Text11})
        result->clear();

    const QueryDisplay12 shown = DisplayQuery12(Utf8(Text1->text()), Utf8(Text2->text()));
    const QueryResult& result = shown.Result;
    Text4->setText(FromUtf8(result.ProductionDate));
    Text3->setText(FromUtf8(result.DeviceModel));
    Text5->setText(FromUtf8(result.SalesRegion));
    Text6->setText(FromUtf8(result.Carrier));
    Text7->setText(FromUtf8(result.Factory));
    Text9->setText(FromUtf8(result.AfterSalesReplacement));

    // Set on every query, so a red flag never outlives the unit it was for.
    QPalette flagPalette = Text9->palette();
    flagPalette.setColor(QPalette::Text, shown.FlagRed ? FlagRed : FlagBlack);
    Text9->setPalette(flagPalette);

    Image1->setVisible(shown.Photo == ModelPhoto::BlackIPhone5);
    Image3->setVisible(shown.Photo == ModelPhoto::WhiteIPhone5);
    Image4->setVisible(shown.Photo == ModelPhoto::BlackIPhone4);
    Image5->setVisible(shown.Photo == ModelPhoto::WhiteIPhone4);
}

void Form5::Command2_Click() {
    OpenScreen(Screen::Form4);
}

void Form5::Scan_Click() {
    m_labelScan->PickPicture();
}

void Form5::Label9_Click() {
    // The menu opens first, so the program never finds itself without a screen.
    OpenScreen(Screen::Main);
    close();
}

void Form5::Command3_Click() {
    const dialogs::Answer answer =
        dialogs::ShowMessage(this, QStringLiteral("保修查询需要到第三方网站查询，点击“确定”去查询"),
                             QStringLiteral("保修查询"), dialogs::Buttons::OkCancel);
    if (answer == dialogs::Answer::Ok)
        OpenWebPage(QString::fromLatin1(links::WarrantyLookupPage));
    // Whether or not the site was opened, the user may already know the date.
    dialogs::ShowMessage(this, QStringLiteral("查询激活时间，请将查到的“过保时间”粘贴到文本框，如2013-11-11"),
                         QStringLiteral("输入保修截止"));
    Text8->setFocus(Qt::OtherFocusReason);
}

// Ten characters is the length of "yyyy-mm-dd"; whether it is a date is told on the click.
void Form5::Text8_Change() {
    Command6->setEnabled(CharLength(Text8->text()) >= DateLength);
}

void Form5::Command6_Click() {
    // The date is read before anything changes, so a wrong one leaves the screen as it was.
    const std::optional<std::string> activation = EstimateActivationDate(Utf8(Text8->text()));
    if (!activation) {
        dialogs::ShowMessage(this, DateMessage, DateTitle);
        return;
    }
    Text11->setEnabled(true);
    Text11->setText(FromUtf8(*activation));
    Command7->setEnabled(true);
}

void Form5::Command7_Click() {
    // A new query empties the activation date but leaves this button enabled.
    if (Text11->text().isEmpty()) {
        dialogs::ShowMessage(this, QStringLiteral("请先点击“激活查询”"), QStringLiteral("提示"));
        return;
    }
    const std::optional<QString> purchase = dialogs::AskText(
        this, QStringLiteral("请输入[实际激活时间],一般情况下购买当天激活，【请勿复制】查询网站的购买时间！"),
        QStringLiteral("输入购买时间"), Text11->text());
    if (!purchase)
        return;
    const std::optional<std::string> verdict =
        RefurbishmentVerdict(Utf8(Text11->text()), Utf8(*purchase), Utf8(Text1->text()));
    if (!verdict) {
        dialogs::ShowMessage(this, DateMessage, DateTitle);
        return;
    }
    dialogs::ShowMessage(this, FromUtf8(*verdict), QStringLiteral("查询结果"));
}

void Form5::Image2_Click() {
    OpenWebPage(QString::fromLatin1(links::ShopPage));
}

} // namespace quenlio
