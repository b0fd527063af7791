#include "frmColors.h"

#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "base/dialogs.h"
#include "base/formkit.h"
#include "base/routines.h"
#include "base/settings.h"
#include "map/mapdata.h"
#include "pictures/colorscale.h"
#include "pictures/picbox.h"

namespace zk {

namespace {

int16_t g_fixedscale = 0;

constexpr int kRowTop = 34;   // top of colour row 0, pixels
constexpr int kRowStep = 26;  // rows apart

QPushButton *button(QWidget *parent, const QString &name, const QString &caption, int x, int y, int w, int h)
{
    return form::button(parent, name, caption, QRect(x, y, w, h));
}

QString colourSheet(uint32_t c)
{
    const QColor q = qcolor(c);
    // Dark colours get a white caption so that the number stays readable.
    const bool dark = q.red() * 299 + q.green() * 587 + q.blue() * 114 < 128000;
    return QStringLiteral("QPushButton { background-color: %1; color: %2; border: 1px solid black; }")
        .arg(q.name(), dark ? QStringLiteral("white") : QStringLiteral("black"));
}

}  // namespace

int16_t fixedscale() { return g_fixedscale; }

frmColors::frmColors(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmColors"));
    setWindowTitle(QStringLiteral("Couleurs arc-en-ciel"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);

    const int textX = 10, textW = 78, colX = 96, colW = 44, shapeX = 148;
    Label1 = new QLabel(QStringLiteral("Altitude (m)"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(textX, 8, textW + 4, 20);
    Label7 = new QLabel(QStringLiteral("Color"), this);
    Label7->setObjectName(QStringLiteral("Label7"));
    Label7->setGeometry(colX, 8, colW, 20);
    Label8 = new QLabel(this);
    Label8->setObjectName(QStringLiteral("Label8"));
    Label8->setGeometry(textX, kRowTop, textW, 22);
    Label8->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    for (int k = 0; k < 12; ++k) {
        const int y = kRowTop + k * kRowStep;
        Command1[size_t(k)] = button(this, QStringLiteral("Command1(%1)").arg(k), QString::number(k + 1), colX, y, colW, 22);
        connect(Command1[size_t(k)], &QPushButton::clicked, this, [this, k] { Command1_Click(k); });
        auto *s = new QFrame(this);
        s->setObjectName(QStringLiteral("Shape1(%1)").arg(k));
        s->setFrameShape(QFrame::Box);
        s->setGeometry(shapeX, y + 7, 8, 8);
        Shape1[size_t(k)] = s;
    }
    for (int k = 0; k < 11; ++k) {
        auto *t = new QLineEdit(this);
        t->setObjectName(QStringLiteral("Text1(%1)").arg(k));
        t->setAlignment(Qt::AlignRight);
        t->setGeometry(textX, kRowTop + (k + 1) * kRowStep, textW, 22);
        Text1[size_t(k)] = t;
    }
    connect(Text1[0], &QLineEdit::textChanged, this, [this](const QString &t) { Label8->setText(QStringLiteral("< ") + t); });

    const int rx = 172, rw = 150;
    int ry = kRowTop;
    auto next = [&ry](int gap = 30) {
        const int y = ry;
        ry += gap;
        return y;
    };
    Command2 = button(this, QStringLiteral("Command2"), QStringLiteral("Appliquer"), rx, next(), rw, 24);
    Command8 = button(this, QStringLiteral("Command8"), QStringLiteral("Appliquer et garder"), rx, next(), rw, 24);
    Command3 = button(this, QStringLiteral("Command3"), QStringLiteral("Annuler"), rx, next(38), rw, 24);
    Check1 = new QCheckBox(QStringLiteral("Montrer légende"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setGeometry(rx, next(26), rw, 22);
    Check4 = new QCheckBox(QStringLiteral("Couleurs statifiées"), this);
    Check4->setObjectName(QStringLiteral("Check4"));
    Check4->setGeometry(rx, next(34), rw, 22);
    Command5 = button(this, QStringLiteral("Command5"), QStringLiteral("Échelle relative"), rx, next(), rw, 24);
    Command6 = button(this, QStringLiteral("Command6"), QStringLiteral("Échelle absolue"), rx, next(38), rw, 24);
    for (int i = 0; i < 4; ++i) {
        Command4[size_t(i)] =
            button(this, QStringLiteral("Command4(%1)").arg(i), QStringLiteral("Couleurs %1").arg(i + 1), rx, next(), rw, 24);
        connect(Command4[size_t(i)], &QPushButton::clicked, this, [this, i] { Command4_Click(i); });
    }
    setFixedSize(rx + rw + 12, std::max(ry, kRowTop + 12 * kRowStep) + 8);

    connect(Command2, &QPushButton::clicked, this, &frmColors::Command2_Click);
    connect(Command8, &QPushButton::clicked, this, &frmColors::Command8_Click);
    connect(Command3, &QPushButton::clicked, this, &QDialog::reject);
    connect(Command5, &QPushButton::clicked, this, &frmColors::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &frmColors::Command6_Click);

    // Form_Load.
    for (int k = 0; k < 12; ++k) setbuttoncolor(k, colors[size_t(k)]);
    if (scalekind == 1) {
        Label1->setText(QStringLiteral("Signal"));
        for (int k = 0; k < 11; ++k) {
            Text1[size_t(k)]->setText(floatText(sigsteps[size_t(k)]));
            Text1[size_t(k)]->setEnabled(false);
        }
        Check4->hide();
        Command5->hide();
        Command6->hide();
        Command8->hide();
    } else {
        Label1->setText(QStringLiteral("Altitude (m)"));
        for (int k = 0; k < 11; ++k) Text1[size_t(k)]->setText(QString::number(alt[size_t(k)]));
    }
    Check4->setChecked(stratcolors > 0);
    Check1->setChecked(showlegend > 0);
    // The scale in use is the dialog's starting choice: applying without
    // pressing a scale button must not turn an absolute scale into a
    // relative one behind the user's back.
    g_fixedscale = absscale != 0 ? 1 : 0;
}

uint32_t frmColors::buttoncolor(int k) const { return (k >= 0 && k < 12) ? shown_[size_t(k)] : 0; }

void frmColors::setbuttoncolor(int k, uint32_t colour)
{
    if (k < 0 || k >= 12) return;
    shown_[size_t(k)] = colour;
    Command1[size_t(k)]->setStyleSheet(colourSheet(colour));
}

void frmColors::Command1_Click(int index)
{
    if (index < 0 || index >= 12) return;
    setbuttoncolor(index, pickcolor(this, buttoncolor(index)));
}

void frmColors::apply()
{
    absscale = g_fixedscale;
    stratcolors = Check4->isChecked() ? 1 : 0;
    showlegend = Check1->isChecked() ? 1 : 0;
    for (int k = 0; k < 12; ++k) colors[size_t(k)] = shown_[size_t(k)];
    if (scalekind != 1) {
        // A box that is not a number in the user's format, or does not fit,
        // leaves its threshold as it was.
        for (int k = 0; k < 11; ++k)
            if (auto v = settingWhole(Text1[size_t(k)]->text(), -32768, 32767)) alt[size_t(k)] = int16_t(*v);
    }
}

void frmColors::Command2_Click()
{
    apply();
    accept();
}

void frmColors::Command8_Click()
{
    apply();
    // A file that cannot be written leaves the scale applied all the same.
    savecolors();
    accept();
}

void frmColors::Command4_Click(int index)
{
    if (index < 0 || index >= 4) return;
    const auto c = presetcolors(index + 1);
    for (int k = 0; k < 12; ++k) setbuttoncolor(k, c[size_t(k)]);
}

void frmColors::Command5_Click()
{
    // Halves to even, as the spread of initcolors; nothing checks that the
    // ceiling lies above the floor.
    const double minx = editmap.minx, maxx = editmap.maxx;
    for (int k = 0; k <= 10; ++k) {
        const double v = minx + (maxx - minx) * k / 10.0;
        Text1[size_t(k)]->setText(QString::number(std::clamp<long long>(roundEven(v), INT32_MIN, INT32_MAX)));
    }
    g_fixedscale = 0;
}

void frmColors::Command6_Click()
{
    Text1[0]->setText(QStringLiteral("1"));
    for (int k = 1; k <= 10; ++k) Text1[size_t(k)]->setText(QString::number(k * 100));
    g_fixedscale = 1;
}

void frmColors::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    QDialog::keyPressEvent(e);
}

void showcolors(QWidget *owner)
{
    frmColors dlg(owner);
    dlg.exec();
}

}  // namespace zk
