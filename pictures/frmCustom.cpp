#include "frmCustom.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

#include "base/placement.h"
#include "pictures/cursor.h"
#include "pictures/frmPic.h"
#include "pictures/mainlink.h"

namespace zk {

namespace {

QPointer<frmCustom> g_custom;

constexpr double kEarthRadius_km = 6367.0;
constexpr double kRad = 0.017453292519943278;  // pi / 180

QString cursorText(float v)
{
    // A plain number with a point, up to 7 significant digits, and a blank
    // before a value of 0 or more.
    const QString t = QString::number(double(v), 'g', 7);
    return v >= 0 ? QLatin1Char(' ') + t : t;
}

}  // namespace

std::optional<double> customValue(const QString &text)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    // Also the locale's own separator, when it is neither.
    const QString dec = QLocale().decimalPoint();
    if (dec != QLatin1String(".") && dec != QLatin1String(",")) t.replace(dec, QLatin1String("."));
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double v = c.toDouble(t, &ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

QString maskText(double v, int intDigits, int decimals)
{
    if (!std::isfinite(v)) v = 0;
    QString digits = QString::number(std::fabs(v), 'f', decimals);
    int point = digits.indexOf(QLatin1Char('.'));
    if (point < 0) point = digits.size();
    if (point < intDigits) digits.prepend(QString(intDigits - point, QLatin1Char('0')));
    bool zero = true;
    for (QChar ch : digits)
        if (ch.isDigit() && ch != QLatin1Char('0')) zero = false;
    digits.replace(QLatin1Char('.'), QLocale().decimalPoint());
    return (v < 0 && !zero) ? QLatin1Char('-') + digits : digits;
}

frmCustom *frmCustom::loaded() { return g_custom; }

frmCustom *frmCustom::showDialog()
{
    if (!g_custom) {
        g_custom = new frmCustom;
        g_custom->Form_Load();
    }
    showPlaced(g_custom);
    return g_custom;
}

frmCustom::frmCustom() : QWidget(mainowner(), Qt::Tool)
{
    setObjectName(QStringLiteral("frmCustom"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Image définie par l'utilisateur (degré décimal)"));

    auto box = [this](const QString &name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(name);
        e->setFixedWidth(90);
        return e;
    };
    auto button = [this](const QString &name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(name);
        return b;
    };
    for (int i = 0; i < 5; ++i) {
        lon[i] = box(QStringLiteral("lon(%1)").arg(i));
        lat[i] = box(QStringLiteral("lat(%1)").arg(i));
        Command3[i] = button(QStringLiteral("Command3(%1)").arg(i), QStringLiteral("Curseur"));
        connect(Command3[i], &QPushButton::clicked, this, [this, i] { Command3_Click(i); });
        connect(lon[i], &QLineEdit::textChanged, this, [this, i] { colour(lon[i], -180, 180); });
        connect(lat[i], &QLineEdit::textChanged, this, [this, i] { colour(lat[i], -90, 90); });
    }
    SizeKm = box(QStringLiteral("SizeKm"));
    connect(SizeKm, &QLineEdit::textChanged, this, [this] { colour(SizeKm, 0.1, 19900); });
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Label5 = new QLabel(this);
    Label5->setObjectName(QStringLiteral("Label5"));
    Command1 = button(QStringLiteral("Command1"), QStringLiteral("Appliquer"));
    Command2 = button(QStringLiteral("Command2"), QStringLiteral("Annuler"));
    Command4 = button(QStringLiteral("Command4"), QStringLiteral("Annuler"));
    Command5 = button(QStringLiteral("Command5"), QStringLiteral("Appliquer"));
    connect(Command1, &QPushButton::clicked, this, &frmCustom::Command1_Click);
    connect(Command5, &QPushButton::clicked, this, &frmCustom::Command5_Click);
    connect(Command2, &QPushButton::clicked, this, &QWidget::close);
    connect(Command4, &QPushButton::clicked, this, &QWidget::close);

    // Four corners, laid out as the corners of a picture.
    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setFrameShape(QFrame::StyledPanel);
    auto *g1 = new QGridLayout(Frame1);
    g1->addWidget(new QLabel(QStringLiteral("Méthode des quatre coins"), Frame1), 0, 0, 1, 3);
    static const char *const kCorner[4] = {"Coin supérieur gauche", "Coin supérieur droit", "Coin inférieur droit",
                                           "Coin inférieur gauche"};
    auto cornerGroup = [&](int i) {
        auto *w = new QWidget(Frame1);
        auto *g = new QGridLayout(w);
        g->setContentsMargins(0, 0, 0, 0);
        g->addWidget(new QLabel(QString::fromUtf8(kCorner[i]), w), 0, 0, 1, 2);
        g->addWidget(new QLabel(QStringLiteral("Longitude"), w), 1, 0);
        g->addWidget(lon[i], 1, 1);
        g->addWidget(new QLabel(QStringLiteral("Latitude"), w), 2, 0);
        g->addWidget(lat[i], 2, 1);
        g->addWidget(Command3[i], 3, 1);
        return w;
    };
    g1->addWidget(cornerGroup(0), 1, 0);
    g1->addWidget(cornerGroup(1), 1, 2);
    g1->addWidget(cornerGroup(3), 2, 0);
    g1->addWidget(cornerGroup(2), 2, 2);
    auto *mid = new QVBoxLayout;
    mid->addWidget(Command1);
    mid->addWidget(Command2);
    g1->addLayout(mid, 1, 1, 2, 1, Qt::AlignCenter);

    // Centre and north-south size.
    Frame2 = new QFrame(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setFrameShape(QFrame::StyledPanel);
    auto *g2 = new QGridLayout(Frame2);
    g2->addWidget(new QLabel(QStringLiteral("Méthode centre et dimension (projection rectangulaire lat-lon seulement)"), Frame2),
                  0, 0, 1, 4);
    g2->addWidget(new QLabel(QStringLiteral("Centre position"), Frame2), 1, 0, 1, 2);
    g2->addWidget(new QLabel(QStringLiteral("Longitude"), Frame2), 2, 0);
    g2->addWidget(lon[4], 2, 1);
    g2->addWidget(new QLabel(QStringLiteral("Latitude"), Frame2), 3, 0);
    g2->addWidget(lat[4], 3, 1);
    g2->addWidget(Command3[4], 4, 1);
    g2->addWidget(new QLabel(QStringLiteral("Dimension verticale (km)"), Frame2), 2, 2);
    g2->addWidget(SizeKm, 2, 3);
    g2->addWidget(Command5, 3, 3);
    g2->addWidget(Command4, 4, 3);

    auto *v = new QVBoxLayout(this);
    v->addWidget(Frame1);
    v->addWidget(Frame2);
    v->addWidget(Label5);
    auto *src = new QGridLayout;
    src->addWidget(new QLabel(QStringLiteral("Source de données"), this), 0, 0);
    src->addWidget(Text1, 0, 1);
    v->addLayout(src);
}

void frmCustom::colour(QLineEdit *box, double low, double high)
{
    // As the numeric boxes everywhere: red while the value is out of range;
    // a text that is not a number counts as 0.
    const double value = customValue(box->text()).value_or(0.0);
    QPalette pal = box->palette();
    pal.setColor(QPalette::Text, (value < low || value > high) ? QColor(255, 0, 0) : QColor(0, 0, 0));
    box->setPalette(pal);
}

void frmCustom::Form_Load()
{
    target_ = activepic();
    if (!target_) return;  // nothing to calibrate: the boxes stay empty and Apply changes nothing
    frmPic *t = target_;
    const float clon[4] = {t->lon1, t->lon2, t->lon3, t->lon4};
    const float clat[4] = {t->lat1, t->lat2, t->lat3, t->lat4};
    for (int i = 0; i < 4; ++i) {
        lon[i]->setText(maskText(clon[i], 3, 4));
        lat[i]->setText(maskText(clat[i], 2, 4));
    }
    lon[4]->setText(maskText((double(clon[0]) + clon[1] + clon[2] + clon[3]) / 4.0, 3, 4));
    lat[4]->setText(maskText((double(clat[0]) + clat[1] + clat[2] + clat[3]) / 4.0, 2, 4));

    const bool rectangular = lon[0]->text() == lon[3]->text() && lon[1]->text() == lon[2]->text() &&
                             lat[0]->text() == lat[1]->text() && lat[2]->text() == lat[3]->text();
    QString label;
    if (rectangular) {
        label = QStringLiteral("R");
        SizeKm->setText(maskText((double(t->lat1) - t->lat4) * kRad * kEarthRadius_km, 1, 3));
        SizeKm->selectAll();
    } else {
        label = QStringLiteral("Non r");
    }
    label += QStringLiteral("ectangulaire - Largeur=") + QString::number(t->Picture1->scaleWidth()) +
             QStringLiteral(" Pixels") + QStringLiteral("  Hauteur=") + QString::number(t->Picture1->scaleHeight()) +
             QStringLiteral(" Pixels");
    Label5->setText(label);
    Text1->setText(t->source);
    for (int i = 0; i < 5; ++i) {
        lon[i]->selectAll();
        lat[i]->selectAll();
    }
}

void frmCustom::Command3_Click(int index)
{
    if (index < 0 || index > 4) return;
    lat[index]->setText(cursorText(curlat));
    lon[index]->setText(cursorText(curlon));
}

void frmCustom::Command1_Click()
{
    if (frmPic *t = target_) {
        t->Pictype = 2;
        float *lons[4] = {&t->lon1, &t->lon2, &t->lon3, &t->lon4};
        float *lats[4] = {&t->lat1, &t->lat2, &t->lat3, &t->lat4};
        // A box that is not a number leaves that one value as it was.
        for (int k = 0; k < 4; ++k)
            if (const auto v = customValue(lon[k]->text())) *lons[k] = float(std::clamp(*v, -180.0, 180.0));
        for (int k = 0; k < 4; ++k)
            if (const auto v = customValue(lat[k]->text())) *lats[k] = float(std::clamp(*v, -90.0, 90.0));
        t->source = Text1->text().trimmed();
    }
    close();
}

void frmCustom::Command5_Click()
{
    frmPic *t = target_;
    const std::optional<double> size = customValue(SizeKm->text());
    if (t && size) {
        const float clon = float(std::clamp(customValue(lon[4]->text()).value_or(0.0), -180.0, 180.0));
        const float clat = float(std::clamp(customValue(lat[4]->text()).value_or(0.0), -90.0, 90.0));
        const double dlat = std::min(*size, 19900.0) / kEarthRadius_km / kRad;
        const int W = t->Picture1->scaleWidth(), H = t->Picture1->scaleHeight();
        const double cosLat = std::cos(double(clat) * kRad);
        // Ground pixels square at the centre latitude. A picture one pixel
        // high, or a centre at a pole, has no east-west extent: nothing is
        // applied.
        const double dlon = H > 1 && cosLat > 1e-9 ? dlat / (H - 1) * (W - 1) / cosLat : NAN;
        if (dlat >= 0.0001 && std::isfinite(dlon)) {
            t->Pictype = 2;
            t->lat1 = float(clat + dlat * 0.5);
            t->lat2 = t->lat1;
            t->lat3 = float(clat - dlat * 0.5);
            t->lat4 = t->lat3;
            t->lon1 = float(clon - dlon * 0.5);
            t->lon2 = float(clon + dlon * 0.5);
            t->lon3 = t->lon2;
            t->lon4 = t->lon1;
            t->source = Text1->text().trimmed();
        }
    }
    close();
}

void frmCustom::closeEvent(QCloseEvent *e)
{
    // Closed is unloaded: the next showing loads a fresh dialog.
    if (g_custom == this) g_custom = nullptr;
    QWidget::closeEvent(e);
}

void frmCustom::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(e);
}

}  // namespace zk
