#include "ui/label_scan.hpp"

#include "reader/reader.hpp"
#include "ui/controls.hpp"
#include "ui/dialogs.hpp"
#include "ui/serial_entry.hpp"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QImageReader>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPromise>
#include <QThreadPool>
#include <QUrl>
#include <QWidget>

#include <algorithm>
#include <cstdint>
#include <memory>

namespace quenlio {

namespace {

// The kinds of PictureTypes that this Qt decodes, by its image readers' names for them, and their
// files' suffixes. Asked when first needed, never at start-up: asking loads every image plugin.
struct Readable {
    QList<QByteArray> formats;
    QStringList suffixes;
};
const Readable& ReadableKinds() {
    static const Readable readable = [] {
        Readable kinds;
        for (const PictureType& type : PictureTypes) {
            const QList<QByteArray> formats = QImageReader::imageFormatsForMimeType(
                QByteArray(type.MimeType.data(), qsizetype(type.MimeType.size())));
            if (formats.isEmpty())
                continue;
            kinds.formats += formats;
            kinds.suffixes += FromUtf8(type.Suffixes).split(QLatin1Char(' '));
        }
        return kinds;
    }();
    return readable;
}

// The reader's grey copy of `picture`, converted a band of rows at a time, so that a big picture
// is never held twice at four bytes a pixel; the decoded picture is let go on return.
reader::GreyPicture Grey(QImage picture) {
    constexpr int BandPixels = 1 << 20;
    reader::GreyPicture grey(picture.width(), picture.height());
    const int band = std::max(1, BandPixels / std::max(1, picture.width()));
    for (int top = 0; !grey.Empty() && top < picture.height(); top += band) {
        const QImage rows = picture.copy(0, top, picture.width(), std::min(band, picture.height() - top))
                                .convertToFormat(QImage::Format_RGBA8888);
        grey.Put({rows.constBits(), rows.width(), rows.height(), reader::Pixels::Rgba,
                  static_cast<int>(rows.bytesPerLine())},
                 top);
    }
    return grey;
}

std::optional<LabelReading> ReadPicture(QImage picture, std::size_t serialLength) {
    const reader::GreyPicture grey = Grey(std::move(picture));
    if (grey.Empty())
        return std::nullopt;
    return reader::ReadLabelPicture(grey, serialLength);
}

// A picture of a kind PictureTypes names, by its content whatever its file's name, of at most
// reader::MostPixels. A photo's orientation is left as it is: the reader reads codes turned any
// way, and turning a big photo would copy it whole.
std::optional<LabelReading> ReadEncoded(QImageReader& picture, std::size_t serialLength) {
    picture.setDecideFormatFromContent(true);
    if (!ReadableKinds().formats.contains(picture.format()))
        return std::nullopt;
    const QSize size = picture.size();
    if (std::int64_t(size.width()) * size.height() > reader::MostPixels)
        return std::nullopt;
    return ReadPicture(picture.read(), serialLength);
}

// A picture of reader::MostPixels decodes into four bytes a pixel; Qt's image readers, the
// clipboard's too, refuse anything over 128 MB unless told.
void AllowBigPictures() {
    QImageReader::setAllocationLimit(int((reader::MostPixels * 4 + (1 << 20) - 1) >> 20));
}

// The local file a drag brings, if it is one.
QString DraggedFile(const QMimeData* mime) {
    if (!mime || !mime->hasUrls() || mime->urls().isEmpty() || !mime->urls().front().isLocalFile())
        return {};
    return mime->urls().front().toLocalFile();
}

// Whether the clipboard or a drag offers a picture's encoded bytes, of whatever kind.
bool OffersPictureBytes(const QMimeData& mime) {
    const QStringList formats = mime.formats();
    return std::any_of(formats.begin(), formats.end(),
                       [](const QString& format) { return format.startsWith(QLatin1String("image/")); });
}

// Whether it holds a picture of any kind: the screen's, to read or to refuse.
bool HoldsPicture(const QMimeData* mime) {
    return mime && (OffersPictureBytes(*mime) || mime->hasImage());
}

// As a user pastes over a box's whole text.
void PasteOver(QLineEdit* box, const QString& text) {
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
    box->insert(text);
}

// What the screen takes no part of while a picture is read: the user's keys, shortcuts, mouse and
// drops. The event is swallowed; true when it is one of them.
bool Hold(QEvent* event) {
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        event->accept(); // taken by the screen, so no shortcut goes off either
        return true;
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        event->ignore(); // refused
        return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::InputMethod:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
        return true;
    default:
        return false;
    }
}

} // namespace

std::optional<LabelReading> ReadLabelFile(const QString& path, std::size_t serialLength) {
    AllowBigPictures();
    QImageReader picture(path);
    return ReadEncoded(picture, serialLength);
}

LabelScan::LabelScan(QWidget* screen, QLineEdit* serial, QLineEdit* partNumber, std::size_t serialLength)
    : QObject(screen), m_screen(screen), m_serial(serial), m_partNumber(partNumber),
      m_serialLength(serialLength) {
    AllowBigPictures();
    screen->setAcceptDrops(true);
    // The boxes take drops of their own (a file's address as text): a picture is the screen's.
    qApp->installEventFilter(this);
    connect(&m_reading, &QFutureWatcher<Answer>::finished, this, &LabelScan::Answered);
    new KeyBursts(
        {serial, partNumber}, [this](const QString& text) { TakeScanned(text); }, this);
    connect(serial, &QLineEdit::textChanged, this, [this] {
        if (!m_filling)
            m_waitingPart.clear();
    });
}

LabelScan::~LabelScan() {
    // A screen closed during a reading: the reading's answer goes nowhere.
    Release();
}

void LabelScan::PickPicture() {
    if (const auto path = dialogs::AskPicture(m_screen, FromUtf8(ScanTitle), ReadableKinds().suffixes))
        ReadFile(*path);
}

void LabelScan::TakeScanned(const QString& text) {
    const ScannedCode code = ReadScannedCode(Utf8(text), m_serialLength);
    if (!code.Message.empty()) {
        Say(FromUtf8(code.Message));
        return;
    }
    if (!code.Serial.empty()) {
        m_filling = true;
        PasteOver(m_serial, FromUtf8(code.Serial));
        m_filling = false;
    } else {
        m_waitingPart = FromUtf8(code.PartNumber);
    }
    if (m_waitingPart.isEmpty() || !m_partNumber->isEnabled() || m_partNumber->isReadOnly())
        return;
    PasteOver(m_partNumber, m_waitingPart);
    m_waitingPart.clear();
}

void LabelScan::ReadFile(const QString& path) {
    Start([path, serialLength = m_serialLength] { return ReadLabelFile(path, serialLength); });
}

// The encoded bytes of the first kind of PictureTypes that the clipboard or the drop offers, taken
// here and decoded off the window's thread; the toolkit's own picture where it offers no bytes
// (Windows' bitmap); a picture of any other kind (an SVG) is refused.
void LabelScan::ReadMimeData(const QMimeData& mime) {
    for (const PictureType& type : PictureTypes) {
        const QString mimeType = FromUtf8(type.MimeType);
        if (!mime.hasFormat(mimeType))
            continue;
        Start([bytes = mime.data(mimeType), serialLength = m_serialLength] {
            QBuffer buffer;
            buffer.setData(bytes);
            QImageReader picture(&buffer);
            return ReadEncoded(picture, serialLength);
        });
        return;
    }
    if (OffersPictureBytes(mime)) {
        Say(FromUtf8(UnreadablePicture));
        return;
    }
    Start([picture = qvariant_cast<QImage>(mime.imageData()), serialLength = m_serialLength]() mutable {
        return ReadPicture(std::move(picture), serialLength);
    });
}

void LabelScan::Start(std::function<Answer()> read) {
    m_busy = true;
    QApplication::setOverrideCursor(Qt::BusyCursor);
    auto answer = std::make_shared<QPromise<Answer>>();
    m_reading.setFuture(answer->future());
    QThreadPool::globalInstance()->start([answer, read = std::move(read)] {
        answer->start();
        answer->addResult(read());
        answer->finish();
    });
}

void LabelScan::Answered() {
    Release();
    // A screen closed during the reading is filled no more.
    if (!m_screen->isVisible() || m_reading.future().resultCount() == 0)
        return;
    const Answer answer = m_reading.result();
    if (!answer) {
        Say(FromUtf8(UnreadablePicture));
        return;
    }
    if (answer->Result == LabelReading::Outcome::Read) {
        PasteOver(m_serial, FromUtf8(answer->Serial));
        if (!answer->PartNumber.empty() && m_partNumber->isEnabled())
            PasteOver(m_partNumber, FromUtf8(answer->PartNumber));
    }
    const std::string_view message = LabelMessage(*answer, m_serialLength);
    if (!message.empty())
        Say(FromUtf8(message));
}

void LabelScan::Release() {
    if (!m_busy)
        return;
    m_busy = false;
    QApplication::restoreOverrideCursor();
}

void LabelScan::Say(const QString& line) {
    dialogs::ShowMessage(m_screen, line, FromUtf8(ScanTitle));
}

bool LabelScan::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != m_screen)
        return false;
    if (m_busy)
        return Hold(event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        // Ctrl+V with a picture and no text on the clipboard: the text paste has nothing to do.
        const QMimeData* clipboard = QApplication::clipboard()->mimeData();
        if (!static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste) || !clipboard ||
            clipboard->hasText() || !HoldsPicture(clipboard))
            return false;
        ReadMimeData(*clipboard);
        return true;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (DraggedFile(drag->mimeData()).isEmpty() && !HoldsPicture(drag->mimeData()))
            return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString file = DraggedFile(drop->mimeData());
        if (file.isEmpty() && !HoldsPicture(drop->mimeData()))
            return false;
        drop->acceptProposedAction();
        if (file.isEmpty())
            ReadMimeData(*drop->mimeData());
        else
            ReadFile(file);
        return true;
    }
    default:
        return false;
    }
}

} // namespace quenlio
