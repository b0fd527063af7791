// The user-picture calibration dialog: places an ordinary picture on the
// Earth from the positions of its four corners, or from its centre and its
// north-south size, in decimal degrees. It works on the picture window that
// was active when it opened.
#pragma once

#include <QPointer>
#include <QWidget>

#include <array>
#include <optional>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zk {

class frmPic;

// A number typed in the dialog: the locale's decimal separator, or a point
// (what the "Curseur" buttons write), or a comma; blanks around it ignored.
// Nothing when the text is not a number.
std::optional<double> customValue(const QString &text);

// A number as a format mask of the form "000.0000" writes it: at least
// `intDigits` digits before the separator (the locale's), `decimals` after
// it, halves away from zero, a minus sign before the digits.
QString maskText(double v, int intDigits, int decimals);

class frmCustom : public QWidget {
    Q_OBJECT
public:
    // Shows the dialog (loading it, with the main window's active picture as
    // its target, when it is not open).
    static frmCustom *showDialog();
    // The dialog when it is open, else null.
    static frmCustom *loaded();

    // Controls, by their names: corner boxes 0..3 (NW, NE, SE, SW) and the
    // centre box 4.
    std::array<QLineEdit *, 5> lon{};
    std::array<QLineEdit *, 5> lat{};
    std::array<QPushButton *, 5> Command3{};  // "Curseur"
    QLineEdit *SizeKm = nullptr;
    QLineEdit *Text1 = nullptr;  // the source
    QLabel *Label5 = nullptr;    // shape and size of the picture
    QFrame *Frame1 = nullptr;
    QFrame *Frame2 = nullptr;
    QPushButton *Command1 = nullptr;  // four corners, "Appliquer"
    QPushButton *Command2 = nullptr;  // "Annuler"
    QPushButton *Command4 = nullptr;  // "Annuler"
    QPushButton *Command5 = nullptr;  // centre and size, "Appliquer"

    frmPic *target() const { return target_; }

    void Command1_Click();
    void Command3_Click(int index);
    void Command5_Click();

protected:
    void closeEvent(QCloseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    frmCustom();
    void Form_Load();
    void colour(QLineEdit *box, double low, double high);

    QPointer<frmPic> target_;
};

}  // namespace zk
