#pragma once
#include <QWidget>

class QLabel;

namespace quenlio {

class Picture;

// Where the serial and part numbers are found on the handset: the path through its
// settings, as a caption and four screenshots. Nothing on it reacts to a click.
class Form4 : public QWidget {
    Q_OBJECT
public:
    explicit Form4(QWidget* parent = nullptr);

    QLabel* Label1;
    Picture* Image1; // the Settings icon
    Picture* Image2; // the General row
    Picture* Image3; // the About row
    Picture* Image4; // the part number and serial rows
};

} // namespace quenlio
