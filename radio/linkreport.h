// The analysis of one radio link for the radio-link window: the profile
// drawn with the earth bulge, the first three Fresnel zones, the terrain
// coloured by the margin at each point, the masts, the direct beam and, on
// obstructed paths, the two horizon rays; the four French report lines; and
// the link drawn on every open picture window.
#pragma once

#include <QImage>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <vector>

#include "map/linktext.h"

namespace zk {

// A drawing box with a user scale (left, top, width, height in user units,
// as a picture box's Scale): x grows to the right from `left`, y from `top`
// by `height` (negative when y grows upwards). It keeps its drawing in an
// image as large as the box.
class ScaleBox : public QWidget {
    Q_OBJECT
public:
    explicit ScaleBox(QWidget *parent = nullptr);

    void setScale(double left, double top, double width, double height);
    double scaleLeft() const { return left_; }
    double scaleTop() const { return top_; }
    double scaleWidth() const { return width_; }
    double scaleHeight() const { return height_; }

    // User units to pixels and back.
    QPointF topix(double x, double y) const;
    double xofpix(double px) const;

    uint32_t backColor() const { return back_; }
    void setBackColor(uint32_t rgb);
    // Clears the drawing to the background colour.
    void cls();
    // Lines and boxes in user units; colours with red in the low byte.
    void line(double x1, double y1, double x2, double y2, uint32_t rgb, int width = 1);
    void box(double x1, double y1, double x2, double y2, uint32_t rgb);
    // Text whose top-left corner is at (x, y).
    void print(double x, double y, const QString &text, uint32_t rgb);
    double textWidth(const QString &text) const;   // user units
    double textHeight() const;                     // user units, positive

    QImage &image() { return image_; }
    const QImage &image() const { return image_; }

signals:
    // A press: button 1 left, 2 right, 4 middle; x in user units.
    void mouseDown(int button, double x, double y);

protected:
    void paintEvent(QPaintEvent *) override;
    void resizeEvent(QResizeEvent *) override;
    void mousePressEvent(QMouseEvent *e) override;

private:
    QImage image_;
    uint32_t back_ = 0xC0C0C0;
    double left_ = 0, top_ = 0, width_ = 1, height_ = 1;
};

// The box linkreport draws in (the radio-link window's profile box); when
// there is none the analysis still computes and writes its texts.
extern QPointer<ScaleBox> linkbox;

// linktext1 is in map/linktext.h.
extern QString linktext2, linktext3, linktext4;
// Smallest clearance below the beam over the interior points, in first
// Fresnel-zone radii (negative: obstructed), 1E12 when none was examined,
// and its distance from A in km (0 when none).
extern float worstclear, worstclrdist;

// What the analysis of one link finds, before anything is drawn. Point i
// runs from 0 (unit a) to n (unit b); heights in metres above sea level.
struct LinkAnalysis {
    int n = 0;    // profile intervals; 0: no profile (nothing else is set)
    int net = 0;  // the network analysed; 0: none in common (no budget)
    double ha = 0, hb = 0;  // antenna heights at a and b: ground plus mast
    double k = 0;           // bulge factor: bulge = d1 * d2 * k (km, m)
    float profmin = 0, profmax = 0;  // the drawing's vertical range
    std::vector<double> bulge;       // earth bulge at each point
    std::vector<double> beam;        // direct beam at each point (net > 0)
    std::vector<std::array<double, 3>> zone;  // Fresnel zones 1..3 radii (net > 0)
    std::vector<double> ground;      // terrain plus bulge (the ends without)
    std::vector<uint32_t> colour;    // the terrain's colour from point i-1 to i
    uint32_t linkcolour = 0;         // colour of the last stretch: the beam's and the link's
    // Smallest clearance, as `worstclear` and `worstclrdist` below.
    float worstclear = 1e12f, worstclrdist = 0;
    // The two horizon rays of an obstructed path meet at (rayx, rayy),
    // rayx in intervals from a.
    bool rays = false;
    double rayx = 0, rayy = 0;
    double margin = 0;  // worst reception above the required signal, dB
    QString text1, text2, text3, text4;  // the four report lines
};

// Computes the analysis: the profile with the earth bulge (left in `pfl`),
// the budget and loss at each point (net > 0), the clearances and the texts.
// Needs no window.
LinkAnalysis analyselink(int a, int b, int net);

// Draws an analysis in the box: scale, Fresnel zones, bulge, terrain
// coloured by the margin, masts, beam and horizon rays.
void drawlinkanalysis(ScaleBox *box, const LinkAnalysis &r);

// Analyses the link from unit a to unit b (1..50) in network net (0 or less:
// the two share none) into linkbox, the texts and worstclear, then draws the
// link on the pictures: see the header comment. An empty profile clears the
// box and the four texts.
void linkreport(int a, int b, int net);

// Draws the link from unit a to unit b on every picture window (an arrow in
// `colour`, red in the low byte, over a wider black one; on 3D pictures in
// the air with masts), then draws both units again.
void drawlink(int a, int b, uint32_t colour);

// The classic palette colour for the margin m (whole dB) of a terrain point:
// green from 3 dB, yellow from -3 dB, red below.
uint32_t margincolour(long long m);

// A number in a mask of `decimals` decimals after at least `intdigits`
// integer digits ("0.0" is (v, 1), "0000.000" is (v, 3, 4)), with the
// user's decimal separator and no group separator.
QString masktext(double v, int decimals, int intdigits = 1);

}  // namespace zk
