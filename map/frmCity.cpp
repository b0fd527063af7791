#include "frmCity.h"

#include <QFile>
#include <QFontMetrics>
#include <QIODevice>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <array>

#include "base/longop.h"
#include "base/screen.h"
#include "base/settings.h"
#include "cp1252.h"
#include "map/geotext.h"
#include "map/linktext.h"
#include "map/mapdata.h"
#include "map/mapservices.h"
#include "paths.h"

namespace zk {

namespace {

// A cities file is a few hundred lines; this bounds what a wrong file can cost.
constexpr qint64 kMaxCitiesBytes = 16 * 1024 * 1024;
constexpr int kNameWidth = 22;
constexpr int kReturnedNameWidth = 20;

int px(double twips) { return qRound(twips / twipsPerPixelX()); }
int py(double twips) { return qRound(twips / twipsPerPixelY()); }

}  // namespace

std::optional<QString> cityrow(const QByteArray &line)
{
    // Fields by comma, double quotes dropped wherever they stand.
    std::array<QByteArray, 4> field;
    int commas = 0;
    for (char c : line) {
        if (c == ',') {
            ++commas;
        } else if (c != '"' && commas < 4) {
            field[size_t(commas)].append(c);
        }
    }
    if (commas != 3) return std::nullopt;

    double lat = leadingNumber(QString::fromLatin1(field[1]));
    double lon = -leadingNumber(QString::fromLatin1(field[2]));  // the file counts west positive
    QString name = fromCp1252(field[3]).left(kNameWidth).leftJustified(kNameWidth, QLatin1Char(' '));
    return name + londms(lon) + QLatin1Char(' ') + latdms(lat);
}

QStringList cityrows(QIODevice &file)
{
    QStringList rows;
    const QByteArray bytes = file.read(kMaxCitiesBytes);
    // Lines end in CR LF, LF or CR; the first line is the header.
    qsizetype start = 0;
    bool header = true;
    const qsizetype n = bytes.size();
    while (start < n) {
        qsizetype end = start;
        while (end < n && bytes[end] != '\r' && bytes[end] != '\n') ++end;
        if (!header) {
            if (auto row = cityrow(bytes.mid(start, end - start))) rows.append(*row);
        }
        header = false;
        if (end < n && bytes[end] == '\r' && end + 1 < n && bytes[end + 1] == '\n') ++end;
        start = end + 1;
    }
    return rows;
}

CityChoice cityfromrow(const QString &row)
{
    CityChoice c;
    c.name = row.left(kReturnedNameWidth);
    // The last 22 characters: longitude text (11), a blank, latitude text (10).
    const QString t = row.right(22);
    auto num = [&](int from, int count) { return leadingNumber(t.mid(from, count)); };
    double lon = num(0, 3) + num(4, 2) / 60.0 + num(7, 2) / 3600.0;
    if (t.mid(10, 1) != QLatin1String("E")) lon = -lon;
    double lat = num(12, 2) + num(15, 2) / 60.0 + num(18, 2) / 3600.0;
    if (t.mid(21, 1) != QLatin1String("N")) lat = -lat;
    c.lon = float(lon);
    c.lat = float(lat);
    return c;
}

frmCity::frmCity(QWidget *owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("frmCity"));
    setWindowTitle(QStringLiteral("Villes"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    // "Fixedsys", not bold: the monospace face, so that the columns line up.
    QFont fixed(QStringLiteral("DejaVu Sans Mono"));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    fixed.setBold(false);
    List1->setFont(fixed);
    const int rowWidth = QFontMetrics(fixed).horizontalAdvance(QString(44, QLatin1Char('0')));
    List1->setGeometry(px(120), py(120), rowWidth + 40, py(4200));

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(px(120), List1->geometry().bottom() + py(120), rowWidth + 40, py(285));

    const int right = List1->geometry().right() + px(120);
    Command3 = new QPushButton(QStringLiteral("Appliquer"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setGeometry(right, py(120), px(1215), py(375));
    Command4 = new QPushButton(QStringLiteral("Annuler"), this);
    Command4->setObjectName(QStringLiteral("Command4"));
    Command4->setGeometry(right, py(600), px(1215), py(375));
    for (QPushButton *b : {Command3, Command4}) {
        b->setAutoDefault(false);
        b->setDefault(false);
    }
    setFixedSize(right + px(1215) + px(120), Label1->geometry().bottom() + py(120));

    for (QWidget *w : std::initializer_list<QWidget *>{List1, Command3, Command4}) w->installEventFilter(this);
    // A choice is a row the user selects (a click, or the arrow keys, which
    // select as they move). The current row alone is no choice: the list
    // makes its first row current by itself when it gets the focus, and
    // that must neither replace the entry count nor be applied.
    connect(List1, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem *> picked = List1->selectedItems();
        if (!picked.isEmpty()) onList1Click(List1->row(picked.first()));
    });
    connect(Command3, &QPushButton::clicked, this, &frmCity::onCommand3);
    connect(Command4, &QPushButton::clicked, this, &QDialog::reject);

    loadlist();
}

void frmCity::loadlist()
{
    runflag = 1;
    {
        MapBusyCursor busy;
        QStringList rows;
        // A missing or unreadable file leaves the list empty.
        QFile f(paths::dataFile(QStringLiteral("cities.dat")));
        if (f.open(QIODevice::ReadOnly)) rows = cityrows(f);
        List1->addItems(rows);
        Label1->setText(QString::number(rows.size()) + QStringLiteral(" entrées"));
    }
    runflag = 0;
}

void frmCity::onList1Click(int row)
{
    QListWidgetItem *item = List1->item(row);
    if (!item) return;
    choice_ = cityfromrow(item->text());
    chosen_ = true;
    // The chosen values are shown as the texts give them back (londms wraps
    // 180 E to -180, the same meridian).
    const QString lo = londms(choice_.lon);
    const QString la = latdms(choice_.lat);
    Label1->setText(choice_.name + lo + QLatin1Char(' ') + la + QLatin1Char(' ') + gridlocator(choice_.lon, choice_.lat));
}

void frmCity::onCommand3()
{
    // Without a chosen row there is nothing to apply: the same as Annuler
    // (the map would otherwise move to 0, 0 with an empty name).
    if (!chosen_) {
        reject();
        return;
    }
    editmap.lon = choice_.lon;
    editmap.lat = choice_.lat;
    linktext1 = choice_.name;
    accept();
}

bool frmCity::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        reject();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmCity::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace zk
