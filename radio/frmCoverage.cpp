#include "radio/frmCoverage.h"

#include <QCheckBox>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <cmath>

#include "base/dialogs.h"
#include "base/mainframe.h"
#include "base/routines.h"
#include "base/settings.h"
#include "cp1252.h"
#include "map/bearing.h"
#include "msgbox.h"
#include "paths.h"
#include "pictures/colorscale.h"
#include "pictures/covset.h"
#include "pictures/draw2d.h"
#include "pictures/frmColors.h"
#include "pictures/frmPic.h"
#include "pictures/geomap.h"
#include "pictures/picbox.h"
#include "radio/coverage.h"
#include "radio/frmVisual.h"
#include "radio/haat.h"
#include "radio/profile.h"
#include "radio/radiodata.h"
#include "radio/tablefiles.h"

namespace zk {

namespace {

bool number(const QLineEdit *box, double &v)
{
    bool ok = false;
    const double x = QLocale().toDouble(box->text().trimmed(), &ok);
    if (ok && std::isfinite(x)) v = x;
    return ok && std::isfinite(x);
}

void showselected(QLineEdit *box, double v, const char *fmt = nullptr, int decimals = 0)
{
    box->setText(fmt ? QLocale().toString(v, 'f', decimals) : QLocale().toString(v, 'g', 7).remove(QLocale().groupSeparator()));
    box->setSelection(0, int(box->text().size()));
}

template <typename T>
void readkey(const char *key, T &v, double def)
{
    bool ok = false;
    const QString text = readsetting(QLatin1String(key), def);
    double x = QLocale().toDouble(text, &ok);
    if (!ok) x = QLocale::c().toDouble(text, &ok);
    if (ok && std::isfinite(x)) v = T(x);
}

void writekey(const char *key, double v) { writesetting(QLatin1String(key), QLocale().toString(v, 'g', 7)); }

}  // namespace

frmCoverage::frmCoverage(QWidget *owner) : QDialog(owner)
{
    setWindowTitle(QStringLiteral("Couverture radio"));
    setObjectName(QStringLiteral("frmCoverage"));
    auto *grid = new QGridLayout(this);
    auto named = [](QWidget *w, const QString &name) { w->setObjectName(name); return w; };
    auto edit = [&](const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        connect(e, &QLineEdit::textChanged, this, [this, e] { rangecheck(e); });
        return e;
    };

    // Units and network.
    grid->addWidget(named(new QLabel(QStringLiteral("Station centrale"), this), QStringLiteral("Label4")), 0, 0);
    grid->addWidget(named(new QLabel(QStringLiteral("Unité mobile"), this), QStringLiteral("Label5")), 1, 0);
    grid->addWidget(named(new QLabel(QStringLiteral("Réseau"), this), QStringLiteral("Label6")), 2, 0);
    for (int i = 0; i < 2; ++i) {
        Combo2[size_t(i)] = new QComboBox(this);
        Combo2[size_t(i)]->setObjectName(QStringLiteral("Combo2(%1)").arg(i));
        grid->addWidget(Combo2[size_t(i)], i, 1, 1, 2);
    }
    Combo3 = new QComboBox(this);
    Combo3->setObjectName(QStringLiteral("Combo3"));
    grid->addWidget(Combo3, 2, 1, 1, 2);
    Command1 = new QPushButton(QStringLiteral("Appliquer"), this);
    Command3 = new QPushButton(QStringLiteral("Annuler"), this);
    Command4 = new QPushButton(QStringLiteral("HAAT"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command3->setObjectName(QStringLiteral("Command3"));
    Command4->setObjectName(QStringLiteral("Command4"));
    grid->addWidget(Command1, 0, 3);
    grid->addWidget(Command3, 1, 3);
    grid->addWidget(Command4, 2, 3);

    // Link direction.
    auto *dir = new QGroupBox(QStringLiteral("Sens du lien"), this);
    auto *dl = new QVBoxLayout(dir);
    Option2[0] = new QRadioButton(QStringLiteral("Centre Tx - Mobile Rx"), dir);
    Option2[1] = new QRadioButton(QStringLiteral("Centre Rx - Mobile Tx"), dir);
    for (int i = 0; i < 2; ++i) {
        Option2[size_t(i)]->setObjectName(QStringLiteral("Option2(%1)").arg(i));
        dl->addWidget(Option2[size_t(i)]);
    }
    grid->addWidget(dir, 3, 0, 1, 2);

    // Antenna pattern.
    auto *ant = new QGroupBox(QStringLiteral("Patron d'antenne"), this);
    auto *al = new QGridLayout(ant);
    Check2 = new QCheckBox(QStringLiteral("Utiliser l'azimut du lien"), ant);
    Check2->setObjectName(QStringLiteral("Check2"));
    al->addWidget(Check2, 0, 0, 1, 2);
    al->addWidget(named(new QLabel(QStringLiteral("Azimuth (°)"), ant), QStringLiteral("Label1")), 1, 0);
    Text4 = edit("Text4");
    al->addWidget(Text4, 1, 1);
    al->addWidget(named(new QLabel(QStringLiteral("Fichier"), ant), QStringLiteral("Label10")), 2, 0);
    Combo1 = new QComboBox(ant);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    al->addWidget(Combo1, 2, 1);
    grid->addWidget(ant, 3, 2, 1, 2);

    // Range and sweep.
    auto *range = new QGroupBox(QStringLiteral("Portée (km)"), this);
    auto *rl = new QGridLayout(range);
    rl->addWidget(named(new QLabel(QStringLiteral("Minimum"), range), QStringLiteral("Label3")), 0, 0);
    Text8 = edit("Text8");
    rl->addWidget(Text8, 0, 1);
    rl->addWidget(named(new QLabel(QStringLiteral("Maximum"), range), QStringLiteral("Label2")), 1, 0);
    Text5 = edit("Text5");
    rl->addWidget(Text5, 1, 1);
    grid->addWidget(range, 4, 0, 1, 2);
    auto *sweep = new QGroupBox(QStringLiteral("Balayage d'azimuth (°)"), this);
    auto *sl = new QGridLayout(sweep);
    sl->addWidget(named(new QLabel(QStringLiteral("Minimum"), sweep), QStringLiteral("Label7")), 0, 0);
    sl->addWidget(named(new QLabel(QStringLiteral("Maximum"), sweep), QStringLiteral("Label8")), 0, 1);
    sl->addWidget(named(new QLabel(QStringLiteral("Pas"), sweep), QStringLiteral("Label9")), 0, 2);
    Text1 = edit("Text1");
    Text2 = edit("Text2");
    Text3 = edit("Text3");
    sl->addWidget(Text1, 1, 0);
    sl->addWidget(Text2, 1, 1);
    sl->addWidget(Text3, 1, 2);
    grid->addWidget(sweep, 4, 2, 1, 2);

    // Thresholds.
    auto *thr = new QGroupBox(QStringLiteral("Seuil"), this);
    auto *tl = new QGridLayout(thr);
    const char *units3[] = {"S-unit", "dBm", "µV"};
    for (int i = 0; i < 3; ++i) {
        Option1[size_t(i)] = new QRadioButton(QString::fromUtf8(units3[i]), thr);
        Option1[size_t(i)]->setObjectName(QStringLiteral("Option1(%1)").arg(i));
        tl->addWidget(Option1[size_t(i)], 0, i);
        connect(Option1[size_t(i)], &QRadioButton::clicked, this, [this, i] { thresholdunit(i); });
    }
    tl->addWidget(named(new QLabel(QStringLiteral("De (Courbe)"), thr), QStringLiteral("Label11")), 1, 0);
    Text6 = edit("Text6");
    tl->addWidget(Text6, 1, 1, 1, 2);
    tl->addWidget(named(new QLabel(QStringLiteral("À (Surface)"), thr), QStringLiteral("Label12")), 2, 0);
    Text7 = edit("Text7");
    tl->addWidget(Text7, 2, 1, 1, 2);
    grid->addWidget(thr, 5, 0, 1, 2);

    // Drawing.
    auto *draw = new QGroupBox(QStringLiteral("Dessin"), this);
    auto *wl = new QGridLayout(draw);
    const char *caps[] = {"", "Courbe", "Surface"};
    for (int i = 1; i <= 2; ++i) {
        Check1[size_t(i)] = new QCheckBox(QString::fromUtf8(caps[i]), draw);
        Check1[size_t(i)]->setObjectName(QStringLiteral("Check1(%1)").arg(i));
        Command2[size_t(i)] = new QPushButton(QStringLiteral("Couleur"), draw);
        Command2[size_t(i)]->setObjectName(QStringLiteral("Command2(%1)").arg(i));
        wl->addWidget(Check1[size_t(i)], i - 1, 0);
        wl->addWidget(Command2[size_t(i)], i - 1, 1);
        connect(Check1[size_t(i)], &QCheckBox::clicked, this, [this] { enabling(); });
        connect(Command2[size_t(i)], &QPushButton::clicked, this, [this, i] {
            if (i == 2 && Check3->isChecked()) {
                rainbowsteps();
                scalekind = 1;
                frmColors dlg(this);
                dlg.exec();
                return;
            }
            setTextColour(i, pickcolor(this, textColour(i)));
        });
    }
    Check3 = new QCheckBox(QStringLiteral("Arc-en-ciel"), draw);
    Check3->setObjectName(QStringLiteral("Check3"));
    wl->addWidget(Check3, 2, 0, 1, 2);
    connect(Check3, &QCheckBox::clicked, this, [this] { setTextColour(2, Check3->isChecked() ? 0 : 0x00FFFF); });
    grid->addWidget(draw, 5, 2, 1, 2);

    connect(Combo2[0], &QComboBox::activated, this, [this] { unitchoice(); });
    connect(Combo2[1], &QComboBox::activated, this, [this] { unitchoice(); });
    connect(Check2, &QCheckBox::clicked, this, [this] {
        Text4->setEnabled(!Check2->isChecked());
        if (Check2->isChecked()) linkazimuth();
        Text4->setSelection(0, int(Text4->text().size()));
    });
    connect(Command1, &QPushButton::clicked, this, [this] { apply(); });
    connect(Command3, &QPushButton::clicked, this, [this] { reject(); });
    connect(Command4, &QPushButton::clicked, this, [this] { haat(); });

    // Opening.
    for (int u = 1; u <= kUnits; ++u) {
        const QString name = fixedText(units[u].name).trimmed();
        Combo2[0]->addItem(name);
        Combo2[1]->addItem(name);
    }
    readkey("CovLow", covlow, -107);
    readkey("CovHigh", covhigh, -67);
    readkey("CovDir", covdir, 0);
    readkey("CovAnt", covant, 0);
    readkey("CovIndex", covindex, 0);
    Option2[covdir ? 1 : 0]->setChecked(true);
    if (covant) {
        Check2->setChecked(true);
        Text4->setEnabled(false);
    }
    const int tu = std::clamp<int>(covset.thrunit, 0, 2);
    Option1[size_t(tu)]->setChecked(true);
    thresholdunit(tu);
    Check1[1]->setChecked(covset.curve != 0);
    Check1[2]->setChecked(covset.surface != 0);
    const float azmin = std::clamp(covset.azmin, 0.0f, 359.0f);
    showselected(Text1, azmin);
    showselected(Text2, std::clamp(covset.azmax, azmin, 360.0f));
    showselected(Text3, std::clamp(covset.azstep, 0.1f, 10.0f));
    showselected(Text4, std::clamp(covset.antaz, 0.0f, 359.99f));
    const float rmax = std::clamp(covset.rangemax, 1.0f, 1000.0f);
    showselected(Text5, rmax);
    showselected(Text8, std::max(0.1f, std::min(covset.rangemin, covset.rangemax)));
    setTextColour(1, covset.curvecolor);
    setTextColour(2, covset.surfcolor);
    if (covset.surfcolor == 0) Check3->setChecked(true);
    enabling();
    // Names keep their case; "omni.ant" comes first whatever case it has on disc.
    Combo1->addItem(QStringLiteral("omni.ant"));
    for (const QString &n : tablefiles(QStringLiteral("*.ant")))
        if (n.compare(QLatin1String("omni.ant"), Qt::CaseInsensitive) != 0) Combo1->addItem(n);
    if (covindex >= 0 && covindex < Combo1->count() && tablenamefits(Combo1->itemText(covindex)))
        Combo1->setCurrentIndex(covindex);
    const QString antfile = storedtablename();
    if (!antfile.isEmpty())
        for (int r = Combo1->count() - 1; r >= 0; --r)
            if (Combo1->itemText(r).compare(antfile, Qt::CaseInsensitive) == 0) Combo1->setCurrentIndex(r);
    antrow_ = Combo1->currentIndex();
    connect(Combo1, &QComboBox::activated, this, [this](int row) { antennachoice(row); });
    Combo2[0]->setCurrentIndex(std::max(0, linka - 1));
    Combo2[1]->setCurrentIndex(std::max(0, linkb - 1));
    unitchoice();
}

void frmCoverage::setTextColour(int i, uint32_t colour)
{
    colour_[size_t(i)] = colour;
    QPalette pal = Check1[size_t(i)]->palette();
    pal.setColor(QPalette::WindowText, qcolor(colour));
    pal.setColor(QPalette::ButtonText, qcolor(colour));
    Check1[size_t(i)]->setPalette(pal);
}

int frmCoverage::thrunitSelected() const
{
    for (int i = 2; i >= 0; --i)
        if (Option1[size_t(i)]->isChecked()) return i;
    return -1;
}

void frmCoverage::unitchoice()
{
    Combo3->clear();
    covnets.fill(0);
    covcentre = int16_t(Combo2[0]->currentIndex() + 1);
    covmobile = int16_t(Combo2[1]->currentIndex() + 1);
    if (covcentre < 1 || covmobile < 1 || covcentre == covmobile) return;
    if (Check2->isChecked()) linkazimuth();
    int chosen = 0;
    if (units[covcentre].enabled && units[covmobile].enabled) {
        for (int n = 1; n <= kNets; ++n) {
            if ((nets[n].member[covcentre - 1] & 0x80) && (nets[n].member[covmobile - 1] & 0x80)) {
                covnets[size_t(Combo3->count())] = int16_t(n);
                if (n == linknet) chosen = Combo3->count();
                Combo3->addItem(fixedText(nets[n].name).leftJustified(int(sizeof nets[n].name), QLatin1Char(' ')));
            }
        }
    }
    if (Combo3->count() == 0) Combo3->addItem(QStringLiteral("Pas de réseau en commun"));
    Combo3->setCurrentIndex(chosen);
}

void frmCoverage::linkazimuth()
{
    if (!curpic || covcentre < 1 || covmobile < 1) return;
    float xa = 0, ya = 0, xb = 0, yb = 0;
    if (!geotopix(curpic.data(), units[covcentre].lon, units[covcentre].lat, xa, ya)) return;
    if (!geotopix(curpic.data(), units[covmobile].lon, units[covmobile].lat, xb, yb)) return;
    const double deg = azimuth(double(ya) - yb, double(xb) - xa) / (3.14159265358979 / 180);
    Text4->setText(QLocale().toString(deg, 'f', 1));
}

void frmCoverage::thresholdunit(int u)
{
    double lo = 0, hi = 0;
    if (u == 1 || u == 2) {
        if (covlow >= 0) {
            lo = -107;
            hi = -67;
        } else {
            lo = std::clamp(double(covlow), -200.0, -10.0);
            hi = std::clamp(double(covhigh), lo, -10.0);
        }
    } else {
        if (covlow <= 0) {
            lo = 1;
            hi = 40;
        } else {
            lo = std::clamp(double(covlow), 1.0, 60.0);
            hi = std::clamp(double(covhigh), lo, 60.0);
        }
    }
    auto show = [u](double x) {
        if (u == 0) return QLocale().toString(x, 'f', 0);
        if (u == 1) return QLocale().toString(x, 'f', 1);
        return QLocale().toString(std::pow(10.0, (x + 107) / 20), 'f', 3).remove(QLocale().groupSeparator());
    };
    Text6->setText(show(lo));
    Text7->setText(show(hi));
    Text6->setSelection(0, int(Text6->text().size()));
    Text7->setSelection(0, int(Text7->text().size()));
}

void frmCoverage::rainbowsteps()
{
    double de = 0, a = 0;
    if (!number(Text6, de) || !number(Text7, a)) return;
    for (int i = 0; i <= 10; ++i) sigsteps[size_t(i)] = float(de + i * (a - de) / 10);
}

void frmCoverage::enabling()
{
    Text6->setEnabled(Check1[1]->isChecked() || Check1[2]->isChecked());
    Text7->setEnabled(Check1[2]->isChecked());
    Check3->setEnabled(Check1[2]->isChecked());
    Command2[1]->setEnabled(Check1[1]->isChecked());
    Command2[2]->setEnabled(Check1[2]->isChecked());
}

void frmCoverage::rangecheck(QLineEdit *changed)
{
    if (!Text8 || !Text7) return;  // still building the dialog
    auto val = [](QLineEdit *b) { return localeValue(b->text()); };
    if (changed == Text1 || changed == Text2) {
        checkrange(0, val(Text2) - 0.1, Text1);
        checkrange(val(Text1) + 0.1, 360, Text2);
    } else if (changed == Text3) {
        checkrange(0.1, 10, Text3);
    } else if (changed == Text4) {
        checkrange(0, 360, Text4);
    } else if (changed == Text5 || changed == Text8) {
        checkrange(0.1, val(Text5) - 0.1, Text8);
        checkrange(val(Text8) + 0.1, 1000, Text5);
    } else if (changed == Text6 || changed == Text7) {
        const int u = std::max(0, thrunitSelected());
        if (u == 0) {
            checkrange(1, val(Text7) - 0.1, Text6);
            checkrange(val(Text6) + 0.1, 60, Text7);
        } else if (u == 1) {
            checkrange(-200, val(Text7) - 0.1, Text6);
            checkrange(val(Text6) + 0.1, -10, Text7);
        } else {
            checkrange(1e-20, val(Text7) - 0.0001, Text6);
            checkrange(val(Text6) + 0.0001, 1e20, Text7);
        }
    }
}

// A file whose name the network file cannot keep is refused when it is chosen:
// the list goes back to the file chosen before.
void frmCoverage::antennachoice(int row)
{
    if (tablenamefits(Combo1->itemText(row))) {
        antrow_ = row;
        return;
    }
    msgbox(tablenametoolong(Combo1->itemText(row)), mbExclamation, QString(), this);
    Combo1->setCurrentIndex(antrow_);
}

void frmCoverage::apply()
{
    if (Combo3->currentIndex() < 0 || covcentre < 1 || covmobile < 1 || covcentre == covmobile) return;
    if (!tablenamefits(Combo1->currentText())) {
        msgbox(tablenametoolong(Combo1->currentText()), mbExclamation, QString(), this);
        return;
    }
    covant = Check2->isChecked() ? 1 : 0;
    covindex = int16_t(Combo1->currentIndex());
    covdir = Option2[0]->isChecked() ? 0 : 1;
    covset.curve = Check1[1]->isChecked() ? -1 : 0;
    covset.surface = Check1[2]->isChecked() ? -1 : 0;
    covset.curvecolor = textColour(1);
    if (Check3->isChecked()) {
        covset.surfcolor = 0;
        rainbowsteps();
        scalekind = 1;
    } else {
        covset.surfcolor = textColour(2);
        scalekind = 0;
    }
    if (covset.surface == 0 && covset.curve == 0) return;
    double v = 0;
    if (number(Text1, v)) covset.azmin = float(std::clamp(v, 0.0, 359.9));
    if (number(Text2, v)) covset.azmax = std::max(covset.azmin, float(std::min(v, 360.0)));
    if (number(Text3, v)) covset.azstep = float(std::clamp(v, 0.1, 10.0));
    if (number(Text4, v)) covset.antaz = float(std::clamp(v, 0.0, 360.0));
    if (number(Text5, v)) covset.rangemax = float(std::clamp(v, 1.0, 1000.0));
    if (number(Text8, v)) covset.rangemin = std::max(0.1f, std::min(float(v), covset.rangemax));
    const int u = thrunitSelected();
    if (u >= 0) covset.thrunit = int16_t(u);
    if (covset.thrunit == 0) {
        if (number(Text6, v)) covlow = float(std::clamp(v, 1.0, 60.0));
        if (number(Text7, v)) covhigh = float(std::clamp(v, 1.0, 60.0));
    } else if (covset.thrunit == 1) {
        if (number(Text6, v)) covlow = float(std::clamp(v, -200.0, -10.0));
        if (number(Text7, v)) covhigh = float(std::clamp(v, -200.0, -10.0));
    } else {
        auto dbm = [](double uv) { return std::clamp(20 * std::log10(std::clamp(uv, 1e-20, 1e20)) - 107, -200.0, -10.0); };
        if (number(Text6, v)) covlow = float(dbm(v));
        if (number(Text7, v)) covhigh = float(dbm(v));
    }
    storetablename(Combo1->currentText());
    linka = covcentre;
    linkb = covmobile;
    linknet = covnets[size_t(std::clamp(Combo3->currentIndex(), 0, 25))];
    applied_ = true;
    accept();
}

void frmCoverage::haat()
{
    const int row = Combo3->currentIndex();
    if (row < 0 || row > 25) return;
    const int net = covnets[size_t(row)];
    // The "Pas de réseau en commun" row names no network: nothing to report.
    if (net < 1) return;
    haatreport(covcentre, net);
}

void frmCoverage::done(int r)
{
    if (!closed_) {
        closed_ = true;
        writekey("CovLow", covlow);
        writekey("CovHigh", covhigh);
        writekey("CovDir", covdir);
        writekey("CovAnt", covant);
        writekey("CovIndex", covindex);
    }
    QDialog::done(r);
}

void frmCoverage::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    QDialog::keyPressEvent(e);
}

void mnuViewCover_Click()
{
    if (!findsource2d()) return;
    bool go = false;
    {
        frmCoverage dlg(mainform);
        dlg.exec();
        go = dlg.applied();
    }
    if (go) polarcoverage();
}

}  // namespace zk

namespace zk {

void installcoveragemenus(MainFrame *w)
{
    if (!w) return;
    if (QAction *a = w->action(QStringLiteral("mnuViewCover"))) {
        QObject::connect(a, &QAction::triggered, w, [] { mnuViewCover_Click(); });
        a->setEnabled(true);
    }
    if (QAction *a = w->action(QStringLiteral("mnuViewVisual"))) {
        QObject::connect(a, &QAction::triggered, w, [] { mnuViewVisual_Click(); });
        a->setEnabled(true);
    }
}

}  // namespace zk
