// The radio coverage dialog "Couverture radio": the central station, the
// mobile unit and their common network, the link direction, the antenna
// pattern and its azimuth, the range ring, the azimuth sweep, the two
// thresholds and their unit, and what is drawn. Apply stores everything and
// starts the plot; "HAAT" writes the central station's HAAT report.
#pragma once

#include <QDialog>

#include <array>
#include <cstdint>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace zk {

class frmCoverage : public QDialog {
    Q_OBJECT
public:
    explicit frmCoverage(QWidget *owner = nullptr);

    // Whether Apply closed the dialog to start the plot.
    bool applied() const { return applied_; }

    // Controls, by their names.
    std::array<QComboBox *, 2> Combo2{};
    QComboBox *Combo1 = nullptr, *Combo3 = nullptr;
    QPushButton *Command1 = nullptr, *Command3 = nullptr, *Command4 = nullptr;
    std::array<QPushButton *, 3> Command2{};
    std::array<QRadioButton *, 2> Option2{};
    std::array<QRadioButton *, 3> Option1{};
    QCheckBox *Check2 = nullptr, *Check3 = nullptr;
    std::array<QCheckBox *, 3> Check1{};
    QLineEdit *Text1 = nullptr, *Text2 = nullptr, *Text3 = nullptr, *Text4 = nullptr, *Text5 = nullptr,
              *Text6 = nullptr, *Text7 = nullptr, *Text8 = nullptr;

    int16_t covcentre = 0, covmobile = 0;
    std::array<int16_t, 26> covnets{};

    void unitchoice();
    void linkazimuth();
    void thresholdunit(int u);
    void rainbowsteps();
    void enabling();
    void rangecheck(QLineEdit *changed);
    void antennachoice(int row);
    void apply();
    void haat();

protected:
    void done(int r) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    void setTextColour(int i, uint32_t colour);
    uint32_t textColour(int i) const { return colour_[size_t(i)]; }
    int thrunitSelected() const;
    std::array<uint32_t, 3> colour_{};
    bool applied_ = false;
    bool closed_ = false;
    int antrow_ = 0;  // the antenna file row last chosen that the network file can keep
};

// The main window's "Couverture radio": makes sure a 2D picture of the map
// exists and is current, shows the dialog, and on Apply draws the plot.
void mnuViewCover_Click();

}  // namespace zk

namespace zk {
class MainFrame;
// Connects and enables "Couverture radio" (mnuViewCover) and "Couverture
// visuelle" (mnuViewVisual). The main window calls it once its menus exist.
void installcoveragemenus(MainFrame *w);
}  // namespace zk
