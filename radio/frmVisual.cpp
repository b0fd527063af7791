#include "radio/frmVisual.h"

#include <QCheckBox>
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

#include "base/mainframe.h"
#include "cp1252.h"
#include "msgbox.h"
#include "paths.h"
#include "pictures/covset.h"
#include "pictures/draw2d.h"
#include "pictures/frmPic.h"
#include "radio/coverage.h"
#include "radio/radiodata.h"
#include "radio/radiohooks.h"
#include "radio/tablefiles.h"

namespace zk {

namespace {

bool number(const QLineEdit *box, float &v)
{
    bool ok = false;
    const double x = QLocale().toDouble(box->text().trimmed(), &ok);
    if (ok && std::isfinite(x)) v = float(x);
    return ok && std::isfinite(x);
}

void showvalue(QLineEdit *box, float v)
{
    box->setText(QLocale().toString(double(v), 'g', 7).remove(QLocale().groupSeparator()));
    box->setSelection(0, int(box->text().size()));
}

}  // namespace

frmVisual::frmVisual(QWidget *owner) : QDialog(owner)
{
    setWindowTitle(QStringLiteral("Couverture visuelle"));
    setObjectName(QStringLiteral("frmVisual"));
    auto *grid = new QGridLayout(this);
    auto named = [](QLabel *l, const char *name) {
        l->setObjectName(QLatin1String(name));
        return l;
    };
    auto edit = [this](const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QLatin1String(name));
        return e;
    };
    auto *l4 = new QLabel(QStringLiteral("Observer depuis"), this);
    l4->setObjectName(QStringLiteral("Label4"));
    grid->addWidget(l4, 0, 0);
    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    grid->addWidget(Combo1, 0, 1, 1, 3);
    Label3 = new QLabel(QStringLiteral("Hauteur du senseur (m) par rapport au sol"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setWordWrap(true);
    Text1 = edit("Text1");
    Label1 = new QLabel(QStringLiteral("Hauteur de la cible (m)  par rapport au sol"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Text2 = edit("Text2");
    grid->addWidget(Label3, 1, 0);
    grid->addWidget(Text1, 1, 1);
    grid->addWidget(Label1, 1, 2);
    grid->addWidget(Text2, 1, 3);

    auto *f3 = new QGroupBox(QStringLiteral("Balayage d'azimuth"), this);
    f3->setObjectName(QStringLiteral("Frame3"));
    auto *l3 = new QGridLayout(f3);
    l3->addWidget(named(new QLabel(QStringLiteral("Minimum (°)"), f3), "Label7"), 0, 0);
    l3->addWidget(named(new QLabel(QStringLiteral("Maximum (°)"), f3), "Label8"), 0, 1);
    l3->addWidget(named(new QLabel(QStringLiteral("Pas (°)"), f3), "Label9"), 0, 2);
    Text3 = edit("Text3");
    Text4 = edit("Text4");
    Text5 = edit("Text5");
    l3->addWidget(Text3, 1, 0);
    l3->addWidget(Text4, 1, 1);
    l3->addWidget(Text5, 1, 2);
    grid->addWidget(f3, 2, 0, 1, 3);

    Frame5 = new QGroupBox(QStringLiteral("Portée"), this);
    Frame5->setObjectName(QStringLiteral("Frame5"));
    auto *l5 = new QGridLayout(Frame5);
    l5->addWidget(named(new QLabel(QStringLiteral("Min. (km)"), Frame5), "Label2"), 0, 0);
    Text6 = edit("Text6");
    l5->addWidget(Text6, 0, 1);
    l5->addWidget(named(new QLabel(QStringLiteral("Max. (km)"), Frame5), "Label5"), 0, 2);
    Text7 = edit("Text7");
    l5->addWidget(Text7, 0, 3);
    grid->addWidget(Frame5, 3, 0, 1, 3);

    auto *f6 = new QGroupBox(QStringLiteral("Target mode"), this);
    f6->setObjectName(QStringLiteral("Frame6"));
    auto *l6 = new QHBoxLayout(f6);
    Option2[0] = new QRadioButton(QStringLiteral("Rase motte"), f6);
    Option2[1] = new QRadioButton(QStringLiteral("Altitude fixe"), f6);
    for (int i = 0; i < 2; ++i) {
        Option2[size_t(i)]->setObjectName(QStringLiteral("Option2(%1)").arg(i));
        l6->addWidget(Option2[size_t(i)]);
        connect(Option2[size_t(i)], &QRadioButton::clicked, this, [this, i] { option2(i); });
    }
    Option2[0]->setChecked(true);
    grid->addWidget(f6, 4, 0, 1, 3);

    auto *f1 = new QGroupBox(QStringLiteral("Appliquer"), this);
    f1->setObjectName(QStringLiteral("Frame1"));
    auto *l1 = new QVBoxLayout(f1);
    const char *caps[] = {"Jaune", "Cyan", "Magenta", "Radar 3D"};
    for (int i = 0; i < 4; ++i) {
        Command1[size_t(i)] = new QPushButton(QString::fromLatin1(caps[i]), i < 3 ? static_cast<QWidget *>(f1) : this);
        Command1[size_t(i)]->setObjectName(QStringLiteral("Command1(%1)").arg(i));
        connect(Command1[size_t(i)], &QPushButton::clicked, this, [this, i] { apply(i); });
        if (i < 3) l1->addWidget(Command1[size_t(i)]);
    }
    grid->addWidget(f1, 2, 3, 2, 1);
    Command1[3]->setVisible(false);
    grid->addWidget(Command1[3], 4, 3);

    Combo2 = new QComboBox(this);
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Combo2->setVisible(false);
    Check1 = new QCheckBox(QStringLiteral("Fichier radar "), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setVisible(false);
    grid->addWidget(Combo2, 5, 0, 1, 3);
    grid->addWidget(Check1, 5, 3);
    connect(Check1, &QCheckBox::clicked, this, [this] { check1(); });

    // Load.
    for (int u = 1; u <= kUnits; ++u) Combo1->addItem(fixedText(units[u].name).trimmed());
    curunit = int16_t(std::clamp<int>(curunit, 1, kUnits));
    Combo1->setCurrentIndex(curunit - 1);
    showvalue(Text1, covset.sensorh);
    showvalue(Text2, covset.targeth);
    showvalue(Text3, covset.azmin);
    showvalue(Text4, covset.azmax);
    showvalue(Text5, covset.azstep);
    showvalue(Text6, covset.rangemin);
    showvalue(Text7, covset.rangemax);
    if (radarfile == 1) {
        Check1->setChecked(true);
        check1();
    }
    Option2[0]->setChecked(targetmode != 0);
    Option2[1]->setChecked(targetmode == 0);
    if (targetmode == 0) option2(1);
    // A sorted list; names keep their case.
    QStringList tables = tablefiles(QStringLiteral("*.rad"));
    tables.sort(Qt::CaseInsensitive);
    if (!tables.isEmpty()) {
        Command1[3]->setVisible(true);
        Combo2->setVisible(true);
        Check1->setVisible(true);
        Combo2->addItems(tables);
    }
    for (int r = Combo2->count() - 1; r >= 0; --r)
        if (tablenamefits(Combo2->itemText(r))) Combo2->setCurrentIndex(r);
    const QString name = storedtablename();
    if (!name.isEmpty())
        for (int r = Combo2->count() - 1; r >= 0; --r)
            if (Combo2->itemText(r).compare(name, Qt::CaseInsensitive) == 0) Combo2->setCurrentIndex(r);
    tablerow_ = Combo2->currentIndex();
    connect(Combo2, &QComboBox::activated, this, [this](int row) { tablechoice(row); });
}

// A table whose name the network file cannot keep is refused when it is
// chosen: the list goes back to the table chosen before.
void frmVisual::tablechoice(int row)
{
    if (tablenamefits(Combo2->itemText(row))) {
        tablerow_ = row;
        return;
    }
    msgbox(tablenametoolong(Combo2->itemText(row)), mbExclamation, QString(), this);
    Combo2->setCurrentIndex(tablerow_);
}

void frmVisual::check1()
{
    Frame5->setEnabled(!Check1->isChecked());
    Combo2->setEnabled(!Frame5->isEnabled());
}

void frmVisual::option2(int index)
{
    if (index == 1)
        Label1->setText(QStringLiteral("Altitude de la cible(m)\nau dessus de la mer"));
    else
        Label1->setText(QStringLiteral("Hauteur de la cible(m)\npar rapport au sol"));
    Label3->setText(QStringLiteral("Hauteur du senseur(m)\npar rapport au sol"));
    targetmode = Option2[0]->isChecked() ? -1 : 0;
}

void frmVisual::apply(int index)
{
    if (Check1->isChecked() && !tablenamefits(Combo2->currentText())) {
        msgbox(tablenametoolong(Combo2->currentText()), mbExclamation, QString(), this);
        return;
    }
    curunit = int16_t(Combo1->currentIndex() + 1);
    const uint32_t colours[] = {0x00FFFF, 0xFFFF00, 0xFF00FF};  // red in the low byte
    if (index >= 0 && index < 3) covset.viscolor = colours[index];
    float v = 0;
    if (number(Text1, v)) covset.sensorh = v;
    if (number(Text2, v)) covset.targeth = v;
    if (number(Text3, v)) covset.azmin = std::clamp(v, 0.0f, 359.9f);
    if (number(Text4, v)) covset.azmax = std::max(covset.azmin, std::min(360.0f, v));
    if (number(Text5, v)) covset.azstep = std::clamp(v, 0.1f, 10.0f);
    if (number(Text7, v)) covset.rangemax = std::clamp(v, 1.0f, 1000.0f);
    if (number(Text6, v)) covset.rangemin = std::max(0.1f, std::min(covset.rangemax, v));
    covset.sensorh = std::clamp(covset.sensorh, 0.1f, 9999.0f);
    covset.targeth = std::clamp(covset.targeth, 0.1f, 9999.0f);
    radarfile = Check1->isChecked() ? 1 : 0;
    table_.clear();
    if (radarfile == 1) {
        table_ = Combo2->currentText();
        storetablename(table_);
    }
    applied_ = index;
    accept();
}

void frmVisual::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    QDialog::keyPressEvent(e);
}

void visualapplied(int button, const QString &table)
{
    if (button >= 0 && button < 3) {
        visualcoverage(table);
    } else if (button == 3) {
        if (radiohooks.radar3d) radiohooks.radar3d(activepic(), table);
    }
}

void mnuViewVisual_Click()
{
    if (!findsource2d()) return;
    int button = -1;
    QString table;
    {
        frmVisual dlg(mainform);
        dlg.exec();
        button = dlg.applied();
        table = dlg.table();
    }
    visualapplied(button, table);
}

}  // namespace zk
