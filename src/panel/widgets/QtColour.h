// Colours of the core ($00BBGGRR) as Qt colours.
#pragma once

#include <QColor>

#include "core/PanelState.h"

namespace hexmoor {

inline QColor ToQColor(TColour colour) {
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

}  // namespace hexmoor
