#include "radio/netmenus.h"

#include <QAction>
#include <QElapsedTimer>
#include <QMainWindow>

#include "base/mainframe.h"
#include "base/mdi.h"
#include "pictures/pichooks.h"
#include "radio/frmLink.h"
#include "radio/frmNet.h"
#include "radio/frmReport.h"
#include "radio/frmUnit.h"
#include "radio/netdraw.h"
#include "radio/radiodata.h"
#include "radio/unitdraw.h"

namespace zk {

namespace {

constexpr double kSlowRedraw_s = 5;

std::function<double()> g_clock;

// A steady clock rather than the time of day: a redraw across midnight (or
// a clock change) must not count as fast or slow.
double seconds()
{
    if (g_clock) return g_clock();
    static QElapsedTimer t;
    if (!t.isValid()) t.start();
    return double(t.nsecsElapsed()) / 1e9;
}

QAction *menuitem(const char *name) { return mainform ? mainform->action(QLatin1String(name)) : nullptr; }

}  // namespace

void setnetredrawclock(std::function<double()> clock) { g_clock = std::move(clock); }

void mnuFileNet_Click()
{
    {
        frmNet dlg(mainWindow());
        dlg.exec();
    }
    QAction *autoredraw = menuitem("mnuViewAutoRedraw");
    // Without a main window (no menu) the networks are redrawn, as the
    // item is checked at start.
    if (!autoredraw || autoredraw->isChecked()) {
        const double t0 = seconds();
        drawnets();
        if (autoredraw && seconds() - t0 > kSlowRedraw_s) autoredraw->setChecked(false);
    } else {
        clearoverlay();
    }
}

void mnuEditUnit_Click()
{
    {
        frmUnit dlg(mainWindow());
        dlg.exec();
    }
    if (QMainWindow *m = mainWindow()) m->show();
}

void showunitdialog(int unit)
{
    if (unit < 1 || unit > kUnits) return;
    // The radio-link window closes first (storing its place): the unit
    // dialog may change the link it shows.
    if (frmLink *link = frmLink::instance()) link->close();
    curunit = int16_t(unit);
    frmUnit dlg(mainWindow());
    dlg.exec();
}

void installnetdialogs(MainFrame *w)
{
    if (!w) return;
    if (QAction *a = w->action(QStringLiteral("mnuFileNet"))) {
        QObject::connect(a, &QAction::triggered, w, [] { mnuFileNet_Click(); });
        a->setEnabled(true);
    }
    if (QAction *a = w->action(QStringLiteral("mnuEditUnit"))) {
        QObject::connect(a, &QAction::triggered, w, [] { mnuEditUnit_Click(); });
        a->setEnabled(true);
    }
    pichooks.showunit = [](int unit) { showunitdialog(unit); };
    // "Rapport": the network report window.
    installreportmenu(w);
}

}  // namespace zk
