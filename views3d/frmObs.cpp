#include "views3d/frmObs.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>

#include <charconv>
#include <cmath>

#include "base/routines.h"
#include "pictures/view3d.h"

namespace zk {

QString obsnumber(float v)
{
    if (!std::isfinite(v)) return QStringLiteral("0");
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
    if (res.ec != std::errc()) return QStringLiteral("0");
    QString t = QString::fromLatin1(buf, int(res.ptr - buf));
    t.replace(QLatin1Char('.'), QLocale().decimalPoint());
    return t;
}

frmObs::frmObs(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmObs"));
    setWindowTitle(QStringLiteral("Options pour l'observation"));

    auto *stereo = new QGroupBox(QStringLiteral("Vue stéréoscopique"), this);
    auto *gs = new QGridLayout(stereo);
    Text1 = new QLineEdit(stereo);
    Text1->setObjectName(QStringLiteral("Text1"));
    gs->addWidget(new QLabel(QStringLiteral("Distance entre les yeux (m)"), stereo), 0, 0);
    gs->addWidget(Text1, 0, 1);

    auto *fly = new QGroupBox(QStringLiteral("Vol"), this);
    auto *gf = new QGridLayout(fly);
    Text2 = new QLineEdit(fly);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text3 = new QLineEdit(fly);
    Text3->setObjectName(QStringLiteral("Text3"));
    gf->addWidget(new QLabel(QStringLiteral("Images par seconde"), fly), 0, 0);
    gf->addWidget(Text2, 0, 1);
    gf->addWidget(new QLabel(QStringLiteral("Vitesse (m/s)"), fly), 1, 0);
    gf->addWidget(Text3, 1, 1);

    Command1 = new QPushButton(QStringLiteral("Appliquer"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("Annuler"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    // Enter in a box must not press a button by itself.
    Command1->setAutoDefault(false);
    Command2->setAutoDefault(false);

    auto *left = new QVBoxLayout;
    left->addWidget(stereo);
    left->addWidget(fly);
    auto *right = new QVBoxLayout;
    right->addWidget(Command1);
    right->addWidget(Command2);
    right->addStretch(1);
    auto *all = new QHBoxLayout(this);
    all->addLayout(left, 1);
    all->addLayout(right);

    for (QLineEdit *t : {Text1, Text2, Text3}) t->setFixedWidth(90);
    connect(Text1, &QLineEdit::textChanged, this, [this] { Text1_Change(); });
    connect(Text2, &QLineEdit::textChanged, this, [this] { Text2_Change(); });
    connect(Text3, &QLineEdit::textChanged, this, [this] { Text3_Change(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });

    Form_Load();
}

void frmObs::Form_Load()
{
    keepEye_ = eyedist;
    keepFps_ = flyfps;
    keepSpeed_ = flyspeed;
    // Setting a text runs its change handler: each value passes its range
    // check once.
    Text1->setText(obsnumber(eyedist));
    Text1->selectAll();
    Text2->setText(obsnumber(flyfps));
    Text2->selectAll();
    Text3->setText(obsnumber(flyspeed));
    Text3->selectAll();
}

void frmObs::Text1_Change() { eyedist = float(checkrange(0.01, 10000, Text1)); }
void frmObs::Text2_Change() { flyfps = float(checkrange(0.1, 10, Text2)); }
void frmObs::Text3_Change() { flyspeed = float(checkrange(0.1, 100000, Text3)); }

void frmObs::Command1_Click() { accept(); }

void frmObs::Command2_Click()
{
    eyedist = keepEye_;
    flyfps = keepFps_;
    flyspeed = keepSpeed_;
    reject();
}

void frmObs::Form_KeyDown(int key)
{
    // Esc closes and keeps the values as edited.
    if (key == Qt::Key_Escape) reject();
}

void frmObs::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape) {
        Form_KeyDown(e->key());
        return;
    }
    QDialog::keyPressEvent(e);
}

void showobs(QWidget *owner)
{
    frmObs dlg(owner);
    dlg.exec();
}

}  // namespace zk
