#include "app/ImageReadLimit.h"

#include <QImageReader>

namespace imagereadlimit {

void install() {
    QImageReader::setAllocationLimit(megabytes);
}

} // namespace imagereadlimit
