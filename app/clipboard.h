// Pictures through the clipboard with their calibration: a copy puts the
// picture (or the selected part of it) on the clipboard as an image, next to
// a text of ten TAB-terminated fields: the four corners (NW, NE, SE, SW;
// longitude then latitude, "000.00000" / "00.00000" with the user's decimal
// separator), the picture kind ("00") and the source text. A paste takes the
// image and whatever the text gives.
#pragma once

#include <QString>

#include <array>
#include <cstdint>

namespace zk {

class frmPic;

// The calibration that travels with a picture.
struct ClipCalibration {
    std::array<float, 4> lon{};  // corners 1..4: NW, NE, SE, SW
    std::array<float, 4> lat{};
    int16_t Pictype = 0;
    QString source;
};

// The clipboard picture text of a calibration, under the current locale's
// decimal separator.
QString cliptext(const ClipCalibration &c);

// A coordinate as written in that text: at least `digits` integer digits,
// five decimals, the user's decimal separator, "-" in front of a negative
// value.
QString clipnumber(float value, int digits);

// Reads a clipboard text: the fields are cut at each TAB (text after the
// last TAB is not used; at most ten fields). Corner fields that are empty or
// not numbers stay 0; both "." and "," are read as the decimal separator.
// The kind is the number at the start of field 9 (point as separator, none
// gives 0) limited to 0..20; the source is field 10 ("" when missing).
ClipCalibration parsecliptext(const QString &text);

// The commands of the edit menu.
void mnuEditCopy_Click();
void mnuEditPaste_Click();
void mnuEditPasteNew_Click();

// Loads the clipboard's image and picture text into the window: kind 2,
// source "Image collée" and all corners 0, then what the text gives.
void coor(frmPic *w);

// The MIME format of the 8-bit picture text (Windows-1252), which the
// clipboard carries beside the same text as ordinary text.
constexpr const char *kClipTextFormat = "text/plain;charset=windows-1252";

}  // namespace zk
