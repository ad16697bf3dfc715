#pragma once
// A query screen's 扫描条码: the picture of a box label, from a file the user picks, from the
// clipboard (Ctrl+V on the screen) or a file dropped on the screen, read for its serial number
// and part number. They go into the screen's two boxes as if the user had selected all of each
// box and pasted over it, through the boxes' own normalising, gates and checks; the user then
// queries as usual. A picture that gives nothing says why, in one line, and changes nothing.
// A hand scanner's codes, typed into either box, fill them the same way, one code at a time; a
// part number scanned before its serial is kept until the serial is scanned.
// The picture is decoded and read off the window's thread; meanwhile the screen shows the busy
// cursor and takes no input.
#include "core/label.hpp"

#include <QFutureWatcher>
#include <QObject>
#include <QString>

#include <cstddef>
#include <functional>
#include <optional>

class QLineEdit;
class QMimeData;
class QWidget;

namespace quenlio {

// What the picture file at `path` gives a screen of `serialLength`-character serials, read as
// 扫描条码 reads a picture, on the caller's thread; none when it is no picture of the kinds taken.
std::optional<LabelReading> ReadLabelFile(const QString& path, std::size_t serialLength);

class LabelScan : public QObject {
public:
    // Belongs to `screen`, whose serials have `serialLength` characters.
    LabelScan(QWidget* screen, QLineEdit* serial, QLineEdit* partNumber, std::size_t serialLength);
    ~LabelScan() override;

    // The file dialog, then the picture it gives.
    void PickPicture();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What a picture gives the screen; none when it cannot be read.
    using Answer = std::optional<LabelReading>;

    // One code a hand scanner typed.
    void TakeScanned(const QString& text);
    void ReadFile(const QString& path);
    void ReadMimeData(const QMimeData& mime);
    // Runs `read` on a worker thread and holds the screen's input until it answers.
    void Start(std::function<Answer()> read);
    void Answered();
    void Release();
    void Say(const QString& line);

    QWidget* m_screen;
    QLineEdit* m_serial;
    QLineEdit* m_partNumber;
    std::size_t m_serialLength;
    QFutureWatcher<Answer> m_reading;
    bool m_busy = false;
    // A scanned part number waiting for its serial; the serial box changed otherwise drops it.
    QString m_waitingPart;
    bool m_filling = false;
};

} // namespace quenlio
