#pragma once
// A query screen's 扫描条码: the picture of a box label, from a file the user picks, from the
// clipboard (Ctrl+V on the screen) or a file dropped on the screen, read for its serial number
// and part number. They go into the screen's two boxes as if the user had selected all of each
// box and pasted over it, through the boxes' own normalising, gates and checks; the user then
// queries as usual. A picture that gives nothing says why, in one line, and changes nothing.
// A hand scanner's codes, typed into either box, fill them the same way, one code at a time; a
// part number scanned before its serial is kept until the serial is scanned.
// A picture that holds none of the screen's serials in bar codes is read for text, as the
// handset's 关于本机 screen shows them; what is read is shown for a check (核对识别结果) beside
// the parts of the picture it was read from, and fills the boxes as a label does when the user
// says so. When the boxes hold what a box label filled and a handset's screen is then read, or
// the other way round, with no edit in between, the two are compared (机盒一致), and the
// screen's line says what was found until either box is typed in.
// The picture is decoded and read off the window's thread; meanwhile the screen shows the busy
// cursor and takes no input, and a reading of text that takes a while says so.
#include "core/about_screen.hpp"
#include "core/label.hpp"

#include <QFutureWatcher>
#include <QImage>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <cstddef>
#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QMimeData;
class QWidget;

namespace quenlio {

// What the picture file at `path` gives a screen of `serialLength`-character serials, read as
// 扫描条码 reads a picture, on the caller's thread; none when it is no picture of the kinds taken.
std::optional<LabelReading> ReadLabelFile(const QString& path, std::size_t serialLength);

class LabelScan : public QObject {
public:
    // Belongs to `screen`, whose serials have `serialLength` characters; `pairing` is the screen's
    // line for what a comparison of a box label and a handset's screen found.
    LabelScan(QWidget* screen, QLineEdit* serial, QLineEdit* partNumber, QLabel* pairing,
              std::size_t serialLength);
    ~LabelScan() override;

    // The file dialog, then the picture it gives.
    void PickPicture();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What a picture gives the screen: no label reading when it cannot be read; a screen reading
    // when its bar codes held no serial, with the parts of the picture its values were read from.
    struct Answer {
        std::optional<LabelReading> label;
        std::optional<ScreenReading> screen;
        QImage serialFrom;
        QImage partFrom;
    };
    // What the boxes hold, when a box label or a handset's screen filled them and nobody has
    // typed in them since.
    enum class Source { None, Label, Screen };

    // One code a hand scanner typed.
    void TakeScanned(const QString& text);
    void ReadFile(const QString& path);
    void ReadMimeData(const QMimeData& mime);
    // Runs `read` on a worker thread and holds the screen's input until it answers.
    void Start(std::function<Answer(const std::function<void(int)>&)> read);
    void ReadingText();
    void ShowProgress();
    void Answered();
    void Release();
    void Say(const QString& line);
    void TakeLabel(const LabelReading& reading);
    void TakeScreen(const Answer& answer);
    // Pastes over the boxes as the user would, the part number where the screen takes one now.
    void Fill(const QString& serial, const QString& partNumber);
    // The boxes now hold what `source` filled; with Source::None, the pairing ends.
    void Filled(Source source);
    void SayPairing(bool same);

    QWidget* m_screen;
    QLineEdit* m_serial;
    QLineEdit* m_partNumber;
    std::size_t m_serialLength;
    QLabel* m_pairing;
    QFutureWatcher<Answer> m_reading;
    bool m_busy = false;
    QTimer m_slowText; // a reading of text not done within it shows its progress
    QPointer<QWidget> m_progress;
    // A scanned part number waiting for its serial; the serial box changed otherwise drops it.
    QString m_waitingPart;
    bool m_filling = false;
    // What filled the boxes (the box's texts then), and the parts of the picture a screen's
    // reading came from; a box edited otherwise ends the pairing.
    Source m_source = Source::None;
    QString m_filledSerial;
    QString m_filledPart;
    QImage m_serialFrom;
    QImage m_partFrom;
    bool m_ours = false;
};

} // namespace quenlio
