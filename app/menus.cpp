// The menu tree of the main window: five top-level menus and the hidden
// Stop item, every item named after its control, with its caption, shortcut
// and initial state. The commands that the shell itself carries are
// connected here; every other item stays disabled until the subsystem that
// carries its command connects and enables it.
#include <QAction>
#include <QActionGroup>
#include <QDesktopServices>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QUrl>

#include <algorithm>

#include "app/about.h"
#include "app/commands.h"
#include "app/mainwindow.h"
#include "base/hooks.h"
#include "base/longop.h"
#include "paths.h"
#include "pictures/overlaymenus.h"
#include "pictures/picturemenus.h"
#include "pictures/pictureops.h"
#include "radio/frmCoverage.h"
#include "radio/frmLink.h"
#include "radio/netmenus.h"
#include "views3d/frmAnimate.h"
#include "views3d/install3d.h"

namespace zk {

namespace {

enum Flags : unsigned { None = 0, Checked = 1, Separator = 2, SubBegin = 4, SubEnd = 8, Hidden = 16, Works = 32 };

struct Item {
    const char *name;
    const char *caption;
    const char *shortcut;
    unsigned flags;
};

// "&Fichier"
const Item kFile[] = {
    {"mnuFileNewNet", "&Nouveaux réseaux", "Ctrl+N", None},
    {"mnuFileOpenNet", "&Ouvrir des réseaux", "Ctrl+O", None},
    {"mnuFileSaveNet", "&Enregistrer les réseaux sous...", "Ctrl+S", None},
    {"mnuFileNet", "&Propriétés des réseaux", "", None},
    {"mnuFileBar1", "-", "", Separator},
    {"mnuFileOpenMap", "Ouvrir une carte", "", None},
    {"mnuFileSaveMap", "Enregistrer la carte sous...", "", None},
    {"mnuFileMap", "Propriétés de la carte", "", None},
    {"mnuFileBar2", "-", "", Separator},
    {"mnuFileNewPic", "Nouvelle image", "", None},
    {"mnuFileOpenPic", "Ouvrir une image", "", None},
    {"mnuFileSavePic", "Enregistrer l'image sous...", "", None},
    {"mnuFilePic", "Propriétés de l'image", "", None},
    {"mnuFileBar3", "-", "", Separator},
    {"mnuProp", "Mode de propagation", "", SubBegin},
    {"mnuModel(1)", "Normal", "", Checked},
    {"mnuModel(2)", "Interférence", "", SubEnd},
    {"mnuFileBar4", "-", "", Separator},
    {"mnuFilePrint", "&Imprimer", "Ctrl+P", None},
    {"mnuFileBar5", "-", "", Separator},
    {"mnuFileMRU(0)", "", "", Hidden},
    {"mnuFileMRU(1)", "", "", Hidden},
    {"mnuFileMRU(2)", "", "", Hidden},
    {"mnuFileMRU(3)", "", "", Hidden},
    {"mnuFileBar6", "-", "", Separator},
    {"mnuFileExit", "&Terminer", "", Works},
};

// "&Edition"
const Item kEdit[] = {
    {"mnuEditCopy", "&Copier", "Ctrl+C", None},
    {"mnuEditPaste", "Co&ller", "", None},
    {"mnuEditPasteNew", "Coller comme &nouvelle image", "Ctrl+V", None},
    {"mnuEditBar1", "-", "", Separator},
    {"mnuEditQuo", "Mélanger avec un carte Quo Vadis", "", SubBegin},
    {"mnuQuo(0)", "&Copier", "", None},
    {"mnuQuo(1)", "&Additionner", "", None},
    {"mnuQuo(2)", "&Multiplier", "", SubEnd},
    {"mnuEditMerge", "&Mélange d'images", "Ctrl+M", None},
    {"mnuGrll", "Dessin de &grille", "", SubBegin},
    {"mnuGR(1)", "&1 10 Degrés", "", None},
    {"mnuGR(2)", "&2 1 Degré", "", None},
    {"mnuGR(3)", "&3 15 Minutes", "", None},
    {"mnuGR(4)", "&4 1 Minute", "", None},
    {"mnuGR(5)", "&5 UTM 1 km", "", None},
    {"mnuGR(6)", "&6 UTM 10 km", "", SubEnd},
    {"mnuFlood", "&Inonder", "", None},
    {"mnuObj", "Dessin des &objets", "", SubBegin},
    {"mnuObjects(1)", "&Surfaces", "", None},
    {"mnuObjects(2)", "&Lignes", "", None},
    {"mnuObjects(3)", "&Etiquettes", "", None},
    {"mnuObjects(4)", "&Villes", "", None},
    {"mnuObjects(5)", "&Tout", "", SubEnd},
    {"mnuObject", "&Edition des objects", "", None},
    {"mnuStrat", "&Stratification", "", None},
    {"mnuRot", "&Tourner/Étirer", "", None},
    {"mnuProject", "Projection", "", None},
    {"mnuFixmap", "Ajuster la carte à l'image/sélection", "", None},
    {"mnuEditBar2", "-", "", Separator},
    {"mnuEditUnit", "&Propriétés des stations", "Ctrl+U", None},
};

// "&Affichage"
const Item kView[] = {
    {"mnuViewLink", "&Lien radio", "", None},
    {"mnuViewCover", "Couverture &radio", "", None},
    {"mnuViewVisual", "Couverture &visuelle", "", None},
    {"mnuViewGPS", "Localisation &GPS", "", None},
    {"mnuMonitor", "&Moniteur du canal multicast", "", None},
    {"mnuReport", "Rapport", "", None},
    {"mnuViewBar0", "-", "", Separator},
    {"mnuViewWorld", "&Mappemonde", "", None},
    {"mnuViewGrid", "Grille d'&altitude ", "", Checked | Works},
    {"mnuViewBar1", "-", "", Separator},
    {"mnuViewShowNet", "Montrer les réseaux", "", None},
    {"mnuViewHideNet", "Cacher les réseaux", "", None},
    {"mnuViewAutoRedraw", "Affichage automatique des réseaux", "", Checked | Works},
    {"mnuViewBar2", "-", "", Separator},
    {"mnuViewFlight", "Visionner un vol", "", None},
    {"mnuViewBar3", "-", "", Separator},
    {"mnuViewToolbar", "Barre d'outils", "", Checked | Works},
    {"mnuViewStatusBar", "Barre d'état", "", Checked | Works},
    {"mnuViewFull", "Plein écran", "", None},
    {"mnuMouseCoor", "Coordonnées de la souris", "", Checked | Works},
};

// "Fenê&tres"
const Item kWindow[] = {
    {"mnuWindowCascade", "&Cascade", "", Works},
    {"mnuWindowTileHorizontal", "Étalage &horizontal", "", Works},
    {"mnuWindowTileVertical", "Étalage &vertical", "", Works},
    {"mnuWindowArrangeIcons", "&Arranger les icônes", "", Works},
};

// "&?"
const Item kHelp[] = {
    {"mnuHelpContents", "&Contenu", "", Works},
    {"mnuHelpSearch", "&Recherche", "", Works},
    {"mnuHelpBar1", "-", "", Separator},
    {"mnuHelpAbout", "À &propos", "", Works},
};

// Items without a help context number; every other item carries its
// menu's number (1..5).
bool nohelp(const QString &name)
{
    static const QStringList kNone = {"mnuEditBar1", "mnuEditQuo", "mnuQuo(0)", "mnuQuo(1)", "mnuQuo(2)", "mnuFlood",
                                      "mnuObj", "mnuObjects(1)", "mnuObjects(2)", "mnuObjects(3)", "mnuObjects(4)",
                                      "mnuObjects(5)", "mnuObject", "mnuFixmap", "mnuMonitor", "mnuMouseCoor"};
    return kNone.contains(name);
}

// The help context number of a menu item, opened in the help file when
// the user asks for help on it (0: none).
void sethelp(QObject *o, const QString &name, int help) { o->setProperty("HelpContextID", nohelp(name) ? 0 : help); }

template <size_t N>
void fill(frmMain *w, QMenu *top, const Item (&items)[N], int help)
{
    QMenu *cur = top;
    for (const Item &it : items) {
        const QString name = QLatin1String(it.name);
        if (it.flags & Separator) {
            QAction *s = cur->addSeparator();
            s->setObjectName(name);
            sethelp(s, name, help);
            continue;
        }
        if (it.flags & SubBegin) {
            QMenu *sub = cur->addMenu(QString::fromUtf8(it.caption));
            sub->setObjectName(name);
            sub->menuAction()->setObjectName(name);
            sethelp(sub->menuAction(), name, help);
            // Enabled once one of its commands is.
            sub->menuAction()->setEnabled(false);
            cur = sub;
            continue;
        }
        auto *a = new QAction(QString::fromUtf8(it.caption), w);
        a->setObjectName(name);
        sethelp(a, name, help);
        if (*it.shortcut) a->setShortcut(QKeySequence(QLatin1String(it.shortcut)));
        if (it.flags & Checked) {
            a->setCheckable(true);
            a->setChecked(true);
        }
        if (name.startsWith(QLatin1String("mnuModel("))) a->setCheckable(true);
        if (it.flags & Hidden) a->setVisible(false);
        a->setEnabled((it.flags & Works) != 0);
        cur->addAction(a);
        if (it.flags & SubEnd) {
            QMenu *sub = cur;
            // A submenu follows the state of its commands.
            auto sync = [sub] {
                bool any = false;
                for (QAction *c : sub->actions()) any = any || (c->isEnabled() && !c->isSeparator());
                sub->menuAction()->setEnabled(any);
            };
            for (QAction *c : sub->actions()) QObject::connect(c, &QAction::changed, sub, sync);
            cur = top;
        }
    }
}

// Tiles the child windows one above the other (horizontal) or side by side
// (vertical), each over the whole width or height of the area.
void tile(QMdiArea *area, bool horizontal)
{
    QList<QMdiSubWindow *> list;
    for (QMdiSubWindow *s : area->subWindowList()) {
        if (!s->isMinimized() && s->isVisible()) list.append(s);
    }
    if (list.isEmpty()) return;
    const QRect r = area->viewport()->rect();
    const int n = int(list.size());
    for (int k = 0; k < n; ++k) {
        QMdiSubWindow *s = list[k];
        s->showNormal();
        if (horizontal) {
            const int h = r.height() / n;
            s->setGeometry(0, k * h, r.width(), k == n - 1 ? r.height() - k * h : h);
        } else {
            const int wd = r.width() / n;
            s->setGeometry(k * wd, 0, k == n - 1 ? r.width() - k * wd : wd, r.height());
        }
    }
}

// Lines the minimised child windows up along the bottom of the area.
void arrangeIcons(QMdiArea *area)
{
    const QRect r = area->viewport()->rect();
    int x = 0, y = r.height();
    for (QMdiSubWindow *s : area->subWindowList(QMdiArea::CreationOrder)) {
        if (!s->isMinimized()) continue;
        const QSize sz = s->size();
        if (x > 0 && x + sz.width() > r.width()) {
            x = 0;
            y -= sz.height();
        }
        s->move(x, y - sz.height());
        x += sz.width();
    }
}

void openHelp()
{
    // No help file ships; when one is installed it opens, and a failure is
    // ignored.
    const QString file = paths::dataFile(QStringLiteral("ZELKORFR.HLP"));
    if (paths::exists(file)) QDesktopServices::openUrl(QUrl::fromLocalFile(paths::resolve(file)));
}

}  // namespace

void frmMain::buildMenus()
{
    QMenuBar *bar = menuBar();
    static const char *const kTitles[kMenus + 1] = {"", "&Fichier", "&Edition", "&Affichage", "Fenê&tres", "&?"};
    for (int i = 1; i <= kMenus; ++i) {
        QMenu *m = bar->addMenu(QString::fromUtf8(kTitles[i]));
        m->setObjectName(QStringLiteral("menu(%1)").arg(i));
        m->menuAction()->setObjectName(QStringLiteral("menu(%1)").arg(i));
        m->menuAction()->setProperty("HelpContextID", i);
        menu_[size_t(i)] = m;
        // Opening any top-level menu closes the tool windows.
        connect(m, &QMenu::aboutToShow, this, &frmMain::closetoolwindows);
    }
    fill(this, menu_[1], kFile, 1);
    fill(this, menu_[2], kEdit, 2);
    fill(this, menu_[3], kView, 3);
    fill(this, menu_[4], kWindow, 4);
    fill(this, menu_[5], kHelp, 5);
    connect(menu_[4], &QMenu::aboutToShow, this, &frmMain::fillWindowList);

    mnuStop_ = new QAction(QStringLiteral("&Stop"), this);
    mnuStop_->setObjectName(QStringLiteral("mnuStop"));
    mnuStop_->setVisible(false);
    mnuStop_->setProperty("HelpContextID", 0);
    bar->addAction(mnuStop_);

    // The shell's own commands.
    connect(mnuStop_, &QAction::triggered, this, [] { runflag = 0; });
    connect(action(QStringLiteral("mnuFileExit")), &QAction::triggered, this, &QWidget::close);
    connect(action(QStringLiteral("mnuViewToolbar")), &QAction::triggered, this,
            [this](bool on) { picture1_->setVisible(on); });
    connect(action(QStringLiteral("mnuViewStatusBar")), &QAction::triggered, this,
            [this](bool on) { picture2_->setVisible(on); });
    connect(action(QStringLiteral("mnuViewGrid")), &QAction::triggered, this, [] { hooks::refreshcursor(); });
    connect(action(QStringLiteral("mnuWindowCascade")), &QAction::triggered, mdi_, &QMdiArea::cascadeSubWindows);
    connect(action(QStringLiteral("mnuWindowTileHorizontal")), &QAction::triggered, this, [this] { tile(mdi_, true); });
    connect(action(QStringLiteral("mnuWindowTileVertical")), &QAction::triggered, this, [this] { tile(mdi_, false); });
    connect(action(QStringLiteral("mnuWindowArrangeIcons")), &QAction::triggered, this, [this] { arrangeIcons(mdi_); });
    connect(action(QStringLiteral("mnuHelpContents")), &QAction::triggered, this, [] { openHelp(); });
    connect(action(QStringLiteral("mnuHelpSearch")), &QAction::triggered, this, [] { openHelp(); });
    connect(action(QStringLiteral("mnuHelpAbout")), &QAction::triggered, this, [this] {
        frmAbout box(this);
        box.exec();
        show();
        raise();
    });

    // Map properties, pictures of the map and the UTM grids.
    installpicturemenus(this);
    // Merging, grids, flooding, stratification, rotation, projection,
    // fitting the map, the world map and full screen.
    installpictureops(this);

    // Networks, maps and pictures opened and saved, propagation mode,
    // printing, recent files, clipboard, network drawings.
    installcommands(this);

    // The network and station dialogs.
    installnetdialogs(this);
    // The radio-link window: its command and the link ends picked on pictures.
    installlinkwindow(this);

    // The radio and visual coverage dialogs.
    installcoveragemenus(this);

    // Object drawing, the object editor and the Quo Vadis merge; the objects
    // and cities of 2D drawings and the ADRG import.
    installoverlaymenus(this);

    // 3D pictures: their dialog and the points placed on them.
    install3dhooks();
    // "Visionner un vol": the flight player.
    installflights(this);

    // A toolbar button is drawn greyed while its command is not available.
    for (int i = 0; i < kButtons; ++i) {
        if (QAction *a = action(QLatin1String(buttonCommand(i))))
            connect(a, &QAction::changed, this, &frmMain::refreshButtonGreying);
    }
    refreshButtonGreying();
}

void frmMain::fillWindowList()
{
    QMenu *m = menu_[4];
    for (QAction *a : m->actions()) {
        if (a->property("windowList").toBool()) {
            m->removeAction(a);
            a->deleteLater();
        }
    }
    const QList<QMdiSubWindow *> list = mdi_->subWindowList(QMdiArea::CreationOrder);
    if (list.isEmpty()) return;
    QAction *sep = m->addSeparator();
    sep->setProperty("windowList", true);
    int k = 0;
    for (QMdiSubWindow *s : list) {
        ++k;
        const QString title = s->windowTitle();
        QAction *a = m->addAction(k < 10 ? QStringLiteral("&%1 %2").arg(k).arg(title) : QStringLiteral("%1 %2").arg(k).arg(title));
        a->setProperty("windowList", true);
        a->setCheckable(true);
        a->setChecked(s == mdi_->activeSubWindow());
        QPointer<QMdiSubWindow> target = s;
        connect(a, &QAction::triggered, mdi_, [this, target] {
            if (target) mdi_->setActiveSubWindow(target);
        });
    }
}

}  // namespace zk
