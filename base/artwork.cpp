#include "artwork.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

namespace zk::artwork {

namespace {

// The classic 16-colour palette.
const QColor kBlack(0, 0, 0), kNavy(0, 0, 128), kGreen(0, 128, 0), kTeal(0, 128, 128), kMaroon(128, 0, 0),
    kPurple(128, 0, 128), kOlive(128, 128, 0), kSilver(192, 192, 192), kGray(128, 128, 128), kBlue(0, 0, 255),
    kLime(0, 255, 0), kCyan(0, 255, 255), kRed(255, 0, 0), kMagenta(255, 0, 255), kYellow(255, 255, 0),
    kWhite(255, 255, 255);

QImage canvas(int size)
{
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    return img;
}

void box(QPainter &p, const QRect &r, const QColor &fill, const QColor &border)
{
    p.setPen(border);
    p.setBrush(fill);
    p.drawRect(r.adjusted(0, 0, -1, -1));
}

void line(QPainter &p, int x1, int y1, int x2, int y2, const QColor &c)
{
    p.setPen(c);
    p.drawLine(x1, y1, x2, y2);
}

void dot(QPainter &p, int x, int y, const QColor &c, int r = 1)
{
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawRect(x - r, y - r, 2 * r + 1, 2 * r + 1);
}

// A sheet of paper with a folded corner.
void page(QPainter &p, int x, int y, int w, int h)
{
    QPolygon poly;
    poly << QPoint(x, y) << QPoint(x + w - 5, y) << QPoint(x + w - 1, y + 4) << QPoint(x + w - 1, y + h - 1)
         << QPoint(x, y + h - 1);
    p.setPen(kBlack);
    p.setBrush(kWhite);
    p.drawPolygon(poly);
    line(p, x + w - 5, y, x + w - 5, y + 4, kBlack);
    line(p, x + w - 5, y + 4, x + w - 1, y + 4, kBlack);
}

// An open folder.
void folder(QPainter &p)
{
    box(p, QRect(1, 3, 5, 2), kYellow, kOlive);
    box(p, QRect(1, 4, 12, 10), kYellow, kOlive);
    QPolygon front;
    front << QPoint(3, 8) << QPoint(15, 8) << QPoint(13, 13) << QPoint(1, 13);
    p.setPen(kOlive);
    p.setBrush(QColor(255, 255, 0));
    p.drawPolygon(front);
    line(p, 4, 9, 13, 9, kWhite);
}

// A diskette.
void floppy(QPainter &p)
{
    box(p, QRect(1, 1, 14, 14), kNavy, kBlack);
    box(p, QRect(4, 1, 8, 5), kWhite, kBlack);
    box(p, QRect(9, 2, 2, 3), kNavy, kNavy);
    box(p, QRect(3, 9, 10, 6), kSilver, kBlack);
}

// Three stations linked: the networks.
void network(QPainter &p, int x, int y, int s)
{
    const QPoint a(x + s / 2, y + 1), b(x + 1, y + s - 2), c(x + s - 2, y + s - 2);
    line(p, a.x(), a.y(), b.x(), b.y(), kNavy);
    line(p, b.x(), b.y(), c.x(), c.y(), kNavy);
    line(p, c.x(), c.y(), a.x(), a.y(), kNavy);
    dot(p, a.x(), a.y(), kRed);
    dot(p, b.x(), b.y(), kRed);
    dot(p, c.x(), c.y(), kRed);
}

// A map sheet: green land, a blue river, brown contours.
void mapsheet(QPainter &p, int x, int y, int w, int h)
{
    box(p, QRect(x, y, w, h), QColor(0, 128, 0), kBlack);
    p.setPen(kOlive);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRect(x + w / 4, y + h / 4, w / 2, h / 2));
    dot(p, x + w / 2, y + h / 2, kYellow, 0);
    line(p, x + 1, y + h - 3, x + w / 2, y + h - 2, kBlue);
    line(p, x + w / 2, y + h - 2, x + w - 2, y + h / 2, kBlue);
}

// A landscape picture: sky, sun, hills.
void landscape(QPainter &p, int x, int y, int w, int h)
{
    box(p, QRect(x, y, w, h), kCyan, kBlack);
    dot(p, x + w - 4, y + 3, kYellow, 1);
    QPolygon hill;
    hill << QPoint(x + 1, y + h - 2) << QPoint(x + w / 3, y + h / 3 + 1) << QPoint(x + w / 2, y + h / 2)
         << QPoint(x + 2 * w / 3, y + h / 3 + 2) << QPoint(x + w - 2, y + h - 2);
    p.setPen(kGreen);
    p.setBrush(kGreen);
    p.drawPolygon(hill);
}

// An antenna mast with its radiating top.
void tower(QPainter &p, int x, int y, int h, const QColor &mast, const QColor &top)
{
    line(p, x, y + 2, x - 3, y + h, mast);
    line(p, x, y + 2, x + 3, y + h, mast);
    line(p, x - 2, y + h - 3, x + 2, y + h - 3, mast);
    line(p, x - 1, y + h / 2, x + 1, y + h / 2, mast);
    dot(p, x, y + 1, top);
}

QPixmap finish(const QImage &img) { return QPixmap::fromImage(img); }

}  // namespace

QPixmap toolbarButton(int i)
{
    QImage img = canvas(16);
    QPainter p(&img);
    switch (i) {
    case 0:  // new networks
        page(p, 2, 0, 12, 16);
        network(p, 4, 5, 9);
        break;
    case 1:  // open networks
        folder(p);
        network(p, 8, 0, 8);
        break;
    case 2:  // save networks
        floppy(p);
        network(p, 4, 9, 8);
        break;
    case 3:  // network properties
        network(p, 0, 1, 16);
        break;
    case 4:  // open a map
        folder(p);
        mapsheet(p, 9, 0, 7, 7);
        break;
    case 5:  // save the map
        floppy(p);
        mapsheet(p, 4, 9, 8, 6);
        break;
    case 6:  // map properties
        mapsheet(p, 0, 1, 16, 14);
        break;
    case 7:  // new picture
        page(p, 1, 0, 13, 16);
        landscape(p, 3, 6, 9, 8);
        break;
    case 8:  // open a picture
        folder(p);
        landscape(p, 9, 0, 7, 7);
        break;
    case 9:  // save the picture
        floppy(p);
        landscape(p, 4, 9, 8, 6);
        break;
    case 10:  // picture properties
        box(p, QRect(0, 1, 16, 14), kOlive, kBlack);
        landscape(p, 2, 3, 12, 10);
        break;
    case 11:  // print
        page(p, 4, 0, 8, 7);
        box(p, QRect(0, 6, 16, 7), kSilver, kBlack);
        line(p, 1, 7, 14, 7, kWhite);
        dot(p, 13, 9, kLime, 0);
        box(p, QRect(3, 11, 10, 5), kWhite, kBlack);
        line(p, 5, 13, 10, 13, kGray);
        break;
    case 12:  // copy
        page(p, 0, 0, 10, 12);
        page(p, 6, 4, 10, 12);
        line(p, 8, 9, 13, 9, kNavy);
        line(p, 8, 11, 13, 11, kNavy);
        line(p, 8, 13, 12, 13, kNavy);
        break;
    case 13:  // paste
        box(p, QRect(1, 2, 11, 14), kOlive, kBlack);
        box(p, QRect(4, 0, 5, 4), kSilver, kBlack);
        page(p, 6, 6, 10, 10);
        line(p, 8, 11, 13, 11, kNavy);
        line(p, 8, 13, 12, 13, kNavy);
        break;
    case 14: {  // GPS location: a satellite over a position mark
        box(p, QRect(5, 1, 6, 5), kSilver, kBlack);
        box(p, QRect(0, 2, 5, 3), kBlue, kNavy);
        box(p, QRect(11, 2, 5, 3), kBlue, kNavy);
        p.setPen(kRed);
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRect(4, 8, 8, 7));
        line(p, 8, 7, 8, 15, kRed);
        line(p, 3, 11, 13, 11, kRed);
        break;
    }
    case 15:  // station properties
        tower(p, 8, 0, 15, kNavy, kRed);
        line(p, 3, 2, 1, 5, kRed);
        line(p, 13, 2, 15, 5, kRed);
        break;
    case 16: {  // radio link: two masts and the link between them
        tower(p, 3, 3, 12, kNavy, kRed);
        tower(p, 12, 3, 12, kNavy, kRed);
        QPolygon zig;
        zig << QPoint(4, 4) << QPoint(7, 2) << QPoint(8, 5) << QPoint(11, 3);
        p.setPen(kRed);
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(zig);
        break;
    }
    case 17:  // show the networks: links in the three quality colours
        line(p, 2, 13, 8, 2, kLime);
        line(p, 8, 2, 14, 13, kYellow);
        line(p, 2, 13, 14, 13, kRed);
        line(p, 3, 14, 15, 14, kMaroon);
        dot(p, 2, 13, kNavy);
        dot(p, 8, 2, kNavy);
        dot(p, 14, 13, kNavy);
        break;
    case 18: {  // stop
        QPolygon oct;
        oct << QPoint(5, 0) << QPoint(10, 0) << QPoint(15, 5) << QPoint(15, 10) << QPoint(10, 15) << QPoint(5, 15)
            << QPoint(0, 10) << QPoint(0, 5);
        p.setPen(kMaroon);
        p.setBrush(kRed);
        p.drawPolygon(oct);
        box(p, QRect(3, 6, 10, 4), kWhite, kWhite);
        break;
    }
    default:
        break;
    }
    p.end();
    return finish(img);
}

QPixmap stationIcon(int i)
{
    static const QColor kSmall[7] = {kRed, kBlue, kGreen, kYellow, kMagenta, kCyan, kBlack};
    if (i >= 0 && i <= 6) {
        QImage img = canvas(16);
        QPainter p(&img);
        const QColor c = kSmall[i];
        tower(p, 8, 1, 14, kBlack, c);
        p.setPen(c);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRect(3, -2, 10, 8), 200 * 16, 140 * 16);
        return finish(img);
    }
    if (i < 7 || i >= kBuiltinStationIcons) return QPixmap();
    // 32 x 32: five station kinds in three colours.
    static const QColor kColours[3] = {kRed, kBlue, kGreen};
    const int kind = (i - 7) / 3;
    const QColor c = kColours[(i - 7) % 3];
    QImage img = canvas(32);
    QPainter p(&img);
    switch (kind) {
    case 0:  // fixed station: mast on a base
        tower(p, 16, 1, 26, kBlack, c);
        box(p, QRect(8, 27, 16, 5), c, kBlack);
        break;
    case 1:  // vehicle with a whip antenna
        box(p, QRect(2, 16, 28, 9), c, kBlack);
        box(p, QRect(8, 10, 14, 7), c, kBlack);
        box(p, QRect(10, 12, 4, 4), kCyan, kBlack);
        box(p, QRect(16, 12, 4, 4), kCyan, kBlack);
        p.setPen(kBlack);
        p.setBrush(kGray);
        p.drawEllipse(QRect(5, 22, 7, 7));
        p.drawEllipse(QRect(20, 22, 7, 7));
        line(p, 26, 16, 29, 2, kBlack);
        break;
    case 2: {  // building with an antenna on the roof
        box(p, QRect(6, 14, 20, 17), c, kBlack);
        QPolygon roof;
        roof << QPoint(3, 15) << QPoint(16, 5) << QPoint(29, 15);
        p.setPen(kBlack);
        p.setBrush(kMaroon);
        p.drawPolygon(roof);
        box(p, QRect(13, 22, 6, 9), kOlive, kBlack);
        box(p, QRect(8, 17, 4, 4), kCyan, kBlack);
        box(p, QRect(20, 17, 4, 4), kCyan, kBlack);
        line(p, 22, 8, 22, 0, kBlack);
        line(p, 19, 1, 25, 1, kBlack);
        break;
    }
    case 3: {  // aircraft
        QPolygon body;
        body << QPoint(16, 1) << QPoint(18, 4) << QPoint(18, 12) << QPoint(30, 18) << QPoint(30, 21)
             << QPoint(18, 18) << QPoint(18, 25) << QPoint(22, 28) << QPoint(22, 30) << QPoint(16, 28)
             << QPoint(10, 30) << QPoint(10, 28) << QPoint(14, 25) << QPoint(14, 18) << QPoint(2, 21)
             << QPoint(2, 18) << QPoint(14, 12) << QPoint(14, 4);
        p.setPen(kBlack);
        p.setBrush(c);
        p.drawPolygon(body);
        break;
    }
    case 4: {  // ship
        QPolygon hull;
        hull << QPoint(1, 20) << QPoint(31, 20) << QPoint(26, 28) << QPoint(5, 28);
        p.setPen(kBlack);
        p.setBrush(c);
        p.drawPolygon(hull);
        box(p, QRect(9, 13, 12, 8), kWhite, kBlack);
        line(p, 15, 13, 15, 2, kBlack);
        line(p, 11, 5, 19, 5, kBlack);
        line(p, 0, 30, 31, 30, kBlue);
        break;
    }
    default:
        break;
    }
    return finish(img);
}

QPixmap programIcon()
{
    // A mountain ridge under a radio mast sending its waves.
    QImage img = canvas(32);
    QPainter p(&img);
    box(p, QRect(0, 0, 32, 32), kNavy, kNavy);
    QPolygon ridge;
    ridge << QPoint(0, 31) << QPoint(0, 24) << QPoint(8, 14) << QPoint(13, 19) << QPoint(20, 9) << QPoint(31, 22)
          << QPoint(31, 31);
    p.setPen(kGreen);
    p.setBrush(kGreen);
    p.drawPolygon(ridge);
    QPolygon snow;
    snow << QPoint(17, 13) << QPoint(20, 9) << QPoint(23, 13) << QPoint(21, 12) << QPoint(19, 14);
    p.setPen(kWhite);
    p.setBrush(kWhite);
    p.drawPolygon(snow);
    tower(p, 20, 1, 9, kSilver, kRed);
    // Waves leaving the mast's top on both sides.
    p.setBrush(Qt::NoBrush);
    p.setPen(kYellow);
    for (int r : {4, 7}) {
        const QRect ring(20 - r, 2 - r, 2 * r, 2 * r);
        p.drawArc(ring, -40 * 16, 80 * 16);
        p.drawArc(ring, 140 * 16, 80 * 16);
    }
    return finish(img);
}

QPixmap organisationLogo()
{
    QImage img = canvas(32);
    QPainter p(&img);
    box(p, QRect(0, 0, 32, 32), kWhite, kTeal);
    p.setPen(QPen(kTeal, 4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRect(5, 5, 20, 20));
    p.drawLine(20, 20, 28, 28);
    return finish(img);
}

QPixmap gripIcon()
{
    QImage img = canvas(16);
    QPainter p(&img);
    for (int k = 0; k < 3; ++k) {
        const int o = 4 * k;
        line(p, 15, 3 + o, 3 + o, 15, kWhite);
        line(p, 15, 4 + o, 4 + o, 15, kGray);
        line(p, 15, 5 + o, 5 + o, 15, kGray);
    }
    return finish(img);
}

QImage stereoPalette()
{
    QImage img(1, 1, QImage::Format_Indexed8);
    QList<QRgb> table(256);
    // The twenty static colours of the display's system palette.
    static const QRgb kLow[10] = {qRgb(0, 0, 0),       qRgb(128, 0, 0),     qRgb(0, 128, 0),   qRgb(128, 128, 0),
                                  qRgb(0, 0, 128),     qRgb(128, 0, 128),   qRgb(0, 128, 128), qRgb(192, 192, 192),
                                  qRgb(192, 220, 192), qRgb(166, 202, 240)};
    static const QRgb kHigh[10] = {qRgb(255, 251, 240), qRgb(160, 160, 164), qRgb(128, 128, 128), qRgb(255, 0, 0),
                                   qRgb(0, 255, 0),     qRgb(255, 255, 0),   qRgb(0, 0, 255),     qRgb(255, 0, 255),
                                   qRgb(0, 255, 255),   qRgb(255, 255, 255)};
    for (int k = 0; k < 10; ++k) {
        table[k] = kLow[k];
        table[246 + k] = kHigh[k];
    }
    for (int i = 0; i <= 14; ++i)
        for (int j = 0; j <= 15; ++j) {
            const int e = 10 + 16 * i + j;
            if (e > 245) break;
            table[e] = qRgb(255 - 16 * i, 255 - 16 * j, 255 - 16 * j);
        }
    img.setColorTable(table);
    img.fill(0);
    return img;
}

}  // namespace zk::artwork
