#include "frmDMS.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

#include "base/formkit.h"
#include "base/routines.h"
#include "base/screen.h"
#include "base/settings.h"
#include "map/datum.h"
#include "map/geotext.h"
#include "map/mapdata.h"
#include "map/utm.h"

namespace zk {

namespace {

int px(double twips) { return qRound(twips / twipsPerPixelX()); }
int py(double twips) { return qRound(twips / twipsPerPixelY()); }

void place(QWidget *w, double x, double y, double width, double height)
{
    w->setGeometry(px(x), py(y), px(width), py(height));
}

QLabel *label(QWidget *parent, const char *name, const QString &text, double x, double y, double w, double h = 285)
{
    return form::label(parent, QLatin1String(name), text, QRect(px(x), py(y), px(w), py(h)));
}

QPushButton *button(QWidget *parent, const char *name, const QString &caption, double x, double y, double w, double h)
{
    return form::button(parent, QLatin1String(name), caption, QRect(px(x), py(y), px(w), py(h)));
}

void setTextColor(QLineEdit *box, const QColor &c)
{
    QPalette pal = box->palette();
    pal.setColor(QPalette::Text, c);
    box->setPalette(pal);
}

// A field's number: the number at the start of its text, point as decimal
// separator, blanks ignored, 0 when there is none.
double fieldValue(const QLineEdit *box) { return leadingNumber(box->text()); }

}  // namespace

frmDMS::frmDMS(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmDMS"));
    setWindowTitle(QStringLiteral("Coordonnées WGS"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(px(5400), py(2100));

    const double fieldX[3] = {1140, 1860, 2580};
    const double rowY[2] = {180, 840};
    const char *const markNames[2][3] = {{"Label3", "Label4", "Label5"}, {"Label6", "Label7", "Label8"}};
    const QString marks[3] = {QString(QChar(0x00B0)), QStringLiteral("'"), QStringLiteral("\"")};

    Label1 = label(this, "Label1", QStringLiteral("Longitude"), 120, rowY[0], 975);
    Label2 = label(this, "Label2", QStringLiteral("Latitude"), 120, rowY[1], 975);
    for (int row = 0; row < 2; ++row) {
        for (int k = 0; k < 3; ++k) {
            const int i = 3 * row + k;
            auto *t = new QLineEdit(this);
            t->setObjectName(QStringLiteral("Text1(%1)").arg(i));
            place(t, fieldX[k], rowY[row], 480, 285);
            Text1[size_t(i)] = t;
            label(this, markNames[row][k], marks[k], fieldX[k] + 510, rowY[row], 150);
        }
    }
    Command1 = button(this, "Command1", QStringLiteral("E"), 3300, rowY[0] - 45, 375, 375);
    Command2 = button(this, "Command2", QStringLiteral("N"), 3300, rowY[1] - 45, 375, 375);
    Label9 = label(this, "Label9", QStringLiteral("QRA"), 120, 1560, 975);
    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    place(Text2, 1140, 1560, 1935, 285);
    Command3 = button(this, "Command3", QStringLiteral("Appliquer"), 3960, 135, 1215, 375);
    Command4 = button(this, "Command4", QStringLiteral("Annuler"), 3960, 615, 1215, 375);

    // Tab order: the three longitude fields, its button, the three latitude
    // fields, its button, the grid reference, Appliquer, Annuler.
    QWidget *order[] = {Text1[0], Text1[1], Text1[2], Command1, Text1[3], Text1[4], Text1[5], Command2, Text2, Command3, Command4};
    for (size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);

    // The dialog sees the keys before its controls (Esc closes from any field).
    for (QWidget *w : order) w->installEventFilter(this);

    for (QLineEdit *t : Text1) connect(t, &QLineEdit::textChanged, this, &frmDMS::onText1Changed);
    connect(Text2, &QLineEdit::textChanged, this, &frmDMS::onText2Changed);
    connect(Command1, &QPushButton::clicked, this, &frmDMS::onCommand1);
    connect(Command2, &QPushButton::clicked, this, &frmDMS::onCommand2);
    connect(Command3, &QPushButton::clicked, this, &frmDMS::onCommand3);
    connect(Command4, &QPushButton::clicked, this, &QDialog::reject);

    // Form_Load: each showing starts from editmap.
    lon_ = editmap.lon;
    lat_ = editmap.lat;
    update();
    updatell();
    Label9->setText(ellname.isEmpty() ? QStringLiteral("QRA") : QStringLiteral("MGRS"));
}

void frmDMS::update()
{
    busy_ = true;
    // londms and latdms wrap and clamp the dialog's own position in place.
    const QString lo = londms(lon_);
    Text1[0]->setText(lo.mid(0, 3));
    Text1[1]->setText(lo.mid(4, 2));
    Text1[2]->setText(lo.mid(7, 2));
    Command1->setText(lo.right(1));
    const QString la = latdms(lat_);
    Text1[3]->setText(la.mid(0, 2));
    Text1[4]->setText(la.mid(3, 2));
    Text1[5]->setText(la.mid(6, 2));
    // Typing into a field replaces its whole text.
    for (QLineEdit *t : Text1) t->selectAll();
    Command2->setText(la.right(1));
    busy_ = false;
}

void frmDMS::updatell()
{
    busy_ = true;
    double lon = fieldValue(Text1[0]) + fieldValue(Text1[1]) / 60.0 + fieldValue(Text1[2]) / 3600.0;
    lon = max(-180.0, min(180.0, lon));
    if (Command1->text() == QLatin1String("O")) lon = -lon;
    double lat = fieldValue(Text1[3]) + fieldValue(Text1[4]) / 60.0 + fieldValue(Text1[5]) / 3600.0;
    lat = max(-90.0, min(90.0, lat));
    if (Command2->text() != QLatin1String("N")) lat = -lat;
    lon_ = float(lon);
    lat_ = float(lat);
    // The six fields stay as typed; only the grid reference follows.
    Text2->setText(gridlocator(lon_, lat_));
    Text2->selectAll();
    busy_ = false;
}

void frmDMS::updateqra()
{
    busy_ = true;
    if (!ellname.isEmpty()) {
        float lon = lon_, lat = lat_;
        if (utmtolatlon(Text2->text(), lon, lat)) {
            lon_ = lon;
            lat_ = lat;
            setTextColor(Text2, QColor(0, 0, 0));
        } else {
            setTextColor(Text2, QColor(255, 0, 0));
        }
    } else {
        // A locator always reads: the south-west corner of its square.
        double lon = 0, lat = 0;
        qratolatlon(Text2->text(), lon, lat);
        lon_ = float(lon);
        lat_ = float(lat);
    }
    busy_ = false;
    update();  // the fields follow; Text2 keeps what the user typed
}

void frmDMS::onText1Changed()
{
    if (!busy_) updatell();
}

void frmDMS::onText2Changed()
{
    if (!busy_) updateqra();
}

void frmDMS::onCommand1()
{
    Command1->setText(Command1->text() == QLatin1String("O") ? QStringLiteral("E") : QStringLiteral("O"));
    if (!busy_) updatell();
}

void frmDMS::onCommand2()
{
    Command2->setText(Command2->text() == QLatin1String("N") ? QStringLiteral("S") : QStringLiteral("N"));
    if (!busy_) updatell();
}

void frmDMS::onCommand3()
{
    editmap.lon = lon_;
    editmap.lat = lat_;
    accept();
}

bool frmDMS::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        reject();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmDMS::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace zk
