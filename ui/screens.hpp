#pragma once
// The six screens: each exists at most once, is shown without an owner and without
// being modal, and is discarded with everything in it when it is closed.
#include <cstddef>

class QWidget;

namespace quenlio {

enum class Screen { Form5, Main, Form3, Form1, Form2, Form4 };
// How many screens there are: Form4 is the last of them.
inline constexpr std::size_t ScreenCount = static_cast<std::size_t>(Screen::Form4) + 1;

// Opens the screen: a closed one is created afresh in its designed state and shown;
// an open one is brought to the front unchanged. Returns it.
QWidget* OpenScreen(Screen screen);

// The open screen, or nullptr when it is closed.
QWidget* FindScreen(Screen screen);

// Everything the program sets up before its first screen: its names and version, the
// font of message boxes, the window icon and what assistive technology is told. Call
// once, after the application object exists; the start-up benchmark starts this way too.
void PrepareApplication();

} // namespace quenlio
