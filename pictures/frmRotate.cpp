#include "frmRotate.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <cmath>

#include "base/settings.h"
#include "pictures/merge.h"

namespace zk {

RotateInput rotateinput(const QString &angle, const QString &stretch)
{
    RotateInput in;
    if (const auto a = settingFloat(angle)) in.angle_deg = std::clamp(*a, -360.0, 360.0);
    if (const auto s = settingFloat(stretch)) in.stretch = std::clamp(*s, 0.1, 20.0);
    return in;
}

frmRotate::frmRotate(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmRotate"));
    setWindowTitle(QStringLiteral("Tourner/Étirer (dans une nouvelle image)"));

    auto *g = new QGridLayout(this);
    Label1 = new QLabel(QStringLiteral("Rotation (° sens horaire)"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Text1 = new QLineEdit(QStringLiteral("0"), this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Label2 = new QLabel(QStringLiteral("Facteur d'étirement"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Text2 = new QLineEdit(QStringLiteral("1"), this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Command1 = new QPushButton(QStringLiteral("Appliquer"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("Annuler"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setAutoDefault(false);
    g->addWidget(Label1, 0, 0);
    g->addWidget(Text1, 1, 0);
    g->addWidget(Label2, 2, 0);
    g->addWidget(Text2, 3, 0);
    auto *row = new QHBoxLayout;
    row->addWidget(Command1);
    row->addWidget(Command2);
    g->addLayout(row, 4, 0);

    connect(Command1, &QPushButton::clicked, this, &frmRotate::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &QDialog::reject);
}

void frmRotate::Command1_Click()
{
    const RotateInput in = rotateinput(Text1->text(), Text2->text());
    accept();
    if (in.angle_deg == 0 && in.stretch == 1) return;
    rotatepic(float(in.angle_deg), float(in.stretch));
}

}  // namespace zk
