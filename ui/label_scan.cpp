#include "ui/label_scan.hpp"

#include "ocr/recognizer.hpp"
#include "ocr/trained_data.hpp"
#include "reader/reader.hpp"
#include "ui/controls.hpp"
#include "ui/dialogs.hpp"
#include "ui/fonts.hpp"
#include "ui/serial_entry.hpp"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPromise>
#include <QThreadPool>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

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
// is never held twice at four bytes a pixel.
reader::GreyPicture Grey(const QImage& picture) {
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

// The recognizer, made when a picture first needs it and kept for the next one while a query
// screen is open (it holds some 40 MB); it reads one picture at a time, whichever screen asked.
struct TextReader {
    std::mutex lock;
    std::unique_ptr<ocr::Recognizer> recognizer;
    std::atomic<int> screens = 0;
};
TextReader& Recognizer() {
    static TextReader reader;
    return reader;
}

ScreenReading ReadText(const reader::GreyPicture& grey, std::size_t serialLength,
                       const std::function<void(int)>& progress) {
    TextReader& reader = Recognizer();
    const std::lock_guard lock(reader.lock);
    if (!reader.recognizer)
        reader.recognizer = std::make_unique<ocr::Recognizer>(ocr::TrainedData());
    ScreenReading reading;
    if (reader.recognizer->Ready())
        reading = ocr::ReadScreenPicture(*reader.recognizer, grey, serialLength, progress);
    // Its screen closed during the reading, the last one.
    if (reader.screens == 0)
        reader.recognizer.reset();
    return reading;
}

// The last query screen closed: the recognizer goes, unless a reading holds it, which lets it go
// when it ends.
void ScreenClosed() {
    TextReader& reader = Recognizer();
    if (--reader.screens > 0)
        return;
    if (const std::unique_lock lock(reader.lock, std::try_to_lock); lock.owns_lock())
        reader.recognizer.reset();
}

// The part of `picture` that `word` was read from, with a little of what is around it.
QImage Crop(const QImage& picture, const ScreenWord& word) {
    if (word.Width <= 0 || word.Height <= 0)
        return {};
    const int margin = std::max(6, word.Height / 2);
    return picture.copy(QRect(word.Left, word.Top, word.Width, word.Height)
                            .adjusted(-margin, -margin, margin, margin)
                            .intersected(picture.rect()));
}

// Read for bar codes, and for text when they hold none of the screen's serials; `progress`
// hears 0 when the text is begun, then the percentage done, plus one.
template <typename Answer>
Answer ReadPicture(const QImage& picture, std::size_t serialLength,
                   const std::function<void(int)>& progress) {
    Answer answer;
    const reader::GreyPicture grey = Grey(picture);
    if (grey.Empty())
        return answer;
    answer.label = reader::ReadLabelPicture(grey, serialLength);
    if (answer.label->Result != LabelReading::Outcome::NoSerial)
        return answer;
    progress(0);
    answer.screen = ReadText(grey, serialLength, [&progress](int percent) { progress(percent + 1); });
    if (answer.screen->Result == ScreenReading::Outcome::Read) {
        answer.serialFrom = Crop(picture, answer.screen->SerialFrom);
        if (!answer.screen->PartNumber.empty())
            answer.partFrom = Crop(picture, answer.screen->PartFrom);
    }
    return answer;
}

// A picture of a kind PictureTypes names, by its content whatever its file's name, of at most
// reader::MostPixels, decoded; a null picture otherwise. A photo's orientation is left as it is:
// the reader reads codes turned any way, and turning a big photo would copy it whole.
QImage Decode(QImageReader& picture) {
    picture.setDecideFormatFromContent(true);
    if (!ReadableKinds().formats.contains(picture.format()))
        return {};
    const QSize size = picture.size();
    if (std::int64_t(size.width()) * size.height() > reader::MostPixels)
        return {};
    return picture.read();
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
    QImageReader file(path);
    const reader::GreyPicture grey = Grey(Decode(file));
    if (grey.Empty())
        return std::nullopt;
    return reader::ReadLabelPicture(grey, serialLength);
}

LabelScan::LabelScan(QWidget* screen, QLineEdit* serial, QLineEdit* partNumber, QLabel* pairing,
                     std::size_t serialLength)
    : QObject(screen), m_screen(screen), m_serial(serial), m_partNumber(partNumber),
      m_serialLength(serialLength), m_pairing(pairing) {
    AllowBigPictures();
    ++Recognizer().screens;
    screen->setAcceptDrops(true);
    // The boxes take drops of their own (a file's address as text): a picture is the screen's.
    qApp->installEventFilter(this);
    connect(&m_reading, &QFutureWatcher<Answer>::finished, this, &LabelScan::Answered);
    connect(&m_reading, &QFutureWatcher<Answer>::progressValueChanged, this, &LabelScan::ReadingText);
    m_slowText.setSingleShot(true);
    m_slowText.setInterval(500);
    connect(&m_slowText, &QTimer::timeout, this, &LabelScan::ShowProgress);
    new KeyBursts(
        {serial, partNumber}, [this](const QString& text) { TakeScanned(text); }, this);
    connect(serial, &QLineEdit::textChanged, this, [this] {
        if (!m_filling)
            m_waitingPart.clear();
    });
    for (QLineEdit* box : {serial, partNumber})
        connect(box, &QLineEdit::textChanged, this, [this] {
            if (!m_ours)
                Filled(Source::None);
        });
}

LabelScan::~LabelScan() {
    // A screen closed during a reading: the reading's answer goes nowhere.
    Release();
    ScreenClosed();
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
    // The scanner has filled both boxes, as a label's picture does.
    Filled(Source::Label);
}

void LabelScan::ReadFile(const QString& path) {
    Start([path, serialLength = m_serialLength](const std::function<void(int)>& progress) {
        QImageReader file(path);
        return ReadPicture<Answer>(Decode(file), serialLength, progress);
    });
}

// The encoded bytes of the first kind of PictureTypes that the clipboard or the drop offers, taken
// here and decoded off the window's thread; the toolkit's own picture where it offers no bytes
// (Windows' bitmap); a picture of any other kind (an SVG) is refused.
void LabelScan::ReadMimeData(const QMimeData& mime) {
    for (const PictureType& type : PictureTypes) {
        const QString mimeType = FromUtf8(type.MimeType);
        if (!mime.hasFormat(mimeType))
            continue;
        Start([bytes = mime.data(mimeType),
               serialLength = m_serialLength](const std::function<void(int)>& progress) {
            QBuffer buffer;
            buffer.setData(bytes);
            QImageReader picture(&buffer);
            return ReadPicture<Answer>(Decode(picture), serialLength, progress);
        });
        return;
    }
    if (OffersPictureBytes(mime)) {
        Say(FromUtf8(UnreadablePicture));
        return;
    }
    Start([picture = qvariant_cast<QImage>(mime.imageData()),
           serialLength = m_serialLength](const std::function<void(int)>& progress) {
        return ReadPicture<Answer>(picture, serialLength, progress);
    });
}

void LabelScan::Start(std::function<Answer(const std::function<void(int)>&)> read) {
    m_busy = true;
    QApplication::setOverrideCursor(Qt::BusyCursor);
    auto answer = std::make_shared<QPromise<Answer>>();
    m_reading.setFuture(answer->future());
    QThreadPool::globalInstance()->start([answer, read = std::move(read)] {
        answer->start();
        // 0 while the bar codes are read; from 1, the text, 1 + the percentage done.
        answer->setProgressRange(0, 101);
        answer->addResult(read([&answer](int step) { answer->setProgressValue(step + 1); }));
        answer->finish();
    });
}

// The text is being read: a reading that takes a while shows how far it is.
void LabelScan::ReadingText() {
    const int value = m_reading.progressValue();
    if (value < 1 || !m_busy)
        return;
    if (!m_progress && !m_slowText.isActive())
        m_slowText.start();
    if (m_progress)
        if (auto* bar = m_progress->findChild<QProgressBar*>())
            bar->setValue(value - 1);
}

// Over the screen's middle while it takes no input, made only for the reading that needs it.
void LabelScan::ShowProgress() {
    if (!m_busy || m_progress)
        return;
    auto* panel = new QFrame(m_screen);
    panel->setObjectName(QStringLiteral("ReadingText"));
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(panel);
    auto* line = new QLabel(FromUtf8(ReadingTextLine), panel);
    line->setFont(fonts::Song());
    auto* bar = new QProgressBar(panel);
    bar->setRange(0, 100);
    bar->setValue(std::max(0, m_reading.progressValue() - 1));
    bar->setAccessibleName(FromUtf8(ReadingTextLine));
    layout->addWidget(line);
    layout->addWidget(bar);
    panel->setFixedWidth(240);
    panel->adjustSize();
    panel->move((m_screen->width() - panel->width()) / 2, (m_screen->height() - panel->height()) / 2);
    panel->show();
    panel->raise();
    m_progress = panel;
}

void LabelScan::Answered() {
    Release();
    // A screen closed during the reading is filled no more.
    if (!m_screen->isVisible() || m_reading.future().resultCount() == 0)
        return;
    const Answer answer = m_reading.result();
    if (!answer.label) {
        Say(FromUtf8(UnreadablePicture));
        return;
    }
    if (answer.screen)
        TakeScreen(answer);
    else
        TakeLabel(*answer.label);
}

void LabelScan::TakeLabel(const LabelReading& reading) {
    const bool read = reading.Result == LabelReading::Outcome::Read;
    if (read && m_source == Source::Screen) {
        // The boxes hold the handset's reading, and keep it: the label is only compared with it.
        const Pairing pairing =
            CompareReadings(reading.Serial, reading.PartNumber, Utf8(m_filledSerial), Utf8(m_filledPart));
        dialogs::ReadingCheck check;
        check.verdict = FromUtf8(pairing.Same() ? BoxAgrees : BoxDisagrees);
        check.compared = true;
        check.labelCaption = FromUtf8(BoxReadingLabel);
        check.screenCaption = FromUtf8(ScreenReadingLabel);
        check.rows.push_back({m_serial->accessibleName(), m_serialFrom, m_filledSerial,
                              FromUtf8(reading.Serial), pairing.SerialDiffers});
        if (!reading.PartNumber.empty() && !m_filledPart.isEmpty())
            check.rows.push_back({m_partNumber->accessibleName(), m_partFrom, m_filledPart,
                                  FromUtf8(reading.PartNumber), pairing.PartDiffers});
        check.choices = QStringList{QStringLiteral("确定")};
        SayPairing(pairing.Same());
        dialogs::CheckReading(m_screen, FromUtf8(CheckReadingTitle), check);
        return;
    }
    if (read) {
        Fill(FromUtf8(reading.Serial), FromUtf8(reading.PartNumber));
        Filled(Source::Label);
    }
    const std::string_view message = LabelMessage(reading, m_serialLength);
    if (!message.empty())
        Say(FromUtf8(message));
}

void LabelScan::TakeScreen(const Answer& answer) {
    const ScreenReading& reading = *answer.screen;
    if (reading.Result != ScreenReading::Outcome::Read) {
        Say(FromUtf8(ScreenMessage(reading, m_serialLength)));
        return;
    }
    const QString serial = FromUtf8(reading.Serial);
    const QString part = FromUtf8(reading.PartNumber);
    dialogs::ReadingCheck check;
    check.rows.push_back({m_serial->accessibleName(), answer.serialFrom, serial, {}, false});
    if (!part.isEmpty())
        check.rows.push_back({m_partNumber->accessibleName(), answer.partFrom, part, {}, false});
    const bool paired = m_source == Source::Label;
    std::optional<Pairing> pairing;
    if (paired) {
        pairing =
            CompareReadings(Utf8(m_filledSerial), Utf8(m_filledPart), reading.Serial, reading.PartNumber);
        check.verdict = FromUtf8(pairing->Same() ? BoxAgrees : BoxDisagrees);
        check.compared = !pairing->Same();
        check.labelCaption = FromUtf8(BoxReadingLabel);
        check.screenCaption = FromUtf8(ScreenReadingLabel);
        check.rows[0].label = m_filledSerial;
        check.rows[0].differs = pairing->SerialDiffers;
        if (check.rows.size() > 1) {
            check.rows[1].label = m_filledPart;
            check.rows[1].differs = pairing->PartDiffers;
        }
        check.choices = pairing->Same() ? QStringList{QStringLiteral("确定")}
                                        : QStringList{FromUtf8(TakeHandsets), FromUtf8(CancelReading)};
        SayPairing(pairing->Same());
    } else {
        check.choices = QStringList{FromUtf8(FillIn), FromUtf8(CancelReading)};
    }
    const dialogs::Answer choice = dialogs::CheckReading(m_screen, FromUtf8(CheckReadingTitle), check);
    // Agreeing readings change nothing; otherwise the boxes keep what they held unless told.
    if ((pairing && pairing->Same()) || choice != dialogs::Answer::Ok)
        return;
    Fill(serial, part);
    m_serialFrom = answer.serialFrom;
    m_partFrom = answer.partFrom;
    Filled(Source::Screen);
}

void LabelScan::Fill(const QString& serial, const QString& partNumber) {
    m_ours = true;
    PasteOver(m_serial, serial);
    if (!partNumber.isEmpty() && m_partNumber->isEnabled())
        PasteOver(m_partNumber, partNumber);
    m_ours = false;
}

void LabelScan::Filled(Source source) {
    m_source = source;
    m_filledSerial = source == Source::None ? QString() : m_serial->text();
    m_filledPart = source == Source::None ? QString() : m_partNumber->text();
    if (source != Source::Screen) {
        m_serialFrom = {};
        m_partFrom = {};
    }
    if (source == Source::None)
        m_pairing->clear();
}

void LabelScan::SayPairing(bool same) {
    m_pairing->setText(FromUtf8(same ? BoxAgrees : BoxDisagrees));
}

void LabelScan::Release() {
    m_slowText.stop();
    delete m_progress;
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
