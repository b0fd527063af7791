#include "radio/frmUnit.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>
#include <cmath>

#include "base/dialogs.h"
#include "base/formkit.h"
#include "base/longop.h"
#include "base/routines.h"
#include "base/settings.h"
#include "cp1252.h"
#include "map/datum.h"
#include "map/frmCity.h"
#include "map/frmDMS.h"
#include "map/geotext.h"
#include "map/linktext.h"
#include "map/mapdata.h"
#include "msgbox.h"
#include "paths.h"
#include "pictures/cursor.h"
#include "pictures/frmPic.h"
#include "radio/radiohooks.h"
#include "radio/unitdraw.h"

namespace zk {

namespace {

constexpr uint8_t kNoIcon = 255;

QLabel *label(QWidget *parent, const char *name, const QString &text, int x, int y, int w, int h = 20)
{
    return form::label(parent, QLatin1String(name), text, QRect(x, y, w, h));
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, int x, int y, int w, int h = 26)
{
    return form::button(parent, QLatin1String(name), caption, QRect(x, y, w, h));
}

void settext(QLineEdit *box, const QString &text)
{
    box->setText(text);
    box->selectAll();
}

// A number as the quoting writer puts it: a point, at most the 7
// significant digits of a single, never an exponent (the readers of the
// cities file stop a number at its first letter).
QByteArray neutral(double v)
{
    if (!std::isfinite(v) || v == 0) return QByteArrayLiteral("0");
    QString t = QString::number(v, 'g', 7);
    if (t.contains(QLatin1Char('e'))) {
        const int decimals = std::clamp(7 - 1 - int(std::floor(std::log10(std::fabs(v)))), 0, 40);
        t = QString::number(v, 'f', decimals);
        if (t.contains(QLatin1Char('.'))) {
            while (t.endsWith(QLatin1Char('0'))) t.chop(1);
            if (t.endsWith(QLatin1Char('.'))) t.chop(1);
        }
    }
    return t.toLatin1();
}

}  // namespace

QByteArray cityline(const UnitRecord &u)
{
    QString name = fixedText(u.name).trimmed();
    for (QChar &ch : name) {
        if (ch == QLatin1Char('"'))
            ch = QLatin1Char('\'');
        else if (ch == QLatin1Char(','))
            ch = QLatin1Char(';');
        else if (ch.unicode() < 0x20)
            ch = QLatin1Char(' ');
    }
    QByteArray line;
    line += '"' + QByteArray::number(u.color, 16).toUpper() + "\",";
    line += neutral(double(u.lat)) + ',';
    line += neutral(-double(u.lon)) + ',';
    line += '"' + toCp1252(name) + "\"\r\n";
    return line;
}

QByteArray citiesheader() { return QByteArrayLiteral("\"Code\",\"Latitude\",\"Longitude (ouest positive)\",\"Nom\"\r\n"); }

frmUnit::frmUnit(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmUnit"));
    setWindowTitle(QStringLiteral("Propriétés des stations"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setGeometry(8, 8, 170, 436);

    const int x = 186;
    Label3 = label(this, "Label3", QStringLiteral("Nom"), x, 10, 90);
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(x + 94, 8, 196, 22);
    Label5 = label(this, "Label5", QStringLiteral("Altitude (m)"), x, 38, 90);
    Label5->setToolTip(QStringLiteral("-999 à 9999m"));
    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setGeometry(x + 94, 36, 90, 22);
    Text2->setToolTip(QStringLiteral("-999 à 9999m"));
    Check1 = new QCheckBox(QStringLiteral("Activée"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setGeometry(x, 66, 120, 22);
    Check2 = new QCheckBox(QStringLiteral("Transparente"), this);
    Check2->setObjectName(QStringLiteral("Check2"));
    Check2->setGeometry(x + 124, 66, 150, 22);
    Label4 = label(this, "Label4", QStringLiteral("Exemple"), x, 98, 100, 22);
    Label4->setAlignment(Qt::AlignCenter);
    Command9 = button(this, "Command9", QStringLiteral("Couleur"), x + 108, 96, 88);
    Command8 = button(this, "Command8", QStringLiteral("Fond"), x + 202, 96, 88);
    Label6 = label(this, "Label6", QStringLiteral("Icône"), x, 132, 200);
    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setGeometry(x, 156, 200, 18);
    HScroll1->setRange(0, 0);
    Image1 = label(this, "Image1", QString(), x + 220, 130, 48, 48);
    Image1->setAlignment(Qt::AlignCenter);

    Frame1 = new QGroupBox(QStringLiteral("Position"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(x, 184, 290, 226);
    Label1 = label(Frame1, "Label1", QString(), 10, 22, 270);
    {
        QPalette pal = Label1->palette();
        pal.setColor(QPalette::WindowText, QColor(0, 0, 255));
        pal.setColor(QPalette::Window, QColor(192, 192, 192));
        Label1->setPalette(pal);
        Label1->setAutoFillBackground(true);
    }
    Label2 = label(Frame1, "Label2", QString(), 10, 46, 270);
    {
        QPalette pal = Label2->palette();
        pal.setColor(QPalette::WindowText, QColor(0, 128, 0));
        Label2->setPalette(pal);
    }
    Command3 = button(Frame1, "Command3", QStringLiteral("Importer la station de cities.dat"), 10, 72, 270);
    Command1 = button(Frame1, "Command1", QStringLiteral("Ajouter la station à cities.dat"), 10, 102, 270);
    Command4 = button(Frame1, "Command4", QStringLiteral("Entrer LAT LON ou"), 10, 132, 270);
    Command5 = button(Frame1, "Command5", QStringLiteral("Placer la station à la position du curseur"), 10, 162, 270);
    Command6 = button(Frame1, "Command6", QStringLiteral("Placer le curseur à la position de la station"), 10, 192, 270);
    Command7 = button(this, "Command7", QStringLiteral("Défaire la station"), x, 418, 140);
    Command2 = button(this, "Command2", QStringLiteral("Appliquer"), x + 150, 418, 140);
    setFixedSize(x + 298, 452);

    connect(List1, &QListWidget::currentRowChanged, this, &frmUnit::List1_Click);
    connect(List1, &QListWidget::itemClicked, this, [this](QListWidgetItem *it) { List1_Click(List1->row(it)); });
    connect(Text1, &QLineEdit::textChanged, this, &frmUnit::Text1_Change);
    connect(Text2, &QLineEdit::textChanged, this, &frmUnit::Text2_Change);
    connect(Check1, &QCheckBox::toggled, this, &frmUnit::Check1_Click);
    connect(Check2, &QCheckBox::toggled, this, &frmUnit::Check2_Click);
    connect(Command9, &QPushButton::clicked, this, &frmUnit::Command9_Click);
    connect(Command8, &QPushButton::clicked, this, &frmUnit::Command8_Click);
    connect(HScroll1, &QScrollBar::valueChanged, this, &frmUnit::HScroll1_Change);
    connect(Command1, &QPushButton::clicked, this, &frmUnit::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &frmUnit::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frmUnit::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &frmUnit::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &frmUnit::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &frmUnit::Command7_Click);
    connect(Command2, &QPushButton::clicked, this, &QDialog::accept);
    // What the user changes here is a change of the document: the exit
    // prompt must offer to save it. (Showing a unit stores its values back
    // too, which is no change of the user's.)
    auto changed = [] { netmodified = true; };
    connect(Text1, &QLineEdit::textEdited, this, changed);
    connect(Text2, &QLineEdit::textEdited, this, changed);
    connect(Check1, &QCheckBox::clicked, this, changed);
    connect(Check2, &QCheckBox::clicked, this, changed);
    connect(HScroll1, &QScrollBar::actionTriggered, this, changed);

    // Form_Load.
    // 1. Only the unit being edited shows on the pictures.
    for (frmPic *w : picwindows()) {
        if (!w->Picture1) continue;
        w->Picture1->cls();
        w->Picture1->refresh();
    }
    // 2-3.
    curunit = int16_t(std::clamp<int>(curunit, 1, kUnits));
    for (int i = 1; i <= kUnits; ++i) List1->addItem(fixedText(units[i].name).trimmed());
    // 4.
    Command4->setText(Command4->text() + (ellname.isEmpty() ? QStringLiteral(" QRA") : QStringLiteral(" MGRS")));
    // 5.
    HScroll1->setRange(0, int(stationicons().size()));
    // 6. Selecting the row takes the backup and shows the unit.
    List1->setCurrentRow(curunit - 1);
}

int frmUnit::unit() const { return std::clamp<int>(curunit, 1, kUnits); }

void frmUnit::List1_Click(int row)
{
    const int i = row + 1;
    if (i < 1 || i > kUnits) return;
    if (i != last_) backup_ = units[i];
    last_ = i;
    curunit = int16_t(i);
    updatefields();
}

void frmUnit::updatefields()
{
    const int c = unit();
    const UnitRecord u = units[c];
    // 1.
    settext(Text1, fixedText(u.name).trimmed());
    settext(Text2, floatText(double(u.elev)));
    // 2. The texts are made from copies: showing a unit never moves it.
    editmap.lon = u.lon;
    editmap.lat = u.lat;
    Label1->setText(gridlocator(u.lon, u.lat));
    float lat = u.lat, lon = u.lon;
    const QString la = latdms(lat);
    Label2->setText(la + QLatin1Char(' ') + londms(lon));
    // 3.
    Check1->setChecked(units[c].enabled != 0);
    Check2->setChecked(units[c].transparent != 0);
    setsample();
    // 4.
    const int n = HScroll1->maximum();
    const uint8_t icon = uniticon[c];
    const int p = icon == kNoIcon ? 0 : (icon < n ? icon + 1 : 1);
    // The bar's own change stores the icon; a bar that stays where it is
    // still shows the unit's icon (and stores nothing).
    if (HScroll1->value() == p)
        showicon(p);
    else
        HScroll1->setValue(p);
}

void frmUnit::showicon(int p)
{
    if (p <= 0) {
        Image1->setPixmap(QPixmap());
        Label6->setText(QStringLiteral("Aucun icône"));
        return;
    }
    const QList<QPixmap> icons = stationicons();
    // A missing icon picture leaves the image as it was.
    if (p - 1 < icons.size()) Image1->setPixmap(icons[p - 1]);
    const QPixmap shown = Image1->pixmap();
    Label6->setText(QStringLiteral("Icône ") + QString::number(shown.width()) + QLatin1Char('x') + QString::number(shown.height()) +
                    QStringLiteral(" pixels"));
}

void frmUnit::setsample()
{
    const UnitRecord &u = units[unit()];
    Label4->setVisible(Check1->isChecked());
    QPalette pal = Label4->palette();
    pal.setColor(QPalette::WindowText, qcolor(u.color));
    pal.setColor(QPalette::Window, qcolor(u.backcolor));
    Label4->setPalette(pal);
    Label4->setAutoFillBackground(!Check2->isChecked());
    Label4->update();
}

void frmUnit::Text1_Change()
{
    const int c = unit();
    setFixedText(units[c].name, Text1->text().trimmed());
    if (QListWidgetItem *it = List1->item(c - 1)) it->setText(fixedText(units[c].name).trimmed());
    drawunit(c, true);
}

void frmUnit::Text2_Change() { units[unit()].elev = float(checkrange(-999, 9999, Text2)); }

void frmUnit::Check1_Click()
{
    const int c = unit();
    units[c].enabled = Check1->isChecked() ? 1 : 0;
    Label4->setVisible(Check1->isChecked());
    drawunit(c, true);
}

void frmUnit::Check2_Click()
{
    const int c = unit();
    units[c].transparent = Check2->isChecked() ? 1 : 0;
    setsample();
    drawunit(c, true);
}

void frmUnit::Command9_Click()
{
    netmodified = true;
    const int c = unit();
    const uint32_t chosen = pickcolor(this, rgbof(Label4->palette().color(QPalette::WindowText)));
    units[c].color = chosen;
    setsample();
    drawunit(c, true);
}

void frmUnit::Command8_Click()
{
    netmodified = true;
    const int c = unit();
    const uint32_t chosen = pickcolor(this, rgbof(Label4->palette().color(QPalette::Window)));
    units[c].backcolor = chosen;
    setsample();
    drawunit(c, true);
}

void frmUnit::HScroll1_Change()
{
    const int p = HScroll1->value();
    uniticon[unit()] = p <= 0 ? kNoIcon : uint8_t(std::min(p - 1, 254));
    showicon(p);
}

void frmUnit::Command5_Click()
{
    moveunit(curlon, curlat);
    updatefields();
}

void frmUnit::Command6_Click() { showcursor(editmap.lon, editmap.lat); }

void frmUnit::Command4_Click()
{
    {
        frmDMS dlg(this);
        dlg.exec();
    }
    // Whichever button closed it: a cancelled dialog left the unit's own
    // position, and the unit takes its ground elevation from the map again.
    moveunit(editmap.lon, editmap.lat);
    updatefields();
}

void frmUnit::Command3_Click()
{
    if (runflag >= 1) return;
    const int c = unit();
    editmap.lon = units[c].lon;
    editmap.lat = units[c].lat;
    linktext1.clear();
    {
        frmCity dlg(this);
        dlg.exec();
    }
    if (linktext1.isEmpty()) return;
    moveunit(editmap.lon, editmap.lat);
    setFixedText(units[unit()].name, linktext1);
    updatefields();
}

void frmUnit::Command1_Click()
{
    const UnitRecord u = units[unit()];
    const QString name = fixedText(u.name).trimmed();
    if (msgbox(name + QStringLiteral("\r\n") + Command1->text() + QLatin1Char('?'), mbYesNo) == idNo) return;

    QFile f(paths::writableDataFile(QStringLiteral("cities.dat")));
    // A file that has to be made gets its header line, which every reader
    // skips: the unit would otherwise be that line and never be listed.
    const bool fresh = !f.exists() || f.size() == 0;
    bool needsend = false;
    if (!fresh && f.open(QIODevice::ReadOnly)) {
        // The last line may lack its end: the unit's line must not be glued
        // to it (both places would be lost to the readers).
        if (f.seek(f.size() - 1)) {
            const QByteArray last = f.read(1);
            needsend = last != "\n" && last != "\r";
        }
        f.close();
    }
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append)) return;
    QByteArray bytes;
    if (fresh) bytes += citiesheader();
    if (needsend) bytes += "\r\n";
    bytes += cityline(u);
    f.write(bytes);
    f.close();
}

void frmUnit::Command7_Click()
{
    netmodified = true;
    const int c = unit();
    units[c] = backup_;
    updatefields();
    drawunit(c, true);
}

void frmUnit::done(int result)
{
    drawunit(0, true);
    QDialog::done(result);
}

}  // namespace zk
