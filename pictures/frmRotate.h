// frmRotate, "Tourner/Étirer (dans une nouvelle image)": the angle and the
// stretch factor of a rotated copy of the active picture.
#pragma once

#include <QDialog>

#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zk {

class frmRotate : public QDialog {
    Q_OBJECT
public:
    explicit frmRotate(QWidget *owner = nullptr);

    // Controls, by their names.
    QLineEdit *Text1 = nullptr;  // angle, degrees clockwise; "0"
    QLineEdit *Text2 = nullptr;  // stretch factor; "1"
    QLabel *Label1 = nullptr, *Label2 = nullptr;
    QPushButton *Command1 = nullptr;  // "Appliquer"
    QPushButton *Command2 = nullptr;  // "Annuler"

    // Closes the dialog and, unless the angle is 0 and the factor 1, makes
    // the rotated copy (rotatepic).
    void Command1_Click();
};

// The angle and the factor as "Appliquer" reads them: numbers in the user's
// format, limited to -360..360 and 0.1..20; a text that is not a number
// keeps the default (0, and 1).
struct RotateInput {
    double angle_deg = 0;
    double stretch = 1;
};
RotateInput rotateinput(const QString &angle, const QString &stretch);

}  // namespace zk
