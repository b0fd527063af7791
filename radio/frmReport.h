// frmReport, the network report window ("Rapport de performance"): the
// report of one network drawn on the window below its controls, with the
// choice of the network and of the matrix, and the report of all 25
// networks sent to the printer ("Imprime") or to "report.txt" ("Fichier").
// Opening it recomputes the link quality of every network.
#pragma once

#include <QDialog>
#include <QImage>

#include <array>
#include <vector>

#include "radio/netreport.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace zk {

class MainFrame;

class frmReport : public QDialog {
    Q_OBJECT
public:
    // Form_Load: matrix "Avec retransmissions", qualities of all networks,
    // the 25 network names, network curnet (at least the first) drawn.
    explicit frmReport(QWidget *owner = nullptr);
    ~frmReport() override;

    // The matrix mode: 0 direct links (dB), 1 with retransmissions, 2
    // direct links (S-units).
    int reportkind() const { return reportkind_; }
    // What the last report drew on the window, in order.
    const std::vector<ReportItem> &drawn() const { return drawn_; }
    // The persistent drawing the window shows.
    const QImage &canvas() const { return canvas_; }
    // The pixel row the report starts at: just below Frame1.
    int reporttop() const;

    // Controls, by their names.
    QLabel *Label1 = nullptr;
    QComboBox *Combo1 = nullptr;
    QGroupBox *Frame1 = nullptr;
    std::array<QRadioButton *, 3> Option1{};
    QPushButton *Command1 = nullptr;  // "Imprime"
    QPushButton *Command2 = nullptr;  // "Fichier"

protected:
    void paintEvent(QPaintEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    void Combo1_Click();
    void Option1_Click(int index);
    void clearcanvas();

    int reportkind_ = 1;
    QImage canvas_;
    std::vector<ReportItem> drawn_;
    ReportSurface surface_;
};

// The main window's "Rapport": shows frmReport modal, owned by the main
// window, then shows the main window again.
void mnuReport_Click();

// Connects and enables mnuReport. The main window calls it once its menus
// exist.
void installreportmenu(MainFrame *w);

}  // namespace zk
