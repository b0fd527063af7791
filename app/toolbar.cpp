// The drawn toolbar: 19 button images on the strip `Picture1`, separators in
// front of the groups, and a frame of four lines that the pointer moves from
// button to button (raised over a button, sunken while it is pressed).
#include <QAction>
#include <QApplication>

#include <cmath>

#include "app/mainwindow.h"
#include "base/artwork.h"
#include "base/controls.h"
#include "base/screen.h"

namespace zk {

namespace {

struct ButtonDef {
    const char *tip;
    const char *command;
};
const ButtonDef kButtonDefs[frmMain::kButtons] = {
    {"Nouveaux réseaux", "mnuFileNewNet"},
    {"Ouvrir des réseaux", "mnuFileOpenNet"},
    {"Enregistrer les réseaux sous", "mnuFileSaveNet"},
    {"Propriétés des réseaux", "mnuFileNet"},
    {"Ouvrir une carte", "mnuFileOpenMap"},
    {"Enregistrer la carte sous", "mnuFileSaveMap"},
    {"Propriétés de la carte", "mnuFileMap"},
    {"Nouvelle image", "mnuFileNewPic"},
    {"Ouvrir une image", "mnuFileOpenPic"},
    {"Enregistrer l'image sous", "mnuFileSavePic"},
    {"Propriétés de l'image", "mnuFilePic"},
    {"Imprimer", "mnuFilePrint"},
    {"Copier", "mnuEditCopy"},
    {"Coller", "mnuEditPaste"},
    {"Localisation GPS", "mnuViewGPS"},
    {"Propriétés des stations", "mnuEditUnit"},
    {"Lien radio", "mnuViewLink"},
    {"Montrer les réseaux", "mnuViewShowNet"},
    {"Stop", "mnuStop"},
};

QString indexed(const char *name, int i) { return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i); }

}  // namespace

bool isSeparatorIndex(int i) { return i == 4 || i == 7 || i == 11 || i == 12 || i == 14 || i == 18; }

const char *frmMain::buttonCommand(int i) { return (i >= 0 && i < kButtons) ? kButtonDefs[i].command : ""; }
QString frmMain::buttonToolTip(int i) { return (i >= 0 && i < kButtons) ? QString::fromUtf8(kButtonDefs[i].tip) : QString(); }

ToolbarLayout toolbarLayout(int innerWidthPx)
{
    ToolbarLayout l;
    int y = 4, x = 3;
    for (int i = 0; i < frmMain::kButtons; ++i) {
        if (isSeparatorIndex(i)) {
            x += 2;
            l.sepx[size_t(i)] = x;
            l.sepy[size_t(i)] = y;
            x += 5;
        }
        // Wrap when the button would reach past the window's inner width.
        if (x + 14 > innerWidthPx) {
            y += 21;
            x = 0;
        }
        l.x[size_t(i)] = x;
        l.y[size_t(i)] = y;
        x += 23;
    }
    l.height = y + 22;
    return l;
}

void frmMain::buildToolbar()
{
    const QColor shadow = palette().color(QPalette::Dark);
    const QColor light = palette().color(QPalette::Light);
    line1_ = new Line(picture1_, shadow);
    line1_->setObjectName(QStringLiteral("Line1"));
    for (int i = 0; i < kButtons; ++i) {
        auto *img = new Image(picture1_, artwork::toolbarButton(i));
        img->setObjectName(indexed("Image1", i));
        img->setToolTip(buttonToolTip(i));
        img->setMouseTracking(true);
        img->installEventFilter(this);
        image1_[size_t(i)] = img;
    }
    image1_[kButtons - 1]->hide();
    for (int i = 0; i < kButtons; ++i) {
        if (i < 4) {
            // The highlight frame: 0 and 1 light, 2 and 3 dark; hidden.
            line2_[size_t(i)] = new Line(picture1_, i < 2 ? light : shadow);
            line2_[size_t(i)]->hide();
        } else if (isSeparatorIndex(i)) {
            line2_[size_t(i)] = new Line(picture1_, shadow);
        } else {
            continue;
        }
        line2_[size_t(i)]->setObjectName(indexed("Line2", i));
    }
}

void frmMain::layoutToolbar()
{
    // The strip's top edge across the window's outer width.
    line1_->setPoints(0, 0, frameGeometry().width(), 0);
    const ToolbarLayout l = toolbarLayout(width());
    for (int i = 0; i < kButtons; ++i) {
        if (isSeparatorIndex(i)) line2_[size_t(i)]->setPoints(l.sepx[size_t(i)], l.sepy[size_t(i)] - 2, l.sepx[size_t(i)], l.sepy[size_t(i)] + 18);
        image1_[size_t(i)]->move(l.x[size_t(i)], l.y[size_t(i)]);
        buttonx_[size_t(i)] = l.x[size_t(i)] + 1;
        buttony_[size_t(i)] = l.y[size_t(i)] + 1;
    }
    picture1_->setFixedHeight(l.height);
}

void frmMain::Image1_MouseMove(int index, int state, int x, int y)
{
    if (index > -1) {
        Image *img = image1(index);
        if (!img) return;
        // Off the button (more than two pixels outside its image)?
        if (x < -2 || x > img->width() + 1 || y < -2 || y > img->height() + 1) index = -1;
    }
    if (index == -1) {
        if (hotbutton_ > -1 && hotbutton_ < kButtons) {
            image1_[size_t(hotbutton_)]->move(buttonx_[size_t(hotbutton_)], buttony_[size_t(hotbutton_)]);
            for (int k = 0; k < 4; ++k) line2_[size_t(k)]->hide();
        }
    } else if ((state != hotstate_ || index != hotbutton_) && image1_[size_t(index)]->isVisibleTo(picture1_)) {
        Image *img = image1_[size_t(index)];
        const int bx = buttonx_[size_t(index)], by = buttony_[size_t(index)];
        const int w = img->width(), h = img->height();
        int x0, y0a, y0b, x2;  // line 0: x0, from y0a to y0b; line 2 at x2
        if (state == 0) {
            img->move(bx, by);
            x0 = bx - 3;
            y0a = by - 3;
            y0b = by + h + 3;
            x2 = bx + w + 3;
        } else {
            img->move(bx + 1, by + 1);
            x2 = bx - 3;
            y0b = by - 3;
            y0a = by + h + 3;
            x0 = bx + w + 3;
        }
        line2_[0]->setPoints(x0, y0a, x0, y0b);
        line2_[2]->setPoints(x2, y0a, x2, y0b);
        line2_[1]->setPoints(x0, y0a, x2, y0a);
        line2_[3]->setPoints(x0, y0b, x2, y0b);
        for (int k = 0; k < 4; ++k) {
            line2_[size_t(k)]->show();
            line2_[size_t(k)]->raise();
        }
    }
    hotbutton_ = int16_t(index);
    hotstate_ = int16_t(state);
}

void frmMain::Image1_MouseDown(int index) { Image1_MouseMove(index, 1, 0, 0); }

void frmMain::Image1_MouseUp(int index, int, int x, int y)
{
    Image1_MouseMove(index, 0, x, y);
    if (hotbutton_ == -1) return;
    const int b = hotbutton_;
    Image1_MouseMove(-1, 0, 0, 0);
    closetoolwindows();
    runButton(b);
}

void frmMain::Picture1_MouseMove(int state, int x, int y)
{
    int found = -1;
    for (int i = kButtons - 1; i >= 0; --i) {
        if (!image1_[size_t(i)]->isVisibleTo(picture1_)) continue;
        const int bx = buttonx_[size_t(i)], by = buttony_[size_t(i)];
        if (bx - 4 < x && x < bx + 20 && by - 3 < y && y < by + 19) {
            found = i;
            break;
        }
    }
    Image1_MouseMove(found, state, 0, 0);
}

void frmMain::Picture1_MouseDown(int x, int y) { Picture1_MouseMove(1, x, y); }

void frmMain::Picture1_MouseUp(int x, int y)
{
    Picture1_MouseMove(0, x, y);
    if (hotbutton_ > -1) Image1_MouseUp(hotbutton_, 1, 0, 0);
}

void frmMain::runButton(int b)
{
    emit buttonRun(b);
    // Exactly what the menu item does; an item whose subsystem is not in
    // place yet is disabled and runs nothing.
    QAction *a = action(QLatin1String(buttonCommand(b)));
    if (a && a->isEnabled()) a->trigger();
}

void frmMain::refreshButtonGreying()
{
    for (int i = 0; i < kButtons; ++i) {
        QAction *a = action(QLatin1String(buttonCommand(i)));
        image1_[size_t(i)]->setGreyed(!a || !a->isEnabled());
    }
}

}  // namespace zk
