#pragma once
// What assistive technology (AT-SPI on Linux) is told about Quenlio's own widgets: the
// screens are windows, the pictures images, "返回" a link, and the clickable ones can be
// pressed from a screen reader. Enter presses a focused button, as Space does.

namespace quenlio {

// Registers the accessibility factory and the Enter key for buttons; call once, after
// the application object exists and before the first screen opens. A second call does
// nothing.
void InstallAccessibility();

} // namespace quenlio
