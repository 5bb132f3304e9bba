#include "presentation/artwork.h"

namespace kelvoro {

QIcon applicationIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/art/kelvoro-%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace kelvoro
