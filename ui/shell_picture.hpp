#pragma once
// Placing a picture on one of the shell's screens: named after its control, at a fixed spot.
#include "ui/picture.hpp"

#include <QRect>

namespace quenlio {

inline Picture* PlacePicture(QWidget* screen, const char* name, const QString& resource,
                             const QString& description, const QRect& geometry) {
    auto* picture = new Picture(resource, description, screen);
    picture->setObjectName(QString::fromLatin1(name));
    picture->setGeometry(geometry);
    return picture;
}

// The window flags of a fixed-size screen: no maximise button, nothing to resize.
inline constexpr Qt::WindowFlags FixedScreenFlags = Qt::Window | Qt::WindowTitleHint |
                                                    Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                                                    Qt::WindowCloseButtonHint;

} // namespace quenlio
