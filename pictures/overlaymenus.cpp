#include "overlaymenus.h"

#include <QAction>

#include "base/mainframe.h"
#include "pictures/adrg.h"
#include "pictures/draw2d.h"
#include "pictures/frmObject.h"
#include "pictures/frmPic.h"
#include "pictures/frmPicPro.h"
#include "pictures/overlays.h"
#include "pictures/quovadis.h"

namespace zk {

void installoverlayservices()
{
    draw2dhooks.drawobjects = [](frmPic *w, const QString &pattern, bool fill) { drawobjects(w, pattern, fill); };
    draw2dhooks.drawcities = [](frmPic *w, bool keep, const QString &file) { drawcities(w, keep, file); };
    picprohooks.openadrg = [](frmPic *w) { openadrg(w); };
    installobjecthooks();
}

void installoverlaymenus(MainFrame *w)
{
    installoverlayservices();
    if (!w) return;
    const auto wire = [w](const QString &name, auto &&run) {
        if (QAction *a = w->action(name)) {
            QObject::connect(a, &QAction::triggered, w, run);
            a->setEnabled(true);
        }
    };
    for (int i = 1; i <= 5; ++i) wire(QStringLiteral("mnuObjects(%1)").arg(i), [i] { mnuObjects_Click(i); });
    wire(QStringLiteral("mnuObject"), [] { frmObject::showEditor(); });
    for (int i = 0; i <= 2; ++i) wire(QStringLiteral("mnuQuo(%1)").arg(i), [i] { mnuQuo_Click(i); });
}

}  // namespace zk
