#pragma once

#include "ui/control.h"

#include <QColor>

namespace ui {

inline QColor toQColor(BgrColour bgr)
{
    return QColor(int(bgr & 0xFFu), int((bgr >> 8) & 0xFFu), int((bgr >> 16) & 0xFFu));
}

} // namespace ui
