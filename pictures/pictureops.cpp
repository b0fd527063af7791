#include "pictureops.h"

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "base/mainframe.h"
#include "base/mdi.h"
#include "pictures/draw2d.h"
#include "pictures/fitmap.h"
#include "pictures/frmFull.h"
#include "pictures/frmMapPro.h"
#include "pictures/frmMerge.h"
#include "pictures/frmPic.h"
#include "pictures/frmRotate.h"
#include "pictures/frmStrat.h"
#include "pictures/geogrid.h"
#include "pictures/mainlink.h"
#include "pictures/merge.h"
#include "pictures/strat.h"
#include "pictures/worldmap.h"

namespace zk {

namespace {

constexpr uint32_t kFloodColour = 0xA05000;  // RGB(0, 80, 160)

// The main window's active child window (a picture window or another
// child), or null.
QWidget *activechild()
{
    QMdiArea *area = mdiArea();
    return area ? area->currentSubWindow() : nullptr;
}

}  // namespace

void mnuEditMerge_Click()
{
    frmMerge dlg(mainowner());
    dlg.exec();
}

void mnuGR_Grid_Click(int index) { drawgrid(activechild(), float(index)); }

void mnuFlood_Click() { flood(kFloodColour); }

void mnuStrat_Click()
{
    if (!findsource2d()) return;
    frmStrat dlg(mainowner());
    dlg.exec();
}

void mnuRot_Click()
{
    if (!qobject_cast<frmPic *>(activechild())) return;
    frmRotate dlg(mainowner());
    dlg.exec();
}

void mnuProject_Click() { projectpic(); }

void mnuFixmap_Click() { fitmap(activechild()); }

void mnuViewWorld_Click() { worldmap(); }

void mnuViewFull_Click()
{
    if (frmPic *w = qobject_cast<frmPic *>(activechild())) {
        if (mainform) mainform->closetoolwindows();
        QApplication::setOverrideCursor(Qt::WaitCursor);
        showfull(w);
        QApplication::restoreOverrideCursor();
    }
}

void installpictureops(MainFrame *w)
{
    mapproworldmap = [] { worldmap(); };
    if (!w) return;
    connectitem(w, QStringLiteral("mnuEditMerge"), [] { mnuEditMerge_Click(); });
    for (int i = 1; i <= 4; ++i) connectitem(w, QStringLiteral("mnuGR(%1)").arg(i), [i] { mnuGR_Grid_Click(i); });
    connectitem(w, QStringLiteral("mnuFlood"), [] { mnuFlood_Click(); });
    connectitem(w, QStringLiteral("mnuStrat"), [] { mnuStrat_Click(); });
    connectitem(w, QStringLiteral("mnuRot"), [] { mnuRot_Click(); });
    connectitem(w, QStringLiteral("mnuProject"), [] { mnuProject_Click(); });
    connectitem(w, QStringLiteral("mnuFixmap"), [] { mnuFixmap_Click(); });
    connectitem(w, QStringLiteral("mnuViewWorld"), [] { mnuViewWorld_Click(); });
    connectitem(w, QStringLiteral("mnuViewFull"), [] { mnuViewFull_Click(); });
}

}  // namespace zk
