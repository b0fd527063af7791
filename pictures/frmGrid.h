// The elevation-grid window: the elevations of the 5 x 5 grid cells around
// the cursor, which the user moves cell by cell with the arrow keys or by
// clicking a cell; expanded, it also shows a magnified patch of the current
// picture around the cursor. The cursor read-out (showcursor) fills it.
#pragma once

#include <QImage>
#include <QWidget>

#include <array>
#include <cstdint>

class QFrame;
class QLabel;
class QPushButton;

namespace zk {

// Window state for the whole run.
extern bool gridexpanded;      // the magnified picture panel is shown
extern int32_t gridright;      // distance from the screen's right edge, twips
extern int32_t gridbottom;     // distance from the screen's bottom edge, twips

// The magnified picture panel with its crosshair.
class GridZoom : public QWidget {
    Q_OBJECT
public:
    explicit GridZoom(QWidget *parent);
    const QImage &picture() const { return picture_; }
    void setPicture(const QImage &img);

protected:
    void paintEvent(QPaintEvent *) override;

private:
    QImage picture_;
};

class frmGrid : public QWidget {
    Q_OBJECT
public:
    // The window, loaded (and laid out and placed) when it is not; touching
    // it does not show it.
    static frmGrid *instance();
    // The window when it is loaded, else null.
    static frmGrid *loaded();
    // Closes the window from the program (the grid view stays on).
    static void unloadGrid();

    // Controls, by their names.
    QFrame *Frame1 = nullptr;
    std::array<QLabel *, 25> Label1{};  // cells: index = 5 x row + column, row 0 north
    QLabel *Label2 = nullptr;           // the cursor position
    QLabel *Label4 = nullptr;           // the grid reference
    GridZoom *Picture1 = nullptr;       // the magnified picture
    QPushButton *Command1 = nullptr;    // ">" / "<"

    // What the cursor read-out writes.
    void setCell(int index, const QString &text);
    void setPosition(const QString &text);
    void setLocator(const QString &text);
    void clearZoom();
    void setZoom(const QImage &pane);

    // Event handlers, by their names (Windows key codes).
    void Command1_Click();
    void Form_KeyDown(int keyCode);
    void Label1_Click(int index);

    // Map position of grid cell (x, y) through the map's corners; false when
    // the grid is too small to have a spacing.
    static bool cellLon(int32_t x, float &lon);
    static bool cellLat(int32_t y, float &lat);

protected:
    void closeEvent(QCloseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void showEvent(QShowEvent *e) override;
    bool eventFilter(QObject *obj, QEvent *e) override;

private:
    frmGrid();
    void Form_Load();
    void fitWidth();
    // Where the frame's top-left goes for a frame of that size.
    static QPoint placeFrame(const QSize &outer);

    bool placed_ = false;
};

}  // namespace zk
