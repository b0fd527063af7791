#include "worldmap.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include "base/mdi.h"
#include "pictures/cursor.h"
#include "pictures/frmPic.h"

// The picture is a resource of the program's static library: it has to be
// registered by name before the first use.
static void initworldresource() { Q_INIT_RESOURCE(worldmap); }

namespace zk {

namespace {

const QString kName = QStringLiteral("Mappemonde");

}  // namespace

QImage worldpicture()
{
    static const bool registered = (initworldresource(), true);
    Q_UNUSED(registered);
    return QImage(QStringLiteral(":/worldmap/mappemonde.gif"));
}

void worldmap()
{
    // 1. The window is there already: back from minimised, nothing more.
    if (QMdiArea *area = mdiArea()) {
        for (QMdiSubWindow *s : area->subWindowList(QMdiArea::CreationOrder)) {
            if (s->windowTitle() != kName) continue;
            if (s->isMinimized()) s->showNormal();
            return;
        }
    }

    // 2. A new picture window of the whole Earth.
    auto *w = new frmPic;
    w->Filename = kName;
    w->source = kName;
    w->setWindowTitle(kName);
    w->lon1 = -180;
    w->lat1 = 90;
    w->lon2 = 180;
    w->lat2 = 90;
    w->lon3 = 180;
    w->lat3 = -90;
    w->lon4 = -180;
    w->lat4 = -90;
    w->Pictype = 1;
    w->Picture1->setPicture(worldpicture());
    curpic = w;

    QMdiArea *area = mdiArea();
    if (area) {
        area->addSubWindow(w);
        // Its whole picture when the area has room for it.
        const QSize frame = w->QWidget::size() - w->client()->size();
        const QSize want = QSize(w->Picture1->width(), w->Picture1->height()) + frame;
        w->resize(want.boundedTo(area->viewport()->size()).expandedTo(QSize(120, 80)));
    }
    w->show();
    if (area) area->setActiveSubWindow(w);

    // 3.
    arrangepic(w);
    showcursor(curlon, curlat);
}

}  // namespace zk
