// The visual coverage dialog "Couverture visuelle": the observer, the sensor
// and target heights, the azimuth sweep, the range or a radar table, the
// target mode, and one button per colour that applies and draws.
#pragma once

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zk {

class frmVisual : public QDialog {
    Q_OBJECT
public:
    explicit frmVisual(QWidget *owner = nullptr);

    // The button pressed by Apply (0..3), -1 when the dialog closed without.
    int applied() const { return applied_; }
    // The radar table name Apply passes on ("" for none).
    QString table() const { return table_; }

    QComboBox *Combo1 = nullptr, *Combo2 = nullptr;
    QLineEdit *Text1 = nullptr, *Text2 = nullptr, *Text3 = nullptr, *Text4 = nullptr, *Text5 = nullptr,
              *Text6 = nullptr, *Text7 = nullptr;
    QLabel *Label1 = nullptr, *Label3 = nullptr;
    QGroupBox *Frame5 = nullptr;
    std::array<QRadioButton *, 2> Option2{};
    QCheckBox *Check1 = nullptr;
    std::array<QPushButton *, 4> Command1{};

    void check1();
    void option2(int index);
    void tablechoice(int row);
    void apply(int index);

protected:
    void keyPressEvent(QKeyEvent *e) override;

private:
    int applied_ = -1;
    QString table_;
    int tablerow_ = 0;  // the radar table row last chosen that the network file can keep
};

// What the dialog's button starts: the visual coverage on the current 2D
// picture for the three colour buttons; "Radar 3D" (3) the radar coverage on
// the main window's active picture window, which must be a 3D picture.
void visualapplied(int button, const QString &table);

// The main window's "Couverture visuelle": makes sure a 2D picture of the
// map exists and is current, shows the dialog and draws what it applied.
void mnuViewVisual_Click();

}  // namespace zk
