#include "capture/WindowInfo.h"

#include "platform/Geometry.h"

QRectF WindowInfo::frameAppKit(double primaryMaxY) const {
    return geometry::topLeftToBottomLeft(frameCG, primaryMaxY);
}
