#include "ui/label_scan.hpp"

#include "core/label.hpp"
#include "reader/reader.hpp"
#include "ui/controls.hpp"
#include "ui/dialogs.hpp"

#include <QApplication>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImageReader>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace quenlio {

namespace {

// The local file a drag brings, if it is one.
QString DraggedFile(const QMimeData* mime) {
    if (!mime || !mime->hasUrls() || mime->urls().isEmpty() || !mime->urls().front().isLocalFile())
        return {};
    return mime->urls().front().toLocalFile();
}

// As a user pastes over a box's whole text.
void PasteOver(QLineEdit* box, const QString& text) {
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
    box->insert(text);
}

} // namespace

LabelScan::LabelScan(QWidget* screen, QLineEdit* serial, QLineEdit* partNumber, std::size_t serialLength)
    : QObject(screen), m_screen(screen), m_serial(serial), m_partNumber(partNumber),
      m_serialLength(serialLength) {
    screen->setAcceptDrops(true);
    // The boxes take drops of their own (a file's address as text): a picture is the screen's.
    qApp->installEventFilter(this);
}

void LabelScan::PickPicture() {
    if (const auto path = dialogs::AskPicture(m_screen, FromUtf8(ScanTitle)))
        ReadFile(*path);
}

void LabelScan::ReadFile(const QString& path) {
    QImageReader file(path);
    file.setAutoTransform(true); // a photo's own orientation
    ReadPicture(file.read());
}

void LabelScan::ReadPicture(QImage picture) {
    if (picture.isNull()) {
        Say(FromUtf8(UnreadablePicture));
        return;
    }
    picture = picture.convertToFormat(QImage::Format_RGBA8888);
    const LabelReading reading = reader::ReadLabelPicture(
        reader::GreyPicture({picture.constBits(), picture.width(), picture.height(), reader::Pixels::Rgba,
                             static_cast<int>(picture.bytesPerLine())}),
        m_serialLength);
    if (reading.Result == LabelReading::Outcome::Read) {
        PasteOver(m_serial, FromUtf8(reading.Serial));
        if (!reading.PartNumber.empty() && m_partNumber->isEnabled())
            PasteOver(m_partNumber, FromUtf8(reading.PartNumber));
    }
    const std::string_view message = LabelMessage(reading, m_serialLength);
    if (!message.empty())
        Say(FromUtf8(message));
}

void LabelScan::Say(const QString& line) {
    dialogs::ShowMessage(m_screen, line, FromUtf8(ScanTitle));
}

bool LabelScan::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != m_screen)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        // Ctrl+V with a picture and no text on the clipboard: the text paste has nothing to do.
        const QMimeData* clipboard = QApplication::clipboard()->mimeData();
        if (!static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste) || !clipboard ||
            !clipboard->hasImage() || clipboard->hasText())
            return false;
        ReadPicture(qvariant_cast<QImage>(clipboard->imageData()));
        return true;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (DraggedFile(drag->mimeData()).isEmpty() && !drag->mimeData()->hasImage())
            return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString file = DraggedFile(drop->mimeData());
        if (file.isEmpty() && !drop->mimeData()->hasImage())
            return false;
        drop->acceptProposedAction();
        if (file.isEmpty())
            ReadPicture(qvariant_cast<QImage>(drop->mimeData()->imageData()));
        else
            ReadFile(file);
        return true;
    }
    default:
        return false;
    }
}

} // namespace quenlio
