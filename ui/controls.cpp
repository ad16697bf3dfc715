#include "ui/controls.hpp"

#include "core/text.hpp"
#include "ui/fonts.hpp"

#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace quenlio {

std::string Utf8(const QString& text) {
    return text.toStdString();
}

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::size_t CharLength(const QString& text) {
    return CharCount(Utf8(text));
}

void FocusEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    emit gotFocus(event->reason());
}

void FocusEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    emit lostFocus(event->reason());
}

namespace {
template <typename Control> Control* Place(Control* control, const char* name, const QRect& geometry) {
    control->setObjectName(QLatin1String(name));
    control->setGeometry(geometry);
    return control;
}
} // namespace

QGroupBox* MakeFrame(QWidget* parent, const char* name, const QString& title, const QRect& geometry) {
    auto* frame = Place(new QGroupBox(title, parent), name, geometry);
    frame->setAccessibleName(title);
    frame->setFont(fonts::NewSong());
    return frame;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
    return MakeLabel(parent, name, text, geometry, fonts::Song());
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                  const QFont& font) {
    auto* label = Place(new QLabel(text, parent), name, geometry);
    label->setAccessibleName(text);
    label->setFont(font);
    return label;
}

FocusEdit* MakeBox(QWidget* parent, const char* name, const QString& caption, const QRect& geometry) {
    auto* box = Place(new FocusEdit(parent), name, geometry);
    box->setAccessibleName(caption);
    box->setFont(fonts::Song());
    return box;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QRect& geometry) {
    auto* button = Place(new QPushButton(caption, parent), name, geometry);
    button->setAccessibleName(caption);
    button->setFont(fonts::Song());
    return button;
}

LinkLabel* MakeLink(QWidget* parent, const char* name, const QString& caption, const QRect& geometry) {
    auto* link = Place(new LinkLabel(caption, parent), name, geometry);
    link->setFont(fonts::Song());
    return link;
}

Picture* PlacePicture(QWidget* parent, const char* name, const QString& resource, const QString& description,
                      const QRect& geometry) {
    return Place(new Picture(resource, description, parent), name, geometry);
}

void MakeResultRows(QWidget* frame, std::span<const ResultRow> rows, const QRect& firstCaption,
                    const QRect& firstBox, int step) {
    int offset = 0;
    for (const ResultRow& row : rows) {
        *row.caption = MakeLabel(frame, row.captionName, row.text, firstCaption.translated(0, offset));
        *row.edit = MakeBox(frame, row.editName, row.text, firstBox.translated(0, offset));
        offset += step;
    }
}

} // namespace quenlio
