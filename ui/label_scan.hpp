#pragma once
// A query screen's 扫描条码: the picture of a box label, from a file the user picks, from the
// clipboard (Ctrl+V on the screen) or a file dropped on the screen, read for its serial number
// and part number. They go into the screen's two boxes as if the user had selected all of each
// box and pasted over it, through the boxes' own normalising, gates and checks; the user then
// queries as usual. A picture that gives nothing says why, in one line, and changes nothing.
#include <QObject>
#include <QString>

#include <cstddef>

class QImage;
class QLineEdit;
class QWidget;

namespace quenlio {

class LabelScan : public QObject {
public:
    // Belongs to `screen`, whose serials have `serialLength` characters.
    LabelScan(QWidget* screen, QLineEdit* serial, QLineEdit* partNumber, std::size_t serialLength);

    // The file dialog, then the picture it gives.
    void PickPicture();
    void ReadFile(const QString& path);
    void ReadPicture(QImage picture);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Say(const QString& line);

    QWidget* m_screen;
    QLineEdit* m_serial;
    QLineEdit* m_partNumber;
    std::size_t m_serialLength;
};

} // namespace quenlio
