#pragma once
// What assistive technology (AT-SPI on Linux) is told about Quenlio's own widgets: the
// screens are windows, the pictures images, "返回" a link, and the clickable ones can be
// pressed from a screen reader.

namespace quenlio {

// Registers the accessibility factory; call once, before the first screen opens.
// A second call does nothing.
void InstallAccessibility();

} // namespace quenlio
