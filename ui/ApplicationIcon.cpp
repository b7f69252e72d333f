#include "ui/ApplicationIcon.h"

#include <QIcon>

namespace ui {

QIcon ApplicationIcon() {
    // Rendered by the build from the project's drawings and compiled in.
    QIcon icon;
    for (const int size : {16, 32, 48}) {
        icon.addFile(QStringLiteral(":/icon/kirorin-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

} // namespace ui
