#include "frmPicPro.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>

#include "base/dialogs.h"
#include "base/formkit.h"
#include "base/longop.h"
#include "base/routines.h"
#include "base/settings.h"
#include "map/mapdata.h"
#include "pictures/colorscale.h"
#include "pictures/draw2d.h"
#include "pictures/frmColors.h"
#include "pictures/frmCustom.h"
#include "pictures/frmPic.h"
#include "pictures/view3d.h"

namespace zk {

PicProHooks picprohooks;

namespace {

QPushButton *button(QWidget *parent, const char *name, const QString &caption, int x, int y, int w = 110, int h = 26)
{
    return form::button(parent, QLatin1String(name), caption, QRect(x, y, w, h));
}

QCheckBox *check(QWidget *parent, const char *name, const QString &caption, int x, int y, int w = 200)
{
    return form::check(parent, QLatin1String(name), caption, QRect(x, y, w, 22));
}

// A statistic as the mask "0.0" writes it, followed by " m".
QString metres(float v) { return maskText(v, 1, 1) + QStringLiteral(" m"); }

}  // namespace

QString correspondence(const frmPic *w)
{
    return issource2d(w) ? QStringLiteral("Corresponds") : QStringLiteral("Ne corresponds pas");
}

frmPicPro::frmPicPro(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmPicPro"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);

    // Draw modes.
    auto *frame = new QGroupBox(QStringLiteral("Mode dessin"), this);
    frame->setObjectName(QStringLiteral("Frame2"));
    frame->setGeometry(8, 8, 230, 186);
    Frame2 = frame;
    static const char *const kModes[6] = {"Paysage lunaire", "Couleurs stratifiées  (absolu)",
                                          "Couleurs stratifiées  (relatif)", "Rayon X", "Rayon X (inversé)",
                                          "Arc-en-ciel"};
    for (int i = 0; i < 6; ++i) {
        auto *o = new QRadioButton(QString::fromUtf8(kModes[i]), frame);
        o->setObjectName(QStringLiteral("Option1(%1)").arg(i));
        o->setGeometry(10, 24 + i * 26, 214, 22);
        Option1[size_t(i)] = o;
        connect(o, &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    }

    // Numbers.
    static const char *const kCaptions[6] = {"", "Plancher (m)", "Plafond (m)", "Contraste (%)", "Luminosité (%)",
                                             "Azimut d'éclairage (°)"};
    for (int i = 1; i <= 5; ++i) {
        const int y = 12 + (i - 1) * 32;
        auto *l = new QLabel(QString::fromUtf8(kCaptions[i]), this);
        l->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        l->setGeometry(250, y, 150, 24);
        Label[size_t(i + 1)] = l;
        auto *t = new QLineEdit(this);
        t->setObjectName(QStringLiteral("Text%1").arg(i));
        t->setGeometry(404, y, 80, 24);
        Text[size_t(i)] = t;
        connect(t, &QLineEdit::textChanged, this, [this, i] { Text_Change(i); });
    }

    // Contours, cities and objects.
    Check1 = check(this, "Check1", QStringLiteral("Courbes d'altitude 10 m"), 12, 204);
    Check2 = check(this, "Check2", QStringLiteral("Courbes d'altitude 100 m"), 12, 228);
    Check4 = check(this, "Check4", QStringLiteral("Courbes d'altitude 500 m"), 12, 252);
    Check3 = check(this, "Check3", QStringLiteral("Montrer les villes"), 250, 176, 150);
    Check6 = check(this, "Check6", QStringLiteral("Montrer les objets"), 250, 200, 150);
    Check5 = check(this, "Check5", QStringLiteral("Transparent"), 250, 224, 150);
    connect(Check3, &QCheckBox::clicked, this, &frmPicPro::Check3_Click);
    connect(Check5, &QCheckBox::clicked, this, &frmPicPro::Check5_Click);
    connect(Check6, &QCheckBox::clicked, this, &frmPicPro::Check6_Click);
    Command4 = button(this, "Command4", QStringLiteral("Police"), 404, 186, 80, 26);

    // Data roots.
    for (int i = 6; i <= 7; ++i) {
        const int y = 254 + (i - 6) * 30;
        auto *l = new QLabel(i == 6 ? QStringLiteral("Lecteur/chemin ADRG") : QStringLiteral("Lecteur/chemin Objet"), this);
        l->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        l->setGeometry(250, y, 150, 24);
        Label[size_t(i + 1)] = l;
        auto *t = new QLineEdit(this);
        t->setObjectName(QStringLiteral("Text%1").arg(i));
        t->setGeometry(404, y, 202, 24);
        Text[size_t(i)] = t;
    }

    // The information text.
    auto *info = new QLabel(this);
    info->setObjectName(QStringLiteral("Label1"));
    info->setGeometry(12, 318, 594, 80);
    info->setFrameShape(QFrame::Panel);
    info->setFrameShadow(QFrame::Sunken);
    info->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    info->setWordWrap(true);
    Label[1] = info;

    // Buttons.
    Command2 = button(this, "Command2", QStringLiteral("Appliquer"), 496, 12);
    Command5 = button(this, "Command5", QStringLiteral("Annuler"), 496, 44);
    Command1 = button(this, "Command1", QStringLiteral("ADRG"), 496, 90);
    Command3 = button(this, "Command3", QStringLiteral("Image 3D"), 496, 122);
    Command6 = button(this, "Command6", QStringLiteral("Stéréo"), 496, 154);
    Command7 = button(this, "Command7", QStringLiteral("Couleurs..."), 496, 214);
    connect(Command1, &QPushButton::clicked, this, &frmPicPro::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmPicPro::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmPicPro::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frmPicPro::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &frmPicPro::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &frmPicPro::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &frmPicPro::Command7_Click);
    setFixedSize(618, 408);

    // Form_Load.
    updatefields();
}

void frmPicPro::updatefields()
{
    // 1. The working copies.
    editmap = mapset;
    editcorners = mapcorners;

    // 2-3. The picture being edited: the active one, unless a new picture
    // is being made. Only a picture that carries a map's statistics brings
    // its drawing values.
    frmPic *pic = activepic();
    QString name = QStringLiteral("la nouvelle image");
    if (!newpic && pic) {
        name = pic->Filename;
        if (pic->hmax != pic->hmin) {
            editmap.Mapmode = pic->Mapmode;
            editmap.minx = pic->minx;
            editmap.maxx = pic->maxx;
            editmap.light = pic->light;
            editmap.con = pic->con;
            editmap.bri = pic->bri;
            editmap.c1 = pic->c1;
            editmap.c2 = pic->c2;
            editmap.hmin = pic->hmin;
            editmap.hmax = pic->hmax;
            editmap.hmoy = pic->hmoy;
            editcorners.city = pic->city != 0 ? -1 : 0;
        }
    }

    // 4. Caption.
    setWindowTitle(QStringLiteral("Propriétés de ..\\") + fileof(name));

    // 5-6. What the picture is (the active picture, even for a new one).
    const QString corr = correspondence(pic);
    Label[1]->setText(QStringLiteral("Source des données d'altitude: ") + mapfile + QStringLiteral("\r\n") +
                      QStringLiteral("Statistiques: Minimum ") + metres(editmap.hmin) + QStringLiteral(" - Maximum ") +
                      metres(editmap.hmax) + QStringLiteral(" - Moyenne ") + metres(editmap.hmoy) + QStringLiteral("\r\n") +
                      corr + QStringLiteral(" aux données d'altitude en mémoire") + QStringLiteral("\r\n") +
                      QStringLiteral("Répertoire: ") + pathof(name));

    // 7. Switches; a draw mode outside the six leaves the options alone.
    const int16_t mode = editmap.Mapmode;
    if (mode >= 0 && mode <= 5) {
        Option1[size_t(mode)]->setChecked(true);
        Option1_Click(mode);
    }
    Check1->setChecked(editmap.c1 != 0);
    Check2->setChecked((editmap.c2 & 1) != 0);
    Check4->setChecked((editmap.c2 & 2) != 0);
    Check3->setChecked(editcorners.city != 0);
    Check6->setChecked(settings.showobjects);
    Check5->setChecked(settings.drawtransparent);
    Check3_Click();
    Check6_Click();

    // 8. Numbers and roots. The roots are shown as the user typed them:
    // folder names keep their case on this system.
    Text[1]->setText(maskText(editmap.minx, 1, 2));
    Text[2]->setText(maskText(editmap.maxx, 1, 2));
    Text[3]->setText(floatText(editmap.con));
    Text[4]->setText(floatText(editmap.bri));
    Text[5]->setText(floatText(editmap.light));
    Text[6]->setText(settings.adrgdrive);
    Text[7]->setText(settings.objectdrive);
    for (int i = 1; i <= 7; ++i) Text[size_t(i)]->selectAll();
}

void frmPicPro::Option1_Click(int index)
{
    editmap.Mapmode = int16_t(index);
    const bool xray = index == 3 || index == 4;
    Text[3]->setEnabled(!xray);
    Text[4]->setEnabled(!xray);
    Command7->setEnabled(index == 5);
}

void frmPicPro::Text_Change(int index)
{
    switch (index) {
    case 1: editmap.minx = float(checkrange(-999, 9999, Text[1])); break;
    case 2: editmap.maxx = float(checkrange(-999, 99999, Text[2])); break;
    case 3: editmap.con = float(checkrange(0, 100, Text[3])); break;
    case 4: editmap.bri = float(checkrange(0, 100, Text[4])); break;
    case 5: editmap.light = float(checkrange(0, 360, Text[5])); break;
    default: break;
    }
}

void frmPicPro::Check3_Click()
{
    Command4->setEnabled(Check3->isChecked() || Check6->isChecked());
    Check5->setEnabled(Check3->isChecked());
}

void frmPicPro::Check5_Click() { settings.drawtransparent = Check5->isChecked(); }

void frmPicPro::Check6_Click() { Command4->setEnabled(Check3->isChecked() || Check6->isChecked()); }

void frmPicPro::Command4_Click() { pickfont(this); }

void frmPicPro::applyswitches()
{
    editmap.c1 = Check1->isChecked() ? 1 : 0;
    editmap.c2 = uint8_t((Check2->isChecked() ? 1 : 0) + 2 * (Check4->isChecked() ? 1 : 0));
    editcorners.city = Check3->isChecked() ? -1 : 0;
}

void frmPicPro::Command2_Click()
{
    applyswitches();
    settings.showobjects = Check6->isChecked();
    settings.objectdrive = Text[7]->text().trimmed();
    runflag = 1;
    mapset = editmap;
    mapcorners = editcorners;
    accept();
}

void frmPicPro::Command5_Click() { reject(); }

void frmPicPro::Command1_Click()
{
    settings.adrgdrive = Text[6]->text().trimmed();
    reject();
    if (picprohooks.openadrg) picprohooks.openadrg(newpic ? nullptr : activepic());
}

void frmPicPro::Command3_Click()
{
    reject();
    new3d = -1;
    if (findsource2d() && picprohooks.show3dpic) picprohooks.show3dpic();
}

void frmPicPro::Command6_Click()
{
    applyswitches();
    mapset = editmap;
    mapcorners = editcorners;
    reject();
    if (picprohooks.drawstereo) picprohooks.drawstereo();
}

void frmPicPro::Command7_Click()
{
    scalekind = 0;
    showcolors(this);
}

void frmPicPro::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    QDialog::keyPressEvent(e);
}

}  // namespace zk
