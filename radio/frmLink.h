// The radio-link window "Lien radio": a transmitting unit (side A), a
// receiving unit (side B) and a network both belong to; the link analysed
// at once and shown in the profile box, with the radio data of both ends,
// their antenna heights, a cursor read-out with two S-meters, the report,
// range and distribution views, copy to the clipboard and export of the
// path to the path viewer. One modeless instance owned by the main window;
// its selections outlive it.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <map>

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace zk {

class ScaleBox;
class MainFrame;

// The window's state that outlives it.
extern int16_t txunit, rxunit;              // side A and side B (0: none)
extern std::array<int16_t, 26> netlist;     // network behind each entry of Combo2
extern int16_t lastangle;                   // field of view of the station views, degrees
extern QString exportfile;                  // path file of the last export

class frmLink : public QMainWindow {
    Q_OBJECT
public:
    // The open window, or null.
    static frmLink *instance();
    // Opens the window (or raises the open one), owned by the main window.
    static frmLink *open();

    explicit frmLink(QWidget *owner = nullptr);
    ~frmLink() override;

    QComboBox *Combo1[2] = {};
    QComboBox *Combo2 = nullptr;
    ScaleBox *Picture1 = nullptr;
    ScaleBox *Picture2[2] = {};
    QFrame *Line1 = nullptr;
    QLabel *Label4 = nullptr;
    std::map<int, QLabel *> Label5;
    QLineEdit *Text1[2] = {};
    QPushButton *Command1[2] = {};
    QMenu *menu[3] = {};
    QAction *stop = nullptr;
    std::array<QAction *, 4> menu1{};
    std::array<QAction *, 9> menu2{};
    std::array<QAction *, 14> menu21{};

    void Combo1_Click(int index);
    void Combo2_Click();
    void Command1_Click(int index);
    void menu1_Click(int index);
    void menu2_Click(int index);
    // Observation items: station views at 5..80 degrees, in a large window
    // or as a stereo pair, flights recorded and played, their options.
    void menu21_Click(int index);
    void Form_KeyDown(int key);
    // The read-out at X (profile intervals; limited to the profile and
    // written back). Button 0 leaves the map cursor where it is.
    void Picture1_MouseDown(int button, int shift, float &X, float Y);
    void smeter(float s, int index);

    // Selects entry k of a list as the user would, running its handler.
    void selectunit(int side, int entry);
    void selectnet(int entry);
    // Cursor line's position in profile intervals.
    double cursorx() const { return cursorx_; }

protected:
    bool eventFilter(QObject *o, QEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void closeEvent(QCloseEvent *e) override;

private:
    // Where the frame's top-left goes: the place the last close stored.
    static QPoint storedFrame(const QSize &frame);
    void details();
    void rangeview();
    void clearview();
    // The lines broken at blanks so that each fits `width` (scale units) of
    // the profile box in its current font; a continuation starts with a
    // blank.
    QStringList fitlines(const QStringList &lines, double width) const;
    // Value label i of the details panel with its text, fitted to its column.
    void setvalue(int i, const QString &t);
    // Says in the banner why the profile of the pair is empty.
    void emptyprofile();
    double cursorx_ = 0;
    const QEvent *seen_ = nullptr;
};

// The receiver's banner and S-meter texts of the read-out (for the window
// and its tests): the S part "( S 7 ) " or "( S 9 + 20 ) ".
QString spart(int s);

// The distribution of the received signal (the "&Distribution" view).
struct Distribution {
    double lo = 0, hi = 0, sigma = 1, margin = 0;
    QString verdict;  // " Succès (Marge = 10.00 dB)" or " Échec (...)"
};
Distribution distribution(double l50, double l84, double lreq, double g);
// Draws the distribution of the link from a to b in network net into pic;
// puts back the link's parameters, profile and per-point losses it changed.
void signalbar(ScaleBox *pic, int net, int a, int b);

// The export's way of starting the path viewer (test seam; empty: a
// detached Zelpathfr from the program folder).
extern std::function<void(const QString &program, const QStringList &args)> startpathviewer;

// A unit label clicked with Shift, Ctrl or Alt on a picture: button 1 sets
// linka, button 2 linkb; when both are set and differ, the window shows it.
void linkend(int unit, int button);
// Connects the main window's "Lien radio" command and the picture windows'
// link-end clicks to the window.
void installlinkwindow(MainFrame *w);

}  // namespace zk
