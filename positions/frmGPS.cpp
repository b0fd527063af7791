#include "positions/frmGPS.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

#include "base/mainframe.h"
#include "base/routines.h"
#include "base/settings.h"
#include "positions/livepos.h"
#include "positions/schedule.h"
#include "radio/radiodata.h"

namespace zk::positions {

namespace {

// Check1..Check6 and their bits.
constexpr int32_t kCheckBits[7] = {0, kFlagGps, kFlagSend, kFlagShare, kFlagDeferred, kFlagLog, kFlagSimulate};

double clampd(double v, double lo, double hi) { return max(min(v, hi), lo); }

// Whole numbers kept inside the variable's type.
template <typename T>
T whole(double v)
{
    const double lo = double(std::numeric_limits<T>::min()), hi = double(std::numeric_limits<T>::max());
    return T(roundEven(clampd(v, lo, hi)));
}

// setstr: the value as text without blanks around it, all of it selected.
void setstr(QLineEdit *box, const QString &text)
{
    box->setText(text.trimmed());
    box->selectAll();
}

QString numbertext(double v)
{
    QLocale l = QLocale::system();
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l.toString(v, 'g', 7);
}

QLineEdit *lineedit(QWidget *parent, const char *name)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    return e;
}

}  // namespace

double typednumber(const QString &text)
{
    QString t = text;
    const qsizetype comma = t.indexOf(QLatin1Char(','));
    if (comma >= 0 && t.indexOf(QLatin1Char('.')) < 0) t[comma] = QLatin1Char('.');
    return leadingNumber(t);
}

void gpsupdate(const GpsFormValues &v, AppSettings &s)
{
    s.gpsflags = 0;
    for (int i = 1; i <= 6; ++i)
        if (v.check[size_t(i)]) s.gpsflags += kCheckBits[i];
    s.gpscom = whole<int16_t>(typednumber(v.text1));
    s.gpsbaud = v.baud9600 ? 9600 : 4800;
    s.gpsunit = int16_t(v.unitindex + 1);
    s.gpsaddr = v.text3.trimmed();
    s.gpsport = whole<int32_t>(clampd(typednumber(v.text4), 1, 65535));
    s.gpsttl = whole<int16_t>(clampd(typednumber(v.text5), 0, 31));
    s.gpstx = float(clampd(typednumber(v.text6), 2, 3600));
    s.gpsdraw = float(clampd(typednumber(v.text7), 2, 3600));
    s.gpsplay = float(clampd(typednumber(v.text9), 0.2, 10));
    s.gpslog = v.text8;
}

frmGPS::frmGPS(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmGPS"));
    setWindowTitle(QStringLiteral("Localisation GPS"));
    setModal(true);

    auto *top = new QVBoxLayout(this);

    // "GPS attaché ( NMEA 0183 )"
    auto *frame1 = new QGroupBox(QStringLiteral("GPS attaché ( NMEA 0183 )"), this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    auto *g1 = new QGridLayout(frame1);
    Text1 = lineedit(frame1, "Text1");
    g1->addWidget(new QLabel(QStringLiteral("Port série"), frame1), 0, 0);
    g1->addWidget(Text1, 0, 1);
    Option1[0] = new QRadioButton(QStringLiteral("4800 bps"), frame1);
    Option1[0]->setObjectName(QStringLiteral("Option1(0)"));
    Option1[1] = new QRadioButton(QStringLiteral("9600 bps"), frame1);
    Option1[1]->setObjectName(QStringLiteral("Option1(1)"));
    g1->addWidget(Option1[0], 1, 0);
    g1->addWidget(Option1[1], 1, 1);
    Combo1 = new QComboBox(frame1);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    g1->addWidget(new QLabel(QStringLiteral("Ma station"), frame1), 2, 0);
    g1->addWidget(Combo1, 2, 1);
    Check[6] = new QCheckBox(QStringLiteral("Simuler un GPS"), frame1);
    g1->addWidget(Check[6], 3, 0, 1, 2);
    top->addWidget(frame1);

    // "Options"
    auto *frame2 = new QGroupBox(QStringLiteral("Options"), this);
    frame2->setObjectName(QStringLiteral("Frame2"));
    auto *g2 = new QVBoxLayout(frame2);
    const char *const captions[6] = {"Utiliser le GPS attaché pour localiser ma station",
                                     "Envoyer ma position à chaque intervalle Tx",
                                     "Envoyer et recevoir les positions via multicast",
                                     "Redessiner les réseaux à chaque intervalle Rx",
                                     "Enregistrer ma position sur le journal"};
    for (int i = 1; i <= 5; ++i) {
        Check[size_t(i)] = new QCheckBox(QString::fromUtf8(captions[i - 1]), frame2);
        g2->addWidget(Check[size_t(i)]);
    }
    for (int i = 1; i <= 6; ++i) Check[size_t(i)]->setObjectName(QStringLiteral("Check%1").arg(i));
    top->addWidget(frame2);

    // "Canal multicast"
    auto *frame3 = new QGroupBox(QStringLiteral("Canal multicast"), this);
    frame3->setObjectName(QStringLiteral("Frame3"));
    auto *g3 = new QGridLayout(frame3);
    Text3 = lineedit(frame3, "Text3");
    Text4 = lineedit(frame3, "Text4");
    Text5 = lineedit(frame3, "Text5");
    Text6 = lineedit(frame3, "Text6");
    Text7 = lineedit(frame3, "Text7");
    const std::pair<const char *, QLineEdit *> rows3[] = {
        {"Adresse IP", Text3}, {"Port", Text4}, {"TTL", Text5}, {"Intervalle Tx (s)", Text6}, {"Intervalle Rx (s)", Text7}};
    int r = 0;
    for (const auto &[caption, box] : rows3) {
        g3->addWidget(new QLabel(QString::fromUtf8(caption), frame3), r, 0);
        g3->addWidget(box, r++, 1);
    }
    top->addWidget(frame3);

    // "Reprise"
    auto *frame4 = new QGroupBox(QStringLiteral("Reprise"), this);
    frame4->setObjectName(QStringLiteral("Frame4"));
    auto *g4 = new QGridLayout(frame4);
    Text8 = lineedit(frame4, "Text8");
    Text9 = lineedit(frame4, "Text9");
    g4->addWidget(new QLabel(QStringLiteral("Fichier journal"), frame4), 0, 0);
    g4->addWidget(Text8, 0, 1);
    g4->addWidget(new QLabel(QStringLiteral("Intervalle de lecture (s)"), frame4), 1, 0);
    g4->addWidget(Text9, 1, 1);
    top->addWidget(frame4);

    auto *buttons = new QHBoxLayout;
    Command1 = new QPushButton(QStringLiteral("Appliquer"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("Reprise"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command3 = new QPushButton(QStringLiteral("Annuler"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    for (QPushButton *b : {Command1, Command2, Command3}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    top->addLayout(buttons);

    connect(Command1, &QPushButton::clicked, this, &frmGPS::onApply);
    connect(Command2, &QPushButton::clicked, this, &frmGPS::onReplay);
    connect(Command3, &QPushButton::clicked, this, &QDialog::reject);

    load();
}

void frmGPS::load()
{
    const int32_t f = settings.gpsflags;
    for (int i = 1; i <= 6; ++i) Check[size_t(i)]->setChecked((f & kCheckBits[i]) != 0);
    setstr(Text1, QString::number(settings.gpscom));
    Option1[settings.gpsbaud == 9600 ? 1 : 0]->setChecked(true);
    setstr(Text3, settings.gpsaddr);
    setstr(Text4, QString::number(settings.gpsport));
    setstr(Text5, QString::number(settings.gpsttl));
    setstr(Text6, numbertext(settings.gpstx));
    setstr(Text7, numbertext(settings.gpsdraw));
    setstr(Text8, settings.gpslog);
    setstr(Text9, numbertext(settings.gpsplay));
    // My unit is kept within the table, also when the window is cancelled.
    settings.gpsunit = int16_t(max(min(int(settings.gpsunit), kUnits), 1));
    Combo1->clear();
    for (int i = 1; i <= kUnits; ++i) Combo1->addItem(fixedText(units[i].name).trimmed());
    Combo1->setCurrentIndex(settings.gpsunit - 1);
}

GpsFormValues frmGPS::values() const
{
    GpsFormValues v;
    for (int i = 1; i <= 6; ++i) v.check[size_t(i)] = Check[size_t(i)]->isChecked();
    v.text1 = Text1->text();
    v.text3 = Text3->text();
    v.text4 = Text4->text();
    v.text5 = Text5->text();
    v.text6 = Text6->text();
    v.text7 = Text7->text();
    v.text8 = Text8->text();
    v.text9 = Text9->text();
    v.baud9600 = !Option1[0]->isChecked();
    v.unitindex = max(Combo1->currentIndex(), 0);
    return v;
}

void frmGPS::update() { gpsupdate(values(), settings); }

void frmGPS::onApply()
{
    update();
    applygps();
    accept();
}

void frmGPS::onReplay()
{
    update();
    settings.gpsflags |= kFlagReplay;
    applygps();
    accept();
}

void showgpswindow()
{
    frmGPS w(mainform);
    w.exec();
}

}  // namespace zk::positions
