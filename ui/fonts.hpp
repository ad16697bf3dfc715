#pragma once
// The screens' fonts: the Windows family first, then what Debian has.
#include <QFont>

namespace quenlio::fonts {

QFont Song(double points = 10.5);    // 宋体 → Noto Serif CJK SC
QFont NewSong(double points = 10.5); // 新宋体 (frame titles) → Noto Serif CJK SC
QFont Kai(double points = 12);       // 楷体_GB2312 → KaiTi → AR PL UKai CN

} // namespace quenlio::fonts
