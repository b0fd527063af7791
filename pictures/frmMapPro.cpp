#include "frmMapPro.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

#include <cmath>

#include "base/formkit.h"
#include "base/longop.h"
#include "base/routines.h"
#include "base/settings.h"
#include "map/datum.h"
#include "map/extract.h"
#include "map/frmCity.h"
#include "map/frmDMS.h"
#include "map/geotext.h"
#include "map/mapdata.h"
#include "pictures/cursor.h"
#include "pictures/draw2d.h"
#include "pictures/frmCustom.h"
#include "pictures/frmPic.h"
#include "pictures/mainlink.h"
#include "pictures/picfiles.h"

namespace zk {

std::function<void()> mapproworldmap;

namespace {

constexpr double kDegree = 0.017453292519943;  // pi / 180, as the corners are computed
constexpr double kEarthRadius_km = 6367;

QLabel *label(QWidget *parent, const char *name, const QString &text, int x, int y, int w, int h = 22)
{
    return form::label(parent, QLatin1String(name), text, QRect(x, y, w, h));
}

QLineEdit *field(QWidget *parent, const QString &name, int x, int y, int w)
{
    return form::field(parent, name, QRect(x, y, w, 24));
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, int x, int y, int w, int h = 26)
{
    return form::button(parent, QLatin1String(name), caption, QRect(x, y, w, h));
}

QGroupBox *frame(QWidget *parent, const char *name, const QString &caption, int x, int y, int w, int h)
{
    auto *f = new QGroupBox(caption, parent);
    f->setObjectName(QLatin1String(name));
    f->setGeometry(x, y, w, h);
    return f;
}

int16_t pixels(double v) { return int16_t(roundEven(v)); }

}  // namespace

QString mappicturename(const QString &mapname)
{
    return mapname.left(std::max<qsizetype>(0, mapname.size() - 3)) + QStringLiteral("bmp");
}

QString cornerslist(const float lon[4], const float lat[4])
{
    static const char *const kTitles[4] = {"Supérieur gauche", "Supérieur droit", "Inférieur gauche", "Inférieur droit"};
    static const int kCorner[4] = {0, 1, 3, 2};
    const QString crlf = QStringLiteral("\r\n");
    QStringList blocks;
    for (int b = 0; b < 4; ++b) {
        float x = lon[kCorner[b]], y = lat[kCorner[b]];
        blocks << QString::fromUtf8(kTitles[b]) + crlf + londms(x) + crlf + latdms(y);
    }
    return blocks.join(crlf + crlf);
}

frmMapPro::frmMapPro(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmMapPro"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    Frame1 = frame(this, "Frame1", QStringLiteral("Centre"), 8, 8, 548, 150);
    label(Frame1, "Label3", QStringLiteral("Longitude"), 12, 26, 80);
    Text1 = field(Frame1, QStringLiteral("Text1"), 96, 24, 120);
    label(Frame1, "Label4", QStringLiteral("Latitude"), 12, 56, 80);
    Text2 = field(Frame1, QStringLiteral("Text2"), 96, 54, 120);
    Label1 = label(Frame1, "Label1", QString(), 12, 88, 280);
    Label2 = label(Frame1, "Label2", QString(), 12, 114, 280);
    Command1 = button(Frame1, "Command1", QStringLiteral("Mappemonde"), 300, 22, 236);
    Command4 = button(Frame1, "Command4", QStringLiteral("Entrer LAT LON ou"), 300, 52, 236);
    Command3 = button(Frame1, "Command3", QStringLiteral("Utiliser la position du curseur"), 300, 82, 236);
    Command2 = button(Frame1, "Command2", QStringLiteral("Choisir une ville"), 300, 112, 236);

    Frame3 = frame(this, "Frame3", QStringLiteral("Dimension (pixel)"), 8, 164, 270, 86);
    label(Frame3, "Label5", QStringLiteral("Largeur(pixels)"), 12, 24, 130);
    Text3 = field(Frame3, QStringLiteral("Text3"), 150, 22, 100);
    label(Frame3, "Label6", QStringLiteral("Hauteur (pixels)"), 12, 54, 130);
    Text4 = field(Frame3, QStringLiteral("Text4"), 150, 52, 100);

    Frame4 = frame(this, "Frame4", QStringLiteral("Dimension (km)"), 286, 164, 270, 86);
    label(Frame4, "Label7", QStringLiteral("Largeur(km)"), 12, 24, 130);
    Text5 = field(Frame4, QStringLiteral("Text5"), 150, 22, 100);
    label(Frame4, "Label8", QStringLiteral("Hauteur (km)"), 12, 54, 130);
    Text6 = field(Frame4, QStringLiteral("Text6"), 150, 52, 100);

    Frame5 = frame(this, "Frame5", QStringLiteral("Source des données d'altitude"), 8, 256, 370, 160);
    label(Frame5, "Label9", QStringLiteral("Lecteur ou chemin"), 120, 20, 230);
    static const char *const kSources[3] = {"DTED", "GTOPO30", "TERRAIN"};
    for (int i = 0; i < 3; ++i) {
        auto *c = new QCheckBox(QLatin1String(kSources[i]), Frame5);
        c->setObjectName(QStringLiteral("Check1(%1)").arg(i));
        c->setGeometry(12, 44 + i * 30, 100, 24);
        Check1[size_t(i)] = c;
        Text7[size_t(i)] = field(Frame5, QStringLiteral("Text7(%1)").arg(i), 120, 44 + i * 30, 236);
        connect(Text7[size_t(i)], &QLineEdit::textChanged, this, [this, i] { Text7_Change(i); });
    }
    Check2 = new QCheckBox(QStringLiteral("Ignorer manquant"), Frame5);
    Check2->setObjectName(QStringLiteral("Check2"));
    Check2->setGeometry(12, 132, 200, 22);

    Label10 = label(this, "Label10", QString(), 392, 262, 164, 230);
    Label10->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    Command5 = button(this, "Command5", QStringLiteral("Appliquer"), 8, 430, 120, 28);
    Command6 = button(this, "Command6", QStringLiteral("Annuler"), 136, 430, 120, 28);
    setFixedSize(564, 500);

    connect(Text1, &QLineEdit::textChanged, this, &frmMapPro::Text1_Change);
    connect(Text2, &QLineEdit::textChanged, this, &frmMapPro::Text2_Change);
    connect(Text3, &QLineEdit::textChanged, this, &frmMapPro::Text3_Change);
    connect(Text4, &QLineEdit::textChanged, this, &frmMapPro::Text4_Change);
    connect(Text6, &QLineEdit::textChanged, this, &frmMapPro::Text6_Change);
    connect(Command1, &QPushButton::clicked, this, &frmMapPro::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmMapPro::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmMapPro::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frmMapPro::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &frmMapPro::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &frmMapPro::Command6_Click);

    // Form_Load.
    if (mapfile.isEmpty()) mapfile = QStringLiteral("Nouveau.map");
    setWindowTitle(QStringLiteral("Propriétés de ..\\") + fileof(mapfile));
    editmap = mapset;
    W_ = int16_t(std::clamp(elevgrid.nx(), 0, 32767));
    H_ = int16_t(std::clamp(elevgrid.ny(), 0, 32767));
    updatefields();
    for (int i = 0; i < 3; ++i) {
        Text7[size_t(i)]->setText(settings.drv[size_t(i)]);
        Text7[size_t(i)]->selectAll();
    }
    settings.ignoremissing = readIgnoreMissing();
    if (settings.ignoremissing) Check2->setChecked(true);
    Command4->setText(Command4->text() + (ellname.isEmpty() ? QStringLiteral(" QRA") : QStringLiteral(" MGRS")));
}

void frmMapPro::updatefields()
{
    for (int i = 0; i < 3; ++i)
        if (editmap.sources & (1 << i)) Check1[size_t(i)]->setChecked(true);
    // Each text runs its change handler, which takes the value over.
    const int16_t w = W_, h = H_;
    const float size = editmap.size;
    Text1->setText(floatText(editmap.lon));
    Text2->setText(floatText(editmap.lat));
    Text3->setText(QString::number(w));
    Text4->setText(QString::number(h));
    Text6->setText(maskText(size, 1, 2));
    for (QLineEdit *t : {Text1, Text2, Text3, Text4, Text6}) t->selectAll();
    updatesize();
}

void frmMapPro::updatesize()
{
    const double W = W_, H = H_;
    Text5->setText(maskText(editmap.size * W / H, 1, 2));
    Label1->setText(londms(editmap.lon) + QStringLiteral(" - ") + latdms(editmap.lat));
    Label2->setText(gridlocator(editmap.lon, editmap.lat));
    if (editmap.size < 1) editmap.size = 1;

    const double dlat = editmap.size / kEarthRadius_km / kDegree;
    const double dlon = dlat * W / H / std::cos(editmap.lat * kDegree);
    editcorners.lat[2] = editcorners.lat[3] = float(editmap.lat - dlat / 2);
    editcorners.lat[0] = editcorners.lat[1] = float(editmap.lat + dlat / 2);
    editcorners.lon[0] = editcorners.lon[3] = float(editmap.lon - dlon / 2);
    editcorners.lon[1] = editcorners.lon[2] = float(editmap.lon + dlon / 2);
    Label10->setText(cornerslist(editcorners.lon, editcorners.lat));
}

void frmMapPro::Text1_Change()
{
    editmap.lon = float(checkrange(-180, 179.99999, Text1));
    updatesize();
}

void frmMapPro::Text2_Change()
{
    editmap.lat = float(checkrange(-89, 89, Text2));
    updatesize();
}

void frmMapPro::Text3_Change()
{
    W_ = pixels(checkrange(10, 2000, Text3));
    updatesize();
}

void frmMapPro::Text4_Change()
{
    H_ = pixels(checkrange(10, 2000, Text4));
    updatesize();
}

void frmMapPro::Text6_Change()
{
    editmap.size = float(checkrange(0.5, 19900, Text6));
    updatesize();
}

void frmMapPro::Text7_Change(int index)
{
    // Kept as typed (blanks around it removed): folder names keep their case
    // on this system. Stored in the settings on Apply.
    if (index >= 0 && index < 3) settings.drv[size_t(index)] = Text7[size_t(index)]->text().trimmed();
}

void frmMapPro::Command1_Click()
{
    if (mapproworldmap) mapproworldmap();
}

void frmMapPro::Command2_Click()
{
    if (runflag == 1) return;
    frmCity dlg(this);
    dlg.exec();
    updatefields();
}

void frmMapPro::Command3_Click()
{
    editmap.lon = curlon;
    editmap.lat = curlat;
    updatefields();
}

void frmMapPro::Command4_Click()
{
    frmDMS dlg(this);
    dlg.exec();
    updatefields();
}

void frmMapPro::Command5_Click()
{
    // 1-2. The sources; none checked: nothing at all happens.
    uint8_t sources = 0;
    if (Check1[0]->isChecked()) sources |= 1;
    if (Check1[1]->isChecked()) sources |= 2;
    if (Check1[2]->isChecked()) sources |= 4;
    editmap.sources = sources;
    if (sources == 0) return;

    // 3-8. The new map's settings and grid, the roots and the missing-tile
    // choice stored.
    mapset = editmap;
    runflag = 1;
    settings.ignoremissing = Check2->isChecked();
    mapmodified = true;
    const int16_t w = W_, h = H_;
    elevgrid.redim(w - 1, h - 1);
    mapmissing = false;  // the extraction makes the grid a map
    for (int i = 0; i < 3; ++i) writesetting(QStringLiteral("DRV%1").arg(i), settings.drv[size_t(i)]);
    writesetting(QStringLiteral("IGNMIS"), boolText(settings.ignoremissing));

    // 9. The window goes; the rest runs on.
    done(QDialog::Accepted);

    // 10. The sources in their fixed order; each runs whatever the one before
    // answered.
    bool ok = false;
    if (mapset.sources & 4) ok = extractterrain() || ok;
    if (mapset.sources & 2) ok = extractgtopo30() || ok;
    if (mapset.sources & 1) ok = extractdted() || ok;

    // 11. The picture of the new map: the window that shows this map's
    // picture file, else a new one.
    if (ok) {
        const QString picture = mappicturename(mapfile);
        const QString file = fileof(picture);
        frmPic *target = nullptr;
        for (frmPic *p : picwindows()) {
            if (fileof(p->windowTitle()).compare(file, Qt::CaseInsensitive) == 0) {
                target = p;
                break;
            }
        }
        if (target) {
            draw2d(target, true);
        } else {
            openpicture(picture, -1);
            draw2d(activepic(), true);
        }
    }
    // 12.
    runflag = 0;
}

void frmMapPro::Command6_Click()
{
    runflag = 0;
    reject();
}

void frmMapPro::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    QDialog::keyPressEvent(e);
}

frmMapPro *showmappro()
{
    static QPointer<frmMapPro> g_window;
    if (g_window) {
        g_window->close();
        g_window->deleteLater();
    }
    g_window = new frmMapPro(mainowner());
    g_window->show();
    g_window->raise();
    g_window->activateWindow();
    return g_window;
}

}  // namespace zk
