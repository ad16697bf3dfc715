#pragma once
// The building blocks every screen is made of: named, captioned controls in the
// screens' fonts at fixed places, the text box that reports its focus, and the
// conversions between the boxes' texts and the core's UTF-8.
#include "ui/picture.hpp"

#include <QLineEdit>
#include <QRect>
#include <QString>

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

class QFont;
class QGroupBox;
class QLabel;
class QPushButton;

namespace quenlio {

std::string Utf8(const QString& text);
QString FromUtf8(std::string_view text);
// Characters as the core counts them (a Chinese character is one).
std::size_t CharLength(const QString& text);

// A text box that tells when it has gained or lost the focus, after it has handled
// that itself, so a handler may move the focus on.
class FocusEdit : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

signals:
    void gotFocus(Qt::FocusReason reason);
    void lostFocus(Qt::FocusReason reason);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

// Each control is named after its given name; boxes and buttons carry their caption
// as accessible name. Texts are in 宋体, frame titles in 新宋体.
QGroupBox* MakeFrame(QWidget* parent, const char* name, const QString& title, const QRect& geometry);
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry);
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                  const QFont& font);
FocusEdit* MakeBox(QWidget* parent, const char* name, const QString& caption, const QRect& geometry);
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry);
LinkLabel* MakeLink(QWidget* parent, const char* name, const QString& caption, const QRect& geometry);
Picture* PlacePicture(QWidget* parent, const char* name, const QString& resource, const QString& description,
                      const QRect& geometry);

// One captioned box of a query screen's results: the caption's and the box's given names, the
// caption's text, and where the screen keeps the two.
struct ResultRow {
    QLabel** caption;
    const char* captionName;
    FocusEdit** edit;
    const char* editName;
    QString text;
};
// Places the rows one below the other, `step` pixels apart, the first caption and box at the
// given places; each box carries its caption as accessible name.
void MakeResultRows(QWidget* frame, std::span<const ResultRow> rows, const QRect& firstCaption,
                    const QRect& firstBox, int step);

// The window flags of a fixed-size screen: no maximise button, nothing to resize.
inline constexpr Qt::WindowFlags FixedScreenFlags = Qt::Window | Qt::WindowTitleHint |
                                                    Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                                    Qt::WindowCloseButtonHint;

} // namespace quenlio
