#include "radio/frmLink.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <cmath>

#include "base/dialogs.h"
#include "base/dialogs.h"
#include "base/longop.h"
#include "base/longop.h"
#include "base/mainframe.h"
#include "base/mdi.h"
#include "base/mdi.h"
#include "base/placement.h"
#include "base/routines.h"
#include "base/routines.h"
#include "base/settings.h"
#include "base/settings.h"
#include "map/geotext.h"
#include "map/mapdata.h"
#include "msgbox.h"
#include "paths.h"
#include "pictures/cursor.h"
#include "pictures/frmPic.h"
#include "pictures/picbox.h"
#include "pictures/pichooks.h"
#include "radio/linkbudget.h"
#include "radio/linkreport.h"
#include "radio/pathfile.h"
#include "radio/profile.h"
#include "radio/radiodata.h"
#include "radio/radiohooks.h"
#include "radio/roles.h"
#include "syscolors.h"

namespace zk {

int16_t txunit = 0, rxunit = 0;
std::array<int16_t, 26> netlist{};
int16_t lastangle = 0;
QString exportfile;
std::function<void(const QString &, const QStringList &)> startpathviewer;

namespace {

QPointer<frmLink> g_link;

// Twips of the layout to pixels (15 a pixel at 96 dpi).
int tw(int twips) { return int(std::lround(twips / 15.0)); }

constexpr uint32_t kGreen = 0x00FF00, kDarkGreen = 0x008000, kRed = 0x0000FF, kDarkRed = 0x000080;
constexpr uint32_t kYellow = 0x00FFFF, kBlack = 0, kWhite = 0xFFFFFF, kBlue = 0xFF0000, kGridGreen = 0x00A000;

QString unitname(int u) { return fixedText(units[u].name).trimmed(); }

// Writes t into the label, sized to its text but never wider than room
// pixels: a text too long is written smaller rather than cut, and
// shortened, with its whole text in the tool tip, only below 5 points. The
// tool tip is `tip` when the text fits.
void fitlabel(QLabel *l, const QString &t, int room, const QFont &base, const QString &tip = QString())
{
    room = std::max(1, room);
    QFont f = base;
    for (double pt = f.pointSizeF(); pt > 5 && QFontMetrics(f).horizontalAdvance(t) > room; pt -= 0.5)
        f.setPointSizeF(pt - 0.5);
    l->setFont(f);
    l->setText(t);
    l->setToolTip(tip);
    if (QFontMetrics(f).horizontalAdvance(t) > room) {
        l->setText(QFontMetrics(f).elidedText(t, Qt::ElideRight, room));
        l->setToolTip(t);
    }
    l->adjustSize();
}

class HourGlass {
public:
    HourGlass() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~HourGlass() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

QString spart(int s)
{
    QString t = QStringLiteral("( S ") + masktext(std::min(s, 9), 0);
    if (s > 9) t += QStringLiteral(" + ") + masktext(s, 0);
    return t + QStringLiteral(" ) ");
}

// ---- the window -------------------------------------------------------------

frmLink *frmLink::instance() { return g_link; }

frmLink *frmLink::open()
{
    if (!g_link) {
        g_link = new frmLink(mainWindow());
        showPlaced(g_link, &frmLink::storedFrame);
    } else {
        showPlaced(g_link);
    }
    return g_link;
}

frmLink::frmLink(QWidget *owner) : QMainWindow(owner, owner ? Qt::Tool : Qt::Window)
{
    setObjectName(QStringLiteral("frmLink"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Lien radio"));

    // Menus.
    QMenuBar *bar = menuBar();
    menu[0] = bar->addMenu(QStringLiteral("&Edition"));
    menu[0]->setObjectName(QStringLiteral("menu(1)"));
    menu1[1] = menu[0]->addAction(QStringLiteral("&Copier"));
    menu1[2] = menu[0]->addSeparator();
    menu1[3] = menu[0]->addAction(QStringLiteral("&Exporter vers..."));
    menu[1] = bar->addMenu(QStringLiteral("&Affichage"));
    menu[1]->setObjectName(QStringLiteral("menu(2)"));
    const char *views[] = {"", "&Profil", "&Inverser", "-", "&Détails", "Por&tée", "&Distribution", "-"};
    for (int i = 1; i <= 7; ++i) {
        menu2[size_t(i)] = views[i][0] == '-' ? menu[1]->addSeparator() : menu[1]->addAction(QString::fromUtf8(views[i]));
        if (i != 2 && views[i][0] != '-') menu2[size_t(i)]->setCheckable(true);
    }
    menu2[1]->setChecked(true);
    menu[2] = menu[1]->addMenu(QStringLiteral("&Observation"));
    menu[2]->setObjectName(QStringLiteral("menu2(8)"));
    menu2[8] = menu[2]->menuAction();
    const char *obs[] = {"", "5°", "10°", "20°", "40°", "80°", "&Large fenêtre", "Vue &Stéréoscopique", "-",
                         "Créer un vol normal", "Créer un vol stéréo.", "&Visionner le vol", "-", "&Options"};
    for (int i = 1; i <= 13; ++i) {
        menu21[size_t(i)] = obs[i][0] == '-' ? menu[2]->addSeparator() : menu[2]->addAction(QString::fromUtf8(obs[i]));
        menu21[size_t(i)]->setObjectName(QStringLiteral("menu21(%1)").arg(i));
        if (i <= 5) menu21[size_t(i)]->setCheckable(true);
        if (obs[i][0] != '-') connect(menu21[size_t(i)], &QAction::triggered, this, [this, i] { menu21_Click(i); });
    }
    stop = bar->addAction(QStringLiteral("&Stop"));
    stop->setObjectName(QStringLiteral("menu(3)"));
    stop->setVisible(false);
    for (int i = 1; i <= 3; ++i)
        if (menu1[size_t(i)]) menu1[size_t(i)]->setObjectName(QStringLiteral("menu1(%1)").arg(i));
    for (int i = 1; i <= 7; ++i) menu2[size_t(i)]->setObjectName(QStringLiteral("menu2(%1)").arg(i));
    connect(menu1[1], &QAction::triggered, this, [this] { menu1_Click(1); });
    connect(menu1[3], &QAction::triggered, this, [this] { menu1_Click(3); });
    for (int i : {1, 2, 4, 5, 6}) connect(menu2[size_t(i)], &QAction::triggered, this, [this, i] { menu2_Click(i); });
    for (int i = 0; i < 2; ++i) connect(menu[i], &QMenu::aboutToShow, this, [] { runflag = 0; });
    connect(stop, &QAction::triggered, this, [] { runflag = 0; });

    // Controls, placed in twips as the layout gives them.
    auto *c = new QWidget(this);
    setCentralWidget(c);
    // The layout's positions are made for a small dialog font.
    QFont small = c->font();
    small.setPointSizeF(8);
    c->setFont(small);
    auto *frame = new QFrame(c);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setGeometry(0, 0, tw(7635), tw(972));
    const char *caps[] = {"Émetteur", "Réseau", "Récepteur"};
    const int capx[] = {120, 2640, 5160};
    for (int i = 0; i < 3; ++i) {
        auto *l = new QLabel(QString::fromUtf8(caps[i]), frame);
        l->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        l->move(tw(capx[i]), tw(90));
        l->adjustSize();  // as wide as its caption, clear of the lists below
    }
    for (int i = 0; i < 2; ++i) {
        Combo1[i] = new QComboBox(frame);
        Combo1[i]->setObjectName(QStringLiteral("Combo1(%1)").arg(i));
        Combo1[i]->setGeometry(tw(i == 0 ? 120 : 5160), tw(375), tw(2355), tw(315));
        connect(Combo1[i], &QComboBox::activated, this, [this, i] { Combo1_Click(i); });
        Picture2[i] = new ScaleBox(frame);
        Picture2[i]->setObjectName(QStringLiteral("Picture2(%1)").arg(i));
        Picture2[i]->setGeometry(tw(i == 0 ? 120 : 5160), tw(730), tw(2352), tw(150));
        Picture2[i]->setBackColor(kBlack);
        Picture2[i]->setScale(0, 0, 195, 11);
    }
    Combo2 = new QComboBox(frame);
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Combo2->setGeometry(tw(2640), tw(375), tw(2355), tw(315));
    connect(Combo2, &QComboBox::activated, this, [this] { Combo2_Click(); });

    Picture1 = new ScaleBox(c);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(tw(60), tw(1080), tw(7515), tw(2535));
    Picture1->setBackColor(rgbof(syscolor(kSysWindowBackground)));
    Picture1->cls();
    connect(Picture1, &ScaleBox::mouseDown, this, [this](int button, double x, double y) {
        float X = float(x);
        Picture1_MouseDown(button, 0, X, float(y));
    });
    linkbox = Picture1;
    Line1 = new QFrame(Picture1);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setStyleSheet(QStringLiteral("background: black"));
    Line1->setAttribute(Qt::WA_TransparentForMouseEvents);
    Line1->hide();
    Label4 = new QLabel(Picture1);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setAutoFillBackground(true);
    Label4->setStyleSheet(QStringLiteral("background: white; color: %1").arg(syscolor(kSysWindowText).name()));
    Label4->setAttribute(Qt::WA_TransparentForMouseEvents);
    Label4->hide();

    const char *capsA[] = {"Rôle", "Nom du système Tx", "Puissance Tx (W)", "Pertes de ligne (dB)", "Gain d'antenne (dBi)",
                           "Hauteur d'antenne (m)"};
    const char *capsB[] = {"Rôle", "Nom du système Rx", "Gain d'antenne (dBi)", "Pertes de ligne (dB)", "Sensitivité Rx (µV)",
                           "Hauteur d'antenne (m)"};
    for (int r = 0; r < 6; ++r) {
        const int y = tw(3720 + 240 * r);
        for (int side = 0; side < 2; ++side) {
            auto *cap = new QLabel(c);
            cap->setObjectName(QStringLiteral("Label5(%1)").arg((side == 0 ? 100 : 200) + r));
            cap->move(tw(side == 0 ? 75 : 3960), y);
            // A caption ends before the value column of its side.
            fitlabel(cap, QString::fromUtf8(side == 0 ? capsA[r] : capsB[r]), tw(side == 0 ? 1800 : 5760) - tw(60) - cap->x(),
                     small, r == 5 ? QStringLiteral("0.5 à 2999m") : QString());
            Label5[(side == 0 ? 100 : 200) + r] = cap;
            if (r < 5) {
                auto *v = new QLabel(QStringLiteral("-"), c);
                const int idx = (side == 0 ? 0 : 10) + r;
                v->setObjectName(QStringLiteral("Label5(%1)").arg(idx));
                v->move(tw(side == 0 ? 1800 : 5760), y);
                v->setStyleSheet(QStringLiteral("color: rgb(0, 0, 192)"));
                v->adjustSize();
                Label5[idx] = v;
            }
        }
    }
    for (int i = 0; i < 2; ++i) {
        Text1[i] = new QLineEdit(c);
        Text1[i]->setObjectName(QStringLiteral("Text1(%1)").arg(i));
        Text1[i]->setGeometry(tw(i == 0 ? 1800 : 5760), tw(4920), tw(735), tw(285));
        Command1[i] = new QPushButton(QStringLiteral("Appliquer"), c);
        Command1[i]->setObjectName(QStringLiteral("Command1(%1)").arg(i));
        Command1[i]->setGeometry(tw(i == 0 ? 2640 : 6600), tw(4920), tw(855), tw(285));
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        connect(Text1[i], &QLineEdit::returnPressed, this, [this, i] { Command1_Click(i); });
    }
    // The window sees key presses before its controls.
    for (QWidget *w : c->findChildren<QWidget *>()) w->installEventFilter(this);

    // Form_Load.
    for (int side = 0; side < 2; ++side) {
        QSignalBlocker block(Combo1[side]);
        for (int i = 1; i <= kUnits; ++i) Combo1[side]->addItem(unitname(i));
        // Both lists start with no selection, so that choosing side A first
        // computes nothing (and does not replace the last link's network).
        Combo1[side]->setCurrentIndex(-1);
    }
    const int la = linka, lb = linkb;
    selectunit(0, std::max(la - 1, 0));
    selectunit(1, std::max(lb - 1, 0));

    const int bottom = Command1[1]->geometry().bottom() + 1 + tw(50);
    setFixedSize(tw(7635), bottom + menuBar()->sizeHint().height());
}

QPoint frmLink::storedFrame(const QSize &)
{
    // The frame's top-left as the close stored it, in twips; showPlaced
    // keeps the whole frame on the screen.
    const auto left = settingWhole(readsetting(QStringLiteral("LinkLeft"), 0), -1000000, 1000000).value_or(0);
    const auto top = settingWhole(readsetting(QStringLiteral("LinkTop"), 0), -1000000, 1000000).value_or(0);
    return QPoint(int(left / 15), int(top / 15));
}

frmLink::~frmLink()
{
    if (linkbox == Picture1) linkbox = nullptr;
}

void frmLink::selectunit(int side, int entry)
{
    if (side < 0 || side > 1) return;
    {
        QSignalBlocker block(Combo1[side]);
        Combo1[side]->setCurrentIndex(entry);
    }
    Combo1_Click(side);
}

void frmLink::selectnet(int entry)
{
    {
        QSignalBlocker block(Combo2);
        Combo2->setCurrentIndex(entry);
    }
    Combo2_Click();
}

void frmLink::clearview()
{
    // The window background of the system colours: a picture box's inside
    // (white), not the grey of the dialog around it.
    Picture1->setBackColor(rgbof(syscolor(kSysWindowBackground)));
    Picture1->cls();
    Line1->hide();
    Label4->hide();
    smeter(0, 0);
    smeter(0, 1);
}

void frmLink::Combo1_Click(int)
{
    netlist.fill(0);
    {
        QSignalBlocker block(Combo2);
        Combo2->clear();
    }
    txunit = int16_t(Combo1[0]->currentIndex() + 1);
    rxunit = int16_t(Combo1[1]->currentIndex() + 1);
    linktext1.clear();
    linktext2.clear();
    linktext3.clear();
    linktext4.clear();
    Line1->hide();
    Label4->hide();
    smeter(0, 0);
    smeter(0, 1);
    if (txunit >= 1 && rxunit >= 1 && txunit != rxunit) {
        int chosen = 0, k = 0;
        QSignalBlocker block(Combo2);
        if (units[txunit].enabled && units[rxunit].enabled) {
            for (int n = 1; n <= kNets; ++n) {
                if ((nets[n].member[txunit - 1] & 0x80) && (nets[n].member[rxunit - 1] & 0x80)) {
                    // The name as stored: 30 characters, trailing blanks kept.
                    Combo2->addItem(fixedText(nets[n].name).leftJustified(30, QLatin1Char(' ')));
                    netlist[size_t(k)] = int16_t(n);
                    if (n == linknet) chosen = k;
                    ++k;
                }
            }
        }
        if (k == 0) Combo2->addItem(QStringLiteral("Pas de réseau commun"));
        block.unblock();
        selectnet(chosen);
    } else {
        Picture1->cls();
    }
}

void frmLink::Combo2_Click() { menu2_Click(1); }

void frmLink::menu2_Click(int index)
{
    HourGlass hg;
    if (index >= 1 && index <= 6) {
        clearview();
        for (int i : {1, 2, 4, 5, 6}) menu2[size_t(i)]->setChecked(i == index);
    }
    const int s = Combo2->currentIndex();
    switch (index) {
    case 1:
        if (s >= 0 && txunit >= 1 && rxunit >= 1) {
            Line1->show();
            linkbox = Picture1;
            linkreport(txunit, rxunit, netlist[size_t(s)]);
            float x = 170;
            Picture1_MouseDown(0, 0, x, 0);
            linka = txunit;
            linkb = rxunit;
            linknet = netlist[size_t(s)];
            details();
            if (pfl[1] < 1) emptyprofile();
        }
        break;
    case 2:
        if (s >= 0 && txunit >= 1 && rxunit >= 1) {
            const int t = txunit;
            selectunit(0, rxunit - 1);
            selectunit(1, t - 1);
        }
        break;
    case 4: {
        const int m = int(std::max(pfl[1], 100.0));
        Picture1->setScale(-m * 0.05, 0, m * 1.1, Picture1->height());
        Picture1->cls();
        QStringList text;
        for (const QString *t : {&linktext1, &linktext2, &linktext3, &linktext4})
            if (!t->isEmpty()) text += t->split(QStringLiteral("\r\n"));
        // No line may be cut: a line wider than the box goes on in the next
        // one, and when the lines are then too many for the box's height the
        // font gets smaller, down to 6 points.
        const QFont keep = Picture1->font();
        QFont f = keep;
        QStringList shown;
        for (double pt = keep.pointSizeF() > 0 ? keep.pointSizeF() : 8;; pt -= 0.5) {
            f.setPointSizeF(pt);
            Picture1->setFont(f);
            shown = fitlines(text, Picture1->scaleWidth());
            if (shown.size() * Picture1->textHeight() <= Picture1->scaleHeight() || pt <= 6) break;
        }
        double y = 0;
        for (const QString &l : shown) {
            Picture1->print(Picture1->scaleLeft(), y, l, kBlack);
            y += Picture1->textHeight();
        }
        Picture1->setFont(keep);
        break;
    }
    case 5:
        rangeview();
        break;
    case 6:
        if (s >= 0 && txunit >= 1 && rxunit >= 1 && txunit != rxunit) signalbar(Picture1, netlist[size_t(s)], txunit, rxunit);
        break;
    default:
        break;
    }
}

void frmLink::emptyprofile()
{
    // No cursor on a profile that is not there; the banner says why.
    Line1->hide();
    Label4->setText(emptyprofilereason(txunit, rxunit));
    Label4->setGeometry(0, 0, Picture1->width(), Label4->sizeHint().height());
    Label4->show();
    Label4->raise();
}

QStringList frmLink::fitlines(const QStringList &lines, double width) const
{
    QStringList out;
    for (QString l : lines) {
        while (Picture1->textWidth(l) > width) {
            // The longest head that fits, ended at a blank when there is one.
            int cut = int(l.size()) - 1;
            while (cut > 1 && Picture1->textWidth(l.left(cut)) > width) --cut;
            const int blank = int(l.lastIndexOf(QLatin1Char(' '), cut));
            if (blank > 1) cut = blank;
            if (cut < 2) break;  // a box too narrow for any text
            out += l.left(cut);
            // The rest goes on one blank in, as the lines of the texts do.
            l = QStringLiteral(" ") + l.mid(cut).trimmed();
        }
        out += l;
    }
    return out;
}

void frmLink::menu21_Click(int index)
{
    if (index < 1 || index > 13) return;
    for (int i : {1, 2, 4, 5, 6}) menu2[size_t(i)]->setChecked(false);
    for (int i = 1; i <= 5; ++i) menu21[size_t(i)]->setChecked(i == index);
    if (lastangle == 0) lastangle = 40;

    if (index <= 5) {
        Line1->hide();
        Label4->hide();
        smeter(-100, 0);
        smeter(-100, 1);
        linka = std::max<int16_t>(linka, 1);
        linkb = std::max<int16_t>(linkb, 1);
        // The caption without its degree sign.
        QString cap = menu21[size_t(index)]->text();
        cap.chop(1);
        lastangle = int16_t(roundEven(cap.toDouble()));
        newpic = false;
        const int a = linka, b = linkb;
        QPointer<frmLink> self(this);
        QPointer<ScaleBox> box(Picture1);
        for (QComboBox *c : {Combo1[0], Combo1[1], Combo2}) c->setEnabled(false);
        QWidget *pic = box.data();
        if (radiohooks.drawview) radiohooks.drawview(pic, linknet, a, b, lastangle, false, 0);
        // The window may have been closed while the view was drawn.
        if (!self) return;
        for (QComboBox *c : {Combo1[0], Combo1[1], Combo2}) c->setEnabled(true);
        if (a >= 1 && a <= kUnits && b >= 1 && b <= kUnits) {
            Label4->setText(QStringLiteral(" ") + unitname(b) + QStringLiteral(" tel que vue depuis ") + unitname(a) +
                            QStringLiteral(" "));
            Label4->adjustSize();
            Label4->move(int(std::lround((Picture1->width() - Label4->width()) * 0.5)), 0);
            Label4->show();
            Label4->raise();
        }
        drawlink(a, b, 0xC8C8C8);
        return;
    }
    switch (index) {
    case 6:
    case 7: {
        // The view goes into a new window as large as the screen; this
        // window closes first.
        const int a = linka, b = linkb, n = linknet;
        const float fov = lastangle;
        close();
        newpic = true;
        QWidget *pic = nullptr;
        if (radiohooks.drawview) radiohooks.drawview(pic, n, a, b, fov, index == 7, 0);
        break;
    }
    case 9:
    case 10: {
        if (radiohooks.flyview) radiohooks.flyview(lastangle, linka, linkb, linknet, index == 10);
        if (radiohooks.closeflightplayer) radiohooks.closeflightplayer();
        break;
    }
    case 11:
        if (radiohooks.playflight) radiohooks.playflight(3.0);
        break;
    case 13:
        if (radiohooks.showobs) radiohooks.showobs(this);
        break;
    default: break;
    }
}

void frmLink::details()
{
    if (linknet < 1 || linknet > kNets) {
        for (int i : {0, 1, 2, 3, 4, 10, 11, 12, 13, 14}) Label5[i]->clear();
        Text1[0]->setText(QLocale().toString(settings.defh1, 'g', QLocale::FloatingPointShortest));
        Text1[1]->setText(QLocale().toString(settings.defh2, 'g', QLocale::FloatingPointShortest));
        return;
    }
    const NetRecord &n = nets[linknet];
    // The kind is the low byte; bit 8 only says whether the network is shown.
    curtopo = int16_t(netkind(n));
    topologyname();
    auto set = [this](int i, const QString &t) { setvalue(i, t); };
    const int a = n.system[txunit - 1], b = n.system[rxunit - 1];
    set(0, rolenames[size_t(n.member[txunit - 1] & 15) % 3]);
    set(10, rolenames[size_t(n.member[rxunit - 1] & 15) % 3]);
    // A system number the tables do not hold shows no system at all, never
    // the fields of the link shown before.
    for (int i : {1, 2, 3, 4, 11, 12, 13, 14}) set(i, QString());
    if (a >= 1 && a <= kSystems) {
        const SystemRecord &sa = systems[a];
        set(1, fixedText(sa.name).trimmed());
        set(2, masktext(sa.power, 3));
        set(3, masktext(sa.loss, 1));
        set(4, masktext(sa.gain, 1));
    }
    if (b >= 1 && b <= kSystems) {
        const SystemRecord &sb = systems[b];
        set(11, fixedText(sb.name).trimmed());
        set(12, masktext(sb.gain, 1));
        set(13, masktext(sb.loss, 1));
        set(14, masktext(std::pow(10.0, (sb.threshold + 107) / 20.0), 2));
    }
    Text1[0]->setText(masktext(antheight(linknet, txunit), 1));
    Text1[0]->selectAll();
    Text1[1]->setText(masktext(antheight(linknet, rxunit), 1));
    Text1[1]->selectAll();
}


void frmLink::setvalue(int i, const QString &t)
{
    // A value ends before the other side's captions (side A) or the
    // window's edge (side B).
    const int right = i < 10 ? Label5[200]->x() - tw(60) : tw(7635) - tw(60);
    fitlabel(Label5[i], t, right - Label5[i]->x(), Label5[100]->parentWidget()->font());
}

void frmLink::Command1_Click(int index)
{
    if (index < 0 || index > 1) return;
    bool ok = false;
    double h = QLocale().toDouble(Text1[index]->text().trimmed(), &ok);
    h = ok && std::isfinite(h) ? std::max(std::min(h, 2999.0), 0.5) : 0;
    if (linknet < 1 || linknet > kNets) {
        (index == 0 ? settings.defh1 : settings.defh2) = float(h);
    } else {
        const int u = index == 0 ? txunit : rxunit;
        if (u >= 1 && u <= kUnits) {
            netheight(linknet, u) = float(h);
            // The heights are saved in the network file.
            netmodified = true;
        }
    }
    menu2_Click(1);
}

void frmLink::smeter(float s, int index)
{
    if (index < 0 || index > 1) return;
    ScaleBox *m = Picture2[index];
    m->setScale(0, 0, 195, 11);
    m->cls();
    const long long v = roundEven(std::clamp(double(s), -1e6, 1e6));
    for (int k = 1; k <= 12; ++k) {
        uint32_t col;
        if (k <= 9) col = k <= v ? kGreen : kDarkGreen;
        else col = (k - 9) * 10 <= v ? kRed : kDarkRed;
        m->box(16 * k - 14, 2, 16 * k - 2, 8, col);
    }
}

void frmLink::Picture1_MouseDown(int button, int, float &X, float)
{
    if (Line1->isHidden() || pfl[1] < 1) return;
    const double n = pfl[1];
    X = float(std::max(std::min(double(X), n), 0.0));
    const double f = X / n, g = 1 - f, L = pfl[2] * n / 1000;
    cursorx_ = X;
    const int px = int(std::lround(Picture1->topix(X, 0).x()));
    Line1->setGeometry(px, 0, 1, Picture1->height());
    const double d = f * L;
    const int i = int(std::clamp<long long>(roundEven(n + 3), 3, kProfileSize - 1));
    const int j = int(std::clamp<long long>(roundEven(X + 3), 3, kProfileSize - 1));
    const double c = (lrprm.h2 + pfl[size_t(i)]) * f + (lrprm.h1 + pfl[3]) * g - pfl[size_t(j)];
    QString t = QStringLiteral(" Distance:") + masktext(d, 2) + QStringLiteral("km  ") +
                (c > 0 ? QStringLiteral("Dégagement:") : QStringLiteral("Obstruction:")) + masktext(std::abs(c), 2) +
                QStringLiteral("m  ");
    if (lrloss[size_t(j)] > 0) {
        if (f > 0 && f < 1 && lrprm.freq > 0)
            t += masktext(0.001827906 * std::abs(c) / std::sqrt(f * g * L / lrprm.freq), 1) + QStringLiteral("F1  ");
        const double m = sysgainab - lrloss[size_t(j)];
        t += QStringLiteral("Rx:") + masktext(m, 2) + QStringLiteral("dB  ");
        const int s = sunits(float(m), float(lrprm.freq));
        smeter(s, 1);
        t += spart(s);
        const double m2 = sysgainba - lrloss[size_t(j)];
        smeter(sunits(float(m2), float(lrprm.freq)), 0);
    }
    Label4->setText(t);
    Label4->setGeometry(0, 0, Picture1->width(), Label4->sizeHint().height());
    Label4->show();
    Label4->raise();
    Line1->raise();

    if (button > 0 && txunit >= 1 && rxunit >= 1) {
        double la = units[txunit].lon, lb = units[rxunit].lon;
        if (mapcorners.lon[1] >= 180) {
            if (la < 0) la += 360;
            if (lb < 0) lb += 360;
        }
        if (mapcorners.lon[0] < -180) {
            if (la > 0) la -= 360;
            if (lb > 0) lb -= 360;
        }
        showcursor(float(lb * f + la * g), float(units[rxunit].lat * f + units[txunit].lat * g));
    }
}

void frmLink::rangeview()
{
    const int s = Combo2->currentIndex();
    if (s < 0 || netlist[size_t(s)] == 0 || txunit == rxunit) return;
    const int n = int(roundEven(pfl[1]));
    Picture1->cls();
    if (lrloss[4] == 0 || n < 1) return;
    Line1->show();
    const double G = sysgainab;
    Picture1->setScale(-n * 0.05, 0, n * 1.1, G * 1.5);
    Picture1->line(n, G, 0, G, kYellow);
    Picture1->print(0, G, QStringLiteral("Gain de système=") + masktext(G, 1) + QStringLiteral(" dB"), kYellow);
    double px = 0, py = 0;
    int best = n;
    for (int i = 1; i <= n; ++i) {
        const double dm = G - lrloss[size_t(i + 3)];
        uint32_t col;
        if (dm > 3) col = kGreen;
        else if (dm > -1) col = kYellow;
        else {
            col = dm > -3 ? kYellow : kRed;
            if (best == n) best = i;
        }
        Picture1->line(px, py, i, lrloss[size_t(i + 3)], col);
        px = i;
        py = lrloss[size_t(i + 3)];
    }
    float x = float(best);
    Picture1_MouseDown(0, 0, x, 0);
}

void frmLink::menu1_Click(int index)
{
    HourGlass hg;
    if (exportfile.isEmpty()) exportfile = paths::writableDataFile(QStringLiteral("profile.txt"));
    if (index == 1) {
        auto *data = new QMimeData;
        data->setImageData(Picture1->image());
        double z1 = 0, z2 = 0;
        const QString pair = londms(z1) + QLatin1Char(' ') + latdms(z2) + QStringLiteral(", ");
        data->setText(pair + pair + pair + pair + QStringLiteral("04, Copie d'un lien"));
        if (QClipboard *cb = QGuiApplication::clipboard()) {
            cb->clear();
            cb->setMimeData(data);
        } else {
            delete data;
        }
        return;
    }
    if (index != 3) return;
    if (txunit < 1 || rxunit < 1 || txunit == rxunit) {
        msgbox(QStringLiteral("Pas de données exportables"), mbOK, QString(), this);
        return;
    }
    const int s = Combo2->currentIndex();
    const int n = s >= 0 ? netlist[size_t(s)] : 0;
    const QString file = getsavefile(this, exportfile, QStringLiteral("Fichier texte (*.TXT)"), QStringLiteral("*.TXT"),
                                     QStringLiteral("Enregistrer le profile"), QStringLiteral("TXT"));
    if (file.trimmed().isEmpty()) return;
    exportfile = file.trimmed();
    if (getprofile(txunit, rxunit) <= 2) {
        // A path the viewer cannot draw: say so rather than open it on nothing.
        linkreport(txunit, rxunit, n);
        msgbox(QStringLiteral("Le parcours est trop court pour être exporté."), mbOK | mbExclamation, QString(), this);
        return;
    }
    if (!writepath(exportfile, txunit, rxunit, n)) {
        msgbox(QStringLiteral("Impossible d'écrire le fichier ") + exportfile, mbOK | mbExclamation, QString(), this);
        return;
    }
    const QString program = paths::programFolder() + QStringLiteral("/Zelpathfr");
    if (startpathviewer) startpathviewer(program, {exportfile});
    else QProcess::startDetached(program, {exportfile});
}

void frmLink::Form_KeyDown(int key)
{
    if (key == Qt::Key_Escape) {
        if (runflag > 0) runflag = 0;
        else close();
    } else if (key == Qt::Key_Left || key == Qt::Key_Right) {
        if (Line1->isHidden()) return;
        float x = float(cursorx_ + (key == Qt::Key_Left ? -0.5 : 0.5));
        Picture1_MouseDown(1, 0, x, 1);
    }
}

bool frmLink::eventFilter(QObject *o, QEvent *e)
{
    if (e->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(e)->key();
        // A key the control does not take comes up to the window again.
        seen_ = e;
        if (key == Qt::Key_Escape) {
            Form_KeyDown(key);
            return true;
        }
        if (key == Qt::Key_Left || key == Qt::Key_Right) Form_KeyDown(key);
    }
    return QMainWindow::eventFilter(o, e);
}

void frmLink::keyPressEvent(QKeyEvent *e)
{
    if (e != seen_) Form_KeyDown(e->key());
    seen_ = nullptr;
    QMainWindow::keyPressEvent(e);
}

void frmLink::closeEvent(QCloseEvent *e)
{
    if (runflag > 0) {
        runflag = 0;
        e->ignore();
        return;
    }
    // The frame's place as the window system has it, not Qt's copy of it.
    const QPoint at = outerFrame(this).topLeft();
    writesetting(QStringLiteral("LinkTop"), wholeText(int64_t(std::lround(at.y() * 15.0))));
    writesetting(QStringLiteral("LinkLeft"), wholeText(int64_t(std::lround(at.x() * 15.0))));
    e->accept();
}

// ---- the distribution -----------------------------------------------------

Distribution distribution(double l50, double l84, double lreq, double g)
{
    Distribution d;
    d.lo = std::min({l50, l84, lreq, g});
    d.hi = std::max({l50, l84, lreq, g});
    d.lo = d.lo - std::max(d.hi - d.lo, 2 * l84) / 2;
    d.hi = d.hi + std::max(d.hi - d.lo, l84) / 2;
    d.sigma = std::max(l84 - l50, 1.0);
    d.margin = g - lreq;
    const QString t = QStringLiteral(" (Marge = ") + masktext(d.margin, 2) + QStringLiteral(" dB)");
    d.verdict = (d.margin < 0 ? QStringLiteral(" Échec") : QStringLiteral(" Succès")) + t;
    return d;
}

void signalbar(ScaleBox *pic, int net, int a, int b)
{
    if (!pic || net < 1 || net > kNets || a < 1 || a > kUnits || b < 1 || b > kUnits) return;
    // The views after this one read the link as the analysis left it.
    const LinkParameters keep = lrprm;
    const auto keeppfl = pfl;
    const auto keeploss = lrloss;
    const double keepurban = urban;
    const int n = getprofile(int16_t(a), int16_t(b));
    if (n == 0) {
        pfl = keeppfl;
        return;
    }
    pic->cls();
    const double lreq = lrprm.loss, g = sysgainab;
    lrprm.firstpt = n;
    lrprm.ptime = lrprm.ploc = lrprm.psit = 50;
    pfl[3] = units[a].elev;
    pfl[size_t(n + 3)] = units[b].elev;
    calcloss(a, b, net, 1);
    const double l50 = lrprm.loss;
    lrprm.ptime = lrprm.ploc = lrprm.psit = 84.1;
    calcloss(a, b, net, 1);
    const double l84 = lrprm.loss;
    const Distribution d = distribution(l50, l84, lreq, g);
    const double k = -0.5 / (d.sigma * d.sigma);

    pic->setScale(d.hi, 2, d.lo - d.hi, -2.1);
    for (double x = d.hi - 1; x >= d.lo; x -= 10) pic->line(x, 0, x, 1, kGridGreen);
    auto bell = [&](double x) { return std::exp(k * (x - l50) * (x - l50)); };
    for (double x = d.lo; x <= g && x <= d.hi + 1; x += 1) pic->box(x + 0.5, 0, x - 0.5, bell(x), kGreen);
    for (double x = g + 1; x <= d.hi; x += 1) pic->box(x + 0.5, 0, x - 0.5, bell(x), kRed);
    pic->print(d.hi - 1, 1.45, QStringLiteral("Signal reçu"), kGridGreen);
    const QString div = QStringLiteral("10 dB/div");
    pic->print(d.lo + 1 + pic->textWidth(div), 1.45, div, kGridGreen);
    pic->print(d.hi - 1, 1.2, QStringLiteral("Faible"), kGridGreen);
    pic->print(d.lo + 1 + pic->textWidth(QStringLiteral("Fort")), 1.2, QStringLiteral("Fort"), kGridGreen);
    pic->line(g, -0.1, g, 1.9, kWhite);
    pic->line(lreq, -0.1, lreq, 1.7, kWhite);
    pic->line(g, 1.9, g - 5, 1.9, kWhite);
    pic->print(g - 5, 2.0, QStringLiteral("Seuil de réception"), kBlack);
    pic->line(lreq, 1.7, lreq - 5, 1.7, kWhite);
    pic->print(lreq - 5, 1.8, QStringLiteral("Performance à rencontrer"), kBlack);
    pic->line(l50, -0.1, l50, 1.2, kBlue);
    pic->line(l50, 1.2, l50 - 5, 1.2, kBlue);
    pic->print(l50 - 5, 1.3, QStringLiteral("Signal moyen"), kBlack);
    if (d.margin < 0) {
        pic->line(lreq, 1.45, g, 1.45, kRed, 3);
        pic->print(g, 1.55, d.verdict, kBlack);
    } else {
        pic->line(g, 1.45, lreq, 1.45, kGreen, 3);
        pic->print(lreq, 1.55, d.verdict, kBlack);
    }
    lrprm = keep;
    pfl = keeppfl;
    lrloss = keeploss;
    urban = keepurban;
}

// ---- openers ----------------------------------------------------------------

void linkend(int unit, int button)
{
    if (unit < 1 || unit > kUnits) return;
    if (button == 1) linka = int16_t(unit);
    else if (button == 2) linkb = int16_t(unit);
    else return;
    if (linka >= 1 && linkb >= 1 && linka != linkb) {
        const int a = linka, b = linkb;
        frmLink *w = frmLink::open();
        w->selectunit(0, a - 1);
        w->selectunit(1, b - 1);
    }
}

void installlinkwindow(MainFrame *w)
{
    pichooks.linkend = [](int unit, int button) { linkend(unit, button); };
    if (!w) return;
    if (QAction *a = w->action(QStringLiteral("mnuViewLink"))) {
        QObject::connect(a, &QAction::triggered, w, [] { frmLink::open(); });
        a->setEnabled(true);
    }
}

}  // namespace zk
