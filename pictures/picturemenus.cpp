#include "picturemenus.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "base/longop.h"
#include "base/mainframe.h"
#include "base/mdi.h"
#include "map/mapservices.h"
#include "pictures/colorscale.h"
#include "pictures/draw2d.h"
#include "pictures/frmCustom.h"
#include "pictures/frmMapPro.h"
#include "pictures/frmPic.h"
#include "pictures/frmPicPro.h"
#include "pictures/mainlink.h"
#include "pictures/picfiles.h"
#include "pictures/utmgrid.h"
#include "pictures/view3d.h"

namespace zk {

namespace {

// The main window's active child window (a picture window or another
// child), or null.
QWidget *activechild()
{
    QMdiArea *area = mdiArea();
    return area ? area->currentSubWindow() : nullptr;
}

// "Shows the main window again" after a dialog.
void showmain()
{
    if (QWidget *m = mainowner()) {
        m->show();
        m->raise();
    }
}

}  // namespace

void mnuFileMap_Click()
{
    frmMapPro *w = showmappro();
    showmain();
    // The tool window stays in front of its owner.
    if (w) w->raise();
}

void mnuFileNewPic_Click()
{
    newpic = true;
    {
        frmPicPro dlg(mainowner());
        dlg.exec();
    }
    showmain();
    newpic = false;
    if (runflag > 0) {
        openpicture(QString(), -1);
        draw2d(activechild(), true);
    }
}

void mnuFilePic_Click()
{
    // 1-2. The kind of the active picture (1 with none), and whether an
    // applied dialog draws a new picture: always from the world map, which is
    // never redrawn in place.
    QWidget *active = activechild();
    auto *pic = qobject_cast<frmPic *>(active);
    int kind = 1;
    if (pic) kind = pic->Pictype;
    if (active) newpic = !pic || pic->windowTitle() == QLatin1String("Mappemonde");

    // 3. By kind.
    switch (kind) {
    case 1: {
        {
            frmPicPro dlg(mainowner());
            dlg.exec();
        }
        showmain();
        if (runflag > 0) draw2d(activechild(), true);
        break;
    }
    case 3:
        new3d = 0;
        if (picprohooks.show3dpic) picprohooks.show3dpic();
        break;
    case 4: break;
    default: frmCustom::showDialog(); break;
    }
}

void mnuGR_Click(int index)
{
    if (index == 5 || index == 6) drawutmgrid(activechild(), index - 5);
}

void installpicturemenus(MainFrame *w)
{
    mapservices.initcolors = [] { initcolors(); };
    if (!w) return;
    connectitem(w, QStringLiteral("mnuFileMap"), [] { mnuFileMap_Click(); });
    connectitem(w, QStringLiteral("mnuFileNewPic"), [] { mnuFileNewPic_Click(); });
    connectitem(w, QStringLiteral("mnuFilePic"), [] { mnuFilePic_Click(); });
    connectitem(w, QStringLiteral("mnuGR(5)"), [] { mnuGR_Click(5); });
    connectitem(w, QStringLiteral("mnuGR(6)"), [] { mnuGR_Click(6); });
}

}  // namespace zk
