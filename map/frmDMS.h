// frmDMS, the position dialog ("Coordonnées WGS"): a position typed as
// degrees, minutes and seconds with hemisphere buttons, or as a grid
// reference (Maidenhead "QRA" without a datum name, "MGRS" with one); both
// forms follow each other while the user types. The position comes in and
// goes out through editmap.lon and editmap.lat: the opener puts it there,
// shows the dialog modally, and reads it back afterwards ("Appliquer" writes
// it, "Annuler" and Esc leave editmap as it was).
#pragma once

#include <QDialog>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zk {

class frmDMS : public QDialog {
    Q_OBJECT
public:
    explicit frmDMS(QWidget *owner = nullptr);

    // The dialog's own routines. update() rewrites the six fields and the
    // two hemisphere buttons from the position (it hides QWidget::update,
    // which this window never needs; a repaint is QWidget::update()).
    void update();
    // Reads the six fields and the buttons into the position and writes the
    // grid reference into Text2.
    void updatell();
    // Reads Text2 into the position, then update().
    void updateqra();

    // The dialog's position, degrees east and north.
    float longitude() const { return lon_; }
    float latitude() const { return lat_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void onText1Changed();
    void onText2Changed();
    void onCommand1();
    void onCommand2();
    void onCommand3();

    float lon_ = 0, lat_ = 0;
    bool busy_ = false;

    QLabel *Label1, *Label2, *Label9;
    std::array<QLineEdit *, 6> Text1{};
    QLineEdit *Text2;
    QPushButton *Command1, *Command2, *Command3, *Command4;
};

}  // namespace zk
