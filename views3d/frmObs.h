// "Options pour l'observation": the stereo eye distance, the flight's
// frames per second and its speed. The values are stored while the user
// types (each through its range check: a text out of range turns red and
// the value is kept clamped); "Appliquer" closes, "Annuler" puts back the
// values the dialog opened with, Esc and the close box keep the edits.
#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace zk {

class frmObs : public QDialog {
    Q_OBJECT
public:
    explicit frmObs(QWidget *owner = nullptr);

    QLineEdit *Text1 = nullptr;  // eye distance, m (0.01 .. 10000)
    QLineEdit *Text2 = nullptr;  // frames per second (0.1 .. 10)
    QLineEdit *Text3 = nullptr;  // speed, m/s (0.1 .. 100000)
    QPushButton *Command1 = nullptr;  // "Appliquer"
    QPushButton *Command2 = nullptr;  // "Annuler"

    void Form_Load();
    void Text1_Change();
    void Text2_Change();
    void Text3_Change();
    void Command1_Click();
    void Command2_Click();
    void Form_KeyDown(int key);

protected:
    void keyPressEvent(QKeyEvent *e) override;

private:
    float keepEye_ = 0, keepSpeed_ = 0, keepFps_ = 0;
};

// A value as the dialog shows it: the shortest decimal text that reads back
// as the same single-precision number, with the user's decimal separator
// (the range checks read the boxes in the user's notation).
QString obsnumber(float v);

// Shows the dialog modally, owned by the window.
void showobs(QWidget *owner);

}  // namespace zk
