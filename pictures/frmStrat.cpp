#include "frmStrat.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <limits>

#include "base/controls.h"
#include "base/dialogs.h"
#include "base/settings.h"
#include "pictures/picbox.h"
#include "pictures/strat.h"

namespace zk {

frmStrat::frmStrat(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmStrat"));
    setWindowTitle(QStringLiteral("Stratification de l'image"));

    auto *g = new QGridLayout(this);
    Label1 = new QLabel(QStringLiteral("Altitude minimale (m)"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Label2 = new QLabel(QStringLiteral("Altitude maximale (m)"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Shape1 = new Shape(this, Shape::Rectangle, Qt::black, Qt::black);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setMinimumSize(40, 20);
    Command1 = new QPushButton(QStringLiteral("Couleur"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setAutoDefault(false);
    Command2 = new QPushButton(QStringLiteral("Exécute"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    g->addWidget(Label1, 0, 0);
    g->addWidget(Text1, 0, 1);
    g->addWidget(Label2, 1, 0);
    g->addWidget(Text2, 1, 1);
    g->addWidget(Shape1, 2, 0);
    g->addWidget(Command1, 2, 1);
    g->addWidget(Command2, 3, 0, 1, 2);
    connect(Command1, &QPushButton::clicked, this, &frmStrat::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmStrat::Command2_Click);

    // Form_Load: the last band and colour.
    Text1->setText(readsetting(QStringLiteral("Strath1"), "1"));
    Text2->setText(readsetting(QStringLiteral("Strath2"), "1"));
    uint32_t c = 0;
    if (const auto v = settingWhole(readsetting(QStringLiteral("Stratcol"), 0), std::numeric_limits<int32_t>::min(),
                                    std::numeric_limits<int32_t>::max()))
        c = uint32_t(int32_t(*v));
    setColour(c);
    Text1->selectAll();
    Text2->selectAll();
}

void frmStrat::setColour(uint32_t c)
{
    colour_ = c;
    Shape1->setFillColor(qcolor(c));
    Shape1->setBorderColor(qcolor(c));
}

void frmStrat::Command1_Click() { setColour(pickcolor(this, colour_)); }

void frmStrat::Command2_Click()
{
    writesetting(QStringLiteral("Strath1"), Text1->text());
    writesetting(QStringLiteral("Strath2"), Text2->text());
    writesetting(QStringLiteral("Stratcol"), wholeText(int32_t(colour_)));
    accept();
    // A band that is not made of two numbers paints nothing.
    const auto lo = settingFloat(Text1->text()), hi = settingFloat(Text2->text());
    if (!lo || !hi) return;
    // Elevations are 16-bit: any band reaching beyond them is as good as
    // one that stops there, and stays a valid single-precision number.
    stratify(float(std::clamp(*lo, -1.0e6, 1.0e6)), float(std::clamp(*hi, -1.0e6, 1.0e6)), colour_);
}

}  // namespace zk
