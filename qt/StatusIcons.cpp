#include "qt/StatusIcons.h"

#include <QPainter>
#include <QPixmap>
#include <QString>
#include <QSvgRenderer>

// Generated from icons.qrc. The pictures are compiled into a static library, whose resource
// registration the linker would drop unless something calls it (what Q_INIT_RESOURCE does).
int qInitResources_icons();

namespace rizorivu::qt {

namespace {

constexpr int kNotConnected = 2;
constexpr std::array kSizes = {16, 22, 24, 32, 48, 64};

QIcon render(int index) {
    QSvgRenderer renderer(QStringLiteral(":/rizorivu/icons/status%1.svg").arg(index));
    QIcon icon;
    if (!renderer.isValid()) {
        return icon;
    }
    for (const int size : kSizes) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace

StatusIcons::StatusIcons() {
    ::qInitResources_icons();
    for (int i = 0; i < kCount; ++i) {
        icons_[i] = render(i);
    }
}

const QIcon& StatusIcons::icon(int index) const {
    return icons_[index >= 0 && index < kCount ? index : kNotConnected];
}

}  // namespace rizorivu::qt
